#pragma once

#include <QToolBar>

class QAction;

// The toolbar template of the selection window and the course windows: it brings the help
// button "Hilfe", which stays the last item. Windows insert their own items in front of it
// with insertAction(ToolItemHilfe, ...).
class ToolbarVorlage : public QToolBar {
    Q_OBJECT
public:
    explicit ToolbarVorlage(QWidget* parent = nullptr);

    QAction* ToolItemHilfe = nullptr;
    // A flexible space, inserted in front of the help button (insert further items in front
    // of the returned action or at position 0).
    QAction* FlexiblerRaum();
    // Our own pictures by their names ("ToolHilfe", "ToolSichern", ...): ":/bilder/<name>.svg".
    static QIcon Bild(const QString& name);

signals:
    // The pressed item (its objectName is "ToolItem..."). The help button opens the help
    // page itself before this is emitted.
    void Pressed(QAction* item);

protected:
    bool event(QEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};
