#include "kurszellendelegate.h"

#include "kursfenster.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

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

void Kurszellendelegate::setModelData(
    QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* zeile = qobject_cast<QLineEdit*>(editor))
        model->setData(index, zeile->text(), Qt::EditRole);
}

void Kurszellendelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void Kurszellendelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    zFenster->meineTabelle_PaintCellText(opt, index.row(), index.column());
    const QWidget* widget = option.widget;
    QStyle* stil = widget ? widget->style() : QApplication::style();

    if (index.column() != checkSpalte) {
        stil->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
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

bool Kurszellendelegate::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress && objekt == zEditor.data()) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        const int code = Kursfenster::Tastencode(taste->key());
        if (code != 0 && zFenster->meineTabelle_CellKeyDown(zZeile, zSpalte, code))
            return true;
    }
    return QStyledItemDelegate::eventFilter(objekt, ereignis);
}
