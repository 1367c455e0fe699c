#pragma once

#include <QHeaderView>

class Kursfenster;

// The header row of the grade table. A heading wider than its column ends in "…" instead of
// being cut off at both sides. The header hands its mouse to the window: the divider at the
// right edge of an entry column is dragged to change the column's width, and an entry
// column's section can be dragged to another entry column's place to move the column. The
// sections stay in the table's order (visual index = logical index): a section moved by the
// header itself is put back at once and the window moves the column in its data instead.
class Kurskopf : public QHeaderView {
    Q_OBJECT
public:
    explicit Kurskopf(QWidget* parent = nullptr, Kursfenster* fenster = nullptr);

    // The drag types the header accepts for a drop (those of the table).
    QStringList akzeptierteTypen;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void mouseDoubleClickEvent(QMouseEvent* ereignis) override;
    void leaveEvent(QEvent* ereignis) override;
    void dragEnterEvent(QDragEnterEvent* ereignis) override;
    void dragMoveEvent(QDragMoveEvent* ereignis) override;
    void dropEvent(QDropEvent* ereignis) override;

private:
    // A point of the header's viewport in the coordinates of the table.
    QPoint InTabelle(QPointF punkt) const;
    void Verschoben(int logisch, int von, int nach);

    Kursfenster* zFenster;
    bool zRueckgaengig = false; // the header's own move is being undone
};
