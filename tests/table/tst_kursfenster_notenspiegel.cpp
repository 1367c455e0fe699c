// The course window's overview of the grades ("Notenspiegel"), for course "M" checked by
// hand: opened by a click on the figures and by Ctrl+Shift+N (non-modal, once per window),
// the numbers of the grade and of the exam column, following a stored change, "Kopieren" to
// the real clipboard, Escape; and the bars as the window draws them.

#include "fenstertest.h"
#include "guitest.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "notenbalken.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Kurstabellentest;

namespace {

// Course "M": grades 12, 3 (a deficit), none, 7; exam grades 11, "E", none, none, where
// the first and the third student write the exam: the exam column counts those two and the
// second, who has an exam grade.
const QString NoteAmAnfang
    = QStringLiteral("4 Schüler  ·  3 eingetragen, 1 fehlt  ·  Schnitt 7,3 Punkte  ·  1 Defizit");
const QString KlausurAmAnfang
    = QStringLiteral("3 Schüler  ·  2 eingetragen, 1 fehlt  ·  Schnitt 11 Punkte  ·  0 Defizite");

// The window's table as "grade:count" for the counts that are not 0.
QString Besetzt(const QTableWidget& t)
{
    QStringList b;
    for (int k = 0; k < t.columnCount(); ++k) {
        const QString anzahl = t.item(0, k) ? t.item(0, k)->text() : QString();
        if (anzahl != QLatin1String("0"))
            b.append(t.horizontalHeaderItem(k)->text() + QLatin1Char(':') + anzahl);
    }
    return b.join(QLatin1Char(' '));
}

} // namespace

class TestKursfensterNotenspiegel : public Kursfenstertest {
    Q_OBJECT

    QPointer<Kursfenster> f;

    Notenspiegelfenster* Oeffnen()
    {
        QLabel* zahlen = f->Statuszeile()->findChild<QLabel*>(QStringLiteral("Kurszahlen"));
        if (!zahlen)
            return nullptr;
        QTest::mouseClick(zahlen, Qt::LeftButton);
        return f->NotenspiegelFenster();
    }

private slots:
    void init()
    {
        Grundzustand();
        QVERIFY(!Kurslistenbauer().Anlegen(ordner.path()).isEmpty());
        f = Kurstabellentest::Oeffnen(QStringLiteral("M"));
        QVERIFY(f);
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
    }
    void cleanup() { Aufraeumen(); }

