#pragma once

#include "menge.h"

#include <QString>
#include <memory>

class DateiLeser;
class DateiSchreiber;

// One of the teacher's courses with its students, marks and delivery state.
// Courses are shared (std::shared_ptr): the selection window and the course windows
// work on the course object held by the global list.
class Kurs {
public:
    Kurs() = default;
    // The course-list form; the three flags say which optional sets the file carries.
    // Sets not carried are created empty.
    Kurs(DateiLeser& leser, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung);
    // The course-list form: the state flags, the four texts scrambled, kNr, the sets.
    void Speichern(
        DateiSchreiber& schreiber, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung) const;
    // The grade result form: no state flags, the warning flag itself before the warned set.
    void Speichern(DateiSchreiber& schreiber, bool mitWarnung) const;

    qint64 kNr = 0;
    QString KursArt;
    QString Fach;
    QString Lehrer;
    Menge Schueler;
    bool geaendert = false;
    QString Kuerzel;
    Menge DrittesFachSchueler;
    Menge ViertesFachSchueler;
    Menge KlausurSchueler;
    Menge GewarntSchueler;
    bool gespeichert = false;
    bool gesendet = false;

    bool operator==(const Kurs&) const = default;
};

using KursZeiger = std::shared_ptr<Kurs>;
