#pragma once

#include "eingabejournal.h"
#include "eintrag.h"
#include "kurs.h"
#include "kursdruck.h"
#include "kurszahlen.h"
#include "menge.h"
#include "nachrichtenfenster.h"
#include "notenspiegel.h"
#include "notenspiegelfenster.h"
#include "schuelerkurs.h"
#include "zellpruefung.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QTableWidgetItem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Kursstatuszeile;
class Kurstabelle;
class QAction;
class QKeyEvent;
class QUndoCommand;
class QUndoStack;
class QMimeData;
class QPrinter;
class QStyleOptionViewItem;
class QTableWidgetItem;
class Schueler;
class ToolbarVorlage;

// The course window: one course's grade table.
// The class is split into files by concern:
//   kursfenster.cpp             set-up, layout, toolbar, menu handlers, closing
//   kursfenster_bearbeiten.cpp  editing, navigation, painting hooks, focus and Edit menu
//   kursfenster_pruefung.cpp    checking and storing a typed or pasted value
//   kursfenster_zeilen.cpp      filling the rows and saving the table
//   kursfenster_spalten.cpp     column widths the header reports, column moves
//   kursfenster_zwischenablage.cpp  copy and paste of grade rows through the clipboard
//   kursfenster_druck.cpp       printing the course list
//   kursfenster_beenden.cpp     the course windows when the program quits, opening a course once
//   kursfenster_rueckgaengig.cpp  undo and redo of stored changes, the figures under the table
//   kursfenster_journal.cpp     the recovery journal of unsaved entries, restoring them
//   kursfenster_suche.cpp       finding a student (Ctrl+F)
//   kursfenster_notenspiegel.cpp  the distribution of the grade columns (Notenspiegel)
//
// Its public face: what the other windows and the application ask of a course window, its
// state read-only, its controls, and the handlers of the grid, the toolbar and the menus; the
// grid, its header, its cell delegate and an undo step reach the rest as the window's parts.
// Printing is Kursdruck's on a snapshot (Abbild); a column's width is dragged in the header
// (Kurskopf), which reports it.
//
// Every stored change of a cell goes through ZelleAendern; what an entry cell accepts is
// decided by Zellpruefung, for typed and pasted values alike. The cell editor's text reaches a
// cell only through that check, whatever closes the editor.
class Kursfenster : public Nachrichtenfenster {
    Q_OBJECT
public:
    explicit Kursfenster(KursZeiger kurs, QWidget* parent = nullptr);
    ~Kursfenster() override;

    // The title of a course's window ("Q1 - Mathematik - LK2 - ABC").
    static QString Titel(const Kurs& kurs);
    // The drag type of a column drag; the data is the column index as decimal text.
    static inline const QString SpaltenTyp = QStringLiteral("ravirireru.listenSpalten");

    // --- The open course windows (kursfenster_beenden.cpp) ------------------------------
    // The open course windows, in the order they were opened.
    static QList<Kursfenster*> OffeneFenster();
    // The open window of a course, or nullptr.
    static Kursfenster* FensterVon(const Kurs* kurs);
    // Brings the window to the front and gives it the keyboard (also when minimised).
    void Vorholen();
    // What "Sichern" does before the window closes: the open cell checked, then the table
    // saved into the course-list file.
    enum class Sicherung {
        Abgelehnt, // the open cell refused its text: nothing saved
        Gesichert, // the table is in the global data and in the file
        Fehlgeschlagen, // the table is in the global data, the file could not be written
    };
    Sicherung TabelleSichern();
    // Before the program quits: with course windows holding unsaved entries, one question
    // "Kursfenster mit Eingaben" ("Sichern", "Verwerfen", "Abbrechen"). True: quitting goes
    // on (the windows were saved, or their entries are to be dropped); false: the program
    // keeps running with everything as it was (or with the window that could not be saved
    // in front).
    static bool EingabenVorDemBeenden();
    // The desktop session ends: every window with unsaved entries saves them, without a
    // question (an open cell's refused text goes back to its stored value first).
    static void EingabenOhneFrageSichern();
    // Whether the application is quitting (its windows then close without asking).
    static bool ProgrammEndet();

