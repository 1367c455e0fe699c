#include "sicheresschreiben.h"

#include "dateirechte.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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
    case EEXIST:
        return QStringLiteral("%1 gibt es schon.").arg(Anzeige(pfad));
    case ELOOP:
        return QStringLiteral("%1 ist eine Verknüpfung; dorthin wird nicht geschrieben.")
            .arg(Anzeige(pfad));
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

namespace {

// This computer, in the names of temporary files: a file of another computer (a shared folder,
// a stick) is never taken for one of a program that died here.
QString Rechnerkennung()
{
    static const QString kennung = QString::fromLatin1(
        QCryptographicHash::hash(QSysInfo::machineHostName().toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(8));
    return kennung;
}

QString TemporaerAnfang(const QString& name)
{
    return QLatin1Char('.') + name + QStringLiteral(".RAVIRIreru-") + Rechnerkennung()
        + QLatin1Char('-');
}

const QString TemporaerEnde = QStringLiteral(".tmp");

// The new file of one save: made in the target's folder, removed again unless it took the
// target's place.
class NeueDatei {
public:
    explicit NeueDatei(int ordner)
        : zOrdner(ordner)
    {
    }
    ~NeueDatei()
    {
        if (zFd >= 0)
            ::close(zFd);
        if (!zName.isEmpty())
            ::unlinkat(zOrdner, zName.constData(), 0);
        ::close(zOrdner);
    }
    NeueDatei(const NeueDatei&) = delete;
    NeueDatei& operator=(const NeueDatei&) = delete;

    int fd() const { return zFd; }

    // 0 or the error number.
    int Anlegen(const QString& name)
    {
        static const bool namenlos = ::access("/proc/self/fd", X_OK) == 0;
        if (namenlos) {
            zFd = ::openat(zOrdner, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
            if (zFd >= 0)
                return 0;
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return errno;
        }
        for (int n = 0;; ++n) {
            const QByteArray versuch = Temporaer(name, n);
            zFd = ::openat(zOrdner, versuch.constData(),
                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (zFd >= 0) {
                zName = versuch;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
    }

    // Puts the written file in place of name (ersetzen) or under name where nothing is
    // (else EEXIST). 0 or the error number.
    int Einsetzen(const QString& name, SicheresSchreiben::Ersetzen ersetzen)
    {
        const QByteArray ziel = QFile::encodeName(name);
        if (ersetzen == SicheresSchreiben::Ersetzen::Nie) {
            const int r = zName.isEmpty()
                ? ::linkat(
                    AT_FDCWD, Proc().constData(), zOrdner, ziel.constData(), AT_SYMLINK_FOLLOW)
                : ::linkat(zOrdner, zName.constData(), zOrdner, ziel.constData(), 0);
            return r == 0 ? 0 : errno;
        }
        for (int n = 0; zName.isEmpty(); ++n) {
            const QByteArray versuch = Temporaer(name, n);
            if (::linkat(
                    AT_FDCWD, Proc().constData(), zOrdner, versuch.constData(), AT_SYMLINK_FOLLOW)
                == 0)
                zName = versuch;
            else if (errno != EEXIST)
                return errno;
        }
        if (::renameat(zOrdner, zName.constData(), zOrdner, ziel.constData()) != 0)
            return errno;
        zName.clear();
        return 0;
    }

private:
    QByteArray Proc() const { return "/proc/self/fd/" + QByteArray::number(zFd); }
    static QByteArray Temporaer(const QString& name, int n)
    {
        return QFile::encodeName(SicheresSchreiben::Temporaerdatei(name, ::getpid(), n));
    }

    int zOrdner;
    int zFd = -1;
    QByteArray zName;
};

} // namespace

QString SicheresSchreiben::Temporaerdatei(const QString& pfad, qint64 prozess, int n)
{
    const QFileInfo info(pfad);
    const QString name = TemporaerAnfang(info.fileName()) + QString::number(prozess)
        + QLatin1Char('-') + QString::number(n) + TemporaerEnde;
    return info.path() == QLatin1String(".") && !pfad.startsWith(QLatin1String("./"))
        ? name
        : info.path() + QLatin1Char('/') + name;
}

int SicheresSchreiben::Aufraeumen(const QString& pfad)
{
    const QFileInfo info(pfad);
    const QDir ordner = info.absoluteDir();
    const QString anfang = TemporaerAnfang(info.fileName());
    int entfernt = 0;
    const QStringList namen = ordner.entryList(
        { anfang + QLatin1Char('*') }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : namen) {
        if (!name.endsWith(TemporaerEnde))
            continue;
        const QString rest = name.mid(anfang.size());
        bool zahl = false;
        const qint64 prozess = rest.section(QLatin1Char('-'), 0, 0).toLongLong(&zahl);
        if (!zahl || prozess <= 0 || prozess == ::getpid())
            continue;
        // Only while no program of that number runs here (it may still be saving).
        if (::kill(pid_t(prozess), 0) == 0 || errno != ESRCH)
            continue;
        const QByteArray datei = QFile::encodeName(ordner.filePath(name));
        struct stat st { };
        if (::lstat(datei.constData(), &st) != 0 || !S_ISREG(st.st_mode)
            || st.st_uid != ::geteuid())
            continue;
        if (::unlink(datei.constData()) == 0)
            ++entfernt;
    }
    if (entfernt > 0)
        OrdnerSynchronisieren(ordner.absolutePath());
    return entfernt;
}

SicheresSchreiben::Ergebnis SicheresSchreiben::Schreiben(
    const QString& pfad, const QByteArray& bytes, const QString& vorbild, Ersetzen ersetzen)
{
    if (pfad.isEmpty())
        return Fehlschlag(0, QStringLiteral("Es ist keine Datei angegeben."));
    QFileInfo ziel(pfad);
    if (ziel.isSymLink()) {
        if (ersetzen == Ersetzen::Nie)
            return Fehlschlag(EEXIST, Grund(EEXIST, pfad));
        // The file a link names is written, the link stays.
        const QString wohin = ziel.canonicalFilePath();
        if (wohin.isEmpty())
            return Fehlschlag(ENOENT,
                QStringLiteral("%1 ist eine Verknüpfung auf eine Datei, die es nicht gibt.")
                    .arg(Anzeige(pfad)));
        ziel = QFileInfo(wohin);
    }
    const QString ordner = ziel.absolutePath();
    if (ziel.isDir())
        return Fehlschlag(EISDIR, Grund(EISDIR, pfad));
    if (!QFileInfo(ordner).isDir())
        return Fehlschlag(ENOENT, Grund(ENOENT, pfad));
    // A file the teacher may not change is not replaced, even though the folder would allow
    // a new file in its place.
    if (ziel.exists()
        && ::access(QFile::encodeName(ziel.absoluteFilePath()).constData(), W_OK) != 0) {
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

    Aufraeumen(ziel.absoluteFilePath());
    const int ordnerFd
        = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (ordnerFd < 0)
        return keinPlatzDaneben(errno);
    NeueDatei neu(ordnerFd);
    if (const int nummer = neu.Anlegen(ziel.fileName()); nummer != 0)
        return keinPlatzDaneben(nummer);
    // Its rights before its content: the grades are never open to more users than before.
    const Dateirechte::Stand alt = ersetzen == Ersetzen::Ja
        ? Dateirechte::Von(ziel.absoluteFilePath())
        : Dateirechte::Stand();
    const QString rechteHinweis
        = Dateirechte::Anwenden(neu.fd(), alt.bekannt ? alt : Dateirechte::FuerNeu(vorbild), pfad);
    // Written straight to the descriptor: every short write and its error number are seen.
    int nummer = AllesSchreiben(neu.fd(), bytes);
    if (nummer == 0 && ::fsync(neu.fd()) != 0)
        nummer = errno;
    if (nummer != 0)
        return Fehlschlag(nummer, Grund(nummer, pfad));
    if (const int n = neu.Einsetzen(ziel.fileName(), ersetzen); n != 0)
        return Fehlschlag(n, Grund(n, pfad));
    // The rename of the new file is on the disk only once its folder is synced too.
    OrdnerSynchronisieren(ordner);
    Ergebnis gut;
    gut.ok = true;
    gut.rechteHinweis = rechteHinweis;
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
