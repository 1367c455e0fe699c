// The distribution of a grade column, checked by hand for small courses: counts per grade of
// the scale in the scale's order, "E" and "NT" counted apart and not averaged, a text that is
// no grade, missing grades and rows the file does not have, deficits at the limit, an exam
// column with an ID; which columns have a distribution; the table as text.

#include "datenbestand.h"
#include "notenbestand.h"
#include "notenspiegel.h"
#include "tabellentext.h"

#include <QTest>

namespace {

// The scale of these tests (notenbestand.h).
Datenbestand Bestand(const QStringList& katalog, bool mitDefiziten)
{
    return Notenbestand(katalog, mitDefiziten, true);
}

// The rows of a course: the value of column spalte in each; "-" stands for a row the file
// does not have.
struct Kursreihen {
    std::vector<std::optional<KursEintraege>> zeilen;
    QList<const KursEintraege*> Zeiger() const
    {
        QList<const KursEintraege*> z;
        for (const std::optional<KursEintraege>& e : zeilen)
            z.append(e ? &*e : nullptr);
        return z;
    }
};

Kursreihen Zeilen(const Datenbestand& d, qint64 spalte, const QStringList& werte)
{
    Kursreihen k;
    for (const QString& w : werte) {
        if (w == QLatin1String("-")) {
            k.zeilen.emplace_back(std::nullopt);
            continue;
        }
        KursEintraege e = d.alleEintraege.ErzeugeKursEintraege();
        if (spalte >= 0 && spalte < e.Anzahl())
            e.ZeigeKursEintrag(spalte).datum = w;
        k.zeilen.emplace_back(std::move(e));
    }
    return k;
}

// "12:2 E:1": the grades counted, in the order of the scale.
QString Besetzt(const Notenspiegel& n)
{
    QStringList b;
    for (const QList<Notenspiegel::Stufe>* liste : { &n.stufen, &n.besondere })
        for (const Notenspiegel::Stufe& s : *liste)
            if (s.anzahl > 0)
                b.append(s.note + QLatin1Char(':') + QString::number(s.anzahl));
    return b.join(QLatin1Char(' '));
}

const QStringList Standard
    = { QStringLiteral("Note"), QStringLiteral("K1:Klausur"), QStringLiteral("Fehlstunden") };

const QStringList Skala = { "Note", "15", "14", "13", "12", "11", "10", "9", "8", "7", "6", "5",
    "4", "3", "2", "1", "0", "E", "NT" };

} // namespace

class TestNotenspiegel : public QObject {
    Q_OBJECT

private slots:
    void verteilung_data()
    {
        QTest::addColumn<bool>("mitDefiziten");
        QTest::addColumn<qint64>("spalte");
        QTest::addColumn<QStringList>("werte");
        QTest::addColumn<QString>("besetzt");
        QTest::addColumn<int>("sonstige");
        QTest::addColumn<QString>("zusammenfassung");

        // 12, 4, 12 and 0 averaged (28 / 4 = 7); "E" and "nt" entered but not averaged; "x"
        // is no grade; 4 and 0 are deficits; the empty grade is missing.
        QTest::newRow("Note gemischt")
            << true << qint64(0) << QStringList { "12", "4", "E", "", "12", "0", "nt", "x" }
            << "12:2 4:1 0:1 E:1 NT:1" << 1
            << "8 Schüler  ·  7 eingetragen, 1 fehlt  ·  Schnitt 7 Punkte  ·  2 Defizite";
        // The exam column (an entry with ID); a row the file does not have is missing.
        QTest::newRow("Klausur") << true << qint64(1) << QStringList { "9", "9", "3", "-" }
                                 << "9:2 3:1" << 0
                                 << "4 Schüler  ·  3 eingetragen, 1 fehlt  ·  Schnitt 7 "
                                    "Punkte  ·  1 Defizit";
        // 5 is one above the limit; without deficits the line says nothing of them.
        QTest::newRow("Grenze ohne Defizite")
            << false << qint64(0) << QStringList { "4", "5" } << "5:1 4:1" << 0
            << "2 Schüler  ·  2 eingetragen, 0 fehlen  ·  Schnitt 4,5 Punkte";
        QTest::newRow("nur E") << true << qint64(0) << QStringList { "E", "e", " " } << "E:2" << 0
                               << "3 Schüler  ·  2 eingetragen, 1 fehlt  ·  kein Schnitt  ·  0 "
                                  "Defizite";
        QTest::newRow("ohne Schüler") << true << qint64(0) << QStringList() << "" << 0
                                      << "0 Schüler  ·  0 eingetragen, 0 fehlen  ·  kein "
                                         "Schnitt  ·  0 Defizite";
        // A position outside the catalogue: no grade column, nothing entered.
        QTest::newRow("Spalte außerhalb")
            << true << qint64(7) << QStringList { "12", "3" } << "" << 0
            << "2 Schüler  ·  0 eingetragen, 2 fehlen  ·  kein Schnitt";
    }

