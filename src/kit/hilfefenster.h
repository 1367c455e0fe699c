#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;

// The program's own window for its help pages: they come with the program, so help works
// without a web browser and without a network. Links to other pages of the help stay in the
// window; an address outside it (a web site, "mailto:") goes to the user's default program.
class Hilfefenster : public QWidget {
    Q_OBJECT
public:
    // Shows adresse in the one help window (made on first use) and brings it to the front.
    static Hilfefenster* Zeigen(const QUrl& adresse);
    // The help window, or nullptr while none is open.
    static Hilfefenster* Instanz();

    QTextBrowser* Browser() const { return zBrowser; }

protected:
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    explicit Hilfefenster(QWidget* parent = nullptr);
    void VerweisGeklickt(const QUrl& adresse);
    // Size and place on the screen, before it is first shown.
    void Mittig();

    QTextBrowser* zBrowser = nullptr;
    QAction* zZurueck = nullptr;
    QAction* zVor = nullptr;
    static QPointer<Hilfefenster> sInstanz;
};

// F1 in any window of the program opens the help at the place for that window: the window
// (or one of its parents) names its place with the property "hilfeAnker" ("kursauswahl"),
// the help page of the program otherwise. Works in modal dialogs too.
namespace Hilfetaste {
// Installs the key once for the whole application.
void Einrichten();
// The help for the window fenster (may be nullptr: the page's start).
void HilfeFuer(const QWidget* fenster);
} // namespace Hilfetaste
