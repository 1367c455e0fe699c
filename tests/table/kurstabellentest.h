#pragma once

// Fixtures and small helpers for the tests of the course window.

#include "datenbestand.h"
#include "kursfenster.h"

#include <QPoint>
#include <QPointer>
#include <QString>

class QLineEdit;
class QMimeData;

namespace Kurstabellentest {

struct Optionen {
    bool mitMarkAbitur = true;
    bool mitWarnung = true;
    bool mitDefiziten = true;
    bool istAbiturListe = false;
    // Add the catalogue entries "Klausur" (with ID "KL", a grade column) and "Sonstiges"
    // (without ID, a name the checks do not know).
    bool mitWeiterenEintraegen = true;
};

// A course-list: the scale 15 .. 0 points and "E" (value -1); the catalogue "Note",
// "Fehlstunden", "unentschuldigte Fehlstunden", "Hinweis" (and "Klausur", "Sonstiges");
// the students 11 Albers, 12 Brandt, 13 Cordes, 14 Dahl, 15 Ernst, in that order;
// course "M" (Mathematik LK2, teacher "Mü") with 11, 12, 13, 14: 11 third Abitur subject,
// 12 fourth, 13 both; exams 11 and 13; warned 12. Course rows: 11 with every value, 12 with
// every value, 13 none, 14 a damaged row holding only its first two entries.
// Course "D" (Deutsch GK1, teacher "Mü") with 12 and 15; 15 has no row.
Datenbestand Kursdaten(const Optionen& optionen = Optionen {});

// Adds anzahl students (IDs from ab on, named "Schüler 101" ...) to the course with that key,
// behind the others; with mitZeilen each gets a course row with the grade "10" and the hours
// "2" (as far as the catalogue has "Note" and "Fehlstunden").
void SchuelerHinzufuegen(
    Datenbestand& daten, const QString& kuerzel, qint64 ab, int anzahl, bool mitZeilen);

// For the tests of printing: the course list of Kursdaten (deficits marked as given) with
// student 12's hint "3" and exam grade "2", weitere students from 101 on with rows (grade
// 10, hours 2), and, when given, a student 99 with that name; written into ordner, loaded,
// and course "M" opened with its editor closed.
QPointer<Kursfenster> DruckKurs(const QString& ordner, int weitere = 0, bool mitDefiziten = true,
    const QString& langerName = QString());

// Writes daten with its default layout as a course-list file into ordner and loads it as the
// program does (Daten.LadeDatei). Returns the path; empty when loading failed.
QString Anlegen(const QString& ordner, const Datenbestand& daten,
    const QString& name = QStringLiteral("Kursliste.zln"));

// Reads a course-list file back with the model's reader.
bool Lesen(const QString& pfad, Datenbestand& daten, Spaltenstruktur& struktur);

// The course of the global data with that key.
KursZeiger Kurs(const QString& kuerzel);

// Opens a course window and shows it (it deletes itself when closed).
QPointer<Kursfenster> Oeffnen(const QString& kuerzel);

// The column of the catalogue entry with that caption in the shared layout, -1 if none.
int Spalte(const QString& bezeichnung);

// The open cell editor of the window, or nullptr; the cell the editor stands on.
QLineEdit* Editor(const Kursfenster& fenster);
QPoint EditorZelle(const Kursfenster& fenster);
// The text a teacher sees in a cell: the editor's text while it is open there.
QString Sichtbar(const Kursfenster& fenster, int row, int column);
// The text a cell of the grid holds (empty without a cell), whatever the editor shows.
QString Zelltext(const Kursfenster& fenster, int row, int column);
// The data a course window's drag of column carries (its index under Kursfenster::SpaltenTyp);
// the caller owns it.
QMimeData* Spaltenzug(int column);
// Whether a row's "W" box is ticked in the grid (false without warning column).
bool Gewarnt(const Kursfenster& fenster, int row);

// Types text into the open editor (which selects its whole text when it opens) with real
// key events, replacing what it shows.
void Tippen(Kursfenster& fenster, const QString& text);
// A real key press in the open editor.
void Taste(Kursfenster& fenster, Qt::Key taste, Qt::KeyboardModifiers mod = Qt::NoModifier);
// A real mouse press on a cell of the table.
void Klick(Kursfenster& fenster, int row, int column, Qt::KeyboardModifiers mod = Qt::NoModifier);

// The stored value of a row's copy for the catalogue entry with that caption.
QString Gespeichert(const Kursfenster& fenster, int row, const QString& bezeichnung);

} // namespace Kurstabellentest
