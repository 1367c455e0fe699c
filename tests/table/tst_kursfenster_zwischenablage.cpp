// The course window: copy of selected rows to the clipboard and paste of tab-separated text
// into the entry columns; the plain Edit items on a cell editor's text.

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace Kurstabellentest;

namespace {

QClipboard& Ablage()
{
    return *QGuiApplication::clipboard();
}

// The texts of a row's entry columns.
QStringList Eintragszellen(const Kursfenster& f, int row)
{
    QStringList texte;
    for (int c = int(TabellenStruktur.ErsteSpalte); c < f.meineTabelle()->columnCount(); ++c)
        texte << Sichtbar(f, row, c);
    return texte;
}

// A row's stored values in catalogue order ("-" for a row without course row).
QStringList Gespeicherte(const Kursfenster& f, int row)
{
    const SchuelerKurs* r = f.Zeilenkopie(row);
    QStringList werte;
    for (qint64 i = 0; i < Daten.alleEintraege.Anzahl(); ++i)
        werte << (r ? r->Eintraege.ZeigeKursEintrag(i).datum : QStringLiteral("-"));
    return werte;
}

// Selects rows with real clicks on "Nr.", the further ones with Ctrl held.
void Waehlen(Kursfenster& f, const QList<int>& zeilen)
{
    bool erste = true;
    for (const int z : zeilen) {
        Klick(f, z, 1, erste ? Qt::NoModifier : Qt::ControlModifier);
        erste = false;
    }
}

bool Ausfuehren(const char* name)
{
    return Menue::Instanz().Ausfuehren(QString::fromLatin1(name));
}

} // namespace

class TestKursfensterZwischenablage : public Kursfenstertest {
    Q_OBJECT

private:
    // Course M with 9 rows: 11, 12, 13 (no row), 14 (short row), then 101 .. 105 (101 to
    // 103 with rows: grade 10, hours 2; 104 and 105 without).
    QPointer<Kursfenster> GrosserKurs()
    {
        const Datenbestand d = Kurslistenbauer()
                                   .WeitereSchueler(QStringLiteral("M"), 101, 3, true)
                                   .WeitereSchueler(QStringLiteral("M"), 104, 2, false)
                                   .Bauen();
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
        Ablage().setText(QStringLiteral("vorher"));
    }

    // --- Copy -------------------------------------------------------------------------

    void kopieren_data()
    {
        QTest::addColumn<bool>("mitAundW");
        QTest::addColumn<QList<int>>("auswahl");
        QTest::addColumn<QString>("text");
        const QString albers
            = QStringLiteral("1\t3\tAlbers, Anna\t\t12\t4\t2\tFacharbeit\t11\tx\n");
        const QString brandt = QStringLiteral("2\t4\tBrandt, Ben\t\t3\t10\t0\tAttest fehlt\tE\t\n");
        const QString cordes = QStringLiteral("3\t4\tCordes, Clara\t\t\t\t\t\t\t\n");
        const QString dahl = QStringLiteral("4\t\tDahl, Dennis\t\t7\t6\t\t\t\t\n");
        QTest::newRow("3 dann 1") << true << QList<int> { 3, 1 } << brandt + dahl;
        QTest::newRow("1 dann 3") << true << QList<int> { 1, 3 } << brandt + dahl;
        QTest::newRow("eine Zeile") << true << QList<int> { 0 } << albers;
        QTest::newRow("alle rückwärts")
            << true << QList<int> { 3, 2, 1, 0 } << albers + brandt + cordes + dahl;
        QTest::newRow("ohne A und W") << false << QList<int> { 0 }
                                      << QStringLiteral("1\tAlbers, Anna\t12\t4\t2\tFacharbeit\n");
        QTest::newRow("keine Auswahl: Ablage bleibt")
            << true << QList<int> {} << QStringLiteral("vorher");
    }

