#pragma once

#include "kurs.h"
#include "mailversand.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QTimer;
class QModelIndex;
class QTableWidget;
class ToolbarVorlage;

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
    // Before the program ends or another course list takes this one's place: while grade
    // files are on their way, waits for them with the modal "Die Noten werden noch versandt …"
    // and then shows their reports as usual. "Abbrechen" stops them and leaves their courses
    // unsent. True when nothing is on its way any more; false only when asked again while its
    // wait is showing (a second quit request): the caller then leaves things as they are.
    bool VersandAbwarten();

    // --- The window's own business ------------------------------------------------------
    // The file name stem suggested for the selected course's grade result file
    // ("Noten Q1-M-LK2-ABC"), empty while no course is selected.
    QString DateiName() const;
    // The course of the selected row, or nullptr.
    KursZeiger AusgewaehlterKurs() const { return zKurs; }

    // Hands the saved result file datei of kurs to the mail client; the subject is the file's
    // name without ".zle". Returns at once; the outcome arrives as SMTPSocket1_MailSent or
    // SMTPSocket1_Error and applies to kurs. Does nothing while a file of kurs is on its way.
    void Senden(const KursZeiger& kurs, const QString& datei);
    // True while a grade file of kurs (of any course, for nullptr) is on its way.
    bool VersandLaeuft(const KursZeiger& kurs = nullptr) const;
    // Marks kurs as sent, marks the global data changed and refreshes the window.
    void Gesendet(const KursZeiger& kurs);

    // Replaces the hand-over to the mail client (tests record the prepared transfer and
    // emit the client's reports themselves). An empty function restores the mail client.
    using Versand = std::function<void(const Mailversand::Auftrag&)>;
    void setzeVersand(Versand versand) { zVersand = std::move(versand); }

    // The course title used in the send question: "Mathematik - LK2 - ABC".
    static QString KursTitel(const Kurs& kurs);

    // The columns of the list: the dot, "Fach", "Kursart", "Nr", "Lehrer*in", "Noten".
    static constexpr int Spalten = 6;
    static constexpr int SpalteNoten = 5;
    static constexpr int Breite = 480;
    static constexpr int Hoehe = 660;
    static constexpr int MinHoehe = 64;
    static constexpr int MaxHoehe = 32000;

    // The texts of the window.
    static inline const QString OhneSchuelerDoppelklick
        = QStringLiteral("Der Kurs enthält keine Schüler; somit entfällt eine Noteneingabe.");
    static inline const QString OhneSchueler
        = QStringLiteral("Der Kurs enthält keine Schüler. Somit entfällt eine Noteneingabe.");
    static inline const QString MailVersandt
        = QStringLiteral("Die Mail wurde erfolgreich versandt!");
    static inline const QString VersandFehler
        = QStringLiteral("Beim Versenden der Nachricht ist ein Fehler aufgetreten!");
    static inline const QString MailprogrammFehlt
        = QStringLiteral("Das Mailprogramm konnte nicht geöffnet werden.");
    static inline const QString VersandWarten = QStringLiteral("Die Noten werden noch versandt …");
    static inline const QString VersandWartenTitel = QStringLiteral("Noten werden versandt");
    static inline const QString WirdVersandt
        = QStringLiteral("Die Noten dieses Kurses werden gerade versandt.");
    static inline const QString UnvollstaendigAbgegeben
        = QStringLiteral("Die Ergebnisdatei wurde unvollständig abgegeben.");
    // The count of a course delivered incomplete.
    static inline const QColor UnvollstaendigFarbe = QColor(192, 80, 0);
    // How long a confirmation stays in the status area.
    static constexpr int BestaetigungMs = 6000;
    // Shows a calm confirmation at the foot of the list for a few seconds; the one shown now
    // (empty when none is).
    void Bestaetigen(const QString& text);
    QString Bestaetigung() const;

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void ToolbarInit();
    void ListeFuellen();
    // The grades entered per course, from the course-list file's rows.
    void NotenZaehlen();
    void ToolBarAnpassen();
    void Liste_SelectionChanged();
    void Liste_DoublePressed(const QModelIndex& index);
    void ToolbarWerkzeuge_Pressed(QAction* item);
    void SMTPSocket1_MailSent(const QString& kennung);
    void SMTPSocket1_Error(const QString& kennung, int code);

    void KursOeffnen(const KursZeiger& kurs);
    // The save path of "Speichern".
    void ErgebnisSpeichern();
    // The send path of "Senden".
    void ErgebnisSenden();
    // Before a result file leaves: a course that lacks grades asks first (default
    // "Abbrechen"); true when the file may be written. weiter is the button that goes on.
    bool LueckenBestaetigt(const KursZeiger& kurs, const QString& weiter, const QString& tun);
    // Save dialog, write and flags; true with datei set to the file really written.
    bool ErgebnisSchreiben(const KursZeiger& kurs, QString& datei);
    KursZeiger KursInZeile(int zeile) const;

    // A transfer handed to the mail client and not yet reported.
    struct Versandauftrag {
        KursZeiger kurs;
        QString datei; // the result file that was attached
        QString empfaenger; // the school's address at the time of sending
        bool veraltet = false; // a newer result file of the course was written meanwhile
    };
    // The report of a finished transfer: code 0 sent, else the mail client's error code.
    void Berichten(const Versandauftrag& auftrag, int code);
    void ErfolgMelden(const Versandauftrag& auftrag);
    void FehlerMelden(const Versandauftrag& auftrag, int code);

    QTableWidget* Liste = nullptr;
    QLabel* zBestaetigung = nullptr;
    QTimer* zBestaetigungsUhr = nullptr;
    ToolbarVorlage* ToolbarWerkzeuge = nullptr;
    Mailversand* SMTPSocket1 = nullptr;
    QAction* zToolZeigen = nullptr;
    QAction* zToolSenden = nullptr;
    QAction* zToolSpeichern = nullptr;
    KursZeiger zKurs;
    // The course of each row, in row order.
    QList<KursZeiger> zZeilen;

    QHash<QString, Versandauftrag> zUnterwegs;
    qint64 zLaufendeNummer = 0;
    Versand zVersand;
    // While VersandAbwarten waits, reports are held and shown when the wait has ended.
    bool zBerichteZurueckhalten = false;
    QList<QPair<Versandauftrag, int>> zZurueckgehalten;
};
