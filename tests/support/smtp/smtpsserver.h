#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real SMTP server with implicit TLS on a free loopback port for the mail tests: runs
// tests/support/smtp/smtps_server.py with Debian's /usr/bin/python3 (python3-aiosmtpd).
// The certificates are made with openssl in a temporary folder: a test CA that signed the
// server's certificate (subject and alternative names 127.0.0.1 and localhost) and a second,
// unrelated CA. Received messages land in a folder of the same temporary folder.
// The destructor stops the server.
class SmtpsServer {
public:
    enum class Modus {
        Normal, // TLS from the first byte, login required, messages are stored
        Stumm // accepts connections and never says a word
    };

    // How a normal server behaves beyond the protocol (set before starten).
    struct Verhalten {
        double zeitlimit = 0; // seconds without a command after which it drops a session
        double verzoegerung = 0; // seconds between a message's arrival and its answer
        enum class Trennen {
            Nie,
            OhneAntwort, // stores the message, then drops the connection without a reply
            NachAntwort // stores the message, replies 250, then drops the connection
        } trennen
            = Trennen::Nie;
    };

    struct Empfangen {
        QString absender; // envelope MAIL FROM
        QStringList empfaenger; // envelope RCPT TO
        QByteArray roh; // the message as received
        QJsonObject nachricht; // the message as Python's MIME parser reads it
    };

    explicit SmtpsServer(Modus modus = Modus::Normal,
        const QString& benutzer = QStringLiteral("lehrer"),
        const QString& pass = QStringLiteral("geheim"));
    ~SmtpsServer();
    SmtpsServer(const SmtpsServer&) = delete;
    SmtpsServer& operator=(const SmtpsServer&) = delete;

    void setzeVerhalten(const Verhalten& verhalten) { zVerhalten = verhalten; }

    // Makes the certificates, starts the server and waits until it accepts connections.
    bool starten();
    QString fehler() const { return zFehler; }

    int port() const { return zPort; }
    QString benutzer() const { return zBenutzer; }
    QString pass() const { return zPass; }
    // A file of trusted certificates with the CA that signed the server's certificate.
    QString vertrauteZertifikate() const;
    // A file of trusted certificates with another CA only.
    QString fremdeZertifikate() const;

    // Waits until a client connected (stumm) or logged in (normal) since the last call.
    bool warteAufVerbindung(int millisekunden);
    // Waits until a message arrived (before the server's delay and answer) since the last call.
    bool warteAufDaten(int millisekunden);

    // Every message received so far, in the order of arrival.
    QList<Empfangen> nachrichten() const;

    // A loopback port on which nothing listens right now.
    static int freierPort();

private:
    bool openssl(const QStringList& argumente);
    bool zertifikateErstellen();
    void ausgabeLesen();
    QString pfad(const QString& name) const;
    bool warteAuf(const QByteArray& zeile, int millisekunden);

    Modus zModus;
    QString zBenutzer;
    QString zPass;
    QTemporaryDir zOrdner;
    QProcess zProzess;
    QByteArray zAusgabe;
    int zPort = 0;
    QHash<QByteArray, int> zZeilen; // "VERBUNDEN", "DATEN": seen and not yet waited for
    Verhalten zVerhalten;
    QString zFehler;
};
