// The pieces of the file tool in-process: the JSON writer and the result-file reader.

#include "dateihelfer.h"
#include "ergebnisdatei.h"
#include "grenzwertliste.h"
#include "jsonausgabe.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestJsonAbbild : public QObject {
    Q_OBJECT

private slots:
    // Every text comes back unchanged through a JSON parser.
    void zitiert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("leer") << QString();
        QTest::newRow("Umlaute") << QStringLiteral("Müller, Jürgen – „gut“");
        QTest::newRow("Anführungszeichen und Backslash") << QStringLiteral("a\"b\\c\\\"");
        QTest::newRow("Steuerzeichen") << QStringLiteral("\n\r\t\b\f\u0001\u001f\u007f");
        QTest::newRow("NUL") << QString(QChar(0)) + QStringLiteral("x");
        QTest::newRow("außerhalb der Grundebene") << QStringLiteral("😀a😀");
        QTest::newRow("Zeilentrenner") << QStringLiteral("\u2028\u2029");
        QTest::newRow("Escape am Ende") << QStringLiteral("abc\n");
        QTest::newRow("U+FEFF am Anfang") << QStringLiteral("\uFEFFQ1");
    }
    void zitiert()
    {
        QFETCH(QString, text);
        const QByteArray json = "[" + JsonAusgabe::Zitiert(text) + "]";
        QJsonParseError fehler;
        const QJsonDocument d = QJsonDocument::fromJson(json, &fehler);
        QCOMPARE(fehler.error, QJsonParseError::NoError);
        QCOMPARE(d.array().at(0).toString(), text);
        // Valid UTF-8 without raw control characters.
        QCOMPARE(QString::fromUtf8(json).toUtf8(), json);
        for (const char c : json)
            QVERIFY(uchar(c) >= 0x20);
    }

    // A lone surrogate (from a damaged file) still gives valid UTF-8.
    void einzelnesSurrogat()
    {
        const QString text = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
        const QByteArray json = JsonAusgabe::Zitiert(text);
        QCOMPARE(json, QByteArray("\"a\\ud800b\""));
    }

    // Keys stay in the order given; nesting and one-line records parse as written.
    void aufbau()
    {
        JsonAusgabe aus;
        aus.ObjektBeginn();
        aus.Zahl(QStringLiteral("z"), -5);
        aus.Wahrheitswert(QStringLiteral("a"), true);
        aus.Schluessel(QStringLiteral("leer"));
        aus.ListeBeginn();
        aus.ListeEnde();
        aus.Schluessel(QStringLiteral("leeresObjekt"));
        aus.ObjektBeginn(true);
        aus.ObjektEnde();
        aus.Schluessel(QStringLiteral("liste"));
        aus.ListeBeginn();
        aus.ObjektBeginn(true);
        aus.Text(QStringLiteral("m"), QStringLiteral("x"));
        aus.Schluessel(QStringLiteral("innen"));
        aus.ListeBeginn();
        aus.Zahl(1);
        aus.Zahl(2);
        aus.ListeEnde();
        aus.ObjektEnde();
        aus.Text(QStringLiteral("zwei"));
        aus.ListeEnde();
        aus.ObjektEnde();
        const QByteArray text = aus.Ergebnis();

        QJsonParseError fehler;
        const QJsonObject o = QJsonDocument::fromJson(text, &fehler).object();
        QCOMPARE(fehler.error, QJsonParseError::NoError);
        QCOMPARE(o.value("z").toInteger(), -5);
        QCOMPARE(o.value("a").toBool(), true);
        QVERIFY(o.value("leer").isArray() && o.value("leer").toArray().isEmpty());
        QVERIFY(o.value("leeresObjekt").isObject() && o.value("leeresObjekt").toObject().isEmpty());
        const QJsonArray liste = o.value("liste").toArray();
        QCOMPARE(liste.size(), 2);
        QCOMPARE(liste.at(0).toObject().value("innen").toArray(), (QJsonArray { 1, 2 }));
        QCOMPARE(liste.at(1).toString(), QStringLiteral("zwei"));
        QVERIFY(text.indexOf("\"z\"") < text.indexOf("\"a\""));
        // The one-line record stays on one line, the text ends with a line break.
        QVERIFY(text.contains("{ \"m\": \"x\", \"innen\": [1, 2] }"));
        QVERIFY(text.endsWith("}\n"));
    }

    // The reader of result files: every shorter file is refused as damaged.
    void ergebnisAbgeschnitten_data()
    {
        QTest::addColumn<bool>("warnung");
        QTest::newRow("mit Warnung") << true;
        QTest::newRow("ohne Warnung") << false;
    }
    void ergebnisAbgeschnitten()
    {
        QFETCH(bool, warnung);
        const Datenbestand d = Grenzwertliste::Kursliste(false, false, warnung);
        const QByteArray bytes = Grenzwertliste::Ergebnis(d, 1);
        for (qsizetype n = 0; n <= bytes.size(); ++n) {
            QByteArray teil = bytes.left(n);
            QBuffer puffer(&teil);
            puffer.open(QIODevice::ReadOnly);
            Ergebnisdatei e;
            QString meldung;
            const bool gelesen = Ergebnisdatei::Lesen(puffer, e, meldung);
            if (n < bytes.size()) {
                QVERIFY2(!gelesen, qPrintable(QString::number(n)));
                QCOMPARE(meldung, Meldungen::ErgebnisBeschaedigt);
            } else {
                QVERIFY(gelesen);
                const Kurs& k = *d.alleKurse.Zeigen(1);
                QCOMPARE(e.kurs.Lehrer, k.Lehrer);
                QCOMPARE(e.kurs.Schueler, k.Schueler);
                QCOMPARE(e.mitWarnung, warnung);
                QCOMPARE(e.kurs.GewarntSchueler, warnung ? k.GewarntSchueler : Menge());
                QCOMPARE(e.alleSchueler, d.alleSchueler);
                QCOMPARE(e.alleSchuelerKurse.AnzahlKurse(), d.alleSchuelerKurse.AnzahlKurse());
            }
        }
    }

    void keineErgebnisdatei()
    {
        const Datenbestand d = Grenzwertliste::Kursliste(false, false, false);
        QByteArray bytes = Dateihelfer::Kursliste(d, Spaltenstruktur());
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        Ergebnisdatei e;
        QString meldung;
        QVERIFY(!Ergebnisdatei::Lesen(puffer, e, meldung));
        QCOMPARE(meldung, Meldungen::KeineErgebnisdatei);
    }
};

QTEST_GUILESS_MAIN(TestJsonAbbild)
#include "tst_jsonabbild.moc"
