#pragma once

#include "plattform.h"

class QWidget;

// The platform of the running program: Qt message boxes and dialogs. The file dialogs are
// Qt's own (not the desktop's), so they speak German through the loaded translations on
// every desktop and show the prompt text.
class QtPlattform : public Plattform {
public:
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

    // The window the dialogs belong to: the active window, if any.
    static QWidget* Elternfenster();
    // The window title of message boxes.
    static QString Programmname();
    // A title or a message text as shown: control and direction characters as "�" (a
    // message keeps its line breaks).
    static QString Titel(const QString& text);
    static QString Text(const QString& text);
    // Syncs the journals of unsaved entries before a modal window.
    static void VorModalem();
};