    void kopieren()
    {
        QFETCH(bool, mitAundW);
        QFETCH(QList<int>, auswahl);
        QFETCH(QString, text);
        Kurslistenbauer liste;
        if (!mitAundW)
            liste.MarkAbitur(false).Warnung(false).OhneWeitereEintraege();
        QVERIFY(!liste.Anlegen(ordner.path()).isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        Waehlen(*f, auswahl);
        if (!auswahl.isEmpty()) {
            // The table has the focus: Cmd+C is the table's copy.
            QVERIFY(f->meineTabelle()->hasFocus());
            QVERIFY(Menue::Instanz().Eintrag(QStringLiteral("EditCopySpezial"))->isVisible());
            QVERIFY(Menue::Instanz().Eintrag(QStringLiteral("EditCopySpezial"))->isEnabled());
            QTest::keyClick(f->meineTabelle(), Qt::Key_C, Qt::ControlModifier);
        } else {
            QVERIFY(Ausfuehren("EditCopySpezial"));
        }
        QCOMPARE(Ablage().text(), text);
    }

    // --- Paste ------------------------------------------------------------------------

    void einfuegen_data()
    {
        // Rows 0 .. 8; entry columns from 5: Note, Fehlstunden, unentschuldigte Fehlstunden,
        // Hinweis, Klausur (a grade, ID "KL"), Sonstiges (text like "Hinweis"). Every value
        // by the rules of typing.
        // aenderungen: "row:entry cell texts" of the rows the paste changes.
        QTest::addColumn<int>("zeile");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("aenderungen");
        QTest::addColumn<int>("pieps");
        QTest::newRow("zwei Zeilen, drei Felder, ab Zeile 5")
            << 5 << QStringLiteral("9\t2\t1\n11\t0\t0\n")
            << QStringList { QStringLiteral("5:9,2,1,,,"), QStringLiteral("6:11,0,0,,,") } << 0;
        QTest::newRow("Windows-Zeilenenden")
            << 5 << QStringLiteral("9\t2\t1\r\n11\t0\t0\r\n")
            << QStringList { QStringLiteral("5:9,2,1,,,"), QStringLiteral("6:11,0,0,,,") } << 0;
        QTest::newRow("alte Mac-Zeilenenden")
            << 5 << QStringLiteral("9\t2\t1\r11\t0\t0")
            << QStringList { QStringLiteral("5:9,2,1,,,"), QStringLiteral("6:11,0,0,,,") } << 0;
        QTest::newRow("mehr Zeilen als Zeilen")
            << 7 << QStringLiteral("1\n2\n3\n4\n")
            << QStringList { QStringLiteral("7:1,,,,,"), QStringLiteral("8:2,,,,,") } << 0;
        QTest::newRow("mehr Felder als Spalten")
            << 4 << QStringLiteral("12\t3\t1\tgut\t10\tx\ty\tz")
            << QStringList { QStringLiteral("4:12,3,1,gut,10,x") } << 0;
        QTest::newRow("Kopfzeile der Tabellenkalkulation")
            << 4
            << QStringLiteral(
                   "Note\tFehlstunden\tunentschuldigte Fehlstunden\tHinweis\n9\t2\t1\tgut\n")
            << QStringList { QStringLiteral("4:9,2,1,gut,,") } << 0;
        QTest::newRow("Kopfzeile mit anderen Namen")
            << 4 << QStringLiteral("Noten\tFehlst.\n9\t3\n")
            << QStringList { QStringLiteral("5:9,3,,,,") } << 2;
        QTest::newRow("Werte wie Überschriften sind Werte")
            << 4 << QStringLiteral("12\t3\t1\tHinweis\n")
            << QStringList { QStringLiteral("4:12,3,1,Hinweis,,") } << 0;
        QTest::newRow("Steuerzeichen im Hinweis")
            << 4 << QStringLiteral("9\t2\t1\ta\x0b") + QStringLiteral("b")
            << QStringList { QStringLiteral("4:9,2,1,,,") } << 1;
        QTest::newRow("Fehlstunden -0.5")
            << 4 << QStringLiteral("9\t-0.5") << QStringList { QStringLiteral("4:9,2,,,,") } << 1;
        QTest::newRow("Fehlstunden als Text")
            << 4 << QStringLiteral("9\tabc") << QStringList { QStringLiteral("4:9,2,,,,") } << 1;
        QTest::newRow("abgelehnte Note piept einmal")
            << 4 << QStringLiteral("99\t5\t1") << QStringList { QStringLiteral("4:10,5,1,,,") }
            << 1;
        QTest::newRow("mehr unentschuldigt als Fehlstunden")
            << 4 << QStringLiteral("9\t2\t5") << QStringList { QStringLiteral("4:9,2,,,,") } << 1;
        QTest::newRow("zwei Ablehnungen, zwei Pieps")
            << 0 << QStringLiteral("x\t4\n13\t-1")
            << QStringList { QStringLiteral("0:12,4,2,Facharbeit,11,x"),
                   QStringLiteral("1:13,10,0,Attest fehlt,E,") }
            << 2;
        QTest::newRow("leere Zeile ändert nichts")
            << 5 << QStringLiteral("9\n\n11")
            << QStringList { QStringLiteral("5:9,2,,,,"), QStringLiteral("7:11,,,,,") } << 0;
        QTest::newRow("Hinweis mit 255 Bytes")
            << 4 << QStringLiteral("10\t2\t0\t") + QString(255, QLatin1Char('a'))
            << QStringList { QStringLiteral("4:10,2,0,") + QString(255, QLatin1Char('a'))
                   + QStringLiteral(",,") }
            << 0;
        QTest::newRow("Hinweis mit 256 Bytes")
            << 4 << QStringLiteral("10\t2\t0\t") + QString(128, QChar(0xE4))
            << QStringList { QStringLiteral("4:10,2,0,,,") } << 1;
        QTest::newRow("Zeile ohne Kursdatensatz")
            << 8 << QStringLiteral("E\t0\t0\tkrank")
            << QStringList { QStringLiteral("8:E,0,0,krank,,") } << 0;
        QTest::newRow("Klausurnote mit Kennung")
            << 5 << QStringLiteral("10\t2\t0\tok\t7")
            << QStringList { QStringLiteral("5:10,2,0,ok,7,") } << 0;
    }

    void einfuegen()
    {
        QFETCH(int, zeile);
        QFETCH(QString, text);
        QFETCH(QStringList, aenderungen);
        QFETCH(int, pieps);
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        Kurstabelle* t = f->meineTabelle();
        QCOMPARE(t->rowCount(), 9);
        // Rows 4 .. 8 are 101 .. 105.
        QCOMPARE(Zelltext(*f, 4, 0), QStringLiteral("101"));
        QCOMPARE(Zelltext(*f, 8, 0), QStringLiteral("105"));

        QList<QStringList> zellen;
        QList<QStringList> gespeichert;
        for (int i = 0; i < t->rowCount(); ++i) {
            zellen << Eintragszellen(*f, i);
            gespeichert << Gespeicherte(*f, i);
        }
        QList<int> geaendert;
        for (const QString& a : std::as_const(aenderungen)) {
            const int i = a.section(QLatin1Char(':'), 0, 0).toInt();
            zellen[i] = a.section(QLatin1Char(':'), 1).split(QLatin1Char(','));
            geaendert << i;
        }

        Waehlen(*f, { zeile });
        QVERIFY(t->hasFocus());
        Ablage().setText(text);
        QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);

        QCOMPARE(plattform.pieps, pieps);
        for (int i = 0; i < t->rowCount(); ++i) {
            QCOMPARE(Eintragszellen(*f, i), zellen.at(i));
            if (!geaendert.contains(i)) {
                QCOMPARE(Gespeicherte(*f, i), gespeichert.at(i));
                continue;
            }
            // The row copy holds exactly what the cells show.
            QCOMPARE(Gespeicherte(*f, i), zellen.at(i));
        }
        QVERIFY(f->LokalGeaendert());
        QVERIFY(f->SichernAktion()->isEnabled());
    }