    // --- Size and place --------------------------------------------------------------------
    // The height the window needs for n students: everything above the grid (menu bar,
    // toolbar), the header, n rows and whatever sits under the grid. The one rule of the
    // window's height: the window opens at most this tall and can grow no taller.
    int BenoetigteHoehe(qint64 anzahlSchueler) const;
    // The width the window needs at its height: the columns, and the scroll bar when the
    // rows do not fit.
    int BenoetigteBreite() const { return BenoetigteBreite(height()); }
    // The usable area of the first screen; tests give a fixed one (nullopt: the real one).
    static void SetzeBildschirmflaeche(std::optional<QRect> flaeche);
    // The window course windows open beside (the course selection window), nullptr: none.
    static void SetzeNachbar(QWidget* nachbar);
    void Anpassen() override;

    // --- Restoring entries of the recovery journal (kursfenster_journal.cpp) --------------
    // Where a stored value lives, whatever the order of the columns: the row and the
    // catalogue entry (the n-th entry with that ID and name), or the row's "W" box.
    struct Zellort {
        int row = -1;
        bool warnung = false;
        QString eintragID;
        QString eintragBezeichnung;
        int vorkommen = 0;
        bool operator==(const Zellort&) const = default;
    };
    // The row of a student, -1 when the table has none.
    int ZeileVon(qint64 schuelerID) const;
    // Puts the entries of a journal read from disk into the table, as one step that can be
    // undone, and goes on writing that journal. aenderungen: the cells and the values they
    // get (checked against the file by the caller). Returns how many cells changed; the
    // window counts as changed when any did. Nothing is written into the course-list file.
    int EingabenWiederherstellen(
        const Eingabejournal::Gelesen& journal, const QList<QPair<Zellort, QString>>& aenderungen);

    // --- Operations of the menus and keys -------------------------------------------------
    // Opens the editor on a cell of an entry column and makes it the active cell.
    void AktiviereEditZelle(int row, int column);
    // "Rückgängig" and "Wiederholen" (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y). While the open cell
    // holds typed text that is not yet checked, they undo and redo that typing in the cell
    // editor; the cell's stored value is the editor's to change back first. Otherwise they
    // take back or make again the last stored change (a paste as a whole), and the editor
    // goes to the cell that changed. False when there was nothing to do.
    bool Rueckgaengig();
    bool Wiederholen();
    // Moves the entry column a to position b in the catalogue, the column structure, every
    // course row of the file and the row copies of every open course window, then lays out
    // every window again and marks the global data changed. False (and nothing changed)
    // unless both are entry columns with a catalogue entry and differ.
    bool VerschiebeSpalte(int a, int b);
    // Page set-up and print dialogs through the platform, then the list printed by a
    // Kursdruck on a snapshot of the table.
    void Drucken();
    // What a print shows: the table as the teacher sees it now.
    Kursabbild Abbild() const;

