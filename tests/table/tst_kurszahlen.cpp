// The figures of a course, checked by hand for small courses: empty grades, grades without a
// value such as "E", deficits at the limit, hours written with a decimal point, a catalogue
// without grade or hour columns.

#include "datenbestand.h"
#include "kurszahlen.h"
#include "notenbestand.h"

#include <QTest>

namespace {

// The scale of these tests (notenbestand.h).
Datenbestand Bestand(const QStringList& katalog, bool mitDefiziten)
{
    return Notenbestand(katalog, mitDefiziten, false);
}

// A row "12|4|0" in catalogue order; "-" stands for a row the file does not have.
std::optional<KursEintraege> Zeile(const Datenbestand& d, const QString& text)
{
    if (text == QLatin1String("-"))
        return std::nullopt;
    KursEintraege e = d.alleEintraege.ErzeugeKursEintraege();
    const QStringList werte = text.split(QLatin1Char('|'));
    for (int i = 0; i < werte.size() && i < e.Anzahl(); ++i)
        e.ZeigeKursEintrag(i).datum = werte.at(i);
    return e;
}

const QStringList Standard = { QStringLiteral("Note"), QStringLiteral("Fehlstunden"),
    QStringLiteral("unentschuldigte Fehlstunden"), QStringLiteral("Hinweis") };

} // namespace

class TestKurszahlen : public QObject {
    Q_OBJECT

private slots:
    void zahlen_data()
    {
        QTest::addColumn<QStringList>("katalog");
        QTest::addColumn<bool>("mitDefiziten");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("anteil");

        QTest::newRow("ohne Werte") << Standard << true << QStringList { "-", "-", "|||" }
                                    << "3 Schüler  ·  Noten: 0 eingetragen, 3 fehlen  ·  0 "
                                       "Defizite  ·  Fehlstunden 0, davon 0 unentschuldigt"
                                    << "0/3";
        // 12 and 4 averaged (E has no value); 4 is a deficit; the empty grade is missing.
        QTest::newRow("gemischt")
            << Standard << true << QStringList { "12|4|0|", "E|2|2|Attest", "||1|", "4|1.5|0|" }
            << "4 Schüler  ·  Noten: 3 eingetragen, 1 fehlt  ·  Schnitt 8 Punkte  ·  1 Defizit  ·  "
               "Fehlstunden 7,5, davon 3 unentschuldigt"
            << "3/4";
        QTest::newRow("Grenze") << Standard << true << QStringList { "5|0|0", "4|0|0", "0|0|0" }
                                << "3 Schüler  ·  Noten: 3 eingetragen, 0 fehlen  ·  Schnitt 3 "
                                   "Punkte  ·  2 Defizite  ·  "
                                   "Fehlstunden 0, davon 0 unentschuldigt"
                                << "3/3";
        QTest::newRow("nur E") << Standard << true << QStringList { "E", "e" }
                               << "2 Schüler  ·  Noten: 2 eingetragen, 0 fehlen  ·  0 Defizite  ·  "
                                  "Fehlstunden 0, davon 0 unentschuldigt"
                               << "2/2";
        QTest::newRow("Schnitt gerundet") << Standard << true << QStringList { "15", "14", "14" }
                                          << "3 Schüler  ·  Noten: 3 eingetragen, 0 fehlen  ·  "
                                             "Schnitt 14,3 Punkte  ·  0 Defizite  ·  "
                                             "Fehlstunden 0, davon 0 unentschuldigt"
                                          << "3/3";
        QTest::newRow("ohne Defizite")
            << Standard << false << QStringList { "3", "2" }
            << "2 Schüler  ·  Noten: 2 eingetragen, 0 fehlen  ·  Schnitt 2,5 Punkte  ·  "
               "Fehlstunden 0, davon 0 unentschuldigt"
            << "2/2";
        // A text an older program stored counts as entered, without a value; hours that are
        // no number count as none.
        QTest::newRow("alte Werte")
            << Standard << true << QStringList { "sehr gut|zwei|1", " |3|x" }
            << "2 Schüler  ·  Noten: 1 eingetragen, 1 fehlt  ·  0 Defizite  ·  Fehlstunden 3, "
               "davon 1 unentschuldigt"
            << "1/2";
        QTest::newRow("Einzahl") << Standard << true << QStringList { "3|1|1" }
                                 << "1 Schüler  ·  Noten: 1 eingetragen, 0 fehlen  ·  Schnitt 3 "
                                    "Punkte  ·  1 Defizit  ·  "
                                    "Fehlstunden 1, davon 1 unentschuldigt"
                                 << "1/1";
        QTest::newRow("ohne Noten und Stunden")
            << QStringList { "Hinweis" } << true << QStringList { "gut", "-" } << "2 Schüler"
            << "";
        // Without "Note" the first entry with an ID is the grade column.
        QTest::newRow("Note mit ID")
            << QStringList { "Bemerkung", "KL:Klausur", "K2:Klausur 2", "Fehlstunden" } << true
            << QStringList { "|9|1|2", "|3||2.25" }
            << "2 Schüler  ·  Noten: 2 eingetragen, 0 fehlen  ·  Schnitt 6 Punkte  ·  1 Defizit  · "
               " Fehlstunden 4,25"
            << "2/2";
        QTest::newRow("nur unentschuldigt") << QStringList { "Note", "unentschuldigte Fehlstunden" }
                                            << true << QStringList { "10|2" }
                                            << "1 Schüler  ·  Noten: 1 eingetragen, 0 fehlen  ·  "
                                               "Schnitt 10 Punkte  ·  0 Defizite  ·  "
                                               "unentschuldigte Fehlstunden 2"
                                            << "1/1";
        QTest::newRow("kein Schüler") << Standard << true << QStringList {}
                                      << "0 Schüler  ·  Noten: 0 eingetragen, 0 fehlen  ·  0 "
                                         "Defizite  ·  Fehlstunden 0, davon 0 unentschuldigt"
                                      << "0/0";
    }

