#pragma once

#include "datenbestand.h"

#include <QByteArray>

// Small, complete course-list data for tests: three students, three courses (one without
// students), a grade scale of points 15..0 and the catalogue Note, Fehlstunden,
// unentschuldigte Fehlstunden, Hinweis.
namespace Beispieldaten {

struct Optionen {
    bool mitMarkAbitur = true;
    bool mitMarkKlausur = true;
    bool mitWarnung = true;
    bool istAbiturListe = false;
};

Datenbestand Erzeugen(const Optionen& optionen);
inline Datenbestand Erzeugen()
{
    return Erzeugen(Optionen {});
}

// The bytes of the course-list file of daten with the default layout built from it
// (or the given layout).
QByteArray AlsKursliste(const Datenbestand& daten);
QByteArray AlsKursliste(const Datenbestand& daten, const Spaltenstruktur& struktur);

// Makes daten (and its default layout) the global data, as if loaded from pfad.
void AlsGlobaleDaten(const Datenbestand& daten, const QString& pfad = QString());

} // namespace Beispieldaten
