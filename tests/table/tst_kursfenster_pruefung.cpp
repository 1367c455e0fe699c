// The course window: the check of typed values (ZelleGeprueft) and pasted ones (SpalteOK).

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Kurstabellentest;

namespace {
const QString NoteS = QStringLiteral("Note");
const QString Fehl = QStringLiteral("Fehlstunden");
const QString Unent = QStringLiteral("unentschuldigte Fehlstunden");
const QString Hinweis = QStringLiteral("Hinweis");
const QString Klausur = QStringLiteral("Klausur");
const QString Sonstiges = QStringLiteral("Sonstiges");
} // namespace

class TestKursfensterPruefung : public Kursfenstertest {
    Q_OBJECT

private:
    // Puts a stored value into the course-list's row of the student in that row, and the
    // window reads the row again, as if the value had been read from the file.
    static void Vorgabe(Kursfenster& f, int row, const QString& bezeichnung, const QString& wert)
    {
        const qint64 id = Zelltext(f, row, 0).toLongLong();
        const SchuelerKursZeiger r
            = Daten.alleSchuelerKurse.Zeigen(f.AngezeigterKurs()->Kuerzel, id);
        QVERIFY(r);
        for (qint64 i = 0; i < r->Eintraege.Anzahl(); ++i) {
            if (r->Eintraege.ZeigeKursEintrag(i).Bezeichnung == bezeichnung) {
                r->Eintraege.ZeigeKursEintrag(i).datum = wert;
                for (qint64 j = 1; j <= Daten.alleSchueler.AnzahlSchueler(); ++j)
                    if (Daten.alleSchueler.Zeigen(j).ID == id)
                        f.ZeileEintragen(row, Daten.alleSchueler.Zeigen(j));
                QCOMPARE(Gespeichert(f, row, bezeichnung), wert);
                QCOMPARE(Zelltext(f, row, Spalte(bezeichnung)), wert);
                return;
            }
        }
        QFAIL("no such entry");
    }

private slots:
    void init()
    {
        Grundzustand();
        QVERIFY(!Kurslistenbauer().Anlegen(ordner.path()).isEmpty());
    }

    void getippt_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("vorher"); // stored value before (also for Fehlstunden)
        QTest::addColumn<QString>("fehlstunden"); // stored absence hours of the row
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("nachher"); // stored value afterwards
        QTest::addColumn<QString>("zelle"); // what the cell shows afterwards
        QTest::addColumn<bool>("piep");
        QTest::addColumn<bool>("geaendert");

