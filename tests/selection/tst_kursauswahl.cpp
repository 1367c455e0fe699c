// The course selection window: its rows, dots, toolbar, messages and size.

#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahlzugriff.h"
#include "kursfenster.h"
#include "kurskopf.h"
#include "kurslistenbauer.h"
#include "kurslistenzeichner.h"
#include "spaltenstruktur.h"
#include "toolbarvorlage.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QWidgetAction>

using namespace Kursauswahlzugriff;

namespace {

QList<Kursfenster*> OffeneKursfenster()
{
    QList<Kursfenster*> fenster;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* k = qobject_cast<Kursfenster*>(w))
            fenster.append(k);
    }
    return fenster;
}

// A double-click as the mouse makes it: press and release, then the second press (which
// the list receives as the double-click) and its release, all at one point.
void DoppelKlick(Kursauswahl& fenster, QPoint punkt)
{
    QWidget* flaeche = Liste(fenster)->viewport();
    QTest::mouseClick(flaeche, Qt::LeftButton, {}, punkt);
    QTest::mouseDClick(flaeche, Qt::LeftButton, {}, punkt);
    QTest::mouseRelease(flaeche, Qt::LeftButton, {}, punkt);
}

QPoint Zelle(Kursauswahl& fenster, int zeile, int spalte)
{
    QTableWidget* liste = Liste(fenster);
    return liste->visualRect(liste->model()->index(zeile, spalte)).center();
}

} // namespace

// Over the standard course list (the courses "M", Mathematik LK2, and "D", Deutsch GK1, both of
// teacher "Mü" and unchanged; half-year "12.1"), made the global data through the file reader;
// a test adds courses or flags with the builder.
class TstKursauswahl : public Fenstertest {
    Q_OBJECT

private slots:

    void zeilenZeigenDieKurse_data();
    void zeilenZeigenDieKurse();
    void steuerzeichenInDerListe();
    void kopfUndSpalten();
    void werkzeugleiste();
    void ersterKursIstAusgewaehlt();
    void freigabe_data();
    void freigabe();
    void aktualisierenFolgtDenFlaggen_data();
    void aktualisierenFolgtDenFlaggen();
    void ohneAuswahlIstAllesGesperrt();
    void ohneKurse();
    void punktFarbe_data();
    void punktFarbe();
    void leererKursMeldungen_data();
    void leererKursMeldungen();
    void kursOeffnen_data();
    void kursOeffnen();
    void nurDieHoeheAendertSich();
    void kursfensterDaneben_data();
    void kursfensterDaneben();
    void fensterEigenschaften();
    void kurslistenInitBeimErzeugen();
    void einzigeInstanz();
};

void TstKursauswahl::zeilenZeigenDieKurse_data()
{
    QTest::addColumn<qint64>("nr");
    QTest::addColumn<QString>("nrText");

    QTest::newRow("einstellig") << qint64(1) << QStringLiteral("1");
    QTest::newRow("zweistellig") << qint64(12) << QStringLiteral("12");
    QTest::newRow("null") << qint64(0) << QStringLiteral("0");
    QTest::newRow("dreistellig") << qint64(305) << QStringLiteral("305");
}

void TstKursauswahl::zeilenZeigenDieKurse()
{
    QFETCH(qint64, nr);
    QFETCH(QString, nrText);

    Kurslistenbauer()
        .Kurs("E", "Englisch", "GK", nr, "XYZ", ",")
        .Kurs("PH", "Physik", "GK", 7, "Möller-Ümit", "13")
        .AlsGlobaleDaten();

    Kursauswahl fenster;
    QTableWidget* liste = Liste(fenster);
    QVERIFY(liste);
    QCOMPARE(liste->rowCount(), 4);

    const QStringList erwartet[] = {
        { QString(), "Mathematik", "LK", "2", "Mü" },
        { QString(), "Deutsch", "GK", "1", "Mü" },
        { QString(), "Englisch", "GK", nrText, "XYZ" },
        { QString(), "Physik", "GK", "7", "Möller-Ümit" },
    };
    for (int zeile = 0; zeile < 4; ++zeile) {
        for (int spalte = 0; spalte < 5; ++spalte)
            QCOMPARE(liste->item(zeile, spalte)->text(), erwartet[zeile].at(spalte));
    }
}

