// The course window's status line: the course's figures after every stored change, the reason
// of a refused value for a few seconds, the warning when the journal cannot be written, its
// place under the table; and the grades entered per course in the course selection window.

#include "eingabejournal.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "zellpruefung.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace Kurstabellentest;

namespace {

const QString Trenner = QStringLiteral("  ·  ");

QString Zahlen(const QStringList& teile)
{
    return teile.join(Trenner);
}

// Course "M" as the fixture holds it: grades 12, 3 (a deficit), none, 7; hours 4, 10, -, 6;
// unexcused 2, 0.
const QString AmAnfang = Zahlen({ "4 Schüler", "Noten: 3 eingetragen, 1 fehlt",
    "Schnitt 7,3 Punkte", "1 Defizit", "Fehlstunden 20, davon 2 unentschuldigt" });

} // namespace

class TestKursfensterStatuszeile : public Kursfenstertest {
    Q_OBJECT

    QPointer<Kursfenster> f;

private slots:
    void init()
    {
        Grundzustand();
        QDir(Eingabejournal::Ordner()).removeRecursively();
        QVERIFY(!Kurslistenbauer().Anlegen(ordner.path()).isEmpty());
        f = Oeffnen(QStringLiteral("M"));
        QVERIFY(f);
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
    }
    void cleanup()
    {
        Aufraeumen();
        QFile::remove(Eingabejournal::Ordner());
    }

