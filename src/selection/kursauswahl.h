#pragma once

#include "kurs.h"
#include "mailversand.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
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

    // --- The window's own business ------------------------------------------------------
    // The file name stem of the selected course's grade result file ("Noten Q1-M-LK2-ABC"),
    // empty while no course is selected.
    QString DateiName() const;
    // The course of the selected row, or nullptr.
    KursZeiger AusgewaehlterKurs() const { return zKurs; }

    // Hands the saved result file datei of kurs to the mail client. Returns at once; the
    // outcome arrives as SMTPSocket1_MailSent or SMTPSocket1_Error and applies to kurs.
    void Senden(const KursZeiger& kurs, const QString& datei);
    // Marks kurs as sent, marks the global data changed and refreshes the window.
    void Gesendet(const KursZeiger& kurs);

    // Replaces the hand-over to the mail client (tests record the prepared transfer and
    // emit the client's reports themselves). An empty function restores the mail client.
    using Versand = std::function<void(const Mailversand::Auftrag&)>;
    void setzeVersand(Versand versand) { zVersand = std::move(versand); }

    // The course title used in the send question: "Mathematik - LK2 - ABC".
    static QString KursTitel(const Kurs& kurs);

    static constexpr int Breite = 480;
    static constexpr int Hoehe = 660;
    static constexpr int MinHoehe = 64;
    static constexpr int MaxHoehe = 32000;

    // The texts of the window.
    static inline const QString OhneSchuelerDoppelklick =
        QStringLiteral("Der Kurs enthält keine Schüler; somit entfällt eine Noteneingabe.");
    static inline const QString OhneSchueler =
        QStringLiteral("Der Kurs enthält keine Schüler. Somit entfällt eine Noteneingabe.");
    static inline const QString MailVersandt =
        QStringLiteral("Die Mail wurde erfolgreich versandt!");

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void ToolbarInit();
    void ListeFuellen();
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
    // Save dialog, write and flags; true with datei set when the file was written.
    bool ErgebnisSchreiben(const KursZeiger& kurs, QString& datei);
    KursZeiger KursInZeile(int zeile) const;

    QTableWidget* Liste = nullptr;
    ToolbarVorlage* ToolbarWerkzeuge = nullptr;
    Mailversand* SMTPSocket1 = nullptr;
    QAction* zToolZeigen = nullptr;
    QAction* zToolSenden = nullptr;
    QAction* zToolSpeichern = nullptr;
    KursZeiger zKurs;
    // The course of each row, in row order.
    QList<KursZeiger> zZeilen;

    // A transfer handed to the mail client and not yet reported.
    struct Versandauftrag {
        KursZeiger kurs;
        QString stamm;          // the name stem at the time of sending
        bool veraltet = false;  // a newer result file of the course was written meanwhile
    };
    QHash<QString, Versandauftrag> zUnterwegs;
    qint64 zLaufendeNummer = 0;
    Versand zVersand;
};
