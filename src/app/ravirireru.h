#pragma once

#include "benachrichtiger.h"
#include "programmversion.h"

#include <QApplication>
#include <QPointer>

class Kursauswahl;
class QSessionManager;
class SplashScreen;
class QtPlattform;
class QTranslator;
class UeberZELTA;

// The application object: start-up order, quitting, the error of last resort and the
// switching of the Edit menu.
class RAVIRIreru : public QApplication {
    Q_OBJECT
public:
    // Betrieb: the program itself. Test: the same object for the tests of the windows; it
    // never leaves the event loop, "ending" only closes the windows and sets Beendet.
    enum Art { Betrieb, Test };

    RAVIRIreru(int& argc, char** argv, Art art = Betrieb);
    ~RAVIRIreru() override;

    static constexpr int MajorVersion = Programmversion::Haupt;
    static constexpr int MinorVersion = Programmversion::Neben;
    static constexpr int BugVersion = Programmversion::Korrektur;
    static constexpr int NonReleaseVersion = 0;
    static QString ShortVersion() { return QString::fromLatin1(Programmversion::Kurz); }
    static QString LongVersion() { return QStringLiteral("RAVIRIreru ") + ShortVersion(); }
    // One line: the years and the maker.
    static QString Copyright();
    // The three-line rights notice of the splash and about windows.
    static QString Rechtehinweis();
    // "Version 1.9.0"
    static QString VersionsText();

    // The document handed over on the command line (the first argument), or empty.
    QString DokumentAusArgumenten() const;

    // Start-up after the event loop runs: splash (no document) or the open dialog at once.
    void Starten(const QString& dokument);
    // Loads a course-list file and opens the login window, or quits the program.
    void DatenLaden();
    // The same; the open dialog starts in the folder of vorschlag with that file selected.
    void DatenLaden(const QString& vorschlag);
    // A document handed over by the platform: runs DatenLaden (the open dialog starts at it).
    void OpenDocument(const QString& pfad);
    // A later start of the program handed over dokument (may be empty): this program comes
    // to the front. Before a course list is loaded the document goes where OpenDocument puts
    // it; afterwards the program keeps its file and says so when another one was asked for.
    void ZweiterStart(const QString& dokument);
    // True keeps the program running.
    bool CancelClosing();
    // Quits through the quit sequence (menu "Beenden", "Abbrechen" of the login window).
    void Beenden();
    // True once the quit sequence let the program end; windows close then without asking.
    bool Beendet() const { return Benachrichtiger::Instanz().ProgrammEndet(); }

    void EditCopyUmschalten(bool spezial);
    void EditPasteUmschalten(bool spezial);
    void EditUmschalten(bool spezial);

    Kursauswahl* kursauswahl() const;
    // The window in front (a modal dialog, the selection window) is raised and activated.
    void NachVorn();
    void setzeKursauswahl(Kursauswahl* fenster);

    // Shows the about window (menu "Über RAVIRIreru..."); a second call brings it to the front.
    void ZeigeUeber();

    bool notify(QObject* empfaenger, QEvent* ereignis) override;
    // Shows the error of last resort for an exception of kind typName; an empty name
    // shows nothing. With no window of the program left open, the message says that the
    // program ends, and it ends (after saving changed data, as at quitting).
    void UnhandledException(const QString& typName);

    // The desktop session ends (Qt's commit-data request): the course windows' unsaved
    // entries are saved without a question; with fragen the quit sequence asks as usual.
    // False: the end of the session is to be cancelled.
    bool SitzungEndet(bool fragen);

    // SIGTERM or SIGHUP: the program ends as at the end of the desktop session.
    void SignalBeenden();

    // Tests: back to the state after construction (no windows, not ended).
    void TestZuruecksetzen();

signals:
    // The splash window is about to be shown modally.
    void SplashGeoeffnet();

protected:
    bool event(QEvent* ereignis) override;

private:
    static int& UmgebungVorbereiten(int& argc);
    // Whether a window of the program is shown (menus and tool tips do not count).
    static bool FensterOffen();
    void StartAblauf();
    void MenueHandlerAnmelden();
    void SitzungSichern(QSessionManager& sitzung);
    void Uebersetzungen();

    Art zArt;
    QtPlattform* zPlattform = nullptr;
    QPointer<Kursauswahl> zKursauswahl;
    QPointer<UeberZELTA> zUeber;
    QPointer<SplashScreen> zSplash;
    QString zDokument;
    bool zGestartet = false; // Starten was called (a FileOpen event comes too late then)
    bool zLaeuft = false; // the start-up sequence ran (splash or open dialog shown)
    bool zLaedt = false; // DatenLaden is running (open dialog or login shown)
};

// The application object.
RAVIRIreru* App();
