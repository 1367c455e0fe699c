#pragma once

#include "schuelerkurs.h"

#include <QHash>
#include <QList>

// All student-course rows of the file, searched by key (ID, then FachKuerzel without
// regard to letter case); the first match wins.
//
// An index from the student's ID to that student's rows, in list order, keeps every look-up
// to the rows of one student: opening or saving a course costs what its own rows cost, not
// the whole list. The course key is compared row by row there, so its case-insensitive meaning
// is exactly that of the walk through the list. A row's key must not change while the row is
// in the list (a changed row comes in with Anfuegen).
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
    // The index: for every ID the positions of its first and last row; zNaechste links each
    // row to the next row of the same ID (-1 after the last), so each chain runs in list order.
    struct Kette {
        qint32 erste = -1;
        qint32 letzte = -1;
    };
    void IndexAufbauen();
    void InIndex(qint32 position);
    // The position of the first row with the key, or -1.
    qint32 Suchen(const QString& fachKuerzel, qint64 id) const;

    qint64 zAnzahlKurse = 0;
    QList<SchuelerKursZeiger> zSchuelerKurse;
    QHash<qint64, Kette> zKetten;
    QList<qint32> zNaechste;
};