    void zahlen()
    {
        QFETCH(QStringList, katalog);
        QFETCH(bool, mitDefiziten);
        QFETCH(QStringList, zeilen);
        QFETCH(QString, text);
        QFETCH(QString, anteil);

        const Datenbestand d = Bestand(katalog, mitDefiziten);
        Kurszahlen zahlen(d);
        zahlen.Zeilen(int(zeilen.size()));
        QList<std::optional<KursEintraege>> werte;
        for (const QString& z : zeilen)
            werte.append(Zeile(d, z));
        for (int i = 0; i < werte.size(); ++i)
            zahlen.ZeileSetzen(i, werte.at(i) ? &*werte.at(i) : nullptr);
        QCOMPARE(zahlen.Ergebnis().Text(), text);
        QCOMPARE(zahlen.Ergebnis().Anteil(), anteil);
    }

    // The short form for a narrow window says the same.
    void kurzText_data()
    {
        QTest::addColumn<QStringList>("katalog");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QString>("kurz");
        QTest::newRow("gemischt")
            << Standard << QStringList { "12|4|0|", "E|2|2|Attest", "||1|", "4|1.5|0|" }
            << "4 Schüler · 3 Noten, 1 fehlt · Ø 8 · 1 Defizit · 7,5 Fehlstd. (3 unent.)";
        QTest::newRow("eine Note")
            << Standard << QStringList { "E|0|0", "-" }
            << "2 Schüler · 1 Note, 1 fehlt · 0 Defizite · 0 Fehlstd. (0 unent.)";
        QTest::newRow("nur unentschuldigt")
            << QStringList { "Note", "unentschuldigte Fehlstunden" }
            << QStringList { "10|2", "9|1" }
            << "2 Schüler · 2 Noten, 0 fehlen · Ø 9,5 · 0 Defizite · 3 unent. Fehlstd.";
        QTest::newRow("ohne Noten") << QStringList { "Hinweis", "Fehlstunden" }
                                    << QStringList { "gut|3" } << "1 Schüler · 3 Fehlstd.";
    }
    void kurzText()
    {
        QFETCH(QStringList, katalog);
        QFETCH(QStringList, zeilen);
        QFETCH(QString, kurz);
        const Datenbestand d = Bestand(katalog, true);
        Kurszahlen zahlen(d);
        zahlen.Zeilen(int(zeilen.size()));
        for (int i = 0; i < zeilen.size(); ++i) {
            const auto z = Zeile(d, zeilen.at(i));
            zahlen.ZeileSetzen(i, z ? &*z : nullptr);
        }
        QCOMPARE(zahlen.Ergebnis().KurzText(), kurz);
    }