    // --- The window's state, read-only ------------------------------------------------
    int AktiveZeile() const { return activeRow; }
    int AktiveSpalte() const { return activeColumn; }
    const KursZeiger& AngezeigterKurs() const { return zKurs; }
    // The table holds changes not yet saved into the file.
    bool LokalGeaendert() const { return zLokalGeaendert; }
    // The open editor's text differs from what its cell holds (typed, not yet checked).
    bool OffeneEingabe() const;
    // Anything not yet saved into the course-list file: a checked change or the open
    // editor's text.
    bool HatUngesicherteEingaben() const { return zLokalGeaendert || OffeneEingabe(); }
    // The stored value of a cell: the row copy's entry, "X" / "" for the "W" box.
    QString ZellWert(int row, int column) const;
    // The window's own copy of a student's course row (nullptr: the row has none yet).
    const SchuelerKurs* Zeilenkopie(int row) const;
    // The indexes of the entry columns as decimal texts.
    const Menge& Eintragsspalten() const { return zSpalten; }
    // The column tag: the catalogue entry of an entry column, nullptr for other columns.
    const Eintrag* Spalteneintrag(int column) const;
    // Why the last value was refused, for the teacher ("„16“ ist keine Note …").
    QString LetzterGrund() const { return zGrund; }
    // The cells whose pasted value was refused by the last paste (x column, y row); marked
    // in the table until the next change.
    const QList<QPoint>& AbgelehnteZellen() const { return zAbgelehnteZellen; }
    bool IstAbgelehnt(int row, int column) const
    {
        return !zAbgelehnteZellen.isEmpty() && zAbgelehnteZellen.contains(QPoint(column, row));
    }
    // Their background and the frame that shows them also in a selected row.
    static inline const QColor AbgelehntFarbe = QColor(255, 222, 173);
    static inline const QColor AbgelehntRahmen = QColor(230, 120, 0);
    // The figures of the course as the table holds them now.
    Kurszahlen::Summe Zahlen() const { return zZahlen.Ergebnis(); }
    // The history of stored changes since the window opened or was saved.
    QUndoStack* Verlauf() const { return zStapel; }
    // The journal of this window's unsaved entries (nullptr without a course-list file).
    Eingabejournal* Journal() const { return zJournal; }
    // The last print with its measures (nullptr before the first one).
    const Kursdruck* LetzterDruck() const { return zLetzterDruck.get(); }
    // The distribution of every grade column as the table holds it now (the grade column
    // first), for the overview window and the print.
    QList<Notenspiegel> Notenspiegelliste() const;
    // A click on the figures in the status line, or Ctrl+Shift+N: the overview window
    // "Notenspiegel" of this course opens (non-modal) or comes to the front.
    void NotenspiegelOeffnen();
    // The overview window while it is open, else nullptr.
    Notenspiegelfenster* NotenspiegelFenster() const { return zNotenspiegel; }

    // --- Controls -----------------------------------------------------------------------
    Kurstabelle* meineTabelle() const { return zTabelle; }
    ToolbarVorlage* ToolbarWerkzeuge() const { return zWerkzeuge; }
    Kursstatuszeile* Statuszeile() const { return zStatuszeile; }
    QAction* SichernAktion() const { return zToolSichern; }
    // The search field (Ctrl+F): hidden until asked for.
    QLineEdit* Suchfeld() const { return zSuchfeld; }
    // Ctrl+F: shows the search field and gives it the keyboard.
    void SucheOeffnen();
    // Escape in the search field: hides it, the editor opens on the student found.
    void SucheSchliessen();
    // The row the search stands on, -1 without a match.
    int Suchtreffer() const { return zSuchtreffer; }