// Texts from the file cannot turn the list around: a right-to-left override, ESC and BEL in a
// course's fields show as "\ufffd".
void TstKursauswahl::steuerzeichenInDerListe()
{
    Kurslistenbauer()
        .Kurs("X", QStringLiteral("Mathe\u202eexe.zle"), QStringLiteral("G\x1bK"), 1,
            QStringLiteral("WEH\a"), ",")
        .AlsGlobaleDaten();
    Kursauswahl fenster;
    QTableWidget* liste = Liste(fenster);
    QCOMPARE(liste->item(2, 1)->text(), QStringLiteral("Mathe\ufffdexe.zle"));
    QCOMPARE(liste->item(2, 2)->text(), QStringLiteral("G\ufffdK"));
    QCOMPARE(liste->item(2, 4)->text(), QStringLiteral("WEH\ufffd"));
}

void TstKursauswahl::kopfUndSpalten()
{
    Kurslistenbauer().AlsGlobaleDaten();
    Kursauswahl fenster;
    QTableWidget* liste = Liste(fenster);

    const QStringList kopf = { " ", "Fach", "Kursart", "Nr", "Lehrer*in", "Noten" };
    const int breiten[] = { 20, 150, 80, 30, 140, 60 };
    QCOMPARE(liste->columnCount(), 6);
    for (int spalte = 0; spalte < 6; ++spalte) {
        QCOMPARE(liste->horizontalHeaderItem(spalte)->text(), kopf.at(spalte));
        QCOMPARE(liste->columnWidth(spalte), breiten[spalte]);
        QCOMPARE(liste->horizontalHeader()->sectionResizeMode(spalte), QHeaderView::Fixed);
    }
    QCOMPARE(liste->rowHeight(0), 20);
    QVERIFY(liste->showGrid());
    QCOMPARE(liste->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(liste->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(liste->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(liste->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(liste->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!liste->horizontalHeader()->sectionsMovable());
    QCOMPARE(liste->frameShape(), QFrame::NoFrame);
}

void TstKursauswahl::werkzeugleiste()
{
    Kurslistenbauer().AlsGlobaleDaten();
    Kursauswahl fenster;
    QToolBar* leiste = Werkzeuge(fenster);
    QVERIFY(leiste);

    const QList<QAction*> items = leiste->actions();
    QCOMPARE(items.size(), 5);
    const QStringList namen
        = { "ToolItemZeigen", "ToolItemSpeichern", "ToolItemSenden", QString(), "ToolItemHilfe" };
    const QStringList texte = { "Kursliste zeigen", "Speichern", "Senden", QString(), "Hilfe" };
    const QStringList bilder
        = { "ToolNotenDatei", "ToolNotenErgebnis", "ToolNotenSenden", QString(), "ToolHilfe" };
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(items.at(i)->objectName(), namen.at(i));
        QCOMPARE(items.at(i)->text(), texte.at(i));
        if (!bilder.at(i).isEmpty())
            QCOMPARE(items.at(i)->icon().cacheKey(), ToolbarVorlage::Bild(bilder.at(i)).cacheKey());
    }
    // The fourth item is the flexible space: a widget that takes the free width.
    auto* raum = qobject_cast<QWidgetAction*>(items.at(3));
    QVERIFY(raum);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QWidget* raumWidget = leiste->widgetForAction(raum);
    QVERIFY(raumWidget);
    QCOMPARE(raumWidget->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    // "Hilfe" sits at the right end.
    QWidget* hilfe = leiste->widgetForAction(items.at(4));
    QVERIFY(hilfe->geometry().left() > leiste->widgetForAction(items.at(2))->geometry().right());
    QVERIFY(hilfe->geometry().right() >= leiste->width() - 20);
}

void TstKursauswahl::ersterKursIstAusgewaehlt()
{
    Kurslistenbauer().Kursflaggen("D", true, false, false).AlsGlobaleDaten();
    const KursZeiger erster = Daten.alleKurse.Zeigen(1);
    QCOMPARE(erster->Kuerzel, QStringLiteral("M"));

    Kursauswahl fenster;
    QCOMPARE(fenster.AusgewaehlterKurs(), erster);
    QCOMPARE(Liste(fenster)->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(Liste(fenster)->selectionModel()->selectedRows().first().row(), 0);
    // The first course never changed: only "Kursliste zeigen".
    QVERIFY(Knopf(fenster, "ToolItemZeigen")->isEnabled());
    QVERIFY(!Knopf(fenster, "ToolItemSpeichern")->isEnabled());
    QVERIFY(!Knopf(fenster, "ToolItemSenden")->isEnabled());
    QCOMPARE(fenster.DateiName(), QStringLiteral("Noten 12.1-M-LK2-Mü"));

    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    KlickeZeile(fenster, 1);
    QCOMPARE(fenster.AusgewaehlterKurs(), Daten.alleKurse.Zeigen(2));
    QVERIFY(Knopf(fenster, "ToolItemSpeichern")->isEnabled());
    QVERIFY(Knopf(fenster, "ToolItemSenden")->isEnabled());
    QCOMPARE(fenster.DateiName(), QStringLiteral("Noten 12.1-D-GK1-Mü"));
}

void TstKursauswahl::freigabe_data()
{
    QTest::addColumn<bool>("mitDaten");
    QTest::addColumn<bool>("geaendert");
    QTest::addColumn<bool>("gespeichert");
    QTest::addColumn<bool>("gesendet");
    QTest::addColumn<bool>("speichern");
    QTest::addColumn<bool>("senden");

    QTest::newRow("unverändert") << true << false << false << false << false << false;
    QTest::newRow("geändert") << true << true << false << false << true << true;
    QTest::newRow("gespeichert") << true << true << true << false << false << true;
    QTest::newRow("alle drei") << true << true << true << true << false << false;
    QTest::newRow("gesendet, nicht gespeichert") << true << true << false << true << true << false;
    QTest::newRow("gesendet ohne geändert") << true << false << false << true << false << false;
    QTest::newRow("gespeichert ohne geändert") << true << false << true << false << false << false;
    QTest::newRow("ohne Daten, geändert") << false << true << false << false << false << false;
    QTest::newRow("ohne Daten, gespeichert") << false << true << true << false << false << false;
    QTest::newRow("ohne Daten, gesendet") << false << true << false << true << false << false;
    QTest::newRow("ohne Daten, unverändert") << false << false << false << false << false << false;
}

void TstKursauswahl::freigabe()
{
    QFETCH(bool, mitDaten);
    QFETCH(bool, geaendert);
    QFETCH(bool, gespeichert);
    QFETCH(bool, gesendet);
    QFETCH(bool, speichern);
    QFETCH(bool, senden);

    Kurslistenbauer().Kursflaggen("M", geaendert, gespeichert, gesendet).AlsGlobaleDaten();
    Daten.mitDaten = mitDaten;
    if (!mitDaten)
        Daten.alleEintraege = Eintraege();
    Kursauswahl fenster;
    QVERIFY(Knopf(fenster, "ToolItemZeigen")->isEnabled());
    QCOMPARE(Knopf(fenster, "ToolItemSpeichern")->isEnabled(), speichern);
    QCOMPARE(Knopf(fenster, "ToolItemSenden")->isEnabled(), senden);
    QVERIFY(Knopf(fenster, "ToolItemHilfe")->isEnabled());
}

void TstKursauswahl::aktualisierenFolgtDenFlaggen_data()
{
    freigabe_data();
}

void TstKursauswahl::aktualisierenFolgtDenFlaggen()
{
    QFETCH(bool, mitDaten);
    QFETCH(bool, geaendert);
    QFETCH(bool, gespeichert);
    QFETCH(bool, gesendet);
    QFETCH(bool, speichern);
    QFETCH(bool, senden);

    // Start from the opposite flags, then change them as a course window would.
    Kurslistenbauer().Kursflaggen("M", !geaendert, !gespeichert, !gesendet).AlsGlobaleDaten();
    Daten.mitDaten = mitDaten;
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    Kursauswahl fenster;
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    kurs->geaendert = geaendert;
    kurs->gespeichert = gespeichert;
    kurs->gesendet = gesendet;
    fenster.Aktualisieren();
    QCOMPARE(Knopf(fenster, "ToolItemSpeichern")->isEnabled(), speichern);
    QCOMPARE(Knopf(fenster, "ToolItemSenden")->isEnabled(), senden);
    const QColor farbe = KurslistenZeichner::PunktFarbe(*kurs);
    QTRY_COMPARE(FarbeInZelle(fenster, 0), farbe.isValid() ? farbe : QColor(Qt::white));
}

void TstKursauswahl::ohneAuswahlIstAllesGesperrt()
{
    Kurslistenbauer().Kursflaggen("M", true, false, false).AlsGlobaleDaten();
    Kursauswahl fenster;
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QVERIFY(Knopf(fenster, "ToolItemSenden")->isEnabled());

    // Ctrl+click takes the selection away.
    QTableWidget* liste = Liste(fenster);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::ControlModifier,
        liste->visualRect(liste->model()->index(0, 1)).center());
    QVERIFY(liste->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(fenster.AusgewaehlterKurs(), KursZeiger());
    QCOMPARE(fenster.DateiName(), QString());
    for (const char* name : { "ToolItemZeigen", "ToolItemSpeichern", "ToolItemSenden" })
        QVERIFY2(!Knopf(fenster, name)->isEnabled(), name);
    QVERIFY(Knopf(fenster, "ToolItemHilfe")->isEnabled());

    // A double-click in the empty area below the rows does nothing.
    DoppelKlick(fenster, QPoint(100, 300));
    QVERIFY(plattform.protokoll.isEmpty());
    QVERIFY(OffeneKursfenster().isEmpty());
}

void TstKursauswahl::ohneKurse()
{
    Kurslistenbauer()
        .Aendern([](Datenbestand& d) {
            d.alleKurse = KursAuswahlliste();
            d.alleSchuelerKurse = SchuelerKursliste();
        })
        .AlsGlobaleDaten();
    QCOMPARE(Daten.alleKurse.AnzahlKurse(), 0);
    Kursauswahl fenster;
    QCOMPARE(Liste(fenster)->rowCount(), 0);
    QCOMPARE(fenster.AusgewaehlterKurs(), KursZeiger());
    for (const char* name : { "ToolItemZeigen", "ToolItemSpeichern", "ToolItemSenden" })
        QVERIFY2(!Knopf(fenster, name)->isEnabled(), name);
}

void TstKursauswahl::punktFarbe_data()
{
    QTest::addColumn<bool>("geaendert");
    QTest::addColumn<bool>("gespeichert");
    QTest::addColumn<bool>("gesendet");
    QTest::addColumn<QColor>("farbe"); // white: no dot

    const QColor weiss(255, 255, 255), rot(255, 0, 0), blau(0, 0, 255), gruen(0, 200, 0);
    QTest::newRow("keine Flagge") << false << false << false << weiss;
    QTest::newRow("geändert") << true << false << false << rot;
    QTest::newRow("geändert, gespeichert") << true << true << false << blau;
    QTest::newRow("alle drei") << true << true << true << gruen;
    QTest::newRow("geändert, gesendet") << true << false << true << gruen;
    QTest::newRow("nur gespeichert") << false << true << false << blau;
    QTest::newRow("nur gesendet") << false << false << true << gruen;
    QTest::newRow("gespeichert, gesendet") << false << true << true << gruen;
}

void TstKursauswahl::punktFarbe()
{
    QFETCH(bool, geaendert);
    QFETCH(bool, gespeichert);
    QFETCH(bool, gesendet);
    QFETCH(QColor, farbe);

    // The course under test ("D") sits between two others whose dots differ from each other.
    Kurslistenbauer()
        .Kursflaggen("D", geaendert, gespeichert, gesendet)
        .Kurs("E", "Englisch", "GK", 3, "Mü", "12")
        .Kursflaggen("E", true, false, false)
        .AlsGlobaleDaten();
    Kursauswahl fenster;
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    const QColor weiss(255, 255, 255);
    for (bool ausgewaehlt : { false, true }) {
        if (ausgewaehlt)
            KlickeZeile(fenster, 1);
        QCOMPARE(FarbeInZelle(fenster, 1), farbe);
        // A round dot: its box's corners and the cell's edges stay white.
        for (const QPoint punkt :
            { QPoint(5, 5), QPoint(14, 14), QPoint(1, 1), QPoint(10, 2), QPoint(17, 10) })
            QCOMPARE(FarbeInZelle(fenster, 1, punkt), weiss);
        QCOMPARE(FarbeInZelle(fenster, 0), weiss);
        QCOMPARE(FarbeInZelle(fenster, 2), QColor(255, 0, 0));
    }
}

void TstKursauswahl::leererKursMeldungen_data()
{
    QTest::addColumn<bool>("doppelklick");
    QTest::addColumn<QString>("meldung");

    QTest::newRow("Doppelklick") << true
                                 << QStringLiteral("Der Kurs enthält keine Schüler; somit entfällt "
                                                   "eine Noteneingabe.");
    QTest::newRow("Kursliste zeigen") << false
                                      << QStringLiteral("Der Kurs enthält keine Schüler. Somit "
                                                        "entfällt eine Noteneingabe.");
}

void TstKursauswahl::leererKursMeldungen()
{
    QFETCH(bool, doppelklick);
    QFETCH(QString, meldung);

    Kurslistenbauer().Kurs("E", "Englisch", "GK", 1, "XYZ", ",").AlsGlobaleDaten();
    Kursauswahl fenster;
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    KlickeZeile(fenster, 2);
    QCOMPARE(fenster.AusgewaehlterKurs(), Daten.alleKurse.Zeigen(3));

    if (doppelklick)
        DoppelKlick(fenster, Zelle(fenster, 2, 2));
    else
        Druecken(fenster, "ToolItemZeigen");
    QCOMPARE(plattform.meldungen, QStringList { meldung });
    QVERIFY(OffeneKursfenster().isEmpty());
}

void TstKursauswahl::kursOeffnen_data()
{
    QTest::addColumn<int>("weg");
    QTest::newRow("Doppelklick") << 0;
    QTest::newRow("Kursliste zeigen") << 1;
    QTest::newRow("Eingabetaste") << 2;
    QTest::newRow("Enter des Ziffernblocks") << 3;
}

void TstKursauswahl::kursOeffnen()
{
    QFETCH(int, weg);

    Kurslistenbauer().AlsGlobaleDaten();
    Kursauswahl fenster;
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    KlickeZeile(fenster, 1);
    QCOMPARE(fenster.AusgewaehlterKurs(), Daten.alleKurse.Zeigen(2));

    // A course opens once: opening it again brings its window to the front.
    for (int mal = 1; mal <= 2; ++mal) {
        if (weg == 0)
            DoppelKlick(fenster, Zelle(fenster, 1, 3));
        else if (weg == 1)
            Druecken(fenster, "ToolItemZeigen");
        else
            QTest::keyClick(Liste(fenster), weg == 2 ? Qt::Key_Return : Qt::Key_Enter,
                weg == 2 ? Qt::NoModifier : Qt::KeypadModifier);
        QCOMPARE(OffeneKursfenster().size(), 1);
    }
    for (Kursfenster* k : OffeneKursfenster())
        QVERIFY(k->isVisible());
    QVERIFY(plattform.meldungen.isEmpty());
}

void TstKursauswahl::kursfensterDaneben_data()
{
    // The usable screen; whether a window of that width fits beside the selection window.
    QTest::addColumn<QRect>("flaeche");
    QTest::addColumn<int>("weitere"); // more students: a wider table is not needed, more rows
    QTest::newRow("1366 × 768") << QRect(0, 0, 1366, 768) << 0;
    QTest::newRow("1366 × 768, 30 Schüler") << QRect(0, 0, 1366, 768) << 30;
    QTest::newRow("1600 × 1200") << QRect(0, 0, 1600, 1200) << 0;
}

void TstKursauswahl::kursfensterDaneben()
{
    // A course window opens beside the selection window, never on top of it, and a second
    // one staggered from the first, still beside it and on the screen.
    QFETCH(QRect, flaeche);
    QFETCH(int, weitere);
    Kurslistenbauer().WeitereSchueler("M", 101, weitere).AlsGlobaleDaten();
    Kursfenster::SetzeBildschirmflaeche(flaeche);
    Kursauswahl fenster;
    fenster.move(flaeche.left() + 10, flaeche.top() + 20);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QList<QRect> orte;
    for (int zeile : { 0, 1 }) {
        KlickeZeile(fenster, zeile);
        Druecken(fenster, "ToolItemZeigen");
        Kursfenster* k = Kursfenster::FensterVon(Daten.alleKurse.Zeigen(zeile + 1).get());
        QVERIFY(k && k->isVisible());
        const QRect ort = k->frameGeometry();
        QVERIFY2(!ort.intersects(fenster.frameGeometry()),
            qPrintable(QStringLiteral("%1,%2 %3×%4")
                           .arg(ort.x())
                           .arg(ort.y())
                           .arg(ort.width())
                           .arg(ort.height())));
        QVERIFY(flaeche.contains(ort));
        orte.append(ort);
    }
    // 8 pixels to the right of the selection window's frame (the course window's own frame
    // lies within that gap).
    const Kursfenster* erstes = Kursfenster::FensterVon(Daten.alleKurse.Zeigen(1).get());
    QCOMPARE(erstes->geometry().left(), fenster.frameGeometry().right() + 1 + 8);
    QCOMPARE(orte.at(1).topLeft() - orte.at(0).topLeft(), QPoint(22, 22));
    for (Kursfenster* k : OffeneKursfenster())
        k->close();
    Kursfenster::SetzeBildschirmflaeche(std::nullopt);
}

void TstKursauswahl::nurDieHoeheAendertSich()
{
    // 40 courses: the two standard ones and 38 more.
    Kurslistenbauer bauer;
    for (int i = 3; i <= 40; ++i)
        bauer.Kurs(QStringLiteral("K%1").arg(i), QStringLiteral("Mathematik"), QStringLiteral("GK"),
            i, QStringLiteral("ABC"), QStringLiteral("11"));
    bauer.AlsGlobaleDaten();
    QCOMPARE(Daten.alleKurse.AnzahlKurse(), 40);
    Kursauswahl fenster;
    QCOMPARE(fenster.size(), QSize(480, 660));
    QCOMPARE(fenster.minimumSize(), QSize(480, 64));
    QCOMPARE(fenster.maximumSize(), QSize(480, 32000));
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    QTableWidget* liste = Liste(fenster);
    const int listeVorher = liste->height();
    QCOMPARE(liste->width(), 480);

    fenster.resize(700, 400);
    QTRY_COMPARE(fenster.height(), 400);
    QCOMPARE(fenster.width(), 480);
    // The list follows on all sides.
    QTRY_COMPARE(liste->height(), listeVorher - 260);
    QCOMPARE(liste->width(), 480);
    QCOMPARE(liste->mapTo(&fenster, QPoint(0, liste->height())).y(), fenster.height());

    fenster.resize(300, 900);
    QTRY_COMPARE(fenster.height(), 900);
    QCOMPARE(fenster.width(), 480);
    QTRY_COMPARE(liste->height(), listeVorher + 240);

    fenster.resize(480, 10);
    QTRY_COMPARE(fenster.height(), 64);
}

void TstKursauswahl::fensterEigenschaften()
{
    Kurslistenbauer().AlsGlobaleDaten();
    Kursauswahl fenster;
    QCOMPARE(fenster.windowTitle(), QStringLiteral("Kursauswahl"));
    const Qt::WindowFlags flaggen = fenster.windowFlags();
    QVERIFY(!(flaggen & Qt::WindowCloseButtonHint));
    QVERIFY(flaggen & Qt::WindowMinimizeButtonHint);
    QVERIFY(flaggen & Qt::WindowMaximizeButtonHint);
    QVERIFY(fenster.menuBar());
    // "Ablage", "Bearbeiten" and "Hilfe".
    QStringList menues;
    for (const QAction* menue : fenster.menuBar()->actions())
        menues.append(menue->text());
    QCOMPARE(menues, QStringList({ "Ablage", "Bearbeiten", "Hilfe" }));
    QCOMPARE(fenster.x() - fenster.screen()->geometry().x(), 10);
}

void TstKursauswahl::kurslistenInitBeimErzeugen()
{
    Kurslistenbauer().Warnung(true).AlsGlobaleDaten();
    // As after a file without a layout of its own: none before the window opens.
    TabellenStruktur = Spaltenstruktur();
    QCOMPARE(TabellenStruktur.SpaltenAnzahl, 0);
    // The default layout, each entry column as wide as its heading needs.
    Spaltenstruktur erwartet;
    erwartet.KurslistenInit(Daten, &Kurskopf::Standardbreite);
    QVERIFY(erwartet.SpaltenAnzahl > 0);

    Kursauswahl fenster;
    QCOMPARE(TabellenStruktur, erwartet);
}

void TstKursauswahl::einzigeInstanz()
{
    Kurslistenbauer().AlsGlobaleDaten();
    QCOMPARE(Kursauswahl::Instanz(), nullptr);
    {
        Kursauswahl fenster;
        QCOMPARE(Kursauswahl::Instanz(), &fenster);
    }
    QCOMPARE(Kursauswahl::Instanz(), nullptr);
}

RAVIRIRERU_GUI_TEST_MAIN(TstKursauswahl)
#include "tst_kursauswahl.moc"
