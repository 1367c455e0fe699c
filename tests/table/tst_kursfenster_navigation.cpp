// The course window: keys of the cell editor, presses on cells, the Edit menu with the focus.

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace Kurstabellentest;

// The layouts of the navigation table.
enum Layout { MitAundW, OhneAundW, EineSpalte };
Q_DECLARE_METATYPE(Layout)

class TestKursfensterNavigation : public Kursfenstertest {
    Q_OBJECT

private:
    QPointer<Kursfenster> Oeffne(Layout layout = MitAundW)
    {
        Datenbestand d
            = Kurslistenbauer().MarkAbitur(layout == MitAundW).Warnung(layout == MitAundW).Bauen();
        if (layout == EineSpalte) {
            // A catalogue of one entry; the rows hold just that value.
            Eintraege nurNote;
            nurNote.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
            d.alleEintraege = nurNote;
            SchuelerKursliste zeilen;
            for (qint64 id : { 11, 12 }) {
                auto z = std::make_shared<SchuelerKurs>(QStringLiteral("M"), id);
                KursEintraege e;
                e.Anfuegen(KursEintrag(QString(), QStringLiteral("Note"), QStringLiteral("8")));
                z->Eintraege = e;
                zeilen.Anfuegen(z);
            }
            d.alleSchuelerKurse = zeilen;
        }
        if (Anlegen(ordner.path(), d).isEmpty())
            return nullptr;
        return Kurstabellentest::Oeffnen(QStringLiteral("M"));
    }

private slots:
    void init()
    {
        Grundzustand();
        plattform.antwortenFrage.clear();
    }

    void navigation_data()
    {
        // Rows 0..3; columns are given as entry index (0 = first entry column).
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<int>("zeile");
        QTest::addColumn<int>("eintrag");
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("zielZeile");
        QTest::addColumn<int>("zielEintrag");
        const int tab = Qt::Key_Tab;
        QTest::newRow("Tab weiter") << MitAundW << 0 << 0 << tab << 0 << 1;
        QTest::newRow("Tab am Zeilenende") << MitAundW << 0 << 5 << tab << 1 << 0;
        QTest::newRow("Tab am Tabellenende") << MitAundW << 3 << 5 << tab << 0 << 0;
        QTest::newRow("Umschalt-Tab wie Tab")
            << MitAundW << 1 << 2 << int(Qt::Key_Backtab) << 1 << 3;
        QTest::newRow("Return bleibt") << MitAundW << 2 << 3 << int(Qt::Key_Return) << 2 << 3;
        QTest::newRow("Enter bleibt") << MitAundW << 2 << 3 << int(Qt::Key_Enter) << 2 << 3;
        QTest::newRow("rechts") << MitAundW << 1 << 1 << int(Qt::Key_Right) << 1 << 2;
        QTest::newRow("rechts am Ende") << MitAundW << 2 << 5 << int(Qt::Key_Right) << 2 << 0;
        QTest::newRow("links") << MitAundW << 1 << 3 << int(Qt::Key_Left) << 1 << 2;
        QTest::newRow("links am Anfang") << MitAundW << 2 << 0 << int(Qt::Key_Left) << 2 << 5;
        QTest::newRow("hoch") << MitAundW << 2 << 4 << int(Qt::Key_Up) << 1 << 4;
        QTest::newRow("hoch in Zeile 0") << MitAundW << 0 << 4 << int(Qt::Key_Up) << 3 << 4;
        QTest::newRow("runter") << MitAundW << 1 << 2 << int(Qt::Key_Down) << 2 << 2;
        QTest::newRow("runter in letzter Zeile")
            << MitAundW << 3 << 2 << int(Qt::Key_Down) << 0 << 2;
        QTest::newRow("ohne A/W: Tab am Ende") << OhneAundW << 1 << 5 << tab << 2 << 0;
        QTest::newRow("ohne A/W: links am Anfang")
            << OhneAundW << 1 << 0 << int(Qt::Key_Left) << 1 << 5;
        QTest::newRow("ohne A/W: rechts am Ende")
            << OhneAundW << 0 << 5 << int(Qt::Key_Right) << 0 << 0;
        QTest::newRow("eine Spalte: Tab") << EineSpalte << 0 << 0 << tab << 1 << 0;
        QTest::newRow("eine Spalte: Tab letzte Zeile") << EineSpalte << 3 << 0 << tab << 0 << 0;
        QTest::newRow("eine Spalte: rechts")
            << EineSpalte << 2 << 0 << int(Qt::Key_Right) << 2 << 0;
        QTest::newRow("eine Spalte: links") << EineSpalte << 2 << 0 << int(Qt::Key_Left) << 2 << 0;
        QTest::newRow("eine Spalte: hoch") << EineSpalte << 0 << 0 << int(Qt::Key_Up) << 3 << 0;
    }

