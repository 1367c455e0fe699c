// The course window: columns, title, rows, window size, resizing, toolbar, closing.

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"
#include "toolbarvorlage.h"
#include "zellpruefung.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Kurstabellentest;

namespace {
// Alignment letters: L left, R right, C centre.
Qt::Alignment Ausrichtung(QChar c)
{
    switch (c.toLatin1()) {
    case 'R':
        return Qt::AlignRight;
    case 'C':
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

const QStringList Eintragsspalten = { QStringLiteral("Note"), QStringLiteral("Fehlstunden"),
    QStringLiteral("unentschuldigte Fehlstunden"), QStringLiteral("Hinweis"),
    QStringLiteral("Klausur"), QStringLiteral("Sonstiges") };
} // namespace

class TestKursfensterAufbau : public Kursfenstertest {
    Q_OBJECT

private:
    QString Laden(const Kurslistenbauer& liste = Kurslistenbauer())
    {
        const QString pfad = liste.Anlegen(ordner.path());
        if (pfad.isEmpty())
            qWarning("Kursliste nicht geladen");
        return pfad;
    }

private slots:
    void init()
    {
        Grundzustand();
        plattform.antwortenFrage.clear();
    }

    void spaltenNachSchaltern_data()
    {
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<bool>("warnung");
        QTest::addColumn<int>("erste");
        QTest::addColumn<QStringList>("kopf");
        QTest::addColumn<QString>("ausrichtung");
        QTest::addColumn<QList<int>>("breiten");

        QTest::newRow("ohne A und W")
            << false << false << 3 << (QStringList { QString(), "Nr.", "Name" } + Eintragsspalten)
            << "LRLCCCCCC" << QList<int> { 0, 40, 200, 60, 60, 60, 60, 60, 60 };
        QTest::newRow("mit A") << true << false << 4
                               << (QStringList { QString(), "Nr.", "A", "Name" } + Eintragsspalten)
                               << "LRCLCCCCCC"
                               << QList<int> { 0, 40, 30, 200, 60, 60, 60, 60, 60, 60 };
        QTest::newRow("mit W") << false << true << 4
                               << (QStringList { QString(), "Nr.", "Name", "W" } + Eintragsspalten)
                               << "LRLCCCCCCC"
                               << QList<int> { 0, 40, 200, 25, 60, 60, 60, 60, 60, 60 };
        QTest::newRow("mit A und W")
            << true << true << 5
            << (QStringList { QString(), "Nr.", "A", "Name", "W" } + Eintragsspalten)
            << "LRCLCCCCCCC" << QList<int> { 0, 40, 30, 200, 25, 60, 60, 60, 60, 60, 60 };
    }

    void spaltenNachSchaltern()
    {
        QFETCH(bool, abitur);
        QFETCH(bool, warnung);
        QFETCH(int, erste);
        QFETCH(QStringList, kopf);
        QFETCH(QString, ausrichtung);
        QFETCH(QList<int>, breiten);
        QVERIFY(!Laden(Kurslistenbauer().MarkAbitur(abitur).Warnung(warnung)).isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Kurstabelle* t = f->meineTabelle();

        QCOMPARE(TabellenStruktur.ErsteSpalte, erste);
        QCOMPARE(t->columnCount(), kopf.size());
        int summe = 0;
        for (int i = 0; i < kopf.size(); ++i) {
            const QTableWidgetItem* k = t->horizontalHeaderItem(i);
            QVERIFY(k);
            QCOMPARE(k->text(), kopf.at(i));
            const Qt::Alignment soll = Ausrichtung(ausrichtung.at(i));
            QCOMPARE(Qt::Alignment(k->textAlignment()) & Qt::AlignHorizontal_Mask, soll);
            for (int r = 0; r < t->rowCount(); ++r)
                QCOMPARE(
                    Qt::Alignment(t->item(r, i)->textAlignment()) & Qt::AlignHorizontal_Mask, soll);
            QCOMPARE(t->columnWidth(i), breiten.at(i));
            summe += breiten.at(i);
        }
        QCOMPARE(f->width(), summe);
        QCOMPARE(t->viewport()->width(), summe);

        // The entry columns: editable, tagged with their catalogue entry, in zSpalten.
        QString spalten = QStringLiteral(",");
        for (int c = 0; c < kopf.size(); ++c) {
            const Eintrag* e = f->Spalteneintrag(c);
            if (c < erste) {
                QVERIFY(!e);
                QVERIFY(!(t->item(0, c)->flags() & Qt::ItemIsEditable));
                continue;
            }
            spalten += QString::number(c) + QLatin1Char(',');
            QVERIFY(e);
            QCOMPARE(*e, Daten.alleEintraege.ZeigeEintrag(c - erste));
            QVERIFY(t->item(0, c)->flags() & Qt::ItemIsEditable);
        }
        QCOMPARE(f->Eintragsspalten().Ausgeben(), spalten);

        // "W": student 12 (row 1) is warned; the box is not toggled by the grid itself.
        for (int r = 0; r < t->rowCount(); ++r) {
            QCOMPARE(Gewarnt(*f, r), warnung && r == 1);
            if (warnung)
                QVERIFY(!(t->item(r, erste - 1)->flags() & Qt::ItemIsUserCheckable));
        }

        // The editor is open on row 0 of the first entry column; nothing is changed.
        QCOMPARE(EditorZelle(*f), QPoint(erste, 0));
        QCOMPARE(f->AktiveZeile(), 0);
        QCOMPARE(f->AktiveSpalte(), erste);
        QVERIFY(!f->LokalGeaendert());
        QVERIFY(!Daten.wurdeGeaendert());
    }

    void titel_data()
    {
        QTest::addColumn<bool>("abiturListe");
        QTest::addColumn<QString>("kurs");
        QTest::addColumn<QString>("titel");
        QTest::newRow("Halbjahr M") << false << "M"
                                    << "12.1 - Mathematik - LK2 - Mü";
        QTest::newRow("Halbjahr D") << false << "D"
                                    << "12.1 - Deutsch - GK1 - Mü";
        QTest::newRow("Abitur M") << true << "M"
                                  << "Mathematik - LK2 - Mü";
    }

    void titel()
    {
        QFETCH(bool, abiturListe);
        QFETCH(QString, kurs);
        QFETCH(QString, titel);
        QVERIFY(!Laden(Kurslistenbauer().AbiturListe(abiturListe)).isEmpty());
        QPointer<Kursfenster> f = Oeffnen(kurs);
        QCOMPARE(f->windowTitle(), titel);
    }

    // A course field with a right-to-left override, ESC and BEL: the title shows "�" for
    // each, the result file's name holds none of them.
    void steuerzeichenImTitel()
    {
        const QString lehrer = QStringLiteral("Mü\u202Eelz.exe\x1b[31m\x07");
        QVERIFY(!Laden(Kurslistenbauer().Aendern([&](Datenbestand& d) {
            d.alleKurse.Zeigen(1)->Lehrer = lehrer;
        })).isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QCOMPARE(f->windowTitle(),
            QStringLiteral("12.1 - Mathematik - LK2 - Mü\uFFFDelz.exe\uFFFD[31m\uFFFD"));
        const QString name = Daten.DateiName(*Daten.alleKurse.Zeigen(1));
        for (const QChar c : { QChar(0x202e), QChar(0x1b), QChar(0x07) })
            QVERIFY2(!name.contains(c), qPrintable(name));
        QVERIFY2(name.endsWith(QStringLiteral("Mü_elz.exe_[31m_")), qPrintable(name));
    }

    void zeilen()
    {
        Datenbestand d = Kurslistenbauer().Bauen();
        // A student of the course's set who is missing from the student list gets no row.
        d.alleKurse.Zeigen(1)->Schueler.Einfuegen(qint64(99));
        QVERIFY(!Anlegen(ordner.path(), d).isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Kurstabelle* t = f->meineTabelle();

        // The order of the global list (11, 12, 13, 14), not the set's order (14, 13, 12, 11).
        QCOMPARE(t->rowCount(), 4);
        const QStringList ids = { "11", "12", "13", "14" };
        const QStringList abitur = { "3", "4", "4", "" };
        const QStringList namen
            = { "Albers, Anna", "Brandt, Ben", "Cordes, Clara", "Dahl, Dennis" };
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(Zelltext(*f, r, 0), ids.at(r));
            QCOMPARE(Zelltext(*f, r, 1), QString::number(r + 1));
            QCOMPARE(Zelltext(*f, r, 2), abitur.at(r));
            QCOMPARE(Zelltext(*f, r, 3), namen.at(r));
        }
        const auto werte = [&](int r) {
            QStringList w;
            for (int c = 5; c < 11; ++c)
                w << Sichtbar(*f, r, c);
            return w;
        };
        QCOMPARE(werte(0), (QStringList { "12", "4", "2", "Facharbeit", "11", "x" }));
        QCOMPARE(werte(1), (QStringList { "3", "10", "0", "Attest fehlt", "E", "" }));
        // No course row: empty cells and no row tag.
        QCOMPARE(werte(2), (QStringList { "", "", "", "", "", "" }));
        QVERIFY(!f->Zeilenkopie(2));
        // A damaged row with two entries: empty values for the missing ones, and a copy with
        // a place for every entry.
        QCOMPARE(werte(3), (QStringList { "7", "6", "", "", "", "" }));
        QCOMPARE(f->Zeilenkopie(3)->Eintraege.Anzahl(), 6);

        // The row tags are the window's own copies, not the global list's rows.
        for (int r : { 0, 1, 3 }) {
            const SchuelerKurs* kopie = f->Zeilenkopie(r);
            const SchuelerKursZeiger global
                = Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), ids.at(r).toLongLong());
            QVERIFY(kopie && global);
            QVERIFY(kopie != global.get());
        }
    }

    void ohneSchueler()
    {
        Datenbestand d = Kurslistenbauer().Bauen();
        d.alleKurse.Zeigen(2)->Schueler = Menge();
        QVERIFY(!Anlegen(ordner.path(), d).isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("D"));
        QCOMPARE(f->meineTabelle()->rowCount(), 0);
        QVERIFY(!Editor(*f));
        // "Sichern" with nothing to check and nothing to save closes the window.
        QVERIFY(f->ZelleGeprueft(f->AktiveZeile(), f->AktiveSpalte()));
    }

    void demoDatei()
    {
        const QString demo = QStringLiteral(BUILD_VERZEICHNIS "/demo/demo.zln");
        QVERIFY2(QFile::exists(demo), "the demo file is built with the tests");
        const QString kopie = ordner.filePath(QStringLiteral("demo.zln"));
        QFile::remove(kopie);
        QVERIFY(QFile::copy(demo, kopie));
        GlobaleDatenZuruecksetzen();
        QVERIFY(Daten.LadeDatei(kopie));
        TabellenStruktur.KurslistenInit();
        const QStringList kopf = QStringList { QString(), "Nr.", "A", "Name", "W", "Note",
            "Fehlstunden", "unentschuldigte Fehlstunden", "Hinweis", "Klausur", "Bemerkung" };
        // What the demo shows: every state of a course, a graded entry with an ID and an
        // entry of another kind, grades besides points.
        QSet<QString> zustaende;
        for (qint64 k = 1; k <= Daten.alleKurse.AnzahlKurse(); ++k) {
            const KursZeiger kurs = Daten.alleKurse.Zeigen(k);
            zustaende << (kurs->gesendet ? "grün"
                    : kurs->gespeichert  ? "blau"
                    : kurs->geaendert    ? "rot"
                                         : "keiner");
        }
        QCOMPARE(zustaende, (QSet<QString> { "grün", "blau", "rot", "keiner" }));
        // The first course (the one the end-to-end roads type into) is untouched.
        QVERIFY(!Daten.alleKurse.Zeigen(1)->geaendert);
        QCOMPARE(Daten.alleEintraege.ZeigeEintrag(4).ID, QStringLiteral("KL"));
        QCOMPARE(Zellpruefung::ArtVon(Daten.alleEintraege.ZeigeEintrag(4)),
            Zellpruefung::Spaltenart::NoteMitID);
        QCOMPARE(Zellpruefung::ArtVon(Daten.alleEintraege.ZeigeEintrag(5)),
            Zellpruefung::Spaltenart::Andere);
        QVERIFY(Daten.NoteOK(QStringLiteral("E")));
        QVERIFY(Daten.NoteOK(QStringLiteral("NT")));
        QStringList klausuren;
        for (qint64 i = 1; i <= Daten.alleSchuelerKurse.AnzahlKurse(); ++i)
            klausuren << Daten.alleSchuelerKurse.ZeigePosition(i)->Eintraege.Zeigen(
                QStringLiteral("KL"), QStringLiteral("Klausur"));
        QVERIFY(klausuren.contains(QStringLiteral("E")));
        QVERIFY(klausuren.contains(QStringLiteral("NT")));
        int geoeffnet = 0;
        for (qint64 k = 1; k <= Daten.alleKurse.AnzahlKurse(); ++k) {
            const KursZeiger kurs = Daten.alleKurse.Zeigen(k);
            QPointer<Kursfenster> f = new Kursfenster(kurs);
            f->show();
            Kurstabelle* t = f->meineTabelle();
            QCOMPARE(f->windowTitle(),
                QStringLiteral("Q1 - ") + kurs->Fach + QStringLiteral(" - ") + kurs->KursArt
                    + QString::number(kurs->kNr) + QStringLiteral(" - WEH"));
            QCOMPARE(TabellenStruktur.ErsteSpalte, 5);
            QCOMPARE(t->columnCount(), kopf.size());
            int summe = 0;
            for (int c = 0; c < kopf.size(); ++c) {
                QCOMPARE(t->horizontalHeaderItem(c)->text(), kopf.at(c));
                QCOMPARE(t->columnWidth(c), int(TabellenStruktur.Spalten.at(c).Breite));
                summe += t->columnWidth(c);
            }
            // The columns fill the room beside the scroll bar (if the rows need one).
            QCOMPARE(f->width(), f->BenoetigteBreite());
            QCOMPARE(t->viewport()->width(), summe);
            // Every student of the course has a row, in the order of the student list.
            int zeilen = 0;
            qint64 vorher = -1;
            for (qint64 i = 1; i <= Daten.alleSchueler.AnzahlSchueler(); ++i)
                if (kurs->Schueler.Enthalten(Daten.alleSchueler.Zeigen(i).ID))
                    ++zeilen;
            QCOMPARE(t->rowCount(), zeilen);
            for (int r = 0; r < t->rowCount(); ++r) {
                const qint64 id = Zelltext(*f, r, 0).toLongLong();
                QVERIFY(kurs->Schueler.Enthalten(id));
                QVERIFY(id > vorher); // the demo's student list is sorted by ID
                vorher = id;
            }
            if (zeilen > 0) {
                QCOMPARE(EditorZelle(*f), QPoint(5, 0));
                ++geoeffnet;
            }
            f->close();
            QVERIFY(f.isNull() || !f->isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(geoeffnet >= 4);
        QVERIFY(plattform.fragen.isEmpty());
    }

    void hoehe_data()
    {
        QTest::addColumn<QRect>("flaeche");
        QTest::addColumn<int>("schueler");
        QTest::addColumn<bool>("begrenzt");
        QTest::newRow("ein Schüler") << QRect(0, 0, 1600, 1200) << 1 << false;
        QTest::newRow("grosser Bildschirm, 4 Schüler") << QRect(0, 0, 1600, 1200) << 4 << false;
        QTest::newRow("grosser Bildschirm, 40 Schüler") << QRect(0, 0, 1600, 1200) << 40 << false;
        QTest::newRow("kleiner Bildschirm, 40 Schüler") << QRect(0, 0, 1024, 500) << 40 << true;
        QTest::newRow("Bildschirm mit Leiste oben") << QRect(0, 60, 1024, 500) << 40 << true;
    }

    void hoehe()
    {
        QFETCH(QRect, flaeche);
        QFETCH(int, schueler);
        QFETCH(bool, begrenzt);
        Datenbestand d = Kurslistenbauer().Bauen();
        KursZeiger m = d.alleKurse.Zeigen(1);
        m->Schueler = Menge();
        for (int i = 0; i < schueler; ++i) {
            if (i >= 4)
                d.alleSchueler.Anfuegen(
                    Schueler(100 + i, QStringLiteral("Schüler %1").arg(i), QString()));
            m->Schueler.Einfuegen(qint64(i < 4 ? 11 + i : 100 + i));
        }
        QVERIFY(!Anlegen(ordner.path(), d).isEmpty());
        Kursfenster::SetzeBildschirmflaeche(flaeche);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Kursfenster::SetzeBildschirmflaeche(QRect(0, 0, 1600, 1200));
        QVERIFY(QTest::qWaitForWindowExposed(f));
        Kurstabelle* t = f->meineTabelle();
        QCOMPARE(t->rowCount(), schueler);

        const int oben = t->mapTo(f, QPoint(0, 0)).y();
        // The rows and, under the table, the status line.
        const int benoetigt
            = oben + t->horizontalHeader()->height() + schueler * 20 + f->statusBar()->height();
        QCOMPARE(f->statusBar()->geometry().top(), t->geometry().bottom() + 1);
        QCOMPARE(f->maximumHeight(), benoetigt);
        if (begrenzt) {
            // 20 points above the bottom of the usable area.
            QCOMPARE(f->geometry().bottom() + 1, flaeche.bottom() + 1 - 20);
            QVERIFY(f->height() < benoetigt);
        } else {
            QCOMPARE(f->height(), benoetigt);
            // Exactly the rows: no part of a row is cut off, no empty space below.
            QCOMPARE(t->viewport()->height(), schueler * 20);
        }
        // The window can never be made taller than its rows need.
        f->resize(f->width(), benoetigt + 200);
        QCOMPARE(f->height(), benoetigt);
    }

    void fensterVersetzt()
    {
        QVERIFY(!Laden().isEmpty());
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("D"));
        QCOMPARE(b->geometry().topLeft() - a->geometry().topLeft(), QPoint(22, 22));
    }

    void breiteAendern_data()
    {
        QTest::addColumn<int>("aenderung");
        QTest::addColumn<int>("letzteBreite");
        QTest::addColumn<int>("fensterAenderung");
        QTest::newRow("schmaler um 30") << -30 << 30 << -30;
        QTest::newRow("breiter um 45") << 45 << 105 << 45;
        QTest::newRow("bis 10 schmaler") << -50 << 10 << -50;
        // The last column keeps 10 points: the window springs back to the other columns + 10.
        QTest::newRow("zu schmal") << -57 << 10 << -50;
    }

    void breiteAendern()
    {
        QFETCH(int, aenderung);
        QFETCH(int, letzteBreite);
        QFETCH(int, fensterAenderung);
        QVERIFY(!Laden().isEmpty());
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("D"));
        const int breite = a->width();
        QCOMPARE(breite, int(TabellenStruktur.Gesamtbreite()));
        QVERIFY(!Daten.wurdeGeaendert());

        a->resize(breite + aenderung, a->height());
        const int letzte = int(TabellenStruktur.SpaltenAnzahl) - 1;
        QCOMPARE(int(TabellenStruktur.Spalten.at(letzte).Breite), letzteBreite);
        for (Kursfenster* f : { a.data(), b.data() }) {
            QCOMPARE(f->meineTabelle()->columnWidth(letzte), letzteBreite);
            QCOMPARE(f->width(), breite + fensterAenderung);
        }
        QVERIFY(Daten.wurdeGeaendert());
    }

    void hoeheAendernBehaeltLayout()
    {
        QVERIFY(!Laden().isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        const QString breiten = TabellenStruktur.BreitenString();
        f->resize(f->width(), f->height() - 20);
        QCOMPARE(TabellenStruktur.BreitenString(), breiten);
        QVERIFY(!Daten.wurdeGeaendert());
    }

    void werkzeugleiste()
    {
        QVERIFY(!Laden().isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        const QList<QAction*> aktionen = f->ToolbarWerkzeuge()->actions();
        QCOMPARE(aktionen.size(), 3);
        QCOMPARE(aktionen.at(0), f->SichernAktion());
        QCOMPARE(aktionen.at(0)->objectName(), QStringLiteral("ToolItemSichern"));
        QCOMPARE(aktionen.at(0)->text(), QStringLiteral("Sichern"));
        QVERIFY(!aktionen.at(0)->icon().pixmap(32, 32).isNull());
        QVERIFY(!aktionen.at(0)->isEnabled());
        // The flexible space pushes "Hilfe" to the far end.
        QVERIFY(!aktionen.at(1)->isSeparator());
        QCOMPARE(aktionen.at(2)->objectName(), QStringLiteral("ToolItemHilfe"));
        auto* hilfe
            = qobject_cast<QToolButton*>(f->ToolbarWerkzeuge()->widgetForAction(aktionen.at(2)));
        auto* sichern
            = qobject_cast<QToolButton*>(f->ToolbarWerkzeuge()->widgetForAction(aktionen.at(0)));
        QVERIFY(hilfe && sichern);
        QVERIFY(hilfe->geometry().right() > f->ToolbarWerkzeuge()->width() - 80);

        // A change enables "Sichern".
        Klick(*f, 0, 4);
        QVERIFY(f->LokalGeaendert());
        QVERIFY(f->SichernAktion()->isEnabled());
    }

    void menueHandler()
    {
        QVERIFY(!Laden().isEmpty());
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        Menue& menue = Menue::Instanz();
        for (const char* name : { "AblageDrucken", "EditCopySpezial", "EditPasteSpezial" }) {
            QVERIFY2(menue.HatHandler(QString::fromLatin1(name)), name);
            QVERIFY2(menue.Ausfuehren(QString::fromLatin1(name)), name);
        }
        QVERIFY(menue.Eintrag(QStringLiteral("AblageDrucken"))->isEnabled());
        f->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.isNull());
        QVERIFY(!menue.HatHandler(QStringLiteral("AblageDrucken")));
    }

    void zweiFensterEigeneKopien()
    {
        QVERIFY(!Laden().isEmpty());
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("M"));
        QVERIFY(a->Zeilenkopie(0) != b->Zeilenkopie(0));
        Tippen(*a, QStringLiteral("13"));
        Taste(*a, Qt::Key_Tab);
        QCOMPARE(Gespeichert(*a, 0, QStringLiteral("Note")), QStringLiteral("13"));
        QCOMPARE(Gespeichert(*b, 0, QStringLiteral("Note")), QStringLiteral("12"));
        QCOMPARE(Sichtbar(*b, 0, 5), QStringLiteral("12"));
        QVERIFY(!b->LokalGeaendert());

        // After the first window saved, the second still works on its own copy.
        a->SichernAktion()->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(a.isNull());
        QCOMPARE(Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                     ->Eintraege.ZeigeKursEintrag(0)
                     .datum,
            QStringLiteral("13"));
        QCOMPARE(Gespeichert(*b, 0, QStringLiteral("Note")), QStringLiteral("12"));
        QVERIFY(b->Zeilenkopie(0) != Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11).get());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterAufbau)
#include "tst_kursfenster_aufbau.moc"
