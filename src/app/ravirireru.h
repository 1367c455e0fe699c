#pragma once

#include <QApplication>
#include <QPointer>

class Kursauswahl;

// The application object: start-up order, quitting, the error of last resort and the
// switching of the Edit menu.
class RAVIRIreru : public QApplication {
    Q_OBJECT
public:
    RAVIRIreru(int& argc, char** argv);
    ~RAVIRIreru() override;

    static constexpr int MajorVersion = 1;
    static constexpr int MinorVersion = 9;
    static constexpr int BugVersion = 0;
    static constexpr int NonReleaseVersion = 0;
    static QString ShortVersion() { return QStringLiteral("1.9"); }
    static QString LongVersion() { return QStringLiteral("RAVIRIreru 1.9"); }
    static QString Copyright();
    // "Version 1.9.0"
    static QString VersionsText();

    // Start-up after the event loop runs: splash (no document) or the open dialog at once.
    void Starten(const QString& dokument);
    // Loads a course-list file and opens the login window, or quits the program.
    void DatenLaden();
    // A document handed over by the platform: runs DatenLaden (the open dialog starts at it).
    void OpenDocument(const QString& pfad);
    // True keeps the program running.
    bool CancelClosing();
    // Quits through the quit sequence (menu "Beenden", "Abbrechen" of the login window).
    void Beenden();

    void EditCopyUmschalten(bool spezial);
    void EditPasteUmschalten(bool spezial);
    void EditUmschalten(bool spezial);

    Kursauswahl* kursauswahl() const;
    void setzeKursauswahl(Kursauswahl* fenster);

    bool notify(QObject* empfaenger, QEvent* ereignis) override;
    // Shows the error of last resort for an exception of kind typName.
    void UnhandledException(const QString& typName);

protected:
    bool event(QEvent* ereignis) override;

private:
    QPointer<Kursauswahl> zKursauswahl;
    QString zDokument;
    bool zBeendet = false;
};

// The application object.
RAVIRIreru* App();