    void einfuegenUndSichern()
    {
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        Waehlen(*f, { 7 });
        Ablage().setText(QStringLiteral("8\t1\t1\tnachgereicht\n5\t3\r\n"));
        QVERIFY(Ausfuehren("EditPasteSpezial"));
        f->ToolbarWerkzeuge_Pressed(f->SichernAktion());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(plattform.meldungen.isEmpty());
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(Daten.datenFolder, gelesen, struktur));
        const SchuelerKursZeiger r104 = gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 104);
        const SchuelerKursZeiger r105 = gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 105);
        QVERIFY(r104);
        QVERIFY(r105);
        QCOMPARE(r104->Eintraege.Zeigen(QString(), QStringLiteral("Note")), QStringLiteral("8"));
        QCOMPARE(r104->Eintraege.Zeigen(QString(), QStringLiteral("Hinweis")),
            QStringLiteral("nachgereicht"));
        QCOMPARE(r104->Eintraege.Zeigen(QString(), QStringLiteral("unentschuldigte Fehlstunden")),
            QStringLiteral("1"));
        QCOMPARE(r105->Eintraege.Zeigen(QString(), QStringLiteral("Note")), QStringLiteral("5"));
        QCOMPARE(
            r105->Eintraege.Zeigen(QString(), QStringLiteral("Fehlstunden")), QStringLiteral("3"));
    }

    void einfuegenInOffenenEditor()
    {
        // The editor stands on row 0, "Note" (12): a paste into that cell shows in the editor,
        // and moving on keeps the pasted value.
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        QCOMPARE(EditorZelle(*f), QPoint(5, 0));
        // Row 0 selected without moving the current cell (a click would close the editor).
        Kurstabelle* t = f->meineTabelle();
        t->selectionModel()->select(
            t->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(EditorZelle(*f), QPoint(5, 0));
        Ablage().setText(QStringLiteral("6\t"));
        QVERIFY(Ausfuehren("EditPasteSpezial"));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("6"));
        QCOMPARE(Gespeichert(*f, 0, QStringLiteral("Note")), QStringLiteral("6"));
        QVERIFY(!f->OffeneEingabe());
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Gespeichert(*f, 0, QStringLiteral("Note")), QStringLiteral("6"));
        QCOMPARE(Zelltext(*f, 0, 5), QStringLiteral("6"));
        QCOMPARE(plattform.pieps, 0);
    }

    void einfuegenOhneWirkung_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("keine Zeile gewählt") << QStringLiteral("ohneAuswahl");
        QTest::newRow("kein Text in der Ablage") << QStringLiteral("ohneText");
        QTest::newRow("Datei ohne Einträge") << QStringLiteral("ohneDaten");
    }

    void einfuegenOhneWirkung()
    {
        QFETCH(QString, fall);
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        QList<QStringList> zellen;
        for (int i = 0; i < f->meineTabelle()->rowCount(); ++i)
            zellen << Eintragszellen(*f, i);
        Ablage().setText(QStringLiteral("9\t9\t9\n9\t9\t9\n"));
        if (fall != QLatin1String("ohneAuswahl"))
            f->meineTabelle()->selectRow(2);
        if (fall == QLatin1String("ohneText")) {
            auto* daten = new QMimeData;
            daten->setData(QStringLiteral("application/x-unbekannt"), QByteArray("9"));
            Ablage().setMimeData(daten);
        }
        if (fall == QLatin1String("ohneDaten"))
            Daten.mitDaten = false;
        QVERIFY(Ausfuehren("EditPasteSpezial"));
        for (int i = 0; i < f->meineTabelle()->rowCount(); ++i)
            QCOMPARE(Eintragszellen(*f, i), zellen.at(i));
        QVERIFY(!f->LokalGeaendert());
        QCOMPARE(plattform.pieps, 0);
    }

    void einfuegenFasstAbgelehntesZusammen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("zusammenfassung");
        QTest::addColumn<QList<QPoint>>("zellen"); // (column offset from "Note", row)
        QTest::newRow("ein Wert")
            << "16\t3"
            << "1 Wert nicht übernommen: Zeile 5 Note „16“ – „16“ ist keine Note dieser "
               "Notenskala. Erlaubt sind: 15 … 0, E."
            << QList<QPoint> { { 0, 4 } };
        QTest::newRow("vier Werte")
            << "16\t-2\n12\t3\nx\t1,5\n"
            << "4 Werte nicht übernommen: Zeile 5 Note „16“, Zeile 5 Fehlstunden „-2“, "
               "Zeile 7 Note „x“, Zeile 7 Fehlstunden „1,5“."
            << QList<QPoint> { { 0, 4 }, { 1, 4 }, { 0, 6 }, { 1, 6 } };
        QTest::newRow("sechs Werte")
            << "a\tb\nc\td\ng\tf"
            << "6 Werte nicht übernommen: Zeile 5 Note „a“, Zeile 5 Fehlstunden „b“, "
               "Zeile 6 Note „c“, Zeile 6 Fehlstunden „d“ und 2 weitere."
            << QList<QPoint> { { 0, 4 }, { 1, 4 }, { 0, 5 }, { 1, 5 }, { 0, 6 }, { 1, 6 } };
    }

    void einfuegenFasstAbgelehntesZusammen()
    {
        QFETCH(QString, text);
        QFETCH(QString, zusammenfassung);
        QFETCH(QList<QPoint>, zellen);
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        const int note = Spalte(QStringLiteral("Note"));
        f->meineTabelle()->selectRow(4);
        Ablage().setText(text);
        QVERIFY(Ausfuehren("EditPasteSpezial"));
        QCOMPARE(f->LetzterGrund(), zusammenfassung);
        QCOMPARE(f->Statuszeile()->Grund(), zusammenfassung);
        QList<QPoint> erwartet;
        for (const QPoint& z : zellen)
            erwartet.append(QPoint(note + z.x(), z.y()));
        QCOMPARE(f->AbgelehnteZellen(), erwartet);
        QCOMPARE(plattform.pieps, int(zellen.size()));
        // The marked cells show it by their frame, also in the selected row; a cell that took
        // its value does not.
        QTableWidget* t = f->meineTabelle();
        const QImage bild = t->viewport()->grab().toImage();
        const auto farbe = [&](int row, int column) {
            const QRect r = t->visualRect(t->model()->index(row, column));
            return bild.pixelColor((r.topLeft() + QPoint(1, 1)) * bild.devicePixelRatio());
        };
        for (const QPoint& z : erwartet)
            QCOMPARE(farbe(z.y(), z.x()), Kursfenster::AbgelehntRahmen);
        QVERIFY(farbe(0, note) != Kursfenster::AbgelehntRahmen);
        QVERIFY(farbe(4, note - 1) != Kursfenster::AbgelehntRahmen);
        // The next change clears the marks.
        Klick(*f, 0, note);
        Tippen(*f, QStringLiteral("9"));
        Taste(*f, Qt::Key_Tab);
        QVERIFY(f->AbgelehnteZellen().isEmpty());
    }

    void allesAbgelehntBleibtUngeaendert()
    {
        // A paste that stored nothing leaves the table unchanged: no question on closing.
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        f->meineTabelle()->selectRow(4);
        Ablage().setText(QStringLiteral("abc\t-3"));
        QVERIFY(Ausfuehren("EditPasteSpezial"));
        QCOMPARE(plattform.pieps, 2);
        QVERIFY(!f->LokalGeaendert());
        QVERIFY(!f->SichernAktion()->isEnabled());
    }

    // --- The plain Edit items on a cell editor ----------------------------------------

    void editorTextBearbeiten()
    {
        QPointer<Kursfenster> f = GrosserKurs();
        QVERIFY(f);
        QLineEdit* editor = Editor(*f);
        QVERIFY(editor);
        editor->setFocus();
        QTRY_VERIFY(editor->hasFocus());
        Menue& menue = Menue::Instanz();
        // The window's own Edit menu, as the teacher opens it.
        QMenu* bearbeiten = f->menuBar()->findChild<QMenu*>(QStringLiteral("EditMenu"));
        QVERIFY(bearbeiten);
        emit bearbeiten->aboutToShow();
        QVERIFY(bearbeiten->menuAction()->isEnabled());
        for (const char* name : { "EditCut", "EditCopy", "EditPaste", "EditSelectAll" }) {
            QAction* a = menue.Eintrag(QString::fromLatin1(name));
            QVERIFY2(a->isVisible() && a->isEnabled(), name);
            QVERIFY2(bearbeiten->actions().contains(a), name);
        }
        QVERIFY(!menue.Eintrag(QStringLiteral("EditCopySpezial"))->isVisible());

        // "12" is selected in the editor: copy, then paste "7" over it.
        QCOMPARE(editor->selectedText(), QStringLiteral("12"));
        menue.Eintrag(QStringLiteral("EditCopy"))->trigger();
        QCOMPARE(Ablage().text(), QStringLiteral("12"));
        Ablage().setText(QStringLiteral("7"));
        editor->selectAll();
        menue.Eintrag(QStringLiteral("EditPaste"))->trigger();
        QCOMPARE(editor->text(), QStringLiteral("7"));
        menue.Eintrag(QStringLiteral("EditSelectAll"))->trigger();
        QCOMPARE(editor->selectedText(), QStringLiteral("7"));
        menue.Eintrag(QStringLiteral("EditCut"))->trigger();
        QCOMPARE(editor->text(), QString());
        QCOMPARE(Ablage().text(), QStringLiteral("7"));
        // The table's rows were not touched; the text is checked when the cell is left.
        Taste(*f, Qt::Key_Z);
        QCOMPARE(editor->text(), QStringLiteral("z"));
        QCOMPARE(Gespeichert(*f, 0, QStringLiteral("Note")), QStringLiteral("12"));

        // After a move of the editor (a new editor widget) the items stay usable.
        editor->setText(QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        QVERIFY(Editor(*f)->hasFocus());
        emit bearbeiten->aboutToShow();
        QVERIFY(bearbeiten->menuAction()->isEnabled());
        QVERIFY(menue.Eintrag(QStringLiteral("EditCopy"))->isEnabled());
        QVERIFY(menue.Eintrag(QStringLiteral("EditPaste"))->isEnabled());

        // The table itself: the special items, also enabled.
        Klick(*f, 2, 1);
        QVERIFY(f->meineTabelle()->hasFocus());
        QVERIFY(menue.Eintrag(QStringLiteral("EditCopySpezial"))->isVisible());
        QVERIFY(menue.Eintrag(QStringLiteral("EditCopySpezial"))->isEnabled());
        QVERIFY(menue.Eintrag(QStringLiteral("EditPasteSpezial"))->isEnabled());
        QVERIFY(bearbeiten->menuAction()->isEnabled());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterZwischenablage)
#include "tst_kursfenster_zwischenablage.moc"
