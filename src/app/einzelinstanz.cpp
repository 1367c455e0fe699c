#include "einzelinstanz.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QUrl>

#include <memory>

namespace {

// What a start says, and the running program's answer.
const QByteArray Kennung = "RAVIRIreru-Start 1\n";
const QByteArray Antwort = "angenommen\n";
// A request is a short line; anything longer is not ours.
constexpr qint64 HoechstensBytes = 64 * 1024;

} // namespace

Einzelinstanz::Einzelinstanz(QString name, QObject* parent)
    : QObject(parent)
    , zName(std::move(name))
{
    connect(&zServer, &QLocalServer::newConnection, this, &Einzelinstanz::NeueVerbindung);
}

QString Einzelinstanz::StandardName()
{
    QString nutzer = qEnvironmentVariable("USER");
    if (nutzer.isEmpty())
        nutzer = qEnvironmentVariable("USERNAME");
    const QString anzeige = QGuiApplication::platformName() + QLatin1Char('|')
        + qEnvironmentVariable("DISPLAY") + QLatin1Char('|')
        + qEnvironmentVariable("WAYLAND_DISPLAY");
    const QByteArray kennung = QCryptographicHash::hash(
        (nutzer + QLatin1Char('|') + anzeige).toUtf8(), QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(16);
    const QString name = QStringLiteral("ravirireru-") + QString::fromLatin1(kennung);
    const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!laufzeit.isEmpty() && QFileInfo(laufzeit).isDir())
        return QDir(laufzeit).filePath(name);
    return name;
}

bool Einzelinstanz::Uebergeben(const QString& dokument, int wartezeitMs) const
{
    QLocalSocket verbindung;
    verbindung.connectToServer(zName);
    if (!verbindung.waitForConnected(wartezeitMs))
        return false;
    // Percent-encoded, so that no character of a file name ends the line early.
    verbindung.write(Kennung + QUrl::toPercentEncoding(dokument) + '\n');
    if (!verbindung.waitForBytesWritten(wartezeitMs))
        return false;
    QByteArray gelesen;
    while (!gelesen.endsWith('\n') && gelesen.size() < Antwort.size()) {
        if (!verbindung.waitForReadyRead(wartezeitMs))
            return false;
        gelesen += verbindung.readAll();
    }
    return gelesen == Antwort;
}

bool Einzelinstanz::Lauschen()
{
    zServer.setSocketOptions(QLocalServer::UserAccessOption);
    if (zServer.listen(zName))
        return true;
    if (zServer.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Nobody answered under the name (Uebergeben came first): what is left is the socket of
    // a program that ended without taking it away.
    QLocalServer::removeServer(zName);
    return zServer.listen(zName);
}

void Einzelinstanz::NeueVerbindung()
{
    while (QLocalSocket* verbindung = zServer.nextPendingConnection()) {
        connect(verbindung, &QLocalSocket::disconnected, verbindung, &QObject::deleteLater);
        auto puffer = std::make_shared<QByteArray>();
        connect(verbindung, &QLocalSocket::readyRead, this, [this, verbindung, puffer] {
            *puffer += verbindung->readAll();
            if (puffer->size() > HoechstensBytes
                || !puffer->startsWith(Kennung.left(puffer->size()))) {
                verbindung->abort();
                return;
            }
            if (puffer->size() <= Kennung.size() || !puffer->endsWith('\n'))
                return;
            const QString dokument = QUrl::fromPercentEncoding(
                puffer->mid(Kennung.size(), puffer->size() - Kennung.size() - 1));
            puffer->clear();
            verbindung->write(Antwort);
            verbindung->flush();
            verbindung->disconnectFromServer();
            emit Angefordert(dokument);
        });
    }
}
