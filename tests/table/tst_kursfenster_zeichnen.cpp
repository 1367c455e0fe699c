// The course window: the pixels of the rendered table (deficits red, exam students underlined).

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Kurstabellentest;

namespace {

bool IstRot(const QColor& c)
{
    return c.red() > 200 && c.green() < 90 && c.blue() < 90;
}

bool IstDunkel(const QColor& c)
{
    return c.red() < 110 && c.green() < 110 && c.blue() < 110;
}

struct Zellbild {
    int rot = 0; // reddish pixels
    int reinRot = 0; // strongly red pixels that are pure red blended with white (FFxxxx, G = B)
    int andereFarbe = 0; // pixels neither white nor pure red blended with white
    int dunkel = 0; // dark grey or black pixels
    int laengsteLinie = 0; // the longest horizontal run of dark pixels
};

// The text area of a cell (the grid lines left out).
Zellbild Auswerten(const QImage& bild, QRect zelle)
{
    zelle.adjust(1, 1, -2, -2);
    Zellbild z;
    for (int y = zelle.top(); y <= zelle.bottom(); ++y) {
        int lauf = 0;
        for (int x = zelle.left(); x <= zelle.right(); ++x) {
            const QColor c = bild.pixelColor(x, y);
            if (IstRot(c))
                ++z.rot;
            const bool rotAufWeiss = c.red() == 255 && c.green() == c.blue();
            if (rotAufWeiss && c.green() < 64)
                ++z.reinRot;
            if (!rotAufWeiss)
                ++z.andereFarbe;
            if (IstDunkel(c)) {
                ++z.dunkel;
                z.laengsteLinie = qMax(z.laengsteLinie, ++lauf);
            } else {
                lauf = 0;
            }
        }
    }
    return z;
}

} // namespace

class TestKursfensterZeichnen : public Kursfenstertest {
    Q_OBJECT

private:
    // Opens course M with deficit grades in row 1: "Note" 3 and "Klausur" 2, the same 3 as
    // the remark; renders the table without an open editor.
    QImage Bild(bool mitDefiziten, QPointer<Kursfenster>& f)
    {
        Datenbestand d = Kurslistenbauer().Defizite(mitDefiziten).Bauen();
        const SchuelerKursZeiger r = d.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 12);
        r->Eintraege.ZeigeKursEintrag(3).datum = QStringLiteral("3");
        r->Eintraege.ZeigeKursEintrag(4).datum = QStringLiteral("2");
        if (Anlegen(ordner.path(), d).isEmpty())
            return {};
        f = Oeffnen(QStringLiteral("M"));
        f->meineTabelle()->EditorSchliessen();
        f->meineTabelle()->clearSelection();
        return f->meineTabelle()->viewport()->grab().toImage();
    }

    static QRect Zelle(const Kursfenster& f, int row, int column)
    {
        const Kurstabelle* t = f.meineTabelle();
        return t->visualRect(t->model()->index(row, column));
    }

private slots:
    void defizite_data()
    {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<bool>("mitDefiziten");
        QTest::addColumn<bool>("rot");
        QTest::newRow("Note 3 ist Defizit") << 1 << "Note" << true << true;
        QTest::newRow("Klausur 2 ist Defizit") << 1 << "Klausur" << true << true;
        QTest::newRow("3 im Hinweis bleibt schwarz") << 1 << "Hinweis" << true << false;
        QTest::newRow("Note 12 kein Defizit") << 0 << "Note" << true << false;
        QTest::newRow("Fehlstunden 4 bleibt schwarz") << 0 << "Fehlstunden" << true << false;
        QTest::newRow("ohne Defizite: Note 3") << 1 << "Note" << false << false;
        QTest::newRow("ohne Defizite: Klausur 2") << 1 << "Klausur" << false << false;
    }

    void defizite()
    {
        QFETCH(int, zeile);
        QFETCH(QString, spalte);
        QFETCH(bool, mitDefiziten);
        QFETCH(bool, rot);
        QPointer<Kursfenster> f;
        const QImage bild = Bild(mitDefiziten, f);
        QVERIFY(!bild.isNull());
        QCOMPARE(Zelltext(*f, zeile, Spalte(spalte)).isEmpty(), false);
        const Zellbild z = Auswerten(bild, Zelle(*f, zeile, Spalte(spalte)));
        if (rot) {
            QVERIFY2(z.rot > 3, qPrintable(QString::number(z.rot)));
            // Drawn in pure red (FF0000): every pixel of the text is that red blended with
            // the white background.
            QVERIFY(z.reinRot > 0);
            QCOMPARE(z.andereFarbe, 0);
        } else {
            QCOMPARE(z.rot, 0);
            QVERIFY(z.dunkel > 0);
        }
    }

    void ohneDefiziteNirgendsRot()
    {
        QPointer<Kursfenster> f;
        const QImage bild = Bild(false, f);
        QVERIFY(!bild.isNull());
        const Zellbild z = Auswerten(bild, bild.rect());
        QCOMPARE(z.rot, 0);
    }

    void klausurschuelerUnterstrichen_data()
    {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<bool>("unterstrichen");
        QTest::newRow("11 schreibt Klausur") << 0 << true;
        QTest::newRow("12 nicht") << 1 << false;
        QTest::newRow("13 schreibt Klausur") << 2 << true;
        QTest::newRow("14 nicht") << 3 << false;
    }

    void klausurschuelerUnterstrichen()
    {
        QFETCH(int, zeile);
        QFETCH(bool, unterstrichen);
        QPointer<Kursfenster> f;
        const QImage bild = Bild(true, f);
        QVERIFY(!bild.isNull());
        const Zellbild name = Auswerten(bild, Zelle(*f, zeile, 3));
        QVERIFY(name.dunkel > 0);
        // An underline is one line under the whole name; letters alone make short runs.
        if (unterstrichen)
            QVERIFY2(name.laengsteLinie >= 40, qPrintable(QString::number(name.laengsteLinie)));
        else
            QVERIFY2(name.laengsteLinie < 15, qPrintable(QString::number(name.laengsteLinie)));
        // Only the name column is underlined.
        QVERIFY(Auswerten(bild, Zelle(*f, zeile, 1)).laengsteLinie < 15);
    }

    void unterstreichungFolgtDerSpalteName()
    {
        // "Name" placed elsewhere among the identification columns keeps its underline; the
        // column that now stands at position 3 gets none.
        Datenbestand d = Kurslistenbauer().Bauen();
        Spaltenstruktur s;
        s.KurslistenInit(d);
        std::swap(s.Spalten[2], s.Spalten[3]); // "Name" at 2, "A" at 3
        Anlegen(ordner.path(), d);
        TabellenStruktur = s;
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->meineTabelle()->EditorSchliessen();
        // The rows put the name into column 3 by position; the heading "Name" is column 2.
        f->meineTabelle()->item(0, 2)->setText(QStringLiteral("Albers, Anna"));
        const QImage bild = f->meineTabelle()->viewport()->grab().toImage();
        QVERIFY(Auswerten(bild, Zelle(*f, 0, 2)).laengsteLinie >= 40);
        QVERIFY(Auswerten(bild, Zelle(*f, 0, 3)).laengsteLinie < 15);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterZeichnen)
#include "tst_kursfenster_zeichnen.moc"
