#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

class Kursfenster;
class QMenu;

// Draws and edits the cells of a course window's grade table: the text colour and underline
// come from the window (deficits, exam students), the "W" box is drawn centred and never
// toggled by the grid itself, and the keys Tab, Return and the arrows of the open cell
// editor go to the window's key handler before the editor or the grid sees them; Escape
// puts the cell's stored value back into the editor, which stays open. A cell whose text is
// cut shows it in full as a tooltip. The
// delegate only carries text: what a cell accepts is the window's check. The editor stays
// open with its text while the window is only deactivated (another window, a dialog, a
// menu); a paste of a table into it goes to the window.
class Kurszellendelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    Kurszellendelegate(Kursfenster* fenster, QObject* parent);

    QLineEdit* Editor() const { return zEditor.data(); }
    int EditorZeile() const { return zEditor ? zZeile : -1; }
    int EditorSpalte() const { return zEditor ? zSpalte : -1; }
    // The column that holds check boxes (-1: none).
    int checkSpalte = -1;
    // The window is going: nothing is handed to it any more.
    void FensterTrennen() { zFenster = nullptr; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(
        QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    bool editorEvent(QEvent* ereignis, QAbstractItemModel* model,
        const QStyleOptionViewItem& option, const QModelIndex& index) override;
    // A cell's text that does not fit into its cell shows in full as a tooltip.
    bool helpEvent(QHelpEvent* ereignis, QAbstractItemView* ansicht,
        const QStyleOptionViewItem& option, const QModelIndex& index) override;
    // The tooltip of a cell: its whole text when the cell cuts it, else empty.
    QString Zelltipp(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // A plain text as a tooltip shows it: its lines as they are, a line longer than
    // Zeilenlaenge characters broken between words, nothing read as markup.
    static QString AlsTooltip(const QString& text);
    static constexpr int Zeilenlaenge = 80;

    // The cell editor's context menu (German, its "Einfügen" as Ctrl+V).
    QMenu* Kontextmenue(QLineEdit* editor) const;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    // The frame of a cell whose pasted value was refused.
    static void AbgelehntRahmen(QPainter* painter, const QRect& zelle);

private:
    Kursfenster* zFenster;
    // The editor of the table (there is at most one) and its cell.
    mutable QPointer<QLineEdit> zEditor;
    mutable int zZeile = -1;
    mutable int zSpalte = -1;
};
