#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QPrinter;

// Everything modal or outside the program goes through this interface: message boxes,
// questions, file dialogs, page set-up and print dialogs, the beep and opening addresses.
// The program installs the Qt implementation; the tests install one that answers from a
// queue and records every text shown.
class Plattform {
public:
    struct Frage {
        QString titel;
        QString meldung;
        QString erklaerung;
        QString standardKnopf;   // the default button (Return)
        QString andererKnopf;
    };

    struct DateiDialog {
        QString titel;
        QString hinweis;          // prompt text above the list
        QString aktionsKnopf;     // "Öffnen", "Speichern"
        QString abbrechenKnopf;   // "Abbrechen", "Nicht speichern"
        QString filterName;       // "ZELTA-NotenDatei"
        QString filterMuster;     // "*.zln"
        QString startOrdner;      // empty: the platform's default
        QString vorschlag;        // suggested file name (save) or file to select (open)
    };

    virtual ~Plattform() = default;

    // A message box with one button.
    virtual void Meldung(const QString& text) = 0;
    // A modal question with the caution icon and two buttons; true when the default button
    // was chosen, false for the other button and for any other way of closing it.
    virtual bool Frage(const struct Frage& frage) = 0;
    // The chosen file's path, or an empty text when the dialog was cancelled.
    virtual QString DateiOeffnen(const DateiDialog& dialog) = 0;
    virtual QString DateiSpeichern(const DateiDialog& dialog) = 0;
    // Page set-up and print dialogs on the given printer; false when cancelled.
    virtual bool Seiteneinrichtung(QPrinter& drucker) = 0;
    virtual bool DruckDialog(QPrinter& drucker) = 0;
    virtual void Piep() = 0;
    virtual void UrlOeffnen(const QUrl& adresse) = 0;

    // The platform in use; installing one replaces the previous one (not owned).
    static Plattform& aktuell();
    static void setzen(Plattform* plattform);
};

// The yes/no questions of the program.
namespace Modales {
// Default "Ja"; true for "Ja".
bool JaNein(const QString& titel, const QString& meldung, const QString& erklaerung);
// Default "Nein"; true for "Nein": the caller leaves things as they are.
bool NeinJa(const QString& titel, const QString& meldung, const QString& erklaerung);
} // namespace Modales
