// The course window: editing and navigation, the painting hook, focus and the Edit menu.

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kurstabelle.h"
#include "menue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTableWidgetItem>

int Kursfenster::Tastencode(int qtTaste, Qt::KeyboardModifiers tasten)
{
    const bool strg = tasten & Qt::ControlModifier;
    switch (qtTaste) {
    case Qt::Key_PageUp:
        return TasteSeiteHoch;
    case Qt::Key_PageDown:
        return TasteSeiteRunter;
    case Qt::Key_Home:
        return strg ? TasteAnfang : 0;
    case Qt::Key_End:
        return strg ? TasteEnde : 0;
    default:
        return Tastencode(qtTaste);
    }
}

int Kursfenster::Tastencode(int qtTaste)
{
    switch (qtTaste) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return TasteTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TasteReturn;
    case Qt::Key_Left:
        return TasteLinks;
    case Qt::Key_Right:
        return TasteRechts;
    case Qt::Key_Up:
        return TasteHoch;
    case Qt::Key_Down:
        return TasteRunter;
    default:
        return 0;
    }
}

// --- Tags and cells -------------------------------------------------------------------------

SchuelerKursZeiger Kursfenster::Zeilenkurs(int row) const
{
    return row >= 0 && row < zZeilenKurse.size() ? zZeilenKurse.at(row) : nullptr;
}

const SchuelerKurs* Kursfenster::Zeilenkopie(int row) const
{
    return Zeilenkurs(row).get();
}

void Kursfenster::SetzeZeilenkurs(int row, SchuelerKursZeiger kurs)
{
    if (row >= 0 && row < zZeilenKurse.size())
        zZeilenKurse[row] = std::move(kurs);
}

const Eintrag* Kursfenster::Spalteneintrag(int column) const
{
    if (column < 0 || column >= zSpaltenEintraege.size() || !zSpaltenEintraege.at(column))
        return nullptr;
    return &*zSpaltenEintraege.at(column);
}

bool Kursfenster::IstEintragsspalte(int column) const
{
    return column >= 0 && column < zIstEintrag.size() && zIstEintrag.at(column);
}

QString Kursfenster::Zelltext(int row, int column) const
{
    const QTableWidgetItem* zelle = zTabelle->item(row, column);
    return zelle ? zelle->text() : QString();
}

void Kursfenster::SetzeZelltext(int row, int column, const QString& text)
{
    if (QTableWidgetItem* zelle = zTabelle->item(row, column)) {
        if (zelle->text() != text)
            zelle->setText(text);
    } else if (row >= 0 && row < zTabelle->rowCount() && column >= 0
        && column < zTabelle->columnCount()) {
        zTabelle->setItem(row, column, NeueZelle(column, text));
    }
}

bool Kursfenster::Gewarnt(int row) const
{
    if (!Daten.mitWarnung)
        return false;
    const QTableWidgetItem* zelle = zTabelle->item(row, int(TabellenStruktur.ErsteSpalte) - 1);
    return zelle && zelle->checkState() == Qt::Checked;
}

void Kursfenster::SetzeGewarnt(int row, bool gewarnt)
{
    if (!Daten.mitWarnung)
        return;
    if (QTableWidgetItem* zelle = zTabelle->item(row, int(TabellenStruktur.ErsteSpalte) - 1))
        zelle->setCheckState(gewarnt ? Qt::Checked : Qt::Unchecked);
}

// --- Navigation -----------------------------------------------------------------------------

void Kursfenster::AktiviereEditZelle(int row, int column)
{
    if (column < TabellenStruktur.ErsteSpalte)
        return;
    if (row < 0 || row >= zTabelle->rowCount() || column >= zTabelle->columnCount())
        return;
    // The focus passes through the table while the editor moves; the Edit menu is set once
    // the editor stands on its new cell.
    zEditorWechsel = true;
    zTabelle->EditorOeffnen(row, column);
    zEditorWechsel = false;
    activeRow = row;
    activeColumn = column;
    EditMenueNachFokus();
}

bool Kursfenster::NaechsteSpalte(int& column) const
{
    const int anzahl = zTabelle->columnCount();
    if (anzahl <= 0)
        return false;
    for (;;) {
        if (column >= anzahl - 1) {
            // Past the last column: the search starts again from the left.
            column = 0;
            for (;;) {
                if (column >= anzahl - 1)
                    return false;
                ++column;
                if (IstEintragsspalte(column))
                    return false;
            }
        }
        ++column;
        if (IstEintragsspalte(column))
            return true;
    }
}

bool Kursfenster::VorigeSpalte(int& column) const
{
    const int anzahl = zTabelle->columnCount();
    if (anzahl <= 0)
        return false;
    for (;;) {
        if (column <= 1) {
            // Column 1 reached: the search starts again from the right.
            column = anzahl;
            for (;;) {
                if (column <= 1)
                    return false;
                --column;
                if (IstEintragsspalte(column))
                    return false;
            }
        }
        --column;
        if (IstEintragsspalte(column))
            return true;
    }
}

