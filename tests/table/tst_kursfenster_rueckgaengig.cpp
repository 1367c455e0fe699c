// The course window: undo and redo. Sequences of real key events and clicks, each followed by
// the cells (stored and shown), the changed mark and the state of "Rückgängig" and
// "Wiederholen".

#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QUndoStack>

using namespace Kurstabellentest;

namespace {

const QStringList Eintraege = { QStringLiteral("Note"), QStringLiteral("Fehlstunden"),
    QStringLiteral("unentschuldigte Fehlstunden"), QStringLiteral("Hinweis"),
    QStringLiteral("Klausur"), QStringLiteral("Sonstiges") };

// The cells of course "M" as the file holds them: row → entry → value ("W" for the box).
QMap<QString, QString> Anfang()
{
    QMap<QString, QString> w;
    const QStringList r0 = { "12", "4", "2", "Facharbeit", "11", "x" };
    const QStringList r1 = { "3", "10", "0", "Attest fehlt", "E", "" };
    const QStringList r3 = { "7", "6", "", "", "", "" };
    for (int i = 0; i < Eintraege.size(); ++i) {
        w[QStringLiteral("0:") + Eintraege.at(i)] = r0.at(i);
        w[QStringLiteral("1:") + Eintraege.at(i)] = r1.at(i);
        w[QStringLiteral("2:") + Eintraege.at(i)] = QString();
        w[QStringLiteral("3:") + Eintraege.at(i)] = r3.at(i);
    }
    w[QStringLiteral("0:W")] = QString();
    w[QStringLiteral("1:W")] = QStringLiteral("X");
    w[QStringLiteral("2:W")] = QString();
    w[QStringLiteral("3:W")] = QString();
    return w;
}

int SpalteVon(const QString& name)
{
    return name == QLatin1String("W") ? int(TabellenStruktur.ErsteSpalte) - 1 : Spalte(name);
}

// The key goes where the keyboard is, as the teacher presses it (shortcuts included).
void Kuerzel(Kursfenster& f, Qt::Key taste, Qt::KeyboardModifiers mod = Qt::NoModifier)
{
    QWidget* ziel = QApplication::focusWidget();
    QVERIFY(ziel);
    QVERIFY(ziel->window() == &f);
    QTest::keyClick(ziel, taste, mod);
}

// One step of a sequence: "t:13" types, "Tab", "K:2:Note" clicks a cell, "^Z", "^+Z", "^Y", "W:1"
// clicks the box of row 1, "V:text" pastes text (\t and \n as written) into the open editor.
void Schritt(Kursfenster& f, const QString& s)
{
    if (s.startsWith(QLatin1String("t:"))) {
        Tippen(f, s.mid(2));
    } else if (s == QLatin1String("Tab")) {
        Taste(f, Qt::Key_Tab);
    } else if (s == QLatin1String("^Z")) {
        Kuerzel(f, Qt::Key_Z, Qt::ControlModifier);
    } else if (s == QLatin1String("^+Z")) {
        Kuerzel(f, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (s == QLatin1String("^Y")) {
        Kuerzel(f, Qt::Key_Y, Qt::ControlModifier);
    } else if (s.startsWith(QLatin1String("K:"))) {
        Klick(f, s.section(QLatin1Char(':'), 1, 1).toInt(),
            SpalteVon(s.section(QLatin1Char(':'), 2)));
    } else if (s.startsWith(QLatin1String("W:"))) {
        Klick(f, s.mid(2).toInt(), SpalteVon(QStringLiteral("W")));
    } else if (s.startsWith(QLatin1String("V:"))) {
        QString text = s.mid(2);
        text.replace(QLatin1String("\\t"), QLatin1String("\t"))
            .replace(QLatin1String("\\n"), QLatin1String("\n"));
        QGuiApplication::clipboard()->setText(text);
        Taste(f, Qt::Key_V, Qt::ControlModifier);
    } else {
        QFAIL(qPrintable(QStringLiteral("unbekannter Schritt ") + s));
    }
}

bool Aktiviert(const char* name)
{
    Menue::Instanz().AktivierungAktualisieren();
    return Menue::Instanz().Eintrag(QString::fromLatin1(name))->isEnabled();
}

} // namespace

class TestKursfensterRueckgaengig : public Kursfenstertest {
    Q_OBJECT

    QPointer<Kursfenster> f;

private slots:
    void init()
    {
        Grundzustand();
        QVERIFY(!Kurslistenbauer().Anlegen(ordner.path()).isEmpty());
        f = Oeffnen(QStringLiteral("M"));
        QVERIFY(f);
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(QStringLiteral("Note")), 0));
    }

