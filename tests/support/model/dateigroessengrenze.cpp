#include "dateigroessengrenze.h"

#include <csignal>
#include <sys/resource.h>

Dateigroessengrenze::Dateigroessengrenze(qint64 bytes)
{
    zAltesSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit grenze { };
    if (::getrlimit(RLIMIT_FSIZE, &grenze) != 0)
        return;
    zAltWeich = grenze.rlim_cur;
    grenze.rlim_cur = rlim_t(bytes);
    zOk = ::setrlimit(RLIMIT_FSIZE, &grenze) == 0;
}

Dateigroessengrenze::~Dateigroessengrenze()
{
    if (zOk) {
        struct rlimit grenze { };
        ::getrlimit(RLIMIT_FSIZE, &grenze);
        grenze.rlim_cur = rlim_t(zAltWeich);
        ::setrlimit(RLIMIT_FSIZE, &grenze);
    }
    std::signal(SIGXFSZ, zAltesSignal);
}
