// Printing without a window: a hand-made snapshot of a course table drawn on the recording
// paint device. The scale and its footer, what a row's flags do (red, underlined), the hidden
// ID column, the page range, and the "Notenspiegel" block after the list.

#include "aufzeichnungsgeraet.h"
#include "kursdruck.h"

#include <QPainter>
#include <QTest>

namespace {

using Zug = Aufzeichnungsgeraet::Zug;

// Four columns: the hidden ID, "Nr.", "Name", a grade; n rows "1".."n".
Kursabbild Abbild(int breiteName, int zeilen)
{
    Kursabbild a;
    a.titel = QStringLiteral("Q1 - Mathematik - LK1");
    a.schrift.setPixelSize(13);
    a.zeilenhoehe = 20;
    a.breiten = { 0, 40, breiteName, 60 };
    a.ueberschriften
        = { QString(), QStringLiteral("Nr."), QStringLiteral("Name"), QStringLiteral("Note") };
    a.ausrichtungen = { 0, 3, 1, 2 };
    for (int i = 1; i <= zeilen; ++i) {
        Kursabbild::Zeile z;
        z.texte = { QStringLiteral("70%1").arg(i), QString::number(i),
            QStringLiteral("Name %1").arg(i), QStringLiteral("0%1").arg(i % 10) };
        a.zeilen.append(z);
    }
    return a;
}

QList<Zug> Drucken(Kursdruck& druck, Aufzeichnungsgeraet& geraet, int von = 1, int bis = 0)
{
    QPainter g(&geraet);
    druck.DruckeDich(g, geraet.Flaeche(von, bis));
    g.end();
    return geraet.Zuege();
}

const Zug* Text(const QList<Zug>& zuege, const QString& text)
{
    for (const Zug& z : zuege)
        if (z.art == Zug::Text && z.text == text)
            return &z;
    return nullptr;
}

// The first text on a page below y.
const Zug* TextUnter(const QList<Zug>& zuege, const QString& text, int seite, double y)
{
    for (const Zug& z : zuege)
        if (z.art == Zug::Text && z.text == text && z.seite == seite && z.punkt.y() > y)
            return &z;
    return nullptr;
}

// A small distribution by hand: "2" (a deficit) once, "1" never, "E" twice.
Notenspiegel Spiegel()
{
    Notenspiegel n;
    n.spalte = QStringLiteral("Note");
    n.stufen = { { QStringLiteral("2"), 1, true }, { QStringLiteral("1"), 0, false } };
    n.besondere = { { QStringLiteral("E"), 2, false } };
    n.zahlen.schueler = 4;
    n.zahlen.eingetragen = 3;
    n.zahlen.mitWert = 1;
    n.zahlen.punkte = 2;
    n.zahlen.defizite = 1;
    n.zahlen.mitNote = true;
    n.zahlen.mitDefiziten = true;
    return n;
}

} // namespace

class TestKursdruck : public QObject {
    Q_OBJECT
private slots:
    // At 72 dpi a screen pixel is a printer pixel: the table (40 + name + 60 pixels) is
    // shrunk to a 500-pixel page only when wider, and says so only below 80 %.
    void massstab_data()
    {
        QTest::addColumn<int>("breiteName");
        QTest::addColumn<int>("prozent");
        QTest::addColumn<bool>("fusszeile");
        QTest::newRow("passt") << 200 << 100 << false;
        QTest::newRow("genau so breit") << 400 << 100 << false;
        QTest::newRow("wenig zu breit") << 450 << 91 << false;
        QTest::newRow("viel zu breit") << 900 << 50 << true;
    }
    void massstab()
    {
        QFETCH(int, breiteName);
        QFETCH(int, prozent);
        QFETCH(bool, fusszeile);
        Kursdruck druck(Abbild(breiteName, 3));
        Aufzeichnungsgeraet geraet(500, 700, 72, 72);
        const QList<Zug> zuege = Drucken(druck, geraet);
        QCOMPARE(qRound(druck.Massstab() * 100), prozent);
        const QString fuss = Kursdruck::VerkleinertHinweis(druck.Massstab());
        QCOMPARE(Text(zuege, fuss) != nullptr, fusszeile);
        // Every line stays on the page.
        for (const Zug& z : zuege)
            if (z.art == Zug::Linie)
                QVERIFY2(qMax(z.linie.x1(), z.linie.x2()) <= 500, qPrintable(z.text));
    }

    // The flags of a row: a deficit prints red (the cell's line stays black), an exam
    // student's name underlined; the ID column never prints.
    void zeilenmerkmale()
    {
        Kursabbild a = Abbild(200, 2);
        a.zeilen[0].rot = { 3 };
        a.zeilen[1].unterstrichen = 2;
        Kursdruck druck(a);
        Aufzeichnungsgeraet geraet(500, 700, 72, 72);
        const QList<Zug> zuege = Drucken(druck, geraet);
        const Zug* note = Text(zuege, QStringLiteral("01"));
        QVERIFY(note);
        QCOMPARE(note->farbe, QColor(255, 0, 0));
        QVERIFY(!note->unterstrichen);
        const Zug* name = Text(zuege, QStringLiteral("Name 2"));
        QVERIFY(name);
        QVERIFY(name->unterstrichen);
        QCOMPARE(name->farbe, QColor(0, 0, 0));
        QVERIFY(!Text(zuege, QStringLiteral("Name 1"))->unterstrichen);
        QCOMPARE(Text(zuege, QStringLiteral("02"))->farbe, QColor(0, 0, 0));
        for (const Zug& z : zuege)
            if (z.art == Zug::Linie)
                QCOMPARE(z.farbe, QColor(0, 0, 0));
        QVERIFY(!Text(zuege, QStringLiteral("701")));
    }