    void zahlenFolgenJederAenderung()
    {
        Kursstatuszeile* zeile = f->Statuszeile();
        QVERIFY(zeile);
        QCOMPARE(zeile->Zahlen(), AmAnfang);
        // Row 0's grade 12 → 15: the average (15 + 3 + 7) / 3.
        Tippen(*f, QStringLiteral("15"));
        QCOMPARE(zeile->Zahlen(), AmAnfang); // typed, not yet stored
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(zeile->Zahlen(),
            Zahlen({ "4 Schüler", "Noten: 3 eingetragen, 1 fehlt", "Schnitt 8,3 Punkte",
                "1 Defizit", "Fehlstunden 20, davon 2 unentschuldigt" }));
        // Hours with a decimal point.
        Tippen(*f, QStringLiteral("4.5"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(zeile->Zahlen(),
            Zahlen({ "4 Schüler", "Noten: 3 eingetragen, 1 fehlt", "Schnitt 8,3 Punkte",
                "1 Defizit", "Fehlstunden 20,5, davon 2 unentschuldigt" }));
        // Row 2 (no row in the file yet) gets a deficit grade: nothing missing any more.
        Klick(*f, 2, Spalte(QStringLiteral("Note")));
        Tippen(*f, QStringLiteral("1"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(zeile->Zahlen(),
            Zahlen({ "4 Schüler", "Noten: 4 eingetragen, 0 fehlen", "Schnitt 6,5 Punkte",
                "2 Defizite", "Fehlstunden 20,5, davon 2 unentschuldigt" }));
        // Undo counts too.
        QTest::keyClick(Editor(*f), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(zeile->Zahlen(),
            Zahlen({ "4 Schüler", "Noten: 3 eingetragen, 1 fehlt", "Schnitt 8,3 Punkte",
                "1 Defizit", "Fehlstunden 20,5, davon 2 unentschuldigt" }));
        // Back to the start.
        QTest::keyClick(Editor(*f), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(Editor(*f), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(zeile->Zahlen(), AmAnfang);
    }

    // A refused value: besides the beep, its reason in the status line, in place of the
    // figures, for a few seconds.
    void grundStehtInDerStatuszeile_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("grund");
        QTest::addColumn<bool>("abwarten");
        QTest::newRow("keine Note")
            << "Note"
            << "16"
            << QStringLiteral("„16“ ist keine Note dieser Notenskala. Erlaubt sind: 15 … 0, E.")
            << true;
        QTest::newRow("Fehlstunden mit Komma")
            << "Fehlstunden"
            << "3,5"
            << QStringLiteral("Fehlstunden: nur Zahlen ab 0. Dezimalstellen mit Punkt: „3.5“.")
            << false;
        QTest::newRow("Fehlstunden")
            << "Fehlstunden"
            << "-1" << QStringLiteral("Fehlstunden: nur Zahlen ab 0.") << false;
        QTest::newRow("unentschuldigt keine Zahl")
            << "unentschuldigte Fehlstunden"
            << "zwei" << QStringLiteral("Unentschuldigte Fehlstunden: nur Zahlen ab 0.") << false;
        QTest::newRow("mehr als Fehlstunden")
            << "unentschuldigte Fehlstunden"
            << "5"
            << QStringLiteral("Unentschuldigte Fehlstunden dürfen die Fehlstunden "
                              "nicht übersteigen.")
            << false;
    }
    void grundStehtInDerStatuszeile()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, text);
        QFETCH(QString, grund);
        QFETCH(bool, abwarten);
        Kursstatuszeile* zeile = f->Statuszeile();
        Klick(*f, 0, Spalte(spalte));
        Editor(*f)->selectAll();
        Tippen(*f, text);
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(zeile->Grund(), grund);
        QVERIFY(zeile->findChild<QLabel*>(QStringLiteral("Ablehnungsgrund"))->isVisible());
        QVERIFY(!zeile->findChild<QLabel*>(QStringLiteral("Kurszahlen"))->isVisible());
        QCOMPARE(zeile->Zahlen(), AmAnfang);
        if (!abwarten)
            return;
        // The figures come back by themselves.
        QTRY_COMPARE_WITH_TIMEOUT(zeile->Grund(), QString(), Kursstatuszeile::GrundMs + 2000);
        QVERIFY(zeile->findChild<QLabel*>(QStringLiteral("Kurszahlen"))->isVisible());
    }

    // A paste names the field it refused, with its reason.
    void grundBeimEinfuegen()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("13\t-3\n"));
        Taste(*f, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(f->Statuszeile()->Grund(),
            QStringLiteral("1 Wert nicht übernommen: Zeile 1 Fehlstunden „-3“ – "
                           "Fehlstunden: nur Zahlen ab 0."));
        QCOMPARE(f->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
    }

    // The line lies under the table, inside the window's height rule: every row stays visible.
    void unterDerTabelle()
    {
        Kursstatuszeile* zeile = f->Statuszeile();
        QVERIFY(zeile->isVisible());
        const QRect tabelle = f->meineTabelle()->geometry();
        QVERIFY(zeile->geometry().top() >= tabelle.bottom());
        QCOMPARE(f->height(), f->BenoetigteHoehe(4));
        QVERIFY(f->meineTabelle()->viewport()->height() >= 4 * Kurstabelle::Zeilenhoehe);
        QCOMPARE(f->BenoetigteHoehe(4) - f->BenoetigteHoehe(3), Kurstabelle::Zeilenhoehe);
    }

    // A narrow window shows the figures in short; the full text stays the tooltip.
    void schmalesFenster()
    {
        Kursstatuszeile* zeile = f->Statuszeile();
        const Kurszahlen::Summe summe = f->Zahlen();
        f->resize(1500, f->height());
        QTRY_COMPARE(zeile->SichtbareZahlen(), summe.Text());
        f->resize(330, f->height());
        QTRY_COMPARE(zeile->SichtbareZahlen(), summe.KurzText());
        QCOMPARE(zeile->findChild<QLabel*>(QStringLiteral("Kurszahlen"))->toolTip(), summe.Text());
        QCOMPARE(zeile->Zahlen(), summe.Text());
    }

    // When the journal cannot be written, the line says so until it can again.
    void journalWarnung()
    {
        Kursstatuszeile* zeile = f->Statuszeile();
        QVERIFY(zeile->Warnung().isEmpty());
        // A file where the journal's folder must be.
        QVERIFY(QDir().mkpath(QFileInfo(Eingabejournal::Ordner()).absolutePath()));
        {
            QFile sperre(Eingabejournal::Ordner());
            QVERIFY(sperre.open(QIODevice::WriteOnly));
        }
        Tippen(*f, QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(
            f->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13")); // stored anyway
        QVERIFY2(
            zeile->Warnung().startsWith(QStringLiteral("Keine Sicherheitskopie der Eingaben: ")),
            qPrintable(zeile->Warnung()));
        QVERIFY(zeile->Warnung().endsWith(QStringLiteral("Bitte bald sichern.")));
        QVERIFY(zeile->findChild<QLabel*>(QStringLiteral("Journalwarnung"))->isVisible());
        // The folder can be made again: the queued change is written, the warning goes.
        QVERIFY(QFile::remove(Eingabejournal::Ordner()));
        QTRY_VERIFY_WITH_TIMEOUT(zeile->Warnung().isEmpty(), 5000);
        const QList<Eingabejournal::Gelesen> journal = Eingabejournal::Lesen(Daten.datenFolder);
        QCOMPARE(journal.size(), 0); // held by this running window
        QVERIFY(f->Journal() && f->Journal()->Offen());
    }

    // The course selection window shows each course's grades entered of its students.
    void kursauswahlZaehlt()
    {
        Kursauswahl auswahl;
        auto* liste = auswahl.findChild<QTableWidget*>(QStringLiteral("Liste"));
        QVERIFY(liste);
        QCOMPARE(
            liste->horizontalHeaderItem(Kursauswahl::SpalteNoten)->text(), QStringLiteral("Noten"));
        QCOMPARE(liste->item(0, Kursauswahl::SpalteNoten)->text(), QStringLiteral("3/4"));
        QCOMPARE(liste->item(1, Kursauswahl::SpalteNoten)->text(), QStringLiteral("1/2"));
        // Unsaved entries do not count; saved ones do.
        Klick(*f, 2, Spalte(QStringLiteral("Note")));
        Tippen(*f, QStringLiteral("9"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(liste->item(0, Kursauswahl::SpalteNoten)->text(), QStringLiteral("3/4"));
        QCOMPARE(f->TabelleSichern(), Kursfenster::Sicherung::Gesichert);
        QCOMPARE(liste->item(0, Kursauswahl::SpalteNoten)->text(), QStringLiteral("4/4"));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterStatuszeile)
#include "tst_kursfenster_statuszeile.moc"
