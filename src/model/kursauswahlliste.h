#pragma once

#include "kurs.h"

#include <QList>

// The teacher's courses in file order; positions count from 1.
class KursAuswahlliste {
public:
    KursAuswahlliste() = default;
    KursAuswahlliste(DateiLeser& leser, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung);
    void Speichern(
        DateiSchreiber& schreiber, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung) const;

    qint64 AnzahlKurse() const { return zAnzahlKurse; }
    // i from 1 to AnzahlKurse; outside is a programming error (std::out_of_range).
    KursZeiger Zeigen(qint64 i) const;
    void Anfuegen(KursZeiger kurs);
    // True when the program may quit as far as the courses are concerned: asks once
    // (Modales JaNein through the platform) when a changed course was neither saved nor sent.
    bool Gesichert() const;
    // A deep copy (for tests that compare before and after).
    KursAuswahlliste Kopie() const;

private:
    qint64 zAnzahlKurse = 0;
    QList<KursZeiger> zKurse;
};
