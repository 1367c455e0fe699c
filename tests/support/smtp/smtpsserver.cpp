#include "smtpsserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#ifndef SMTPS_SKRIPT
#error "SMTPS_SKRIPT must name tests/support/smtp/smtps_server.py"
#endif

namespace {
const QString python = QStringLiteral("/usr/bin/python3");
}

SmtpsServer::SmtpsServer(Modus modus, const QString& benutzer, const QString& pass)
    : zModus(modus)
    , zBenutzer(benutzer)
    , zPass(pass)
{
    // The server's own complaints go straight to the test's output.
    zProzess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SmtpsServer::~SmtpsServer()
{
    if (zProzess.state() == QProcess::NotRunning)
        return;
    zProzess.closeWriteChannel(); // the script ends at the end of its input
    if (!zProzess.waitForFinished(5000)) {
        zProzess.terminate();
        if (!zProzess.waitForFinished(3000)) {
            zProzess.kill();
            zProzess.waitForFinished(3000);
        }
    }
}

QString SmtpsServer::pfad(const QString& name) const
{
    return zOrdner.filePath(name);
}

QString SmtpsServer::vertrauteZertifikate() const
{
    return pfad(QStringLiteral("ca.pem"));
}

QString SmtpsServer::fremdeZertifikate() const
{
    return pfad(QStringLiteral("fremd-ca.pem"));
}

bool SmtpsServer::openssl(const QStringList& argumente)
{
    QProcess p;
    p.setWorkingDirectory(zOrdner.path());
    p.start(QStringLiteral("openssl"), argumente);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        zFehler = QStringLiteral("openssl %1: %2 %3")
                      .arg(argumente.join(u' '), p.errorString(),
                          QString::fromLocal8Bit(p.readAllStandardError()));
        return false;
    }
    return true;
}

