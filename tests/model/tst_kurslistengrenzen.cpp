// Reading a course-list file within what its data can mean: texts that could not be written
// back, counts beyond the rest of the file, rows longer than the catalogue, memory, stored
// column widths.

#include "aufzeichnendeplattform.h"
#include "bytebauer.h"
#include "dateihelfer.h"
#include "dateileser.h"
#include "datenbestand.h"
#include "kleinedatei.h"
#include "kurslistenbauer.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define MIT_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIT_ASAN 1
#endif
#endif

namespace {

using Dateihelfer::Lesen;

// A file of empty entries: a catalogue of n entries and as many rows as make up about
// groesse bytes, each row with n entries whose texts are all empty.
QByteArray LeereEintraege(int n, qint64 groesse)
{
    ByteBauer b;
    b.Bool(false).Int16(11).Bool(false).Int16(3).PString("Q1").PString("Q1");
    b.Bool(false).Bool(false).Bool(false).Int16(4).Int16(5).Bool(false);
    b.Int16(n);
    for (int i = 0; i < n; ++i)
        b.PString(QString()).PString(QString::number(i));
    b.Int16(-1);
    for (int i = 0; i < 6; ++i)
        b.PString(QString());
    b.Int16(0).Int16(0);
    const qint64 zeile = 1 + 1 + 4 + 2 + 3 * qint64(n);
    const int zeilen = int(qMin<qint64>(32767, groesse / zeile));
    b.Int16(zeilen);
    const QByteArray leer(3 * n, '\0');
    for (int z = 0; z < zeilen; ++z) {
        b.PString("M").Int32(z).Int16(n);
        b.b.append(leer);
    }
    b.Int16(0).Int16(0);
    return b.b;
}

long SpitzeKilobyte()
{
    struct rusage r { };
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

} // namespace

class TestKurslistengrenzen : public QObject {
    Q_OBJECT

    QTemporaryDir zOrdner;

private slots:
    void init() { GlobaleDatenZuruecksetzen(); }
    void cleanup() { GlobaleDatenZuruecksetzen(); }

    // --- A file that loads but could never be saved is refused ------------------------------

