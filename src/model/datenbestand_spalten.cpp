// Datenbestand: the column layout's moves over the catalogue, the layout and the rows.

#include "datenbestand.h"

#include "benachrichtiger.h"

#include <algorithm>

bool Datenbestand::SpalteVerschieben(Spaltenstruktur& struktur, qint64 a, qint64 b)
{
    const qint64 erste = struktur.ErsteSpalte;
    const qint64 spalten = qMin<qint64>(struktur.SpaltenAnzahl, struktur.Spalten.size());
    const qint64 eintraege = alleEintraege.Anzahl();
    if (erste <= 0 || a == b || a < erste || b < erste || a >= spalten || b >= spalten
        || a - erste >= eintraege || b - erste >= eintraege)
        return false;
    const qint64 von = a - erste;
    const qint64 nach = b - erste;

    // The windows' own copies first, padded from the catalogue as it still is.
    Benachrichtiger& melder = Benachrichtiger::Instanz();
    emit melder.SpalteWirdVerschoben(von, nach);

    // A row stored before the catalogue grew gets the catalogue's empty entries first, so
    // that every value stays with its entry.
    for (qint64 i = 1; i <= alleSchuelerKurse.AnzahlKurse(); ++i)
        alleSchuelerKurse.ZeigePosition(i)->Eintraege.Auffuellen(
            alleEintraege, std::max(von, nach));
    alleEintraege.Verschieben(von, nach);
    struktur.SpalteVerschieben(a, b);
    alleSchuelerKurse.SpalteVerschieben(von, nach);

    emit melder.SpalteVerschoben(int(a), int(b));
    return true;
}
