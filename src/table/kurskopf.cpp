#include "kurskopf.h"

#include "spaltenziehen.h"

#include "datenbestand.h"
#include "kursfenster.h"
#include "kurstabelle.h"
#include "kurszellendelegate.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolTip>

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

const QString Kurskopf::SpaltenHinweis
    = QStringLiteral("Breite ändern: die Trennlinie am rechten Rand der Überschrift ziehen.\n"
                     "Verschieben: die Überschrift an die neue Stelle ziehen.");

namespace {
// The room a heading has in a section of that width.
int Platz(const QStyle* stil, const QWidget* kopf, int breite)
{
    return qMax(0, breite - 2 * stil->pixelMetric(QStyle::PM_HeaderMargin, nullptr, kopf));
}
} // namespace

qint64 Kurskopf::Standardbreite(const QString& ueberschrift)
{
    const QFontMetrics masse(Kurstabelle::Schrift());
    // The heading, the margins on both sides and the divider line.
    const int rand = 2 * QApplication::style()->pixelMetric(QStyle::PM_HeaderMargin);
    return masse.horizontalAdvance(ueberschrift) + rand + 2;
}

void Kurskopf::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->text = option->fontMetrics.elidedText(
        option->text, Qt::ElideRight, Platz(style(), this, sectionSize(logicalIndex)));
}

QString Kurskopf::SichtbareUeberschrift(int spalte) const
{
    if (!model() || spalte < 0 || spalte >= count())
        return {};
    const QString text = model()->headerData(spalte, orientation(), Qt::DisplayRole).toString();
    return fontMetrics().elidedText(
        text, Qt::ElideRight, Platz(style(), this, sectionSize(spalte)));
}

QString Kurskopf::Kopftipp(int spalte) const
{
    if (!model() || spalte < 0 || spalte >= count())
        return {};
    const QString ganz = model()->headerData(spalte, orientation(), Qt::DisplayRole).toString();
    const bool gekuerzt = SichtbareUeberschrift(spalte) != ganz;
    if (!zFenster || !zFenster->IstEintragsspalte(spalte))
        return gekuerzt ? ganz : QString();
    return ganz + QLatin1Char('\n') + SpaltenHinweis;
}

bool Kurskopf::viewportEvent(QEvent* ereignis)
{
    if (ereignis->type() != QEvent::ToolTip)
        return QHeaderView::viewportEvent(ereignis);
    const auto* hilfe = static_cast<QHelpEvent*>(ereignis);
    const int spalte = logicalIndexAt(hilfe->pos());
    const QString tipp = Kopftipp(spalte);
    if (tipp.isEmpty()) {
        QToolTip::hideText();
        ereignis->ignore();
        return true;
    }
    const QRect sektion(sectionViewportPosition(spalte), 0, sectionSize(spalte), height());
    QToolTip::showText(
        hilfe->globalPos(), Kurszellendelegate::AlsTooltip(tipp), viewport(), sektion);
    return true;
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
    if (BreiteBeginnen(p.x(), p.y())) {
        // A resize: the drag and the release change the width.
        ereignis->accept();
        return;
    }
    // Only an entry column's section can be dragged to another place.
    const int spalte = logicalIndexAt(ereignis->position().toPoint());
    if (!zFenster->IstEintragsspalte(spalte)) {
        ereignis->accept();
        return;
    }
    zZiehSektion = spalte;
    zDruckX = ereignis->position().toPoint().x();
    zZiel = -1;
    QHeaderView::mousePressEvent(ereignis);
}

int Kurskopf::ZielBeiZiehen(int x) const
{
    const int sichtbar = visualIndexAt(x);
    if (sichtbar < 0 || zZiehSektion < 0)
        return -1;
    // Past the middle of a neighbouring section the dragged one takes its place.
    const int unter = logicalIndex(sichtbar);
    const int schwelle = sectionViewportPosition(unter) + sectionSize(unter) / 2;
    const int bewegt = visualIndex(zZiehSektion);
    int ziel = bewegt;
    if (sichtbar < bewegt)
        ziel = x < schwelle ? sichtbar : sichtbar + 1;
    else if (sichtbar > bewegt)
        ziel = x > schwelle ? sichtbar : sichtbar - 1;
    return logicalIndex(ziel);
}

