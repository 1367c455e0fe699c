#pragma once

#include "plattform.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <functional>

// The platform of the tests: answers every question and dialog from a queue and records
// everything that was shown. Installs itself while it lives.
class AufzeichnendePlattform : public Plattform {
public:
    AufzeichnendePlattform();
    ~AufzeichnendePlattform() override;

    // --- Answers, taken from the front; an empty queue answers "no" / cancel -------------
    QList<bool> antwortenFrage; // Frage: true = the default button
    QList<int> antwortenWahl; // Waehlen: the index of the button; empty = Escape
    // Abwarten: true = wait until it ends by itself (events run meanwhile, at most
    // wartenGrenzeMs), false = press the button at once; empty = wait.
    QList<bool> antwortenWarten;
    int wartenGrenzeMs = 60000;
    // DateiOeffnen / DateiSpeichern: path, "" = cancel; a folder ending in "/" takes the
    // suggested name in that folder, as a teacher who only picks the folder.
    QStringList antwortenDatei;
    QList<bool> antwortenDruck; // Seiteneinrichtung / DruckDialog: true = OK
    QList<bool> antwortenUrl; // UrlOeffnen: false = no program opened it; empty = opened
    // Called with the printer when a print dialog is answered OK (e.g. to set a PDF file).
    std::function<void(QPrinter&)> druckerEinrichten;
    // Called when a question is asked, before the answer is taken (e.g. to look at a window).
    std::function<void(const struct Frage&)> beiFrage;

    // --- What was shown -----------------------------------------------------------------
    QStringList meldungen; // message boxes, in order (their texts)
    QList<struct Mitteilung> mitteilungen; // the same message boxes, whole
    QList<struct Frage> fragen; // questions, in order
    QList<struct Auswahl> auswahlen; // questions with any number of buttons, in order
    QList<struct Warten> wartendialoge;
    QList<DateiDialog> oeffnenDialoge;
    QList<DateiDialog> speichernDialoge;
    int seiteneinrichtungen = 0;
    int druckDialoge = 0;
    int pieps = 0;
    QList<QUrl> urls;
    // Every event in order, as "Meldung: text", "Frage: titel", "Auswahl: titel",
    // "Warten: titel", "Öffnen: titel", "Speichern: titel", "Seite", "Drucken", "Piep",
    // "URL: address".
    QStringList protokoll;
    // Questions or dialogs that found no scripted answer.
    int unbeantwortet = 0;

    void Leeren();
    // Drops the answers still queued and the hooks, as on a fresh platform.
    void AntwortenVerwerfen();

    void Mitteilen(const struct Mitteilung& mitteilung) override;
    bool Frage(const struct Frage& frage) override;
    int Waehlen(const struct Auswahl& auswahl) override;
    bool Abwarten(const struct Warten& warten, const std::function<bool()>& fertig) override;
    QString DateiOeffnen(const DateiDialog& dialog) override;
    QString DateiSpeichern(const DateiDialog& dialog) override;
    bool Seiteneinrichtung(QPrinter& drucker) override;
    bool DruckDialog(QPrinter& drucker) override;
    void Piep() override;
    bool UrlOeffnen(const QUrl& adresse) override;

private:
    Plattform* zVorher = nullptr;
};
