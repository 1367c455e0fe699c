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
    // A flexible space (used before the help button).
    QAction* FlexiblerRaum();
    // Looks up our own pictures by their resource names ("ToolHilfe", "ToolSichern", ...).
    static QIcon Bild(const QString& name);

signals:
    // The pressed item (its objectName is "ToolItem..."). The help button opens the help
    // page itself before this is emitted.
    void Pressed(QAction* item);
};
