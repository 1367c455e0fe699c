// The course window as a teacher sees it: headings and cell texts that do not fit show in
// full as a tooltip, the default layout gives each entry column the width its heading needs,
// a course longer than the screen scrolls and keeps the active cell in view, typing after a
// press on "W", "Nr." or "Name" goes into an entry cell of that row (the grid has no row
// search), and a dragged column shows where it will land.

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurskopf.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"

#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

using namespace Kurstabellentest;

namespace {

const QString NoteS = QStringLiteral("Note");
const QString Fehl = QStringLiteral("Fehlstunden");
const QString Unent = QStringLiteral("unentschuldigte Fehlstunden");
const QString Hinweis = QStringLiteral("Hinweis");

Kurskopf* KopfVon(const Kursfenster& f)
{
    return qobject_cast<Kurskopf*>(f.meineTabelle()->horizontalHeader());
}

// A tooltip event as the window system sends it when the mouse rests at p of w.
void TooltipAusloesen(QWidget* w, QPoint p)
{
    QHelpEvent hilfe(QEvent::ToolTip, p, w->mapToGlobal(p));
    QCoreApplication::sendEvent(w, &hilfe);
}

// The plain text of the tooltip shown now.
QString TooltipText()
{
    QTextDocument dokument;
    dokument.setHtml(QToolTip::text());
    return dokument.toPlainText();
}

// Whether the cell lies wholly inside the visible part of the table.
bool Sichtbar(const Kurstabelle& t, int row, int column)
{
    const QRect zelle = t.visualRect(t.model()->index(row, column));
    return t.viewport()->rect().contains(zelle);
}

} // namespace

class TestKursfensterAnsicht : public Kursfenstertest {
    Q_OBJECT

private:
    // Course "M" with weitere students more (from 101 on, with rows).
    QPointer<Kursfenster> Kurs(int weitere = 0)
    {
        const Datenbestand d
            = Kurslistenbauer().WeitereSchueler(QStringLiteral("M"), 101, weitere).Bauen();
        if (Anlegen(ordner.path(), d).isEmpty())
            return nullptr;
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f))
            return nullptr;
        return f;
    }

