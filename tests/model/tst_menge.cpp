#include "menge.h"

#include <QTest>

#include <limits>

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
        QTest::newRow("Blanks") << " 3, 4 ,5"
                                << ",3,4,5," << qint64(3);
        QTest::newRow("leeres Element") << ",,"
                                        << ",," << qint64(1);
        QTest::newRow("doppelt bleibt") << "1,1"
                                        << ",1,1," << qint64(2);
        QTest::newRow("leer") << ""
                              << "," << qint64(0);
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

    void zahlenWieTexte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("leer") << ",";
        QTest::newRow("einfach") << ",12,7,";
        QTest::newRow("führende Null und Plus") << ",07,+7,-0,";
        QTest::newRow("negativ und groß") << ",-3,9223372036854775807,-9223372036854775808,";
        QTest::newRow("Tab und Buchstaben") << ",\t8,8\t,12a,a12,,";
        QTest::newRow("doppelt") << ",5,5,6,";
        QTest::newRow("Ziffern anderer Schriften") << QStringLiteral(",\u0665,\uFF15,5,");
    }
    void zahlenWieTexte()
    {
        // A number asks for its decimal text: Enthalten, Einfuegen, Entnehmen and the set of
        // numbers of a set answer as the same operations with QString::number do.
        QFETCH(QString, text);
        const Menge m(text);
        const QSet<qint64> zahlen = m.Zahlen();
        const QList<qint64> proben = { 0, 5, 6, 7, 8, 12, -3, 1, 70, 9223372036854775807LL,
            std::numeric_limits<qint64>::min() };
        for (qint64 n : proben) {
            QCOMPARE(m.Enthalten(n), m.Enthalten(QString::number(n)));
            QCOMPARE(zahlen.contains(n), m.Enthalten(n));
            Menge a = m, b = m;
            a.Entnehmen(n);
            b.Entnehmen(QString::number(n));
            QCOMPARE(a.Ausgeben(), b.Ausgeben());
            a = m;
            b = m;
            a.Einfuegen(n);
            b.Einfuegen(QString::number(n));
            QCOMPARE(a.Ausgeben(), b.Ausgeben());
        }
        for (qint64 n : zahlen)
            QVERIFY(m.Enthalten(QString::number(n)));
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
