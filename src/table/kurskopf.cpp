#include "kurskopf.h"

#include <QStyle>
#include <QStyleOptionHeader>

Kurskopf::Kurskopf(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

void Kurskopf::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    const int rand = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
    const int platz = qMax(0, sectionSize(logicalIndex) - rand);
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, platz);
}
