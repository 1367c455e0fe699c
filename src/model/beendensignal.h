#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGHUP (the system shutting down, a closed terminal, "kill") end the program as
// the desktop's quit does, not in the middle of a write: the handler only notes the signal
// (a byte into a pipe), and the event loop hears of it through Empfangen.
class Beendensignal : public QObject {
    Q_OBJECT
public:
    static Beendensignal& Instanz();

    // Catches SIGTERM and SIGHUP from now on; false when that was not possible.
    bool Einrichten();
    // Back to the system's default (the signals end the program at once).
    void Aufheben();

signals:
    // A signal arrived (its number), in the event loop.
    void Empfangen(int signal);

private:
    Beendensignal() = default;
    void Lesen();

    QSocketNotifier* zMelder = nullptr;
};