bool SmtpsServer::zertifikateErstellen()
{
    const QStringList ec
        = { QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
              QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes") };
    auto ca = [&](const QString& name, const QString& cn) {
        return openssl(QStringList { QStringLiteral("req"), QStringLiteral("-x509") } + ec
            + QStringList { QStringLiteral("-keyout"), name + QStringLiteral(".key"),
                QStringLiteral("-out"), name + QStringLiteral(".pem"), QStringLiteral("-days"),
                QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=") + cn });
    };
    if (!ca(QStringLiteral("ca"), QStringLiteral("Test-CA Mailversand"))
        || !ca(QStringLiteral("fremd-ca"), QStringLiteral("Fremde Test-CA")))
        return false;
    if (!openssl(QStringList { QStringLiteral("req") } + ec
            + QStringList { QStringLiteral("-keyout"), QStringLiteral("server.key"),
                QStringLiteral("-out"), QStringLiteral("server.csr"), QStringLiteral("-subj"),
                QStringLiteral("/CN=127.0.0.1") }))
        return false;
    QFile erweiterungen(pfad(QStringLiteral("server.ext")));
    if (!erweiterungen.open(QIODevice::WriteOnly)) {
        zFehler = erweiterungen.errorString();
        return false;
    }
    erweiterungen.write("basicConstraints=CA:FALSE\n"
                        "keyUsage=digitalSignature,keyEncipherment\n"
                        "extendedKeyUsage=serverAuth\n"
                        "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    erweiterungen.close();
    return openssl({ QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
        QStringLiteral("server.csr"), QStringLiteral("-CA"), QStringLiteral("ca.pem"),
        QStringLiteral("-CAkey"), QStringLiteral("ca.key"), QStringLiteral("-CAcreateserial"),
        QStringLiteral("-out"), QStringLiteral("server.pem"), QStringLiteral("-days"),
        QStringLiteral("2"), QStringLiteral("-extfile"), QStringLiteral("server.ext") });
}

void SmtpsServer::ausgabeLesen()
{
    zAusgabe += zProzess.readAllStandardOutput();
    qsizetype ende;
    while ((ende = zAusgabe.indexOf('\n')) >= 0) {
        const QByteArray zeile = zAusgabe.left(ende).trimmed();
        zAusgabe.remove(0, ende + 1);
        if (zeile.startsWith("PORT "))
            zPort = zeile.mid(5).toInt();
        else if (!zeile.isEmpty())
            ++zZeilen[zeile];
    }
}

bool SmtpsServer::starten()
{
    if (!zOrdner.isValid()) {
        zFehler = QStringLiteral("Kein temporärer Ordner");
        return false;
    }
    QStringList argumente { QStringLiteral(SMTPS_SKRIPT) };
    if (zModus == Modus::Normal) {
        if (!zertifikateErstellen())
            return false;
        QDir(zOrdner.path()).mkdir(QStringLiteral("postfach"));
        argumente << QStringLiteral("normal") << QStringLiteral("--cert")
                  << pfad(QStringLiteral("server.pem")) << QStringLiteral("--key")
                  << pfad(QStringLiteral("server.key")) << QStringLiteral("--user") << zBenutzer
                  << QStringLiteral("--password") << zPass << QStringLiteral("--postfach")
                  << pfad(QStringLiteral("postfach"));
        if (zVerhalten.zeitlimit > 0)
            argumente << QStringLiteral("--zeitlimit") << QString::number(zVerhalten.zeitlimit);
        if (zVerhalten.verzoegerung > 0)
            argumente << QStringLiteral("--verzoegerung")
                      << QString::number(zVerhalten.verzoegerung);
        if (zVerhalten.trennen == Verhalten::Trennen::OhneAntwort)
            argumente << QStringLiteral("--trennen") << QStringLiteral("ohne-antwort");
        else if (zVerhalten.trennen == Verhalten::Trennen::NachAntwort)
            argumente << QStringLiteral("--trennen") << QStringLiteral("nach-antwort");
    } else {
        argumente << QStringLiteral("stumm");
    }
    zProzess.start(python, argumente);
    if (!zProzess.waitForStarted(10000)) {
        zFehler = python + QStringLiteral(": ") + zProzess.errorString();
        return false;
    }
    const QDeadlineTimer frist(30000);
    while (zPort == 0) {
        if (frist.hasExpired() || zProzess.state() == QProcess::NotRunning) {
            zFehler = QStringLiteral(
                "Der Testserver meldet keinen Port (seine Fehlerausgabe steht oben)");
            return false;
        }
        zProzess.waitForReadyRead(200);
        ausgabeLesen();
    }
    return true;
}

bool SmtpsServer::warteAuf(const QByteArray& zeile, int millisekunden)
{
    const QDeadlineTimer frist(millisekunden);
    ausgabeLesen();
    while (
        zZeilen.value(zeile) == 0 && !frist.hasExpired() && zProzess.state() == QProcess::Running) {
        zProzess.waitForReadyRead(50);
        ausgabeLesen();
    }
    if (zZeilen.value(zeile) == 0)
        return false;
    --zZeilen[zeile];
    return true;
}

bool SmtpsServer::warteAufVerbindung(int millisekunden)
{
    return warteAuf("VERBUNDEN", millisekunden);
}

bool SmtpsServer::warteAufDaten(int millisekunden)
{
    return warteAuf("DATEN", millisekunden);
}

QList<SmtpsServer::Empfangen> SmtpsServer::nachrichten() const
{
    QList<Empfangen> liste;
    const QDir postfach(pfad(QStringLiteral("postfach")));
    const QStringList dateien
        = postfach.entryList({ QStringLiteral("*.json") }, QDir::Files, QDir::Name);
    for (const QString& name : dateien) {
        QFile json(postfach.filePath(name));
        QFile eml(postfach.filePath(name.chopped(5) + QStringLiteral(".eml")));
        if (!json.open(QIODevice::ReadOnly) || !eml.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject o = QJsonDocument::fromJson(json.readAll()).object();
        Empfangen e;
        e.absender = o.value(QStringLiteral("mail_from")).toString();
        for (const QJsonValue& v : o.value(QStringLiteral("rcpt_tos")).toArray())
            e.empfaenger << v.toString();
        e.nachricht = o.value(QStringLiteral("nachricht")).toObject();
        e.roh = eml.readAll();
        liste << e;
    }
    return liste;
}

int SmtpsServer::freierPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return 0;
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = 0;
    socklen_t laenge = sizeof adresse;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr*>(&adresse), &laenge) == 0)
        port = ntohs(adresse.sin_port);
    ::close(s);
    return port;
}
