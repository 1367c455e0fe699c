#pragma once

#include <QtGlobal>

// Lowers the file size limit of the test process (RLIMIT_FSIZE) while it lives, with
// SIGXFSZ ignored, so that a write beyond it fails with EFBIG; child processes started
// meanwhile inherit it.
class Dateigroessengrenze {
public:
    explicit Dateigroessengrenze(qint64 bytes);
    ~Dateigroessengrenze();
    Dateigroessengrenze(const Dateigroessengrenze&) = delete;
    Dateigroessengrenze& operator=(const Dateigroessengrenze&) = delete;
    bool ok() const { return zOk; }

private:
    bool zOk = false;
    unsigned long long zAltWeich = 0;
    void (*zAltesSignal)(int) = nullptr;
};