    void folgen_data()
    {
        QTest::addColumn<QStringList>("schritte");
        QTest::addColumn<QStringList>("aenderungen"); // "row:entry=value"
        QTest::addColumn<bool>("geaendert");
        QTest::addColumn<bool>("rueckgaengig");
        QTest::addColumn<bool>("wiederholen");

        QTest::newRow("nichts") << QStringList {} << QStringList {} << false << false << false;
        QTest::newRow("eine Eingabe") << QStringList { "t:13", "Tab" }
                                      << QStringList { "0:Note=13" } << true << true << false;
        QTest::newRow("zurück") << QStringList { "t:13", "Tab", "^Z" } << QStringList {} << false
                                << false << true;
        QTest::newRow("zurück, Strg+Y") << QStringList { "t:13", "Tab", "^Z", "^Y" }
                                        << QStringList { "0:Note=13" } << true << true << false;
        QTest::newRow("zwei zurück, Strg+Umschalt+Z")
            << QStringList { "t:13", "Tab", "t:5", "Tab", "^Z", "^Z", "^+Z" }
            << QStringList { "0:Note=13" } << true << true << true;
        QTest::newRow("alles zurück")
            << QStringList { "t:13", "Tab", "t:5", "Tab", "t:3", "Tab", "^Z", "^Z", "^Z" }
            << QStringList {} << false << false << true;
        QTest::newRow("wieder bis zum Ende")
            << QStringList { "t:13", "Tab", "t:5", "Tab", "^Z", "^Z", "^Y", "^Y", "^Y" }
            << QStringList { "0:Note=13", "0:Fehlstunden=5" } << true << true << false;
        // Typing that is not yet checked goes first, then the stored change before it.
        QTest::newRow("Tippen zuerst") << QStringList { "t:13", "Tab", "t:9", "^Z", "^Z" }
                                       << QStringList {} << false << false << true;
        // A new change after an undo: what was undone cannot be made again.
        QTest::newRow("neue Eingabe nach Zurück")
            << QStringList { "t:13", "Tab", "^Z", "t:8", "Tab", "^Y" } << QStringList { "0:Note=8" }
            << true << true << false;
        QTest::newRow("abgelehnt ist kein Schritt")
            << QStringList { "t:16", "Tab", "^Z" } << QStringList {} << false << false << false;
        QTest::newRow("gleicher Wert ist kein Schritt")
            << QStringList { "t:12", "Tab" } << QStringList {} << false << false << false;
        QTest::newRow("W") << QStringList { "W:0", "W:1" } << QStringList { "0:W=X", "1:W=" }
                           << true << true << false;
        QTest::newRow("W zurück") << QStringList { "W:0", "W:1", "^Z" } << QStringList { "0:W=X" }
                                  << true << true << true;
        // A paste is one step, whatever it filled; the hours' rule counts inside it.
        QTest::newRow("Einfügen") << QStringList { "V:1\\t20\\t5\\n2\\t4\\t1" }
                                  << QStringList { "0:Note=1", "0:Fehlstunden=20",
                                         "0:unentschuldigte Fehlstunden=5", "1:Note=2",
                                         "1:Fehlstunden=4", "1:unentschuldigte Fehlstunden=1" }
                                  << true << true << false;
        QTest::newRow("Einfügen zurück")
            << QStringList { "t:9", "Tab", "V:1\\t20\\t5\\n2\\t4\\t1", "^Z" }
            << QStringList { "0:Note=9" } << true << true << true;
        QTest::newRow("Einfügen zurück und wieder")
            << QStringList { "V:1\\t20\\t5\\n2\\t4\\t1", "^Z", "^Y" }
            << QStringList { "0:Note=1", "0:Fehlstunden=20", "0:unentschuldigte Fehlstunden=5",
                   "1:Note=2", "1:Fehlstunden=4", "1:unentschuldigte Fehlstunden=1" }
            << true << true << false;
        QTest::newRow("Einfügen ganz abgelehnt")
            << QStringList { "V:16\\t-1" } << QStringList {} << false << false << false;
        // The undo's editor leaves an empty hour cell as it was (no "0" stored on the way).
        QTest::newRow("zurück aus leerem Stundenfeld") << QStringList { "K:2:Note", "t:5", "Tab",
            "^Z" } << QStringList {} << false << false << true;
        QTest::newRow("wieder aus leerem Stundenfeld")
            << QStringList { "K:2:Note", "t:5", "Tab", "^Z", "K:2:Fehlstunden", "^Y" }
            << QStringList { "2:Note=5" } << true << true << false;
        // Undone and made again as often as the teacher likes.
        QTest::newRow("hin und her") << QStringList { "t:e", "Tab", "^Z", "^Y", "^Z", "^Y", "^Z" }
                                     << QStringList {} << false << false << true;
    }

