// The course window: printing the course list, recorded on a paint device of our own (texts
// with colour and underline, lines, page breaks): measures, pages, page ranges, fitting texts
// into columns, colours, underlines and lines.

#include "aufzeichnendeplattform.h"
#include "aufzeichnungsgeraet.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"

#include <QDate>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Kurstabellentest;

namespace {

using Zug = Aufzeichnungsgeraet::Zug;

// A recording page of 2800 x 3300 pixels (9.33 x 11 inches at 300 dpi): as wide as the
// whole table needs, so that the list prints at the screen's size.
constexpr int SeiteBreit = 2800;

// The print of the last Aufzeichnen, with its measures.
std::optional<Kursdruck> letzterDruck;
const Kursdruck& Druck()
{
    return *letzterDruck;
}

// Draws the window's list, as the window shows it now, on a recording page.
QList<Zug> Aufzeichnen(Kursfenster& f, Aufzeichnungsgeraet& geraet, int von = 1, int bis = 0)
{
    letzterDruck.emplace(f.Abbild());
    QPainter g(&geraet);
    letzterDruck->DruckeDich(g, geraet.Flaeche(von, bis));
    g.end();
    return geraet.Zuege();
}

QList<Zug> Texte(const QList<Zug>& zuege, int seite = 0)
{
    QList<Zug> t;
    for (const Zug& z : zuege)
        if (z.art == Zug::Text && (seite == 0 || z.seite == seite))
            t << z;
    return t;
}

int Seiten(const QList<Zug>& zuege)
{
    int n = 0;
    for (const Zug& z : zuege)
        n = qMax(n, z.seite);
    return n;
}

// The row numbers ("Nr.", column 1) printed on a page, top to bottom.
QList<int> Nummern(const QList<Zug>& zuege, int seite, int links, int rechts)
{
    QList<int> n;
    for (const Zug& z : Texte(zuege, seite)) {
        bool zahl = false;
        const int nr = z.text.toInt(&zahl);
        if (zahl && z.punkt.x() >= links && z.punkt.x() < rechts && z.punkt.y() > 300)
            n << nr;
    }
    return n;
}

bool HatLinie(const QList<Zug>& zuege, int seite, QLineF l)
{
    for (const Zug& z : zuege) {
        if (z.art != Zug::Linie || z.seite != seite)
            continue;
        if ((z.linie.p1() == l.p1() && z.linie.p2() == l.p2())
            || (z.linie.p1() == l.p2() && z.linie.p2() == l.p1()))
            return z.farbe == QColor(0, 0, 0);
    }
    return false;
}

QString Heute()
{
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

class TestKursfensterDruck : public Kursfenstertest {
    Q_OBJECT

private slots:
    // --- Measures -----------------------------------------------------------------------

    void punkteInPixel_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("punkte");
        QTest::addColumn<int>("pixel");
        QTest::newRow("60 Punkte bei 300 dpi") << 300 << 60 << 250;
        QTest::newRow("3 Punkte bei 300 dpi") << 300 << 3 << 12;
        QTest::newRow("72 Punkte bei 300 dpi") << 300 << 72 << 300;
        QTest::newRow("0 Punkte") << 300 << 0 << 0;
        QTest::newRow("60 Punkte bei 96 dpi") << 96 << 60 << 80;
        QTest::newRow("20 Punkte bei 100 dpi: abgerundet") << 100 << 20 << 27;
        QTest::newRow("5 Punkte bei 600 dpi: abgerundet") << 600 << 5 << 41;
        QTest::newRow("1 Punkt bei 72 dpi") << 72 << 1 << 1;
        QTest::newRow("1 Punkt bei 71 dpi") << 71 << 1 << 0;
    }

    void punkteInPixel()
    {
        QFETCH(int, dpi);
        QFETCH(int, punkte);
        QFETCH(int, pixel);
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        // Horizontal and vertical resolution differ: each axis uses its own.
        Aufzeichnungsgeraet waagrecht(SeiteBreit, 3300, dpi, 150);
        Aufzeichnen(*f, waagrecht);
        QCOMPARE(Druck().HorResPoint(punkte), pixel);
        Aufzeichnungsgeraet senkrecht(SeiteBreit, 3300, 150, dpi);
        Aufzeichnen(*f, senkrecht);
        QCOMPARE(Druck().VerResPoint(punkte), pixel);
    }

    void spaltengeometrie()
    {
        // Screen widths 0, 40, 30, 200, 25, then 60 for each entry column, at 300 dpi.
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        Aufzeichnen(*f, geraet);
        QCOMPARE(Druck().Spaltenbreite(),
            (QList<int> { 0, 166, 125, 833, 104, 250, 250, 250, 250, 250, 250 }));
        QCOMPARE(Druck().Startpunkte(),
            (QList<int> { 0, 0, 166, 291, 1124, 1228, 1478, 1728, 1978, 2228, 2478 }));
        // 36 rows fit on an 11 inch page: the first starts at 150 + 83 + 20 = 253, and the
        // page ends after the row at 253 + 35 * 83 = 3158 (3158 + 2 * 83 >= 3300).
        QCOMPARE(Druck().ZeilenProSeite(), 36);
    }

    void einSeitigerKurs()
    {
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet);
        QCOMPARE(Seiten(zuege), 1);
        QCOMPARE(geraet.NeueSeiten(), 0);
        const QList<Zug> texte = Texte(zuege);
        QVERIFY(!texte.isEmpty());
        // The title first, at x 0 on the baseline fs (50 pixels: 12 points at 300 dpi).
        QCOMPARE(texte.first().text, QStringLiteral("12.1 - Mathematik - LK2 - Mü - ") + Heute());
        QCOMPARE(texte.first().punkt, QPointF(0, 50));
        QCOMPARE(texte.first().schrift.pixelSize(), 50);
        for (const Zug& z : texte)
            QVERIFY2(!z.text.startsWith(QStringLiteral("Seite")), qPrintable(z.text));
        QCOMPARE(Nummern(zuege, 1, 1, 166), (QList<int> { 1, 2, 3, 4 }));
    }

