#pragma once

#include "schuelerkurs.h"

#include <QList>

// All student-course rows of the file, searched by key (ID, then FachKuerzel without
// regard to letter case); the first match wins.
class SchuelerKursliste {
public:
    SchuelerKursliste() = default;
    // Rows with more than hoechstensEintraege entries (the catalogue's size) are damaged.
    explicit SchuelerKursliste(DateiLeser& leser, qint64 hoechstensEintraege = 32767);
    void Speichern(DateiSchreiber& schreiber) const;

    qint64 AnzahlKurse() const { return zAnzahlKurse; }
    SchuelerKursZeiger Zeigen(const QString& fachKuerzel, qint64 id) const;
    // Puts the row itself into the list, in place of the row with the same key, or at the end.
    // A list holding that key more than once gets a copy of the row in place of each later one.
    void Anfuegen(SchuelerKursZeiger zeile);
    void Loeschen(const QString& fachKuerzel, qint64 id);
    void SpalteVerschieben(qint64 von, qint64 nach);
    // Position from 1, for walking the list (tools, tests).
    SchuelerKursZeiger ZeigePosition(qint64 i) const;
    // A deep copy.
    SchuelerKursliste Kopie() const;

private:
    qint64 zAnzahlKurse = 0;
    QList<SchuelerKursZeiger> zSchuelerKurse;
};