    void navigation()
    {
        QFETCH(Layout, layout);
        QFETCH(int, zeile);
        QFETCH(int, eintrag);
        QFETCH(int, taste);
        QFETCH(int, zielZeile);
        QFETCH(int, zielEintrag);
        QPointer<Kursfenster> f = Oeffne(layout);
        QVERIFY(f);
        const int erste = int(TabellenStruktur.ErsteSpalte);
        f->AktiviereEditZelle(zeile, erste + eintrag);
        QCOMPARE(EditorZelle(*f), QPoint(erste + eintrag, zeile));
        QLineEdit* editor = Editor(*f);
        QTest::keyClick(editor, Qt::Key(taste));
        QCOMPARE(EditorZelle(*f), QPoint(erste + zielEintrag, zielZeile));
        QCOMPARE(f->AktiveZeile(), zielZeile);
        QCOMPARE(f->AktiveSpalte(), erste + zielEintrag);
        QVERIFY(Editor(*f)->hasFocus() || !f->isActiveWindow());
        QCOMPARE(plattform.pieps, 0);
    }

    void spaltensuche_data()
    {
        // The search for the next and the previous entry column as the keys use it: Tab
        // (naechste) goes to the next entry column, past the last one to the first entry
        // column of the next row (ergebnis false); the left arrow key goes to the previous
        // entry column, from the first one round to the last in the same row.
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<bool>("naechste");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("ziel");
        QTest::addColumn<bool>("ergebnis");
        // Columns 0..10 with entry columns 5..10.
        QTest::newRow("nächste mitten") << MitAundW << true << 6 << 7 << true;
        QTest::newRow("nächste aus Kennspalte") << MitAundW << true << 1 << 5 << true;
        QTest::newRow("nächste am Ende") << MitAundW << true << 10 << 5 << false;
        QTest::newRow("vorige mitten") << MitAundW << false << 7 << 6 << true;
        QTest::newRow("vorige am Anfang") << MitAundW << false << 5 << 10 << false;
        QTest::newRow("vorige von Spalte 1") << MitAundW << false << 1 << 10 << false;
        // One entry column (column 3 of 0..3).
        QTest::newRow("eine: nächste") << EineSpalte << true << 3 << 3 << false;
        QTest::newRow("eine: vorige") << EineSpalte << false << 3 << 3 << false;
    }

    void spaltensuche()
    {
        QFETCH(Layout, layout);
        QFETCH(bool, naechste);
        QFETCH(int, start);
        QFETCH(int, ziel);
        QFETCH(bool, ergebnis);
        QPointer<Kursfenster> f = Oeffne(layout);
        QVERIFY(f);
        QVERIFY(f->meineTabelle()->rowCount() > 1);
        // The key as the grid hands it to the window on the cell (0, start).
        const int taste = naechste ? Kursfenster::TasteTab : Kursfenster::TasteLinks;
        QVERIFY(f->meineTabelle_CellKeyDown(0, start, taste));
        QCOMPARE(f->AktiveSpalte(), ziel);
        QCOMPARE(EditorZelle(*f), QPoint(ziel, 0 + (naechste && !ergebnis ? 1 : 0)));
        QCOMPARE(f->AktiveZeile(), naechste && !ergebnis ? 1 : 0);
        QCOMPARE(plattform.pieps, 0);
    }

    void abgelehnterWertHaeltFest_data()
    {
        QTest::addColumn<int>("taste");
        QTest::newRow("Tab") << int(Qt::Key_Tab);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("runter") << int(Qt::Key_Down);
        QTest::newRow("links") << int(Qt::Key_Left);
    }

