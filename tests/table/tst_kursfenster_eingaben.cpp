// The course window: no typed value is lost. Every road that takes the cell editor away (or
// only the keyboard from it) either stores its text and marks the table changed, or refuses
// it with a beep and shows the stored value again; a later "Sichern" writes exactly what the
// cell shows. Also: "Sichern" follows the open cell's text, Escape, the closing question,
// and paste into the open editor.

#include "aufzeichnendeplattform.h"
#include "eingabejournal.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"
#include "toolbarvorlage.h"
#include "zellpruefung.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace Kurstabellentest;

namespace {

const QString NoteS = QStringLiteral("Note");
const QString Fehl = QStringLiteral("Fehlstunden");
const QString Hinweis = QStringLiteral("Hinweis");
const QString Sonstiges = QStringLiteral("Sonstiges");

// Presses a toolbar button with the mouse, as the teacher does.
void Druecken(QToolBar* leiste, QAction* aktion)
{
    auto* knopf = qobject_cast<QToolButton*>(leiste->widgetForAction(aktion));
    QVERIFY(knopf);
    QVERIFY(knopf->isEnabled());
    QTest::mouseClick(knopf, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SichernDruecken(Kursfenster& f)
{
    Druecken(f.ToolbarWerkzeuge(), f.SichernAktion());
}

// A mouse event straight to a widget, in its own coordinates.
void Maus(QWidget* w, QEvent::Type typ, QPoint p, Qt::MouseButton knopf, Qt::MouseButtons gehalten)
{
    QMouseEvent e(typ, QPointF(p), w->mapToGlobal(QPointF(p)), knopf, gehalten, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

bool Aktivieren(QWidget* w)
{
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// The value of a student's entry in the course-list file on disk.
QString ImDatei(const QString& bezeichnung, qint64 id = 11)
{
    Datenbestand gelesen;
    Spaltenstruktur struktur;
    if (!Lesen(Daten.datenFolder, gelesen, struktur))
        return QStringLiteral("<nicht lesbar>");
    const SchuelerKursZeiger r = gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), id);
    if (!r)
        return QStringLiteral("<keine Zeile>");
    return r->Eintraege.Zeigen(QString(), bezeichnung);
}

} // namespace

class TestKursfensterEingaben : public Kursfenstertest {
    Q_OBJECT

private:
    QPointer<Kursauswahl> zAuswahl;

    // The course selection window, shown, with course "D" selected (its second row).
    Kursauswahl* Auswahl()
    {
        if (!zAuswahl) {
            zAuswahl = new Kursauswahl;
            App()->setzeKursauswahl(zAuswahl);
            zAuswahl->show();
        }
        return zAuswahl;
    }

    void KursDOeffnen()
    {
        Kursauswahl* auswahl = Auswahl();
        auto* liste = auswahl->findChild<QTableWidget*>(QStringLiteral("Liste"));
        QVERIFY(liste);
        const QRect zeile = liste->visualRect(liste->model()->index(1, 1));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, zeile.center());
        QCOMPARE(auswahl->AusgewaehlterKurs(), Kurstabellentest::Kurs(QStringLiteral("D")));
        Druecken(auswahl->findChild<QToolBar*>(QStringLiteral("ToolbarWerkzeuge")),
            auswahl->findChild<QAction*>(QStringLiteral("ToolItemZeigen")));
    }

    static Kursfenster* FensterD()
    {
        return Kursfenster::FensterVon(Kurstabellentest::Kurs(QStringLiteral("D")).get());
    }

private slots:
    void init()
    {
        Grundzustand();
        QVERIFY(!Kurslistenbauer().Anlegen(ordner.path()).isEmpty());
    }
    void cleanup()
    {
        delete zAuswahl.data();
        GuiTest::Zuruecksetzen();
    }

    // --- Every road away from the cell -------------------------------------------------

    void wege_data()
    {
        // Row 0 (student 11) holds the grade "12"; "13" is a grade, "99" is none.
        // gespeichert: the road itself checks the text (the others keep the editor open with
        // the text, which the later "Sichern" checks).
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<bool>("geprueft");
        const QStringList pruefend = { "Tab", "Return", "links", "rechts", "hoch", "runter",
            "Klick auf Zelle", "Klick auf W", "Klick auf Name", "Sichern", "Beenden" };
        const QStringList behaltend = { "Kursauswahl aktiv und zurück", "fremdes Fenster aktiv",
            "anderer Kurs geöffnet", "Spaltenbreite in anderem Fenster",
            "Spalte in anderem Fenster verschoben", "anderes Fenster in der Breite geändert",
            "Schließen: Abbrechen", "Schließen: Escape", "Kontextmenü" };
        for (const QString& weg : pruefend) {
            QTest::newRow(qPrintable(weg + QStringLiteral(", Note"))) << weg << "13" << true;
            QTest::newRow(qPrintable(weg + QStringLiteral(", keine Note"))) << weg << "99" << true;
        }
        for (const QString& weg : behaltend) {
            QTest::newRow(qPrintable(weg + QStringLiteral(", Note"))) << weg << "13" << false;
            QTest::newRow(qPrintable(weg + QStringLiteral(", keine Note"))) << weg << "99" << false;
        }
    }

    void wege()
    {
        QFETCH(QString, weg);
        QFETCH(QString, getippt);
        QFETCH(bool, geprueft);
        const bool gueltig = getippt == QLatin1String("13");
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(f));
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(NoteS), 0));
        Tippen(*f, getippt);
        // "Sichern" follows the open cell's text at once.
        QVERIFY(f->SichernAktion()->isEnabled());
        plattform.antwortenFrage = { true }; // "Soll RAVIRIreru beendet werden?": Ja