    void seitenumbruch_data()
    {
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<int>("seiten");
        QTest::newRow("eine Seite voll") << 36 << 1;
        QTest::newRow("eine Zeile mehr") << 37 << 2;
        QTest::newRow("zwei Seiten voll") << 72 << 2;
        QTest::newRow("drei Seiten") << 73 << 3;
    }

    void seitenumbruch()
    {
        QFETCH(int, zeilen);
        QFETCH(int, seiten);
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), zeilen - 4);
        QVERIFY(f);
        QCOMPARE(f->meineTabelle()->rowCount(), zeilen);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet);
        // No empty page after the last row.
        QCOMPARE(Seiten(zuege), seiten);
        QCOMPARE(geraet.NeueSeiten(), seiten - 1);
        const int fs = 50;
        const int rh = 83;
        const int pd = 12;
        QList<int> alle;
        for (int s = 1; s <= seiten; ++s) {
            const QList<Zug> texte = Texte(zuege, s);
            // "Seite n" from the second page on, right-aligned at the top.
            const QString nummer = QStringLiteral("Seite ") + QString::number(s);
            const Zug* seitenZug = nullptr;
            for (const Zug& z : texte)
                if (z.text == nummer)
                    seitenZug = &z;
            for (const Zug& z : texte)
                QVERIFY2(!z.text.startsWith(QStringLiteral("Seite")) || z.text == nummer,
                    qPrintable(z.text));
            if (s == 1) {
                QVERIFY(!seitenZug);
            } else {
                QVERIFY(seitenZug);
                const int breite
                    = QFontMetrics(seitenZug->schrift, &geraet).horizontalAdvance(nummer);
                QCOMPARE(seitenZug->punkt.y(), fs);
                QCOMPARE(int(seitenZug->punkt.x()) + breite, SeiteBreit - pd);
                // The title ends before the page number begins.
                const Zug* titel = nullptr;
                for (const Zug& z : texte)
                    if (z.punkt == QPointF(0, fs))
                        titel = &z;
                QVERIFY(titel);
                QVERIFY(titel->text.startsWith(QStringLiteral("12.1 - Mathematik")));
                QVERIFY(QFontMetrics(titel->schrift, &geraet).horizontalAdvance(titel->text)
                    <= seitenZug->punkt.x());
            }
            const QList<int> nummern = Nummern(zuege, s, 1, 166);
            QVERIFY(!nummern.isEmpty());
            alle << nummern;
            // The last row of a full page: the next row would reach the bottom.
            if (s < seiten) {
                const int oben = 253 + (int(nummern.size()) - 1) * rh;
                QVERIFY(oben + rh <= 3300);
                QVERIFY(oben + 2 * rh >= 3300);
                QCOMPARE(nummern.size(), Druck().ZeilenProSeite());
            }
        }
        QList<int> erwartet;
        for (int i = 1; i <= zeilen; ++i)
            erwartet << i;
        QCOMPARE(alle, erwartet);
    }

    void seitenbereich_data()
    {
        QTest::addColumn<int>("von");
        QTest::addColumn<int>("bis");
        QTest::addColumn<int>("ersteNr");
        QTest::addColumn<int>("letzteNr");
        QTest::addColumn<int>("seiten");
        // 100 rows, 36 per page: pages 1 to 3 hold rows 1-36, 37-72, 73-100.
        QTest::newRow("Seiten 2 bis 3") << 2 << 3 << 37 << 100 << 2;
        QTest::newRow("Seite 1 bis 1") << 1 << 1 << 1 << 36 << 1;
        QTest::newRow("Seite 2 bis 2") << 2 << 2 << 37 << 72 << 1;
        QTest::newRow("Seite 3 bis 9") << 3 << 9 << 73 << 100 << 1;
        QTest::newRow("Seite 4 bis 5: nichts") << 4 << 5 << 0 << 0 << 0;
    }

    void seitenbereich()
    {
        QFETCH(int, von);
        QFETCH(int, bis);
        QFETCH(int, ersteNr);
        QFETCH(int, letzteNr);
        QFETCH(int, seiten);
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), 96);
        QVERIFY(f);
        Aufzeichnungsgeraet ganz(SeiteBreit, 3300, 300, 300);
        const QList<Zug> alles = Aufzeichnen(*f, ganz);
        const int rp = Druck().ZeilenProSeite();
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet, von, bis);
        if (seiten == 0) {
            QVERIFY(zuege.isEmpty());
            return;
        }
        QCOMPARE(Seiten(zuege), seiten);
        const QList<int> erste = Nummern(zuege, 1, 1, 166);
        // The range starts at row (von - 1) x rows per page.
        QCOMPARE(erste.first(), (von - 1) * rp + 1);
        QCOMPARE(erste.first(), ersteNr);
        QCOMPARE(Nummern(zuege, seiten, 1, 166).last(), letzteNr);
        // Page n of a range is page n of the whole list; the counting starts at 1 again.
        for (int s = 1; s <= seiten; ++s)
            QCOMPARE(Nummern(zuege, s, 1, 166), Nummern(alles, von + s - 1, 1, 166));
        for (const Zug& z : Texte(zuege, 1))
            QVERIFY(!z.text.startsWith(QStringLiteral("Seite")));
        if (seiten >= 2) {
            bool zwei = false;
            for (const Zug& z : Texte(zuege, 2))
                zwei = zwei || z.text == QStringLiteral("Seite 2");
            QVERIFY(zwei);
        }
    }

    // --- Texts in columns -----------------------------------------------------------------

    void formatierungBreite_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("zusatz"); // the column's width minus the text's width
        QTest::addColumn<bool>("gekuerzt");
        QTest::newRow("passt genau") << QStringLiteral("Albers, Anna") << 24 << false;
        QTest::newRow("ein Pixel zu breit") << QStringLiteral("Albers, Anna") << 23 << true;
        QTest::newRow("viel zu breit")
            << QStringLiteral("Maximiliane Theodora von Hohenzollern") << -400 << true;
        QTest::newRow("leer") << QString() << 0 << false;
        QTest::newRow("nichts bleibt") << QStringLiteral("W") << -1000 << true;
        QTest::newRow("Umlaute") << QStringLiteral("Ärztin Öztürk-Müßig") << -100 << true;
    }

    void formatierungBreite()
    {
        QFETCH(QString, text);
        QFETCH(int, zusatz);
        QFETCH(bool, gekuerzt);
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        Aufzeichnen(*f, geraet);
        QPainter g(&geraet);
        QFont schrift(f->meineTabelle()->font());
        schrift.setPixelSize(50);
        g.setFont(schrift);
        const QFontMetrics masse = g.fontMetrics();
        const int pd = 12;
        const int breite = qMax(0, masse.horizontalAdvance(text) + zusatz);
        const QString ergebnis = Druck().FormatierungBreite(g, text, breite);
        if (!gekuerzt) {
            QCOMPARE(ergebnis, text);
            return;
        }
        const int platz = breite - 2 * pd;
        const int punkte = masse.horizontalAdvance(QStringLiteral("..."));
        if (ergebnis.isEmpty()) {
            // Not even one character fits beside the ellipsis.
            QVERIFY(masse.horizontalAdvance(text.left(1)) >= platz - punkte);
            return;
        }
        QVERIFY(ergebnis.endsWith(QStringLiteral("...")));
        const QString rest = ergebnis.chopped(3);
        QVERIFY(text.startsWith(rest));
        QVERIFY(!rest.isEmpty());
        // The longest start of the text that leaves room for the ellipsis.
        QVERIFY(masse.horizontalAdvance(rest) < platz - punkte);
        QVERIFY(masse.horizontalAdvance(text.left(rest.size() + 1)) >= platz - punkte);
        QVERIFY(masse.horizontalAdvance(ergebnis) <= platz);
    }

    void formatierungSpalte_data()
    {
        QTest::addColumn<int>("ausrichtung");
        QTest::addColumn<QString>("regel");
        QTest::newRow("Standard") << 0 << QStringLiteral("links");
        QTest::newRow("links") << 1 << QStringLiteral("links");
        QTest::newRow("zentriert") << 2 << QStringLiteral("mitte");
        QTest::newRow("rechts") << 3 << QStringLiteral("rechts");
        QTest::newRow("dezimal") << 4 << QStringLiteral("rechts");
        QTest::newRow("unbekannt") << 7 << QStringLiteral("links");
    }

    void formatierungSpalte()
    {
        QFETCH(int, ausrichtung);
        QFETCH(QString, regel);
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        Aufzeichnen(*f, geraet);
        QPainter g(&geraet);
        QFont schrift(f->meineTabelle()->font());
        schrift.setPixelSize(50);
        g.setFont(schrift);
        const QString text = QStringLiteral("12");
        const int w = g.fontMetrics().horizontalAdvance(text);
        const int x = Druck().FormatierungSpalte(g, text, 1000, 251, ausrichtung);
        if (regel == QLatin1String("links"))
            QCOMPARE(x, 1012);
        else if (regel == QLatin1String("rechts"))
            QCOMPARE(x + w, 1251 - 12);
        else
            QCOMPARE(x, 1000 + (251 - w) / 2);
    }

    // --- Colours, underlines, lines -------------------------------------------------------

    void farbenUndUnterstreichung_data()
    {
        QTest::addColumn<bool>("mitDefiziten");
        QTest::newRow("mit Defiziten") << true;
        QTest::newRow("ohne Defizite") << false;
    }

    void farbenUndUnterstreichung()
    {
        QFETCH(bool, mitDefiziten);
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), 0, mitDefiziten);
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet);
        const QList<int>& start = Druck().Startpunkte();
        // The text of row r in column k.
        const auto zelle = [&](int r, int k) -> const Zug* {
            const int grundlinie = 253 + r * 83 + 66;
            for (const Zug& z : zuege)
                if (z.art == Zug::Text && int(z.punkt.y()) == grundlinie && z.punkt.x() >= start[k]
                    && z.punkt.x() < start[k] + Druck().Spaltenbreite()[k])
                    return &z;
            return nullptr;
        };
        const QColor rot(255, 0, 0);
        const QColor schwarz(0, 0, 0);
        // Row 1 (student 12): grade 3 and exam grade 2 are deficits; hours 10 after the red
        // grade, and the same 3 as a hint, are black.
        QVERIFY(zelle(1, 5));
        QCOMPARE(zelle(1, 5)->text, QStringLiteral("3"));
        QCOMPARE(zelle(1, 5)->farbe, mitDefiziten ? rot : schwarz);
        QCOMPARE(zelle(1, 6)->text, QStringLiteral("10"));
        QCOMPARE(zelle(1, 6)->farbe, schwarz);
        QCOMPARE(zelle(1, 8)->text, QStringLiteral("3"));
        QCOMPARE(zelle(1, 8)->farbe, schwarz);
        QCOMPARE(zelle(1, 9)->text, QStringLiteral("2"));
        QCOMPARE(zelle(1, 9)->farbe, mitDefiziten ? rot : schwarz);
        QCOMPARE(zelle(0, 5)->text, QStringLiteral("12"));
        QCOMPARE(zelle(0, 5)->farbe, schwarz);
        // The warned student's box prints as a cross.
        QCOMPARE(zelle(1, 4)->text, QStringLiteral("X"));
        QVERIFY(!zelle(0, 4));
        // Exam students 11 and 13 underlined, nobody and nothing else.
        int unterstrichen = 0;
        for (const Zug& z : Texte(zuege)) {
            if (z.unterstrichen) {
                ++unterstrichen;
                QVERIFY2(z.text == QStringLiteral("Albers, Anna")
                        || z.text == QStringLiteral("Cordes, Clara"),
                    qPrintable(z.text));
            }
            if (z.farbe == rot)
                QVERIFY(z.text == QStringLiteral("3") || z.text == QStringLiteral("2"));
        }
        QCOMPARE(unterstrichen, 2);
        QVERIFY(zelle(0, 3)->unterstrichen);
        QVERIFY(!zelle(1, 3)->unterstrichen);
    }

    void linien()
    {
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(SeiteBreit, 3300, 300, 300);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet);
        const int hb = 150, rh = 83, gp = 20;
        const int r = Druck().Startpunkte().last() + Druck().Spaltenbreite().last();
        QCOMPARE(r, 2728);
        // Header row: its frame and the double line under it.
        QVERIFY(HatLinie(zuege, 1, QLineF(0, hb, r, hb)));
        QVERIFY(HatLinie(zuege, 1, QLineF(0, hb + rh, r, hb + rh)));
        QVERIFY(HatLinie(zuege, 1, QLineF(0, hb + rh + gp, r, hb + rh + gp)));
        QVERIFY(HatLinie(zuege, 1, QLineF(r, hb, r, hb + rh)));
        for (const int x : Druck().Startpunkte())
            QVERIFY(HatLinie(zuege, 1, QLineF(x, hb, x, hb + rh)));
        // Every row: its columns, its right edge and the line under it.
        for (int i = 0; i < 4; ++i) {
            const int y = hb + rh + gp + i * rh;
            QVERIFY(HatLinie(zuege, 1, QLineF(0, y + rh, r, y + rh)));
            QVERIFY(HatLinie(zuege, 1, QLineF(r, y, r, y + rh)));
            for (const int x : Druck().Startpunkte())
                QVERIFY(HatLinie(zuege, 1, QLineF(x, y, x, y + rh)));
        }
        // Nothing below the last row.
        for (const Zug& z : zuege)
            if (z.art == Zug::Linie)
                QVERIFY(qMax(z.linie.y1(), z.linie.y2()) <= hb + rh + gp + 4 * rh);
        // The hidden column prints nothing: below the title no text starts at its place.
        for (const Zug& z : Texte(zuege))
            QVERIFY2(z.punkt.y() <= 50 || z.punkt.x() > 12, qPrintable(z.text));
    }

    void linienbreite_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("breite");
        QTest::newRow("300 dpi") << 300 << SeiteBreit;
        QTest::newRow("600 dpi, verkleinert") << 600 << 2 * 2400;
        QTest::newRow("72 dpi") << 72 << 600;
    }

    void linienbreite()
    {
        // Every frame and grid line, of the header as of the rows, is half a point wide at
        // least, whatever the resolution and the scale.
        QFETCH(int, dpi);
        QFETCH(int, breite);
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(breite, 11 * dpi, dpi, dpi);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet);
        const double halberPunkt = dpi / 144.0;
        int linien = 0;
        for (const Zug& z : zuege) {
            if (z.art != Zug::Linie)
                continue;
            ++linien;
            QVERIFY2(z.stiftbreite >= halberPunkt - 1e-9,
                qPrintable(QStringLiteral("Linie (%1,%2)-(%3,%4): %5 Pixel")
                               .arg(z.linie.x1())
                               .arg(z.linie.y1())
                               .arg(z.linie.x2())
                               .arg(z.linie.y2())
                               .arg(z.stiftbreite)));
        }
        QVERIFY(linien > 50);
    }

    // --- A table wider than the paper ----------------------------------------------------

    void verkleinert_data()
    {
        // The table is 2728 pixels wide at 300 dpi.
        QTest::addColumn<int>("seite");
        QTest::addColumn<int>("prozent"); // 100: not shrunk
        QTest::addColumn<bool>("hinweis");
        QTest::newRow("passt") << SeiteBreit << 100 << false;
        QTest::newRow("passt genau") << 2728 << 100 << false;
        QTest::newRow("etwas zu breit: 87 %") << 2400 << 87 << false;
        QTest::newRow("80 %: ohne Hinweis") << 2183 << 80 << false;
        QTest::newRow("79 %: mit Hinweis") << 2160 << 79 << true;
        QTest::newRow("A4 hoch bei 300 dpi: 70 %") << 1913 << 70 << true;
    }

    void verkleinert()
    {
        QFETCH(int, seite);
        QFETCH(int, prozent);
        QFETCH(bool, hinweis);
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), 60);
        QVERIFY(f);
        Aufzeichnungsgeraet geraet(seite, 3300, 300, 300);
        const QList<Zug> zuege = Aufzeichnen(*f, geraet);
        QCOMPARE(int(Druck().Massstab() * 100), prozent);
        // Every column on the page, in the screen's proportions.
        const int r = Druck().Startpunkte().last() + Druck().Spaltenbreite().last();
        if (prozent == 100) {
            QCOMPARE(r, 2728);
        } else {
            QVERIFY(r <= seite);
            QVERIFY(r > seite - 12);
        }
        for (int k = 1; k < Druck().Spaltenbreite().size(); ++k)
            QVERIFY(
                qAbs(Druck().Spaltenbreite()[k]
                    - Druck().HorResPoint(f->meineTabelle()->columnWidth(k)) * Druck().Massstab())
                <= 1.0);
        for (const Zug& z : zuege) {
            if (z.art == Zug::Linie)
                QVERIFY(qMax(z.linie.x1(), z.linie.x2()) <= seite);
            else
                QVERIFY2(z.punkt.x() + QFontMetrics(z.schrift, &geraet).horizontalAdvance(z.text)
                        <= seite,
                    qPrintable(z.text));
        }
        // Every heading that fits its column at the screen's size is printed whole.
        for (const QString kopf : { QStringLiteral("Nr."), QStringLiteral("Name"),
                 QStringLiteral("Note"), QStringLiteral("Hinweis"), QStringLiteral("Klausur") }) {
            bool da = false;
            for (const Zug& z : Texte(zuege, 1))
                da = da || z.text == kopf;
            QVERIFY2(da, qPrintable(kopf));
        }
        // The table's text shrinks with it; the title keeps its size.
        const Zug* titel = nullptr;
        const Zug* nummer = nullptr;
        for (const Zug& z : Texte(zuege, 1)) {
            if (z.text.startsWith(QStringLiteral("12.1 - Mathematik")))
                titel = &z;
            if (z.text == QStringLiteral("1") && !nummer)
                nummer = &z;
        }
        QVERIFY(titel && nummer);
        QCOMPARE(titel->schrift.pixelSize(), 50);
        QCOMPARE(nummer->schrift.pixelSize(), qMax(1, int(50 * Druck().Massstab())));
        // The footer line of a print shrunk below 80 %, on every page, under the last row.
        const QString fuss = Kursdruck::VerkleinertHinweis(Druck().Massstab());
        QCOMPARE(fuss,
            QStringLiteral("Auf %1 % verkleinert, damit alle Spalten auf die Seite "
                           "passen.")
                .arg(prozent));
        for (int s = 1; s <= Seiten(zuege); ++s) {
            const Zug* fusszeile = nullptr;
            qreal tiefste = 0;
            for (const Zug& z : zuege) {
                if (z.seite != s)
                    continue;
                if (z.art == Zug::Text && z.text == fuss)
                    fusszeile = &z;
                else if (z.art == Zug::Linie)
                    tiefste = qMax(tiefste, qMax(z.linie.y1(), z.linie.y2()));
            }
            QCOMPARE(fusszeile != nullptr, hinweis);
            if (fusszeile) {
                QVERIFY(fusszeile->punkt.y() <= 3300);
                QVERIFY(tiefste < fusszeile->punkt.y() - 50);
            }
        }
        // A smaller table holds more rows on a page.
        if (prozent < 100)
            QVERIFY(Druck().ZeilenProSeite() > 36);
        else
            QCOMPARE(Druck().ZeilenProSeite(), 36);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterDruck)
#include "tst_kursfenster_druck.moc"
