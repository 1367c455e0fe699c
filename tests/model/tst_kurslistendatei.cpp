#include "aufzeichnendeplattform.h"
#include "bytebauer.h"
#include "dateihelfer.h"
#include "datenbestand.h"
#include "kleinedatei.h"
#include "kurslistenbauer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Dateihelfer::Lesen;

using Kopf = KleineDatei;

// A small course-list file written field by field.
QByteArray KleineDateiBytes(const Kopf& k)
{
    return k.Bytes();
}

// A device that fails after a number of bytes, like a full disk.
class BrechendesGeraet : public QIODevice {
public:
    explicit BrechendesGeraet(qint64 grenze)
        : zGrenze(grenze)
    {
        open(QIODevice::WriteOnly);
    }
    QByteArray daten;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* d, qint64 n) override
    {
        if (daten.size() + n > zGrenze)
            return -1;
        daten.append(d, n);
        return n;
    }

private:
    qint64 zGrenze;
};

} // namespace

class TestKurslistendatei : public QObject {
    Q_OBJECT

    QTemporaryDir zOrdner;

private slots:
    void init() { GlobaleDatenZuruecksetzen(); }

    void rundreise_data()
    {
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<bool>("klausur");
        QTest::addColumn<bool>("warnung");
        for (int i = 0; i < 8; ++i)
            QTest::addRow("A%d K%d W%d", (i >> 2) & 1, (i >> 1) & 1, i & 1)
                << bool(i & 4) << bool(i & 2) << bool(i & 1);
    }
    void rundreise()
    {
        QFETCH(bool, abitur);
        QFETCH(bool, klausur);
        QFETCH(bool, warnung);
        // A password beyond ASCII and a course marked as changed must come back as they were.
        const Datenbestand d = Kurslistenbauer()
                                   .MarkAbitur(abitur)
                                   .MarkKlausur(klausur)
                                   .Warnung(warnung)
                                   .Aendern([](Datenbestand& daten) {
                                       daten.Pass = QStringLiteral("Päss");
                                       daten.alleKurse.Zeigen(2)->geaendert = true;
                                   })
                                   .Bauen();
        const QByteArray original = Dateihelfer::Kursliste(d);

        // From a real file on disk through the program's own load and save.
        const QString pfad = zOrdner.filePath(QStringLiteral("rund.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, original));
        QVERIFY(Daten.LadeDatei(pfad));
        QCOMPARE(Daten.datenFolder, QFileInfo(pfad).absoluteFilePath());
        QVERIFY(!Daten.wurdeGeaendert());
        QVERIFY(Daten.mitDaten);
        QCOMPARE(Daten.NotenPass, QStringLiteral("Geheim"));
        QCOMPARE(Daten.Pass, QStringLiteral("Päss"));
        QCOMPARE(Daten.alleSchueler.Zeigen(2).Name, QStringLiteral("Brandt, Ben"));
        QCOMPARE(Daten.alleKurse.Zeigen(1)->Fach, QStringLiteral("Mathematik"));
        QCOMPARE(Daten.alleKurse.Zeigen(1)->DrittesFachSchueler.Ausgeben(),
            abitur ? QStringLiteral(",11,13,") : QStringLiteral(","));
        QCOMPARE(Daten.alleKurse.Zeigen(1)->GewarntSchueler.Ausgeben(),
            warnung ? QStringLiteral(",12,") : QStringLiteral(","));
        QCOMPARE(Daten.alleKurse.Zeigen(2)->geaendert, true);
        QCOMPARE(TabellenStruktur.ErsteSpalte, qint64((abitur ? 4 : 3) + (warnung ? 1 : 0)));
        QVERIFY(Daten.Speichern());
        QCOMPARE(Dateihelfer::Lesen(pfad), original);
    }

    void optionaleMengenNurMitFlagge()
    {
        // Sets whose flag is false are not written, even when filled in memory.
        Datenbestand voll
            = Kurslistenbauer().MarkAbitur(false).MarkKlausur(false).Warnung(false).Bauen();
        Datenbestand leer = voll;
        leer.alleKurse = voll.alleKurse.Kopie();
        for (qint64 i = 1; i <= leer.alleKurse.AnzahlKurse(); ++i) {
            Kurs& k = *leer.alleKurse.Zeigen(i);
            k.DrittesFachSchueler.Leeren();
            k.ViertesFachSchueler.Leeren();
            k.KlausurSchueler.Leeren();
            k.GewarntSchueler.Leeren();
        }
        QVERIFY(!voll.alleKurse.Zeigen(1)->DrittesFachSchueler.Leer());
        QCOMPARE(Dateihelfer::Kursliste(voll), Dateihelfer::Kursliste(leer));

        // Read back, every course has all five sets, the optional ones empty.
        Datenbestand d;
        Spaltenstruktur s;
        QString m;
        QVERIFY(Lesen(Dateihelfer::Kursliste(voll), d, s, m));
        const Kurs& k = *d.alleKurse.Zeigen(1);
        QVERIFY(k.DrittesFachSchueler.Leer() && k.ViertesFachSchueler.Leer()
            && k.KlausurSchueler.Leer() && k.GewarntSchueler.Leer());
        QCOMPARE(k.Schueler.Ausgeben(), QStringLiteral(",14,13,12,11,"));
    }

    void handgeschriebeneDateiRundreise_data()
    {
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<bool>("klausur");
        QTest::addColumn<bool>("warnung");
        QTest::newRow("ohne") << false << false << false;
        QTest::newRow("alle") << true << true << true;
        QTest::newRow("nur Klausur") << false << true << false;
    }
    void handgeschriebeneDateiRundreise()
    {
        // The writer's layout agrees with a layout written field by field.
        QFETCH(bool, abitur);
        QFETCH(bool, klausur);
        QFETCH(bool, warnung);
        Kopf kopf;
        kopf.abitur = abitur;
        kopf.klausur = klausur;
        kopf.warnung = warnung;
        const QByteArray bytes = KleineDateiBytes(kopf);
        Datenbestand d;
        Spaltenstruktur s;
        QString m;
        QVERIFY2(Lesen(bytes, d, s, m), qPrintable(m));
        QCOMPARE(d.alleKurse.Zeigen(1)->Lehrer, QStringLiteral("ABC"));
        QCOMPARE(d.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 1)
                     ->Eintraege.Zeigen(QString(), QStringLiteral("Note")),
            QStringLiteral("10"));
        QCOMPARE(d.Server, QStringLiteral("srv"));
        QCOMPARE(Dateihelfer::KurslisteOderFehler(d, s), bytes);
    }

    void mengeWirdNormalisiert()
    {
        Kopf kopf;
        kopf.schuelerMenge = QStringLiteral("1, 2");
        Datenbestand d;
        Spaltenstruktur s;
        QString m;
        QVERIFY(Lesen(KleineDateiBytes(kopf), d, s, m));
        QCOMPARE(d.alleKurse.Zeigen(1)->Schueler.Ausgeben(), QStringLiteral(",1,2,"));
        kopf.schuelerMenge = QStringLiteral(",1,2,");
        QCOMPARE(Dateihelfer::KurslisteOderFehler(d, s), KleineDateiBytes(kopf));
    }

    void katalogUndNoten_data()
    {
        QTest::addColumn<int>("katalog");
        QTest::addColumn<int>("letzteNote");
        QTest::addColumn<bool>("mitDaten");
        QTest::addColumn<int>("noten");
        QTest::newRow("leerer Katalog, keine Noten") << 0 << -1 << false << 0;
        QTest::newRow("ein Eintrag, eine Note") << 1 << 0 << true << 1;
        QTest::newRow("zwei Einträge, drei Noten") << 2 << 2 << true << 3;
        QTest::newRow("negativer Zähler") << -5 << -7 << false << 0;
    }
    void katalogUndNoten()
    {
        QFETCH(int, katalog);
        QFETCH(int, letzteNote);
        QFETCH(bool, mitDaten);
        QFETCH(int, noten);
        Kopf kopf;
        kopf.katalog = katalog;
        kopf.letzteNote = letzteNote;
        Datenbestand d;
        Spaltenstruktur s;
        QString m;
        QVERIFY2(Lesen(KleineDateiBytes(kopf), d, s, m), qPrintable(m));
        QCOMPARE(d.mitDaten, mitDaten);
        QCOMPARE(d.zNoten.size(), noten);
        QCOMPARE(d.alleEintraege.Anzahl(), qint64(qMax(katalog, 0)));
    }

    void negativeSchuelerzahlLiestLeereListe()
    {
        Kopf kopf;
        kopf.schuelerAnzahl = -3;
        Datenbestand d;
        Spaltenstruktur s;
        QString m;
        QVERIFY2(Lesen(KleineDateiBytes(kopf), d, s, m), qPrintable(m));
        QCOMPARE(d.alleSchueler.AnzahlSchueler(), qint64(0));
    }

    void ablehnungen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("meldung");
        const QByteArray gut = KleineDateiBytes(Kopf {});
        QByteArray ergebnis = gut;
        ergebnis[0] = 1;
        QByteArray v10 = gut;
        v10[2] = 10;
        QByteArray v12 = gut;
        v12[2] = 12;
        QByteArray vNeg = gut;
        vNeg[1] = char(0xFF);
        QTest::newRow("Ergebnisdatei") << ergebnis << Meldungen::KeineNotenliste;
        QTest::newRow("Version 10") << v10 << Meldungen::AeltereVersion;
        QTest::newRow("Version 12") << v12 << Meldungen::NeuereVersion;
        QTest::newRow("Version negativ") << vNeg << Meldungen::AeltereVersion;
        QTest::newRow("leere Datei") << QByteArray() << Meldungen::Beschaedigt;
        QTest::newRow("nur ein Byte") << QByteArray(1, 0) << Meldungen::Beschaedigt;
        QTest::newRow("abgeschnitten") << gut.left(gut.size() - 1) << Meldungen::Beschaedigt;
        QTest::newRow("negative Mengenlänge")
            << ByteBauer { KleineDateiBytes(Kopf {}).left(
                               gut.indexOf(QByteArray("\x00\x03,1,", 5))) }
                   .Int16(-2)
                   .b
            << Meldungen::Beschaedigt;
    }
    void ablehnungen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, meldung);
        // Through the program's load: the message is shown and the data stay as they were.
        Kurslistenbauer().AlsGlobaleDaten(QStringLiteral("/alt/datei.zln"));
        Daten.Geaendert();
        const QByteArray vorher = Dateihelfer::KurslisteOderFehler(Daten, TabellenStruktur);
        const QString pfad = zOrdner.filePath(QStringLiteral("abgelehnt.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, bytes));
        AufzeichnendePlattform p;
        p.antwortenDatei = { pfad };
        QVERIFY(!Daten.Laden());
        QCOMPARE(p.meldungen, QStringList { meldung });
        QCOMPARE(Dateihelfer::KurslisteOderFehler(Daten, TabellenStruktur), vorher);
        QCOMPARE(Daten.datenFolder, QStringLiteral("/alt/datei.zln"));
        QVERIFY(Daten.wurdeGeaendert());
    }

    void abgebrochenUndFehlend()
    {
        Kurslistenbauer().AlsGlobaleDaten(QStringLiteral("/alt/datei.zln"));
        Daten.Geaendert();
        const QByteArray vorher = Dateihelfer::KurslisteOderFehler(Daten, TabellenStruktur);
        AufzeichnendePlattform p;
        p.antwortenDatei
            = { QString(), zOrdner.filePath(QStringLiteral("gibtsnicht.zln")), zOrdner.path() };
        QVERIFY(!Daten.Laden());
        QVERIFY(p.meldungen.isEmpty());
        QVERIFY(!Daten.Laden());
        QVERIFY(!Daten.Laden()); // a folder is no file either
        QCOMPARE(p.meldungen, QStringList({ Meldungen::DateiFehlt, Meldungen::DateiFehlt }));
        QCOMPARE(Dateihelfer::KurslisteOderFehler(Daten, TabellenStruktur), vorher);
        QVERIFY(Daten.wurdeGeaendert());

        // The dialog as the teacher sees it.
        const Plattform::DateiDialog& dlg = p.oeffnenDialoge.first();
        QCOMPARE(dlg.titel, QStringLiteral("Notenlisten öffnen"));
        QCOMPARE(dlg.hinweis, QStringLiteral("Bitte wählen Sie eine Datei mit Notenlisten aus."));
        QCOMPARE(dlg.aktionsKnopf, QStringLiteral("Öffnen"));
        QCOMPARE(dlg.abbrechenKnopf, QStringLiteral("Abbrechen"));
        QCOMPARE(dlg.filterName, QStringLiteral("ZELTA-NotenDatei"));
        QCOMPARE(dlg.filterMuster, QStringLiteral("*.zln"));
        QVERIFY(dlg.startOrdner.isEmpty());
    }

    void vorschlagBestimmtStartordner()
    {
        AufzeichnendePlattform p;
        p.antwortenDatei = { QString() };
        QVERIFY(!Daten.Laden(QStringLiteral("/home/lehrer/Noten/Kurse.zln")));
        QCOMPARE(p.oeffnenDialoge.first().startOrdner, QStringLiteral("/home/lehrer/Noten"));
        QCOMPARE(
            p.oeffnenDialoge.first().vorschlag, QStringLiteral("/home/lehrer/Noten/Kurse.zln"));
    }

    void unpassendesLayoutWirdNeuAufgebaut()
    {
        // A stored layout with more entry columns than the catalogue has entries.
        Datenbestand d = Kurslistenbauer().Bauen();
        Spaltenstruktur s;
        s.KurslistenInit(d);
        s.SpalteAnfuegen(EinfacheSpalte(QStringLiteral("zuviel"), 60, 2));
        s.SpaltenAnzahl += 1;
        Datenbestand gelesen;
        Spaltenstruktur gelesenS;
        QString m;
        QVERIFY(Lesen(Dateihelfer::Kursliste(d, s), gelesen, gelesenS, m));
        QCOMPARE(gelesenS.ErsteSpalte, qint64(0));
        QCOMPARE(gelesenS.SpaltenAnzahl, qint64(0));
    }

    void jedeKuerzungWirdAbgelehnt()
    {
        const QByteArray gut = Kurslistenbauer().Bytes();
        for (qsizetype n = 0; n < gut.size(); ++n) {
            Datenbestand d;
            d.HalbjahrKuerzel = QStringLiteral("unverändert");
            Spaltenstruktur s;
            QString m;
            QVERIFY2(!Lesen(gut.left(n), d, s, m), qPrintable(QString::number(n)));
            QCOMPARE(m, Meldungen::Beschaedigt);
            QCOMPARE(d.HalbjahrKuerzel, QStringLiteral("unverändert"));
        }
    }

    void zufaelligeBytefehler()
    {
        const QByteArray gut = Kurslistenbauer().Bytes();
        const QStringList erlaubt { Meldungen::Beschaedigt, Meldungen::KeineNotenliste,
            Meldungen::AeltereVersion, Meldungen::NeuereVersion };
        QRandomGenerator zufall(20261209);
        int geladen = 0;
        for (int i = 0; i < 4000; ++i) {
            QByteArray b = gut;
            const int stelle = int(zufall.bounded(qint64(b.size())));
            b[stelle] = char(zufall.bounded(256));
            Datenbestand d;
            Spaltenstruktur s;
            QString m;
            if (Lesen(b, d, s, m)) {
                ++geladen;
                // Whatever was read can be laid out and written again.
                s.KurslistenInit(d);
                QVERIFY(!Dateihelfer::KurslisteOderFehler(d, s).startsWith("FEHLER"));
            } else {
                QVERIFY2(erlaubt.contains(m) || m.startsWith(Meldungen::NichtWiederSicherbar),
                    qPrintable(m));
            }
        }
        QVERIFY(geladen > 0);
    }

    void gesammelteFuzzEingaben()
    {
        // The inputs the fuzzer kept: every one loads or is refused with a known message, and
        // what loads is written back to bytes that load to the same bytes again.
        const QDir korpus(QStringLiteral(TESTDATEN "/fuzz-korpus"));
        const QStringList dateien = korpus.entryList(QDir::Files);
        QVERIFY(dateien.size() > 100);
        const QStringList erlaubt { Meldungen::Beschaedigt, Meldungen::KeineNotenliste,
            Meldungen::AeltereVersion, Meldungen::NeuereVersion };
        for (const QString& name : dateien) {
            Datenbestand d;
            Spaltenstruktur s;
            QString m;
            if (!Lesen(Dateihelfer::Lesen(korpus.filePath(name)), d, s, m)) {
                QVERIFY2(erlaubt.contains(m) || m.startsWith(Meldungen::NichtWiederSicherbar),
                    qPrintable(name + QLatin1String(": ") + m));
                continue;
            }
            // What loads can be written back: a file that could not is refused on loading.
            const QByteArray einmal = Dateihelfer::KurslisteOderFehler(d, s);
            QVERIFY2(!einmal.startsWith("FEHLER"), qPrintable(name + QLatin1String(": ") + einmal));
            Datenbestand d2;
            Spaltenstruktur s2;
            QVERIFY2(Lesen(einmal, d2, s2, m), qPrintable(name));
            QCOMPARE(Dateihelfer::KurslisteOderFehler(d2, s2), einmal);
        }
    }

    void schreibfehlerDesGeraets()
    {
        const Datenbestand d = Kurslistenbauer().Bauen();
        Spaltenstruktur s;
        s.KurslistenInit(d);
        const qint64 laenge = Dateihelfer::KurslisteOderFehler(d, s).size();
        for (qint64 grenze : { qint64(0), qint64(1), qint64(2), laenge / 2, laenge - 1 }) {
            BrechendesGeraet g(grenze);
            QString m;
            QVERIFY(!Datenbestand::Schreiben(g, d, s, m));
            QVERIFY(!m.isEmpty());
        }
        BrechendesGeraet genug(laenge);
        QString m;
        QVERIFY(Datenbestand::Schreiben(genug, d, s, m));
    }

    void zuLangerTextWirdNieAbgeschnitten_data()
    {
        QTest::addColumn<int>("fall");
        QTest::addColumn<QString>("feld");
        QTest::newRow("Name 300 Zeichen") << 0 << "Schueler.Name";
        QTest::newRow("Hinweis 256 Bytes") << 1 << "KursEintrag.datum";
        QTest::newRow("Umlaute 128 Zeichen") << 2 << "HalbjahrKuerzel";
        QTest::newRow("Menge über 32767 Bytes") << 3 << "Kurs.Schueler";
    }
    void zuLangerTextWirdNieAbgeschnitten()
    {
        QFETCH(int, fall);
        QFETCH(QString, feld);
        Kurslistenbauer().AlsGlobaleDaten();
        const QString pfad = zOrdner.filePath(QStringLiteral("lang.zln"));
        Daten.datenFolder = pfad;
        QVERIFY(Daten.Speichern());
        const QByteArray alt = Dateihelfer::Lesen(pfad);
        switch (fall) {
        case 0:
            Daten.alleSchueler.Zeigen(1).Name = QString(300, QLatin1Char('x'));
            break;
        case 1:
            Daten.alleSchuelerKurse.ZeigePosition(1)->Eintraege.ZeigeKursEintrag(3).datum
                = QString(256, QLatin1Char('y'));
            break;
        case 2:
            Daten.HalbjahrKuerzel = QString(128, QChar(0xE4));
            break;
        case 3:
            for (int i = 0; i < 5000; ++i)
                Daten.alleKurse.Zeigen(1)->Schueler.Einfuegen(qint64(100000 + i));
            break;
        }
        QByteArray bytes;
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::WriteOnly);
        QString m;
        QVERIFY(!Datenbestand::Schreiben(puffer, Daten, TabellenStruktur, m));
        QVERIFY2(m.contains(feld), qPrintable(m));
        QVERIFY(!Daten.Speichern());
        QCOMPARE(Dateihelfer::Lesen(pfad), alt);
    }

    void gerade255BytesPassen()
    {
        Datenbestand d = Kurslistenbauer().Bauen();
        // 255 bytes after scrambling (85 characters of three UTF-8 bytes): the longest
        // that fits; one character more does not.
        d.alleSchueler.Zeigen(1).Name = Hilfsmittel::DeChiffre(QString(85, QChar(0x4E00)));
        QCOMPARE(Hilfsmittel::Chiffre(d.alleSchueler.Zeigen(1).Name).toUtf8().size(), 255);
        Spaltenstruktur s;
        s.KurslistenInit(d);
        Datenbestand gelesen;
        Spaltenstruktur gs;
        QString m;
        QVERIFY(Lesen(Dateihelfer::KurslisteOderFehler(d, s), gelesen, gs, m));
        QCOMPARE(gelesen.alleSchueler.Zeigen(1).Name, d.alleSchueler.Zeigen(1).Name);
        d.alleSchueler.Zeigen(1).Name = Hilfsmittel::DeChiffre(QString(86, QChar(0x4E00)));
        QVERIFY(Dateihelfer::KurslisteOderFehler(d, s).startsWith("FEHLER"));
    }

    void textMitU_FEFFBleibtErhalten()
    {
        // A name whose scrambled form starts with U+FEFF, a remark and a set starting with it.
        Datenbestand d = Kurslistenbauer().Bauen();
        d.alleSchueler.Zeigen(1).Name = QString(QChar(0xFEFC)) + QStringLiteral("Anna");
        d.alleSchuelerKurse.ZeigePosition(1)->Eintraege.ZeigeKursEintrag(3).datum
            = QString(QChar(0xFEFF)) + QStringLiteral("Hinweis");
        d.alleKurse.Zeigen(1)->Schueler.Einfuegen(QString(QChar(0xFEFF)));
        Spaltenstruktur s;
        s.KurslistenInit(d);
        const QByteArray bytes = Dateihelfer::KurslisteOderFehler(d, s);
        Datenbestand gelesen;
        Spaltenstruktur gs;
        QString m;
        QVERIFY(Lesen(bytes, gelesen, gs, m));
        QCOMPARE(gelesen.alleSchueler.Zeigen(1).Name, d.alleSchueler.Zeigen(1).Name);
        QCOMPARE(gelesen.alleSchuelerKurse.ZeigePosition(1)->Eintraege.ZeigeKursEintrag(3).datum,
            QString(QChar(0xFEFF)) + QStringLiteral("Hinweis"));
        QCOMPARE(Dateihelfer::KurslisteOderFehler(gelesen, gs), bytes);
    }

    void ordnerOhneSchreibrecht()
    {
        // Tests run as root, who may write anywhere: the write runs in a child process
        // that has given up root.
        if (geteuid() != 0)
            QSKIP("needs root to switch to an unprivileged user");
        QTemporaryDir basis(QDir::tempPath() + QStringLiteral("/rechte-XXXXXX"));
        QVERIFY(chmod(QFile::encodeName(basis.path()).constData(), 0755) == 0);
        const QString ordner = basis.filePath(QStringLiteral("gesperrt"));
        QVERIFY(QDir().mkdir(ordner));
        const QString pfad = ordner + QStringLiteral("/kurse.zln");
        const QByteArray alt = Kurslistenbauer().Bytes();
        QVERIFY(Dateihelfer::Schreiben(pfad, alt));
        QVERIFY(chmod(QFile::encodeName(pfad).constData(), 0444) == 0);
        QVERIFY(chmod(QFile::encodeName(ordner).constData(), 0555) == 0);

        const pid_t kind = fork();
        QVERIFY(kind >= 0);
        if (kind == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(3);
            QString m;
            _exit(Datenbestand::SchreibeDatei(pfad, QByteArray("neu"), m) ? 0 : 1);
        }
        int status = 0;
        waitpid(kind, &status, 0);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 1);
        QCOMPARE(Dateihelfer::Lesen(pfad), alt);
        chmod(QFile::encodeName(ordner).constData(), 0755);
    }

    void schreibenErsetztAtomar()
    {
        const QString pfad = zOrdner.filePath(QStringLiteral("atomar.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, QByteArray("alt")));
        QString m;
        QVERIFY(Datenbestand::SchreibeDatei(pfad, QByteArray("neu und länger"), m));
        QCOMPARE(Dateihelfer::Lesen(pfad), QByteArray("neu und länger"));
        QCOMPARE(
            QDir(zOrdner.path()).entryList(QDir::Files).filter(QStringLiteral("atomar")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestKurslistendatei)
#include "tst_kurslistendatei.moc"
