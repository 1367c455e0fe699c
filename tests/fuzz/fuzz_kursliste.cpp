// libFuzzer target for the readers of our files: arbitrary bytes go through a QBuffer into
// Datenbestand::Lesen (the course-list file, as the program reads it) and into the file
// tool's reader of grade result files. Neither may crash, hang or allocate without bound.
// A course-list file that was read must be written again, and what is written must read
// back and write again to the very same bytes (the reader normalises once, then is stable).

#include "datenbestand.h"
#include "ergebnisdatei.h"

#include <QBuffer>
#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fehlschlag(const char* was)
{
    std::fprintf(stderr, "fuzz_kursliste: %s\n", was);
    std::abort();
}

QByteArray Schreibe(const Datenbestand& daten, const Spaltenstruktur& struktur, bool& ok)
{
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    ok = Datenbestand::Schreiben(puffer, daten, struktur, meldung);
    return bytes;
}

bool Lies(QByteArray& bytes, Datenbestand& daten, Spaltenstruktur& struktur)
{
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::ReadOnly);
    QString meldung;
    const bool ok = Datenbestand::Lesen(puffer, daten, struktur, meldung);
    if (!ok && meldung.isEmpty())
        Fehlschlag("abgelehnt ohne Meldung");
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    QByteArray eingabe(reinterpret_cast<const char*>(daten), qsizetype(groesse));

    Datenbestand d;
    Spaltenstruktur s;
    if (Lies(eingabe, d, s)) {
        bool geschrieben = false;
        QByteArray erste = Schreibe(d, s, geschrieben);
        // A text that grew past its field while being read (invalid UTF-8 becomes U+FFFD)
        // makes the write fail with a message: that is allowed, a wrong file is not.
        if (geschrieben) {
            Datenbestand d2;
            Spaltenstruktur s2;
            if (!Lies(erste, d2, s2))
                Fehlschlag("geschriebene Datei nicht lesbar");
            bool nochmal = false;
            const QByteArray zweite = Schreibe(d2, s2, nochmal);
            if (!nochmal || zweite != erste)
                Fehlschlag("zweites Schreiben ergibt andere Bytes");
        }
    }

    QBuffer puffer(&eingabe);
    puffer.open(QIODevice::ReadOnly);
    Ergebnisdatei e;
    QString meldung;
    if (!Ergebnisdatei::Lesen(puffer, e, meldung) && meldung.isEmpty())
        Fehlschlag("Ergebnis abgelehnt ohne Meldung");
    return 0;
}
