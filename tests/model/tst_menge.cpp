#include "menge.h"

#include <QTest>

class TestMenge : public QObject {
    Q_OBJECT
private slots:
    void neueMenge()
    {
        Menge m;
        QCOMPARE(m.Ausgeben(), QStringLiteral(","));
        QCOMPARE(m.Anzahl(), 0);
        QVERIFY(m.Leer());
        QCOMPARE(m.Element(1), QString());
        QCOMPARE(m.Element(0), QString());
    }

    void einfuegenOhneDoppelte()
    {
        Menge m;
        m.Einfuegen(qint64(12));
        m.Einfuegen(QStringLiteral("12"));
        QCOMPARE(m.Ausgeben(), QStringLiteral(",12,"));
        QVERIFY(!m.Enthalten(qint64(1)));
        QVERIFY(m.Enthalten(qint64(12)));
        m.Einfuegen(qint64(7));
        QCOMPARE(m.Ausgeben(), QStringLiteral(",12,7,"));
        QCOMPARE(m.Element(2), QStringLiteral("7"));
        QCOMPARE(m.Element(3), QString());
    }

    void blanksUndGrossschreibung()
    {
        Menge m;
        m.Einfuegen(QStringLiteral(" 7 "));
        QVERIFY(m.Enthalten(QStringLiteral("7")));
        QCOMPARE(m.Ausgeben(), QStringLiteral(",7,"));
        m.Leeren();
        m.Einfuegen(QStringLiteral("Abc"));
        QVERIFY(m.Enthalten(QStringLiteral("aBC")));
        m.Einfuegen(QStringLiteral("ABC"));
        QCOMPARE(m.Anzahl(), 1);
        m.Entnehmen(QStringLiteral("abc"));
        QVERIFY(m.Leer());
        // Blanks inside an inserted element stay.
        m.Einfuegen(QStringLiteral("a b"));
        QCOMPARE(m.Ausgeben(), QStringLiteral(",a b,"));
    }

    void entnehmen_data()
    {
        QTest::addColumn<QString>("vorher");
        QTest::addColumn<qint64>("zahl");
        QTest::addColumn<QString>("nachher");
        QTest::newRow("einziges") << ",5," << qint64(5) << ",";
        QTest::newRow("fehlt") << ",3," << qint64(5) << ",3,";
        QTest::newRow("kein Teilstring") << ",15,51," << qint64(5) << ",15,51,";
        QTest::newRow("mitte") << ",1,5,9," << qint64(5) << ",1,9,";
        QTest::newRow("nur das erste") << ",1,1," << qint64(1) << ",1,";
    }
    void entnehmen()
    {
        QFETCH(QString, vorher);
        QFETCH(qint64, zahl);
        QFETCH(QString, nachher);
        Menge m(vorher);
        m.Entnehmen(zahl);
        QCOMPARE(m.Ausgeben(), nachher);
    }

    void setzen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normal");
        QTest::addColumn<qint64>("anzahl");
        QTest::newRow("Blanks") << " 3, 4 ,5" << ",3,4,5," << qint64(3);
        QTest::newRow("leeres Element") << ",," << ",," << qint64(1);
        QTest::newRow("doppelt bleibt") << "1,1" << ",1,1," << qint64(2);
        QTest::newRow("leer") << "" << "," << qint64(0);
    }
    void setzen()
    {
        QFETCH(QString, text);
        QFETCH(QString, normal);
        QFETCH(qint64, anzahl);
        Menge m;
        m.Setzen(text);
        QCOMPARE(m.Ausgeben(), normal);
        QCOMPARE(m.Anzahl(), anzahl);
        QCOMPARE(Menge(text).Ausgeben(), normal);
    }

    void leeresElementEinfuegen()
    {
        Menge m;
        m.Einfuegen(QString());
        QCOMPARE(m.Ausgeben(), QStringLiteral(",,"));
        QCOMPARE(m.Anzahl(), 1);
    }

    void mengenoperationen()
    {
        Menge a(QStringLiteral(",1,2,3,"));
        a.Schnitt(Menge(QStringLiteral(",3,1,")));
        QCOMPARE(a.Ausgeben(), QStringLiteral(",1,3,"));

        Menge b(QStringLiteral(",1,2,"));
        b.MengeEinfuegen(Menge(QStringLiteral(",4,2,3,")));
        QCOMPARE(b.Ausgeben(), QStringLiteral(",1,2,4,3,"));

        b.MengeEntnehmen(Menge(QStringLiteral(",2,9,3,")));
        QCOMPARE(b.Ausgeben(), QStringLiteral(",1,4,"));

        Menge c(QStringLiteral(",5,"));
        c.MengeEinfuegen(Menge());
        c.Schnitt(Menge(QStringLiteral(",5,")));
        QCOMPARE(c.Ausgeben(), QStringLiteral(",5,"));
    }

    void cloneIstUnabhaengig()
    {
        Menge a(QStringLiteral("12,7"));
        Menge b = a.Clone();
        b.Einfuegen(qint64(3));
        a.Entnehmen(qint64(12));
        QCOMPARE(a.Ausgeben(), QStringLiteral(",7,"));
        QCOMPARE(b.Ausgeben(), QStringLiteral(",12,7,3,"));
    }
};

QTEST_GUILESS_MAIN(TestMenge)
#include "tst_menge.moc"
