#include "beendensignal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int Rohr[2] = { -1, -1 };

void Behandeln(int signal)
{
    const int fehler = errno;
    const char zeichen = char(signal);
    // Nothing else is safe in a signal handler; a full pipe already holds a signal.
    [[maybe_unused]] const ssize_t n = ::write(Rohr[1], &zeichen, 1);
    errno = fehler;
}

} // namespace

Beendensignal& Beendensignal::Instanz()
{
    static Beendensignal instanz;
    return instanz;
}

bool Beendensignal::Einrichten()
{
    if (Rohr[0] < 0 && ::pipe2(Rohr, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    if (!zMelder) {
        zMelder = new QSocketNotifier(Rohr[0], QSocketNotifier::Read, this);
        connect(zMelder, &QSocketNotifier::activated, this, &Beendensignal::Lesen);
    }
    struct sigaction aktion { };
    aktion.sa_handler = Behandeln;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &aktion, nullptr) == 0
        && ::sigaction(SIGHUP, &aktion, nullptr) == 0;
}

void Beendensignal::Aufheben()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

void Beendensignal::Lesen()
{
    char zeichen = 0;
    while (::read(Rohr[0], &zeichen, 1) == 1)
        emit Empfangen(int(zeichen));
}
