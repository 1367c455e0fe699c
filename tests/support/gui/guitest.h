#pragma once

// Support for the tests of the windows: the real application object, fixtures of
// course-list files built with the model, and answering real modal dialogs.

#include "ravirireru.h"

#include <QByteArray>
#include <QList>
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

// One course of a fixture.
struct KursAngabe {
    qint64 nr = 1;
    QString fach = QStringLiteral("Mathematik");
    QString kursArt = QStringLiteral("LK");
    QString lehrer = QStringLiteral("Meier");
    QString kuerzel = QStringLiteral("M-LK1");
    QList<qint64> schueler = { 1, 2, 3 };
    bool geaendert = false;
    bool gespeichert = false;
    bool gesendet = false;
};

// Two courses with the three students of the fixture, no flags set.
QList<KursAngabe> StandardKurse();

// Fills the global data with a small course list: the grade scale 15 .. 0 points, a catalogue
// of two entries ("Note", "Fehlstunden"; empty when mitDaten is false), the students 1, 2, 3,
// the given courses with one row per student, the default column layout and the security
// password passwort. Daten.geladen stays false and datenFolder empty (use LadeDatei or
// SchreibeUndLade for a loaded file).
void BeispielDaten(const QList<KursAngabe>& kurse = StandardKurse(), bool mitDaten = true,
    const QString& passwort = QStringLiteral("Geheim"));

// The global data and layout as the bytes of a course-list file, written by the model.
QByteArray KurslistenBytes();
// Reads the bytes of a course-list file into the global data (Datenbestand::Lesen).
bool LadeKursliste(const QByteArray& bytes, QString* meldung = nullptr);
// Writes the global data as a course-list file into ordner/name and returns the path.
QString SchreibeKursliste(
    const QString& ordner, const QString& name = QStringLiteral("Kursliste.zln"));
// Writes the global data into ordner/name and loads it from there as the program does
// (Daten.geladen, datenFolder, no changed mark). Returns the path, empty on failure.
QString SchreibeUndLade(
    const QString& ordner, const QString& name = QStringLiteral("Kursliste.zln"));

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