    // Page 2 alone prints the rows page 2 of the whole list holds, with its page number.
    void seitenbereich()
    {
        Kursdruck ganz(Abbild(200, 40));
        Aufzeichnungsgeraet alles(500, 400, 72, 72);
        const QList<Zug> zuegeAlles = Drucken(ganz, alles);
        const int proSeite = ganz.ZeilenProSeite();
        QVERIFY(proSeite > 1 && proSeite < 40);
        QCOMPARE(alles.NeueSeiten(), (40 + proSeite - 1) / proSeite - 1);

        Kursdruck teil(Abbild(200, 40));
        Aufzeichnungsgeraet zweite(500, 400, 72, 72);
        const QList<Zug> zuege = Drucken(teil, zweite, 2, 2);
        QCOMPARE(zweite.NeueSeiten(), 0);
        QVERIFY(Text(zuege, QStringLiteral("Name %1").arg(proSeite + 1)));
        QVERIFY(Text(zuege, QStringLiteral("Name %1").arg(2 * proSeite)));
        QVERIFY(!Text(zuege, QStringLiteral("Name %1").arg(proSeite)));
        QVERIFY(!Text(zuege, QStringLiteral("Name %1").arg(2 * proSeite + 1)));
        QVERIFY(Text(zuege, QStringLiteral("Seite 1")) == nullptr);
    }

    // The block after the list: below the last row where it fits, else on a page of its own
    // with the title and page number; a page range that ends before the last row prints none.
    // The rows of the list stay where they are without the block.
    void notenspiegel_data()
    {
        QTest::addColumn<int>("zeilen"); // -1: exactly one full page
        QTest::addColumn<int>("bis");
        QTest::addColumn<int>("seite"); // the page of the block, 0: none
        QTest::newRow("unter der Liste") << 3 << 0 << 1;
        QTest::newRow("letzte Seite voll") << -1 << 0 << 2;
        QTest::newRow("Seitenbereich ohne Ende") << 40 << 1 << 0;
    }
    void notenspiegel()
    {
        QFETCH(int, zeilen);
        QFETCH(int, bis);
        QFETCH(int, seite);
        Kursdruck ohne(Abbild(200, 40));
        Aufzeichnungsgeraet leer(500, 400, 72, 72);
        Drucken(ohne, leer);
        const int proSeite = ohne.ZeilenProSeite();
        if (zeilen < 0)
            zeilen = proSeite;

        Kursabbild a = Abbild(200, zeilen);
        a.notenspiegel = { Spiegel() };
        Kursdruck druck(a);
        Aufzeichnungsgeraet geraet(500, 400, 72, 72);
        const QList<Zug> zuege = Drucken(druck, geraet, 1, bis);
        QCOMPARE(druck.ZeilenProSeite(), proSeite);
        const Zug* kopf = Text(zuege, QStringLiteral("Notenspiegel – Note"));
        QCOMPARE(kopf != nullptr, seite > 0);
        if (seite == 0) {
            QCOMPARE(geraet.NeueSeiten(), 0);
            return;
        }
        QCOMPARE(kopf->seite, seite);
        QCOMPARE(geraet.NeueSeiten(), seite - 1);
        // Below the last row, on the page.
        const Zug* letzte = Text(zuege, QStringLiteral("Name %1").arg(zeilen));
        QVERIFY(letzte);
        if (seite == letzte->seite)
            QVERIFY(kopf->punkt.y() > letzte->punkt.y());
        else
            QVERIFY(Text(zuege, QStringLiteral("Seite %1").arg(seite)));
        // The grades over their counts, the deficit in red, the figures in a line.
        const double y = kopf->punkt.y();
        const Zug* anzahl = TextUnter(zuege, QStringLiteral("Anzahl"), seite, y);
        const Zug* e = TextUnter(zuege, QStringLiteral("E"), seite, y);
        const Zug* zwei = TextUnter(zuege, QStringLiteral("2"), seite, y);
        QVERIFY(anzahl && e && zwei);
        QCOMPARE(zwei->farbe, QColor(255, 0, 0));
        QCOMPARE(e->farbe, QColor(0, 0, 0));
        QVERIFY(anzahl->punkt.y() > e->punkt.y());
        const Zug* zahlen = Text(zuege, Spiegel().Zusammenfassung());
        QVERIFY(zahlen);
        QCOMPARE(zahlen->text,
            QStringLiteral("4 Schüler  ·  3 eingetragen, 1 fehlt  ·  Schnitt 2 Punkte  ·  1 "
                           "Defizit"));
        QVERIFY(zahlen->punkt.y() > anzahl->punkt.y());
        QVERIFY(zahlen->punkt.y() < 400);
        for (const Zug& z : zuege)
            if (z.art == Zug::Linie)
                QVERIFY(qMax(z.linie.y1(), z.linie.y2()) <= 400);
    }
};

QTEST_MAIN(TestKursdruck)
#include "tst_kursdruck.moc"
