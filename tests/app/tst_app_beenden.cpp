// The quit sequence and the error of last resort.

#include "aufzeichnendeplattform.h"
#include "dateihelfer.h"
#include "datenbestand.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurslistenbauer.h"
#include "nachrichtenfenster.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <stdexcept>
#include <sys/stat.h>

namespace {

// Every save puts a new file in place of the old one: a new inode tells that it was written.
ino_t Inode(const QString& pfad)
{
    struct stat info { };
    return ::stat(QFile::encodeName(pfad).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

class TestBeenden : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        GuiTest::Zuruecksetzen();
        zOrdner.reset(new QTemporaryDir);
        QVERIFY(zOrdner->isValid());
    }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    // --- Quitting -------------------------------------------------------------------------------

    void beenden_data()
    {
        QTest::addColumn<QList<int>>("flags"); // "M", "D": 1 geaendert, 2 gespeichert, 4 gesendet
        QTest::addColumn<bool>("datenGeaendert");
        QTest::addColumn<bool>("schreibenKlappt");
        QTest::addColumn<QList<bool>>("antworten");
        // Answers to the offer of "Sichern unter …" after a failed write (0 it, 1 "Abbrechen").
        QTest::addColumn<QList<int>>("wahlen");
        QTest::addColumn<QStringList>("fragen");
        QTest::addColumn<bool>("beendet");
        QTest::addColumn<bool>("geschrieben");

        const QString kurse = "RAVIRIreru beenden?";
        const QString programm = "Programm beenden";
        QTest::newRow("nichts geändert") << QList<int> { 0, 0 } << false << true << QList<bool> {}
                                         << QList<int> {} << QStringList {} << true << false;
        QTest::newRow("zwei ungesichert, Nein")
            << QList<int> { 1, 1 } << true << true << QList<bool> { false } << QList<int> {}
            << QStringList { kurse } << false << false;
        QTest::newRow("zwei ungesichert, Ja")
            << QList<int> { 1, 1 } << true << true << QList<bool> { true } << QList<int> {}
            << QStringList { kurse } << true << true;
        QTest::newRow("ungesichert aus der Datei, Ja")
            << QList<int> { 0, 1 } << false << true << QList<bool> { true } << QList<int> {}
            << QStringList { kurse } << true << false;
        QTest::newRow("gespeichert") << QList<int> { 3, 0 } << false << true << QList<bool> {}
                                     << QList<int> {} << QStringList {} << true << false;
        QTest::newRow("gesendet") << QList<int> { 5, 0 } << false << true << QList<bool> {}
                                  << QList<int> {} << QStringList {} << true << false;
        QTest::newRow("nur gesendet, nicht geändert")
            << QList<int> { 4, 4 } << false << true << QList<bool> {} << QList<int> {}
            << QStringList {} << true << false;
        QTest::newRow("Daten geändert") << QList<int> { 0, 0 } << true << true << QList<bool> {}
                                        << QList<int> {} << QStringList {} << true << true;
        QTest::newRow("Schreiben scheitert, Nein")
            << QList<int> { 0, 0 } << true << false << QList<bool> { false } << QList<int> { 1 }
            << QStringList { programm } << false << false;
        QTest::newRow("Schreiben scheitert, Ja")
            << QList<int> { 0, 0 } << true << false << QList<bool> { true } << QList<int> { 1 }
            << QStringList { programm } << true << false;
        QTest::newRow("ungesichert und Schreiben scheitert")
            << QList<int> { 1, 0 } << true << false << QList<bool> { true, false }
            << QList<int> { 1 } << QStringList { kurse, programm } << false << false;
        // The entries go to another file instead: no question, the program ends.
        QTest::newRow("Schreiben scheitert, Sichern unter")
            << QList<int> { 0, 0 } << true << false << QList<bool> {} << QList<int> { 0 }
            << QStringList {} << true << false;
    }

    void beenden()
    {
        QFETCH(QList<int>, flags);
        QFETCH(bool, datenGeaendert);
        QFETCH(bool, schreibenKlappt);
        QFETCH(QList<bool>, antworten);
        QFETCH(QList<int>, wahlen);
        QFETCH(QStringList, fragen);
        QFETCH(bool, beendet);
        QFETCH(bool, geschrieben);

        AufzeichnendePlattform plattform;
        Kurslistenbauer liste;
        const QStringList kuerzel = { "M", "D" };
        for (int i = 0; i < flags.size(); ++i)
            liste.Kursflaggen(kuerzel.at(i), flags[i] & 1, flags[i] & 2, flags[i] & 4);
        const QString pfad = liste.Anlegen(zOrdner->path());
        QVERIFY(!pfad.isEmpty());
        // Marks whether the file is written again.
        const ino_t unberuehrt = Inode(pfad);
        if (datenGeaendert) {
            Daten.Unterschrift = "Meier";
            Daten.Geaendert();
        }
        if (!schreibenKlappt)
            Daten.datenFolder = zOrdner->filePath("fehlt/Kursliste.zln");
        const qint64 anzahl = Daten.alleKurse.AnzahlKurse();

        plattform.antwortenFrage = antworten;
        plattform.antwortenWahl = wahlen;
        const QString gerettet = zOrdner->filePath("Gerettet.zln");
        plattform.antwortenDatei = { gerettet };
        App()->Beenden();

        QStringList gefragt;
        for (const auto& f : plattform.fragen)
            gefragt << f.titel;
        QCOMPARE(gefragt, fragen);
        const bool sichernUnter = wahlen.value(0, 1) == 0;
        // Only "Sichern unter …" reports (where the entries went now).
        QCOMPARE(plattform.meldungen.size(), sichernUnter ? 1 : 0);
        QCOMPARE(plattform.auswahlen.size(), wahlen.size());
        QCOMPARE(plattform.unbeantwortet, 0);
        QCOMPARE(App()->Beendet(), beendet);
        QCOMPARE(Inode(pfad) != unberuehrt, geschrieben);
        QCOMPARE(QFileInfo::exists(gerettet), sichernUnter);
        if (sichernUnter) {
            GlobaleDatenZuruecksetzen();
            QVERIFY(Dateihelfer::Lesen(gerettet, Daten, TabellenStruktur));
            QCOMPARE(Daten.alleKurse.AnzahlKurse(), anzahl);
        } else if (geschrieben) {
            GlobaleDatenZuruecksetzen();
            QVERIFY(Dateihelfer::Lesen(pfad, Daten, TabellenStruktur));
        } else if (!beendet) {
            // Kept running: the data and its changed mark stay as they were.
            QCOMPARE(Daten.wurdeGeaendert(), datenGeaendert);
            QCOMPARE(Daten.alleKurse.AnzahlKurse(), anzahl);
            QVERIFY(Daten.geladen);
        }
        QVERIFY(!QDir(zOrdner->filePath("fehlt")).exists());
    }

    void beendenFragetexte()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(!Kurslistenbauer()
                     .Kursflaggen("M", true, false, false)
                     .Kursflaggen("D", true, false, false)
                     .Anlegen(zOrdner->path())
                     .isEmpty());
        Daten.Geaendert();
        Daten.datenFolder = zOrdner->filePath("fehlt/Kursliste.zln");
        plattform.antwortenFrage << true << false;
        QVERIFY(App()->CancelClosing());
        QCOMPARE(plattform.fragen.size(), 2);
        const auto& a = plattform.fragen.at(0);
        QCOMPARE(a.meldung, QString("Soll RAVIRIreru beendet werden?"));
        QCOMPARE(a.erklaerung,
            QString(
                "Der aktuelle Stand der Eingabe wird zwar gesichert, aber "
                "mindestens ein Kurs wurde geändert und weder gespeichert "
                "noch versandt!\n\nGeändert und nicht abgegeben: Mathematik LK2, Deutsch GK1."));
        QCOMPARE(a.standardKnopf, QString("Ja"));
        const auto& b = plattform.fragen.at(1);
        QCOMPARE(b.titel, QString("Programm beenden"));
        QCOMPARE(b.meldung, QString("Soll das Programm beendet werden?"));
        QCOMPARE(
            b.erklaerung, QString("Die Kurslisten-Datei (zln) konnte nicht gesichert werden."));
        QCOMPARE(b.standardKnopf, QString("Ja"));
        QCOMPARE(b.andererKnopf, QString("Nein"));
    }

