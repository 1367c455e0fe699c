#pragma once

#include "kurs.h"

#include <QMainWindow>

// The course selection window: the teacher's courses with a dot for each course's state;
// from here course windows are opened and grade result files saved or sent.
// Contract used by the other windows (the rest of the class is the window's own business):
class Kursauswahl : public QMainWindow {
    Q_OBJECT
public:
    explicit Kursauswahl(QWidget* parent = nullptr);
    ~Kursauswahl() override;

    // Refreshes the dots and the toolbar from the courses' flags.
    void Aktualisieren();
    // The one selection window, or nullptr before login.
    static Kursauswahl* Instanz();
};
