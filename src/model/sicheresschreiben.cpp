#include "sicheresschreiben.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString Anzeige(const QString& pfad)
{
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(pfad));
}

SicheresSchreiben::Ergebnis Fehlschlag(int fehlernummer, const QString& grund)
{
    SicheresSchreiben::Ergebnis e;
    e.ok = false;
    e.fehlernummer = fehlernummer;
    e.grund = grund;
    return e;
}

} // namespace

void SicheresSchreiben::OrdnerSynchronisieren(const QString& ordner)
{
    const int fd
        = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString SicheresSchreiben::Grund(int fehlernummer, const QString& pfad)
{
    switch (fehlernummer) {
    case ENOSPC:
        return QStringLiteral("Der Datenträger ist voll.");
    case EDQUOT:
        return QStringLiteral(
            "Der Speicherplatz, der Ihnen auf dem Datenträger zusteht, ist aufgebraucht.");
    case EFBIG:
        return QStringLiteral("Die Datei wäre größer, als auf diesem Datenträger oder für dieses "
                              "Programm erlaubt ist.");
    case EIO:
        return QStringLiteral(
            "Beim Schreiben ist ein Ein-/Ausgabefehler aufgetreten; der Datenträger "
            "ist vielleicht beschädigt oder nicht mehr verbunden.");
    case EROFS:
        return QStringLiteral("Der Datenträger mit %1 ist schreibgeschützt.").arg(Anzeige(pfad));
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Schreibrechte für %1.").arg(Anzeige(pfad));
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Den Ordner %1 gibt es nicht.")
            .arg(Anzeige(QFileInfo(pfad).absolutePath()));
    case EISDIR:
        return QStringLiteral("%1 ist ein Ordner, keine Datei.").arg(Anzeige(pfad));
    case ENAMETOOLONG:
        return QStringLiteral("Der Name %1 ist zu lang.").arg(Anzeige(pfad));
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien gleichzeitig geöffnet.");
    case ENOMEM:
        return QStringLiteral("Es ist nicht genug Arbeitsspeicher frei.");
    case 0:
        return QStringLiteral("Die Datei %1 konnte nicht vollständig geschrieben werden.")
            .arg(Anzeige(pfad));
    default:
        return QStringLiteral("Das Betriebssystem meldet Fehler %1 (%2).")
            .arg(fehlernummer)
            .arg(QString::fromLocal8Bit(std::strerror(fehlernummer)));
    }
}

SicheresSchreiben::Ergebnis SicheresSchreiben::Schreiben(
    const QString& pfad, const QByteArray& bytes)
{
    if (pfad.isEmpty())
        return Fehlschlag(0, QStringLiteral("Es ist keine Datei angegeben."));
    const QFileInfo ziel(pfad);
    const QString ordner = ziel.absolutePath();
    if (ziel.isDir())
        return Fehlschlag(EISDIR, Grund(EISDIR, pfad));
    if (!QFileInfo(ordner).isDir())
        return Fehlschlag(ENOENT, Grund(ENOENT, pfad));
    // A file the teacher may not change is not replaced, even though the folder would allow
    // a new file in its place.
    if (ziel.exists() && ::access(QFile::encodeName(pfad).constData(), W_OK) != 0) {
        const int nummer = errno;
        return Fehlschlag(nummer, Grund(nummer, pfad));
    }
    // The new file is made beside the old one; where that is not possible the save fails
    // (writing the old file in place could leave it half written).
    const auto keinPlatzDaneben = [&](int nummer) {
        const QString wo = nummer == EACCES || nummer == EPERM ? ordner : pfad;
        return Fehlschlag(nummer,
            Grund(nummer, wo)
                + QStringLiteral(" Die Datei wird nur durch eine neue Datei im "
                                 "selben Ordner ersetzt, damit sie nie halb "
                                 "geschrieben zurückbleibt."));
    };
    if (::access(QFile::encodeName(ordner).constData(), W_OK) != 0)
        return keinPlatzDaneben(errno);

    QSaveFile datei(pfad);
    datei.setDirectWriteFallback(false);
    errno = 0;
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int nummer = errno;
        if (nummer != 0)
            return keinPlatzDaneben(nummer);
        return Fehlschlag(0,
            QStringLiteral("Neben der Datei kann keine neue Datei angelegt werden (%1).")
                .arg(datei.errorString()));
    }
    // Written straight to the descriptor: every short write and its error number are seen
    // here, and nothing is left in a buffer for commit() to flush unchecked.
    const int fd = datei.handle();
    int nummer = AllesSchreiben(fd, bytes);
    if (nummer == 0 && ::fsync(fd) != 0)
        nummer = errno;
    if (nummer != 0) {
        datei.cancelWriting(); // the temporary file goes with the object
        return Fehlschlag(nummer, Grund(nummer, pfad));
    }
    errno = 0;
    if (!datei.commit()) {
        const int n = errno;
        return Fehlschlag(n,
            n != 0 ? Grund(n, pfad)
                   : QStringLiteral("Die neue Datei konnte nicht an die Stelle der "
                                    "alten treten (%1).")
                         .arg(datei.errorString()));
    }
    // The rename of the new file is on the disk only once its folder is synced too.
    OrdnerSynchronisieren(ordner);
    Ergebnis gut;
    gut.ok = true;
    return gut;
}

int SicheresSchreiben::AllesSchreiben(int fd, const QByteArray& bytes)
{
    const char* daten = bytes.constData();
    qint64 rest = bytes.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, daten, size_t(rest));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        daten += n;
        rest -= n;
    }
    return 0;
}
