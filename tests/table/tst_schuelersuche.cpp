// Finding a student by a part of the name: case and accents ignored, the search wrapping
// round from the row it starts at.

#include "schuelersuche.h"

#include <QTest>

class TstSchuelersuche : public QObject {
    Q_OBJECT
private slots:
    void finden_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ab");
        QTest::addColumn<int>("zeile");
        QTest::newRow("Teil") << "üll" << 0 << 1;
        QTest::newRow("ohne Umlaut") << "MULLER" << 0 << 1;
        QTest::newRow("Akzent") << "zoe" << 0 << 1;
        QTest::newRow("ß als ss") << "strassner" << 0 << 2;
        QTest::newRow("ß findet ß") << "Straßn" << 0 << 2;
        QTest::newRow("é") << "rene" << 0 << 3;
        QTest::newRow("ab der Zeile") << "a" << 1 << 2;
        QTest::newRow("herum zum Anfang") << "albers" << 2 << 0;
        QTest::newRow("Leerzeichen außen") << "  dahl " << 0 << 4;
        QTest::newRow("leer") << "" << 0 << -1;
        QTest::newRow("nur Leerzeichen") << "   " << 0 << -1;
        QTest::newRow("kein Treffer") << "xyz" << 0 << -1;
        QTest::newRow("ab außerhalb") << "albers" << 99 << 0;
    }

    void finden()
    {
        QFETCH(QString, text);
        QFETCH(int, ab);
        QFETCH(int, zeile);
        const QStringList namen { QStringLiteral("Albers, Anna"), QStringLiteral("Müller, Zoë"),
            QStringLiteral("Straßner, Jan"), QStringLiteral("Dupont, René"),
            QStringLiteral("Dahl, Dennis") };
        QCOMPARE(Schuelersuche::Finden(namen, text, ab), zeile);
    }

    void ohneNamen() { QCOMPARE(Schuelersuche::Finden({}, QStringLiteral("a")), -1); }
};

QTEST_GUILESS_MAIN(TstSchuelersuche)
#include "tst_schuelersuche.moc"
