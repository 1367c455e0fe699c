// The earlier versions of the course-list file kept beside it: the last five, each a whole,
// loadable file; a failed save leaves them as they were; nothing else in the folder is touched.

#include "aufzeichnendeplattform.h"
#include "dateigroessengrenze.h"
#include "dateihelfer.h"
#include "datenbestand.h"
#include "kurslistenbauer.h"
#include "sicherungskopien.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

// The grade of student 11 in course "M" as a file holds it; empty when it cannot be read.
QString NoteIn(const QByteArray& bytes)
{
    QByteArray kopie = bytes;
    QBuffer puffer(&kopie);
    puffer.open(QIODevice::ReadOnly);
    Datenbestand d;
    Spaltenstruktur s;
    QString meldung;
    if (!Datenbestand::Lesen(puffer, d, s, meldung))
        return QStringLiteral("<unlesbar: %1>").arg(meldung);
    const SchuelerKursZeiger zeile = d.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11);
    return zeile ? zeile->Eintraege.ZeigeKursEintrag(0).datum : QStringLiteral("<keine Zeile>");
}

void NoteSetzen(const QString& note)
{
    Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)->Eintraege.ZeigeKursEintrag(0).datum
        = note;
    Daten.Geaendert();
}

} // namespace

class TestSicherungskopien : public QObject {
    Q_OBJECT

    QTemporaryDir ordner;
    QString pfad;

private slots:
    void init()
    {
        GlobaleDatenZuruecksetzen();
        QVERIFY(ordner.isValid());
        QDir(ordner.path()).removeRecursively();
        QVERIFY(QDir().mkpath(ordner.path()));
        pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
    }
    void cleanup() { GlobaleDatenZuruecksetzen(); }

