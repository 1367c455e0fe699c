// The course window: finding a student with Ctrl+F (case and accents ignored, Return to the
// next, Escape back into the table) and moving by pages and to the first and last row.

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace Kurstabellentest;

class TestKursfensterSuche : public Kursfenstertest {
    Q_OBJECT

private:
    // Course "M": Albers, Anna; Brandt, Ben; Cordes, Clara; Dahl, Dennis; Müller, Zoë; then
    // "Schüler 101" .. with weitere more.
    QPointer<Kursfenster> Oeffne(int weitere = 0)
    {
        Kurslistenbauer liste;
        liste.Schueler(201, QStringLiteral("Müller, Zoë"), QStringLiteral("M"));
        if (weitere > 0)
            liste.WeitereSchueler(QStringLiteral("M"), 101, weitere);
        if (liste.Anlegen(ordner.path()).isEmpty())
            return nullptr;
        QPointer<Kursfenster> f = Kurstabellentest::Oeffnen(QStringLiteral("M"));
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f))
            return nullptr;
        return f;
    }

    // Types text key by key, umlauts included (as a German keyboard delivers them).
    static void Tippe(QWidget* w, const QString& text)
    {
        for (const QChar z : text) {
            QKeyEvent druck(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(z));
            QApplication::sendEvent(w, &druck);
            QKeyEvent los(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(z));
            QApplication::sendEvent(w, &los);
        }
    }

    static int GewaehlteZeile(const Kursfenster& f)
    {
        const QModelIndexList zeilen = f.meineTabelle()->selectionModel()->selectedRows();
        return zeilen.size() == 1 ? zeilen.first().row() : -1;
    }

private slots:
    void suchen_data()
    {
        // What is typed, then how often Return is pressed; the row found (-1: none).
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("weiter");
        QTest::addColumn<int>("zeile");
        QTest::newRow("Anfang") << "cord" << 0 << 2;
        QTest::newRow("groß geschrieben") << "DAHL" << 0 << 3;
        QTest::newRow("ohne Umlaut") << "muller" << 0 << 4;
        QTest::newRow("ohne Akzent") << "zoe" << 0 << 4;
        QTest::newRow("mit Umlaut") << "Mül" << 0 << 4;
        QTest::newRow("Vorname") << "ben" << 0 << 1;
        QTest::newRow("erster Treffer") << "er" << 0 << 0;
        QTest::newRow("Return: nächster") << "er" << 1 << 4;
        QTest::newRow("Return: wieder von vorn") << "er" << 2 << 0;
        QTest::newRow("kein Treffer") << "xyz" << 0 << -1;
        QTest::newRow("kein Treffer, Return") << "xyz" << 1 << -1;
    }

    void suchen()
    {
        QFETCH(QString, text);
        QFETCH(int, weiter);
        QFETCH(int, zeile);
        QPointer<Kursfenster> f = Oeffne();
        QVERIFY(f);
        const int note = Spalte(QStringLiteral("Note"));
        QCOMPARE(EditorZelle(*f), QPoint(note, 0));
        QLineEdit* feld = f->Suchfeld();
        QVERIFY(feld && !feld->isVisible());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(feld->isVisible());
        QCOMPARE(QApplication::focusWidget(), feld);
        Tippe(feld, text);
        for (int i = 0; i < weiter; ++i)
            QTest::keyClick(feld, Qt::Key_Return);
        QCOMPARE(f->Suchtreffer(), zeile);
        QCOMPARE(GewaehlteZeile(*f), zeile);
        // No match: the field says so, nothing else moves.
        QCOMPARE(
            feld->palette().color(QPalette::Base) != f->palette().color(QPalette::Base), zeile < 0);
        QCOMPARE(plattform.pieps, 0);

        // Escape: back into the table, the editor on the student found, in the grade column.
        QTest::keyClick(feld, Qt::Key_Escape);
        QVERIFY(!feld->isVisible());
        QCOMPARE(EditorZelle(*f), QPoint(note, zeile < 0 ? 0 : zeile));
        QCOMPARE(QApplication::focusWidget(), Editor(*f));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(
            Gespeichert(*f, zeile < 0 ? 0 : zeile, QStringLiteral("Note")), QStringLiteral("7"));
    }

    void suchenPrueftDieOffeneZelle()
    {
        // A value typed and not yet checked is checked when the search field takes the keys:
        // a refused one beeps and keeps the old value.
        QPointer<Kursfenster> f = Oeffne();
        QVERIFY(f);
        Tippen(*f, QStringLiteral("99"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(Gespeichert(*f, 0, QStringLiteral("Note")), QStringLiteral("12"));
    }

    void seitenUndEnden_data()
    {
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("mod");
        QTest::addColumn<int>("von");
        QTest::addColumn<int>("nach"); // -1: the last row, -2: von + one page, -3: von - page
        QTest::newRow("Strg+Ende") << int(Qt::Key_End) << int(Qt::ControlModifier) << 0 << -1;
        QTest::newRow("Strg+Pos1") << int(Qt::Key_Home) << int(Qt::ControlModifier) << 20 << 0;
        QTest::newRow("Bild ab") << int(Qt::Key_PageDown) << 0 << 0 << -2;
        QTest::newRow("Bild auf") << int(Qt::Key_PageUp) << 0 << 30 << -3;
        QTest::newRow("Bild auf am Anfang") << int(Qt::Key_PageUp) << 0 << 1 << 0;
        QTest::newRow("Bild ab am Ende") << int(Qt::Key_PageDown) << 0 << 33 << -1;
        // Home and End alone move the cursor in the editor.
        QTest::newRow("Pos1") << int(Qt::Key_Home) << 0 << 5 << 5;
    }

    void seitenUndEnden()
    {
        QFETCH(int, taste);
        QFETCH(int, mod);
        QFETCH(int, von);
        QFETCH(int, nach);
        QPointer<Kursfenster> f = Oeffne(30); // 35 rows
        QVERIFY(f);
        const int note = Spalte(QStringLiteral("Note"));
        const int letzte = f->meineTabelle()->rowCount() - 1;
        QCOMPARE(letzte, 34);
        const int seite = f->meineTabelle()->viewport()->height() / Kurstabelle::Zeilenhoehe - 1;
        QVERIFY(seite >= 1);
        f->AktiviereEditZelle(von, note);
        Tippen(*f, QStringLiteral("6"));
        Taste(*f, Qt::Key(taste), Qt::KeyboardModifiers(mod));
        const int erwartet = nach == -1 ? letzte
            : nach == -2                ? qMin(letzte, von + seite)
            : nach == -3                ? qMax(0, von - seite)
                                        : nach;
        QCOMPARE(EditorZelle(*f), QPoint(note, erwartet));
        if (erwartet != von) // the value typed was checked and stored on the way
            QCOMPARE(Gespeichert(*f, von, QStringLiteral("Note")), QStringLiteral("6"));
        // The row reached is in sight.
        const QRect sichtbar = f->meineTabelle()->viewport()->rect();
        QVERIFY(sichtbar.intersects(
            f->meineTabelle()->visualRect(f->meineTabelle()->model()->index(erwartet, note))));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterSuche)
#include "tst_kursfenster_suche.moc"
