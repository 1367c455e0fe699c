#include "kurstabelle.h"

#include "spaltenziehen.h"

#include "kursfenster.h"
#include "kurskopf.h"
#include "kurszellendelegate.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

Kurstabelle::Kurstabelle(Kursfenster* fenster)
    : QTableWidget(fenster)
    , zFenster(fenster)
{
    setObjectName(QStringLiteral("meineTabelle"));
    zDelegate = new Kurszellendelegate(fenster, this);
    setItemDelegate(zDelegate);

    // Only the window opens a cell editor.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(false);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    // The columns fill the window exactly: the window is as wide as the sum of the widths,
    // and the scroll bar's width more while the rows do not fit.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::NoFrame);
    setDropIndicatorShown(false);
    setDragDropOverwriteMode(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    viewport()->setMouseTracking(true);

    const QFont schrift = Schrift();
    setFont(schrift);

    QHeaderView* zeilen = verticalHeader();
    zeilen->hide();
    zeilen->setSectionResizeMode(QHeaderView::Fixed);
    zeilen->setMinimumSectionSize(1);
    zeilen->setDefaultSectionSize(Zeilenhoehe);

    setHorizontalHeader(new Kurskopf(this, fenster));
    QHeaderView* kopf = horizontalHeader();
    kopf->setFont(schrift);
    kopf->setMinimumSectionSize(0);
    kopf->setSectionResizeMode(QHeaderView::Fixed);
    kopf->setSectionsClickable(false);
    // Entry columns can be dragged by their heading (the header allows entry columns only).
    kopf->setSectionsMovable(true);
    kopf->setHighlightSections(false);
    kopf->setStretchLastSection(false);
}

QFont Kurstabelle::Schrift()
{
    QFont schrift(QStringLiteral("Arial"));
    schrift.setPixelSize(12);
    return schrift;
}

QLineEdit* Kurstabelle::Editor() const
{
    return zDelegate->Editor();
}

int Kurstabelle::EditorZeile() const
{
    return zDelegate->EditorZeile();
}

int Kurstabelle::EditorSpalte() const
{
    return zDelegate->EditorSpalte();
}

bool Kurstabelle::EditorAuf(int row, int column) const
{
    return Editor() && EditorZeile() == row && EditorSpalte() == column;
}

void Kurstabelle::EditorOeffnen(int row, int column)
{
    const QModelIndex index = model()->index(row, column);
    if (!index.isValid())
        return;
    if (QLineEdit* editor = Editor()) {
        if (EditorAuf(row, column)) {
            scrollTo(index);
            editor->setFocus();
            return;
        }
        EditorSchliessen();
    }
    // The current cell follows the editor without selecting anything.
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
    edit(index);
}

void Kurstabelle::EditorSchliessen()
{
    QLineEdit* editor = Editor();
    if (!editor)
        return;
    commitData(editor);
    if (Editor() == editor)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void Kurstabelle::EditorVerwerfen()
{
    if (QLineEdit* editor = Editor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void Kurstabelle::FensterTrennen()
{
    zFenster = nullptr;
    zDelegate->FensterTrennen();
    EditorVerwerfen();
}

void Kurstabelle::commitData(QWidget* editor)
{
    // Never the editor's text straight into the cell: the window checks it and stores what
    // it accepts.
    if (zFenster && editor && editor == Editor())
        zFenster->OffeneZellePruefen();
}

void Kurstabelle::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hinweis)
{
    // Only the window moves the editor: the grid's own hints (next item on Tab) are ignored.
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    Q_UNUSED(hinweis);
    if (zFenster)
        zFenster->EditorGeschlossen();
}

Kurskopf* Kurstabelle::Kopf() const
{
    return qobject_cast<Kurskopf*>(horizontalHeader());
}

int Kurstabelle::Kopfhoehe() const
{
    const QHeaderView* kopf = horizontalHeader();
    if (kopf->isHidden())
        return 0;
    // The same rule the table uses to lay out its header.
    return qMax(kopf->minimumHeight(), kopf->sizeHint().height());
}

void Kurstabelle::SpaltenZiehenVormerken(int column)
{
    zZiehSpalte = column;
}

void Kurstabelle::mousePressEvent(QMouseEvent* ereignis)
{
    zDruckBehandelt = false;
    zZiehSpalte = -1;
    zZiehStart = ereignis->position().toPoint();
    if (!zFenster) {
        ereignis->accept();
        return;
    }
    const QModelIndex index = indexAt(zZiehStart);
    if (index.isValid()
        && zFenster->meineTabelle_CellPressed(index.row(), index.column(), ereignis->modifiers())) {
        // Handled: no selection, no current cell, no check box of the grid's own. An editor
        // that the press left without the keyboard (a press on "W", a column drag) closes,
        // its text checked: the keys go to the table now.
        zDruckBehandelt = true;
        if (QLineEdit* editor = Editor(); editor && window()->focusWidget() != editor)
            EditorSchliessen();
        ereignis->accept();
        return;
    }
    // The grid handles the press itself (a row selected): the open editor closes first, its
    // text checked.
    EditorSchliessen();
    QTableWidget::mousePressEvent(ereignis);
}

void Kurstabelle::mouseMoveEvent(QMouseEvent* ereignis)
{
    if (!zFenster) {
        ereignis->accept();
        return;
    }
    if (!zDruckBehandelt) {
        if (!(ereignis->buttons() & Qt::LeftButton)) {
            // Below the header: the window shows the standard arrow again.
            const QPoint p = viewport()->mapTo(this, ereignis->position().toPoint());
            zFenster->meineTabelle_MouseMove(p.x() + horizontalOffset(), p.y());
        }
        QTableWidget::mouseMoveEvent(ereignis);
        return;
    }
    ereignis->accept();
    if (zZiehSpalte >= 0 && (ereignis->buttons() & Qt::LeftButton)
        && (ereignis->position().toPoint() - zZiehStart).manhattanLength()
            >= QApplication::startDragDistance()) {
        const int spalte = zZiehSpalte;
        zZiehSpalte = -1;
        zFenster->SpalteZiehen(spalte, viewport()->mapTo(this, zZiehStart));
    }
}

void Kurstabelle::mouseReleaseEvent(QMouseEvent* ereignis)
{
    if (zDruckBehandelt) {
        // The release of a handled press belongs to that press.
        zDruckBehandelt = false;
        zZiehSpalte = -1;
        ereignis->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(ereignis);
}

void Kurstabelle::mouseDoubleClickEvent(QMouseEvent* ereignis)
{
    // The second click of a double click arrives as this event instead of a press: it is a
    // press like the first (a double click on "W" toggles twice); the grid opens nothing of
    // its own.
    QMouseEvent druck(QEvent::MouseButtonPress, ereignis->position(), ereignis->scenePosition(),
        ereignis->globalPosition(), ereignis->button(), ereignis->buttons(), ereignis->modifiers());
    mousePressEvent(&druck);
}

void Kurstabelle::keyPressEvent(QKeyEvent* ereignis)
{
    // Keys that the open editor leaves alone (page keys, for instance) must not move the
    // grid's current cell: that would close the editor without the check. Text typed while
    // the table itself has the keyboard goes into the open editor.
    if (QLineEdit* editor = Editor()) {
        const QString text = ereignis->text();
        const bool zeichen = !text.isEmpty() && text.at(0).isPrint()
            && !(
                ereignis->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (zeichen && !zWeitergeben) {
            zWeitergeben = true;
            editor->setFocus();
            QCoreApplication::sendEvent(editor, ereignis);
            zWeitergeben = false;
        }
        ereignis->accept();
        return;
    }
    // Without editor (after a press on "Nr." or "Name", a column drag): typed text, Tab and
    // Return go into an entry cell of the row; the arrows and page keys move the row
    // selection as usual.
    if (zFenster && zFenster->TasteOhneEditor(ereignis)) {
        ereignis->accept();
        return;
    }
    QTableWidget::keyPressEvent(ereignis);
}

void Kurstabelle::dragEnterEvent(QDragEnterEvent* ereignis)
{
    dragMoveEvent(ereignis);
}

void Kurstabelle::dragMoveEvent(QDragMoveEvent* ereignis)
{
    if (!Spaltenziehen::Bewerten(ereignis, akzeptierteTypen)) {
        AblagemarkeSetzen(-1);
        return;
    }
    if (zFenster)
        zFenster->SpalteUeberTabelle(
            ereignis->mimeData(), viewport()->mapTo(this, ereignis->position().toPoint()));
}

void Kurstabelle::dragLeaveEvent(QDragLeaveEvent* ereignis)
{
    AblagemarkeSetzen(-1);
    QTableWidget::dragLeaveEvent(ereignis);
}

void Kurstabelle::dropEvent(QDropEvent* ereignis)
{
    AblagemarkeSetzen(-1);
    if (!zFenster || !Spaltenziehen::Bewerten(ereignis, akzeptierteTypen))
        return;
    zFenster->SpalteAbgelegt(
        ereignis->mimeData(), viewport()->mapTo(this, ereignis->position().toPoint()));
}

void Kurstabelle::AblagemarkeSetzen(int x)
{
    if (x < 0) {
        if (zMarke)
            zMarke->hide();
        return;
    }
    if (!zMarke) {
        zMarke = new QWidget(this);
        zMarke->setObjectName(QStringLiteral("Ablagemarke"));
        zMarke->setAttribute(Qt::WA_TransparentForMouseEvents);
        zMarke->setAutoFillBackground(true);
        QPalette farben = zMarke->palette();
        farben.setColor(QPalette::Window, palette().color(QPalette::Highlight));
        zMarke->setPalette(farben);
    }
    // Three pixels wide, centred on the column edge, over the header and every row.
    zMarke->setGeometry(x - 1, 0, 3, height());
    zMarke->show();
    zMarke->raise();
}

void Kurstabelle::resizeEvent(QResizeEvent* ereignis)
{
    QTableWidget::resizeEvent(ereignis);
    if (zMarke && zMarke->isVisible())
        zMarke->resize(zMarke->width(), height());
}