    // Six saves keep the five versions before the last one, oldest first, each whole.
    void sechsMalSichernBehaeltFuenf()
    {
        AufzeichnendePlattform plattform;
        QList<QByteArray> fassungen { Dateihelfer::Inhalt(pfad) };
        for (int i = 1; i <= 6; ++i) {
            NoteSetzen(QString::number(i));
            QVERIFY(Daten.Sichern());
            fassungen.append(Dateihelfer::Inhalt(pfad));
            QCOMPARE(Sicherungskopien::Liste(pfad).size(), qMin(i, Sicherungskopien::Anzahl));
        }
        QCOMPARE(plattform.protokoll, QStringList());
        QCOMPARE(NoteIn(Dateihelfer::Inhalt(pfad)), QStringLiteral("6"));

        const QStringList kopien = Sicherungskopien::Liste(pfad);
        QCOMPARE(kopien.size(), 5);
        // Versions 1 .. 5 (the file as loaded, version 0, has gone), byte for byte.
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(Dateihelfer::Inhalt(kopien.at(k)), fassungen.at(k + 1));
            QCOMPARE(NoteIn(Dateihelfer::Inhalt(kopien.at(k))), QString::number(k + 1));
            QVERIFY2(QFileInfo(kopien.at(k))
                         .fileName()
                         .contains(QRegularExpression(QStringLiteral(
                             "^Kursliste-\\d{4}-\\d{2}-\\d{2}-\\d{6}-Nr\\d+\\.zln$"))),
                qPrintable(kopien.at(k)));
            QCOMPARE(QFileInfo(kopien.at(k)).absolutePath(),
                ordner.filePath(QStringLiteral("RAVIRIreru-Sicherungen")));
        }
        // A backup opens as a course-list file of its own.
        GlobaleDatenZuruecksetzen();
        QVERIFY(Daten.LadeDatei(kopien.first()));
        QCOMPARE(Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                     ->Eintraege.ZeigeKursEintrag(0)
                     .datum,
            QStringLiteral("1"));
    }

    // The order is the order of the saves, also within one second and across a day; the
    // name shows the time and the running number.
    void reihenfolgeNachZeit()
    {
        const QDateTime t(QDate(2025, 3, 14), QTime(23, 59, 59));
        QVERIFY(Sicherungskopien::Anlegen(pfad, "a", t));
        QVERIFY(Sicherungskopien::Anlegen(pfad, "b", t));
        QVERIFY(Sicherungskopien::Anlegen(pfad, "c", t));
        QVERIFY(Sicherungskopien::Anlegen(pfad, "d", t.addSecs(1)));
        QStringList inhalte;
        for (const QString& k : Sicherungskopien::Liste(pfad))
            inhalte.append(QString::fromLatin1(Dateihelfer::Inhalt(k)));
        QCOMPARE(inhalte, (QStringList { "a", "b", "c", "d" }));
        QCOMPARE(QFileInfo(Sicherungskopien::Liste(pfad).at(2)).fileName(),
            QStringLiteral("Kursliste-2025-03-14-235959-Nr3.zln"));
        QCOMPARE(QFileInfo(Sicherungskopien::Liste(pfad).at(3)).fileName(),
            QStringLiteral("Kursliste-2025-03-15-000000-Nr4.zln"));
    }

    // The five newest by the order of the saves, whatever the clock says, the one just
    // written always among them; nothing written outside the folder.
    void echteReihenfolge_data()
    {
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("schrittSekunden"); // the clock from one save to the next
        QTest::addColumn<bool>("verknuepfung"); // a dangling link named like the next backup
        QTest::newRow("Uhr eine Stunde zurück") << 8 << -3600 << false;
        QTest::newRow("300 in einer Sekunde") << 300 << 0 << false;
        QTest::newRow("Verknüpfung wie die nächste Kopie") << 7 << 0 << true;
    }

    void echteReihenfolge()
    {
        QFETCH(int, saves);
        QFETCH(int, schrittSekunden);
        QFETCH(bool, verknuepfung);
        const QDateTime start(QDate(2025, 10, 26), QTime(2, 30, 0));
        const QString sicherungen = Sicherungskopien::OrdnerVon(pfad);
        const QString opfer = ordner.filePath(QStringLiteral("opfer"));
        for (int i = 0; i < saves; ++i) {
            const QDateTime zeit = start.addSecs(qint64(i) * schrittSekunden);
            if (verknuepfung && i == 3) {
                // Named as the next backup will be: the running number after the newest.
                const QString naechste = sicherungen
                    + QStringLiteral("/Kursliste-%1-Nr%2.zln")
                          .arg(zeit.toString(QStringLiteral("yyyy-MM-dd-HHmmss")))
                          .arg(i + 1);
                QVERIFY(QFile::link(opfer, naechste));
            }
            const QByteArray inhalt = QByteArray::number(i);
            QVERIFY(Sicherungskopien::Anlegen(pfad, inhalt, zeit));
            const QStringList liste = Sicherungskopien::Liste(pfad);
            QVERIFY(!liste.isEmpty());
            QCOMPARE(Dateihelfer::Inhalt(liste.last()), inhalt); // the newest is the new one
        }
        QStringList inhalte;
        for (const QString& k : Sicherungskopien::Liste(pfad))
            inhalte.append(QString::fromLatin1(Dateihelfer::Inhalt(k)));
        QStringList erwartet;
        for (int i = saves - 5; i < saves; ++i)
            erwartet.append(QString::number(i));
        QCOMPARE(inhalte, erwartet);
        QVERIFY(!QFileInfo::exists(opfer));
        // The link is no backup of ours: it stays as it was, and only the five and it lie
        // in the folder.
        const QStringList alle
            = QDir(sicherungen)
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QCOMPARE(alle.size(), 5 + (verknuepfung ? 1 : 0));
        QCOMPARE(QDir(ordner.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList { QStringLiteral(".Kursliste.zln.lock"), QStringLiteral("Kursliste.zln"),
                QStringLiteral("RAVIRIreru-Sicherungen") }));
    }

    // Backups named before the running number count as older than every numbered one, and
    // go first.
    void alteNamenSindAelter()
    {
        const QString sicherungen = Sicherungskopien::OrdnerVon(pfad);
        QVERIFY(QDir().mkpath(sicherungen));
        for (const QString& alt : { QStringLiteral("Kursliste-2030-01-01-120000.zln"),
                 QStringLiteral("Kursliste-2030-01-01-120000-2.zln") })
            QVERIFY(Dateihelfer::Schreiben(sicherungen + QLatin1Char('/') + alt, "alt"));
        const QDateTime t(QDate(2025, 3, 14), QTime(12, 0));
        for (int i = 0; i < 4; ++i)
            QVERIFY(Sicherungskopien::Anlegen(pfad, QByteArray::number(i), t));
        QStringList namen;
        for (const QString& k : Sicherungskopien::Liste(pfad))
            namen.append(QFileInfo(k).fileName());
        QCOMPARE(namen,
            (QStringList { QStringLiteral("Kursliste-2030-01-01-120000-2.zln"),
                QStringLiteral("Kursliste-2025-03-14-120000-Nr1.zln"),
                QStringLiteral("Kursliste-2025-03-14-120000-Nr2.zln"),
                QStringLiteral("Kursliste-2025-03-14-120000-Nr3.zln"),
                QStringLiteral("Kursliste-2025-03-14-120000-Nr4.zln") }));
    }

    // A link in place of the folder is refused: no backup goes where it points.
    void ordnerAlsVerknuepfungAbgelehnt()
    {
        QTemporaryDir woanders;
        QVERIFY(QFile::link(woanders.path(), Sicherungskopien::OrdnerVon(pfad)));
        const SicheresSchreiben::Ergebnis e = Sicherungskopien::Anlegen(pfad, "x");
        QVERIFY(!e);
        QVERIFY2(e.grund.contains(QStringLiteral("kein Ordner")), qPrintable(e.grund));
        QCOMPARE(QDir(woanders.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A save that fails leaves the file and every backup as they were.
    void fehlgeschlagenesSichernLaesstKopien()
    {
        AufzeichnendePlattform plattform;
        for (int i = 1; i <= 3; ++i) {
            NoteSetzen(QString::number(i));
            QVERIFY(Daten.Sichern());
        }
        const QStringList vorher = Sicherungskopien::Liste(pfad);
        QCOMPARE(vorher.size(), 3);
        QList<QByteArray> inhalte;
        for (const QString& k : vorher)
            inhalte.append(Dateihelfer::Inhalt(k));
        const QByteArray datei = Dateihelfer::Inhalt(pfad);

        // A bigger file than the limit allows.
        for (int i = 0; i < 40; ++i)
            Daten.alleSchueler.Anfuegen(
                Schueler(900 + i, QStringLiteral("Neu %1").arg(i), QString()));
        Daten.Geaendert();
        plattform.antwortenWahl = { 1 }; // "Sichern unter …" offered: "Abbrechen"
        {
            Dateigroessengrenze grenze(datei.size() + 16);
            QVERIFY(grenze.ok());
            QVERIFY(!Daten.Sichern());
        }
        QCOMPARE(Dateihelfer::Inhalt(pfad), datei);
        QCOMPARE(Sicherungskopien::Liste(pfad), vorher);
        for (int k = 0; k < vorher.size(); ++k)
            QCOMPARE(Dateihelfer::Inhalt(vorher.at(k)), inhalte.at(k));
    }

    // Other files in the folder and the backups of another course-list file stay.
    void andereDateienBleiben()
    {
        const QString sicherungen = Sicherungskopien::OrdnerVon(pfad);
        QVERIFY(QDir().mkpath(sicherungen));
        const QStringList fremde
            = { QStringLiteral("Kursliste-Notizen.txt"), QStringLiteral("Kursliste-alt.zln"),
                  QStringLiteral("Kursliste-2024-2025-01-01-120000.zln"),
                  QStringLiteral("Andere-2020-01-01-120000.zln") };
        for (const QString& f : fremde)
            QVERIFY(Dateihelfer::Schreiben(sicherungen + QLatin1Char('/') + f, "fremd"));
        for (int i = 1; i <= 7; ++i) {
            NoteSetzen(QString::number(i));
            QVERIFY(Daten.Speichern());
        }
        QCOMPARE(Sicherungskopien::Liste(pfad).size(), 5);
        for (const QString& f : fremde)
            QCOMPARE(Dateihelfer::Inhalt(sicherungen + QLatin1Char('/') + f), QByteArray("fremd"));
        // The lock file and the course-list file are all that lie beside the folder.
        QCOMPARE(QDir(ordner.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList { QStringLiteral(".Kursliste.zln.lock"), QStringLiteral("Kursliste.zln"),
                QStringLiteral("RAVIRIreru-Sicherungen") }));
    }

    // A save that writes the same bytes again keeps no copy of them.
    void gleicherInhaltOhneKopie()
    {
        QVERIFY(Daten.Speichern());
        QCOMPARE(Sicherungskopien::Liste(pfad).size(), 0);
        NoteSetzen(QStringLiteral("9"));
        QVERIFY(Daten.Speichern());
        QVERIFY(Daten.Speichern());
        QCOMPARE(Sicherungskopien::Liste(pfad).size(), 1);
    }

    // Where no backup can be made, the save succeeds and the teacher is told once.
    void kopieUnmoeglichWirdEinmalGemeldet()
    {
        AufzeichnendePlattform plattform;
        // A file where the folder would be.
        QVERIFY(Dateihelfer::Schreiben(Sicherungskopien::OrdnerVon(pfad), "kein Ordner"));
        NoteSetzen(QStringLiteral("7"));
        QVERIFY(Daten.Sichern());
        QCOMPARE(NoteIn(Dateihelfer::Inhalt(pfad)), QStringLiteral("7"));
        QVERIFY(!Daten.Sicherungsfehler().isEmpty());
        QCOMPARE(plattform.mitteilungen.size(), 1);
        QCOMPARE(plattform.mitteilungen.first().text,
            QStringLiteral(
                "Die vorige Fassung der Kurslisten-Datei konnte nicht als Sicherungskopie "
                "aufbewahrt werden."));
        QVERIFY2(plattform.mitteilungen.first().erklaerung.contains(
                     QStringLiteral("Ihre Eingaben sind gesichert.")),
            qPrintable(plattform.mitteilungen.first().erklaerung));
        NoteSetzen(QStringLiteral("8"));
        QVERIFY(Daten.Sichern());
        QCOMPARE(plattform.mitteilungen.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSicherungskopien)
#include "tst_sicherungskopien.moc"
