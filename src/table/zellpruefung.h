#pragma once

#include <QList>
#include <QString>

class Eintrag;
class Note;

// What a cell of the grade table accepts. One rule for every road a value takes into a row:
// typed into a cell and pasted from the clipboard are checked alike. The function sees no
// window, no grid and no global data: the course window hands it the column's kind, what the
// row holds now, the text and the grade scale, and carries out the answer.
namespace Zellpruefung {

// The kind of an entry column, read from its catalogue entry.
enum class Spaltenart {
    NoteMitID, // an entry with an ID: a grade of the scale
    Note, // no ID, "Note"
    Fehlstunden, // no ID, "Fehlstunden"
    Unentschuldigt, // no ID, "unentschuldigte Fehlstunden"
    Hinweis, // no ID, "Hinweis"
    Andere, // no ID, any other name: free text like "Hinweis"
};

// Names compared without regard to letter case, in the order above.
Spaltenart ArtVon(const Eintrag& eintrag);

// What the row holds now.
struct Zeile {
    QString wert; // the stored value of the column checked
    QString fehlstunden; // the row's stored absence hours (for the unexcused hours)
};

struct Ergebnis {
    enum Art {
        Unveraendert, // nothing to store; the cell shows the stored value
        Angenommen, // store wert
        Abgelehnt, // nothing stored; the cell shows the stored value again
    };
    Art art = Unveraendert;
    // The value the row holds afterwards; the cell shows exactly this text.
    QString wert;
    // Why a value was refused: one short German sentence for the teacher.
    QString grund;
};

// The longest value the course-list file holds, in bytes of UTF-8.
inline constexpr int MaxWertBytes = 255;

// Checks text for a column of kind art in a row holding zeile; noten is the file's grade
// scale. Every refusal leaves the stored value; an accepted value holds no control character
// and fits into the course-list file.
Ergebnis Pruefen(Spaltenart art, const Zeile& zeile, const QString& text, const QList<Note>& noten);

// Whether text holds a character no cell holds: a tab, a line end or another control
// character.
bool HatSteuerzeichen(const QString& text);

// The refusal reasons (used by the tests and by whoever shows them).
QString GrundKeineNote(const QString& text);
// The same, followed by what the scale allows: "„16“ ist keine Note dieser Notenskala.
// Erlaubt sind: 15 … 0, E, NT."
QString GrundKeineNote(const QString& text, const QList<Note>& noten);
// Why an hour count of a column of kind art was refused; a number written with a decimal
// comma ("3,5") is told how to write it ("Dezimalstellen mit Punkt: „3.5“.").
QString GrundStunden(Spaltenart art, const QString& text);
// The grades of a scale as the reasons name them: "15 … 0, E, NT".
QString ErlaubteNoten(const QList<Note>& noten);
extern const QString GrundFehlstunden;
extern const QString GrundUnentschuldigt;
extern const QString GrundUnentschuldigtZuHoch;
extern const QString GrundSteuerzeichen;
extern const QString GrundZuLang;
extern const QString GrundUngueltig;

} // namespace Zellpruefung
