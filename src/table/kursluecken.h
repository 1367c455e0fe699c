#pragma once

#include <QString>
#include <QStringList>

class Datenbestand;
class Kurs;

// What a course still lacks before its result file leaves: the students without a value in
// the grade column, and the students marked for the written exam without an exam grade. Pure
// rules over the saved course rows, without any window; the course selection window asks
// from it before "Speichern" and "Senden".
//
// The grade column is the one the course's figures count (the catalogue entry "Note" without
// ID, else the first entry with an ID). The exam column is the first entry with an ID beside
// a "Note" column; only students in the course's exam set need a value there. A value counts
// when it holds more than blanks.
class Kursluecken {
public:
    static Kursluecken FuerKurs(const Datenbestand& daten, const Kurs& kurs);

    int schueler = 0;
    int mitKlausur = 0; // students in the exam set (with an exam column)
    QString notenSpalte; // the captions of the two columns, empty without
    QString klausurSpalte;
    QStringList ohneNote; // the names, in the order of the course window
    QStringList ohneKlausur;

    bool Vollstaendig() const { return ohneNote.isEmpty() && ohneKlausur.isEmpty(); }
    // What lacks, one line per column: "„Note“ fehlt bei 17 von 22 Schülern: Albers, Anna;
    // Brandt, Ben; Cordes, Clara und 14 weitere." and "„Klausur“ fehlt bei 1 von 2 Schülern
    // mit Klausur: Cordes, Clara."
    QString Text() const;
    // The first `zeigen` names, then "und N weitere".
    static QString Namen(const QStringList& namen, int zeigen = 3);
};
