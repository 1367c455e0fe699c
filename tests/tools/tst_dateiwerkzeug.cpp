// The command-line file tool as a user runs it: exit codes, messages, files left behind.

#include "dateihelfer.h"
#include "ergebnisdatei.h"
#include "grenzwertliste.h"
#include "programmversion.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Lauf {
    int code = -1;
    QByteArray aus;
    QByteArray fehler;
    QString FehlerText() const { return QString::fromUtf8(fehler); }
    QString AusText() const { return QString::fromUtf8(aus); }
};

QString DemoQuelle()
{
    return QStringLiteral(QUELL_VERZEICHNIS "/tools/demo/demo-kursliste.json");
}

QJsonObject AlsObjekt(const QByteArray& json)
{
    QJsonParseError fehler;
    const QJsonDocument dokument = QJsonDocument::fromJson(json, &fehler);
    if (fehler.error != QJsonParseError::NoError)
        qWarning() << "kein JSON:" << fehler.errorString() << json.left(200);
    return dokument.object();
}

// value with the element at pfad ("alleKurse/2/Lehrer") replaced, or removed.
QJsonValue Geaendert(
    const QJsonValue& wert, QStringList pfad, const QJsonValue& neu, bool entfernen)
{
    if (pfad.isEmpty())
        return neu;
    const QString kopf = pfad.takeFirst();
    if (wert.isObject()) {
        QJsonObject o = wert.toObject();
        if (pfad.isEmpty() && entfernen)
            o.remove(kopf);
        else
            o[kopf] = Geaendert(o.value(kopf), pfad, neu, entfernen);
        return o;
    }
    QJsonArray a = wert.toArray();
    const int i = kopf.toInt();
    if (pfad.isEmpty() && entfernen)
        a.removeAt(i);
    else
        a[i] = Geaendert(a.at(i), pfad, neu, entfernen);
    return a;
}

// A raw U+FEFF in a JSON string is what many editors write; the tool must keep it.
QByteArray Json(const QJsonObject& o)
{
    return QJsonDocument(o).toJson();
}

} // namespace

class TestDateiwerkzeug : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> zOrdner;

    QString Pfad(const QString& name) const { return zOrdner->filePath(name); }

    Lauf Starte(const QStringList& argumente, const QString& ausgabeDatei = QString())
    {
        QProcess prozess;
        if (!ausgabeDatei.isEmpty())
            prozess.setStandardOutputFile(ausgabeDatei);
        prozess.start(QStringLiteral(WERKZEUG), argumente);
        Lauf lauf;
        if (!prozess.waitForFinished(120000)) {
            prozess.kill();
            prozess.waitForFinished();
            return lauf;
        }
        lauf.code = prozess.exitStatus() == QProcess::NormalExit ? prozess.exitCode() : -2;
        lauf.aus = prozess.readAllStandardOutput();
        lauf.fehler = prozess.readAllStandardError();
        return lauf;
    }

