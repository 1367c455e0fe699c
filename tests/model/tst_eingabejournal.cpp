// The recovery journal on disk: records written at once and read back whole, a damaged tail cut
// at the last whole record, a newer format refused, a file a running copy writes left alone,
// writes that fail queued and written later, the journal following "Sichern unter".

#include "aufzeichnendeplattform.h"
#include "dateigroessengrenze.h"
#include "dateihelfer.h"
#include "eingabejournal.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

Eingabejournal::Aenderung Aenderung(
    qint64 schueler, const QString& bezeichnung, const QString& vorher, const QString& nachher)
{
    Eingabejournal::Aenderung a;
    a.zeit = QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch());
    a.schueler = schueler;
    a.eintragBezeichnung = bezeichnung;
    a.vorher = vorher;
    a.nachher = nachher;
    return a;
}

} // namespace

class TestEingabejournal : public QObject {
    Q_OBJECT

    QTemporaryDir daten; // XDG_DATA_HOME
    QTemporaryDir dateien; // the course-list files
    QString kursliste;

private slots:
    void initTestCase()
    {
        QVERIFY(daten.isValid() && dateien.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(daten.path()));
        kursliste = dateien.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(kursliste, "zln"));
        QVERIFY(Eingabejournal::Ordner().startsWith(daten.path()));
    }

    void init() { QDir(Eingabejournal::Ordner()).removeRecursively(); }

    // Every change is in the file at once, before any sync; what is read back is what was
    // written, characters of every kind included.
    void schreibenUndLesen()
    {
        QList<Eingabejournal::Aenderung> erwartet;
        {
            Eingabejournal j(
                kursliste, QStringLiteral("M"), QStringLiteral("Q1 - Mathe - LK2 - Mü"));
            QVERIFY(!QFileInfo::exists(j.Datei())); // made with the first change
            erwartet.append(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("12")));
            auto w = Aenderung(12, QString(), QString(), QStringLiteral("X"));
            w.warnung = true;
            erwartet.append(w);
            auto k = Aenderung(
                11, QStringLiteral("Klausur"), QStringLiteral("12"), QStringLiteral("ä„ö“ 😀"));
            k.eintragID = QStringLiteral("KL");
            k.vorkommen = 1;
            erwartet.append(k);
            for (const auto& a : erwartet)
                QVERIFY(j.Anfuegen(a));
            QVERIFY(j.Ungesichert());
            // Written, not yet synced: another reader sees every record already.
            const Eingabejournal::Gelesen offen = Eingabejournal::LiesDatei(j.Datei(), false);
            QVERIFY(offen.belegt); // the running copy holds its lock
            QVERIFY(QFileInfo(j.Datei()).permissions() & QFileDevice::ReadOwner);
            QVERIFY(!(QFileInfo(j.Datei()).permissions() & QFileDevice::ReadOther));
            QTRY_VERIFY_WITH_TIMEOUT(!j.Ungesichert(), 3000); // synced within a second
            QVERIFY(j.Fehler().isEmpty());
        }
        const QList<Eingabejournal::Gelesen> alle = Eingabejournal::Lesen(kursliste);
        QCOMPARE(alle.size(), 1);
        const Eingabejournal::Gelesen& g = alle.first();
        QCOMPARE(g.kurs, QStringLiteral("M"));
        QCOMPARE(g.titel, QStringLiteral("Q1 - Mathe - LK2 - Mü"));
        QCOMPARE(g.kursliste, QFileInfo(kursliste).canonicalFilePath());
        QVERIFY(g.fehler.isEmpty());
        QVERIFY(!g.abgeschnitten);
        QCOMPARE(g.aenderungen, erwartet);
        QCOMPARE(g.laenge, QFileInfo(g.datei).size());
        QCOMPARE(g.Zuletzt(), erwartet.last().zeit);
    }

    // The file name: the course-list file's full path and the course, letter case aside.
    void schluessel()
    {
        const QString link = dateien.filePath(QStringLiteral("Verweis.zln"));
        QVERIFY(QFile::link(kursliste, link));
        QCOMPARE(Eingabejournal::DateiVon(link, QStringLiteral("m")),
            Eingabejournal::DateiVon(kursliste, QStringLiteral("M")));
        QVERIFY(Eingabejournal::DateiVon(kursliste, QStringLiteral("M"))
            != Eingabejournal::DateiVon(kursliste, QStringLiteral("D")));
        QVERIFY(Eingabejournal::Schluessel(kursliste)
            != Eingabejournal::Schluessel(dateien.filePath(QStringLiteral("Andere.zln"))));
        QVERIFY(QFileInfo(Eingabejournal::DateiVon(kursliste, QStringLiteral("M")))
                    .fileName()
                    .startsWith(Eingabejournal::Schluessel(kursliste) + QLatin1Char('-')));
        QFile::remove(link);
    }

    // A tail that is not a whole record (the program killed while writing, a power cut) is
    // cut off at the last whole record, on disk too; the records before it stay.
    void beschaedigtesEnde_data()
    {
        QTest::addColumn<int>("art");
        QTest::newRow("halbe Länge") << 0;
        QTest::newRow("halber Inhalt") << 1;
        QTest::newRow("falsche Prüfsumme") << 2;
        QTest::newRow("Müll angehängt") << 3;
        QTest::newRow("unsinnige Länge") << 4;
    }
    void beschaedigtesEnde()
    {
        QFETCH(int, art);
        QString datei;
        {
            Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
            QVERIFY(
                j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
            QVERIFY(j.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QStringLiteral("1"), QStringLiteral("2"))));
            datei = j.Datei();
        }
        const qint64 ganz = QFileInfo(datei).size();
        QByteArray satz = Journalformat::AenderungsSatz(
            Aenderung(11, QStringLiteral("Note"), QStringLiteral("2"), QStringLiteral("3")));
        QByteArray bytes = Dateihelfer::Lesen(datei);
        switch (art) {
        case 0:
            bytes += satz.left(2);
            break;
        case 1:
            bytes += satz.left(satz.size() - 5);
            break;
        case 2:
            satz[satz.size() - 1] = char(satz.at(satz.size() - 1) ^ 0x40);
            bytes += satz;
            break;
        case 3:
            bytes += QByteArray(37, '\xAB');
            break;
        case 4:
            bytes += QByteArray::fromHex("7fffffff0101") + satz;
            break;
        }
        QVERIFY(Dateihelfer::Schreiben(datei, bytes));

        const QList<Eingabejournal::Gelesen> alle = Eingabejournal::Lesen(kursliste);
        QCOMPARE(alle.size(), 1);
        QVERIFY(alle.first().fehler.isEmpty());
        QVERIFY(alle.first().abgeschnitten);
        QCOMPARE(alle.first().aenderungen.size(), 2);
        QCOMPARE(alle.first().aenderungen.last().nachher, QStringLiteral("2"));
        QCOMPARE(QFileInfo(datei).size(), ganz);
        // Read again: whole now.
        QVERIFY(!Eingabejournal::LiesDatei(datei, true).abgeschnitten);

        // The journal goes on after its last whole record.
        {
            Eingabejournal weiter(Eingabejournal::LiesDatei(datei, true));
            QVERIFY(weiter.Offen());
            QVERIFY(weiter.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QStringLiteral("2"), QStringLiteral("4"))));
        }
        const Eingabejournal::Gelesen danach = Eingabejournal::LiesDatei(datei, true);
        QVERIFY(!danach.abgeschnitten);
        QCOMPARE(danach.aenderungen.size(), 3);
        QCOMPARE(danach.aenderungen.last().nachher, QStringLiteral("4"));
    }

    // A whole record of a newer format, a damaged head: the file is not used at all.
    void unbrauchbar_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fehler");
        const QByteArray kopf = Journalformat::KopfSatz(QStringLiteral("/x.zln"),
            QStringLiteral("M"), QStringLiteral("Mathe"), QDateTime::currentDateTime());
        QTest::newRow("neuere Version") << Journalformat::KopfSatz(QStringLiteral("/x.zln"),
            QStringLiteral("M"), QStringLiteral("Mathe"), QDateTime::currentDateTime(),
            2) << QStringLiteral("Sie wurde von einer neueren Version von RAVIRIreru geschrieben.");
        QTest::newRow("neuere Version später")
            << kopf
                + Journalformat::AenderungsSatz(
                    Aenderung(1, QStringLiteral("Note"), QString(), QStringLiteral("1")), 7)
            << QStringLiteral("Sie wurde von einer neueren Version von RAVIRIreru geschrieben.");
        QTest::newRow("Anfang beschädigt")
            << QByteArray("kein Journal, nur Text") << QStringLiteral("Ihr Anfang ist beschädigt.");
        QTest::newRow("ohne Kopf") << Journalformat::AenderungsSatz(
            Aenderung(1, QStringLiteral("Note"), QString(), QStringLiteral("1")))
                                   << QStringLiteral("Ihr Anfang ist beschädigt.");
    }
    void unbrauchbar()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fehler);
        QVERIFY(QDir().mkpath(Eingabejournal::Ordner()));
        const QString datei = Eingabejournal::DateiVon(kursliste, QStringLiteral("M"));
        QVERIFY(Dateihelfer::Schreiben(datei, bytes));
        const QList<Eingabejournal::Gelesen> alle = Eingabejournal::Lesen(kursliste);
        QCOMPARE(alle.size(), 1);
        QCOMPARE(alle.first().fehler, fehler);
        QCOMPARE(Dateihelfer::Lesen(datei), bytes); // nothing cut off a file that is not used

        const QString weg = Eingabejournal::Beiseitelegen(datei);
        QVERIFY(!weg.isEmpty());
        QVERIFY(!QFileInfo::exists(datei));
        QCOMPARE(Dateihelfer::Lesen(weg), bytes);
        QVERIFY(weg.startsWith(Eingabejournal::BeiseitegelegtOrdner() + QLatin1Char('/')));
        QCOMPARE(Eingabejournal::Lesen(kursliste).size(), 0);
    }

    // A journal that another running copy writes (it holds the lock) is not offered.
    void laufendeKopieWirdNichtAngeboten()
    {
        QString datei;
        {
            Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
            QVERIFY(
                j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
            datei = j.Datei();
        }
        int rohr[2];
        QCOMPARE(::pipe(rohr), 0);
        const pid_t kind = ::fork();
        if (kind == 0) {
            const int fd = ::open(QFile::encodeName(datei).constData(), O_RDONLY);
            const char antwort = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'g' : 'f';
            if (::write(rohr[1], &antwort, 1) != 1)
                ::_exit(3);
            for (;;)
                ::pause();
        }
        char antwort = 0;
        QCOMPARE(::read(rohr[0], &antwort, 1), ssize_t(1));
        QCOMPARE(antwort, 'g');
        QCOMPARE(Eingabejournal::Lesen(kursliste).size(), 0);
        // The copy is killed: its lock goes with it, and the journal is offered.
        ::kill(kind, SIGKILL);
        ::waitpid(kind, nullptr, 0);
        ::close(rohr[0]);
        ::close(rohr[1]);
        QCOMPARE(Eingabejournal::Lesen(kursliste).size(), 1);
    }

    // Removed: the file goes; the next change begins a new journal.
    void entfernen()
    {
        Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
        QVERIFY(j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
        QVERIFY(QFileInfo::exists(j.Datei()));
        QVERIFY(j.Entfernen());
        QVERIFY(!QFileInfo::exists(j.Datei()));
        QVERIFY(!j.Ungesichert());
        QVERIFY(j.Anfuegen(Aenderung(12, QStringLiteral("Note"), QString(), QStringLiteral("2"))));
        QCOMPARE(Eingabejournal::LiesDatei(j.Datei(), false).belegt, true);
    }

    // A journal file left from before that nobody took over is put aside, never continued.
    void alteDateiWirdNichtFortgesetzt()
    {
        QString datei;
        {
            Eingabejournal alt(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
            QVERIFY(alt.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
            datei = alt.Datei();
        }
        {
            Eingabejournal neu(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
            QVERIFY(neu.Anfuegen(
                Aenderung(12, QStringLiteral("Note"), QString(), QStringLiteral("2"))));
        }
        const QList<Eingabejournal::Gelesen> alle = Eingabejournal::Lesen(kursliste);
        QCOMPARE(alle.size(), 1);
        QCOMPARE(alle.first().aenderungen.size(), 1);
        QCOMPARE(alle.first().aenderungen.first().schueler, qint64(12));
        QCOMPARE(QDir(Eingabejournal::BeiseitegelegtOrdner()).entryList(QDir::Files).size(), 1);
    }

    // A write that fails (here: the file size limit) keeps its record queued; the records go
    // to the file in their order as soon as writing works again, and the file never holds
    // half a record.
    void schreibfehlerWirdNachgeholt()
    {
        Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
        QSignalSpy fehler(&j, &Eingabejournal::FehlerGeaendert);
        QVERIFY(j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
        const qint64 groesse = QFileInfo(j.Datei()).size();
        {
            Dateigroessengrenze grenze(groesse + 10);
            QVERIFY(grenze.ok());
            QVERIFY(!j.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QStringLiteral("1"), QStringLiteral("2"))));
            QVERIFY(!j.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QStringLiteral("2"), QStringLiteral("3"))));
            QCOMPARE(j.Ausstehend(), 2);
            QCOMPARE(j.Fehler(),
                QStringLiteral("Die Datei wäre größer, als auf diesem Datenträger oder "
                               "für dieses Programm erlaubt ist."));
            QCOMPARE(fehler.size(), 1);
            QCOMPARE(QFileInfo(j.Datei()).size(), groesse); // no half record
        }
        // Writing works again: the next sync writes both, in order.
        QVERIFY(j.Synchronisieren());
        QCOMPARE(j.Ausstehend(), 0);
        QVERIFY(j.Fehler().isEmpty());
        QCOMPARE(fehler.size(), 2);
        QCOMPARE(fehler.last().first().toString(), QString());
        j.Entfernen();
        QVERIFY(j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("5"))));
    }

    // The timer's sync runs on another thread: the mark is down at once, a sync that must
    // wait (before a question) still syncs, and removing the file while that sync is on its
    // way neither blocks the new file nor lets the old answer speak for it.
    void hintergrundSync()
    {
        {
            Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
            QVERIFY(
                j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
            j.ImHintergrundSynchronisieren();
            QVERIFY(!j.Ungesichert());
            QVERIFY(j.Synchronisieren()); // waits, although a sync is on its way
            QVERIFY(j.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QStringLiteral("1"), QStringLiteral("2"))));
            j.ImHintergrundSynchronisieren();
            QVERIFY(j.Entfernen());
            QVERIFY(
                j.Anfuegen(Aenderung(12, QStringLiteral("Note"), QString(), QStringLiteral("3"))));
            QVERIFY(j.Ungesichert());
            j.ImHintergrundSynchronisieren(); // the new file's own sync, not held back by the old
                                              // one
            QVERIFY(!j.Ungesichert());
            QTest::qWait(200); // both answers arrive
            QVERIFY(j.Fehler().isEmpty());
            QVERIFY(!j.Ungesichert());
            QVERIFY(Eingabejournal::LiesDatei(j.Datei(), false).belegt);
            // Closed while a sync is on its way: the file is free for reading at once.
            QVERIFY(j.Anfuegen(
                Aenderung(12, QStringLiteral("Note"), QStringLiteral("3"), QStringLiteral("4"))));
            j.ImHintergrundSynchronisieren();
        }
        const QList<Eingabejournal::Gelesen> alle = Eingabejournal::Lesen(kursliste);
        QCOMPARE(alle.size(), 1);
        QCOMPARE(alle.first().aenderungen.size(), 2);
        QCOMPARE(alle.first().aenderungen.first().nachher, QStringLiteral("3"));
        QCOMPARE(alle.first().aenderungen.last().nachher, QStringLiteral("4"));
    }

    // Before a modal question everything written is synced.
    void vorEinerFrageSynchronisiert()
    {
        Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
        QVERIFY(j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
        QVERIFY(j.Ungesichert());
        AufzeichnendePlattform plattform;
        Plattform::aktuell().Waehlen({ QStringLiteral("Frage"), QStringLiteral("?"), QString(),
            { QStringLiteral("Ja"), QStringLiteral("Nein") }, 0, 1, Plattform::Symbol::Warnung });
        QVERIFY(!j.Ungesichert());
    }

    // "Sichern unter …": the journal follows the new course-list file (its file is renamed,
    // a record names the new file) and is found under it, not under the old one.
    void umzug()
    {
        const QString neu = dateien.filePath(QStringLiteral("Gerettet.zln"));
        QVERIFY(Dateihelfer::Schreiben(neu, "zln"));
        {
            Eingabejournal j(kursliste, QStringLiteral("M"), QStringLiteral("Mathe"));
            QVERIFY(
                j.Anfuegen(Aenderung(11, QStringLiteral("Note"), QString(), QStringLiteral("1"))));
            Eingabejournal::KurslisteUmgezogen(kursliste, neu);
            QCOMPARE(j.Kursliste(), QFileInfo(neu).canonicalFilePath());
            QVERIFY(j.Anfuegen(
                Aenderung(11, QStringLiteral("Note"), QStringLiteral("1"), QStringLiteral("2"))));
        }
        QCOMPARE(Eingabejournal::Lesen(kursliste).size(), 0);
        const QList<Eingabejournal::Gelesen> alle = Eingabejournal::Lesen(neu);
        QCOMPARE(alle.size(), 1);
        QCOMPARE(alle.first().kursliste, QFileInfo(neu).canonicalFilePath());
        QCOMPARE(alle.first().aenderungen.size(), 2);
        QVERIFY(!alle.first().abgeschnitten);
    }
};

QTEST_GUILESS_MAIN(TestEingabejournal)
#include "tst_eingabejournal.moc"
