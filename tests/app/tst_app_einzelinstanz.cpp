// One program per user and display: a later start hands its file to the running one.

#include "dateihelfer.h"
#include "einzelinstanz.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

// Uebergeben waits for the answer, so it runs beside the event loop that answers.
bool UebergebenNebenher(const Einzelinstanz& instanz, const QString& dokument)
{
    bool angenommen = false;
    QThread* faden = QThread::create([&] { angenommen = instanz.Uebergeben(dokument); });
    faden->start();
    while (!faden->wait(10))
        QCoreApplication::processEvents();
    delete faden;
    return angenommen;
}

} // namespace

class TestEinzelinstanz : public QObject {
    Q_OBJECT

    QTemporaryDir zOrdner;
    QString Name(const char* name) const { return zOrdner.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { QVERIFY(zOrdner.isValid()); }

    void uebergibtDenPfad_data()
    {
        QTest::addColumn<QString>("dokument");
        QTest::newRow("Pfad") << "/home/lehrer/Noten 2026/Kursliste.zln";
        QTest::newRow("Umlaute und Zeilenende") << "/tmp/Müller\n%20\u202e.zln";
        QTest::newRow("ohne Datei") << "";
    }
    void uebergibtDenPfad()
    {
        QFETCH(QString, dokument);
        Einzelinstanz laufend(Name("laufend"));
        QVERIFY(laufend.Lauschen());
        QSignalSpy angefordert(&laufend, &Einzelinstanz::Angefordert);

        const Einzelinstanz zweiter(Name("laufend"));
        QVERIFY(UebergebenNebenher(zweiter, dokument));
        QTRY_COMPARE(angefordert.size(), 1);
        QCOMPARE(angefordert.first().first().toString(), dokument);
    }

    void ohneLaufendesProgramm()
    {
        const Einzelinstanz allein(Name("niemand"));
        QVERIFY(!allein.Uebergeben(QStringLiteral("/tmp/a.zln"), 500));
    }

    // What a program that crashed leaves under the name is taken over.
    void uebernimmtZurueckgelassenenNamen()
    {
        const QString name = Name("abgestuerzt");
        Dateihelfer::Schreiben(name, "alt");
        Einzelinstanz neu(name);
        QVERIFY(!neu.Uebergeben(QString(), 500));
        QVERIFY(neu.Lauschen());
        QSignalSpy angefordert(&neu, &Einzelinstanz::Angefordert);
        QVERIFY(UebergebenNebenher(Einzelinstanz(name), QStringLiteral("/x.zln")));
        QTRY_COMPARE(angefordert.size(), 1);
    }

    // A stranger's bytes on the socket are no request.
    void fremdeBytes()
    {
        Einzelinstanz laufend(Name("fremd"));
        QVERIFY(laufend.Lauschen());
        QSignalSpy angefordert(&laufend, &Einzelinstanz::Angefordert);
        QLocalSocket fremd;
        fremd.connectToServer(Name("fremd"));
        QVERIFY(fremd.waitForConnected(2000));
        fremd.write("GET / HTTP/1.0\n/etc/passwd\n");
        fremd.flush();
        QTRY_COMPARE(fremd.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(angefordert.size(), 0);
    }

    // The real program: a second start on a file hands it over and ends at once, the first
    // one goes on.
    void zweiterStartDesProgramms()
    {
        const QString datei = zOrdner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(QFile::copy(QStringLiteral(BUILD_VERZEICHNIS "/demo/demo.zln"), datei));
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        const QString laufzeit = zOrdner.filePath(QStringLiteral("laufzeit"));
        QVERIFY(QDir().mkpath(laufzeit));
        umgebung.insert(QStringLiteral("XDG_RUNTIME_DIR"), laufzeit);
        umgebung.insert(QStringLiteral("XDG_DATA_HOME"), zOrdner.filePath(QStringLiteral("daten")));
        umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        QProcess erster;
        erster.setProcessEnvironment(umgebung);
        erster.start(QStringLiteral(PROGRAMM), { datei });
        QVERIFY(erster.waitForStarted());
        // Listening once its socket lies in the runtime folder.
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(laufzeit).entryList(QDir::System).isEmpty(), 20000);

        QProcess zweiter;
        zweiter.setProcessEnvironment(umgebung);
        zweiter.start(QStringLiteral(PROGRAMM), { datei });
        QVERIFY(zweiter.waitForFinished(20000));
        QCOMPARE(zweiter.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zweiter.exitCode(), 0);
        QCOMPARE(erster.state(), QProcess::Running);

        erster.kill();
        erster.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestEinzelinstanz)
#include "tst_app_einzelinstanz.moc"
