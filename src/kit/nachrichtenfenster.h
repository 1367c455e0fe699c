#pragma once

#include <QMainWindow>

// Base of the windows that follow the shared table layout (the course windows). A window is
// registered in BasisEinstellungen from its construction until it closes.
class Nachrichtenfenster : public QMainWindow {
    Q_OBJECT
public:
    explicit Nachrichtenfenster(QWidget* parent = nullptr);
    ~Nachrichtenfenster() override;

    // Applies the shared column layout again; the base class does nothing. A window whose
    // own action changed the layout sets zAnpassen to false before the broadcast, so its
    // next Anpassen only sets it back to true.
    virtual void Anpassen();

    bool zAnpassen = true;
    // The window's position in BasisEinstellungen::zFenster(); -1 once it left the list.
    qint64 FensterIndex = -1;

protected:
    // Deregisters the window when the event is (still) accepted: a derived window that
    // stays open ignores the event before calling this. A window deleted without being
    // closed deregisters itself too.
    void closeEvent(QCloseEvent* ereignis) override;
    // Called by Anpassen when zAnpassen is true.
    virtual void LayoutUebernehmen() { }
};

// The list of open Nachrichtenfenster.
namespace BasisEinstellungen {
QList<Nachrichtenfenster*>& zFenster();
void Anmelden(Nachrichtenfenster* fenster);
void Abmelden(Nachrichtenfenster* fenster);
void AlleFensterAnpassen();
} // namespace BasisEinstellungen