private slots:
    void init()
    {
        zOrdner = std::make_unique<QTemporaryDir>();
        QVERIFY(zOrdner->isValid());
    }

    void hilfe_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("--help") << QStringList { "--help" };
        QTest::newRow("-h") << QStringList { "-h" };
        QTest::newRow("json --help") << QStringList { "json", "--help" };
        QTest::newRow("zln mit -h") << QStringList { "zln", "a.json", "-h" };
    }
    void hilfe()
    {
        QFETCH(QStringList, argumente);
        const Lauf lauf = Starte(argumente);
        QCOMPARE(lauf.code, 0);
        QVERIFY(lauf.AusText().contains(QStringLiteral("Aufruf: ravirireru-datei json")));
        QVERIFY(lauf.AusText().contains(QStringLiteral("Rückgabewerte")));
        QVERIFY(lauf.fehler.isEmpty());
    }

    void version_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("--version") << QStringList { "--version" };
        QTest::newRow("-v") << QStringList { "-v" };
        QTest::newRow("pruefen --version") << QStringList { "pruefen", "a.zln", "--version" };
    }
    void version()
    {
        QFETCH(QStringList, argumente);
        const Lauf lauf = Starte(argumente);
        QCOMPARE(lauf.code, 0);
        QCOMPARE(lauf.AusText(),
            QStringLiteral("ravirireru-datei %1\n").arg(QLatin1String(Programmversion::Voll)));
        QVERIFY(lauf.fehler.isEmpty());
    }

    // An output that cannot be written (a full disk) fails with the reason, whatever the
    // command; nothing claims success.
    void ausgabeAufVollenDatentraeger_data()
    {
        QTest::addColumn<QStringList>("argumente");
        const QString demo = QStringLiteral(BUILD_VERZEICHNIS "/demo/demo.zln");
        QTest::newRow("json") << QStringList { "json", demo };
        QTest::newRow("json --geheim") << QStringList { "json", "--geheim", demo };
        QTest::newRow("pruefen") << QStringList { "pruefen", demo };
    }
    void ausgabeAufVollenDatentraeger()
    {
        QFETCH(QStringList, argumente);
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("/dev/full fehlt");
        const Lauf lauf = Starte(argumente, QStringLiteral("/dev/full"));
        QCOMPARE(lauf.code, 1);
        QVERIFY2(lauf.FehlerText().contains(QStringLiteral(
                     "Die Ausgabe konnte nicht geschrieben werden. Der Datenträger ist voll.")),
            lauf.fehler);
    }

    void falscherAufruf_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("nichts") << QStringList {};
        QTest::newRow("unbekannter Befehl") << QStringList { "zeigen", "a.zln" };
        QTest::newRow("json ohne Datei") << QStringList { "json" };
        QTest::newRow("json mit zwei Dateien") << QStringList { "json", "a.zln", "b.zln" };
        QTest::newRow("json mit unbekannter Option") << QStringList { "json", "--alles", "a.zln" };
        QTest::newRow("--geheim bei pruefen") << QStringList { "pruefen", "--geheim", "a.zln" };
        QTest::newRow("--geheim bei zln") << QStringList { "zln", "--geheim", "a.json", "b.zln" };
        QTest::newRow("zln mit einer Datei") << QStringList { "zln", "a.json" };
        QTest::newRow("zln mit drei Dateien") << QStringList { "zln", "a.json", "b.zln", "c.zln" };
        QTest::newRow("pruefen ohne Datei") << QStringList { "pruefen" };
        QTest::newRow("Option statt Befehl") << QStringList { "--geheim", "a.zln" };
        QTest::newRow("unbekannte kurze Option") << QStringList { "-x", "pruefen", "a.zln" };
        QTest::newRow("nur --") << QStringList { "--" };
    }
    void falscherAufruf()
    {
        QFETCH(QStringList, argumente);
        const Lauf lauf = Starte(argumente);
        QCOMPARE(lauf.code, 2);
        QVERIFY2(
            lauf.FehlerText().contains(QStringLiteral("Aufruf: ravirireru-datei")), lauf.fehler);
        QVERIFY(lauf.aus.isEmpty());
    }

    // The demo file made by the build: readable, and its secrets only shown on request.
    void demoDateiVerbirgtGeheimnisse()
    {
        const QString demo = QStringLiteral(BUILD_VERZEICHNIS "/demo/demo.zln");
        QVERIFY2(QFile::exists(demo), "Die Demo-Datei wird beim Bauen erzeugt (demo_kursliste).");
        const QJsonObject quelle = AlsObjekt(Dateihelfer::Lesen(DemoQuelle()));
        const QStringList geheimnisse { "NotenPass", "EMailAdresse", "Absender", "Server",
            "Benutzer", "Pass" };

        const Lauf verborgen = Starte({ "json", demo });
        QCOMPARE(verborgen.code, 0);
        const QJsonObject o = AlsObjekt(verborgen.aus);
        for (const QString& name : geheimnisse) {
            QCOMPARE(o.value(name).toString(), QStringLiteral("***"));
            const QString wert = quelle.value(name).toString();
            QVERIFY(!wert.isEmpty());
            QVERIFY2(!verborgen.aus.contains('"' + wert.toUtf8() + '"'), qPrintable(name));
        }
        QCOMPARE(o.value("alleSchueler").toArray().size(),
            quelle.value("alleSchueler").toArray().size());

        const Lauf offen = Starte({ "json", "--geheim", demo });
        QCOMPARE(offen.code, 0);
        const QJsonObject g = AlsObjekt(offen.aus);
        for (const QString& name : geheimnisse)
            QCOMPARE(g.value(name).toString(), quelle.value(name).toString());

        const Lauf pruefen = Starte({ "pruefen", demo });
        QCOMPARE(pruefen.code, 0);
    }

    // json --geheim, then zln, gives the file back byte for byte.
    void rundreise_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<bool>("klausur");
        QTest::addColumn<bool>("warnung");
        QTest::addColumn<bool>("spalten");
        QTest::newRow("Demo-Datei") << true << false << false << false << false;
        for (int i = 0; i < 8; ++i) {
            const bool a = i & 1, k = i & 2, w = i & 4;
            QTest::addRow("Abitur %d, Klausur %d, Warnung %d", a, k, w)
                << false << a << k << w << (i % 3 != 0);
        }
    }
    void rundreise()
    {
        QFETCH(bool, demo);
        QFETCH(bool, abitur);
        QFETCH(bool, klausur);
        QFETCH(bool, warnung);
        QFETCH(bool, spalten);
        const QString original = Pfad("original.zln");
        Datenbestand daten;
        if (demo) {
            QCOMPARE(Starte({ "zln", DemoQuelle(), original }).code, 0);
        } else {
            daten = Grenzwertliste::Kursliste(abitur, klausur, warnung);
            QVERIFY(Dateihelfer::Schreiben(
                original, Dateihelfer::Kursliste(daten, Grenzwertliste::Spalten(daten, spalten))));
        }
        const Lauf json = Starte({ "json", "--geheim", original });
        QCOMPARE(json.code, 0);
        QVERIFY(Dateihelfer::Schreiben(Pfad("original.json"), json.aus));
        if (!demo) {
            const QJsonObject o = AlsObjekt(json.aus);
            QCOMPARE(o.value("NotenPass").toString(), daten.NotenPass);
            QCOMPARE(o.value("Pass").toString(), daten.Pass);
            QCOMPARE(o.value("alleSchueler").toArray().at(1).toObject().value("Name").toString(),
                daten.alleSchueler.Zeigen(2).Name);
            QCOMPARE(o.value("alleSchuelerKurse").toArray().size(),
                daten.alleSchuelerKurse.AnzahlKurse());
        }
        const Lauf zln = Starte({ "zln", Pfad("original.json"), Pfad("neu.zln") });
        QVERIFY2(zln.code == 0, zln.fehler);
        QCOMPARE(Dateihelfer::Lesen(Pfad("neu.zln")), Dateihelfer::Lesen(original));
    }

    // Every fault is refused with the field's name; no output file appears, an old one stays.
    void falschesJson_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QJsonValue>("wert");
        QTest::addColumn<bool>("entfernen");
        QTest::addColumn<QString>("feld");
        const QJsonValue weg;
        QTest::newRow("fehlendes Feld") << "Halbjahr" << weg << true << "Halbjahr";
        QTest::newRow("fehlende Dateiart") << "Dateiart" << weg << true << "Dateiart";
        QTest::newRow("Ergebnis statt Kursliste")
            << "Dateiart" << QJsonValue("Ergebnis") << false << "Dateiart";
        QTest::newRow("fehlendes Feld im Kurs")
            << "alleKurse/2/Lehrer" << weg << true << "alleKurse[2].Lehrer";
        QTest::newRow("Text statt Wahrheitswert")
            << "mitWarnung" << QJsonValue("ja") << false << "mitWarnung";
        QTest::newRow("Zahl statt Wahrheitswert")
            << "alleKurse/1/gesendet" << QJsonValue(1) << false << "alleKurse[1].gesendet";
        QTest::newRow("Text statt Zahl")
            << "alleSchueler/0/ID" << QJsonValue("20301") << false << "alleSchueler[0].ID";
        QTest::newRow("Bruch statt ganzer Zahl")
            << "zNoten/3/AlsWert" << QJsonValue(2.5) << false << "zNoten[3].AlsWert";
        QTest::newRow("null statt Text")
            << "HalbjahrKuerzel" << QJsonValue(QJsonValue::Null) << false << "HalbjahrKuerzel";
        QTest::newRow("Int16 zu groß") << "Halbjahr" << QJsonValue(32768) << false << "Halbjahr";
        QTest::newRow("Int16 zu klein")
            << "alleKurse/3/kNr" << QJsonValue(-32769) << false << "alleKurse[3].kNr";
        QTest::newRow("Int32 zu groß") << "alleSchuelerKurse/1/ID" << QJsonValue(2147483648.0)
                                       << false << "alleSchuelerKurse[1].ID";
        QTest::newRow("Int32 zu klein")
            << "alleSchueler/5/ID" << QJsonValue(-2147483649.0) << false << "alleSchueler[5].ID";
        QTest::newRow("riesige Zahl")
            << "Spalten"
            << QJsonValue(QJsonArray { QJsonObject {
                   { "Ueberschrift", "" }, { "Breite", 1e300 }, { "Ausrichtung", 0 } } })
            << false << "Spalten[0].Breite";
        QTest::newRow("Text zu lang")
            << "HalbjahrKuerzel" << QJsonValue(QString(256, 'a')) << false << "HalbjahrKuerzel";
        QTest::newRow("Eintrag zu lang")
            << "alleSchuelerKurse/2/Eintraege/3/datum" << QJsonValue(QString(128, QChar(0xE4)))
            << false << "alleSchuelerKurse[2].Eintraege[3].datum";
        QTest::newRow("verschlüsselt zu lang")
            << "alleKurse/0/Lehrer" << QJsonValue(Grenzwertliste::ZuLangerVerschluesselterText())
            << false << "alleKurse[0].Lehrer";
        QTest::newRow("Geheimnis verschlüsselt zu lang")
            << "Server" << QJsonValue(Grenzwertliste::ZuLangerVerschluesselterText()) << false
            << "Server";
        QTest::newRow("nicht verschlüsselbar")
            << "alleSchueler/1/Name" << QJsonValue(QString(QChar(0xD7FF))) << false
            << "alleSchueler[1].Name";
        QTest::newRow("verborgenes NotenPass")
            << "NotenPass" << QJsonValue("***") << false << "NotenPass";
        QTest::newRow("verborgenes Pass") << "Pass" << QJsonValue("***") << false << "Pass";
        QTest::newRow("Menge zu lang")
            << "alleKurse/1/Schueler" << QJsonValue("," + QString("1234567,").repeated(4096))
            << false << "alleKurse[1].Schueler";
        QTest::newRow("Menge als Zahl") << "alleKurse/1/KlausurSchueler" << QJsonValue(5) << false
                                        << "alleKurse[1].KlausurSchueler";
        QTest::newRow("Menge als Liste")
            << "alleKurse/0/Schueler" << QJsonValue(QJsonArray { 1, 2 }) << false
            << "alleKurse[0].Schueler";
        QTest::newRow("Element kein Objekt")
            << "alleEintraege/1" << QJsonValue("Note") << false << "alleEintraege[1]";
        QTest::newRow("Objekt statt Liste")
            << "alleSchuelerKurse" << QJsonValue(QJsonObject {}) << false << "alleSchuelerKurse";
        QTest::newRow("Eintraege keine Liste") << "alleSchuelerKurse/0/Eintraege" << QJsonValue("")
                                               << false << "alleSchuelerKurse[0].Eintraege";
        QTest::newRow("Wert im Eintrag falsch")
            << "alleSchuelerKurse/2/Eintraege/1/datum" << QJsonValue(7) << false
            << "alleSchuelerKurse[2].Eintraege[1].datum";
        QJsonArray vieleSchueler;
        for (int i = 0; i < 32768; ++i)
            vieleSchueler.append(QJsonObject { { "ID", i }, { "GUID", "" }, { "Name", "" } });
        QTest::newRow("zu viele Schüler")
            << "alleSchueler" << QJsonValue(vieleSchueler) << false << "alleSchueler";
        QTest::newRow("unbekanntes Feld")
            << "alleKurse/3/Lerer" << QJsonValue("x") << false << "alleKurse[3].Lerer";
        QTest::newRow("unbekanntes Feld oben") << "Version" << QJsonValue(11) << false << "Version";
        QTest::newRow("Menge ohne ihre Markierung")
            << "mitWarnung" << QJsonValue(false) << false << "alleKurse[0].GewarntSchueler";
        QTest::newRow("Spalten passen nicht")
            << "ErsteSpalte" << QJsonValue(5) << false << "Spalten";
    }
    void falschesJson()
    {
        QFETCH(QString, pfad);
        QFETCH(QJsonValue, wert);
        QFETCH(bool, entfernen);
        QFETCH(QString, feld);
        const QJsonObject demo = AlsObjekt(Dateihelfer::Lesen(DemoQuelle()));
        QVERIFY(!demo.isEmpty());
        const QJsonObject falsch
            = Geaendert(demo, pfad.split(QLatin1Char('/')), wert, entfernen).toObject();
        QVERIFY(Dateihelfer::Schreiben(Pfad("falsch.json"), Json(falsch)));

        const Lauf neu = Starte({ "zln", Pfad("falsch.json"), Pfad("neu.zln") });
        QCOMPARE(neu.code, 1);
        QVERIFY2(neu.FehlerText().contains(QStringLiteral("Feld %1: ").arg(feld)), neu.fehler);
        QVERIFY(!QFile::exists(Pfad("neu.zln")));

        QVERIFY(Dateihelfer::Schreiben(Pfad("alt.zln"), "alter Inhalt"));
        const Lauf ersetzen = Starte({ "zln", Pfad("falsch.json"), Pfad("alt.zln") });
        QCOMPARE(ersetzen.code, 1);
        QCOMPARE(Dateihelfer::Lesen(Pfad("alt.zln")), QByteArray("alter Inhalt"));
        QCOMPARE(QDir(zOrdner->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            (QStringList { "alt.zln", "falsch.json" }));
    }

    void keinJson_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("leer") << QByteArray()
                              << "Die JSON-Datei ist fehlerhaft (Zeile 1, Spalte 1)";
        QTest::newRow("abgebrochen") << QByteArray("{\n  \"Halbjahr\": 3,\n  \"x\"")
                                     << "Die JSON-Datei ist fehlerhaft (Zeile 3";
        QTest::newRow("Liste") << QByteArray("[1, 2]") << "kein Objekt";
        QTest::newRow("kein UTF-8")
            << QByteArray("{\"Dateiart\": \"K\xff\"}") << "Die JSON-Datei ist fehlerhaft";
    }
    void keinJson()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, meldung);
        QVERIFY(Dateihelfer::Schreiben(Pfad("kaputt.json"), text));
        const Lauf lauf = Starte({ "zln", Pfad("kaputt.json"), Pfad("neu.zln") });
        QCOMPARE(lauf.code, 1);
        QVERIFY2(lauf.FehlerText().contains(meldung), lauf.fehler);
        QVERIFY(!QFile::exists(Pfad("neu.zln")));
    }

    // JSON that the tool's own quick reading does not take as it is (a key twice, a key or a
    // text with escapes, a control character escaped, a lone surrogate, deep nesting) is read
    // as QJsonDocument reads it: the file holds what QJsonDocument gives, or the tool refuses
    // with the field it would refuse there.
    void wieQJsonDocument_data()
    {
        QTest::addColumn<QByteArray>("alt");
        QTest::addColumn<QByteArray>("neu");
        QTest::newRow("Schlüssel doppelt") << QByteArray(
            "\"Halbjahr\": 3,") << QByteArray("\"Halbjahr\": 4, \"Halbjahr\": 3, \"Halbjahr\": 5,");
        QTest::newRow("Schlüssel mit Escape")
            << QByteArray("\"Halbjahr\": 3,") << QByteArray("\"Halb\\u006Aahr\": 6,");
        QTest::newRow("Text mit Escapes")
            << QByteArray("\"HalbjahrKuerzel\": \"Q1\",")
            << QByteArray("\"HalbjahrKuerzel\": \"Q\\u00e4\\t\\\"\\\\\\/\\ud83d\\ude00\",");
        QTest::newRow("einzelnes Surrogat") << QByteArray("\"HalbjahrKuerzel\": \"Q1\",")
                                            << QByteArray("\"HalbjahrKuerzel\": \"Q\\ud800\",");
        QTest::newRow("Steuerzeichen roh") << QByteArray("\"HalbjahrKuerzel\": \"Q1\",")
                                           << QByteArray("\"HalbjahrKuerzel\": \"Q\x01\",");
        QTest::newRow("Zahl mit Exponent")
            << QByteArray("\"Halbjahr\": 3,") << QByteArray("\"Halbjahr\": 0.3e1,");
        QTest::newRow("Zahl zu groß für double")
            << QByteArray("\"Halbjahr\": 3,") << QByteArray("\"Halbjahr\": 1e400,");
        QTest::newRow("tief verschachtelt")
            << QByteArray("\"Halbjahr\": 3,")
            << "\"Halbjahr\": 3, \"tief\": " + QByteArray(100, '[') + QByteArray(100, ']') + ",";
    }
    void wieQJsonDocument()
    {
        QFETCH(QByteArray, alt);
        QFETCH(QByteArray, neu);
        QByteArray json = Dateihelfer::Lesen(DemoQuelle());
        QVERIFY(json.contains(alt));
        json.replace(alt, neu);
        QVERIFY(Dateihelfer::Schreiben(Pfad("anders.json"), json));
        const Lauf zln = Starte({ "zln", Pfad("anders.json"), Pfad("anders.zln") });

        // What QJsonDocument makes of the same text, run through the tool as JSON of its own.
        QJsonParseError fehler;
        const QJsonDocument dokument = QJsonDocument::fromJson(json, &fehler);
        if (fehler.error != QJsonParseError::NoError) {
            QCOMPARE(zln.code, 1);
            QVERIFY2(zln.FehlerText().contains(QStringLiteral("Die JSON-Datei ist fehlerhaft")),
                zln.fehler);
            return;
        }
        QVERIFY(Dateihelfer::Schreiben(Pfad("qt.json"), dokument.toJson()));
        const Lauf qt = Starte({ "zln", Pfad("qt.json"), Pfad("qt.zln") });
        QCOMPARE(zln.code, qt.code);
        if (zln.code == 0)
            QCOMPARE(Dateihelfer::Lesen(Pfad("anders.zln")), Dateihelfer::Lesen(Pfad("qt.zln")));
        else
            QCOMPARE(zln.FehlerText().section(QStringLiteral(": "), 1, -1),
                qt.FehlerText().section(QStringLiteral(": "), 1, -1));
    }

    // A JSON file saved with a byte order mark is read like one without.
    void jsonMitBom()
    {
        QVERIFY(Dateihelfer::Schreiben(
            Pfad("bom.json"), "\xEF\xBB\xBF" + Dateihelfer::Lesen(DemoQuelle())));
        QCOMPARE(Starte({ "zln", Pfad("bom.json"), Pfad("bom.zln") }).code, 0);
        QCOMPARE(Starte({ "zln", DemoQuelle(), Pfad("ohne.zln") }).code, 0);
        QCOMPARE(Dateihelfer::Lesen(Pfad("bom.zln")), Dateihelfer::Lesen(Pfad("ohne.zln")));
    }

    // A file that cannot be written is reported in German with the reason.
    void zlnSchreibfehler_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QString>("grund"); // %1: the folder of the test
        QTest::newRow("ohne Zielordner") << "gibt-es-nicht/neu.zln"
                                         << "Den Ordner „%1/gibt-es-nicht“ gibt es nicht.";
        QTest::newRow("Ziel ist ein Ordner") << "ordner"
                                             << "„%1/ordner“ ist ein Ordner, keine Datei.";
    }
    void zlnSchreibfehler()
    {
        QFETCH(QString, ziel);
        QFETCH(QString, grund);
        QVERIFY(QDir(zOrdner->path()).mkdir(QStringLiteral("ordner")));
        const Lauf lauf = Starte({ "zln", DemoQuelle(), Pfad(ziel) });
        QCOMPARE(lauf.code, 1);
        QCOMPARE(lauf.FehlerText(),
            Pfad(ziel) + QStringLiteral(": Die Datei konnte nicht geschrieben werden. ")
                + grund.arg(zOrdner->path()) + QLatin1Char('\n'));
        QCOMPARE(QDir(zOrdner->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(Starte({ "zln", Pfad("fehlt.json"), Pfad("neu.zln") }).code, 1);
    }

    // Texts of the file reach the terminal with their control characters escaped: an escape
    // sequence cannot colour or clear it, a line break cannot make a second line, a
    // right-to-left override cannot turn what the line says around.
    void pruefenZeigtSteuerzeichen()
    {
        Datenbestand d = Grenzwertliste::Kursliste(false, false, false);
        d.HalbjahrKuerzel = QStringLiteral("Q1\x1b[2J\x1b[31m");
        Kurs& k = *d.alleKurse.Zeigen(1);
        k.Lehrer = QStringLiteral("AB\nC\u202E\\");
        QVERIFY(Dateihelfer::Schreiben(
            Pfad("steuer.zln"), Dateihelfer::Kursliste(d, Grenzwertliste::Spalten(d, true))));
        QVERIFY(Dateihelfer::Schreiben(Pfad("steuer.zle"), Grenzwertliste::Ergebnis(d, 1)));
        const Lauf liste = Starte({ "pruefen", Pfad("steuer.zln") });
        QCOMPARE(liste.code, 0);
        QVERIFY2(liste.AusText().contains(QStringLiteral("„Q1\\x1b[2J\\x1b[31m“")), liste.aus);
        const Lauf ergebnis = Starte({ "pruefen", Pfad("steuer.zle") });
        QCOMPARE(ergebnis.code, 0);
        QVERIFY2(ergebnis.AusText().contains(QStringLiteral("-AB\\x0aC\\u{202e}\\\\, Halbjahr")),
            ergebnis.aus);
        for (const Lauf& lauf : { liste, ergebnis }) {
            QCOMPARE(lauf.aus.count('\n'), 1);
            QVERIFY(!lauf.aus.contains('\x1b'));
            QVERIFY(!lauf.AusText().contains(QChar(0x202E)));
        }
    }

    // A set given with blanks and without its commas is written in its normal form.
    void mengeWirdNormalisiert()
    {
        const QJsonObject demo = AlsObjekt(Dateihelfer::Lesen(DemoQuelle()));
        const QJsonObject roh = Geaendert(
            demo, { "alleKurse", "0", "Schueler" }, QJsonValue(" 20301 , 20305,20308"), false)
                                    .toObject();
        QVERIFY(Dateihelfer::Schreiben(Pfad("roh.json"), Json(roh)));
        QCOMPARE(Starte({ "zln", Pfad("roh.json"), Pfad("neu.zln") }).code, 0);
        const Lauf json = Starte({ "json", Pfad("neu.zln") });
        QCOMPARE(json.code, 0);
        QCOMPARE(AlsObjekt(json.aus)
                     .value("alleKurse")
                     .toArray()
                     .at(0)
                     .toObject()
                     .value("Schueler")
                     .toString(),
            QStringLiteral(",20301,20305,20308,"));
    }

    // Texts that the reading of a file could change (U+FEFF, which a UTF-8 reader may take
    // for a byte order mark, and characters whose scrambled form is U+FEFF): the tool
    // either writes a file that gives them back unchanged, or refuses with the field.
    void keineStilleAenderung_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("feld");
        QTest::newRow("verschlüsselt zu U+FEFF")
            << "alleSchueler/0/Name" << QStringLiteral("\uFEFCMüller, Jürgen")
            << "alleSchueler[0].Name";
        QTest::newRow("U+FEFF verschlüsselt")
            << "alleKurse/1/Fach" << QStringLiteral("De\uFEFFutsch") << "alleKurse[1].Fach";
        QTest::newRow("U+FEFF am Anfang")
            << "HalbjahrKuerzel" << QStringLiteral("\uFEFFQ1") << "HalbjahrKuerzel";
        QTest::newRow("U+FEFF in der Menge")
            << "alleKurse/0/Schueler" << QStringLiteral("\uFEFF20301,") << "alleKurse[0].Schueler";
    }
    void keineStilleAenderung()
    {
        QFETCH(QString, pfad);
        QFETCH(QString, text);
        QFETCH(QString, feld);
        const QJsonObject demo = AlsObjekt(Dateihelfer::Lesen(DemoQuelle()));
        const QJsonObject mit
            = Geaendert(demo, pfad.split(QLatin1Char('/')), text, false).toObject();
        QVERIFY(Dateihelfer::Schreiben(Pfad("mit.json"), Json(mit)));
        const Lauf zln = Starte({ "zln", Pfad("mit.json"), Pfad("neu.zln") });
        if (zln.code == 0) {
            const Lauf json = Starte({ "json", "--geheim", Pfad("neu.zln") });
            QCOMPARE(json.code, 0);
            QJsonValue wert = AlsObjekt(json.aus);
            for (const QString& teil : pfad.split(QLatin1Char('/')))
                wert = wert.isArray() ? wert.toArray().at(teil.toInt())
                                      : wert.toObject().value(teil);
            const QString erwartet
                = pfad.endsWith(QStringLiteral("Schueler")) ? Menge(text).Ausgeben() : text;
            QCOMPARE(wert.toString(), erwartet);
        } else {
            QCOMPARE(zln.code, 1);
            QVERIFY2(zln.FehlerText().contains(QStringLiteral("Feld %1: ").arg(feld)), zln.fehler);
            QVERIFY(!QFile::exists(Pfad("neu.zln")));
        }
    }

    // pruefen and json read the file as the program does and refuse what it refuses.
    void pruefen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dateiart");
        const Datenbestand d = Grenzwertliste::Kursliste(true, false, true);
        const QByteArray gut = Dateihelfer::Kursliste(d, Grenzwertliste::Spalten(d, true));
        const QByteArray ergebnis = Grenzwertliste::Ergebnis(d, 2);
        const QString zahlen = QStringLiteral("%1 Schüler, %2 Kurse, %3 Zeilen.")
                                   .arg(d.alleSchueler.AnzahlSchueler())
                                   .arg(d.alleKurse.AnzahlKurse())
                                   .arg(d.alleSchuelerKurse.AnzahlKurse());
        QTest::newRow("Kursliste")
            << gut << 0
            << QStringLiteral("Abitur-Kursliste (ZELTA-NotenDatei), Halbjahr %1 „%2“: ")
                    .arg(d.Halbjahr)
                    .arg(d.HalbjahrKuerzel)
                + zahlen
            << "Kursliste";
        const Kurs& k = *d.alleKurse.Zeigen(2);
        QTest::newRow("Ergebnis")
            << ergebnis << 0
            << QStringLiteral(
                   "für den Kurs %1-%2%3-%4, Halbjahr %5 „%6“: %7 Schüler, 1 Kurs, %8 Zeilen.")
                   .arg(k.Kuerzel, k.KursArt)
                   .arg(k.kNr)
                   .arg(k.Lehrer)
                   .arg(d.Halbjahr)
                   .arg(d.HalbjahrKuerzel)
                   .arg(d.alleSchueler.AnzahlSchueler())
                   .arg(d.alleSchuelerKurse.AnzahlKurse())
            << "Ergebnis";
        QTest::newRow("Kursliste abgeschnitten")
            << gut.left(gut.size() / 2) << 1 << Meldungen::Beschaedigt << "";
        QTest::newRow("Kursliste ohne letztes Byte")
            << gut.chopped(1) << 1 << Meldungen::Beschaedigt << "";
        QTest::newRow("Ergebnis abgeschnitten")
            << ergebnis.chopped(1) << 1 << Meldungen::ErgebnisBeschaedigt << "";
        QTest::newRow("leere Datei") << QByteArray() << 1 << Meldungen::Beschaedigt << "";
        QByteArray neuer = gut;
        neuer[2] = 12;
        QTest::newRow("Version 12") << neuer << 1 << Meldungen::NeuereVersion << "";
        QByteArray aelter = gut;
        aelter[2] = 10;
        QTest::newRow("Version 10") << aelter << 1 << Meldungen::AeltereVersion << "";
        QByteArray ergebnisVersion = ergebnis;
        ergebnisVersion[2] = 12;
        QTest::newRow("Ergebnis Version 12")
            << ergebnisVersion << 1 << Meldungen::ErgebnisVersion(12) << "";
        QByteArray negativ = gut;
        // The set length of the first course: a negative length is a damaged file.
        const QByteArray menge = QByteArray("\x00\x1a,2147483647,-2147483648,0,", 28);
        const qsizetype stelle = negativ.indexOf(menge);
        QVERIFY(stelle > 0);
        negativ[stelle] = char(0xFF);
        QTest::newRow("negative Mengenlänge") << negativ << 1 << Meldungen::Beschaedigt << "";
    }
    void pruefen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(QString, dateiart);
        const QString datei = Pfad("datei.zln");
        QVERIFY(Dateihelfer::Schreiben(datei, bytes));

        const Lauf pruefen = Starte({ "pruefen", datei });
        QCOMPARE(pruefen.code, code);
        const Lauf json = Starte({ "json", datei });
        QCOMPARE(json.code, code);
        if (code == 0) {
            QVERIFY2(pruefen.AusText().contains(text), pruefen.aus);
            QCOMPARE(pruefen.AusText().count(QLatin1Char('\n')), 1);
            QCOMPARE(AlsObjekt(json.aus).value("Dateiart").toString(), dateiart);
        } else {
            QCOMPARE(pruefen.FehlerText(), datei + QStringLiteral(": ") + text + QLatin1Char('\n'));
            QCOMPARE(json.FehlerText(), pruefen.FehlerText());
            QVERIFY(pruefen.aus.isEmpty());
            QVERIFY(json.aus.isEmpty());
        }
    }

    void fehlendeDatei()
    {
        for (const QString& befehl : { QStringLiteral("pruefen"), QStringLiteral("json") }) {
            const Lauf lauf = Starte({ befehl, Pfad("fehlt.zln") });
            QCOMPARE(lauf.code, 1);
            QVERIFY2(lauf.FehlerText().contains(Meldungen::DateiFehlt), lauf.fehler);
            const Lauf ordner = Starte({ befehl, zOrdner->path() });
            QCOMPARE(ordner.code, 1);
        }
    }

    // The result file written by the model, shown field by field.
    void ergebnisAlsJson_data()
    {
        QTest::addColumn<bool>("warnung");
        QTest::addColumn<qint64>("kursNr");
        QTest::newRow("mit Warnung") << true << qint64(1);
        QTest::newRow("ohne Warnung") << false << qint64(1);
        QTest::newRow("leerer Kurs mit Warnung") << true << qint64(2);
    }
    void ergebnisAlsJson()
    {
        QFETCH(bool, warnung);
        QFETCH(qint64, kursNr);
        const Datenbestand d = Grenzwertliste::Kursliste(true, true, warnung);
        const Kurs& k = *d.alleKurse.Zeigen(kursNr);
        QVERIFY(Dateihelfer::Schreiben(Pfad("kurs.zle"), Grenzwertliste::Ergebnis(d, kursNr)));
        const Lauf lauf = Starte({ "json", Pfad("kurs.zle") });
        QCOMPARE(lauf.code, 0);
        const QJsonObject o = AlsObjekt(lauf.aus);
        QCOMPARE(o.value("Dateiart").toString(), QStringLiteral("Ergebnis"));
        QCOMPARE(o.value("istAbiturListe").toBool(), d.istAbiturListe);
        QCOMPARE(o.value("Halbjahr").toInteger(), d.Halbjahr);
        QCOMPARE(o.value("HalbjahrKuerzel").toString(), d.HalbjahrKuerzel);
        QCOMPARE(o.value("Halbjahrbezeichnung").toString(), d.Halbjahrbezeichnung);
        const QJsonObject kurs = o.value("Kurs").toObject();
        QCOMPARE(kurs.value("Kuerzel").toString(), k.Kuerzel);
        QCOMPARE(kurs.value("Fach").toString(), k.Fach);
        QCOMPARE(kurs.value("KursArt").toString(), k.KursArt);
        QCOMPARE(kurs.value("kNr").toInteger(), k.kNr);
        QCOMPARE(kurs.value("Lehrer").toString(), k.Lehrer);
        QCOMPARE(kurs.value("Schueler").toString(), k.Schueler.Ausgeben());
        QCOMPARE(kurs.value("mitWarnung").toBool(), warnung);
        QCOMPARE(kurs.contains("GewarntSchueler"), warnung);
        if (warnung)
            QCOMPARE(kurs.value("GewarntSchueler").toString(), k.GewarntSchueler.Ausgeben());
        // The result form carries neither the state flags nor the Abitur and exam sets.
        for (const char* fehlt : { "geaendert", "gespeichert", "gesendet", "DrittesFachSchueler",
                 "ViertesFachSchueler", "KlausurSchueler" })
            QVERIFY2(!kurs.contains(QLatin1String(fehlt)), fehlt);
        QVERIFY(!o.contains("NotenPass"));

        const QJsonArray schueler = o.value("alleSchueler").toArray();
        QCOMPARE(schueler.size(), d.alleSchueler.AnzahlSchueler());
        for (qint64 i = 1; i <= d.alleSchueler.AnzahlSchueler(); ++i) {
            const QJsonObject s = schueler.at(i - 1).toObject();
            QCOMPARE(s.value("ID").toInteger(), d.alleSchueler.Zeigen(i).ID);
            QCOMPARE(s.value("GUID").toString(), d.alleSchueler.Zeigen(i).GUID);
            QCOMPARE(s.value("Name").toString(), d.alleSchueler.Zeigen(i).Name);
        }
        const QJsonArray zeilen = o.value("alleSchuelerKurse").toArray();
        QCOMPARE(zeilen.size(), d.alleSchuelerKurse.AnzahlKurse());
        for (qint64 i = 1; i <= d.alleSchuelerKurse.AnzahlKurse(); ++i) {
            const SchuelerKursZeiger z = d.alleSchuelerKurse.ZeigePosition(i);
            const QJsonObject j = zeilen.at(i - 1).toObject();
            QCOMPARE(j.value("FachKuerzel").toString(), z->FachKuerzel);
            QCOMPARE(j.value("ID").toInteger(), z->ID);
            const QJsonArray werte = j.value("Eintraege").toArray();
            QCOMPARE(werte.size(), z->Eintraege.Anzahl());
            for (qint64 e = 0; e < z->Eintraege.Anzahl(); ++e) {
                const QJsonObject w = werte.at(e).toObject();
                QCOMPARE(w.value("ID").toString(), z->Eintraege.ZeigeKursEintrag(e).ID);
                QCOMPARE(w.value("Bezeichnung").toString(),
                    z->Eintraege.ZeigeKursEintrag(e).Bezeichnung);
                QCOMPARE(w.value("datum").toString(), z->Eintraege.ZeigeKursEintrag(e).datum);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDateiwerkzeug)
#include "tst_dateiwerkzeug.moc"