    // --- The grid's and the window's handlers -------------------------------------------
    // Key codes the grid handles (the character code of the key's first character).
    enum Tastencode {
        TasteTab = 9,
        TasteReturn = 13,
        TasteLinks = 28,
        TasteRechts = 29,
        TasteHoch = 30,
        TasteRunter = 31,
        // Keys of this program beyond those: a page up or down, the first and the last row
        // (Ctrl+Home, Ctrl+End).
        TasteSeiteHoch = 0x101,
        TasteSeiteRunter = 0x102,
        TasteAnfang = 0x103,
        TasteEnde = 0x104,
    };
    // The key code of a key press, 0 for keys the grid leaves to the cell editor. Tab with
    // Shift counts as Tab (modifiers are not consulted), keypad Enter as Return.
    static int Tastencode(int qtTaste);
    // The same with the modifiers: Page Up/Down, Ctrl+Home and Ctrl+End have codes too.
    static int Tastencode(int qtTaste, Qt::KeyboardModifiers tasten);
    // True: the press is handled; the grid does nothing further with it.
    bool meineTabelle_CellPressed(int row, int column, Qt::KeyboardModifiers tasten);
    // True swallows the key; key is a Tastencode.
    bool meineTabelle_CellKeyDown(int row, int column, int key);
    // Sets the colour and underline of a cell's text; false: the grid draws the text.
    bool meineTabelle_PaintCellText(QStyleOptionViewItem& option, int row, int column) const;
    void meineTabelle_FocusReceived();
    void meineTabelle_FocusLost(QWidget* neu);
    void meineTabelle_CellFocusReceived();
    void meineTabelle_CellFocusLost(QWidget* neu);
    void meineTabelle_Opening();
    // A drop on the table: mitte is the centre of the dropped column's rectangle, in table
    // coordinates. Data of another type, a drop onto an identification column, outside the
    // columns or onto the column itself changes nothing. True when a column moved.
    bool meineTabelle_DropObject(const QMimeData* daten, QPoint mitte);
    // The mouse over the grid and its header: the header holds the drag of a column's width
    // (x, y in table coordinates; the header occupies 0 <= y < header height).
    void meineTabelle_MouseMove(int x, int y);
    // True starts a resize of the column whose divider lies at x.
    bool meineTabelle_MouseDown(int x, int y);
    void meineTabelle_MouseDrag(int x, int y);
    void meineTabelle_MouseUp(int x, int y);
    void ToolbarWerkzeuge_Pressed(QAction* item);
    void Event_Resizing();
    // True keeps the window open. programmEndet: the whole application is quitting.
    bool Event_CancelClosing(bool programmEndet);
    bool _AblageDrucken_Action();
    bool _EditCopySpezial_Action();
    bool _EditPasteSpezial_Action();
    // The check of the text in a cell (the open editor's text when it stands there), as
    // Tab and every other road out of a cell runs it: accepted → stored, the table changed;
    // refused → beep, the stored value back in the cell. False when refused.
    bool ZelleGeprueft(int row, int column);
    // The check of a pasted value (the same rules); an accepted one is stored and shown.
    // Beeps nothing. False when refused.
    bool SpalteOK(const QString& text, int row, int column);
    // The rows from the global data; one row; the table changed; the table into the data.
    void DatenEintragen();
    void ZeileEintragen(int row, const Schueler& schueler);
    void Geaendert();
    void TabellenDatenSichern();

signals:
    // A typed or pasted value was refused, with the reason.
    void EingabeAbgelehnt(const QString& grund);

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    // The grid, its header, its cell delegate and an undo step are the window's own parts:
    // they hand it the mouse, the keys, the editor and the history through its private
    // hooks below.
    friend class Kurstabelle;
    friend class Kurskopf;
    friend class Kurszellendelegate;
    friend class Zellaenderung;

    // --- What the named handlers do ----------------------------------------------------
    // The window's width changed by the teacher: the last entry column takes the difference.
    void BreiteUebernehmen();
    // A toolbar button pressed.
    void WerkzeugGedrueckt(QAction* item);
    // Whether the window stays open when asked to close (the question about unsaved entries).
    bool OffenLassen(bool programmEndet);
    // A key of the cell editor: the check of the cell, then the editor's next place.
    bool TasteInZelle(int row, int column, int key);
    // A press on a cell: the check of the active cell first, then the editor, the "W" box or
    // the start of a column drag.
    bool ZelleGedrueckt(int row, int column, Qt::KeyboardModifiers tasten);
    // The check of a cell's text (ZelleGeprueft) and of a pasted value (SpalteOK).
    bool ZellePruefen(int row, int column);
    bool EingefuegtPruefen(const QString& text, int row, int column);
    // A dropped column moved to the column under the centre of its rectangle.
    bool SpalteAblegen(const QMimeData* daten, QPoint mitte);
    // The selected rows to the clipboard as text; rows of the clipboard pasted into the table.
    bool ZeilenKopieren();
    bool ZeilenEinfuegen();

    // --- Set-up and layout (kursfenster.cpp) --------------------------------------------
    void KurslistenInit();
    void FensterEinrichten();
    void ToolbarInit();
    void ToolBarAnpassen();
    void AddMenuHandlers();
    // The width of the vertical scroll bar when the window, hoehe tall, cannot show every
    // row; 0 when every row fits.
    int Bildlaufbreite(int hoehe) const;
    // The width the window needs at height hoehe.
    int BenoetigteBreite(int hoehe) const;
    static QRect Bildschirmflaeche();

