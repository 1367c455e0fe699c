#pragma once

#include <QLibrary>
#include <QString>

#include <curl/curl.h>

// The functions of libcurl that the mail client uses.
// clang-format off
#define RAVIRIRERU_CURL_FUNKTIONEN(X) \
    X(global_init) \
    X(easy_init) \
    X(easy_setopt) \
    X(easy_cleanup) \
    X(url) \
    X(url_set) \
    X(url_get) \
    X(url_cleanup) \
    X(free) \
    X(slist_append) \
    X(slist_free_all) \
    X(mime_init) \
    X(mime_addpart) \
    X(mime_data) \
    X(mime_type) \
    X(mime_encoder) \
    X(mime_headers) \
    X(mime_free) \
    X(multi_init) \
    X(multi_add_handle) \
    X(multi_remove_handle) \
    X(multi_perform) \
    X(multi_info_read) \
    X(multi_poll) \
    X(multi_wakeup) \
    X(multi_cleanup)
// clang-format on

// libcurl, loaded when the first grade file is sent instead of when the program starts: it
// brings some two dozen libraries of its own (TLS, Kerberos, LDAP, SSH, ...) that a session
// without a send never needs. Each member is the libcurl function of the same name without
// "curl_" (easy_setopt is curl_easy_setopt), with libcurl's own signature.
class CurlBibliothek {
public:
    // The library of the program, loaded and initialised (curl_global_init) on the first call;
    // nullptr when it cannot be loaded (Fehler() says why). Safe to call from any thread.
    static const CurlBibliothek* Programm();

    // Loads the library file datei (a name such as "libcurl.so.4", or a path) and resolves
    // every function; false when the file or a function is missing.
    bool Laden(const QString& datei);
    QString Fehler() const { return zFehler; }

#define RAVIRIRERU_CURL_ZEIGER(name) decltype(&curl_##name) name = nullptr;
    RAVIRIRERU_CURL_FUNKTIONEN(RAVIRIRERU_CURL_ZEIGER)
#undef RAVIRIRERU_CURL_ZEIGER

private:
    QLibrary zBibliothek;
    QString zFehler;
};
