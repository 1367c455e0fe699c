#include "kurszellendelegate.h"

#include "kursfenster.h"

#include "plattform.h"
#include "zellpruefung.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <QValidator>

namespace {

// A cell holds one line: no road (a dropped text, the X selection pasted with the middle
// button) brings a tab, a line end or another control character into the editor.
class OhneSteuerzeichen final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override
    {
        return Zellpruefung::HatSteuerzeichen(text) ? Invalid : Acceptable;
    }
};

// Ctrl+Shift+Z and Ctrl+Y, whatever the platform binds to redo.
bool IstWiederholen(const QKeyEvent& taste)
{
    if (taste.matches(QKeySequence::Redo))
        return true;
    const Qt::KeyboardModifiers mod = taste.modifiers() & ~Qt::KeypadModifier;
    return (taste.key() == Qt::Key_Z && mod == (Qt::ControlModifier | Qt::ShiftModifier))
        || (taste.key() == Qt::Key_Y && mod == Qt::ControlModifier);
}

} // namespace

Kurszellendelegate::Kurszellendelegate(Kursfenster* fenster, QObject* parent)
    : QStyledItemDelegate(parent)
    , zFenster(fenster)
{
}

QWidget* Kurszellendelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("Zelleneditor"));
    editor->setFont(option.font);
    editor->setFrame(true);
    const Qt::Alignment ausrichtung
        = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
    editor->setAlignment((ausrichtung ? ausrichtung : Qt::AlignLeft) | Qt::AlignVCenter);
    editor->setValidator(new OhneSteuerzeichen(editor));
    connect(editor, &QLineEdit::inputRejected, editor, [] { Plattform::aktuell().Piep(); });
    if (zFenster)
        connect(editor, &QLineEdit::textChanged, zFenster, &Kursfenster::EditorTextGeaendert);
    zEditor = editor;
    zZeile = index.row();
    zSpalte = index.column();
    return editor;
}

void Kurszellendelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == zEditor.data()) {
        zEditor = nullptr;
        zZeile = -1;
        zSpalte = -1;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void Kurszellendelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* zeile = qobject_cast<QLineEdit*>(editor);
    if (!zeile)
        return;
    // Filled once, when it opens: afterwards the text belongs to the teacher and to the
    // check of the cell, even when the cell's own text is set meanwhile.
    if (zeile->property("gefuellt").toBool())
        return;
    zeile->setText(index.data(Qt::EditRole).toString());
    zeile->selectAll();
    zeile->setProperty("gefuellt", true);
}

void Kurszellendelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
    // The editor's text never goes into the cell from here: the table hands it to the
    // window's check, which stores what it accepts (Kurstabelle::commitData).
}

void Kurszellendelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void Kurszellendelegate::AbgelehntRahmen(QPainter* painter, const QRect& zelle)
{
    // Two pixels inside each edge, drawn over the selection's colour.
    const QColor farbe = Kursfenster::AbgelehntRahmen;
    painter->fillRect(QRect(zelle.left(), zelle.top(), zelle.width(), 2), farbe);
    painter->fillRect(QRect(zelle.left(), zelle.bottom() - 1, zelle.width(), 2), farbe);
    painter->fillRect(QRect(zelle.left(), zelle.top(), 2, zelle.height()), farbe);
    painter->fillRect(QRect(zelle.right() - 1, zelle.top(), 2, zelle.height()), farbe);
}

void Kurszellendelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (zFenster)
        zFenster->meineTabelle_PaintCellText(opt, index.row(), index.column());
    const QWidget* widget = option.widget;
    QStyle* stil = widget ? widget->style() : QApplication::style();

    if (index.column() != checkSpalte) {
        stil->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        if (zFenster && zFenster->IstAbgelehnt(index.row(), index.column()))
            AbgelehntRahmen(painter, opt.rect);
        return;
    }

    // The "W" box, centred in its cell.
    const bool mitBox = opt.features & QStyleOptionViewItem::HasCheckIndicator;
    const Qt::CheckState zustand = opt.checkState;
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    opt.text.clear();
    stil->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (!mitBox)
        return;
    QStyleOptionViewItem box(opt);
    const int b = stil->pixelMetric(QStyle::PM_IndicatorWidth, &opt, widget);
    const int h = stil->pixelMetric(QStyle::PM_IndicatorHeight, &opt, widget);
    QRect rechteck(0, 0, qMin(b, opt.rect.width()), qMin(h, opt.rect.height()));
    rechteck.moveCenter(opt.rect.center());
    box.rect = rechteck;
    box.state &= ~(
        QStyle::State_HasFocus | QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange);
    box.state |= zustand == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    stil->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
}

bool Kurszellendelegate::editorEvent(
    QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&)
{
    // The grid changes no cell by itself (the "W" box is toggled by the window alone).
    return false;
}

QString Kurszellendelegate::Zelltipp(
    const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!index.isValid() || index.column() == checkSpalte)
        return {};
    // The open editor shows its own text.
    if (zEditor && index.row() == zZeile && index.column() == zSpalte)
        return {};
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (opt.text.isEmpty())
        return {};
    // The room the style leaves the text in its cell.
    const QWidget* widget = opt.widget;
    const QStyle* stil = widget ? widget->style() : QApplication::style();
    const QRect text = stil->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int rand = 2 * (stil->pixelMetric(QStyle::PM_FocusFrameHMargin, &opt, widget) + 1);
    if (opt.fontMetrics.horizontalAdvance(opt.text) <= text.width() - rand)
        return {};
    return opt.text;
}

