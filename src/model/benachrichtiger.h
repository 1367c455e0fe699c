#pragma once

#include <QObject>
#include <QString>

class Kurs;

// The one place where the windows learn what happened elsewhere. A window that changes
// something says so here; every window that shows it listens. No window calls another, and
// no lower floor calls the application on top: the arrows point down, the signals go up.
class Benachrichtiger : public QObject {
    Q_OBJECT
public:
    static Benachrichtiger& Instanz();

    // The program is ending: windows close without their questions and stop saving on their
    // own. Set by the application when the quit sequence has decided, reset at its start.
    bool ProgrammEndet() const { return zProgrammEndet; }
    void SetzeProgrammEndet(bool endet);

signals:
    // A course's state or its rows changed (saved, delivered, entries taken over).
    void KursGeaendert(const Kurs* kurs);
    // A window asks to quit the program (the same as the menu item "Beenden").
    void BeendenGewuenscht();
    // A calm confirmation that something was written ("Mathematik LK2 gesichert, 14:02"):
    // the course selection window shows it for a few seconds, without a click.
    void Bestaetigt(const QString& text);
    // A grade table column moves from entry position von to nach (catalogue positions):
    // before the data moves, every window moves the row copies it holds of its own ...
    void SpalteWirdVerschoben(qint64 von, qint64 nach);
    // ... and after it, every window moves its grid's column a to b (table positions).
    void SpalteVerschoben(int a, int b);

private:
    Benachrichtiger() = default;
    bool zProgrammEndet = false;
};