    // One row changed again and again: the sums are those of the rows as they stand.
    void zeileErsetzt()
    {
        const Datenbestand d = Bestand(Standard, true);
        Kurszahlen zahlen(d);
        zahlen.Zeilen(2);
        const auto a = Zeile(d, QStringLiteral("10|2.5|1"));
        zahlen.ZeileSetzen(0, &*a);
        for (int i = 0; i < 50; ++i) {
            const auto b = Zeile(d, QStringLiteral("%1|%2.1|0").arg(i % 16).arg(i));
            zahlen.ZeileSetzen(1, &*b);
        }
        const Kurszahlen::Summe s = zahlen.Ergebnis();
        QCOMPARE(s.eingetragen, 2);
        QCOMPARE(s.punkte, qint64(10 + 49 % 16));
        QCOMPARE(s.fehlstunden, 2.5 + 49.1);
        QCOMPARE(s.unentschuldigt, 1.0);
        QCOMPARE(s.defizite, 1); // 49 % 16 = 1
        zahlen.ZeileSetzen(1, nullptr);
        QCOMPARE(zahlen.Ergebnis().eingetragen, 1);
        QCOMPARE(zahlen.Ergebnis().Fehlend(), 1);
    }

    // The course selection window's count: the course's students as the table lists them
    // (each once, only those in the student list), each with the row saved in the file.
    void fuerKurs()
    {
        Datenbestand d = Bestand(Standard, true);
        for (qint64 id : { 1, 2, 3, 4 })
            d.alleSchueler.Anfuegen(Schueler(id, QStringLiteral("S%1").arg(id), QString()));
        d.alleSchueler.Anfuegen(Schueler(2, QStringLiteral("S2 doppelt"), QString()));
        Kurs k;
        k.Kuerzel = QStringLiteral("M");
        k.Schueler = Menge(QStringLiteral("1,2,3,9")); // 9 is in no list
        d.alleKurse.Anfuegen(std::make_shared<Kurs>(k));
        const auto zeile = [&](qint64 id, const QString& werte) {
            auto z = std::make_shared<SchuelerKurs>(QStringLiteral("m"), id);
            z->Eintraege = *Zeile(d, werte);
            d.alleSchuelerKurse.Anfuegen(z);
        };
        zeile(1, QStringLiteral("11|2|0"));
        zeile(2, QStringLiteral("|1|0"));
        zeile(4, QStringLiteral("15|0|0")); // not in the course
        const Kurszahlen::Summe s = Kurszahlen::FuerKurs(d, k);
        QCOMPARE(s.schueler, 3);
        QCOMPARE(s.Anteil(), QStringLiteral("1/3"));
        QCOMPARE(s.fehlstunden, 3.0);
    }

    void zahlText_data()
    {
        QTest::addColumn<double>("wert");
        QTest::addColumn<int>("stellen");
        QTest::addColumn<QString>("text");
        QTest::newRow("ganz") << 37.0 << 1 << "37";
        QTest::newRow("Komma") << 8.44 << 1 << "8,4";
        QTest::newRow("aufgerundet") << 8.46 << 1 << "8,5";
        QTest::newRow("ohne Nullen") << 7.50 << 2 << "7,5";
        QTest::newRow("Tausender") << 1234.5 << 1 << "1.234,5";
        QTest::newRow("null") << 0.0 << 1 << "0";
    }
    void zahlText()
    {
        QFETCH(double, wert);
        QFETCH(int, stellen);
        QFETCH(QString, text);
        QCOMPARE(Kurszahlen::Zahl(wert, stellen), text);
    }
};

QTEST_GUILESS_MAIN(TestKurszahlen)
#include "tst_kurszahlen.moc"