        if (weg == QStringLiteral("Tab"))
            Taste(*f, Qt::Key_Tab);
        else if (weg == QStringLiteral("Return"))
            Taste(*f, Qt::Key_Return);
        else if (weg == QStringLiteral("links"))
            Taste(*f, Qt::Key_Left);
        else if (weg == QStringLiteral("rechts"))
            Taste(*f, Qt::Key_Right);
        else if (weg == QStringLiteral("hoch"))
            Taste(*f, Qt::Key_Up);
        else if (weg == QStringLiteral("runter"))
            Taste(*f, Qt::Key_Down);
        else if (weg == QStringLiteral("Klick auf Zelle"))
            Klick(*f, 1, Spalte(Fehl));
        else if (weg == QStringLiteral("Klick auf W"))
            Klick(*f, 2, 4);
        else if (weg == QStringLiteral("Klick auf Name"))
            Klick(*f, 2, 3);
        else if (weg == QStringLiteral("Sichern"))
            SichernDruecken(*f);
        else if (weg == QStringLiteral("Beenden")) {
            plattform.antwortenWahl = { 0 }; // "Kursfenster mit Eingaben": "Sichern"
            App()->Beenden();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else if (weg == QStringLiteral("Kursauswahl aktiv und zurück")) {
            QVERIFY(Aktivieren(Auswahl()));
            QVERIFY(Aktivieren(f));
        } else if (weg == QStringLiteral("fremdes Fenster aktiv")) {
            QWidget fremd;
            fremd.resize(200, 100);
            fremd.show();
            QVERIFY(Aktivieren(&fremd));
            QVERIFY(!f->isActiveWindow());
        } else if (weg == QStringLiteral("anderer Kurs geöffnet")) {
            KursDOeffnen();
            QVERIFY(FensterD());
            QTRY_VERIFY(FensterD()->isActiveWindow());
        } else if (weg == QStringLiteral("Spaltenbreite in anderem Fenster")) {
            KursDOeffnen();
            Kursfenster* d = FensterD();
            QVERIFY(d);
            Kurstabelle* t = d->meineTabelle();
            QWidget* kopf = t->horizontalHeader()->viewport();
            const int c = Spalte(Fehl);
            const int x = t->columnViewportPosition(c) + t->columnWidth(c);
            const int y = t->Kopfhoehe() / 2;
            Maus(kopf, QEvent::MouseButtonPress, QPoint(x, y), Qt::LeftButton, Qt::LeftButton);
            Maus(kopf, QEvent::MouseMove, QPoint(x + 30, y), Qt::NoButton, Qt::LeftButton);
            Maus(kopf, QEvent::MouseButtonRelease, QPoint(x + 30, y), Qt::LeftButton, Qt::NoButton);
            QCOMPARE(f->meineTabelle()->columnWidth(c), t->columnWidth(c));
        } else if (weg == QStringLiteral("Spalte in anderem Fenster verschoben")) {
            KursDOeffnen();
            QVERIFY(FensterD());
            // "Hinweis" in front of "Note": "Note" moves one column to the right.
            const int note = Spalte(NoteS);
            QVERIFY(FensterD()->VerschiebeSpalte(Spalte(Hinweis), note));
            QCOMPARE(Spalte(NoteS), note + 1);
            QCOMPARE(EditorZelle(*f), QPoint(note + 1, 0));
        } else if (weg == QStringLiteral("anderes Fenster in der Breite geändert")) {
            KursDOeffnen();
            QVERIFY(FensterD());
            const int vorher = f->meineTabelle()->columnWidth(f->meineTabelle()->columnCount() - 1);
            FensterD()->resize(FensterD()->width() + 40, FensterD()->height());
            QTRY_COMPARE(
                f->meineTabelle()->columnWidth(f->meineTabelle()->columnCount() - 1), vorher + 40);
        } else if (weg == QStringLiteral("Schließen: Abbrechen")) {
            plattform.antwortenWahl = { 2 };
            QVERIFY(!f->close());
            QCOMPARE(plattform.auswahlen.size(), 1);
        } else if (weg == QStringLiteral("Schließen: Escape")) {
            // No answer queued: the box is closed with Escape.
            QVERIFY(!f->close());
            QCOMPARE(plattform.auswahlen.size(), 1);
        } else if (weg == QStringLiteral("Kontextmenü")) {
            // The editor's own menu opens and is closed again.
            QLineEdit* editor = Editor(*f);
            QContextMenuEvent menue(
                QContextMenuEvent::Mouse, QPoint(5, 5), editor->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(editor, &menue);
            QMenu* offen = nullptr;
            QTRY_VERIFY((offen = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
            offen->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else {
            QFAIL("unknown road");
        }

        const int c = Spalte(NoteS);
        if (geprueft) {
            if (gueltig) {
                QCOMPARE(plattform.pieps, 0);
                if (f) {
                    QCOMPARE(Gespeichert(*f, 0, NoteS), QStringLiteral("13"));
                    QCOMPARE(Sichtbar(*f, 0, c), QStringLiteral("13"));
                }
                QVERIFY(!f || f->LokalGeaendert() || weg == QStringLiteral("Sichern"));
            } else {
                QCOMPARE(plattform.pieps, 1);
                QVERIFY(f);
                QCOMPARE(Gespeichert(*f, 0, NoteS), QStringLiteral("12"));
                QCOMPARE(Sichtbar(*f, 0, c), QStringLiteral("12"));
                QCOMPARE(f->LetzterGrund(),
                    Zellpruefung::GrundKeineNote(QStringLiteral("99"), Daten.zNoten));
                // The teacher stays on the refused cell.
                QCOMPARE(EditorZelle(*f), QPoint(c, 0));
            }
        } else {
            // The editor stays open on the cell, with the text as typed, and "Sichern" knows it.
            QVERIFY(f);
            QCOMPARE(plattform.pieps, 0);
            QCOMPARE(EditorZelle(*f), QPoint(c, 0));
            QCOMPARE(Editor(*f)->text(), getippt);
            QCOMPARE(Gespeichert(*f, 0, NoteS), QStringLiteral("12"));
            QVERIFY(f->SichernAktion()->isEnabled());
            QVERIFY(f->OffeneEingabe());
        }
        if (weg == QStringLiteral("Beenden"))
            QCOMPARE(App()->Beendet(), gueltig);

        // A later "Sichern" writes exactly what the cell shows.
        if (f) {
            if (f->SichernAktion()->isEnabled())
                SichernDruecken(*f);
            if (f)
                QCOMPARE(Sichtbar(*f, 0, c), ImDatei(NoteS));
        }
        QCOMPARE(ImDatei(NoteS), gueltig ? QStringLiteral("13") : QStringLiteral("12"));
        QCOMPARE(plattform.pieps, gueltig ? 0 : 1);
    }

    void abgelehntMeldetGrund()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QSignalSpy gruende(f.data(), &Kursfenster::EingabeAbgelehnt);
        f->AktiviereEditZelle(0, Spalte(Fehl));
        Tippen(*f, QStringLiteral("-0.5"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(gruende.size(), 1);
        QCOMPARE(gruende.first().first().toString(), Zellpruefung::GrundFehlstunden);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("4"));
    }

    // --- "Sichern", Escape and the closing question -----------------------------------

    void sichernFolgtDemText()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(!f->SichernAktion()->isEnabled());
        Tippen(*f, QStringLiteral("1"));
        QVERIFY(f->SichernAktion()->isEnabled());
        // Typed back to what the cell holds: nothing to save.
        Editor(*f)->selectAll();
        Tippen(*f, QStringLiteral("12"));
        QVERIFY(!f->SichernAktion()->isEnabled());
        QVERIFY(!f->HatUngesicherteEingaben());
        // A grade differing only in letter case is checked as unchanged: the cell shows the
        // scale's spelling, and there is nothing to save.
        f->AktiviereEditZelle(1, Spalte(QStringLiteral("Klausur")));
        Tippen(*f, QStringLiteral("e"));
        QVERIFY(f->SichernAktion()->isEnabled());
        Taste(*f, Qt::Key_Return);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("E"));
        QVERIFY(!f->SichernAktion()->isEnabled());
        QVERIFY(!f->LokalGeaendert());
    }

    void escapeVerwirftDieEingabe()
    {
        // Escape is the teacher's own "not this": the stored value stays, nothing beeps. The
        // editor stays on the cell with the stored value selected: typing goes on there.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(f));
        Tippen(*f, QStringLiteral("13"));
        QVERIFY(f->SichernAktion()->isEnabled());
        Taste(*f, Qt::Key_Escape);
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(NoteS), 0));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("12"));
        QCOMPARE(Editor(*f)->selectedText(), QStringLiteral("12"));
        QVERIFY(Editor(*f)->hasFocus());
        QCOMPARE(Zelltext(*f, 0, Spalte(NoteS)), QStringLiteral("12"));
        QCOMPARE(Gespeichert(*f, 0, NoteS), QStringLiteral("12"));
        QVERIFY(!f->SichernAktion()->isEnabled());
        QVERIFY(!f->HatUngesicherteEingaben());
        QCOMPARE(plattform.pieps, 0);
        // A second Escape changes nothing.
        Taste(*f, Qt::Key_Escape);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("12"));
        QVERIFY(f->close());
        QVERIFY(plattform.auswahlen.isEmpty());
    }

    void nachReturnErsetzt_data()
    {
        // After Return the cell's text is selected: the next keys replace it.
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("erst");
        QTest::addColumn<QString>("dann");
        QTest::addColumn<int>("pieps");
        QTest::newRow("Note") << NoteS << "7"
                              << "9" << 0;
        QTest::newRow("Fehlstunden") << Fehl << "3"
                                     << "4" << 0;
        // A refused value is back with its old text, selected as well.
        QTest::newRow("abgelehnte Note") << NoteS << "99"
                                         << "8" << 1;
    }

    void nachReturnErsetzt()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, erst);
        QFETCH(QString, dann);
        QFETCH(int, pieps);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(f));
        f->AktiviereEditZelle(1, Spalte(spalte));
        Tippen(*f, erst);
        Taste(*f, Qt::Key_Return);
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(spalte), 1));
        QCOMPARE(Editor(*f)->selectedText(), Editor(*f)->text());
        QTest::keyClicks(QApplication::focusWidget(), dann);
        QCOMPARE(Editor(*f)->text(), dann);
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Gespeichert(*f, 1, spalte), dann);
        QCOMPARE(plattform.pieps, pieps);
    }

    void nachEscapeWeiterTippen()
    {
        // Typed keys after Escape land in the cell, not in a row search of the grid.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(f));
        f->AktiviereEditZelle(1, Spalte(Fehl));
        Tippen(*f, QStringLiteral("77"));
        Taste(*f, Qt::Key_Escape);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("8"));
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(Fehl), 1));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("8"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Gespeichert(*f, 1, Fehl), QStringLiteral("8"));
        QVERIFY(f->meineTabelle()->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(plattform.pieps, 0);
    }

    void schliessen_data()
    {
        // eingabe: 0 nothing, 1 a value typed and checked (Tab), 2 a value typed and not yet
        // checked, 3 typed and refused (the old value is back). antwort: the index of the
        // button ("Sichern", "Verwerfen", "Abbrechen"), -1 Escape.
        QTest::addColumn<int>("eingabe");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("frage");
        QTest::addColumn<bool>("offen");
        QTest::newRow("ohne Änderung") << 0 << -1 << false << false;
        QTest::newRow("Sichern sichert") << 1 << 0 << true << false;
        QTest::newRow("Abbrechen behält") << 1 << 2 << true << true;
        QTest::newRow("Escape behält") << 1 << -1 << true << true;
        QTest::newRow("Verwerfen verwirft") << 1 << 1 << true << false;
        QTest::newRow("ungeprüfte Eingabe: Sichern") << 2 << 0 << true << false;
        QTest::newRow("ungeprüfte Eingabe: Abbrechen") << 2 << 2 << true << true;
        QTest::newRow("ungeprüfte Eingabe: Escape") << 2 << -1 << true << true;
        QTest::newRow("ungeprüfte Eingabe: Verwerfen") << 2 << 1 << true << false;
        QTest::newRow("abgelehnte Eingabe") << 3 << -1 << false << false;
    }

    void schliessen()
    {
        QFETCH(int, eingabe);
        QFETCH(int, antwort);
        QFETCH(bool, frage);
        QFETCH(bool, offen);
        const QByteArray dateiVorher = Lesen(Daten.datenFolder);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        if (eingabe != 0)
            Tippen(*f, eingabe == 3 ? QStringLiteral("99") : QStringLiteral("13"));
        if (eingabe == 1 || eingabe == 3)
            Taste(*f, Qt::Key_Tab);
        QCOMPARE(f->LokalGeaendert(), eingabe == 1);
        if (antwort >= 0)
            plattform.antwortenWahl = { antwort };
        const QString journal = f->Journal() ? f->Journal()->Datei() : QString();
        const bool journalDa = !journal.isEmpty() && QFile::exists(journal);
        if (eingabe == 1)
            QVERIFY(journalDa);
        f->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(plattform.auswahlen.size(), frage ? 1 : 0);
        QVERIFY(plattform.fragen.isEmpty());
        if (frage) {
            const Plattform::Auswahl& q = plattform.auswahlen.first();
            QCOMPARE(q.titel, QStringLiteral("Kursfenster schließen"));
            QCOMPARE(q.meldung, QStringLiteral("Soll das Kursfenster geschlossen werden?"));
            QCOMPARE(q.erklaerung,
                QStringLiteral("Die letzten Änderungen wurden noch nicht übernommen."));
            QCOMPARE(q.knoepfe,
                (QStringList { QStringLiteral("Sichern"), QStringLiteral("Verwerfen"),
                    QStringLiteral("Abbrechen") }));
            QCOMPARE(q.standard, 0);
            QCOMPARE(Plattform::AbbrechenIndex(q), 2);
            QCOMPARE(q.symbol, Plattform::Symbol::Warnung);
        }
        QCOMPARE(!f.isNull(), offen);
        if (offen) {
            // Everything is kept, the open editor's text included.
            QVERIFY(f->isVisible());
            QCOMPARE(Sichtbar(*f, 0, 5), QStringLiteral("13"));
            QCOMPARE(Gespeichert(*f, 0, NoteS),
                eingabe == 1 ? QStringLiteral("13") : QStringLiteral("12"));
            QVERIFY(BasisEinstellungen::zFenster().contains(f.data()));
            // The journal keeps the checked entry for a crash.
            if (eingabe == 1)
                QVERIFY(QFile::exists(journal));
            QCOMPARE(Lesen(Daten.datenFolder), dateiVorher);
        } else {
            QVERIFY(BasisEinstellungen::zFenster().isEmpty());
            // "Sichern": the typed value is in the file; otherwise nothing reached the global
            // data or the file, and a new window shows the stored value.
            const bool gesichert = antwort == 0 && frage;
            QCOMPARE(Lesen(Daten.datenFolder) != dateiVorher, gesichert);
            QCOMPARE(Daten.alleKurse.Zeigen(1)->geaendert, gesichert);
            if (!journal.isEmpty())
                QVERIFY(!QFile::exists(journal));
            QPointer<Kursfenster> neu = Oeffnen(QStringLiteral("M"));
            QCOMPARE(Sichtbar(*neu, 0, 5), gesichert ? QStringLiteral("13") : QStringLiteral("12"));
        }
    }

    // --- Paste into the open editor -----------------------------------------------------

    void einfuegenImEditor_data()
    {
        // The editor stands on row 1 ("Brandt": 3, 10, 0, "Attest fehlt", E, ""), column
        // "Fehlstunden", with "7" typed. weg: Ctrl+V, the menu's "Einfügen", the context menu.
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("ablage");
        QTest::addColumn<QString>("editor"); // the editor's text afterwards
        QTest::addColumn<QStringList>("zeile1"); // row 1's stored values afterwards
        QTest::addColumn<QStringList>("zeile2"); // row 2's (no course row before)
        QTest::addColumn<int>("pieps");
        const QStringList brandt = { "3", "10", "0", "Attest fehlt", "E", "" };
        const QStringList keine = { "<keine Zeile>" };
        for (const QString weg : { "Strg+V", "Menü", "Kontextmenü" }) {
            QTest::newRow(qPrintable(weg + QStringLiteral(": ein Wert")))
                << weg << "5"
                << "75" << brandt << keine << 0;
            QTest::newRow(qPrintable(weg + QStringLiteral(": ein Wert mit Zeilenende")))
                << weg << "5\r\n"
                << "75" << brandt << keine << 0;
            QTest::newRow(qPrintable(weg + QStringLiteral(": Tabelle ab der Zeile des Editors")))
                << weg << "9\t2\t1\tneu\n11\t3\n"
                << "2" << QStringList { "9", "2", "1", "neu", "E", "" }
                << QStringList { "11", "3", "", "", "", "" } << 0;
        }
        QTest::newRow("Tabelle mit Kopfzeile")
            << "Strg+V"
            << "Note\tFehlstunden\tunentschuldigte Fehlstunden\tHinweis\n9\t2\n"
            << "2" << QStringList { "9", "2", "0", "Attest fehlt", "E", "" } << keine << 0;
        QTest::newRow("Tabelle mit abgelehntem Wert")
            << "Strg+V"
            << "9\t-1\n"
            << "7" << QStringList { "9", "7", "0", "Attest fehlt", "E", "" } << keine << 1;
        QTest::newRow("Steuerzeichen in einer Zeile")
            << "Strg+V" << QStringLiteral("a\x0b") + QStringLiteral("b") << "7" << brandt << keine
            << 1;
    }

    void einfuegenImEditor()
    {
        QFETCH(QString, weg);
        QFETCH(QString, ablage);
        QFETCH(QString, editor);
        QFETCH(QStringList, zeile1);
        QFETCH(QStringList, zeile2);
        QFETCH(int, pieps);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(f));
        f->AktiviereEditZelle(1, Spalte(Fehl));
        Tippen(*f, QStringLiteral("7"));
        QLineEdit* e = Editor(*f);
        QTRY_VERIFY(e->hasFocus());
        QGuiApplication::clipboard()->setText(ablage);

        if (weg == QStringLiteral("Strg+V")) {
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        } else if (weg == QStringLiteral("Menü")) {
            QAction* einfuegen = Menue::Instanz().Eintrag(QStringLiteral("EditPaste"));
            QVERIFY(einfuegen->isVisible());
            QVERIFY(einfuegen->isEnabled());
            einfuegen->trigger();
        } else {
            QContextMenuEvent menue(
                QContextMenuEvent::Mouse, QPoint(5, 5), e->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(e, &menue);
            QMenu* offen = nullptr;
            QTRY_VERIFY((offen = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
            QAction* einfuegen = offen->findChild<QAction*>(QStringLiteral("edit-paste"));
            QVERIFY(einfuegen);
            offen->close();
            einfuegen->trigger();
        }

        QCOMPARE(plattform.pieps, pieps);
        // The editor stays on its cell.
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(Fehl), 1));
        QCOMPARE(Editor(*f)->text(), editor);
        QStringList eins;
        QStringList zwei;
        for (const QString& b : { NoteS, Fehl, QStringLiteral("unentschuldigte Fehlstunden"),
                 Hinweis, QStringLiteral("Klausur"), Sonstiges }) {
            eins << Gespeichert(*f, 1, b);
            zwei << Gespeichert(*f, 2, b);
        }
        QCOMPARE(eins, zeile1);
        if (zeile2 == QStringList { "<keine Zeile>" })
            QVERIFY(!f->Zeilenkopie(2));
        else
            QCOMPARE(zwei, zeile2);
        // No stored value ever holds a control character.
        for (int r = 0; r < f->meineTabelle()->rowCount(); ++r)
            for (int c = 0; c < f->meineTabelle()->columnCount(); ++c)
                QVERIFY(!Zellpruefung::HatSteuerzeichen(Zelltext(*f, r, c)));
    }

    void einfuegenNachAbgelehnterEingabe()
    {
        // The editor's own text is checked before a table is pasted from its row: a refused
        // one stops the paste (beep, the stored value back), nothing of the table is stored.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(f));
        Tippen(*f, QStringLiteral("99"));
        QGuiApplication::clipboard()->setText(QStringLiteral("9\t1\n8\t2\n"));
        QTest::keyClick(Editor(*f), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("12"));
        QCOMPARE(Gespeichert(*f, 0, NoteS), QStringLiteral("12"));
        QCOMPARE(Gespeichert(*f, 1, NoteS), QStringLiteral("3"));
        QVERIFY(!f->LokalGeaendert());
    }

    void keinSteuerzeichenImEditor()
    {
        // Whatever road a text takes into the editor (a drop, the X selection), a tab or a
        // line end never gets in.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->AktiviereEditZelle(0, Spalte(Hinweis));
        QLineEdit* e = Editor(*f);
        e->setCursorPosition(e->text().size());
        e->insert(QStringLiteral(" a\tb"));
        e->insert(QStringLiteral(" c\nd"));
        QCOMPARE(e->text(), QStringLiteral("Facharbeit"));
        e->insert(QStringLiteral(" gut"));
        QCOMPARE(e->text(), QStringLiteral("Facharbeit gut"));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterEingaben)
#include "tst_kursfenster_eingaben.moc"