private slots:
    void init()
    {
        Grundzustand();
        Kursfenster::SetzeBildschirmflaeche(QRect(0, 0, 1600, 1200));
    }
    void cleanup()
    {
        QToolTip::hideText();
        GuiTest::Zuruecksetzen();
    }

    // --- Tooltips ---------------------------------------------------------------------

    void kopftipp_data()
    {
        // The stored layout of the fixture: every entry column 60 wide.
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<bool>("gekuerzt");
        QTest::addColumn<QString>("tipp"); // "" none; "+" heading and how to widen and move
        QTest::newRow("gekürzte Eintragsspalte") << Unent << true << "+";
        QTest::newRow("ganze Eintragsspalte") << NoteS << false << "+";
        QTest::newRow("Name passt") << QStringLiteral("Name") << false << "";
        QTest::newRow("Nr. passt") << QStringLiteral("Nr.") << false << "";
    }

    void kopftipp()
    {
        QFETCH(QString, spalte);
        QFETCH(bool, gekuerzt);
        QFETCH(QString, tipp);
        QPointer<Kursfenster> f = Kurs();
        QVERIFY(f);
        Kurskopf* kopf = KopfVon(*f);
        QVERIFY(kopf);
        int c = Spalte(spalte);
        for (int i = 0; c < 0 && i < kopf->count(); ++i)
            if (TabellenStruktur.Spalten.at(i).Ueberschrift == spalte)
                c = i;
        QVERIFY(c >= 0);
        // What the header draws: the heading, or its start with "…".
        const QString sichtbar = kopf->SichtbareUeberschrift(c);
        QCOMPARE(sichtbar != spalte, gekuerzt);
        if (gekuerzt) {
            QVERIFY(sichtbar.endsWith(QChar(0x2026)));
            QVERIFY(spalte.startsWith(sichtbar.chopped(1)));
        }
        const QString erwartet
            = tipp.isEmpty() ? QString() : spalte + QLatin1Char('\n') + Kurskopf::SpaltenHinweis;
        QCOMPARE(kopf->Kopftipp(c), erwartet);
        QVERIFY(Kurskopf::SpaltenHinweis.contains(QStringLiteral("Breite ändern")));
        QVERIFY(Kurskopf::SpaltenHinweis.contains(QStringLiteral("Verschieben")));

        // The tooltip as the mouse rests on the heading.
        QToolTip::hideText();
        const QPoint mitte(
            kopf->sectionViewportPosition(c) + kopf->sectionSize(c) / 2, kopf->height() / 2);
        TooltipAusloesen(kopf->viewport(), mitte);
        if (erwartet.isEmpty()) {
            QVERIFY(!QToolTip::isVisible());
        } else {
            QTRY_VERIFY(QToolTip::isVisible());
            QCOMPARE(TooltipText(), erwartet);
        }
    }

    void zelltipp_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<bool>("tipp");
        QTest::newRow("langer Hinweis")
            << Hinweis << QStringLiteral("Referat über Fotosynthese") << true;
        QTest::newRow("Hinweis mit Zeichen wie Auszeichnung")
            << Hinweis << QStringLiteral("<b>Attest</b> liegt vor & ist geprüft") << true;
        QTest::newRow("Hinweis über zwei Zeilen")
            << Hinweis
            << QStringLiteral("Hat im Halbjahr an der Arbeitsgemeinschaft Schulgarten teilgenommen "
                              "und dort eine Projektarbeit über Wildbienen vorgestellt")
            << true;
        QTest::newRow("kurzer Hinweis") << Hinweis << QStringLiteral("AG") << false;
        QTest::newRow("Note") << NoteS << QStringLiteral("13") << false;
        QTest::newRow("leer") << Hinweis << QString() << false;
    }

    void zelltipp()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, wert);
        QFETCH(bool, tipp);
        QPointer<Kursfenster> f = Kurs();
        QVERIFY(f);
        const int c = Spalte(spalte);
        QVERIFY(f->SpalteOK(wert, 2, c));
        // The editor stands elsewhere.
        f->AktiviereEditZelle(0, Spalte(Fehl));
        Kurstabelle* t = f->meineTabelle();
        QToolTip::hideText();
        TooltipAusloesen(t->viewport(), t->visualRect(t->model()->index(2, c)).center());
        if (!tipp) {
            QVERIFY(!QToolTip::isVisible());
            return;
        }
        QTRY_VERIFY(QToolTip::isVisible());
        // The whole text, literally, in lines of at most 80 characters.
        const QString gezeigt = TooltipText();
        for (const QString& zeile : gezeigt.split(QLatin1Char('\n')))
            QVERIFY2(zeile.size() <= 80, qPrintable(zeile));
        QCOMPARE(QString(gezeigt).replace(QLatin1Char('\n'), QLatin1Char(' ')), wert);
        // The cell with the open editor shows no tooltip of its own.
        f->AktiviereEditZelle(2, c);
        QToolTip::hideText();
        TooltipAusloesen(t->viewport(), t->visualRect(t->model()->index(2, c)).center());
        QVERIFY(!QToolTip::isVisible());
    }

    // --- The default layout -----------------------------------------------------------

    void standardbreiten_data()
    {
        QTest::addColumn<QStringList>("koepfe");
        QTest::newRow("Katalog der Demo") << QStringList { NoteS, Fehl, Unent, Hinweis,
            QStringLiteral("Klausur"), QStringLiteral("Bemerkung") };
        QTest::newRow("kurz und sehr lang")
            << QStringList { QStringLiteral("N"), QStringLiteral("AB"),
                   QStringLiteral("Teilnahme an der Arbeitsgemeinschaft Schulgarten und Imkerei") };
    }

    void standardbreiten()
    {
        // A file without a layout of its own: the course selection window builds the
        // default layout, each entry column as wide as its heading needs, 60 to 160.
        QFETCH(QStringList, koepfe);
        Kurslistenbauer().AlsGlobaleDaten();
        Daten.alleEintraege = Eintraege();
        for (const QString& kopf : std::as_const(koepfe))
            Daten.alleEintraege.Anfuegen(Eintrag(QString(), kopf));
        TabellenStruktur = Spaltenstruktur();
        QPointer<Kursauswahl> auswahl = new Kursauswahl;
        const int erste = int(TabellenStruktur.ErsteSpalte);
        QCOMPARE(TabellenStruktur.SpaltenAnzahl, erste + koepfe.size());
        QPointer<Kursfenster> f = new Kursfenster(Daten.alleKurse.Zeigen(1));
        f->show();
        Kurskopf* kopf = KopfVon(*f);
        for (int i = 0; i < koepfe.size(); ++i) {
            const QString& text = koepfe.at(i);
            const qint64 breite = TabellenStruktur.Spalten.at(erste + i).Breite;
            QVERIFY2(breite >= 60 && breite <= 160, qPrintable(text));
            QCOMPARE(f->meineTabelle()->columnWidth(erste + i), int(breite));
            const bool passt = kopf->SichtbareUeberschrift(erste + i) == text;
            if (breite < 160) {
                // Wide enough for the whole heading, and no wider than needed (or 60).
                QVERIFY2(passt, qPrintable(text));
                if (breite > 60) {
                    TabellenStruktur.SetzeSpaltenBreite(erste + i, breite - 6);
                    f->Anpassen();
                    QVERIFY2(kopf->SichtbareUeberschrift(erste + i) != text, qPrintable(text));
                    TabellenStruktur.SetzeSpaltenBreite(erste + i, breite);
                    f->Anpassen();
                }
            } else {
                // Capped: cut, and whole in the tooltip.
                QVERIFY(Kurskopf::Standardbreite(text) >= 160);
                QCOMPARE(kopf->Kopftipp(erste + i).section(QLatin1Char('\n'), 0, 0), text);
            }
        }
        // The identification columns keep their widths ("Nr.", "A", "Name", "W").
        QCOMPARE(erste, 5);
        QCOMPARE(TabellenStruktur.Spalten.at(1).Breite, 40);
        QCOMPARE(TabellenStruktur.Spalten.at(2).Breite, 30);
        QCOMPARE(TabellenStruktur.Spalten.at(3).Breite, 200);
        QCOMPARE(TabellenStruktur.Spalten.at(4).Breite, 25);
        delete f.data();
        delete auswahl.data();
    }

    void gespeichertesLayoutBleibt()
    {
        // A file that brings its layout keeps it to the byte, also when the course
        // selection window opens and the file is written again.
        Kurslistenbauer().AlsGlobaleDaten();
        TabellenStruktur.SetzeSpaltenBreite(TabellenStruktur.ErsteSpalte, 33);
        const QByteArray vorher = Dateihelfer::Kursliste(Daten, TabellenStruktur);
        QVERIFY(Dateihelfer::Lesen(vorher, Daten, TabellenStruktur));
        const Spaltenstruktur gelesen = TabellenStruktur;
        QPointer<Kursauswahl> auswahl = new Kursauswahl;
        QCOMPARE(TabellenStruktur, gelesen);
        QCOMPARE(TabellenStruktur.Spalten.at(TabellenStruktur.ErsteSpalte).Breite, 33);
        QCOMPARE(Dateihelfer::Kursliste(Daten, TabellenStruktur), vorher);
        delete auswahl.data();
    }

    // --- Rows beyond the window --------------------------------------------------------

    void bildlauf()
    {
        // 40 students on a screen 768 pixels high: the window stops 20 above the bottom,
        // the scroll bar shows, and the columns keep their whole width beside it.
        Kursfenster::SetzeBildschirmflaeche(QRect(0, 0, 1024, 768));
        QPointer<Kursfenster> f = Kurs(36);
        QVERIFY(f);
        QVERIFY(QTest::qWaitForWindowExposed(f));
        Kurstabelle* t = f->meineTabelle();
        QCOMPARE(t->rowCount(), 40);
        QVERIFY(f->height() < f->BenoetigteHoehe(40));
        QCOMPARE(f->geometry().bottom() + 1, 768 - 20);
        QTRY_VERIFY(t->verticalScrollBar()->isVisible());
        const QList<EinfacheSpalte> spalten = TabellenStruktur.Spalten;
        QCOMPARE(t->viewport()->width(), int(TabellenStruktur.Gesamtbreite()));
        QCOMPARE(
            f->width(), int(TabellenStruktur.Gesamtbreite()) + t->verticalScrollBar()->width());
        QVERIFY(!Daten.wurdeGeaendert());

        // Down, row by row, beyond the visible rows: the active cell stays in view.
        const int c = Spalte(NoteS);
        QCOMPARE(EditorZelle(*f), QPoint(c, 0));
        for (int i = 1; i < 40; ++i) {
            Taste(*f, Qt::Key_Down);
            QCOMPARE(EditorZelle(*f), QPoint(c, i));
            QVERIFY2(Sichtbar(*t, i, c), qPrintable(QString::number(i)));
        }
        QVERIFY(t->verticalScrollBar()->value() > 0);
        // Down again wraps to the first row, which comes back into view.
        Taste(*f, Qt::Key_Down);
        QCOMPARE(EditorZelle(*f), QPoint(c, 0));
        QVERIFY(Sichtbar(*t, 0, c));
        // Tab through the last row's columns, then on to the first row.
        f->AktiviereEditZelle(39, Spalte(QStringLiteral("Sonstiges")));
        QVERIFY(Sichtbar(*t, 39, Spalte(QStringLiteral("Sonstiges"))));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(EditorZelle(*f), QPoint(c, 0));
        QVERIFY(Sichtbar(*t, 0, c));

        // Scrolled away with the wheel, a typed key brings the cell back.
        t->verticalScrollBar()->setValue(t->verticalScrollBar()->maximum());
        QVERIFY(!Sichtbar(*t, 0, c));
        Tippen(*f, QStringLiteral("9"));
        QVERIFY(Sichtbar(*t, 0, c));

        // Taller, up to all rows: the scroll bar goes, the window narrows to the columns;
        // the layout stays as it was.
        f->resize(f->width(), f->BenoetigteHoehe(40));
        QTRY_VERIFY(!t->verticalScrollBar()->isVisible());
        QCOMPARE(f->width(), int(TabellenStruktur.Gesamtbreite()));
        // Lower again: the scroll bar and its room come back.
        f->resize(f->width(), 400);
        QTRY_VERIFY(t->verticalScrollBar()->isVisible());
        QCOMPARE(
            f->width(), int(TabellenStruktur.Gesamtbreite()) + t->verticalScrollBar()->width());
        QCOMPARE(t->viewport()->width(), int(TabellenStruktur.Gesamtbreite()));
        QCOMPARE(TabellenStruktur.Spalten, spalten);
        QVERIFY(!Daten.wurdeGeaendert());

        // Wider by the teacher: the last column takes the room, beside the scroll bar.
        const int letzte = int(TabellenStruktur.SpaltenAnzahl) - 1;
        const qint64 breite = TabellenStruktur.Spalten.at(letzte).Breite;
        f->resize(f->width() + 30, f->height());
        QCOMPARE(TabellenStruktur.Spalten.at(letzte).Breite, breite + 30);
        QCOMPARE(t->viewport()->width(), int(TabellenStruktur.Gesamtbreite()));
        QVERIFY(Daten.wurdeGeaendert());
    }

    // --- Typing goes on in the row ------------------------------------------------------

    void tippenNachKlick_data()
    {
        QTest::addColumn<int>("spalte"); // the column pressed
        QTest::addColumn<bool>("editorSofort");
        // "W": toggled, and the editor is back at once in the row.
        QTest::newRow("W") << 4 << true;
        // "Nr." and "Name" select the row (for copying); the first typed key opens the editor.
        QTest::newRow("Nr.") << 1 << false;
        QTest::newRow("Name") << 3 << false;
        QTest::newRow("A") << 2 << false;
    }

    void tippenNachKlick()
    {
        QFETCH(int, spalte);
        QFETCH(bool, editorSofort);
        QPointer<Kursfenster> f = Kurs();
        QVERIFY(f);
        const int fehl = Spalte(Fehl);
        f->AktiviereEditZelle(0, fehl);
        const bool gewarnt = Gewarnt(*f, 2);
        Klick(*f, 2, spalte);
        QCOMPARE(Gewarnt(*f, 2), spalte == 4 ? !gewarnt : gewarnt);
        if (editorSofort) {
            QCOMPARE(EditorZelle(*f), QPoint(fehl, 2));
            QCOMPARE(QApplication::focusWidget(), Editor(*f));
        } else {
            QVERIFY(!Editor(*f));
            QVERIFY(f->meineTabelle()->selectionModel()->isRowSelected(2, QModelIndex()));
        }
        // The keys go where the focus is, as from the keyboard. Student 13 (row 2) has no
        // row yet: the value makes one.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
        QCOMPARE(EditorZelle(*f), QPoint(fehl, 2));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(Gespeichert(*f, 2, Fehl), QStringLiteral("5"));
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(Unent), 2));
        QCOMPARE(plattform.pieps, 0);
    }

    void tastenOhneEditor_data()
    {
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("mod");
        QTest::addColumn<bool>("oeffnet");
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << true;
        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << true;
        QTest::newRow("Strg+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << false;
        QTest::newRow("Pfeil runter") << int(Qt::Key_Down) << 0 << false;
    }

    void tastenOhneEditor()
    {
        // After a press on "Name": Return, Tab and F2 open the editor in the row with its
        // stored value; shortcuts and the arrows (which move the row selection) do not.
        QFETCH(int, taste);
        QFETCH(int, mod);
        QFETCH(bool, oeffnet);
        QPointer<Kursfenster> f = Kurs();
        QVERIFY(f);
        Klick(*f, 1, 3);
        QVERIFY(!Editor(*f));
        QTest::keyClick(f->meineTabelle(), Qt::Key(taste), Qt::KeyboardModifiers(mod));
        if (!oeffnet) {
            QVERIFY(!Editor(*f));
            return;
        }
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(NoteS), 1));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("3"));
        QVERIFY(!f->LokalGeaendert());
    }

    void keineZeilensuche()
    {
        // The grid's own row search would jump to "Dahl, Dennis" on a typed "D"; here the
        // letter goes into the row's entry cell and the selection stays.
        QPointer<Kursfenster> f = Kurs();
        QVERIFY(f);
        f->AktiviereEditZelle(0, Spalte(Hinweis));
        Klick(*f, 0, 3);
        Kurstabelle* t = f->meineTabelle();
        t->keyboardSearch(QStringLiteral("D"));
        QVERIFY(t->selectionModel()->isRowSelected(0, QModelIndex()));
        QCOMPARE(t->currentIndex().row(), 0);
        QTest::keyClicks(t, QStringLiteral("Dank"));
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(Hinweis), 0));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("Dank"));
        QVERIFY(!t->selectionModel()->isRowSelected(3, QModelIndex()));
    }

    // --- Where a moved column lands -----------------------------------------------------

    void ablagemarkeBeimZiehenMitAlt()
    {
        // A dragged column over the table: the marker stands at the edge where it would
        // land; over an identification column or over itself there is none.
        QPointer<Kursfenster> f = Kurs();
        QVERIFY(f);
        Kurstabelle* t = f->meineTabelle();
        const int note = Spalte(NoteS);
        const int hinweis = Spalte(Hinweis);
        std::unique_ptr<QMimeData> daten(Spaltenzug(note));
        const auto ueber = [&](int spalte) {
            const QPoint p(t->columnViewportPosition(spalte) + t->columnWidth(spalte) / 2,
                t->visualRect(t->model()->index(1, 0)).center().y());
            QDragEnterEvent eintritt(
                p, Qt::MoveAction, daten.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(t->viewport(), &eintritt);
            QDragMoveEvent zug(p, Qt::MoveAction, daten.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(t->viewport(), &zug);
            return eintritt.isAccepted();
        };
        QVERIFY(ueber(hinweis));
        QWidget* marke = t->Ablagemarke();
        QVERIFY(marke && marke->isVisible());
        // From the left: after the target column, over the header and every row.
        const int kante
            = t->viewport()->x() + t->columnViewportPosition(hinweis) + t->columnWidth(hinweis);
        QCOMPARE(marke->geometry().center().x(), kante);
        QCOMPARE(marke->geometry().top(), 0);
        QCOMPARE(marke->height(), t->height());
        ueber(3); // "Name"
        QVERIFY(!marke->isVisible());
        ueber(note);
        QVERIFY(!marke->isVisible());
        ueber(hinweis);
        QVERIFY(marke->isVisible());
        QDragLeaveEvent weg;
        QCoreApplication::sendEvent(t->viewport(), &weg);
        QVERIFY(!marke->isVisible());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterAnsicht)
#include "tst_kursfenster_ansicht.moc"
