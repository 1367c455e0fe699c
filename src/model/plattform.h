#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QPrinter;

// Everything modal or outside the program goes through this interface: message boxes,
// questions, file dialogs, page set-up and print dialogs, the beep and opening addresses.
// The program installs the Qt implementation; the tests install one that answers from a
// queue and records every text shown.
class Plattform {
public:
    // The icon of a message or question.
    enum class Symbol {
        Information, // a report of success
        Warnung, // a failure, a refusal; the caution icon of questions
    };

    // A message box with one button ("OK").
    struct Mitteilung {
        QString titel; // empty: the program's name
        QString text;
        QString erklaerung; // smaller text under the message; may be empty
        Symbol symbol = Symbol::Warnung;
    };

    // A question with any number of buttons.
    struct Auswahl {
        QString titel;
        QString meldung;
        QString erklaerung;
        QStringList knoepfe; // captions, in the order they are offered
        int standard = 0; // the default button (Return)
        int abbrechen = -1; // Escape and closing the box; -1: the last button
        Symbol symbol = Symbol::Warnung;
    };

    // A modal wait that ends by itself or by its one button.
    struct Warten {
        QString titel;
        QString text;
        QString knopf; // "Abbrechen"
    };

    struct Frage {
        QString titel;
        QString meldung;
        QString erklaerung;
        QString standardKnopf; // the default button (Return)
        QString andererKnopf;
    };

    struct DateiDialog {
        QString titel;
        QString hinweis; // prompt text above the list
        QString aktionsKnopf; // "Öffnen", "Speichern"
        QString abbrechenKnopf; // "Abbrechen", "Nicht speichern"
        QString filterName; // "ZELTA-NotenDatei"
        QString filterMuster; // "*.zln"
        QString startOrdner; // empty: the platform's default
        QString vorschlag; // suggested file name (save) or file to select (open)
    };

    virtual ~Plattform() = default;

    // A message box with one button.
    virtual void Mitteilen(const struct Mitteilung& mitteilung) = 0;
    // The plain message box of a failure: the program's name as title, the warning icon.
    void Meldung(const QString& text)
    {
        Mitteilen({ QString(), text, QString(), Symbol::Warnung });
    }
    // A modal question with the caution icon and two buttons; true when the default button
    // was chosen, false for the other button and for any other way of closing it.
    virtual bool Frage(const struct Frage& frage) = 0;
    // A modal question with the buttons of auswahl; the index of the chosen button
    // (auswahl.abbrechen, or the last button, for Escape and for closing the box).
    virtual int Waehlen(const struct Auswahl& auswahl) = 0;
    // Shows a modal wait until fertig() holds (asked while events are processed, so the
    // work it waits for goes on); true when it ended so, false when the button was pressed.
    virtual bool Abwarten(const struct Warten& warten, const std::function<bool()>& fertig) = 0;
    // The chosen file's path, or an empty text when the dialog was cancelled.
    virtual QString DateiOeffnen(const DateiDialog& dialog) = 0;
    virtual QString DateiSpeichern(const DateiDialog& dialog) = 0;
    // Page set-up and print dialogs on the given printer; false when cancelled.
    virtual bool Seiteneinrichtung(QPrinter& drucker) = 0;
    virtual bool DruckDialog(QPrinter& drucker) = 0;
    virtual void Piep() = 0;
    // Opens a web or "mailto:" address with the user's default program; false when no
    // program could be started for it (the caller then says so).
    virtual bool UrlOeffnen(const QUrl& adresse) = 0;

    // The index Escape and closing the box stand for.
    static int AbbrechenIndex(const struct Auswahl& auswahl);

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
