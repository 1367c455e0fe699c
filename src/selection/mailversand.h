#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

// The mail client of the selection window: SMTP with implicit TLS (smtps://, port 465,
// TLS 1.2 or newer, server certificate verified) through libcurl. A transfer runs on a worker
// thread; its outcome arrives as one of the two signals on the thread that owns this object.
class Mailversand : public QObject {
    Q_OBJECT
public:
    struct Auftrag {
        QString server;       // host name or address
        int port = 465;
        QString benutzer;
        QString pass;
        QString absender;
        QString empfaenger;
        QString betreff;      // the name stem
        QString text;         // the one-line plain text body
        QString dateiPfad;    // the saved result file, attached under its own file name
        // The caller's tag for the transfer (the course whose file is sent); given back with
        // the report so that the report applies to that course.
        QString kennung;
    };

    explicit Mailversand(QObject* parent = nullptr);
    ~Mailversand() override;   // waits for a running transfer to end

    // Starts the transfer and returns at once.
    void Senden(const Auftrag& auftrag);
    bool laeuft() const;

    // The fallback address for the teacher's own mail program, percent-encoded:
    // mailto:<empfaenger>?subject=<betreff>
    static QUrl MailtoAdresse(const QString& empfaenger, const QString& betreff);

signals:
    void MailSent(const QString& kennung);
    // code: the positive libcurl error code.
    void Error(const QString& kennung, int code);
};