int Kursfenster::ZeileNachSprung(int row, int key) const
{
    const int letzte = zTabelle->rowCount() - 1;
    switch (key) {
    case TasteSeiteHoch:
        return qMax(0, row - Seitenzeilen());
    case TasteSeiteRunter:
        return qMin(letzte, row + Seitenzeilen());
    case TasteAnfang:
        return 0;
    case TasteEnde:
        return qMax(0, letzte);
    default:
        return row;
    }
}

int Kursfenster::Seitenzeilen() const
{
    // The rows the table shows, less one: the row left stays in sight.
    return qMax(1, zTabelle->viewport()->height() / Kurstabelle::Zeilenhoehe - 1);
}

int Kursfenster::NaechsteZeile(int row) const
{
    return row + 1 <= zTabelle->rowCount() - 1 ? row + 1 : 0;
}

int Kursfenster::VorigeZeile(int row) const
{
    return row - 1 >= 0 ? row - 1 : zTabelle->rowCount() - 1;
}

bool Kursfenster::meineTabelle_CellKeyDown(int row, int column, int key)
{
    return TasteInZelle(row, column, key);
}

bool Kursfenster::TasteInZelle(int row, int column, int key)
{
    switch (key) {
    case TasteTab:
        if (ZelleGeprueft(row, column)) {
            if (!NaechsteSpalte(column))
                row = NaechsteZeile(row);
        }
        AktiviereEditZelle(row, column);
        return true;
    case TasteReturn:
        // Return never leaves the cell; its text is selected again, so that what is typed
        // next replaces it instead of being appended ("7", Return, "9" gives 9, not 79).
        if (!ZelleGeprueft(row, column))
            AktiviereEditZelle(row, column);
        else if (QLineEdit* editor = zTabelle->Editor())
            editor->selectAll();
        return true;
    case TasteHoch:
        if (ZelleGeprueft(row, column))
            row = VorigeZeile(row);
        AktiviereEditZelle(row, column);
        return true;
    case TasteRunter:
        if (ZelleGeprueft(row, column))
            row = NaechsteZeile(row);
        AktiviereEditZelle(row, column);
        return true;
    case TasteLinks:
        if (ZelleGeprueft(row, column))
            VorigeSpalte(column);
        AktiviereEditZelle(row, column);
        return true;
    case TasteRechts:
        if (ZelleGeprueft(row, column))
            NaechsteSpalte(column);
        AktiviereEditZelle(row, column);
        return true;
    case TasteSeiteHoch:
    case TasteSeiteRunter:
    case TasteAnfang:
    case TasteEnde:
        if (ZelleGeprueft(row, column))
            row = ZeileNachSprung(row, key);
        AktiviereEditZelle(row, column);
        return true;
    default:
        return false;
    }
}

bool Kursfenster::meineTabelle_CellPressed(int row, int column, Qt::KeyboardModifiers tasten)
{
    return ZelleGedrueckt(row, column, tasten);
}

bool Kursfenster::ZelleGedrueckt(int row, int column, Qt::KeyboardModifiers tasten)
{
    // A press elsewhere is refused while the active cell holds a value that fails its check.
    if ((row != activeRow || column != activeColumn) && !ZelleGeprueft(activeRow, activeColumn)) {
        AktiviereEditZelle(activeRow, activeColumn);
        return true;
    }
    const int erste = int(TabellenStruktur.ErsteSpalte);
    if (Daten.mitWarnung && column == erste - 1) {
        ZelleAendern(
            row, column, ZellWert(row, column).isEmpty() ? QStringLiteral("X") : QString());
        // Typing goes on in the row of the box, in the column worked in last.
        AktiviereEditZelle(row, IstEintragsspalte(activeColumn) ? activeColumn : erste);
        return true;
    }
    if (column < erste)
        return false; // the grid selects the row
    if (!(tasten & Qt::AltModifier)) {
        AktiviereEditZelle(row, column);
        return true;
    }
    // With the Option key the column is dragged instead of edited.
    zTabelle->SpaltenZiehenVormerken(column);
    return true;
}