    void klickAufDieZahlen()
    {
        QVERIFY(!f->NotenspiegelFenster());
        Notenspiegelfenster* n = Oeffnen();
        QVERIFY(n);
        QVERIFY(n->isVisible());
        QVERIFY(!n->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        // Beside the course window, on the screen.
        QVERIFY(!n->frameGeometry().intersects(f->frameGeometry()));
        QVERIFY(n->screen()->availableGeometry().contains(n->frameGeometry()));
        QCOMPARE(n->windowTitle(), QStringLiteral("Notenspiegel – 12.1 - Mathematik - LK2 - Mü"));
        // The grade column first, then the exam column.
        QComboBox* wahl = n->Spaltenwahl();
        QCOMPARE(wahl->count(), 2);
        QCOMPARE(wahl->itemText(0), QStringLiteral("Note"));
        QCOMPARE(wahl->itemText(1), QStringLiteral("Klausur"));
        QVERIFY(wahl->isVisible());
        QCOMPARE(Besetzt(*n->Tabelle()), QStringLiteral("12:1 7:1 3:1"));
        QCOMPARE(n->Tabelle()->columnCount(), 17); // 15 … 0, E
        QCOMPARE(n->Tabelle()->horizontalHeaderItem(16)->text(), QStringLiteral("E"));
        QCOMPARE(n->Zusammenfassung()->text(), NoteAmAnfang);
        // The same as the status line counts.
        QCOMPARE(n->Aktuell()->zahlen.Text(), f->Zahlen().Text());
        QCOMPARE(n->Balken()->accessibleDescription().count(QStringLiteral(": 1")), 3);

        n->SpalteWaehlen(1);
        QCOMPARE(Besetzt(*n->Tabelle()), QStringLiteral("11:1 E:1"));
        QCOMPARE(n->Zusammenfassung()->text(), KlausurAmAnfang);

        // A second click brings the same window to the front.
        QCOMPARE(Oeffnen(), n);
        QCOMPARE(f->findChildren<Notenspiegelfenster*>().size(), 1);
        QCOMPARE(n->Spalte(), 1);
    }

    void tastenkuerzel()
    {
        // From the cell editor, where the teacher types.
        QVERIFY(Editor(*f));
        QTest::keyClick(Editor(*f), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        Notenspiegelfenster* n = f->NotenspiegelFenster();
        QVERIFY(n);
        QVERIFY(n->isVisible());
        QCOMPARE(n->Zusammenfassung()->text(), NoteAmAnfang);
        // Escape closes it; the course window stays.
        QVERIFY(QTest::qWaitForWindowActive(n));
        QTest::keyClick(n, Qt::Key_Escape);
        QVERIFY(!n->isVisible());
        QVERIFY(f->isVisible());
    }

    void folgtDerTabelle()
    {
        Notenspiegelfenster* n = Oeffnen();
        QVERIFY(n);
        // Row 2 (no grade yet) gets 1: (12 + 3 + 1 + 7) / 4 = 5,75; 3 and 1 are deficits.
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        Klick(*f, 2, Spalte(QStringLiteral("Note")));
        Tippen(*f, QStringLiteral("1"));
        QCOMPARE(n->Zusammenfassung()->text(), NoteAmAnfang); // typed, not yet stored
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Besetzt(*n->Tabelle()), QStringLiteral("12:1 7:1 3:1 1:1"));
        QCOMPARE(n->Zusammenfassung()->text(),
            QStringLiteral(
                "4 Schüler  ·  4 eingetragen, 0 fehlen  ·  Schnitt 5,8 Punkte  ·  2 Defizite"));
        // Undo counts too.
        QTest::keyClick(Editor(*f), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(n->Zusammenfassung()->text(), NoteAmAnfang);
    }

    void kopieren()
    {
        Notenspiegelfenster* n = Oeffnen();
        QVERIFY(n);
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        QTest::mouseClick(n->KopierenKnopf(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(),
            QStringLiteral("Notenspiegel\t12.1 - Mathematik - LK2 - Mü\tNote\n"
                           "Note\t15\t14\t13\t12\t11\t10\t9\t8\t7\t6\t5\t4\t3\t2\t1\t0\tE\n"
                           "Anzahl\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0\t0\t0\t1\t0\t0\t0\t0\n"
                           "Schüler\t4\n"
                           "eingetragen\t3\n"
                           "fehlen\t1\n"
                           "Schnitt\t7,3\n"
                           "Defizite\t1\n"));
        QCOMPARE(n->findChild<QLabel*>(QStringLiteral("NotenspiegelKopiert"))->text(),
            QStringLiteral("In die Zwischenablage kopiert."));
        // The exam column copies its own numbers.
        n->SpalteWaehlen(1);
        QTest::mouseClick(n->KopierenKnopf(), Qt::LeftButton);
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY2(text.startsWith(
                     QStringLiteral("Notenspiegel\t12.1 - Mathematik - LK2 - Mü\tKlausur\n")),
            qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\nSchnitt\t11\n")));
    }

    // The bars as drawn: the highest count reaches the top, a bar of 0 has no height, and
    // every bar's count is written (no colour needed to read it).
    void balkenGezeichnet()
    {
        Notenspiegelfenster* n = Oeffnen();
        QVERIFY(n);
        Notenbalken* b = n->Balken();
        b->resize(400, 200);
        const QColor balken = b->palette().color(QPalette::Highlight);
        const auto farbig = [b, balken] {
            QImage bild(b->size(), QImage::Format_RGB32);
            b->render(&bild);
            int n = 0;
            for (int y = 0; y < bild.height(); ++y)
                for (int x = 0; x < bild.width(); ++x)
                    n += bild.pixelColor(x, y) == balken;
            return n;
        };
        // Three bars of count 1 (the deficit's hatched) in the palette's highlight.
        QVERIFY2(farbig() > 100, qPrintable(QString::number(farbig())));
        // The exam column: 11 once, "E" once in the colour of the grades without value.
        n->SpalteWaehlen(1);
        const int klausur = farbig();
        QVERIFY(klausur > 0);
        // Nothing counted, no bar.
        Notenspiegel leer = *n->Aktuell();
        for (Notenspiegel::Stufe& s : leer.stufen)
            s.anzahl = 0;
        b->Setzen(leer);
        QCOMPARE(farbig(), 0);
        QVERIFY(b->sizeHint().width() > 17 * b->fontMetrics().horizontalAdvance("00"));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterNotenspiegel)
#include "tst_kursfenster_notenspiegel.moc"
