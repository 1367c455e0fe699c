// Grade rows as text for and from other programs, without a window or a clipboard.

#include "tabellentext.h"

#include <QTest>

using Zeilen = QList<QStringList>;

class TestTabellentext : public QObject {
    Q_OBJECT
private slots:
    void zeilen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Zeilen>("erwartet");
        QTest::newRow("Zeilenvorschub am Ende") << "12\t3\n09\t0\n"
                                                << Zeilen { { "12", "3" }, { "09", "0" } };
        QTest::newRow("ohne Zeilenende") << "12\t3" << Zeilen { { "12", "3" } };
        QTest::newRow("Windows-Zeilenenden") << "12\t3\r\n09\t0\r\n"
                                             << Zeilen { { "12", "3" }, { "09", "0" } };
        QTest::newRow("alte Mac-Zeilenenden") << "12\r09\r" << Zeilen { { "12" }, { "09" } };
        // An empty line keeps the rows below it in their place.
        QTest::newRow("Leerzeile dazwischen") << "12\n\n09\n" << Zeilen { { "12" }, {}, { "09" } };
        QTest::newRow("leere Felder bleiben") << "\t\t5\n" << Zeilen { { "", "", "5" } };
        QTest::newRow("nur Zeilenende") << "\n" << Zeilen { {} };
        QTest::newRow("leer") << "" << Zeilen { {} };
    }
    void zeilen()
    {
        QFETCH(QString, text);
        QFETCH(Zeilen, erwartet);
        QCOMPARE(Tabellentext::Zeilen(text), erwartet);
    }

    // What the table copies, it takes back as it was.
    void hinUndZurueck()
    {
        const Zeilen zeilen { { "1", "Müller, Anna", "12", "", "4" },
            { "2", "Zoë", "E", "3", "" } };
        const QString text = Tabellentext::Aus(zeilen);
        QCOMPARE(text, QString("1\tMüller, Anna\t12\t\t4\n2\tZoë\tE\t3\t\n"));
        QCOMPARE(Tabellentext::Zeilen(text), zeilen);
    }
};

QTEST_GUILESS_MAIN(TestTabellentext)
#include "tst_tabellentext.moc"
