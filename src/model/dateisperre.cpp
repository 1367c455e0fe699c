#include "dateisperre.h"

#include <QFileInfo>
#include <QLockFile>

Dateisperre::Dateisperre() = default;
Dateisperre::~Dateisperre() = default;
Dateisperre::Dateisperre(Dateisperre&& andere) noexcept = default;
Dateisperre& Dateisperre::operator=(Dateisperre&& andere) noexcept = default;

QString Dateisperre::SperrdateiVon(const QString& pfad)
{
    const QFileInfo info(pfad);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

bool Dateisperre::Gesperrt() const
{
    return zSperre && zSperre->isLocked();
}

Dateisperre::Stand Dateisperre::Sperren(const QString& pfad)
{
    Freigeben();
    auto sperre = std::make_unique<QLockFile>(SperrdateiVon(pfad));
    // The lock lasts as long as the file is open, hours if need be: it never goes stale by
    // its age, only when the copy that holds it no longer runs.
    sperre->setStaleLockTime(0);
    if (sperre->tryLock(0)) {
        zSperre = std::move(sperre);
        zDatei = QFileInfo(pfad).absoluteFilePath();
        return Stand::Gesperrt;
    }
    if (sperre->error() != QLockFile::LockFailedError)
        return Stand::NichtMoeglich;
    zBesitzer = Besitzer();
    QString anwendung;
    sperre->getLockInfo(&zBesitzer.prozess, &zBesitzer.rechner, &anwendung);
    zBesitzer.seit = QFileInfo(SperrdateiVon(pfad)).lastModified();
    return Stand::Vergeben;
}

void Dateisperre::Freigeben()
{
    if (zSperre)
        zSperre->unlock();
    zSperre.reset();
    zDatei.clear();
}
