#pragma once

#include "datenbestand.h"

#include <QStringList>

// The data of the pure table tests: the scale 15 .. 0 points and "E" (entschuldigt, value -1),
// with mitNT also "NT" (nicht teilgenommen, -2); deficits up to 4 points in Q1; the catalogue
// from "ID:Bezeichnung" or "Bezeichnung".
inline Datenbestand Notenbestand(const QStringList& katalog, bool mitDefiziten, bool mitNT = false)
{
    Datenbestand d;
    d.Halbjahr = 3;
    d.mitDefiziten = mitDefiziten;
    d.DefizitgrenzeEPH = 4;
    d.DefizitgrenzeQ = 4;
    for (int p = 15; p >= 0; --p)
        d.zNoten.append(Note(QString::number(p), QString(), p, QString::number(p)));
    d.zNoten.append(Note(QStringLiteral("E"), QStringLiteral("entschuldigt"), -1, QString()));
    if (mitNT)
        d.zNoten.append(
            Note(QStringLiteral("NT"), QStringLiteral("nicht teilgenommen"), -2, QString()));
    for (const QString& e : katalog) {
        const qsizetype doppelpunkt = e.indexOf(QLatin1Char(':'));
        d.alleEintraege.Anfuegen(doppelpunkt < 0
                ? Eintrag(QString(), e)
                : Eintrag(e.left(doppelpunkt), e.mid(doppelpunkt + 1)));
    }
    d.mitDaten = true;
    return d;
}
