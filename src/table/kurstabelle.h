#pragma once

#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTableWidget>

class Kursfenster;
class Kurskopf;
class Kurszellendelegate;
class QLineEdit;

// The grade table of a course window. It hands presses and the keys of its cell editor to
// the window's handlers and lets nothing else open, move or close a cell editor: the cell
// editor is opened only by the window (EditorOeffnen), so every move goes through the check
// of the cell being left. Whatever closes the editor, its text reaches the cell only through
// the window's check (commitData): no road puts unchecked text into a cell. Typing while no
// editor is open goes to the window, which opens one in the row (the grid has no row search
// of its own). A vertical scroll bar shows whenever the rows do not fit.
class Kurstabelle : public QTableWidget {
    Q_OBJECT
public:
    explicit Kurstabelle(Kursfenster* fenster);

    static constexpr int Zeilenhoehe = 20;
    // The font of the cells and the headings.
    static QFont Schrift();

    // The open cell editor, or nullptr, and its cell (-1 without editor).
    QLineEdit* Editor() const;
    int EditorZeile() const;
    int EditorSpalte() const;
    // Whether the editor is open on that cell.
    bool EditorAuf(int row, int column) const;
    // Opens the editor on a cell. An editor open on another cell is closed first, its text
    // checked; an editor already open on the cell stays and gets the focus.
    void EditorOeffnen(int row, int column);
    // Closes the open editor after the window checked its text.
    void EditorSchliessen();
    // Closes the open editor and drops its text (the window is closing, or carries the text
    // over itself).
    void EditorVerwerfen();
    // The window is going: nothing is handed to it any more.
    void FensterTrennen();
    // The height of the header row as the table lays it out.
    int Kopfhoehe() const;
    // The header row.
    Kurskopf* Kopf() const;
    Kurszellendelegate* Delegate() const { return zDelegate; }

    // A press with the Option key on an entry cell: the drag of column starts once the mouse
    // moves with the button held.
    void SpaltenZiehenVormerken(int column);
    int VorgemerkteSpalte() const { return zZiehSpalte; }

    // The drag types the table accepts (the column drag); a drop of one goes to the window.
    QStringList akzeptierteTypen;

    // The drop marker of a column move: a vertical bar over the header and the rows at x
    // (table coordinates); a negative x hides it.
    void AblagemarkeSetzen(int x);
    // The marker, or nullptr before it was first shown.
    QWidget* Ablagemarke() const { return zMarke; }

    // The grid has no row search: typed text belongs to a cell.
    void keyboardSearch(const QString&) override { }

protected slots:
    // The editor's text goes to the window's check instead of into the cell.
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hinweis) override;

protected:
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void mouseDoubleClickEvent(QMouseEvent* ereignis) override;
    void keyPressEvent(QKeyEvent* ereignis) override;
    void dragEnterEvent(QDragEnterEvent* ereignis) override;
    void dragMoveEvent(QDragMoveEvent* ereignis) override;
    void dragLeaveEvent(QDragLeaveEvent* ereignis) override;
    void dropEvent(QDropEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    Kursfenster* zFenster;
    Kurszellendelegate* zDelegate;
    bool zDruckBehandelt = false; // the last press was handled by the window
    bool zWeitergeben = false; // a key goes from the table to the open editor
    int zZiehSpalte = -1;
    QPoint zZiehStart;
    QWidget* zMarke = nullptr;
};