    void nichtWiederSicherbar_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("grund");
        const QByteArray gut = KleineDatei {}.Bytes();
        // The messages give the byte where the text starts in the file.
        const auto stelle = [](const QByteArray& bytes, const QByteArray& text) {
            return QString::number(bytes.indexOf(char(text.size()) + text) + 1);
        };
        const QByteArray name(255, '\xFF');
        const QByteArray mitName = PStringErsetzen(gut, "Anna", true, name);
        QTest::newRow("Name aus 255 ungültigen Bytes") << mitName
                                                       << "Der Text im Feld Schueler.Name (an Byte "
                + stelle(mitName, name) + ") ist kein gültiger UTF-8-Text.";
        const QByteArray note("1\xC3");
        const QByteArray mitNote = PStringErsetzen(gut, "10", false, note);
        QTest::newRow("Note mit einem ungültigen Byte")
            << mitNote
            << "Der Text im Feld KursEintrag.datum (an Byte " + stelle(mitNote, note)
                + ") ist kein gültiger UTF-8-Text.";
        const QByteArray fach("\x01\x02");
        const QByteArray mitFach = PStringErsetzen(gut, "Mathe", true, fach);
        QTest::newRow("Fach, das keine Verschlüsselung ergibt")
            << mitFach
            << "Der verschlüsselte Text im Feld Kurs.Fach (an Byte " + stelle(mitFach, fach)
                + ") lässt sich nicht entschlüsseln.";
        KleineDatei volleMenge;
        volleMenge.schuelerMenge = QString(32767, QLatin1Char('7'));
        QTest::newRow("Menge, die mit ihren Kommas nicht mehr passt")
            << volleMenge.Bytes()
            << "Die Menge im Feld Kurs.Schueler ist mit 32769 Bytes zu lang (höchstens 32767 "
               "Bytes).";
    }
    void nichtWiederSicherbar()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, grund);
        // Refused on loading, with the field, before any grade can be typed; the program's
        // data stay as they were.
        Kurslistenbauer().AlsGlobaleDaten(QStringLiteral("/alt/datei.zln"));
        const QByteArray vorher = Dateihelfer::KurslisteOderFehler(Daten, TabellenStruktur);
        const QString pfad = zOrdner.filePath(QStringLiteral("unsicherbar.zln"));
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
        f.close();
        AufzeichnendePlattform p;
        QVERIFY(!Daten.LadeDatei(pfad));
        QCOMPARE(p.meldungen,
            QStringList { Meldungen::NichtWiederSicherbar + QLatin1Char(' ') + grund });
        QCOMPARE(Dateihelfer::KurslisteOderFehler(Daten, TabellenStruktur), vorher);
        QCOMPARE(Daten.datenFolder, QStringLiteral("/alt/datei.zln"));
    }

    void gueltigeRaenderBleibenLesbar()
    {
        // What is sound at the edges still loads: a set of 32,765 bytes between its commas,
        // a scrambled name of exactly 255 bytes, U+FFFD stored as real UTF-8.
        KleineDatei k;
        k.schuelerMenge
            = QStringLiteral(",") + QString(32765, QLatin1Char('7')) + QStringLiteral(",");
        QByteArray bytes = PStringErsetzen(k.Bytes(), "Anna", true,
            Hilfsmittel::Chiffre(Hilfsmittel::DeChiffre(QString(85, QChar(0x4E00)))).toUtf8());
        bytes = PStringErsetzen(bytes, "10", false, QString(QChar(0xFFFD)).toUtf8());
        Datenbestand d;
        Spaltenstruktur s;
        QString m;
        QVERIFY2(Lesen(bytes, d, s, m), qPrintable(m));
        QCOMPARE(Dateihelfer::KurslisteOderFehler(d, s), bytes);
    }

    // --- Reading is bounded by what the data can mean ---------------------------------------

    void grenzenDesLesens_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        KleineDatei laengereZeile;
        laengereZeile.katalog = 1;
        laengereZeile.zeilenEintraege = 2;
        QTest::newRow("Zeile mit mehr Einträgen als der Katalog") << laengereZeile.Bytes();
        KleineDatei ohneKatalog;
        ohneKatalog.katalog = 0;
        ohneKatalog.zeilenEintraege = 1;
        QTest::newRow("Zeile mit Einträgen ohne Katalog") << ohneKatalog.Bytes();
        KleineDatei vieleSchueler;
        vieleSchueler.schuelerAnzahl = 30000;
        QTest::newRow("30000 Schüler versprochen, einer da") << vieleSchueler.Bytes();
        KleineDatei vieleNoten;
        vieleNoten.letzteNote = 0;
        QByteArray noten = vieleNoten.Bytes();
        // The last grade index, just after the one-entry catalogue: 32,766 grades promised.
        const qsizetype stelle = noten.indexOf(QByteArray("\x00\x00\x01"
                                                          "0",
            4));
        noten[stelle] = char(0x7F);
        noten[stelle + 1] = char(0xFE);
        QTest::newRow("32767 Noten versprochen, eine da") << noten;
    }
    void grenzenDesLesens()
    {
        QFETCH(QByteArray, bytes);
        Datenbestand d;
        d.HalbjahrKuerzel = QStringLiteral("unverändert");
        Spaltenstruktur s;
        QString m;
        QVERIFY(!Lesen(bytes, d, s, m));
        QCOMPARE(m, Meldungen::Beschaedigt);
        QCOMPARE(d.HalbjahrKuerzel, QStringLiteral("unverändert"));
    }

    void zaehlerGegenDenRest()
    {
        // The check comes before anything is made for the elements.
        QByteArray zehn(10, '\0');
        QBuffer puffer(&zehn);
        puffer.open(QIODevice::ReadOnly);
        DateiLeser leser(puffer);
        QVERIFY(leser.ListeLesbar(5, 2, 48));
        QVERIFY(leser.ListeLesbar(0, 1000, 1000));
        QVERIFY(leser.ListeLesbar(-7, 1000, 1000));
        QVERIFY(!leser.ListeLesbar(6, 2, 48));
        QVERIFY(!leser.ok());
        QCOMPARE(leser.fehler(),
            QStringLiteral("6 Elemente zu mindestens 2 Bytes an Byte 0, aber nur 10 Bytes übrig"));

        QBuffer puffer2(&zehn);
        puffer2.open(QIODevice::ReadOnly);
        DateiLeser knapp(puffer2);
        QCOMPARE(knapp.Speichergrenze(),
            DateiLeser::Grundspeicher + 10 * DateiLeser::SpeicherJeDateibyte);
        QVERIFY(!knapp.ListeLesbar(2, 1, knapp.Speichergrenze() / 2 + 1));
    }

    void dreissigMegabyteLeereEintraege()
    {
        // 30 MB of rows with 32,767 empty entries each: read within the budget or refused,
        // never more than 10 times the file's size in memory.
        const pid_t kind = fork();
        QVERIFY(kind >= 0);
        if (kind == 0) {
            const long vorher = SpitzeKilobyte();
            QByteArray bytes = LeereEintraege(32767, 30'000'000);
            const qint64 groesse = bytes.size();
            Datenbestand d;
            Spaltenstruktur s;
            QString m;
            const bool gelesen = Lesen(std::move(bytes), d, s, m);
            const long zuwachs = (SpitzeKilobyte() - vorher) * 1024;
            std::fprintf(stderr, "30 MB leere Einträge: %s, Spitze %.1f MB = %.1f × Dateigröße\n",
                gelesen ? "gelesen" : "abgelehnt", zuwachs / 1e6, double(zuwachs) / groesse);
            if (gelesen || m != Meldungen::Beschaedigt)
                _exit(2);
#ifdef MIT_ASAN
            _exit(0); // the sanitizer's own bookkeeping makes the measure meaningless
#else
            _exit(zuwachs <= 10 * groesse ? 0 : 1);
#endif
        }
        int status = 0;
        QCOMPARE(waitpid(kind, &status, 0), kind);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void groessteEchteDateiPasst()
    {
        // A school-wide file at the format's limit of rows, as exported at the start of a
        // half-year (every value still empty, so memory per file byte is at its highest):
        // well within what reading may take.
        const QList<QPair<QString, QString>> katalog
            = { { QString(), QStringLiteral("Note") }, { QString(), QStringLiteral("Fehlstunden") },
                  { QString(), QStringLiteral("unentschuldigte Fehlstunden") },
                  { QString(), QStringLiteral("Hinweis") },
                  { QStringLiteral("KL"), QStringLiteral("Klausur") } };
        ByteBauer b;
        b.Bool(false).Int16(11).Bool(false).Int16(3).PString("Q1").PString("Q1");
        b.Bool(false).Bool(false).Bool(false).Int16(4).Int16(4).Bool(false);
        b.Int16(int(katalog.size()));
        for (const auto& [id, bezeichnung] : katalog)
            b.PString(id).PString(bezeichnung);
        b.Int16(-1);
        for (int i = 0; i < 6; ++i)
            b.PString(QString());
        b.Int16(0).Int16(0);
        b.Int16(32767);
        for (int z = 0; z < 32767; ++z) {
            b.PString(QStringLiteral("K%1").arg(z % 300, 3, 10, QLatin1Char('0')))
                .Int32(100000 + z);
            b.Int16(int(katalog.size()));
            for (const auto& [id, bezeichnung] : katalog)
                b.PString(id).PString(bezeichnung).PString(QString());
        }
        b.Int16(0).Int16(0);
        Datenbestand gelesen;
        Spaltenstruktur s;
        QString m;
        QVERIFY2(Lesen(b.b, gelesen, s, m), qPrintable(m));
        QCOMPARE(gelesen.alleSchuelerKurse.AnzahlKurse(), qint64(32767));
    }

    // --- Stored column widths -------------------------------------------------------------

    void spaltenbreitenBegrenzt()
    {
        const Datenbestand d = Kurslistenbauer().Bauen();
        Spaltenstruktur s;
        s.KurslistenInit(d);
        const int erste = int(s.ErsteSpalte);
        s.Spalten[0].Breite = 0; // the hidden ID column
        s.Spalten[1].Breite = 30000;
        s.Spalten[2].Breite = -5;
        s.Spalten[erste].Breite = 3;
        s.Spalten[erste + 1].Breite = 2000;
        s.Spalten[erste + 2].Breite = 2001;
        const QByteArray bytes = Dateihelfer::Kursliste(d, s);

        Datenbestand gelesen;
        Spaltenstruktur g;
        QString m;
        QVERIFY2(Lesen(bytes, gelesen, g, m), qPrintable(m));
        QCOMPARE(g.ErsteSpalte, s.ErsteSpalte);
        QList<qint64> breiten;
        for (const EinfacheSpalte& spalte : g.Spalten)
            breiten << spalte.Breite;
        QList<qint64> erwartet;
        for (const EinfacheSpalte& spalte : s.Spalten)
            erwartet << qBound(qint64(10), spalte.Breite, qint64(2000));
        erwartet[0] = 0;
        QCOMPARE(breiten, erwartet);
        QVERIFY(g.Gesamtbreite() <= 2000 * g.SpaltenAnzahl);

        // Stored back as they were, unless the teacher changes one.
        QCOMPARE(Dateihelfer::KurslisteOderFehler(gelesen, g), bytes);
        g.SetzeSpaltenBreite(1, 120);
        Datenbestand d2;
        Spaltenstruktur g2;
        QVERIFY(Lesen(Dateihelfer::KurslisteOderFehler(gelesen, g), d2, g2, m));
        QCOMPARE(g2.Spalten[1].Breite, qint64(120));
        QCOMPARE(g2.Spalten[1].GespeicherteBreite(), qint64(120));
        QCOMPARE(g2.Spalten[2].GespeicherteBreite(), qint64(-5));
        QCOMPARE(g2.Spalten[2].Breite, qint64(10));
    }
};

QTEST_GUILESS_MAIN(TestKurslistengrenzen)
#include "tst_kurslistengrenzen.moc"
