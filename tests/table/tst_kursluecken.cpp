// What a course lacks before its result file leaves, over the standard list: the students
// without grade and the exam students without exam grade, the names said in the order of the
// course window and cut after three with "und N weitere".

#include "kurslistenbauer.h"
#include "kursluecken.h"

#include <QTest>

class TstKursluecken : public QObject {
    Q_OBJECT
private slots:
    void luecken_data()
    {
        // In "M" (11 Albers, 12 Brandt, 13 Cordes, 14 Dahl; exams 11 and 13) only 13 lacks
        // its row; 11 has an exam grade, 13 none.
        QTest::addColumn<int>("fall");
        QTest::addColumn<QStringList>("ohneNote");
        QTest::addColumn<QStringList>("ohneKlausur");
        QTest::addColumn<QString>("text");

        QTest::newRow("Standard: ein Schüler ohne Zeile")
            << 0 << QStringList { "Cordes, Clara" } << QStringList { "Cordes, Clara" }
            << "„Note“ fehlt bei 1 von 4 Schülern: Cordes, Clara.\n"
               "„Klausur“ fehlt bei 1 von 2 Schülern mit Klausur: Cordes, Clara.";
        QTest::newRow("vollständig") << 1 << QStringList() << QStringList() << QString();
        QTest::newRow("Note aus Leerzeichen fehlt, Klausur da")
            << 2 << QStringList { "Albers, Anna" } << QStringList()
            << "„Note“ fehlt bei 1 von 4 Schülern: Albers, Anna.";
        QTest::newRow("nur die Klausur fehlt")
            << 3 << QStringList() << QStringList { "Albers, Anna" }
            << "„Klausur“ fehlt bei 1 von 2 Schülern mit Klausur: Albers, Anna.";
        QTest::newRow("viele: und 3 weitere")
            << 4
            << QStringList { "Cordes, Clara", "Schüler 101", "Schüler 102", "Schüler 103",
                   "Schüler 104", "Schüler 105" }
            << QStringList { "Cordes, Clara" }
            << "„Note“ fehlt bei 6 von 9 Schülern: Cordes, Clara; Schüler 101; Schüler 102 "
               "und 3 weitere.\n"
               "„Klausur“ fehlt bei 1 von 2 Schülern mit Klausur: Cordes, Clara.";
        QTest::newRow("ohne Klausurvermerk zählt die Klausur nicht")
            << 5 << QStringList { "Cordes, Clara" } << QStringList()
            << "„Note“ fehlt bei 1 von 4 Schülern: Cordes, Clara.";
    }

    void luecken()
    {
        QFETCH(int, fall);
        QFETCH(QStringList, ohneNote);
        QFETCH(QStringList, ohneKlausur);
        QFETCH(QString, text);
        Kurslistenbauer liste;
        switch (fall) {
        case 1:
            liste.Vollstaendig("M");
            break;
        case 2:
            liste.Vollstaendig("M").Wert("M", 11, "Note", "  ");
            break;
        case 3:
            liste.Vollstaendig("M").Wert("M", 11, "Klausur", "");
            break;
        case 4:
            liste.WeitereSchueler("M", 101, 5, false);
            break;
        case 5:
            liste.Aendern(
                [](Datenbestand& d) { d.alleKurse.Zeigen(1)->KlausurSchueler = Menge(); });
            break;
        default:
            break;
        }
        const Datenbestand d = liste.Bauen();
        const Kursluecken l = Kursluecken::FuerKurs(d, *d.alleKurse.Zeigen(1));
        QCOMPARE(l.ohneNote, ohneNote);
        QCOMPARE(l.ohneKlausur, ohneKlausur);
        QCOMPARE(l.Vollstaendig(), ohneNote.isEmpty() && ohneKlausur.isEmpty());
        QCOMPARE(l.Text(), text);
    }

    void namen_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("text");
        QTest::newRow("einer") << 1 << "N1";
        QTest::newRow("drei") << 3 << "N1; N2; N3";
        // One more than shown is said by name: "und 1 weitere" would take as much room.
        QTest::newRow("vier") << 4 << "N1; N2; N3; N4";
        QTest::newRow("fünf") << 5 << "N1; N2; N3 und 2 weitere";
        QTest::newRow("zwanzig") << 20 << "N1; N2; N3 und 17 weitere";
    }

    void namen()
    {
        QFETCH(int, anzahl);
        QFETCH(QString, text);
        QStringList namen;
        for (int i = 1; i <= anzahl; ++i)
            namen.append(QStringLiteral("N%1").arg(i));
        QCOMPARE(Kursluecken::Namen(namen), text);
    }

    void ohneNotenspalte()
    {
        // A catalogue without any grade column asks for nothing.
        const Datenbestand d = Kurslistenbauer().OhneKatalog().Bauen();
        const Kursluecken l = Kursluecken::FuerKurs(d, *d.alleKurse.Zeigen(1));
        QVERIFY(l.Vollstaendig());
        QCOMPARE(l.notenSpalte, QString());
    }
};

QTEST_GUILESS_MAIN(TstKursluecken)
#include "tst_kursluecken.moc"
