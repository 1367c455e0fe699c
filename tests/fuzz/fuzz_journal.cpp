// libFuzzer target for the reader of recovery journals (Journalformat::Lesen). The fuzzer's
// bytes are cut into pieces (two bytes of length, then the content), and each piece becomes a
// record with its length and checksum made right, so that the reader gets past the checksum
// and into the fields; a last odd byte decides whether the end is cut short. The reader may
// not crash, hang or allocate without bound, and what it keeps must be whole records.

#include "journalformat.h"

#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fehlschlag(const char* was)
{
    std::fprintf(stderr, "fuzz_journal: %s\n", was);
    std::abort();
}

QByteArray Journal(const uint8_t* daten, size_t groesse)
{
    QByteArray journal;
    size_t pos = 0;
    while (pos + 2 <= groesse) {
        const size_t laenge = qFromBigEndian<quint16>(daten + pos);
        pos += 2;
        const size_t stueck = laenge < groesse - pos ? laenge : groesse - pos;
        journal += Journalformat::SatzUm(
            QByteArray(reinterpret_cast<const char*>(daten + pos), qsizetype(stueck)));
        pos += stueck;
    }
    if (pos < groesse && (daten[pos] & 1) && !journal.isEmpty())
        journal.chop(1 + daten[pos] % 7);
    return journal;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    const QByteArray journal = Journal(daten, groesse);
    Journalformat::Gelesen j;
    const bool ok = Journalformat::Lesen(journal, j);
    if (j.laenge < 0 || j.laenge > journal.size())
        Fehlschlag("laenge außerhalb der Datei");
    if (ok && j.laenge == 0)
        Fehlschlag("gelesen ohne einen ganzen Kopfsatz");
    // Whole records read again give the same journal.
    if (ok) {
        Journalformat::Gelesen wieder;
        if (!Journalformat::Lesen(QByteArrayView(journal).first(j.laenge), wieder)
            || wieder.aenderungen != j.aenderungen || wieder.kurs != j.kurs
            || wieder.laenge != j.laenge)
            Fehlschlag("die ganzen Sätze lesen sich anders");
    }
    return 0;
}