bool Kursfenster::TasteOhneEditor(QKeyEvent* taste)
{
    if (!taste || zTabelle->Editor() || zTabelle->rowCount() <= 0)
        return false;
    const Qt::KeyboardModifiers befehl
        = taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QString text = taste->text();
    const bool zeichen = befehl == Qt::NoModifier && !text.isEmpty() && text.at(0).isPrint();
    const int code = Tastencode(taste->key());
    if (!zeichen && code != TasteTab && code != TasteReturn && taste->key() != Qt::Key_F2)
        return false;
    int spalte = activeColumn;
    if (!IstEintragsspalte(spalte))
        NaechsteSpalte(spalte);
    if (!IstEintragsspalte(spalte))
        return false;
    const QModelIndex aktuell = zTabelle->currentIndex();
    const int zeile = aktuell.isValid() ? aktuell.row() : activeRow;
    AktiviereEditZelle(zeile, spalte);
    QLineEdit* editor = zTabelle->Editor();
    if (!editor)
        return false;
    // The editor opened with its text selected: what is typed replaces it.
    if (zeichen)
        QCoreApplication::sendEvent(editor, taste);
    return true;
}

void Kursfenster::EditorZuruecksetzen()
{
    QLineEdit* editor = zTabelle->Editor();
    if (!editor)
        return;
    // What the teacher typed is dropped on purpose; the stored value stays.
    const QString gespeichert = Zelltext(zTabelle->EditorZeile(), zTabelle->EditorSpalte());
    if (editor->text() != gespeichert)
        editor->setText(gespeichert);
    editor->selectAll();
}

void Kursfenster::EditorTextGeaendert()
{
    ToolBarAnpassen();
}

void Kursfenster::EditorGeschlossen()
{
    ToolBarAnpassen();
}

// --- Painting ---------------------------------------------------------------------------------

bool Kursfenster::meineTabelle_PaintCellText(
    QStyleOptionViewItem& option, int row, int column) const
{
    QColor farbe(0, 0, 0);
    if (column >= TabellenStruktur.ErsteSpalte) {
        const Eintrag* eintrag = Spalteneintrag(column);
        if (eintrag && Daten.NoteIstDefizit(*eintrag, Zelltext(row, column), Daten.Halbjahr))
            farbe = QColor(255, 0, 0);
    } else if (column < TabellenStruktur.Spalten.size()
        && Hilfsmittel::GleichOhneGross(
            TabellenStruktur.Spalten.at(column).Ueberschrift, QStringLiteral("Name"))) {
        // Students who write an exam in the course are shown underlined.
        const bool unterstrichen
            = row >= 0 && row < zKlausurZeilen.size() && zKlausurZeilen.at(row);
        if (option.font.underline() != unterstrichen)
            option.font.setUnderline(unterstrichen);
    }
    // A cell that kept its old value against a pasted one is marked until the next change.
    if (IstAbgelehnt(row, column))
        option.backgroundBrush = AbgelehntFarbe;
    // The font and the palette are copied only where a cell differs from the grid's (a copy
    // per painted cell costs more than drawing its text).
    if (option.palette.color(QPalette::Text) != farbe)
        option.palette.setColor(QPalette::Text, farbe);
    if (farbe != QColor(0, 0, 0))
        option.palette.setColor(QPalette::HighlightedText, farbe);
    return false;
}

// --- Focus and the Edit menu ----------------------------------------------------------------

bool Kursfenster::GehoertZurTabelle(const QWidget* w) const
{
    return w && (w == zTabelle || zTabelle->isAncestorOf(w));
}

void Kursfenster::FokusGewechselt(QWidget* alt, QWidget* neu)
{
    if (zEditorWechsel)
        return;
    const bool altMein = GehoertZurTabelle(alt);
    const bool neuMein = GehoertZurTabelle(neu);
    if (neuMein) {
        if (neu == zTabelle || neu == zTabelle->viewport())
            meineTabelle_FocusReceived();
        else
            meineTabelle_CellFocusReceived();
    } else if (altMein) {
        if (alt == zTabelle || alt == zTabelle->viewport())
            meineTabelle_FocusLost(neu);
        else
            meineTabelle_CellFocusLost(neu);
    }
}

void Kursfenster::EditMenueNachFokus()
{
    QWidget* fokus = QApplication::focusWidget();
    if (GehoertZurTabelle(fokus))
        FokusGewechselt(nullptr, fokus);
}

namespace {
// The special copy and paste items while the grade table itself has the focus, the plain
// ones while a cell editor or any other control has it.
void EditMenue(bool spezial)
{
    Menue::Instanz().EditUmschalten(spezial);
}
bool IstGradeTabelle(const QWidget* w)
{
    return qobject_cast<const Kurstabelle*>(w) != nullptr;
}
} // namespace

void Kursfenster::meineTabelle_FocusReceived()
{
    EditMenue(true);
}

void Kursfenster::meineTabelle_FocusLost(QWidget* neu)
{
    EditMenue(IstGradeTabelle(neu));
}

void Kursfenster::meineTabelle_CellFocusReceived()
{
    EditMenue(false);
}

void Kursfenster::meineTabelle_CellFocusLost(QWidget* neu)
{
    EditMenue(IstGradeTabelle(neu));
}