    void folgen()
    {
        QFETCH(QStringList, schritte);
        QFETCH(QStringList, aenderungen);
        QFETCH(bool, geaendert);
        QFETCH(bool, rueckgaengig);
        QFETCH(bool, wiederholen);

        for (const QString& s : schritte) {
            Schritt(*f, s);
            if (QTest::currentTestFailed())
                return;
        }
        QMap<QString, QString> erwartet = Anfang();
        for (const QString& a : aenderungen) {
            const qsizetype gleich = a.indexOf(QLatin1Char('='));
            erwartet[a.left(gleich)] = a.mid(gleich + 1);
        }
        for (auto it = erwartet.cbegin(); it != erwartet.cend(); ++it) {
            const int row = it.key().section(QLatin1Char(':'), 0, 0).toInt();
            const int column = SpalteVon(it.key().section(QLatin1Char(':'), 1));
            QVERIFY(column >= 0);
            QCOMPARE(f->ZellWert(row, column), it.value());
            if (it.key().endsWith(QLatin1String(":W")))
                QCOMPARE(Gewarnt(*f, row), !it.value().isEmpty());
            else
                QCOMPARE(Sichtbar(*f, row, column), it.value());
        }
        QCOMPARE(f->LokalGeaendert(), geaendert);
        QCOMPARE(f->SichernAktion()->isEnabled(), geaendert);
        QCOMPARE(Aktiviert("EditUndo"), rueckgaengig);
        QCOMPARE(Aktiviert("EditRedo"), wiederholen);
        // The figures follow the cells as well.
        QCOMPARE(f->Zahlen().Text(), [&] {
            Kurszahlen z(Daten);
            z.Zeilen(f->meineTabelle()->rowCount());
            for (int i = 0; i < f->meineTabelle()->rowCount(); ++i)
                z.ZeileSetzen(i, f->Zeilenkopie(i) ? &f->Zeilenkopie(i)->Eintraege : nullptr);
            return z.Ergebnis().Text();
        }());
    }

    // The steps in between: typing taken back in the editor, then the stored value.
    void tippenImEditorZuerst()
    {
        Tippen(*f, QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        Tippen(*f, QStringLiteral("9"));
        QVERIFY(Aktiviert("EditUndo"));
        Kuerzel(*f, Qt::Key_Z, Qt::ControlModifier);
        // The editor shows the hours' stored value again; the grade stays.
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(QStringLiteral("Fehlstunden")), 0));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("4"));
        QCOMPARE(f->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QVERIFY(Aktiviert("EditRedo")); // the typing can come back
        Kuerzel(*f, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("9"));
        Kuerzel(*f, Qt::Key_Z, Qt::ControlModifier);
        Kuerzel(*f, Qt::Key_Z, Qt::ControlModifier);
        // The editor went to the grade, which shows its old value.
        QCOMPARE(EditorZelle(*f), QPoint(Spalte(QStringLiteral("Note")), 0));
        QCOMPARE(Editor(*f)->text(), QStringLiteral("12"));
        QVERIFY(!f->LokalGeaendert());
    }

    // The menu items do what the keys do.
    void menue()
    {
        QVERIFY(!Aktiviert("EditUndo"));
        Tippen(*f, QStringLiteral("14"));
        QVERIFY(Aktiviert("EditUndo")); // typed text can be taken back
        QVERIFY(!Aktiviert("EditRedo"));
        Taste(*f, Qt::Key_Tab);
        Menue::Instanz().Eintrag(QStringLiteral("EditUndo"))->trigger();
        QCOMPARE(f->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("12"));
        QVERIFY(!Aktiviert("EditUndo"));
        QVERIFY(Aktiviert("EditRedo"));
        Menue::Instanz().Eintrag(QStringLiteral("EditRedo"))->trigger();
        QCOMPARE(f->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("14"));
        QCOMPARE(Sichtbar(*f, 0, Spalte(QStringLiteral("Note"))), QStringLiteral("14"));
        QCOMPARE(f->Verlauf()->undoText(), QStringLiteral("Note"));
    }

    // A step holds its cell while the columns are moved meanwhile.
    void spalteVerschoben()
    {
        const int note = Spalte(QStringLiteral("Note"));
        const int fehl = Spalte(QStringLiteral("Fehlstunden"));
        Tippen(*f, QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        QVERIFY(f->VerschiebeSpalte(note, fehl));
        QCOMPARE(Spalte(QStringLiteral("Note")), fehl);
        Kuerzel(*f, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->ZellWert(0, fehl), QStringLiteral("12"));
        QCOMPARE(f->ZellWert(0, note), QStringLiteral("4"));
        QCOMPARE(EditorZelle(*f), QPoint(fehl, 0));
        QVERIFY(!f->LokalGeaendert());
    }

    // Each window has its own history; the menu follows the active window.
    void zweiFenster()
    {
        Tippen(*f, QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        QPointer<Kursfenster> d = Oeffnen(QStringLiteral("D"));
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QVERIFY(!Aktiviert("EditUndo"));
        Kuerzel(*d, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QVERIFY(Aktiviert("EditUndo"));
    }

    // A successful save ends the history; the window is closed then.
    void sichernBeendetVerlauf()
    {
        Tippen(*f, QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        QVERIFY(f->Verlauf()->canUndo());
        QCOMPARE(f->TabelleSichern(), Kursfenster::Sicherung::Gesichert);
        QVERIFY(!f->Verlauf()->canUndo());
        QVERIFY(!f->LokalGeaendert());
        QVERIFY(!Aktiviert("EditUndo"));
        // Saved without a word.
        QCOMPARE(plattform.protokoll, QStringList());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterRueckgaengig)
#include "tst_kursfenster_rueckgaengig.moc"
