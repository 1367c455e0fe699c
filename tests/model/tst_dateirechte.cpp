// Who may read what the program writes: the saved course-list file keeps its mode, group and
// access list; its backups, "Sichern unter …", the result file, a PDF print and the file
// tool's output are no more open than the course-list file; the folders and the journal are
// the user's alone; the umask plays no part. As root, a user made for the test reads none of
// it, a colleague named in the access list reads what the list gives him.

#include "aufzeichnendeplattform.h"
#include "dateihelfer.h"
#include "dateirechte.h"
#include "eingabejournal.h"
#include "kurslistenbauer.h"
#include "sicherungskopien.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool Root()
{
    return ::geteuid() == 0;
}

// A user of this computer made for the test (as root) and removed after.
class Testbenutzer {
public:
    explicit Testbenutzer(const QString& name)
        : zName(name + QString::number(::getpid()))
    {
        if (!Root())
            return;
        if (QProcess::execute(QStringLiteral("useradd"),
                { QStringLiteral("-M"), QStringLiteral("-N"), QStringLiteral("-g"),
                    QStringLiteral("nogroup"), QStringLiteral("-s"),
                    QStringLiteral("/usr/sbin/nologin"), zName })
            != 0)
            return;
        if (const passwd* p = ::getpwnam(zName.toLocal8Bit().constData())) {
            zUid = p->pw_uid;
            zGid = p->pw_gid;
        }
    }
    ~Testbenutzer()
    {
        if (zUid != uid_t(-1))
            QProcess::execute(QStringLiteral("userdel"), { zName });
    }
    bool ok() const { return zUid != uid_t(-1); }
    uid_t uid() const { return zUid; }
    QString name() const { return zName; }

