#include "curlbibliothek.h"

#include <QStringList>
#include <QtGlobal>

bool CurlBibliothek::Laden(const QString& datei)
{
    zBibliothek.setFileName(datei);
    // Never unloaded: its threads and global state live as long as the program.
    zBibliothek.setLoadHints(QLibrary::PreventUnloadHint);
    if (!zBibliothek.load()) {
        zFehler = zBibliothek.errorString();
        return false;
    }
#define RAVIRIRERU_CURL_AUFLOESEN(name)                                                            \
    name = reinterpret_cast<decltype(name)>(zBibliothek.resolve("curl_" #name));                   \
    if (!name) {                                                                                   \
        zFehler = datei + QStringLiteral(": Funktion curl_" #name " fehlt");                       \
        return false;                                                                              \
    }
    RAVIRIRERU_CURL_FUNKTIONEN(RAVIRIRERU_CURL_AUFLOESEN)
#undef RAVIRIRERU_CURL_AUFLOESEN
    zFehler.clear();
    return true;
}

const CurlBibliothek* CurlBibliothek::Programm()
{
    // Initialised once, thread-safe (a static local).
    static CurlBibliothek bibliothek;
    static const bool geladen = [] {
#if defined(Q_OS_WIN)
        const QStringList namen = { QStringLiteral("libcurl-x64"), QStringLiteral("libcurl") };
#elif defined(Q_OS_MACOS)
        const QStringList namen
            = { QStringLiteral("libcurl.4.dylib"), QStringLiteral("libcurl.dylib") };
#else
        const QStringList namen = { QStringLiteral("libcurl.so.4") };
#endif
        for (const QString& name : namen) {
            if (bibliothek.Laden(name))
                return bibliothek.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
        }
        // For the school's IT: the teacher sees the send fail with its fallback dialog.
        qWarning("libcurl nicht geladen: %s", qPrintable(bibliothek.Fehler()));
        return false;
    }();
    return geladen ? &bibliothek : nullptr;
}
