#include "benachrichtiger.h"
#include "datenbestand.h"

#include <QTest>

class TestSpaltenstruktur : public QObject {
    Q_OBJECT

    static Datenbestand Daten(bool abitur, bool warnung, int eintraege)
    {
        Datenbestand d;
        d.mitMarkAbitur = abitur;
        d.mitWarnung = warnung;
        for (int i = 0; i < eintraege; ++i)
            d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("E%1").arg(i)));
        return d;
    }

    static QStringList Ueberschriften(const Spaltenstruktur& s)
    {
        QStringList l;
        for (const EinfacheSpalte& sp : s.Spalten)
            l << sp.Ueberschrift;
        return l;
    }

private slots:
    void kurslistenInit_data()
    {
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<bool>("warnung");
        QTest::addColumn<int>("eintraege");
        QTest::addColumn<qint64>("ersteSpalte");
        QTest::addColumn<QString>("breiten");
        QTest::addColumn<QStringList>("ueberschriften");
        QTest::addColumn<qint64>("gesamt");
        QTest::newRow("schlicht, 5 Einträge")
            << false << false << 5 << qint64(3) << "0,40,200,60,60,60,60,60"
            << QStringList { "", "Nr.", "Name", "E0", "E1", "E2", "E3", "E4" } << qint64(540);
        QTest::newRow("beide Marken, 2 Einträge")
            << true << true << 2 << qint64(5) << "0,40,30,200,25,60,60"
            << QStringList { "", "Nr.", "A", "Name", "W", "E0", "E1" } << qint64(415);
        QTest::newRow("nur Abitur") << true << false << 1 << qint64(4) << "0,40,30,200,60"
                                    << QStringList { "", "Nr.", "A", "Name", "E0" } << qint64(330);
        QTest::newRow("nur Warnung, leerer Katalog")
            << false << true << 0 << qint64(4) << "0,40,200,25"
            << QStringList { "", "Nr.", "Name", "W" } << qint64(265);
    }
    void kurslistenInit()
    {
        QFETCH(bool, abitur);
        QFETCH(bool, warnung);
        QFETCH(int, eintraege);
        QFETCH(qint64, ersteSpalte);
        QFETCH(QString, breiten);
        QFETCH(QStringList, ueberschriften);
        QFETCH(qint64, gesamt);
        Spaltenstruktur s;
        const Datenbestand d = Daten(abitur, warnung, eintraege);
        s.KurslistenInit(d);
        QCOMPARE(s.ErsteSpalte, ersteSpalte);
        QCOMPARE(s.SpaltenAnzahl, qint64(ueberschriften.size()));
        QCOMPARE(s.BreitenString(), breiten);
        QCOMPARE(Ueberschriften(s), ueberschriften);
        QCOMPARE(s.Gesamtbreite(), gesamt);
        // Alignments: "Nr." right, "Name" left, the rest centred.
        QCOMPARE(int(s.Spalten.at(1).Alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignRight));
        QCOMPARE(int(s.Spalten.at(ersteSpalte - (warnung ? 2 : 1)).Alignment()
                     & Qt::AlignHorizontal_Mask),
            int(Qt::AlignLeft));
        for (qint64 p = ersteSpalte; p < s.SpaltenAnzahl; ++p)
            QCOMPARE(
                int(s.Spalten.at(p).Alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));

        const Spaltenstruktur vorher = s;
        s.KurslistenInit(Daten(!abitur, !warnung, eintraege + 3));
        QCOMPARE(s, vorher);
    }

    void standardbreiten_data()
    {
        // The width each heading needs (as the window measures it) and what the entry column
        // gets: at least 60, at most 160.
        QTest::addColumn<QList<qint64>>("bedarf");
        QTest::addColumn<QString>("breiten");
        QTest::newRow("schmal, genau, breit") << QList<qint64> { 12, 60, 61, 97, 159, 160, 161,
            900 } << "0,40,30,200,25,60,60,61,97,159,160,160,160";
        QTest::newRow("leere Überschrift") << QList<qint64> { 0 } << "0,40,30,200,25,60";
    }
    void standardbreiten()
    {
        QFETCH(QList<qint64>, bedarf);
        QFETCH(QString, breiten);
        const Datenbestand d = Daten(true, true, int(bedarf.size()));
        QStringList gefragt;
        Spaltenstruktur s;
        s.KurslistenInit(d, [&](const QString& ueberschrift) {
            gefragt << ueberschrift;
            const qsizetype i = ueberschrift.mid(1).toInt();
            return bedarf.value(i);
        });
        QCOMPARE(s.BreitenString(), breiten);
        // Only the entry columns are measured; the identification columns keep their widths.
        QCOMPARE(gefragt.size(), bedarf.size());
        // A layout that exists is not measured again.
        const Spaltenstruktur vorher = s;
        s.KurslistenInit(d, [](const QString&) { return qint64(100); });
        QCOMPARE(s, vorher);
    }

    void breite_data()
    {
        QTest::addColumn<qint64>("breite");
        QTest::addColumn<qint64>("erwartet");
        QTest::newRow("3") << qint64(3) << qint64(10);
        QTest::newRow("negativ") << qint64(-5) << qint64(10);
        QTest::newRow("10") << qint64(10) << qint64(10);
        QTest::newRow("11") << qint64(11) << qint64(11);
    }
    void breite()
    {
        QFETCH(qint64, breite);
        QFETCH(qint64, erwartet);
        Spaltenstruktur s;
        s.KurslistenInit(Daten(false, false, 1));
        s.SetzeSpaltenBreite(3, breite);
        QCOMPARE(s.Spalten.at(3).Breite, erwartet);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.SetzeSpaltenBreite(4, 20));
    }

    void trenner_data()
    {
        QTest::addColumn<qint64>("x");
        QTest::addColumn<qint64>("spalte");
        for (qint64 x = 298; x <= 302; ++x)
            QTest::addRow("x=%lld", x) << x << qint64(3);
        QTest::newRow("297") << qint64(297) << qint64(-1);
        QTest::newRow("303") << qint64(303) << qint64(-1);
        QTest::newRow("Kante von Name") << qint64(240) << qint64(-1);
        QTest::newRow("erste Spalte") << qint64(0) << qint64(-1);
        QTest::newRow("links davon") << qint64(-2) << qint64(-1);
        QTest::newRow("Mitte") << qint64(270) << qint64(-1);
    }
    void trenner()
    {
        QFETCH(qint64, x);
        QFETCH(qint64, spalte);
        Spaltenstruktur s;
        s.KurslistenInit(Daten(false, false, 1));
        QCOMPARE(s.BreitenString(), QStringLiteral("0,40,200,60"));
        QCOMPARE(s.ErmittleTrenner(x), spalte);
    }

    void trennerZweiterEintragsspalte()
    {
        Spaltenstruktur s;
        s.KurslistenInit(Daten(false, false, 2));
        QCOMPARE(s.ErmittleTrenner(360), qint64(4));
        QCOMPARE(s.ErmittleTrenner(300), qint64(3));
    }

    void verschieben_data()
    {
        QTest::addColumn<qint64>("von");
        QTest::addColumn<qint64>("nach");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("1 nach 3") << qint64(1) << qint64(3) << QStringList { "a", "c", "d", "b" };
        QTest::newRow("3 nach 1") << qint64(3) << qint64(1) << QStringList { "a", "d", "b", "c" };
        QTest::newRow("auf sich") << qint64(2) << qint64(2) << QStringList { "a", "b", "c", "d" };
    }
    void verschieben()
    {
        QFETCH(qint64, von);
        QFETCH(qint64, nach);
        QFETCH(QStringList, erwartet);
        Spaltenstruktur s;
        for (const char* n : { "a", "b", "c", "d" })
            s.SpalteAnfuegen(EinfacheSpalte(QString::fromLatin1(n), 60, 2));
        s.SpaltenAnzahl = 4;
        s.SpalteVerschieben(von, nach);
        QCOMPARE(Ueberschriften(s), erwartet);
        QCOMPARE(s.SpaltenAnzahl, qint64(4));
    }

    // The data half of a column move: catalogue, layout and the file's rows in one step, a
    // row stored before the catalogue grew padded with the catalogue's keys, the windows told
    // before (catalogue as it was) and after (catalogue moved); a move that is none changes
    // nothing and tells nobody.
    void datenVerschieben_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<QStringList>("katalog");
        QTest::addColumn<QStringList>("volleZeile");
        QTest::addColumn<QStringList>("kurzeZeile");
        const QStringList kurzVorher { "1|E0|x" };
        QTest::newRow("erste nach letzte")
            << qint64(3) << qint64(5) << QStringList { "E1", "E2", "E0" }
            << QStringList { "b", "c", "a" } << QStringList { "E1|E1|", "E2|E2|", "1|E0|x" };
        QTest::newRow("letzte nach erste")
            << qint64(5) << qint64(3) << QStringList { "E2", "E0", "E1" }
            << QStringList { "c", "a", "b" } << QStringList { "E2|E2|", "1|E0|x", "E1|E1|" };
        QTest::newRow("auf sich") << qint64(4) << qint64(4) << QStringList { "E0", "E1", "E2" }
                                  << QStringList { "a", "b", "c" } << kurzVorher;
        QTest::newRow("Namensspalte") << qint64(2) << qint64(4) << QStringList { "E0", "E1", "E2" }
                                      << QStringList { "a", "b", "c" } << kurzVorher;
        QTest::newRow("hinter der letzten")
            << qint64(3) << qint64(6) << QStringList { "E0", "E1", "E2" }
            << QStringList { "a", "b", "c" } << kurzVorher;
    }
    void datenVerschieben()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(QStringList, katalog);
        QFETCH(QStringList, volleZeile);
        QFETCH(QStringList, kurzeZeile);
        Datenbestand d;
        for (const char* n : { "E0", "E1", "E2" })
            d.alleEintraege.Anfuegen(Eintrag(QString::fromLatin1(n), QString::fromLatin1(n)));
        Spaltenstruktur s;
        s.KurslistenInit(d);
        auto voll = std::make_shared<SchuelerKurs>(QStringLiteral("M"), 1);
        for (const char* w : { "a", "b", "c" })
            voll->Eintraege.Anfuegen(KursEintrag(QString(), QString(), QString::fromLatin1(w)));
        auto kurz = std::make_shared<SchuelerKurs>(QStringLiteral("M"), 2);
        kurz->Eintraege.Anfuegen(
            KursEintrag(QStringLiteral("1"), QStringLiteral("E0"), QStringLiteral("x")));
        d.alleSchuelerKurse.Anfuegen(voll);
        d.alleSchuelerKurse.Anfuegen(kurz);

        QStringList gehoert;
        Benachrichtiger& melder = Benachrichtiger::Instanz();
        const auto katalogJetzt = [&d] {
            QStringList l;
            for (qint64 i = 0; i < d.alleEintraege.Anzahl(); ++i)
                l << d.alleEintraege.ZeigeEintrag(i).Bezeichnung;
            return l.join(',');
        };
        QObject zuhoerer;
        QObject::connect(&melder, &Benachrichtiger::SpalteWirdVerschoben, &zuhoerer,
            [&](qint64 von, qint64 nach) {
                gehoert << QStringLiteral("vorher %1>%2 %3").arg(von).arg(nach).arg(katalogJetzt());
            });
        QObject::connect(&melder, &Benachrichtiger::SpalteVerschoben, &zuhoerer, [&](int x, int y) {
            gehoert << QStringLiteral("nachher %1>%2 %3").arg(x).arg(y).arg(katalogJetzt());
        });

        const bool bewegt = a != b && katalog != QStringList { "E0", "E1", "E2" };
        QCOMPARE(d.SpalteVerschieben(s, a, b), bewegt);
        QCOMPARE(katalogJetzt(), katalog.join(','));
        QStringList ueberschriften = Ueberschriften(s).mid(3);
        QCOMPARE(ueberschriften, katalog);
        QStringList werte;
        for (qint64 i = 0; i < voll->Eintraege.Anzahl(); ++i)
            werte << voll->Eintraege.ZeigeKursEintrag(i).datum;
        QCOMPARE(werte, volleZeile);
        QStringList kurzJetzt;
        for (qint64 i = 0; i < kurz->Eintraege.Anzahl(); ++i) {
            const KursEintrag& e = kurz->Eintraege.ZeigeKursEintrag(i);
            kurzJetzt << e.ID + '|' + e.Bezeichnung + '|' + e.datum;
        }
        QCOMPARE(kurzJetzt, kurzeZeile);
        if (bewegt)
            QCOMPARE(gehoert,
                (QStringList { QStringLiteral("vorher %1>%2 E0,E1,E2").arg(a - 3).arg(b - 3),
                    QStringLiteral("nachher %1>%2 %3").arg(a).arg(b).arg(katalog.join(',')) }));
        else
            QVERIFY(gehoert.isEmpty());
    }

    void breitenStringEinzeln()
    {
        Spaltenstruktur s;
        s.SpalteAnfuegen(EinfacheSpalte(QStringLiteral("x"), 60, 2));
        s.SpaltenAnzahl = 1;
        QCOMPARE(s.BreitenString(), QStringLiteral("60"));
    }

    void ausrichtung_data()
    {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<int>("horizontal");
        QTest::newRow("0 Standard") << qint64(0) << int(Qt::AlignLeft);
        QTest::newRow("1 links") << qint64(1) << int(Qt::AlignLeft);
        QTest::newRow("2 Mitte") << qint64(2) << int(Qt::AlignHCenter);
        QTest::newRow("3 rechts") << qint64(3) << int(Qt::AlignRight);
        QTest::newRow("4 Dezimal") << qint64(4) << int(Qt::AlignRight);
        QTest::newRow("9 unbekannt") << qint64(9) << int(Qt::AlignLeft);
    }
    void ausrichtung()
    {
        QFETCH(qint64, code);
        QFETCH(int, horizontal);
        QCOMPARE(int(EinfacheSpalte(QString(), 10, code).Alignment() & Qt::AlignHorizontal_Mask),
            horizontal);
    }
};

QTEST_GUILESS_MAIN(TestSpaltenstruktur)
#include "tst_spaltenstruktur.moc"
