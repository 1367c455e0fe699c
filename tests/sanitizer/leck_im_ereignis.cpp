// A leak of our own, made while glib's main loop dispatches an event: the leak check must
// report it with the project's suppressions in force (a suppression of a whole library such as
// libglib would hide it, as glib's dispatch frames lie under every event handler).

#include <QCoreApplication>
#include <QTimer>

namespace {
struct Verloren {
    char platz[77];
};
Verloren* volatile zeiger = nullptr;
} // namespace

int main(int argc, char** argv)
{
    qunsetenv("QT_NO_GLIB"); // the event loop of the desktop: glib's
    QCoreApplication app(argc, argv);
    QTimer::singleShot(0, &app, [] {
        zeiger = new Verloren;
        zeiger = nullptr;
        QCoreApplication::quit();
    });
    return app.exec();
}