    // --- The cell editor and navigation (kursfenster_bearbeiten.cpp) --------------------
    // A key pressed in the table while no editor is open: typed text, Tab, Return and F2
    // open the editor in the entry cell of the table's current row (the column the teacher
    // worked in last), and the typed text goes into it. True when the key was taken.
    bool TasteOhneEditor(QKeyEvent* taste);
    // Escape in the open editor: its text goes back to what the cell holds, the editor stays
    // open on the cell with all its text selected, so typing goes on there.
    void EditorZuruecksetzen();
    // The grid's editor: its text changed, it closed. "Sichern" follows.
    void EditorTextGeaendert();
    void EditorGeschlossen();
    // Paste into the open cell editor (Ctrl+V, the menu, the editor's context menu): a text
    // of one line goes into the editor; a block with tabs or line ends is pasted as a table
    // from the editor's row. True when done here, false: the editor pastes by itself.
    bool EditorEinfuegen();
    // The open editor's text checked like ZelleGeprueft; true without editor.
    bool OffeneZellePruefen();
    bool NaechsteSpalte(int& column) const;
    bool VorigeSpalte(int& column) const;
    int NaechsteZeile(int row) const;
    int VorigeZeile(int row) const;

    // --- Column widths and moves (kursfenster_spalten.cpp) -----------------------------
    // The header reports a column's width while it is dragged and when the drag has ended;
    // the width goes into the shared column layout, which every course window follows.
    void BreiteZiehen(int spalte, qint64 breite);
    void BreiteGeaendert(int spalte);
    // The data of a column drag for column.
    static QMimeData* SpaltenDaten(int column);
    // Starts dragging column (a press with the Option key on an entry cell); druckpunkt is
    // where the press was, in table coordinates.
    void SpalteZiehen(int column, QPoint druckpunkt);
    // A drop with the mouse at zeiger (table coordinates): the dragged column's rectangle
    // has moved with the mouse since the press, so its centre lies as far from the mouse as
    // it did at the press.
    bool SpalteAbgelegt(const QMimeData* daten, QPoint zeiger);
    // The column the header drag of a section ends on is moved like a dropped column.
    void KopfSpalteVerschoben(int a, int b);
    // Where column a lands when it is moved to position b: the x of that column edge in
    // table coordinates (the right edge of b when a lies left of it, else its left edge);
    // -1 when a move from a to b would be refused.
    int AblageKante(int a, int b) const;
    // While a column is dragged: the drop marker at the edge where it would land (b < 0, or
    // a move that would be refused, hides it).
    void AblageZeigen(int a, int b);
    // A column drag over the table with the mouse at zeiger (table coordinates): the marker
    // shows where a drop would put it.
    void SpalteUeberTabelle(const QMimeData* daten, QPoint zeiger);

    // --- Stored changes and undo (kursfenster_pruefung.cpp, kursfenster_rueckgaengig.cpp) --
    // The one road of a stored change: column's value in the row's copy (an entry column)
    // or the "W" box (wert not empty: checked), the cell, the open editor on it; the table
    // counts as changed.
    void ZelleAendern(int row, int column, const QString& wert);
    Zellort OrtVon(int row, int column) const;
    // The column of a place now (-1 when it is no cell of this window).
    int SpalteVon(const Zellort& ort) const;
    // Sets the stored value at a place as undo and redo do it: stored, shown, counted and
    // journaled like every change, without a new step.
    void WertZuruecksetzen(const Zellort& ort, const QString& wert);
    // Several stored changes made as one step (a paste, restored entries): every change
    // between the two calls; no step when nothing changed.
    void SammlungBeginnen(const QString& text);
    void SammlungBeenden();
    qint64 SchuelerVon(int row) const;

    // The numbers of the course's sets a row is shown with, taken out once for all rows.
    struct Zeilenmengen {
        QSet<qint64> drittesFach;
        QSet<qint64> viertesFach;
        QSet<qint64> gewarnt;
    };
    Zeilenmengen MengenDesKurses() const;
    void ZeileEintragen(int row, const Schueler& schueler, const Zeilenmengen& mengen);

