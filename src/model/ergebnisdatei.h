#pragma once

#include "kurs.h"
#include "schuelerkursliste.h"
#include "schuelerliste.h"

#include <QString>

class QIODevice;

// A grade result file (".zle") as read back, next to its writer
// (Datenbestand::SchreibeErgebnis): the program writes these files, the file tool reads
// them to show them. Layout: Boolean true, Int16 version (Dateiformat::Version), Boolean
// istAbiturListe, a reserved Boolean, Int16 Halbjahr, PString HalbjahrKuerzel, PString
// Halbjahrbezeichnung, the course in its result form (Kuerzel, Fach, KursArt scrambled, Int16 kNr,
// Lehrer scrambled, the set Schueler, Boolean warning flag, the set GewarntSchueler only when the
// flag is true), then the whole student list and the whole list of student-course rows.
class Ergebnisdatei {
public:
    // Reads a result file; false with a German message when it is not one or is damaged.
    static bool Lesen(QIODevice& geraet, Ergebnisdatei& ergebnis, QString& meldung);

    bool istAbiturListe = false;
    bool reserviert = false;
    qint64 Halbjahr = 0;
    QString HalbjahrKuerzel;
    QString Halbjahrbezeichnung;
    // The course in its result form: the state flags and the three sets for Abitur and
    // exam are not in the file and stay at their defaults.
    Kurs kurs;
    bool mitWarnung = false;
    Schuelerliste alleSchueler;
    SchuelerKursliste alleSchuelerKurse;
};

namespace Meldungen {
inline const QString KeineErgebnisdatei
    = QStringLiteral("Die Datei ist keine Noten-Ergebnis-Datei.");
inline const QString ErgebnisBeschaedigt
    = QStringLiteral("Die Noten-Ergebnis-Datei ist beschädigt und kann nicht gelesen werden.");
QString ErgebnisVersion(qint64 version);
} // namespace Meldungen
