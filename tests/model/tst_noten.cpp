#include "datenbestand.h"

#include <QTest>

// The grade scale and the deficit rules.
class TestNoten : public QObject {
    Q_OBJECT

    Datenbestand d;

private slots:
    void init()
    {
        d = Datenbestand();
        d.zNoten = { Note(QStringLiteral("1+"), QStringLiteral("sehr gut plus"), 15,
                         QStringLiteral("15")),
            Note(QStringLiteral("ab"), QStringLiteral("erste"), 7, QString()),
            Note(QStringLiteral("AB"), QStringLiteral("zweite"), 8, QString()),
            Note(QStringLiteral("5"), QStringLiteral("mangelhaft"), 4, QStringLiteral("4")),
            Note(QStringLiteral("5-"), QStringLiteral("mangelhaft minus"), 5, QStringLiteral("5")),
            Note(QStringLiteral("6"), QStringLiteral("ungenügend"), 0, QStringLiteral("0")),
            Note(QStringLiteral("neg"), QStringLiteral("negativ"), -1, QString()) };
        d.mitDefiziten = true;
        d.DefizitgrenzeEPH = 4;
        d.DefizitgrenzeQ = 5;
    }

    void suche_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("wert");
        QTest::addColumn<QString>("kuerzel");
        QTest::newRow("leer") << "" << true << qint64(-100) << "";
        QTest::newRow("genau") << "1+" << true << qint64(15) << "1+";
        QTest::newRow("andere Schreibung") << "Ab" << true << qint64(7) << "ab";
        QTest::newRow("erste gewinnt") << "AB" << true << qint64(7) << "ab";
        QTest::newRow("Blank davor") << " 5" << false << qint64(-100) << "";
        QTest::newRow("Blank danach") << "5 " << false << qint64(-100) << "";
        QTest::newRow("unbekannt") << "7" << false << qint64(-100) << "";
        QTest::newRow("Teil eines Kuerzels") << "1" << false << qint64(-100) << "";
    }
    void suche()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, wert);
        QFETCH(QString, kuerzel);
        QCOMPARE(d.NoteOK(text), ok);
        QCOMPARE(d.NotenWert(text), wert);
        QCOMPARE(d.NotenKuerzel(text), kuerzel);
    }

    void leereSkala()
    {
        Datenbestand leer;
        QVERIFY(leer.NoteOK(QString()));
        QVERIFY(!leer.NoteOK(QStringLiteral("1")));
        QCOMPARE(leer.NotenWert(QStringLiteral("1")), qint64(-100));
    }

    void defizit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("halbjahr");
        QTest::addColumn<bool>("defizit");
        QTest::newRow("leer") << "" << qint64(3) << false;
        QTest::newRow("Grenze EPH") << "5" << qint64(1) << true;
        QTest::newRow("über Grenze EPH") << "5-" << qint64(2) << false;
        QTest::newRow("Grenze Q") << "5-" << qint64(3) << true;
        QTest::newRow("Q letztes Halbjahr") << "5-" << qint64(7) << true;
        QTest::newRow("über Grenze Q") << "ab" << qint64(4) << false;
        QTest::newRow("Wert 0 Halbjahr 0") << "6" << qint64(0) << true;
        QTest::newRow("Wert 4 Halbjahr 0") << "5" << qint64(0) << false;
        QTest::newRow("Wert 0 Halbjahr 8") << "6" << qint64(8) << true;
        QTest::newRow("negativ nie") << "neg" << qint64(3) << false;
        QTest::newRow("unbekannt nie") << "xyz" << qint64(3) << false;
    }
    void defizit()
    {
        QFETCH(QString, text);
        QFETCH(qint64, halbjahr);
        QFETCH(bool, defizit);
        QCOMPARE(d.DefizitNote(text, halbjahr), defizit);
    }

    void defizitGrenzeNull()
    {
        d.DefizitgrenzeQ = 0;
        QVERIFY(d.DefizitNote(QStringLiteral("6"), 3));
        QVERIFY(!d.DefizitNote(QStringLiteral("5"), 3));
    }

    void spalte_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("bezeichnung");
        QTest::addColumn<bool>("mitDefiziten");
        QTest::addColumn<bool>("rot");
        QTest::newRow("Note") << ""
                              << "Note" << true << true;
        QTest::newRow("note klein") << ""
                                    << "note" << true << true;
        QTest::newRow("mit ID") << "K1"
                                << "Klausur" << true << true;
        QTest::newRow("Hinweis") << ""
                                 << "Hinweis" << true << false;
        QTest::newRow("Fehlstunden") << ""
                                     << "Fehlstunden" << true << false;
        QTest::newRow("ohne Defizite") << ""
                                       << "Note" << false << false;
        QTest::newRow("ohne Defizite mit ID") << "K1"
                                              << "Klausur" << false << false;
    }
    void spalte()
    {
        QFETCH(QString, id);
        QFETCH(QString, bezeichnung);
        QFETCH(bool, mitDefiziten);
        QFETCH(bool, rot);
        d.mitDefiziten = mitDefiziten;
        QCOMPARE(d.NoteIstDefizit(Eintrag(id, bezeichnung), QStringLiteral("6"), 3), rot);
        QVERIFY(!d.NoteIstDefizit(Eintrag(id, bezeichnung), QStringLiteral("1+"), 3));
    }
};

QTEST_GUILESS_MAIN(TestNoten)
#include "tst_noten.moc"
