#pragma once

#include <QList>
#include <QString>

// The two kinds of document the program knows.
struct Dateityp {
    QString anzeigeName; // "ZELTA-NotenDatei"
    QString endung; // ".zln"
    QString typCode; // classic four-character type code
    QString erzeugerCode; // classic four-character creator code
    QString mimeTyp; // empty: the platform's own declaration is used
    QString entsprichtTyp; // the type identifier both conform to
    QString eigenerTyp; // own type identifier

    QString Filtermuster() const { return QLatin1Char('*') + endung; }
};

namespace FileTypes {
const Dateityp& Notenergebnis(); // the grade result file ".zle"
const Dateityp& RAVIRIreru(); // the course-list file ".zln"
// Result file type, then course-list file type.
const QList<Dateityp>& Alle();
} // namespace FileTypes