    void verteilung()
    {
        QFETCH(bool, mitDefiziten);
        QFETCH(qint64, spalte);
        QFETCH(QStringList, werte);
        QFETCH(QString, besetzt);
        QFETCH(int, sonstige);
        QFETCH(QString, zusammenfassung);

        const Datenbestand d = Bestand(Standard, mitDefiziten);
        const Kursreihen kurs = Zeilen(d, spalte, werte);
        const Notenspiegel n = Notenspiegel::Berechnen(d, spalte, kurs.Zeiger());

        // Every grade of the scale, in its order, those without value after the others.
        QStringList skala = Skala;
        if (sonstige > 0)
            skala.append(QStringLiteral("sonstige"));
        QCOMPARE(n.Noten(), skala);
        QCOMPARE(n.Anzahlen().size(), skala.size());
        QCOMPARE(n.stufen.size(), 16);
        QCOMPARE(n.besondere.size(), 2);
        QCOMPARE(Besetzt(n), besetzt);
        QCOMPARE(n.sonstige, sonstige);
        QCOMPARE(n.Zusammenfassung(), zusammenfassung);
        // Every entered value is counted once: at its grade or as "sonstige".
        int gezaehlt = n.sonstige;
        for (const QList<Notenspiegel::Stufe>* liste : { &n.stufen, &n.besondere })
            for (const Notenspiegel::Stufe& s : *liste)
                gezaehlt += s.anzahl;
        QCOMPARE(gezaehlt, n.zahlen.eingetragen);
        QCOMPARE(n.zahlen.schueler, int(werte.size()));
    }

    void defizitStufen_data()
    {
        QTest::addColumn<bool>("mitDefiziten");
        QTest::addColumn<qint64>("spalte");
        QTest::addColumn<QString>("defizite");
        QTest::newRow("Note") << true << qint64(0) << "4 3 2 1 0";
        QTest::newRow("Klausur") << true << qint64(1) << "4 3 2 1 0";
        QTest::newRow("ohne Defizite") << false << qint64(0) << "";
    }

    void defizitStufen()
    {
        QFETCH(bool, mitDefiziten);
        QFETCH(qint64, spalte);
        QFETCH(QString, defizite);
        const Datenbestand d = Bestand(Standard, mitDefiziten);
        const Notenspiegel n = Notenspiegel::Berechnen(d, spalte, {});
        QStringList rot;
        for (const QList<Notenspiegel::Stufe>* liste : { &n.stufen, &n.besondere })
            for (const Notenspiegel::Stufe& s : *liste)
                if (s.defizit)
                    rot.append(s.note);
        QCOMPARE(rot.join(QLatin1Char(' ')), defizite);
    }

    void spalten_data()
    {
        QTest::addColumn<QStringList>("katalog");
        QTest::addColumn<QList<qint64>>("spalten");
        // The grade column the status line counts first, then the other grade columns.
        QTest::newRow("Note in der Mitte") << QStringList { "Fehlstunden", "K1:Klausur", "note",
            "Hinweis", "K2:Nachschrift" } << QList<qint64> { 2, 1, 4 };
        QTest::newRow("ohne Note")
            << QStringList { "Hinweis", "K1:Klausur", "K2:Kurs" } << QList<qint64> { 1, 2 };
        QTest::newRow("ohne Noten") << QStringList { "Fehlstunden", "Hinweis" } << QList<qint64>();
    }

    void spalten()
    {
        QFETCH(QStringList, katalog);
        QFETCH(QList<qint64>, spalten);
        QCOMPARE(Notenspiegel::Spalten(Bestand(katalog, true)), spalten);
    }

    void alsText()
    {
        const Datenbestand d = Bestand(Standard, true);
        const Kursreihen kurs = Zeilen(d, 0, { "12", "4", "E", "", "12", "0", "NT" });
        const Notenspiegel n = Notenspiegel::Berechnen(d, 0, kurs.Zeiger());
        QCOMPARE(Tabellentext::Aus(n.Tabelle(QStringLiteral("12.1 - Mathematik - LK1 - Mü"))),
            QStringLiteral("Notenspiegel\t12.1 - Mathematik - LK1 - Mü\tNote\n"
                           "Note\t15\t14\t13\t12\t11\t10\t9\t8\t7\t6\t5\t4\t3\t2\t1\t0\tE\tNT\n"
                           "Anzahl\t0\t0\t0\t2\t0\t0\t0\t0\t0\t0\t0\t1\t0\t0\t0\t1\t1\t1\n"
                           "Schüler\t7\n"
                           "eingetragen\t6\n"
                           "fehlen\t1\n"
                           "Schnitt\t7\n"
                           "Defizite\t2\n"));
        QCOMPARE(n.HoechsteAnzahl(), 2);
    }
};

QTEST_GUILESS_MAIN(TestNotenspiegel)
#include "tst_notenspiegel.moc"
