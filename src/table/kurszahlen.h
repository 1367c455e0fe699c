#pragma once

#include <QList>
#include <QString>
#include <optional>

class Datenbestand;
class Kurs;
class KursEintraege;

// The figures of a course that the course window shows under its table and the course
// selection window beside each course: students, grades entered and missing, the average of
// the grade column in points, deficits, and the sums of the absence hours. Pure rules over
// the course rows, without any window.
//
// The grade column is the catalogue entry "Note" without ID, else the first entry with an ID
// (a grade of the scale). A grade counts as entered when its cell is not empty; it counts for
// the average when the scale gives it a value (a grade of value below 0 such as "E" for
// "entschuldigt" is entered but not averaged); a deficit is what the table shows in red.
// Hours count as written ("2.5" as 2.5); a text that is no number counts as 0.
//
// The window keeps one Zeile per row and recomputes only the row that changed, so a stored
// change costs one row's work and a sum over the rows.
class Kurszahlen {
public:
    struct Summe {
        int schueler = 0;
        int eingetragen = 0; // grades entered
        int mitWert = 0; // of those, grades with a value of the scale
        qint64 punkte = 0; // the sum of their values
        int defizite = 0;
        double fehlstunden = 0;
        double unentschuldigt = 0;
        bool mitNote = false; // the catalogue has a grade column
        bool mitDefiziten = false;
        bool mitFehlstunden = false;
        bool mitUnentschuldigt = false;

        int Fehlend() const { return schueler - eingetragen; }
        // The average in points; none without a grade of value.
        std::optional<double> Schnitt() const;
        // The status line: "24 Schüler · Noten: 18 eingetragen, 6 fehlen · Schnitt 8,4 Punkte
        // · 2 Defizite · Fehlstunden 37, davon 4 unentschuldigt".
        QString Text() const;
        // The same, short, for a narrow window: "24 Schüler · 18 Noten, 6 fehlen · Ø 8,4 ·
        // 2 Defizite · 37 Fehlstd. (4 unent.)".
        QString KurzText() const;
        // Grades entered of students, "18/24"; empty without grade column.
        QString Anteil() const;
    };

    Kurszahlen() = default;
    // Reads from the catalogue of daten which columns count and how (daten must outlive this).
    explicit Kurszahlen(const Datenbestand& daten);
    // The same figures for another grade column: the catalogue entry at position spalte (an
    // exam grade, say); a position outside the catalogue counts as no grade column.
    Kurszahlen(const Datenbestand& daten, qint64 spalte);
    // The catalogue's order changed (a column moved): the columns are found anew.
    void SpaltenBestimmen();
    // The number of rows; new rows count as rows without values.
    void Zeilen(int anzahl);
    // One row's values (nullptr: a row without values).
    void ZeileSetzen(int row, const KursEintraege* eintraege);
    Summe Ergebnis() const;
    // The catalogue position of the grade column counted, -1 without.
    qint64 Notenspalte() const { return zNote; }

    // The figures of a course from the rows saved in daten (the course selection window):
    // its students as the course window shows them, each with its saved row.
    static Summe FuerKurs(const Datenbestand& daten, const Kurs& kurs);

    // German number: at most `stellen` decimals, a decimal comma, no trailing zeros.
    static QString Zahl(double wert, int stellen = 1);

private:
    struct Zeile {
        bool eingetragen = false;
        bool mitWert = false;
        qint64 wert = 0;
        bool defizit = false;
        double fehlstunden = 0;
        double unentschuldigt = 0;
    };
    Zeile Berechnen(const KursEintraege* eintraege) const;

    const Datenbestand* zDaten = nullptr;
    qint64 zNote = -1; // catalogue positions, -1 without
    qint64 zFesteSpalte = -1; // the grade column asked for; -1: found in the catalogue, -2: none
    qint64 zFehlstunden = -1;
    qint64 zUnentschuldigt = -1;
    QList<Zeile> zZeilen;
};
