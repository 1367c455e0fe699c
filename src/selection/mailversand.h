#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

// The mail client of the selection window: SMTP with implicit TLS (smtps://, port 465,
// TLS 1.2 or newer, server certificate verified) through libcurl, which the first transfer loads
// (CurlBibliothek); without it every transfer fails with error 2. A transfer runs on a worker
// thread; its outcome arrives as one of the two signals on the thread that owns this object.
// Every transfer opens a connection of its own and closes it when done: mail servers drop idle
// sessions after a few minutes, and a message is never sent again on its own, so a message the
// server took is never delivered twice.
class Mailversand : public QObject {
    Q_OBJECT
public:
    // Time limits of one transfer, in seconds, so that a server that accepts the connection
    // and then says nothing ends in error 28 instead of a transfer that never ends:
    // - verbinden (default 15 s): TCP connection, TLS handshake, the server's greeting and
    //   the login together;
    // - stillstand (default 20 s): the transfer fails when less than 1 byte per second moved
    //   for this long; also the longest wait for any one server reply;
    // - gesamt (default 120 s): the whole transfer.
    struct Zeitgrenzen {
        int verbinden = 15;
        int stillstand = 20;
        int gesamt = 120;
    };

    struct Auftrag {
        QString server; // host name or address
        int port = 465;
        QString benutzer;
        QString pass;
        QString absender;
        QString empfaenger;
        QString betreff; // the result file's name without ".zle"
        QString text; // the one-line plain text body
        QString dateiPfad; // the saved result file, attached under its own file name
        // The caller's tag for the transfer (the course whose file is sent); given back with
        // the report so that the report applies to that course.
        QString kennung;
        Zeitgrenzen zeitgrenzen;
    };

    explicit Mailversand(QObject* parent = nullptr);
    // Aborts a running transfer and waits for the worker thread to end, so the program never
    // hangs at exit; transfers that did not end before are not reported.
    ~Mailversand() override;

    // Starts the transfer and returns at once. Transfers asked for while one runs wait their
    // turn; every one of them ends in exactly one report (unless called off by Abbrechen or the
    // destructor). Carriage returns, line feeds and other
    // control characters are removed from every value before it reaches the envelope or the
    // message, so no value can add a header or a recipient. The trusted certificates are the
    // system's, or the file named by the environment variable SSL_CERT_FILE when it is set.
    void Senden(const Auftrag& auftrag);
    // True from Senden until its report was delivered.
    bool laeuft() const;
    // Stops the running transfer at once and drops the waiting ones; none of them is reported
    // and laeuft() is false afterwards. A message the server had taken already stays sent.
    void Abbrechen();

    // The one-line body of the result mail: "Notenliste von " + name + ":".
    static QString Nachrichtentext(const QString& unterschrift);

    // The reason of a failed transfer for the teacher and the school's IT, one German line
    // ending in the code: "Grund: Der Mailserver hat die Anmeldung abgelehnt. (Fehler 67)".
    static QString Fehlergrund(int code);

    // The fallback address for the teacher's own mail program, percent-encoded:
    // mailto:<empfaenger>?subject=<betreff>
    static QUrl MailtoAdresse(const QString& empfaenger, const QString& betreff);

signals:
    void MailSent(const QString& kennung);
    // code: the positive libcurl error code.
    void Error(const QString& kennung, int code);

private:
    struct Intern;
    void melden(quint64 nummer, const QString& kennung, int code);
    std::unique_ptr<Intern> z;
};
