#include "kurskopf.h"

#include "spaltenziehen.h"

#include "kursfenster.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionHeader>

Kurskopf::Kurskopf(QWidget* parent, Kursfenster* fenster)
    : QHeaderView(Qt::Horizontal, parent)
    , zFenster(fenster)
{
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    connect(this, &QHeaderView::sectionMoved, this, &Kurskopf::Verschoben);
}

void Kurskopf::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    const int rand = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
    const int platz = qMax(0, sectionSize(logicalIndex) - rand);
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, platz);
}

QPoint Kurskopf::InTabelle(QPointF punkt) const
{
    // The header lies at the top of the table: its y is the table's; x counts from the
    // table's first column, also when the table is scrolled sideways.
    const QPoint p = viewport()->mapTo(this, punkt.toPoint());
    return QPoint(p.x() + offset(), p.y() + y());
}

void Kurskopf::mousePressEvent(QMouseEvent* ereignis)
{
    if (!zFenster || ereignis->button() != Qt::LeftButton) {
        QHeaderView::mousePressEvent(ereignis);
        return;
    }
    const QPoint p = InTabelle(ereignis->position());
    if (zFenster->meineTabelle_MouseDown(p.x(), p.y())) {
        // A resize: the drag and the release belong to the window.
        ereignis->accept();
        return;
    }
    // Only an entry column's section can be dragged to another place.
    const int spalte = logicalIndexAt(ereignis->position().toPoint());
    if (!zFenster->IstEintragsspalte(spalte)) {
        ereignis->accept();
        return;
    }
    QHeaderView::mousePressEvent(ereignis);
}

void Kurskopf::mouseMoveEvent(QMouseEvent* ereignis)
{
    if (!zFenster) {
        QHeaderView::mouseMoveEvent(ereignis);
        return;
    }
    const QPoint p = InTabelle(ereignis->position());
    if (zFenster->BreiteWirdGezogen()) {
        zFenster->meineTabelle_MouseDrag(p.x(), p.y());
        ereignis->accept();
        return;
    }
    if (!(ereignis->buttons() & Qt::LeftButton))
        zFenster->meineTabelle_MouseMove(p.x(), p.y());
    QHeaderView::mouseMoveEvent(ereignis);
}

void Kurskopf::mouseReleaseEvent(QMouseEvent* ereignis)
{
    if (zFenster && zFenster->BreiteWirdGezogen()) {
        const QPoint p = InTabelle(ereignis->position());
        zFenster->meineTabelle_MouseUp(p.x(), p.y());
        ereignis->accept();
        return;
    }
    QHeaderView::mouseReleaseEvent(ereignis);
}

void Kurskopf::mouseDoubleClickEvent(QMouseEvent* ereignis)
{
    // The header has no double click of its own (no automatic width); it is a press.
    QMouseEvent druck(QEvent::MouseButtonPress, ereignis->position(), ereignis->scenePosition(),
        ereignis->globalPosition(), ereignis->button(), ereignis->buttons(), ereignis->modifiers());
    mousePressEvent(&druck);
}

void Kurskopf::leaveEvent(QEvent* ereignis)
{
    if (zFenster && !zFenster->BreiteWirdGezogen())
        viewport()->unsetCursor();
    QHeaderView::leaveEvent(ereignis);
}

void Kurskopf::Verschoben(int, int von, int nach)
{
    if (zRueckgaengig)
        return;
    // Back to the table's order first; then the window moves the column in its data (and
    // refuses what may not move).
    zRueckgaengig = true;
    moveSection(nach, von);
    zRueckgaengig = false;
    if (zFenster)
        zFenster->KopfSpalteVerschoben(von, nach);
}

void Kurskopf::dragEnterEvent(QDragEnterEvent* ereignis)
{
    Spaltenziehen::Bewerten(ereignis, akzeptierteTypen);
}

void Kurskopf::dragMoveEvent(QDragMoveEvent* ereignis)
{
    Spaltenziehen::Bewerten(ereignis, akzeptierteTypen);
}

void Kurskopf::dropEvent(QDropEvent* ereignis)
{
    if (!zFenster) {
        ereignis->ignore();
        return;
    }
    if (!Spaltenziehen::Bewerten(ereignis, akzeptierteTypen))
        return;
    // The table works in its own widget coordinates.
    const QPoint p = viewport()->mapTo(parentWidget(), ereignis->position().toPoint());
    zFenster->SpalteAbgelegt(ereignis->mimeData(), p);
}
