#include "hilfsmittel.h"
#include "sichererdateiname.h"

#include <QTest>

class TestHilfsmittel : public QObject {
    Q_OBJECT
private slots:
    void kommaVorneKommaHinten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("leer") << ""
                              << ",";
        QTest::newRow("nur Blanks") << "   "
                                    << ",";
        QTest::newRow("ein Element") << "a"
                                     << ",a,";
        QTest::newRow("Blanks rundherum") << "  a, b  "
                                          << ",a,b,";
        QTest::newRow("schon normal") << ",a,"
                                      << ",a,";
        QTest::newRow("Komma und Blank am Ende") << "a, "
                                                 << ",a,";
        QTest::newRow("Blank im Element") << "x y"
                                          << ",xy,";
        QTest::newRow("nur Komma") << ","
                                   << ",";
        QTest::newRow("Tab innen bleibt") << "a\tb"
                                          << ",a\tb,";
        QTest::newRow("Blank vor Komma am Anfang") << " ,a"
                                                   << ",a,";
    }
    void kommaVorneKommaHinten()
    {
        QFETCH(QString, text);
        QFETCH(QString, erwartet);
        QCOMPARE(Hilfsmittel::KommaVorneKommaHinten(text), erwartet);
    }

    void noSpace()
    {
        QCOMPARE(Hilfsmittel::NoSpace(QStringLiteral(" a b\tc ")), QStringLiteral("ab\tc"));
        QCOMPARE(Hilfsmittel::NoSpace(QString()), QString());
    }

    void zweistellig_data()
    {
        QTest::addColumn<qint64>("zahl");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("0") << qint64(0) << "00";
        QTest::newRow("7") << qint64(7) << "07";
        QTest::newRow("9") << qint64(9) << "09";
        QTest::newRow("10") << qint64(10) << "10";
        QTest::newRow("2025") << qint64(2025) << "2025";
    }
    void zweistellig()
    {
        QFETCH(qint64, zahl);
        QFETCH(QString, erwartet);
        QCOMPARE(Hilfsmittel::ZahlAlsZweistelligerString(zahl), erwartet);
    }

    void datum()
    {
        QCOMPARE(Hilfsmittel::ErzeugeStringAusDateTime(QDateTime(QDate(2025, 3, 5), QTime(23, 59))),
            QStringLiteral("05.03.2025"));
        QCOMPARE(Hilfsmittel::ErzeugeStringAusDateTime(QDateTime(QDate(1999, 12, 31), QTime(0, 0))),
            QStringLiteral("31.12.1999"));
    }

    void chiffre_data()
    {
        QTest::addColumn<QString>("klar");
        QTest::addColumn<QString>("verschluesselt");
        QTest::newRow("leer") << ""
                              << "";
        QTest::newRow("abc") << "abc"
                             << "dfh";
        // U+FEFC scrambles to U+FEFF, which must stay a character, not vanish as a BOM.
        QTest::newRow("wird zu U+FEFF") << QString(QChar(0xFEFC)) + QStringLiteral("a")
                                        << QString(QChar(0xFEFF)) + QStringLiteral("e");
        QTest::newRow("Umlaut") << QStringLiteral("ü") << QString(QChar(0xFC + 3));
        // A character outside the basic plane counts as one character, not two.
        QTest::newRow("Emoji dann a")
            << QString::fromUcs4(U"\U0001F600a") << QString::fromUcs4(U"\U0001F603e");
    }
    void chiffre()
    {
        QFETCH(QString, klar);
        QFETCH(QString, verschluesselt);
        QCOMPARE(Hilfsmittel::Chiffre(klar), verschluesselt);
        QCOMPARE(Hilfsmittel::DeChiffre(verschluesselt), klar);
    }

    void chiffreGrenzen()
    {
        // Moving into the surrogate range or past the last code point cannot be written.
        QVERIFY(!Hilfsmittel::ChiffreMoeglich(QString(QChar(0xD7FD))));
        QVERIFY(Hilfsmittel::ChiffreMoeglich(QString(QChar(0xD7FC))));
        QVERIFY(!Hilfsmittel::ChiffreMoeglich(QString::fromUcs4(U"\U0010FFFE")));
        // Unscrambling text that no scrambling made gives the replacement character.
        QCOMPARE(Hilfsmittel::DeChiffre(QStringLiteral("a")), QStringLiteral("^"));
        QCOMPARE(Hilfsmittel::DeChiffre(QString(QChar(1))), QString(QChar(0xFFFD)));
    }

    void dateiname_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        // Dots inside a name stay: "Q1.1" is the half-year, not an extension.
        QTest::newRow("Fenstertitel") << "Q1.1 - Mathematik - LK1 - Mü"
                                      << "Q1.1 - Mathematik - LK1 - Mü";
        QTest::newRow("Schrägstriche") << "Q1/2 - Deutsch\\GK"
                                       << "Q1-2 - Deutsch-GK";
        QTest::newRow("Windows-Zeichen") << "a:b*c?d\"e<f>g|h"
                                         << "a-b-c-d-e-f-g-h";
        QTest::newRow("Steuerzeichen") << "Kurs\tA\nB"
                                       << "Kurs-A-B";
        QTest::newRow("Ränder") << "  ..Kurs. "
                                << "Kurs";
        QTest::newRow("nur Punkte") << " . . "
                                    << "";
        QTest::newRow("Gerätename") << "aux. "
                                    << "-aux";
        QTest::newRow("leer") << ""
                              << "";
        QTest::newRow("Unicode bleibt") << "Łukasik – Zoë"
                                        << "Łukasik – Zoë";
    }
    void dateiname()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(SichererDateiname::Aus(text, SichererDateiname::Druckdatei()), name);
    }
};

QTEST_GUILESS_MAIN(TestHilfsmittel)
#include "tst_hilfsmittel.moc"