    // --- Row copies and cells -------------------------------------------------------------
    // The row tag: the window's own copy of the student's course row, or nullptr.
    SchuelerKursZeiger Zeilenkurs(int row) const;
    void SetzeZeilenkurs(int row, SchuelerKursZeiger kurs);
    QString Zelltext(int row, int column) const;
    void SetzeZelltext(int row, int column, const QString& text);
    // The "W" box of a row (false without warning column).
    bool Gewarnt(int row) const;
    void SetzeGewarnt(int row, bool gewarnt);
    // Whether column is an entry column (in zSpalten).
    bool IstEintragsspalte(int column) const;

    // --- The window's fields ------------------------------------------------------------
    int activeRow = 0; // row of the active cell (the cell being edited)
    int activeColumn = 1; // column of the active cell
    KursZeiger zKurs; // the course shown; never replaced
    QAction* zToolSichern = nullptr;
    QLineEdit* zSuchfeld = nullptr;
    int zSuchtreffer = -1;
    void SucheEinrichten();
    // Jumps to the first student at or after row ab whose name holds the search text
    // (wrapping round); the field turns red when there is none.
    void SucheNach(int ab);
    // The number of rows one page moves; the row a page key or Ctrl+Home/End leads to.
    int Seitenzeilen() const;
    int ZeileNachSprung(int row, int key) const;
    Menge zSpalten; // indexes of the entry columns as decimal texts
    bool zLokalGeaendert = false; // the table holds changes not yet saved into the file
    // Printing: the printer of the current print (a new one for every print), and the
    // last print with its measures.
    std::unique_ptr<QPrinter> zSetUp;
    std::unique_ptr<Kursdruck> zLetzterDruck;

    // The text the check works on: the open editor's text when the editor is on the cell,
    // else the cell's text; and where a correction goes.
    QString GeprueftenText(int row, int column) const;
    // The cell and the open editor on it show text (the stored value).
    void Anzeigen(int row, int column, const QString& text);
    // The row tag, created from the course and the student's ID when the row has none.
    SchuelerKursZeiger ZeilenkursSicher(int row);
    // The check of text for a cell, nothing carried out yet. The value of entry column c is
    // the row copy's entry c − ErsteSpalte: the cell shows it, the check compares with it and
    // an accepted value goes there, so that "Sichern" writes exactly what the cell shows
    // (also when two catalogue entries carry the same name).
    struct Pruefung {
        bool eintrag = false; // an entry column with its catalogue entry
        Zellpruefung::Ergebnis ergebnis;
    };
    Pruefung Pruefen(int row, int column, const QString& text) const;
    // Pastes a table of tab-separated lines from row r0 and the first entry column on.
    void TabelleEinfuegen(const QString& text, int r0);
    // The summary of a paste's refusals: "3 Werte nicht übernommen: Zeile 4 Note „16“, …".
    struct Abgelehnt {
        int row;
        int column;
        QString text;
        QString grund;
    };
    QString EinfuegenZusammenfassung(const QList<Abgelehnt>& abgelehnt) const;
    void MarkierungenLoeschen();
    // The first line of a pasted block names the columns (a spreadsheet's header line).
    bool IstKopfzeile(const QStringList& felder) const;
    void FensterPlatzieren();
    static QPointer<QWidget>& Nachbar();
    // The column widths of the shared structure into the grid.
    void SpaltenbreitenSetzen();
    // A new cell item with the flags and the alignment of its column.
    QTableWidgetItem* NeueZelle(int column, const QString& text) const;
    // The pattern of every column's cells anew (after the columns' tags or alignments changed).
    void ZellvorlagenNeu();
    void FokusGewechselt(QWidget* alt, QWidget* neu);
    // After the editor moved: the Edit menu as the focus now stands.
    void EditMenueNachFokus();
    bool GehoertZurTabelle(const QWidget* w) const;
    // The column order of this window after a column moved from a to b: the cells, the
    // column tags and headings, the open editor with its text.
    void SpaltenfolgeUebernehmen(int a, int b);
    // Before the file's data moves an entry from von to nach: the row copies this window
    // holds of its own move with it.
    void EigeneZeilenVerschieben(qint64 von, qint64 nach);
    // The text the teacher sees in a cell: the open editor's text there, else the cell's.
    QString SichtbarerText(int row, int column) const;
    // The stored change itself (ZelleAendern, undo, redo): the value into the row copy or the
    // "W" box, shown, counted in the figures and appended to the journal. vorher and nachher
    // get the stored values before and after; false when there is no such cell.
    bool WertSetzen(int row, int column, const QString& wert, QString& vorher, QString& nachher);
    // A stored change becomes a step of the history (or part of the collection).
    void AenderungVermerken(int row, int column, const QString& vorher, const QString& nachher);
    // The changed mark follows the history: unchanged exactly at the state last saved.
    void ZustandNachVerlauf();
    // "Rückgängig" and "Wiederholen" in the Edit menu: enabled while there is something.
    void VerlaufMenueAnpassen();
    void RueckgaengigEinrichten();
    // After an undo or redo: the editor to the cell that changed.
    void ZurGeaendertenZelle();
    // The figures of one row anew, or all of them (after a column moved), and the line.
    void ZahlenZeile(int row);
    void ZahlenNeu();
    void ZahlenZeigen();
    // The journal gets the change; the status line says when it cannot be written.
    void JournalVermerken(int row, int column, const QString& vorher, const QString& nachher);
    void JournalEinrichten();
    // Saved or discarded: the course's part of the journal goes.
    void JournalEntfernen();

