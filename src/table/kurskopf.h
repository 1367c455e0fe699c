#pragma once

#include <QHeaderView>

class Kursfenster;

// The header row of the grade table. A heading wider than its column ends in "…" instead of
// being cut off at both sides, and shows in full as a tooltip. The header hands its mouse to
// the window: the divider at the right edge of an entry column is dragged to change the
// column's width, and an entry column's section can be dragged to another entry column's
// place to move the column (a marker shows where it will land; the tooltip of an entry
// column says both). The sections stay in the table's order (visual index = logical index):
// a section moved by the header itself is put back at once and the window moves the column
// in its data instead.
class Kurskopf : public QHeaderView {
    Q_OBJECT
public:
    explicit Kurskopf(QWidget* parent = nullptr, Kursfenster* fenster = nullptr);

    // The drag types the header accepts for a drop (those of the table).
    QStringList akzeptierteTypen;

    // The width a column needs to show its heading in full (the default layout of a file
    // that brings none gives each entry column this width, within bounds).
    static qint64 Standardbreite(const QString& ueberschrift);
    // The heading as the header draws it in its section (cut, ending in "…", when too wide).
    QString SichtbareUeberschrift(int spalte) const;
    // The tooltip of a column's heading, as plain text: the whole heading when it is cut;
    // for an entry column also how to widen and move it. Empty: no tooltip.
    QString Kopftipp(int spalte) const;
    // How entry columns are widened and moved (the last lines of their tooltip).
    static const QString SpaltenHinweis;

protected:
    bool viewportEvent(QEvent* ereignis) override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void mouseDoubleClickEvent(QMouseEvent* ereignis) override;
    void leaveEvent(QEvent* ereignis) override;
    void dragEnterEvent(QDragEnterEvent* ereignis) override;
    void dragMoveEvent(QDragMoveEvent* ereignis) override;
    void dragLeaveEvent(QDragLeaveEvent* ereignis) override;
    void dropEvent(QDropEvent* ereignis) override;

private:
    // A point of the header's viewport in the coordinates of the table.
    QPoint InTabelle(QPointF punkt) const;
    void Verschoben(int logisch, int von, int nach);
    // Where the section dragged since the press lands with the mouse at x (viewport
    // coordinates), by the rule the header moves sections with; -1 when the mouse is over
    // no section.
    int ZielBeiZiehen(int x) const;
    void MarkeVerbergen();

    Kursfenster* zFenster;
    bool zRueckgaengig = false; // the header's own move is being undone
    // The section dragged by its heading (-1: none), where the press was, the last target.
    int zZiehSektion = -1;
    int zDruckX = 0;
    int zZiel = -1;
};