    void abgelehnterWertHaeltFest()
    {
        QFETCH(int, taste);
        QPointer<Kursfenster> f = Oeffne();
        f->AktiviereEditZelle(1, 5);
        Tippen(*f, QStringLiteral("99"));
        QTest::keyClick(Editor(*f), Qt::Key(taste));
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(EditorZelle(*f), QPoint(5, 1));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("3"));
        QCOMPARE(Gespeichert(*f, 1, QStringLiteral("Note")), QStringLiteral("3"));
        QVERIFY(!f->LokalGeaendert());
    }

    void andereTastenGehenAnDenEditor()
    {
        QPointer<Kursfenster> f = Oeffne();
        f->AktiviereEditZelle(0, 8); // "Facharbeit", all selected
        QTest::keyClick(Editor(*f), Qt::Key_End);
        QTest::keyClick(Editor(*f), Qt::Key_Backspace);
        QTest::keyClicks(Editor(*f), QStringLiteral("en"));
        // (Page Up and Down move by a page now; Home without Ctrl stays in the editor.)
        QTest::keyClick(Editor(*f), Qt::Key_Home);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("Facharbeien"));
        QCOMPARE(EditorZelle(*f), QPoint(8, 0));
        QVERIFY(!f->LokalGeaendert());
    }

    void klickAufEintragszelle()
    {
        QPointer<Kursfenster> f = Oeffne();
        Klick(*f, 2, 7);
        QCOMPARE(EditorZelle(*f), QPoint(7, 2));
        QCOMPARE(f->AktiveZeile(), 2);
        QCOMPARE(f->AktiveSpalte(), 7);
        QVERIFY(f->meineTabelle()->selectionModel()->selectedRows().isEmpty());
    }

    void klickBeiAbgelehntemWert_data()
    {
        QTest::addColumn<int>("spalte");
        QTest::newRow("andere Eintragszelle") << 7;
        QTest::newRow("Name") << 3;
        QTest::newRow("W") << 4;
    }

    void klickBeiAbgelehntemWert()
    {
        QFETCH(int, spalte);
        QPointer<Kursfenster> f = Oeffne();
        const bool gewarnt = Gewarnt(*f, 2);
        f->AktiviereEditZelle(0, 6);
        Tippen(*f, QStringLiteral("abc"));
        Klick(*f, 2, spalte);
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(EditorZelle(*f), QPoint(6, 0));
        QCOMPARE(Sichtbar(*f, 0, 6), QStringLiteral("4"));
        QVERIFY(f->meineTabelle()->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(Gewarnt(*f, 2), gewarnt);
        QVERIFY(!f->LokalGeaendert());
    }

    void klickAufW()
    {
        QPointer<Kursfenster> f = Oeffne();
        QVERIFY(!Gewarnt(*f, 0));
        Klick(*f, 0, 4);
        QVERIFY(Gewarnt(*f, 0)); // toggled exactly once
        QVERIFY(f->LokalGeaendert());
        QVERIFY(f->SichernAktion()->isEnabled());
        // No editor on the box; typing goes on in the row's entry cell.
        QCOMPARE(EditorZelle(*f), QPoint(5, 0));
        QCOMPARE(f->AktiveSpalte(), 5);
        QVERIFY(f->meineTabelle()->selectionModel()->selectedRows().isEmpty());
        // A double click through the window system (press, release, press with the double
        // click, release) is two presses: two toggles.
        Kurstabelle* t = f->meineTabelle();
        QVERIFY(Gewarnt(*f, 1));
        const QPoint ort = t->viewport()->mapTo(f, t->visualRect(t->model()->index(1, 4)).center());
        QTest::mouseDClick(f->windowHandle(), Qt::LeftButton, Qt::NoModifier, ort);
        QVERIFY(Gewarnt(*f, 1));
        QTest::mouseClick(f->windowHandle(), Qt::LeftButton, Qt::NoModifier, ort);
        QVERIFY(!Gewarnt(*f, 1));
    }

    void klickAufKennspalteWaehltZeile_data()
    {
        QTest::addColumn<int>("spalte");
        QTest::newRow("Nr.") << 1;
        QTest::newRow("A") << 2;
        QTest::newRow("Name") << 3;
    }

    void klickAufKennspalteWaehltZeile()
    {
        QFETCH(int, spalte);
        QPointer<Kursfenster> f = Oeffne();
        Klick(*f, 2, spalte);
        Kurstabelle* t = f->meineTabelle();
        QVERIFY(t->selectionModel()->isRowSelected(2, QModelIndex()));
        QCOMPARE(t->selectionModel()->selectedRows().size(), 1);
        QVERIFY(!Editor(*f));
        // The active cell stays where it was.
        QCOMPARE(f->AktiveZeile(), 0);
        QCOMPARE(f->AktiveSpalte(), 5);
        QCOMPARE(plattform.pieps, 0);
    }

    void optionDruckZiehtSpalte()
    {
        QPointer<Kursfenster> f = Oeffne();
        Klick(*f, 1, 7, Qt::AltModifier);
        QCOMPARE(f->meineTabelle()->VorgemerkteSpalte(), -1); // a click ends the drag
        QVERIFY(EditorZelle(*f) != QPoint(7, 1));
        QCOMPARE(f->AktiveSpalte(), 5);

        // Press and hold: the column is marked for dragging, no editor opens.
        Kurstabelle* t = f->meineTabelle();
        QTest::mousePress(t->viewport(), Qt::LeftButton, Qt::AltModifier,
            t->visualRect(t->model()->index(1, 7)).center());
        QCOMPARE(t->VorgemerkteSpalte(), 7);
        QVERIFY(EditorZelle(*f) != QPoint(7, 1));
        QTest::mouseRelease(t->viewport(), Qt::LeftButton, Qt::AltModifier,
            t->visualRect(t->model()->index(1, 7)).center());

        std::unique_ptr<QMimeData> daten(Spaltenzug(7));
        QVERIFY(daten->hasFormat(QStringLiteral("ravirireru.listenSpalten")));
        QCOMPARE(daten->data(QStringLiteral("ravirireru.listenSpalten")), QByteArray("7"));
        QVERIFY(t->akzeptierteTypen.contains(QStringLiteral("ravirireru.listenSpalten")));
    }

    void editMenueFolgtDemFokus()
    {
        QPointer<Kursfenster> f = Oeffne();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        Menue& menue = Menue::Instanz();
        QAction* copy = menue.Eintrag(QStringLiteral("EditCopy"));
        QAction* copySpezial = menue.Eintrag(QStringLiteral("EditCopySpezial"));
        QAction* paste = menue.Eintrag(QStringLiteral("EditPaste"));
        QAction* pasteSpezial = menue.Eintrag(QStringLiteral("EditPasteSpezial"));
        // Exactly one item of each pair, both pairs alike; true for the special items.
        const auto spezial = [&] {
            const bool einer = copy->isVisible() != copySpezial->isVisible()
                && paste->isVisible() != pasteSpezial->isVisible()
                && copySpezial->isVisible() == pasteSpezial->isVisible();
            if (!einer)
                qWarning("Bearbeiten-Menü uneinheitlich");
            return einer && copySpezial->isVisible();
        };
        const auto normal = [&] {
            return copy->isVisible() && paste->isVisible() && !copySpezial->isVisible()
                && !pasteSpezial->isVisible();
        };

        // The editor has the focus: the plain items.
        Editor(*f)->setFocus();
        QTRY_VERIFY(Editor(*f)->hasFocus());
        QVERIFY(normal());
        // A move of the editor keeps them.
        QTest::keyClick(Editor(*f), Qt::Key_Tab);
        QVERIFY(Editor(*f)->hasFocus());
        QVERIFY(normal());
        // The table itself (a row selected): the special items.
        Klick(*f, 1, 3);
        QVERIFY(f->meineTabelle()->hasFocus());
        QVERIFY(spezial());
        // Back into a cell editor.
        Klick(*f, 1, 6);
        QVERIFY(Editor(*f)->hasFocus());
        QVERIFY(normal());
        // Another control of another window: the plain items.
        Klick(*f, 1, 3);
        QVERIFY(spezial());
        QWidget anderes;
        QLineEdit feld(&anderes);
        anderes.show();
        anderes.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&anderes));
        feld.setFocus();
        QTRY_VERIFY(feld.hasFocus());
        QVERIFY(normal());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterNavigation)
#include "tst_kursfenster_navigation.moc"