    void ohneKurslisteKeineFrage()
    {
        AufzeichnendePlattform plattform;
        Daten.Geaendert();
        QVERIFY(!App()->CancelClosing());
        App()->Beenden();
        QVERIFY(App()->Beendet());
        QVERIFY(plattform.protokoll.isEmpty());
    }

    void beendenSchliesstFenster()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(!Kurslistenbauer().Anlegen(zOrdner->path()).isEmpty());
        Nachrichtenfenster fenster;
        fenster.show();
        App()->Beenden();
        QVERIFY(App()->Beendet());
        QVERIFY(!fenster.isVisible());
        QVERIFY(BasisEinstellungen::zFenster().isEmpty());
    }

    void beendenDerPlattform()
    {
        // A quit request of the desktop runs the same sequence and can be refused.
        AufzeichnendePlattform plattform;
        QVERIFY(!Kurslistenbauer()
                     .Kursflaggen("M", true, false, false)
                     .Anlegen(zOrdner->path())
                     .isEmpty());
        plattform.antwortenFrage << false;
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(App(), &quit);
        QCOMPARE(plattform.fragen.size(), 1);
        QVERIFY(!App()->Beendet());
    }

    void schliessenDerKursauswahlIstBeenden()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(!Kurslistenbauer()
                     .Kursflaggen("M", true, false, false)
                     .Anlegen(zOrdner->path())
                     .isEmpty());
        auto* auswahl = new Kursauswahl;
        App()->setzeKursauswahl(auswahl);
        auswahl->show();
        plattform.antwortenFrage << false;
        QVERIFY(!auswahl->close());
        QVERIFY(auswahl->isVisible());
        QVERIFY(!App()->Beendet());
        plattform.antwortenFrage << true;
        QVERIFY(auswahl->close());
        QVERIFY(App()->Beendet());
    }

    void versionsdaten()
    {
        QCOMPARE(RAVIRIreru::VersionsText(), QString("Version 1.9.0"));
        QCOMPARE(RAVIRIreru::ShortVersion(), QString("1.9"));
        QCOMPARE(RAVIRIreru::LongVersion(), QString("RAVIRIreru 1.9"));
        QVERIFY(!RAVIRIreru::Copyright().contains('\n'));
        QCOMPARE(RAVIRIreru::Rechtehinweis().count('\n'), 2);
    }

private:
    QScopedPointer<QTemporaryDir> zOrdner;
};

RAVIRIRERU_GUI_TEST_MAIN(TestBeenden)
#include "tst_app_beenden.moc"
