#pragma once

#include <QHeaderView>

class Kursfenster;

// The header row of the grade table. A heading wider than its column ends in "…" instead of
// being cut off at both sides, and shows in full as a tooltip. The divider at the right edge
// of an entry column is dragged to change the column's width: the header holds that drag and
// reports every new width (BreiteZieht) and the finished change (BreiteGeaendert); the
// window applies them to the shared column layout. An entry column's section can be dragged
// to another entry column's place to move the column (a marker shows where it will land; the
// tooltip of an entry column says both). The sections stay in the table's order (visual index =
// logical index): a section moved by the header itself is put back at once and the window moves the
// column in its data instead.
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

    // --- Dragging a column's width (x, y in table coordinates; the header occupies
    // 0 <= y < its height) ---------------------------------------------------------------
    // The mouse moves without a button: the divider under it is noted, and the cursor over
    // the header shows whether it can be dragged.
    void MausBewegt(int x, int y);
    // A press: true starts dragging the width of the column whose divider lies at x.
    bool BreiteBeginnen(int x, int y);
    // The mouse moves with the button held: the column's width follows it (never below 10).
    void BreiteZiehen(int x);
    // The release: the drag ends and the finished width is reported.
    void BreiteBeenden();
    // Whether a column's width is being dragged.
    bool BreiteWirdGezogen() const { return zBreiteZiehen; }
    // The column whose divider is under the mouse or being dragged (-1: none).
    int BreitenSpalte() const { return zSpaltenNr; }

signals:
    // While the width is dragged: spalte is to be breite pixels wide now.
    void BreiteZieht(int spalte, qint64 breite);
    // The drag of spalte's width has ended.
    void BreiteGeaendert(int spalte);

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
    // Dragging a column's width.
    bool zBreiteZiehen = false;
    int zXPos = 0; // x where the drag started, in table coordinates
    int zSpaltenNr = -1; // the column whose divider is under the mouse or being dragged
    qint64 zAlteBreite = 0; // that column's width when the drag started
    // The height of the header as the table lays it out (0 when hidden).
    int Hoehe() const;
};