void Kurskopf::MarkeVerbergen()
{
    if (zFenster)
        zFenster->AblageZeigen(-1, -1);
}

void Kurskopf::mouseMoveEvent(QMouseEvent* ereignis)
{
    if (!zFenster) {
        QHeaderView::mouseMoveEvent(ereignis);
        return;
    }
    const QPoint p = InTabelle(ereignis->position());
    if (zBreiteZiehen) {
        BreiteZiehen(p.x());
        ereignis->accept();
        return;
    }
    if (!(ereignis->buttons() & Qt::LeftButton)) {
        MausBewegt(p.x(), p.y());
    } else if (zZiehSektion >= 0) {
        // A heading dragged: the marker shows where the column will land.
        const int x = ereignis->position().toPoint().x();
        if (zZiel >= 0 || qAbs(x - zDruckX) >= QApplication::startDragDistance()) {
            const int ziel = ZielBeiZiehen(x);
            if (ziel >= 0)
                zZiel = ziel;
            if (zZiel >= 0)
                zFenster->AblageZeigen(zZiehSektion, zZiel);
        }
    }
    QHeaderView::mouseMoveEvent(ereignis);
}

void Kurskopf::mouseReleaseEvent(QMouseEvent* ereignis)
{
    if (zZiehSektion >= 0) {
        zZiehSektion = -1;
        zZiel = -1;
        MarkeVerbergen();
    }
    if (zBreiteZiehen) {
        BreiteBeenden();
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
    if (zFenster && !zBreiteZiehen)
        viewport()->unsetCursor();
    QHeaderView::leaveEvent(ereignis);
}

int Kurskopf::Hoehe() const
{
    if (isHidden())
        return 0;
    // The same rule the table uses to lay out its header.
    return qMax(minimumHeight(), sizeHint().height());
}

void Kurskopf::MausBewegt(int x, int y)
{
    zSpaltenNr = int(TabellenStruktur.ErmittleTrenner(x));
    const bool imKopf = y >= 0 && y < Hoehe();
    if (imKopf && zSpaltenNr >= 0 && zSpaltenNr >= TabellenStruktur.ErsteSpalte)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor(); // the standard arrow
}

bool Kurskopf::BreiteBeginnen(int x, int y)
{
    if (y < 0 || y >= Hoehe())
        return false;
    zXPos = x;
    zSpaltenNr = int(TabellenStruktur.ErmittleTrenner(x));
    if (zSpaltenNr <= 0 || zSpaltenNr >= TabellenStruktur.Spalten.size() || zSpaltenNr >= count())
        return false;
    viewport()->setCursor(Qt::SplitHCursor);
    zAlteBreite = TabellenStruktur.Spalten.at(zSpaltenNr).Breite;
    zBreiteZiehen = true;
    return true;
}

void Kurskopf::BreiteZiehen(int x)
{
    if (!zBreiteZiehen)
        return;
    emit BreiteZieht(zSpaltenNr, zAlteBreite + x - zXPos);
}

void Kurskopf::BreiteBeenden()
{
    if (!zBreiteZiehen)
        return;
    zBreiteZiehen = false;
    viewport()->unsetCursor();
    emit BreiteGeaendert(zSpaltenNr);
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
    dragMoveEvent(ereignis);
}

void Kurskopf::dragMoveEvent(QDragMoveEvent* ereignis)
{
    if (!Spaltenziehen::Bewerten(ereignis, akzeptierteTypen)) {
        MarkeVerbergen();
        return;
    }
    if (zFenster)
        zFenster->SpalteUeberTabelle(ereignis->mimeData(),
            viewport()->mapTo(parentWidget(), ereignis->position().toPoint()));
}

void Kurskopf::dragLeaveEvent(QDragLeaveEvent* ereignis)
{
    MarkeVerbergen();
    QHeaderView::dragLeaveEvent(ereignis);
}

void Kurskopf::dropEvent(QDropEvent* ereignis)
{
    MarkeVerbergen();
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