        const QString a256 = QString(256, QLatin1Char('a'));
        const QString ae255 = QString(127, QChar(0xE4)) + QLatin1Char('a'); // 255 bytes
        const QString ae256 = QString(128, QChar(0xE4)); // 256 bytes
        // clang-format off
        QTest::newRow("Note gültig")            << NoteS << "12" << "4" << "13"  << "13" << "13" << false << true;
        QTest::newRow("Note Kleinschreibung")   << NoteS << ""   << "4" << "e"   << "E"  << "E"  << false << true;
        QTest::newRow("Note gleich bis auf Fall") << NoteS << "E" << "4" << "e"  << "E"  << "E"  << false << false;
        QTest::newRow("Note unverändert")       << NoteS << "12" << "4" << "12"  << "12" << "12" << false << false;
        QTest::newRow("Note nicht in Skala")    << NoteS << "12" << "4" << "99"  << "12" << "12" << true  << false;
        QTest::newRow("Note mit Leerzeichen")   << NoteS << "12" << "4" << " 12" << "12" << "12" << true  << false;
        QTest::newRow("Note geleert")           << NoteS << "12" << "4" << ""    << ""   << ""   << false << true;
        QTest::newRow("Klausur mit ID")         << Klausur << "" << "4" << "e"  << "E"  << "E"  << false << true;
        QTest::newRow("Klausur ungültig")       << Klausur << "11" << "4" << "abc" << "11" << "11" << true << false;
        QTest::newRow("Fehlstunden leer wird 0") << Fehl << "4" << "4" << ""    << "0"  << "0"  << false << true;
        QTest::newRow("Fehlstunden 0 bleibt")   << Fehl << "0"  << "0" << ""    << "0"  << "0"  << false << false;
        QTest::newRow("Fehlstunden Dezimal")    << Fehl << "4"  << "4" << "3.5" << "3.5" << "3.5" << false << true;
        QTest::newRow("Fehlstunden Exponent")   << Fehl << "4"  << "4" << "1e2" << "1e2" << "1e2" << false << true;
        QTest::newRow("Fehlstunden negativ")    << Fehl << "4"  << "4" << "-1"  << "4"  << "4"  << true  << false;
        QTest::newRow("Fehlstunden -0.5")       << Fehl << "4"  << "4" << "-0.5" << "4" << "4"  << true  << false;
        QTest::newRow("Fehlstunden -0")         << Fehl << "4"  << "4" << "-0"  << "4"  << "4"  << true  << false;
        QTest::newRow("Fehlstunden Text")       << Fehl << "4"  << "4" << "abc" << "4"  << "4"  << true  << false;
        QTest::newRow("Fehlstunden Komma")      << Fehl << "4"  << "4" << "3,5" << "4"  << "4"  << true  << false;
        QTest::newRow("unentschuldigt zu hoch") << Unent << "2" << "4" << "5"   << "2"  << "2"  << true  << false;
        QTest::newRow("unentschuldigt gleich")  << Unent << "2" << "4" << "4"   << "4"  << "4"  << false << true;
        QTest::newRow("unentschuldigt leer")    << Unent << "2" << "4" << ""    << "0"  << "0"  << false << true;
        QTest::newRow("unentschuldigt negativ") << Unent << "2" << "4" << "-3"  << "2"  << "2"  << true  << false;
        QTest::newRow("Hinweis")                << Hinweis << "Facharbeit" << "4" << "Referat" << "Referat" << "Referat" << false << true;
        QTest::newRow("Hinweis Groß/klein")     << Hinweis << "Facharbeit" << "4" << "facharbeit" << "facharbeit" << "facharbeit" << false << true;
        QTest::newRow("Hinweis 255 Bytes")      << Hinweis << "Facharbeit" << "4" << ae255 << ae255 << ae255 << false << true;
        QTest::newRow("Hinweis 256 Bytes Umlaute") << Hinweis << "Facharbeit" << "4" << ae256 << "Facharbeit" << "Facharbeit" << true << false;
        QTest::newRow("Hinweis 256 Bytes")      << Hinweis << "Facharbeit" << "4" << a256 << "Facharbeit" << "Facharbeit" << true << false;
        // An entry of another name takes text like "Hinweis".
        QTest::newRow("anderer Name")           << Sonstiges << "x" << "4" << "y"   << "y"  << "y"  << false << true;
        // clang-format on
    }

    void getippt()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, vorher);
        QFETCH(QString, fehlstunden);
        QFETCH(QString, getippt);
        QFETCH(QString, nachher);
        QFETCH(QString, zelle);
        QFETCH(bool, piep);
        QFETCH(bool, geaendert);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        const int c = Spalte(spalte);
        f->meineTabelle()->EditorSchliessen();
        Vorgabe(*f, 0, Fehl, fehlstunden);
        Vorgabe(*f, 0, spalte, vorher);
        f->AktiviereEditZelle(0, c);
        QCOMPARE(Editor(*f)->text(), vorher);

        Tippen(*f, getippt);
        Taste(*f, Qt::Key_Return);
        QCOMPARE(Gespeichert(*f, 0, spalte), nachher);
        QCOMPARE(Sichtbar(*f, 0, c), zelle);
        QCOMPARE(plattform.pieps, piep ? 1 : 0);
        QCOMPARE(f->LokalGeaendert(), geaendert);
        QCOMPARE(f->SichernAktion()->isEnabled(), geaendert);
        QCOMPARE(EditorZelle(*f), QPoint(c, 0));

        // Leaving the cell: the cell keeps what the editor showed, the check has nothing left
        // to refuse.
        Taste(*f, Qt::Key_Tab);
        QVERIFY(EditorZelle(*f) != QPoint(c, 0));
        QCOMPARE(Zelltext(*f, 0, c), zelle);
        QCOMPARE(Gespeichert(*f, 0, spalte), nachher);
        QCOMPARE(plattform.pieps, piep ? 1 : 0);

        // Pasting the same text gives the same result: one rule for both roads.
        Vorgabe(*f, 0, spalte, vorher);
        QCOMPARE(f->SpalteOK(getippt, 0, c), !piep);
        QCOMPARE(Gespeichert(*f, 0, spalte), nachher);
        QCOMPARE(Zelltext(*f, 0, c), zelle);
    }

    void unentschuldigteFolge()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Vorgabe(*f, 0, Fehl, QStringLiteral("4"));
        f->AktiviereEditZelle(0, Spalte(Unent));
        Tippen(*f, QStringLiteral("5"));
        Taste(*f, Qt::Key_Return);
        QCOMPARE(plattform.pieps, 1);
        Tippen(*f, QStringLiteral("4"));
        Taste(*f, Qt::Key_Left);
        QCOMPARE(Gespeichert(*f, 0, Unent), QStringLiteral("4"));
        // Lowering the absence hours below the unexcused ones is accepted.
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(Fehl), 0));
        Tippen(*f, QStringLiteral("2"));
        Taste(*f, Qt::Key_Return);
        QCOMPARE(Gespeichert(*f, 0, Fehl), QStringLiteral("2"));
        QCOMPARE(plattform.pieps, 1);
    }

    void klausurZeigtWasGespeichertIst()
    {
        // A grade with ID shows the scale's spelling at once, as the file will hold it.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        const int c = Spalte(Klausur);
        f->AktiviereEditZelle(1, c);
        Tippen(*f, QStringLiteral("e"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Zelltext(*f, 1, c), QStringLiteral("E"));
        QCOMPARE(Gespeichert(*f, 1, Klausur), QStringLiteral("E"));
        f->Anpassen();
        QCOMPARE(Zelltext(*f, 1, c), QStringLiteral("E"));
    }

    void ohneKurszeileWirdAngelegt()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(!f->Zeilenkopie(2));
        f->AktiviereEditZelle(2, Spalte(NoteS));
        Tippen(*f, QStringLiteral("10"));
        Taste(*f, Qt::Key_Tab);
        const SchuelerKurs* r = f->Zeilenkopie(2);
        QVERIFY(r);
        QCOMPARE(r->FachKuerzel, QStringLiteral("M"));
        QCOMPARE(r->ID, 13);
        QCOMPARE(r->Eintraege.Anzahl(), Daten.alleEintraege.Anzahl());
        QCOMPARE(Gespeichert(*f, 2, NoteS), QStringLiteral("10"));
        QCOMPARE(Gespeichert(*f, 2, Hinweis), QString());
        // Not in the global list before the table is saved.
        QVERIFY(!Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 13));
    }

    void kurzeKurszeileNimmtWerteAuf()
    {
        // Student 14's row held only two entries: a value typed into a missing one is kept.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->AktiviereEditZelle(3, Spalte(Hinweis));
        Tippen(*f, QStringLiteral("neu"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Gespeichert(*f, 3, Hinweis), QStringLiteral("neu"));
    }

    void editorVomGitterGeschlossen()
    {
        // The grid closes the editor on its own: its text goes through the check, never
        // straight into the cell.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        f->AktiviereEditZelle(1, Spalte(NoteS));
        Tippen(*f, QStringLiteral("xyz"));
        f->meineTabelle()->EditorSchliessen();
        QVERIFY(!Editor(*f));
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(Zelltext(*f, 1, Spalte(NoteS)), QStringLiteral("3"));
        QVERIFY(!f->SichernAktion()->isEnabled());
        // A valid text is stored the same way.
        f->AktiviereEditZelle(1, Spalte(NoteS));
        Tippen(*f, QStringLiteral("e"));
        f->meineTabelle()->EditorSchliessen();
        QCOMPARE(Zelltext(*f, 1, Spalte(NoteS)), QStringLiteral("E"));
        QCOMPARE(Gespeichert(*f, 1, NoteS), QStringLiteral("E"));
        QVERIFY(f->LokalGeaendert());
        QCOMPARE(plattform.pieps, 1);
    }

    void eingefuegt_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("fehlstunden");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("nachher");
        // clang-format off
        QTest::newRow("Note in der Schreibweise der Skala") << NoteS << "4" << "e" << true << "E";
        QTest::newRow("Note ungültig")       << NoteS << "4" << "99"  << false << "12";
        QTest::newRow("Note leer")           << NoteS << "4" << ""    << true  << "";
        QTest::newRow("Klausur mit ID")      << Klausur << "4" << "e" << true << "E";
        QTest::newRow("Klausur ungültig")    << Klausur << "4" << "x" << false << "11";
        QTest::newRow("Fehlstunden Text")    << Fehl << "4" << "abc" << false << "4";
        QTest::newRow("Fehlstunden Kopfzeile") << Fehl << "4" << "Fehlstunden" << false << "4";
        QTest::newRow("Fehlstunden -0.5")    << Fehl << "4" << "-0.5" << false << "4";
        QTest::newRow("Fehlstunden negativ") << Fehl << "4" << "-2"  << false << "4";
        QTest::newRow("Fehlstunden Zahl")    << Fehl << "4" << "7"   << true  << "7";
        QTest::newRow("unentschuldigt zu hoch") << Unent << "4" << "5" << false << "2";
        QTest::newRow("unentschuldigt gleich")  << Unent << "4" << "4" << true << "4";
        QTest::newRow("unentschuldigt Text")    << Unent << "4" << "abc" << false << "2";
        QTest::newRow("Hinweis")             << Hinweis << "4" << "Referat" << true << "Referat";
        QTest::newRow("Hinweis mit Tabulator") << Hinweis << "4" << "a\tb" << false << "Facharbeit";
        QTest::newRow("Hinweis zu lang")     << Hinweis << "4" << QString(256, QLatin1Char('b')) << false << "Facharbeit";
        QTest::newRow("anderer Name")        << Sonstiges << "4" << "y" << true << "y";
        // clang-format on
    }

    void eingefuegt()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, fehlstunden);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, nachher);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Vorgabe(*f, 0, Fehl, fehlstunden);
        const int c = Spalte(spalte);
        const QString zelle = Zelltext(*f, 0, c);
        QCOMPARE(f->SpalteOK(text, 0, c), ok);
        QCOMPARE(Gespeichert(*f, 0, spalte), nachher);
        // The paste check beeps nothing; the cell shows what is stored.
        QCOMPARE(plattform.pieps, 0);
        QCOMPARE(Zelltext(*f, 0, c), ok ? nachher : zelle);
    }

    void eingefuegtInKennspalte()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(!f->SpalteOK(QStringLiteral("7"), 0, 3));
        QVERIFY(!f->SpalteOK(QStringLiteral("7"), 0, 1));
    }

    void eingefuegtOhneKurszeile()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QVERIFY(f->SpalteOK(QStringLiteral("9"), 2, Spalte(NoteS)));
        QCOMPARE(Gespeichert(*f, 2, NoteS), QStringLiteral("9"));
        // The new row stays the window's until the table is saved.
        QVERIFY(!Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 13));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterPruefung)
#include "tst_kursfenster_pruefung.moc"
