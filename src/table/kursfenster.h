#pragma once

#include "eintrag.h"
#include "kurs.h"
#include "menge.h"
#include "nachrichtenfenster.h"
#include "schuelerkurs.h"

#include <QList>
#include <QRect>
#include <optional>

class Kurstabelle;
class QAction;
class QMimeData;
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
//   kursfenster_zwischenablage.cpp, kursfenster_druck.cpp  the menu commands of the
//                               clipboard and of printing
// Column rearrangement (dragging widths, moving columns) goes into kursfenster_spalten.cpp.
class Kursfenster : public Nachrichtenfenster {
    Q_OBJECT
public:
    explicit Kursfenster(KursZeiger kurs, QWidget* parent = nullptr);
    ~Kursfenster() override;

    // Key codes the grid handles (the character code of the key's first character).
    enum Tastencode {
        TasteTab = 9,
        TasteReturn = 13,
        TasteLinks = 28,
        TasteRechts = 29,
        TasteHoch = 30,
        TasteRunter = 31,
    };
    // The key code of a key press, 0 for keys the grid leaves to the cell editor. Tab with
    // Shift counts as Tab (modifiers are not consulted), keypad Enter as Return.
    static int Tastencode(int qtTaste);

    // The drag type of a column drag; the data is the column index as decimal text.
    static inline const QString SpaltenTyp = QStringLiteral("ravirireru.listenSpalten");

    // --- The window's fields ------------------------------------------------------------
    int activeRow = 0; // row of the active cell (the cell being edited)
    int activeColumn = 1; // column of the active cell
    KursZeiger zKurs; // the course shown; never replaced
    QAction* zToolSichern = nullptr;
    Menge zSpalten; // indexes of the entry columns as decimal texts
    bool zLokalGeaendert = false; // the table holds changes not yet saved into the file

    // --- Controls -----------------------------------------------------------------------
    Kurstabelle* meineTabelle() const { return zTabelle; }
    ToolbarVorlage* ToolbarWerkzeuge() const { return zWerkzeuge; }

    // --- Set-up and layout (kursfenster.cpp) --------------------------------------------
    void KurslistenInit();
    void FensterEinrichten();
    void ToolbarInit();
    void ToolBarAnpassen();
    void Anpassen() override;
    void Event_Resizing();
    // True keeps the window open. programmEndet: the whole application is quitting.
    bool Event_CancelClosing(bool programmEndet);
    void meineTabelle_Opening();
    void ToolbarWerkzeuge_Pressed(QAction* item);
    void AddMenuHandlers();
    bool _AblageDrucken_Action();
    bool _EditCopySpezial_Action();
    bool _EditPasteSpezial_Action();

    // The title of a course's window ("Q1 - Mathematik - LK2 - ABC").
    static QString Titel(const Kurs& kurs);
    // The height the window needs for n students: top of the table, header, n rows.
    int BenoetigteHoehe(qint64 anzahlSchueler) const;
    // Whether the application is quitting (its windows then close without asking).
    static bool ProgrammEndet();
    // The open editor holds text typed since it opened or since its last check.
    bool OffeneEingabe() const;
    // The usable area of the first screen; tests give a fixed one (nullopt: the real one).
    static void SetzeBildschirmflaeche(std::optional<QRect> flaeche);
    static QRect Bildschirmflaeche();

    // --- Editing and navigation (kursfenster_bearbeiten.cpp) ---------------------------
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
    void AktiviereEditZelle(int row, int column);
    bool NaechsteSpalte(int& column) const;
    bool VorigeSpalte(int& column) const;
    int NaechsteZeile(int row) const;
    int VorigeZeile(int row) const;
    // The data of a column drag for column.
    static QMimeData* SpaltenDaten(int column);
    // Starts dragging column (a press with the Option key on an entry cell).
    void SpalteZiehen(int column);

    // --- Validation (kursfenster_pruefung.cpp) -----------------------------------------
    bool ZelleGeprueft(int row, int column);
    bool SpalteOK(const QString& text, int row, int column);
    // The longest value the course-list file can hold, in UTF-8 bytes.
    static constexpr int MaxWertBytes = 255;

    // --- Rows and saving (kursfenster_zeilen.cpp) --------------------------------------
    void DatenEintragen();
    void ZeileEintragen(int row, const Schueler& schueler);
    void Geaendert();
    void TabellenDatenSichern();

    // --- Tags and cells -------------------------------------------------------------------
    // The row tag: the window's own copy of the student's course row, or nullptr.
    SchuelerKursZeiger Zeilenkurs(int row) const;
    void SetzeZeilenkurs(int row, SchuelerKursZeiger kurs);
    // The column tag: the catalogue entry of an entry column, nullptr for other columns.
    const Eintrag* Spalteneintrag(int column) const;
    QString Zelltext(int row, int column) const;
    void SetzeZelltext(int row, int column, const QString& text);
    // The "W" box of a row (false without warning column).
    bool Gewarnt(int row) const;
    void SetzeGewarnt(int row, bool gewarnt);
    // Whether column is an entry column (in zSpalten).
    bool IstEintragsspalte(int column) const;

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    // The text the check works on: the open editor's text when the editor is on the cell,
    // else the cell's text; and where a correction goes.
    QString GeprueftenText(int row, int column) const;
    void KorrekturSetzen(int row, int column, const QString& text);
    // The row tag, created from the course and the student's ID when the row has none.
    SchuelerKursZeiger ZeilenkursSicher(int row);
    void FensterPlatzieren();
    // The column widths of the shared structure into the grid.
    void SpaltenbreitenSetzen();
    // A new cell item with the flags and the alignment of its column.
    QTableWidgetItem* NeueZelle(int column, const QString& text) const;
    void FokusGewechselt(QWidget* alt, QWidget* neu);
    // After the editor moved: the Edit menu as the focus now stands.
    void EditMenueNachFokus();
    bool GehoertZurTabelle(const QWidget* w) const;

    Kurstabelle* zTabelle = nullptr;
    ToolbarVorlage* zWerkzeuge = nullptr;
    // Row tags in row order; column tags by column (entries only for entry columns).
    QList<SchuelerKursZeiger> zZeilenKurse;
    QList<std::optional<Eintrag>> zSpaltenEintraege;
    // Column flags of the entry columns, by column (a fast form of zSpalten).
    QList<bool> zIstEintrag;
    // The alignment of every column's cells.
    QList<Qt::Alignment> zAusrichtungen;
    bool zEditorWechsel = false; // the editor moves from one cell to another
    bool zEingerichtet = false; // the constructor has finished
};
