#pragma once

// Fixtures and small helpers for the tests of the course window (the course lists come from
// Kurslistenbauer).

#include "dateihelfer.h"
#include "datenbestand.h"
#include "kursfenster.h"
#include "kurslistenbauer.h"

#include <QPoint>
#include <QPointer>
#include <QString>

class QLineEdit;
class QMimeData;

namespace Kurstabellentest {

// Writing a course list and loading it as the program does, reading a file back.
using Dateihelfer::Anlegen;
using Dateihelfer::Lesen;

// For the tests of printing: the standard course list (deficits marked as given) with
// student 12's hint "3" and exam grade "2", weitere students from 101 on with rows (grade
// 10, hours 2), and, when given, a student 99 with that name; written into ordner, loaded,
// and course "M" opened with its editor closed.
QPointer<Kursfenster> DruckKurs(const QString& ordner, int weitere = 0, bool mitDefiziten = true,
    const QString& langerName = QString());

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
