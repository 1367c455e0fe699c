#include "aufzeichnendeplattform.h"
#include "bytebauer.h"
#include "datenbestand.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The grade result file and the name stem of a course.
class TestErgebnisdatei : public QObject {
    Q_OBJECT

    static Datenbestand KleineDaten(bool mitWarnung)
    {
        Datenbestand d;
        d.Halbjahr = 3;
        d.HalbjahrKuerzel = QStringLiteral("Q1");
        d.Halbjahrbezeichnung = QStringLiteral("Q-Phase");
        d.mitWarnung = mitWarnung;
        d.mitMarkAbitur = true;
        d.mitMarkKlausur = true;
        d.alleSchueler.Anfuegen(Schueler(7, QStringLiteral("Bär, Ida"), QStringLiteral("g7")));
        auto z = std::make_shared<SchuelerKurs>(QStringLiteral("M"), 7);
        z->Eintraege.Anfuegen(KursEintrag(QString(), QStringLiteral("Note"), QStringLiteral("11")));
        d.alleSchuelerKurse.Anfuegen(z);
        return d;
    }

    static Kurs KleinerKurs()
    {
        Kurs k;
        k.Kuerzel = QStringLiteral("M");
        k.Fach = QStringLiteral("Mathe");
        k.KursArt = QStringLiteral("LK");
        k.kNr = 2;
        k.Lehrer = QStringLiteral("ABC");
        k.Schueler = Menge(QStringLiteral("7"));
        k.DrittesFachSchueler = Menge(QStringLiteral("7"));
        k.KlausurSchueler = Menge(QStringLiteral("7"));
        k.geaendert = true;
        return k;
    }

private slots:
    void layout_data()
    {
        QTest::addColumn<bool>("mitWarnung");
        QTest::addColumn<QString>("gewarnt");
        QTest::newRow("ohne Warnung") << false << ",";
        QTest::newRow("mit Warnung, leer") << true << ",";
        QTest::newRow("mit Warnung, gefüllt") << true << ",7,";
    }
    void layout()
    {
        QFETCH(bool, mitWarnung);
        QFETCH(QString, gewarnt);
        const Datenbestand d = KleineDaten(mitWarnung);
        Kurs k = KleinerKurs();
        k.GewarntSchueler = Menge(gewarnt);

        ByteBauer b;
        b.Bool(true).Int16(11).Bool(false).Bool(false).Int16(3).PString("Q1").PString("Q-Phase");
        b.Verschluesselt("M").Verschluesselt("Mathe").Verschluesselt("LK").Int16(2).Verschluesselt(
            "ABC");
        b.Menge(",7,").Bool(mitWarnung);
        if (mitWarnung)
            b.Menge(gewarnt);
        b.Int16(1).Int32(7).PString("g7").Verschluesselt("Bär, Ida");
        b.Int16(1).PString("M").Int32(7).Int16(1).PString(QString()).PString("Note").PString("11");

        QByteArray bytes;
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::WriteOnly);
        QString m;
        QVERIFY(d.SchreibeErgebnis(puffer, k, m));
        QCOMPARE(bytes, b.b);
        QVERIFY(bytes.startsWith(QByteArray("\x01\x00\x0B\x00\x00", 5)));
    }

    void leereMengeIstEinKomma()
    {
        Datenbestand d = KleineDaten(true);
        Kurs k = KleinerKurs();
        QByteArray bytes;
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::WriteOnly);
        QString m;
        QVERIFY(d.SchreibeErgebnis(puffer, k, m));
        QVERIFY(bytes.contains(QByteArray("\x01\x00\x01,", 4)));
    }

    void ergebnisdateiIstKeineKursliste()
    {
        const Datenbestand d = KleineDaten(false);
        QByteArray bytes;
        QBuffer aus(&bytes);
        aus.open(QIODevice::WriteOnly);
        QString m;
        QVERIFY(d.SchreibeErgebnis(aus, KleinerKurs(), m));
        QBuffer ein(&bytes);
        ein.open(QIODevice::ReadOnly);
        Datenbestand gelesen;
        Spaltenstruktur s;
        QVERIFY(!Datenbestand::Lesen(ein, gelesen, s, m));
        QCOMPARE(m, Meldungen::KeineNotenliste);
    }

    void speichernInDatei()
    {
        QTemporaryDir ordner;
        AufzeichnendePlattform p;
        Datenbestand d = KleineDaten(true);
        const QString pfad = ordner.filePath(QStringLiteral("Noten Q1-M-LK2-ABC.zle"));
        QVERIFY(d.Speichern(KleinerKurs(), pfad));
        QVERIFY(p.meldungen.isEmpty());
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(1), QByteArray(1, 1));

        // A path that cannot be created: false and the reason, nothing shown (the selection
        // window shows it).
        QString grund;
        QVERIFY(
            !d.Speichern(KleinerKurs(), ordner.filePath(QStringLiteral("fehlt/x.zle")), &grund));
        QVERIFY2(grund.startsWith(QStringLiteral("Den Ordner "))
                && grund.contains(QStringLiteral("fehlt")),
            qPrintable(grund));
        QVERIFY(p.protokoll.isEmpty());
        // A text too long for its field is refused the same way, nothing half-written.
        Kurs lang = KleinerKurs();
        lang.Fach = QString(300, QLatin1Char('F'));
        const QString langPfad = ordner.filePath(QStringLiteral("lang.zle"));
        QVERIFY(!d.Speichern(lang, langPfad));
        QVERIFY(!QFile::exists(langPfad));
    }

    void dateiname_data()
    {
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<qint64>("kNr");
        QTest::addColumn<QString>("stamm");
        QTest::newRow("Halbjahr") << false << qint64(2) << "Noten Q1-M-LK2-ABC";
        QTest::newRow("Abitur") << true << qint64(2) << "Noten Abitur-M-LK2-ABC";
        QTest::newRow("Nummer 0") << false << qint64(0) << "Noten Q1-M-LK0-ABC";
        QTest::newRow("negative Nummer") << false << qint64(-1) << "Noten Q1-M-LK-1-ABC";
    }
    void dateiname()
    {
        QFETCH(bool, abitur);
        QFETCH(qint64, kNr);
        QFETCH(QString, stamm);
        Datenbestand d = KleineDaten(false);
        d.istAbiturListe = abitur;
        Kurs k = KleinerKurs();
        k.kNr = kNr;
        QCOMPARE(d.DateiName(k), stamm);
    }
};

QTEST_GUILESS_MAIN(TestErgebnisdatei)
#include "tst_ergebnisdatei.moc"
