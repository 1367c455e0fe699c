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
    QList<bool> antwortenFrage;        // Frage: true = the default button
    QStringList antwortenDatei;        // DateiOeffnen / DateiSpeichern: path, "" = cancel
    QList<bool> antwortenDruck;        // Seiteneinrichtung / DruckDialog: true = OK
    // Called with the printer when a print dialog is answered OK (e.g. to set a PDF file).
    std::function<void(QPrinter&)> druckerEinrichten;
    // Called when a question is asked, before the answer is taken (e.g. to look at a window).
    std::function<void(const struct Frage&)> beiFrage;

    // --- What was shown -----------------------------------------------------------------
    QStringList meldungen;             // message boxes, in order
    QList<struct Frage> fragen;        // questions, in order
    QList<DateiDialog> oeffnenDialoge;
    QList<DateiDialog> speichernDialoge;
    int seiteneinrichtungen = 0;
    int druckDialoge = 0;
    int pieps = 0;
    QList<QUrl> urls;
    // Every event in order, as "Meldung: text", "Frage: titel", "Öffnen: titel",
    // "Speichern: titel", "Seite", "Drucken", "Piep", "URL: address".
    QStringList protokoll;
    // Questions or dialogs that found no scripted answer.
    int unbeantwortet = 0;

    void Leeren();

    void Meldung(const QString& text) override;
    bool Frage(const struct Frage& frage) override;
    QString DateiOeffnen(const DateiDialog& dialog) override;
    QString DateiSpeichern(const DateiDialog& dialog) override;
    bool Seiteneinrichtung(QPrinter& drucker) override;
    bool DruckDialog(QPrinter& drucker) override;
    void Piep() override;
    void UrlOeffnen(const QUrl& adresse) override;

private:
    Plattform* zVorher = nullptr;
};
