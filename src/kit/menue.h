#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The program's one menu bar model: named actions in the menus "Ablage" and "Bearbeiten".
// Every top-level window shows a menu bar built from these same actions (ErzeugeLeiste).
// Commands are routed by item name: the application or a window registers a handler for a
// name; an automatically enabled item is enabled exactly while the active window (or the
// application) has a handler for it.
class Menue : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool()>;

    // The shared instance, created on first use.
    static Menue& Instanz();

    // The item with that name ("AblageDrucken", "EditCopySpezial", ... and the two menu
    // titles "Ablage" and "EditMenu"), or nullptr.
    QAction* Eintrag(const QString& name) const;
    // All item names in menu order (titles included).
    QStringList Namen() const;
    // A menu bar for a top-level window, showing the shared actions; a QMainWindow gets it
    // installed with setMenuBar.
    QMenuBar* ErzeugeLeiste(QWidget* fenster);

    // besitzer: a top-level window, or nullptr for the application.
    void HandlerAnmelden(QObject* besitzer, const QString& name, Handler handler);
    void HandlerAbmelden(QObject* besitzer, const QString& name);
    void AlleHandlerAbmelden(QObject* besitzer);
    bool HatHandler(const QString& name) const;
    // Runs the handler of the active window, else the application's; the four plain Edit
    // items fall back to the focused text field (cut, copy, paste, select all).
    // False when nothing handled it.
    bool Ausfuehren(const QString& name);
    // Enables the automatically enabled items from the handlers of the active window.
    void AktivierungAktualisieren();
    // The special copy and paste items (the grade table has the focus) or the plain ones
    // (a cell editor or any other control has it).
    void EditCopyUmschalten(bool spezial);
    void EditPasteUmschalten(bool spezial);
    void EditUmschalten(bool spezial);

    // Puts the menu back to its start state (tests): no handlers, the start visibility.
    // Emits Zurueckgesetzt so that the application registers its own handlers again.
    void Zuruecksetzen();

signals:
    void Zurueckgesetzt();

private:
    Menue();
    struct Punkt;
    QList<Punkt*> zPunkte;
    QHash<QObject*, QHash<QString, Handler>> zHandler;
};