    Kurstabelle* zTabelle = nullptr;
    ToolbarVorlage* zWerkzeuge = nullptr;
    // Row tags in row order; column tags by column (entries only for entry columns).
    QList<SchuelerKursZeiger> zZeilenKurse;
    QList<std::optional<Eintrag>> zSpaltenEintraege;
    // Column flags of the entry columns, by column (a fast form of zSpalten).
    QList<bool> zIstEintrag;
    // The alignment of every column's cells.
    QList<Qt::Alignment> zAusrichtungen;
    // Per column an item with the flags and the alignment its cells get.
    std::vector<QTableWidgetItem> zZellvorlagen;
    bool zEditorWechsel = false; // the editor moves from one cell to another
    bool zEingerichtet = false; // the constructor has finished
    QString zGrund; // why the last value was refused
    QList<QPoint> zAbgelehnteZellen; // refused by the last paste, marked until a change
    bool zFuegtEin = false; // a paste is storing its values
    QUndoStack* zStapel = nullptr;
    QUndoCommand* zSammlung = nullptr; // the step being collected (a paste)
    bool zRueckgaengigAn = false; // "Rückgängig" has a handler
    bool zWiederholenAn = false; // "Wiederholen" has a handler
    int zZielZeile = -1; // the cell an undo or redo changed last
    int zZielSpalte = -1;
    Kurszahlen zZahlen;
    Kursstatuszeile* zStatuszeile = nullptr;
    QPointer<Notenspiegelfenster> zNotenspiegel;
    void NotenspiegelEinrichten();
    void NotenspiegelPlatzieren();
    // The catalogue position of the exam grade among the grade columns, -1 without; the
    // rows its distribution counts.
    qint64 Klausurspalte(const QList<qint64>& spalten) const;
    QList<const KursEintraege*> KlausurZeilen(
        const QList<const KursEintraege*>& zeilen, qint64 spalte) const;
    QList<qint64> zZeilenIDs; // the student of every row
    // Whether the student of every row writes an exam in the course (the name is underlined);
    // the course's set of exam writers does not change while the window is open.
    QList<bool> zKlausurZeilen;
    Eingabejournal* zJournal = nullptr;
    // The desktop session ended while this window's entries could not be saved: its part of
    // the journal stays when it closes with the program, so the next start offers them back.
    bool zJournalBehalten = false;
    bool zJournalAus = false; // changes already in the journal (restoring)
};