    // Whether this user can open the file at pfad for reading (tried in a child process
    // that has become him).
    bool KannLesen(const QString& pfad) const
    {
        const QByteArray name = QFile::encodeName(pfad);
        const pid_t kind = ::fork();
        if (kind == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(zGid) != 0 || ::setuid(zUid) != 0)
                ::_exit(2);
            const int fd = ::open(name.constData(), O_RDONLY);
            ::_exit(fd >= 0 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(kind, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    QString zName;
    uid_t zUid = uid_t(-1);
    gid_t zGid = gid_t(-1);
};

// The access list as getfacl shows it, without the header (owner, group and file name).
QString Zugriffsliste(const QString& pfad)
{
    QProcess p;
    p.start(QStringLiteral("getfacl"),
        { QStringLiteral("--omit-header"), QStringLiteral("--absolute-names"), pfad });
    p.waitForFinished();
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

mode_t Modus(const QString& pfad)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

gid_t Gruppe(const QString& pfad)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_gid : gid_t(-1);
}

// A group other than the user's own that a file can be given: "users" as root, else a
// further group the user belongs to; -1 when there is none.
gid_t AndereGruppe()
{
    if (Root()) {
        const group* g = ::getgrnam("users");
        return g ? g->gr_gid : gid_t(-1);
    }
    gid_t gruppen[64];
    const int n = ::getgroups(64, gruppen);
    for (int i = 0; i < n; ++i)
        if (gruppen[i] != ::getegid())
            return gruppen[i];
    return gid_t(-1);
}

class Umask {
public:
    explicit Umask(mode_t maske)
        : zVorher(::umask(maske))
    {
    }
    ~Umask() { ::umask(zVorher); }

private:
    mode_t zVorher;
};

QString Oktal(mode_t m)
{
    return QString::number(m, 8).rightJustified(4, QLatin1Char('0'));
}

} // namespace

class TestDateirechte : public QObject {
    Q_OBJECT

    // The folders of a test; they go after the global data has let go of its lock.
    std::unique_ptr<QTemporaryDir> zWurzel;

private slots:
    void init() { GlobaleDatenZuruecksetzen(); }
    void cleanup()
    {
        GlobaleDatenZuruecksetzen();
        zWurzel.reset();
    }

    void tabelle_data()
    {
        QTest::addColumn<int>("maske");
        QTest::addColumn<int>("modus");
        QTest::addColumn<bool>("listeUndGruppe"); // an access list entry and another group
        QTest::newRow("umask 022, Datei 0600") << 0022 << 0600 << false;
        QTest::newRow("umask 077, Datei 0600") << 0077 << 0600 << false;
        QTest::newRow("umask 022, Datei 0640 mit Liste und Gruppe") << 0022 << 0640 << true;
        QTest::newRow("umask 077, Datei 0640 mit Liste und Gruppe") << 0077 << 0640 << true;
    }

    void tabelle()
    {
        QFETCH(int, maske);
        QFETCH(int, modus);
        QFETCH(bool, listeUndGruppe);
        const Umask umask(mode_t(maske & 0777));

        // The folders as on a shared computer: open for everyone to pass through.
        zWurzel = std::make_unique<QTemporaryDir>();
        QTemporaryDir& wurzel = *zWurzel;
        QVERIFY(wurzel.isValid());
        QVERIFY(::chmod(QFile::encodeName(wurzel.path()).constData(), 0755) == 0);
        const QString ordner = wurzel.filePath(QStringLiteral("Kurse"));
        const QString anderer = wurzel.filePath(QStringLiteral("Anderswo"));
        const QString anwendungsdaten = wurzel.filePath(QStringLiteral("Daten"));
        for (const QString& o : { ordner, anderer, anwendungsdaten }) {
            QVERIFY(QDir().mkpath(o));
            QVERIFY(::chmod(QFile::encodeName(o).constData(), 0755) == 0);
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(anwendungsdaten));

        Testbenutzer fremder(QStringLiteral("rvfremd"));
        Testbenutzer kollege(QStringLiteral("rvkoll"));
        const QString pfad = ordner + QStringLiteral("/Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(::chmod(QFile::encodeName(pfad).constData(), mode_t(modus)) == 0);
        gid_t gruppe = Gruppe(pfad);
        if (listeUndGruppe) {
            const gid_t andere = AndereGruppe();
            if (andere == gid_t(-1))
                QSKIP("Es gibt keine weitere Gruppe, der die Datei gehören könnte.");
            QVERIFY(::chown(QFile::encodeName(pfad).constData(), uid_t(-1), andere) == 0);
            gruppe = andere;
            const QString wer = kollege.ok() ? kollege.name() : QString::number(::geteuid() + 4242);
            QCOMPARE(QProcess::execute(QStringLiteral("setfacl"),
                         { QStringLiteral("-m"), QStringLiteral("u:%1:r").arg(wer), pfad }),
                0);
            QVERIFY(Zugriffsliste(pfad).contains(QStringLiteral("user:")));
        }
        const QString liste = Zugriffsliste(pfad);
        QCOMPARE(Oktal(Modus(pfad)), Oktal(mode_t(modus)));

        AufzeichnendePlattform plattform;
        QVERIFY(Daten.LadeDatei(pfad));
        auto zeile = Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11);
        zeile->Eintraege.ZeigeKursEintrag(0).datum = QStringLiteral("1");
        Daten.Geaendert();
        QVERIFY(Daten.Sichern());
        const QStringList kopien = Sicherungskopien::Liste(pfad);
        QCOMPARE(kopien.size(), 1);

        // The result file, a PDF print, the journal and the file tool's output.
        const QString ergebnis = anderer + QStringLiteral("/Ergebnis.zle");
        QVERIFY(Daten.Speichern(*Daten.alleKurse.Zeigen(1), ergebnis));
        const QString druck = anderer + QStringLiteral("/Druck.pdf");
        QString hinweis;
        QCOMPARE(Dateirechte::Vorbereiten(druck, Daten.datenFolder, hinweis), 0);
        QCOMPARE(hinweis, QString());
        {
            QFile pdf(druck); // as the printer writes it
            QVERIFY(pdf.open(QIODevice::WriteOnly));
            pdf.write("%PDF-1.4\n");
        }
        Eingabejournal journal(pfad, QStringLiteral("M"), QStringLiteral("M"));
        Eingabejournal::Aenderung a;
        a.zeit = QDateTime::currentDateTimeUtc();
        a.schueler = 11;
        a.eintragBezeichnung = QStringLiteral("Note");
        a.nachher = QStringLiteral("2");
        QVERIFY(journal.Anfuegen(a));
        QString meldung;
        const QString werkzeug = anderer + QStringLiteral("/Werkzeug.zln");
        QVERIFY(Datenbestand::SchreibeDatei(werkzeug, Kurslistenbauer().Bytes(), meldung));

        // "Sichern unter …" last: the program works on that file afterwards.
        const QString unter = anderer + QStringLiteral("/Kopie.zln");
        plattform.antwortenDatei = { unter };
        QVERIFY(Daten.SichernUnter());
        QCOMPARE(plattform.unbeantwortet, 0);

        // What follows from the course-list file: its rights exactly (the owner may always
        // read and write; here he could before).
        for (const QString& datei : { pfad, kopien.first(), unter, ergebnis, druck }) {
            QCOMPARE(Oktal(Modus(datei)), Oktal(mode_t(modus)));
            QCOMPARE(Gruppe(datei), gruppe);
            QCOMPARE(Zugriffsliste(datei), liste);
        }
        // The user's alone.
        QCOMPARE(Oktal(Modus(Sicherungskopien::OrdnerVon(pfad))), QStringLiteral("0700"));
        QCOMPARE(Oktal(Modus(journal.Datei())), QStringLiteral("0600"));
        QCOMPARE(Oktal(Modus(Eingabejournal::Ordner())), QStringLiteral("0700"));
        QCOMPARE(Oktal(Modus(werkzeug)), QStringLiteral("0600"));
        QCOMPARE(plattform.mitteilungen.size(), 1); // "Sichern unter …": where it went

        if (!Root())
            return; // no other users to try with
        QVERIFY(fremder.ok() && kollege.ok());
        for (const QString& datei :
            { pfad, kopien.first(), unter, ergebnis, druck, journal.Datei(), werkzeug })
            QVERIFY2(!fremder.KannLesen(datei), qPrintable(datei));
        // The colleague reads what the access list gives him, never the backups or the
        // journal.
        for (const QString& datei : { pfad, unter, ergebnis, druck })
            QCOMPARE(kollege.KannLesen(datei), listeUndGruppe);
        QVERIFY(!kollege.KannLesen(kopien.first()));
        QVERIFY(!kollege.KannLesen(journal.Datei()));
    }

    // A save that cannot keep the group (a user who is no member of it) narrows the file and
    // says so; it never widens.
    void gruppeNichtHaltbarWirdEnger()
    {
        // Played as root by taking the rights of a file of a group nobody belongs to into a
        // file of the user: Anwenden as a user that may not change its group.
        if (Root()) {
            Testbenutzer lehrer(QStringLiteral("rvlehr"));
            QVERIFY(lehrer.ok());
            QTemporaryDir ordner;
            QVERIFY(ordner.isValid());
            QVERIFY(::chmod(QFile::encodeName(ordner.path()).constData(), 0777) == 0);
            const QString vorbild = ordner.filePath(QStringLiteral("Kursliste.zln"));
            QVERIFY(Dateihelfer::Schreiben(vorbild, "zln"));
            const group* g = ::getgrnam("users");
            QVERIFY(g);
            QVERIFY(::chown(QFile::encodeName(vorbild).constData(), 0, g->gr_gid) == 0);
            QVERIFY(::chmod(QFile::encodeName(vorbild).constData(), 0640) == 0);
            const Dateirechte::Stand stand = Dateirechte::Von(vorbild);
            const QString neu = ordner.filePath(QStringLiteral("neu"));
            const pid_t kind = ::fork();
            if (kind == 0) {
                if (::setgroups(0, nullptr) != 0 || ::setgid(getgrnam("nogroup")->gr_gid) != 0
                    || ::setuid(lehrer.uid()) != 0)
                    ::_exit(2);
                const int fd
                    = ::open(QFile::encodeName(neu).constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
                Dateirechte::Stand ohneBesitzer = stand;
                ohneBesitzer.besitzer = lehrer.uid();
                const QString hinweis = Dateirechte::Anwenden(fd, ohneBesitzer, neu);
                ::_exit(hinweis.contains(QStringLiteral("Gruppe")) ? 0 : 1);
            }
            int status = 0;
            ::waitpid(kind, &status, 0);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
            QCOMPARE(Oktal(Modus(neu)), QStringLiteral("0600"));
            return;
        }
        QSKIP("Braucht root für einen zweiten Benutzer.");
    }
};

QTEST_GUILESS_MAIN(TestDateirechte)
#include "tst_dateirechte.moc"