QString Kurszellendelegate::AlsTooltip(const QString& text)
{
    QStringList zeilen;
    for (const QString& zeile : text.split(QLatin1Char('\n'))) {
        QString aktuell;
        for (const QString& wort : zeile.split(QLatin1Char(' '))) {
            if (!aktuell.isEmpty() && aktuell.size() + 1 + wort.size() > Zeilenlaenge) {
                zeilen << aktuell;
                aktuell.clear();
            } else if (!aktuell.isEmpty()) {
                aktuell += QLatin1Char(' ');
            }
            aktuell += wort;
        }
        zeilen << aktuell;
    }
    for (QString& zeile : zeilen)
        zeile = zeile.toHtmlEscaped();
    // Rich text, so that nothing in the text is taken for markup; no breaks but ours.
    return QStringLiteral("<p style=\"white-space:pre\">") + zeilen.join(QStringLiteral("<br>"))
        + QStringLiteral("</p>");
}

bool Kurszellendelegate::helpEvent(QHelpEvent* ereignis, QAbstractItemView* ansicht,
    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!ereignis || ereignis->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(ereignis, ansicht, option, index);
    const QString tipp = Zelltipp(option, index);
    if (tipp.isEmpty()) {
        QToolTip::hideText();
        ereignis->ignore();
        return true;
    }
    QToolTip::showText(ereignis->globalPos(), AlsTooltip(tipp),
        ansicht ? ansicht->viewport() : nullptr, option.rect);
    return true;
}

QMenu* Kurszellendelegate::Kontextmenue(QLineEdit* editor) const
{
    auto* menue = new QMenu(editor);
    menue->setObjectName(QStringLiteral("Zelleneditormenue"));
    menue->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QLineEdit> ziel = editor;
    QPointer<Kursfenster> fenster = zFenster;
    const bool schreibbar = !editor->isReadOnly();
    const bool auswahl = editor->hasSelectedText();
    const auto eintrag = [&](const char* name, const QString& text, bool an, auto aktion) {
        QAction* a = menue->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(an);
        QObject::connect(a, &QAction::triggered, editor, [ziel, aktion] {
            if (ziel)
                aktion(ziel.data());
        });
    };
    eintrag("edit-undo", QStringLiteral("Rückgängig"), schreibbar && editor->isUndoAvailable(),
        [](QLineEdit* e) { e->undo(); });
    eintrag("edit-redo", QStringLiteral("Wiederherstellen"),
        schreibbar && editor->isRedoAvailable(), [](QLineEdit* e) { e->redo(); });
    menue->addSeparator();
    eintrag("edit-cut", QStringLiteral("Ausschneiden"), schreibbar && auswahl,
        [](QLineEdit* e) { e->cut(); });
    eintrag("edit-copy", QStringLiteral("Kopieren"), auswahl, [](QLineEdit* e) { e->copy(); });
    eintrag("edit-paste", QStringLiteral("Einfügen"),
        schreibbar && !QGuiApplication::clipboard()->text().isEmpty(), [fenster](QLineEdit* e) {
            if (!fenster || !fenster->EditorEinfuegen())
                e->paste();
        });
    eintrag("edit-delete", QStringLiteral("Löschen"), schreibbar && auswahl,
        [](QLineEdit* e) { e->del(); });
    menue->addSeparator();
    eintrag("select-all", QStringLiteral("Alles auswählen"), !editor->text().isEmpty(),
        [](QLineEdit* e) { e->selectAll(); });
    return menue;
}

bool Kurszellendelegate::eventFilter(QObject* objekt, QEvent* ereignis)
{
    QLineEdit* editor = zEditor.data();
    if (!editor || objekt != editor || !zFenster)
        return QStyledItemDelegate::eventFilter(objekt, ereignis);
    switch (ereignis->type()) {
    case QEvent::KeyPress: {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        // Typing into a cell scrolled out of sight brings it back into view.
        if (auto* tabelle = qobject_cast<QAbstractItemView*>(parent()))
            tabelle->scrollTo(tabelle->model()->index(zZeile, zSpalte));
        if (taste->matches(QKeySequence::Paste))
            return zFenster->EditorEinfuegen();
        // Undo and redo: the typing in the editor first, then the table's stored changes.
        if (taste->matches(QKeySequence::Undo)) {
            zFenster->Rueckgaengig();
            return true;
        }
        if (IstWiederholen(*taste)) {
            zFenster->Wiederholen();
            return true;
        }
        if (taste->key() == Qt::Key_Escape) {
            zFenster->EditorZuruecksetzen();
            return true;
        }
        const int code = Kursfenster::Tastencode(taste->key(), taste->modifiers());
        if (code != 0 && zFenster->meineTabelle_CellKeyDown(zZeile, zSpalte, code))
            return true;
        break;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
        QWidget* neu = QApplication::focusWidget();
        // The window is only deactivated (another window, a dialog, a menu): the editor
        // stays open with its text, and the teacher comes back to the cell as it was.
        if (!neu || neu->window() != editor->window() || grund == Qt::ActiveWindowFocusReason
            || grund == Qt::PopupFocusReason)
            return false;
        // A press into the table: the press moves the editor or closes it, after the check
        // of its text (Kurstabelle::mousePressEvent).
        const auto* tabelle = qobject_cast<const QAbstractItemView*>(parent());
        if (grund == Qt::MouseFocusReason && tabelle
            && (neu == tabelle || neu == tabelle->viewport()))
            return false;
        // Any other road within the window: the base class checks the text (through the
        // table's commitData) and closes the editor.
        break;
    }
    case QEvent::ContextMenu: {
        // The editor's menu, with "Einfügen" pasting as Ctrl+V does.
        QMenu* menue = Kontextmenue(editor);
        menue->popup(static_cast<QContextMenuEvent*>(ereignis)->globalPos());
        return true;
    }
    default:
        break;
    }
    return QStyledItemDelegate::eventFilter(objekt, ereignis);
}
