#pragma once

// Support for the tests of the windows: the real application object, going back to the start
// between tests, and answering real modal dialogs. (Their course lists come from
// Kurslistenbauer, their files from Dateihelfer.)

#include "ravirireru.h"

#include <QString>
#include <QTest>
#include <functional>

class QWidget;

// The main function of a window test: creates the application object of the program (for
// tests: it never leaves the event loop and runs no start-up sequence of its own) and runs
// the test class.
#define RAVIRIRERU_GUI_TEST_MAIN(Klasse)                                                           \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        const GuiTest::EigeneAnwendungsdaten anwendungsdaten;                                      \
        RAVIRIreru app(argc, argv, RAVIRIreru::Test);                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        Klasse pruefung;                                                                           \
        return QTest::qExec(&pruefung, argc, argv);                                                \
    }

namespace GuiTest {

// The application data folder of a test run (the journals of unsaved entries): a temporary
// folder of its own (XDG_DATA_HOME), removed at the end, never the user's.
class EigeneAnwendungsdaten {
public:
    EigeneAnwendungsdaten();
    ~EigeneAnwendungsdaten();
    EigeneAnwendungsdaten(const EigeneAnwendungsdaten&) = delete;
    EigeneAnwendungsdaten& operator=(const EigeneAnwendungsdaten&) = delete;

private:
    QString zOrdner;
};

// Back to the start: every top-level window deleted, the application object, the global
// data, the layout, the menu (handlers, visibility) and the window registry reset.
void Zuruecksetzen();

// Runs aktion, once, with the next modal window (of class klasse, when given) as soon as
// it shows, inside its own event loop (QApplication::activeModalWidget() is that window).
// Call it before the code that opens the modal window.
void BeiModal(std::function<void(QWidget*)> aktion, const char* klasse = nullptr);
// The BeiModal actions whose window has not shown (Zuruecksetzen drops them).
int Unbeantwortet();
// Clicks the button (QAbstractButton) of fenster with that text; false when there is none.
bool KnopfDruecken(QWidget* fenster, const QString& text);

} // namespace GuiTest
