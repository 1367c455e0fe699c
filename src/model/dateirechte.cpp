#include "dateirechte.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const char* const Zugriffsliste = "system.posix_acl_access";

QByteArray Name(const QString& pfad)
{
    return QFile::encodeName(pfad);
}

QString Anzeige(const QString& pfad)
{
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(pfad));
}

QByteArray ListeLesen(const QByteArray& name)
{
    QByteArray liste(4096, Qt::Uninitialized);
    const ssize_t n = ::getxattr(name.constData(), Zugriffsliste, liste.data(), liste.size());
    if (n <= 0)
        return {};
    liste.truncate(n);
    return liste;
}

bool Root()
{
    return ::geteuid() == 0;
}

} // namespace

Dateirechte::Stand Dateirechte::Von(const QString& pfad)
{
    Stand stand;
    struct stat info { };
    const QByteArray name = Name(pfad);
    if (pfad.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return stand;
    stand.bekannt = true;
    stand.modus = info.st_mode & 0777;
    stand.besitzer = info.st_uid;
    stand.gruppe = info.st_gid;
    stand.zugriffsliste = ListeLesen(name);
    return stand;
}

Dateirechte::Stand Dateirechte::FuerNeu(const QString& vorbild)
{
    Stand stand = Von(vorbild);
    stand.modus = (stand.bekannt ? stand.modus & 0066 : 0) | 0600;
    return stand;
}

QString Dateirechte::Anwenden(int fd, const Stand& stand, const QString& pfad)
{
    QString hinweis;
    mode_t modus = stand.bekannt ? stand.modus : mode_t(0600);
    bool mitListe = stand.bekannt && !stand.zugriffsliste.isEmpty();
    struct stat jetzt { };
    if (::fstat(fd, &jetzt) != 0)
        return QStringLiteral("Die Rechte von %1 konnten nicht gesetzt werden.").arg(Anzeige(pfad));
    if (stand.bekannt) {
        // As root the file stays the teacher's; a user keeps the group if he belongs to it.
        const uid_t besitzer = Root() ? stand.besitzer : uid_t(-1);
        if ((jetzt.st_gid != stand.gruppe || (Root() && jetzt.st_uid != stand.besitzer))
            && ::fchown(fd, besitzer, stand.gruppe) != 0) {
            // The group the rights were meant for is not this file's: it gets nothing.
            modus &= ~mode_t(0070);
            mitListe = false;
            hinweis = QStringLiteral("%1 gehört jetzt Ihrer eigenen Gruppe, nicht mehr der "
                                     "Gruppe der bisherigen Datei; Mitglieder dieser Gruppe "
                                     "und weitere Berechtigte können sie nicht mehr lesen.")
                          .arg(Anzeige(pfad));
        }
    }
    // A list the folder handed down by default never stays: only the one copied.
    if (mitListe) {
        if (::fsetxattr(fd, Zugriffsliste, stand.zugriffsliste.constData(),
                size_t(stand.zugriffsliste.size()), 0)
            != 0) {
            modus &= ~mode_t(0070);
            hinweis = QStringLiteral("Die Zugriffsrechte für weitere Benutzer ließen sich auf "
                                     "%1 nicht übertragen; die Datei ist jetzt nur für Sie "
                                     "lesbar.")
                          .arg(Anzeige(pfad));
        }
    } else if (::fremovexattr(fd, Zugriffsliste) != 0 && errno != ENODATA && errno != ENOTSUP) {
        modus &= ~mode_t(0077);
    }
    if (::fchmod(fd, modus) != 0 && hinweis.isEmpty())
        hinweis
            = QStringLiteral("Die Rechte von %1 konnten nicht gesetzt werden.").arg(Anzeige(pfad));
    return hinweis;
}

int Dateirechte::OrdnerAnlegen(const QString& ordner, const QString& vorbild)
{
    const QByteArray name = Name(ordner);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? ENOTDIR : errno;
    struct stat info { };
    int nummer = 0;
    if (::fstat(fd, &info) != 0)
        nummer = errno;
    else if (info.st_uid == ::geteuid() && (info.st_mode & 0077) != 0 && ::fchmod(fd, 0700) != 0)
        nummer = errno;
    if (nummer == 0 && Root()) {
        const Stand stand = Von(vorbild);
        // A folder root makes for the teacher goes to the teacher; when that fails it stays
        // root's own, which is narrower still, so the result changes nothing.
        if (stand.bekannt && info.st_uid != stand.besitzer) {
            [[maybe_unused]] const int uebergeben = ::fchown(fd, stand.besitzer, stand.gruppe);
        }
    }
    ::close(fd);
    return nummer;
}

int Dateirechte::Vorbereiten(const QString& pfad, const QString& vorbild, QString& hinweis)
{
    const QByteArray name = Name(pfad);
    const Stand alt = Von(pfad);
    const int fd = ::open(
        name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return errno;
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    hinweis = Anwenden(fd, alt.bekannt ? alt : FuerNeu(vorbild), pfad);
    ::close(fd);
    return 0;
}
