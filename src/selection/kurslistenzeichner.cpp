#include "kurslistenzeichner.h"

#include <QPainter>

KurslistenZeichner::KurslistenZeichner(std::function<KursZeiger(int)> kursZuZeile, QObject* parent)
    : QStyledItemDelegate(parent)
    , zKursZuZeile(std::move(kursZuZeile))
{
}

QColor KurslistenZeichner::PunktFarbe(const Kurs& kurs)
{
    if (kurs.gesendet)
        return QColor(0, 200, 0);
    if (kurs.gespeichert)
        return QColor(0, 0, 255);
    if (kurs.geaendert)
        return QColor(255, 0, 0);
    return {};
}

void KurslistenZeichner::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (Liste_PaintCellBackground(painter, option, index))
        return;
    Liste_PaintCellText(painter, option, index);
}

bool KurslistenZeichner::Liste_PaintCellBackground(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!index.isValid() || index.column() != 0 || index.row() >= index.model()->rowCount())
        return false;
    painter->save();
    // The dot column stays white, also in the selected row.
    painter->fillRect(option.rect, QColor(255, 255, 255));
    const KursZeiger kurs = zKursZuZeile ? zKursZuZeile(index.row()) : nullptr;
    const QColor farbe = kurs ? PunktFarbe(*kurs) : QColor();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (farbe.isValid()) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(farbe);
        painter->drawEllipse(QRectF(option.rect.left() + PunktRand, option.rect.top() + PunktRand,
            PunktGroesse, PunktGroesse));
    }
    if (zWirdGesendet && zWirdGesendet(index.row())) {
        // The file is on its way: a green ring, the colour the dot takes once it arrived.
        painter->setPen(QPen(RingFarbe, 2.0));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(QRectF(option.rect.left() + RingRand + 1,
            option.rect.top() + RingRand + 1, RingGroesse - 2, RingGroesse - 2));
    }
    painter->restore();
    return true;
}

void KurslistenZeichner::Liste_PaintCellText(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem stil(option);
    stil.palette.setColor(QPalette::Text, Qt::black);
    stil.palette.setColor(QPalette::HighlightedText, Qt::black);
    stil.state &= ~QStyle::State_HasFocus; // no focus frame
    // A cell with a colour of its own (a course delivered incomplete) keeps it when selected.
    if (const QVariant eigene = index.data(Qt::ForegroundRole); eigene.isValid())
        stil.palette.setColor(QPalette::HighlightedText, eigene.value<QColor>());
    QStyledItemDelegate::paint(painter, stil, index);
}
