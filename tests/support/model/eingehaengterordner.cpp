#include "eingehaengterordner.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace {

QString Fehlertext(const char* was)
{
    return QStringLiteral("%1: %2").arg(
        QString::fromLatin1(was), QString::fromLocal8Bit(std::strerror(errno)));
}

// Once per process: a mount namespace of its own whose mounts do not reach the system.
bool EigenerNamensraum()
{
    static const bool gelungen = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return false;
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return gelungen;
}

} // namespace

EingehaengterOrdner::~EingehaengterOrdner()
{
    Aushaengen();
}

bool EingehaengterOrdner::Einhaengen(const QString& ordner, qint64 groesse, QString* grund)
{
    EigenerNamensraum();
    const QByteArray optionen = "size=" + QByteArray::number(groesse) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(ordner).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
            optionen.constData())
        != 0) {
        if (grund)
            *grund = Fehlertext("mount tmpfs");
        return false;
    }
    zOrdner = ordner;
    return true;
}

bool EingehaengterOrdner::NurLesendEinhaengen(
    const QString& quelle, const QString& ordner, QString* grund)
{
    EigenerNamensraum();
    const QByteArray ziel = QFile::encodeName(ordner);
    if (::mount(QFile::encodeName(quelle).constData(), ziel.constData(), nullptr, MS_BIND, nullptr)
        != 0) {
        if (grund)
            *grund = Fehlertext("mount --bind");
        return false;
    }
    zOrdner = ordner;
    if (::mount(nullptr, ziel.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr)
        != 0) {
        if (grund)
            *grund = Fehlertext("mount -o remount,bind,ro");
        Aushaengen();
        return false;
    }
    return true;
}

void EingehaengterOrdner::Aushaengen()
{
    if (zOrdner.isEmpty())
        return;
    ::umount2(QFile::encodeName(zOrdner).constData(), MNT_DETACH);
    zOrdner.clear();
}

qint64 EingehaengterOrdner::Fuellen(const QString& name)
{
    QFile f(zOrdner + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 0;
    const QByteArray block(4096, 'F');
    qint64 gesamt = 0;
    for (;;) {
        const qint64 n = f.write(block);
        if (n <= 0)
            break;
        gesamt += n;
    }
    // The last page may take a part of a block.
    const QByteArray byte(1, 'F');
    while (f.write(byte) == 1)
        ++gesamt;
    return gesamt;
}

qint64 EingehaengterOrdner::Frei() const
{
    struct statvfs info { };
    if (::statvfs(QFile::encodeName(zOrdner).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}
