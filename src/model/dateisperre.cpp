#include "dateisperre.h"

#include "sicheresschreiben.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The lock file on the disk, not only in the system's cache: a power cut right after
// locking leaves a whole lock, not an empty one.
void AufDiePlatte(const QString& sperrdatei)
{
    const int fd = ::open(QFile::encodeName(sperrdatei).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    SicheresSchreiben::OrdnerSynchronisieren(QFileInfo(sperrdatei).absolutePath());
}

QString Benutzer(const QString& sperrdatei)
{
    struct stat st { };
    if (::stat(QFile::encodeName(sperrdatei).constData(), &st) != 0)
        return {};
    const passwd* p = ::getpwuid(st.st_uid);
    return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(st.st_uid);
}

} // namespace

Dateisperre::Dateisperre() = default;
Dateisperre::~Dateisperre() = default;
Dateisperre::Dateisperre(Dateisperre&& andere) noexcept = default;
Dateisperre& Dateisperre::operator=(Dateisperre&& andere) noexcept = default;

QString Dateisperre::Vollpfad(const QString& pfad)
{
    const QFileInfo info(pfad);
    const QString kanonisch = info.canonicalFilePath();
    return kanonisch.isEmpty() ? info.absoluteFilePath() : kanonisch;
}

QString Dateisperre::SperrdateiVon(const QString& pfad)
{
    const QFileInfo info(Vollpfad(pfad));
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

bool Dateisperre::Gesperrt() const
{
    return zSperre && zSperre->isLocked();
}

Dateisperre::Stand Dateisperre::Sperren(const QString& pfad)
{
    Freigeben();
    const QString sperrdatei = SperrdateiVon(pfad);
    auto sperre = std::make_unique<QLockFile>(sperrdatei);
    // The lock lasts as long as the file is open, hours if need be: it never goes stale by
    // its age, only when the copy that holds it no longer runs.
    sperre->setStaleLockTime(0);
    if (sperre->tryLock(0)) {
        AufDiePlatte(sperrdatei);
        zSperre = std::move(sperre);
        zDatei = Vollpfad(pfad);
        return Stand::Gesperrt;
    }
    if (sperre->error() != QLockFile::LockFailedError)
        return Stand::NichtMoeglich;
    zBesitzer = Besitzer();
    zBesitzer.seit = QFileInfo(sperrdatei).lastModified();
    zBesitzer.benutzer = Benutzer(sperrdatei);
    QString anwendung;
    if (!sperre->getLockInfo(&zBesitzer.prozess, &zBesitzer.rechner, &anwendung)
        || zBesitzer.prozess <= 0)
        return Stand::Unlesbar;
    if (!zBesitzer.rechner.isEmpty() && zBesitzer.rechner != QSysInfo::machineHostName())
        return Stand::AndererRechner;
    return Stand::Vergeben;
}

Dateisperre::Stand Dateisperre::Uebernehmen(const QString& pfad)
{
    Freigeben();
    const QString sperrdatei = SperrdateiVon(pfad);
    // Only a lock that still says what the teacher was shown (not one a program here has
    // made meanwhile) goes.
    const Stand vorher = Sperren(pfad);
    if (vorher != Stand::AndererRechner && vorher != Stand::Unlesbar)
        return vorher;
    QLockFile alt(sperrdatei);
    alt.removeStaleLockFile();
    if (QFileInfo(sperrdatei).exists() || QFileInfo(sperrdatei).isSymLink())
        QFile::remove(sperrdatei);
    return Sperren(pfad);
}

void Dateisperre::Freigeben()
{
    if (zSperre)
        zSperre->unlock();
    zSperre.reset();
    zDatei.clear();
}
