#include "aufzeichnendeplattform.h"
#include "datenbestand.h"

#include <QTest>

// Students, courses, student-course rows, the entry catalogue and a row's entries.
class TestListen : public QObject {
    Q_OBJECT

    static SchuelerKursZeiger Zeile(const QString& fach, qint64 id, const QString& note)
    {
        auto z = std::make_shared<SchuelerKurs>(fach, id);
        z->Eintraege.Eintragen(QString(), QStringLiteral("Note"), note);
        return z;
    }

private slots:
    void init()
    {
        GlobaleDatenZuruecksetzen();
        Daten.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
        Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("K1"), QStringLiteral("Klausur")));
    }

    void neueZeileHatLeereEintraegeDesKatalogs()
    {
        SchuelerKurs z(QStringLiteral("M"), 7);
        QCOMPARE(z.Eintraege.Anzahl(), qint64(2));
        QCOMPARE(z.Eintraege.ZeigeKursEintrag(0),
            KursEintrag(QString(), QStringLiteral("Note"), QString()));
        QCOMPARE(z.Eintraege.ZeigeKursEintrag(1),
            KursEintrag(QStringLiteral("K1"), QStringLiteral("Klausur"), QString()));
        QCOMPARE(Eintraege().ErzeugeKursEintraege().Anzahl(), qint64(0));
    }

    void anfuegenErsetztAnOrtUndStelle()
    {
        SchuelerKursliste l;
        l.Anfuegen(Zeile(QStringLiteral("M"), 1, QStringLiteral("10")));
        l.Anfuegen(Zeile(QStringLiteral("M"), 2, QStringLiteral("11")));
        l.Anfuegen(Zeile(QStringLiteral("D"), 1, QStringLiteral("12")));
        QCOMPARE(l.AnzahlKurse(), qint64(3));

        auto neu = Zeile(QStringLiteral("m"), 2, QStringLiteral("5"));
        l.Anfuegen(neu);
        QCOMPARE(l.AnzahlKurse(), qint64(3));
        QCOMPARE(l.ZeigePosition(2), neu); // the row itself, at the same place
        QCOMPARE(l.ZeigePosition(1)->Eintraege.Zeigen(QString(), QStringLiteral("Note")),
            QStringLiteral("10"));
        QCOMPARE(l.ZeigePosition(3)->FachKuerzel, QStringLiteral("D"));

        l.Anfuegen(Zeile(QStringLiteral("M"), 3, QStringLiteral("1")));
        QCOMPARE(l.AnzahlKurse(), qint64(4));
        QCOMPARE(l.ZeigePosition(4)->ID, qint64(3));
    }

    void zeigenNachSchluessel()
    {
        SchuelerKursliste l;
        l.Anfuegen(Zeile(QStringLiteral("M"), 1, QStringLiteral("10")));
        QVERIFY(l.Zeigen(QStringLiteral("m"), 1));
        QVERIFY(!l.Zeigen(QStringLiteral("D"), 1)); // same ID under another course
        QVERIFY(!l.Zeigen(QStringLiteral("M"), 2));
    }

    void loeschen()
    {
        SchuelerKursliste l;
        l.Anfuegen(Zeile(QStringLiteral("M"), 1, QStringLiteral("10")));
        l.Anfuegen(Zeile(QStringLiteral("M"), 2, QStringLiteral("11")));
        l.Loeschen(QStringLiteral("M"), 9);
        QCOMPARE(l.AnzahlKurse(), qint64(2));
        l.Loeschen(QStringLiteral("m"), 1);
        QCOMPARE(l.AnzahlKurse(), qint64(1));
        QCOMPARE(l.ZeigePosition(1)->ID, qint64(2));
    }

    void cloneTeiltNichts()
    {
        auto original = Zeile(QStringLiteral("M"), 1, QStringLiteral("10"));
        auto kopie = original->Clone();
        kopie->Eintraege.Eintragen(QString(), QStringLiteral("Note"), QStringLiteral("3"));
        QCOMPARE(
            original->Eintraege.Zeigen(QString(), QStringLiteral("note")), QStringLiteral("10"));
        original->Eintraege.Eintragen(QStringLiteral("k1"), QStringLiteral("7"));
        QCOMPARE(
            kopie->Eintraege.Zeigen(QStringLiteral("K1"), QStringLiteral("Klausur")), QString());

        KursEintraege a = original->Eintraege;
        KursEintraege b = a.Clone();
        b.ZeigeKursEintrag(0).datum = QStringLiteral("x");
        QCOMPARE(a.ZeigeKursEintrag(0).datum, QStringLiteral("10"));
    }

    void eintragen()
    {
        KursEintraege e;
        e.Anfuegen(KursEintrag(QString(), QStringLiteral("NOTE"), QString()));
        e.Anfuegen(KursEintrag(QString(), QStringLiteral("Hinweis"), QString()));
        e.Anfuegen(KursEintrag(QStringLiteral("k1"), QStringLiteral("Klausur"), QString()));
        e.Eintragen(QString(), QStringLiteral("Note"), QStringLiteral("12"));
        QCOMPARE(e.ZeigeKursEintrag(0).datum, QStringLiteral("12"));
        e.Eintragen(QString(), QStringLiteral("x")); // the first entry with an empty ID
        QCOMPARE(e.ZeigeKursEintrag(0).datum, QStringLiteral("x"));
        QCOMPARE(e.ZeigeKursEintrag(1).datum, QString());
        e.Eintragen(QStringLiteral("K1"), QStringLiteral("9"));
        QCOMPARE(e.ZeigeKursEintrag(2).datum, QStringLiteral("9"));
        e.Eintragen(QString(), QStringLiteral("Fehlstunden"), QStringLiteral("4")); // no match
        QCOMPARE(e.Zeigen(QString(), QStringLiteral("Fehlstunden")), QString());
        QCOMPARE(e.Zeigen(QStringLiteral("K1"), QStringLiteral("klausur")), QStringLiteral("9"));
    }

    void verschieben_data()
    {
        QTest::addColumn<qint64>("von");
        QTest::addColumn<qint64>("nach");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("0 nach 2") << qint64(0) << qint64(2) << "qrp";
        QTest::newRow("2 nach 0") << qint64(2) << qint64(0) << "rpq";
    }
    void verschieben()
    {
        QFETCH(qint64, von);
        QFETCH(qint64, nach);
        QFETCH(QString, erwartet);
        Eintraege katalog;
        KursEintraege zeile;
        for (const QString& n : { QStringLiteral("p"), QStringLiteral("q"), QStringLiteral("r") }) {
            katalog.Anfuegen(Eintrag(n, n));
            zeile.Anfuegen(KursEintrag(n, n, n));
        }
        katalog.Verschieben(von, nach);
        zeile.SpalteVerschieben(von, nach);
        QString k, z;
        for (qint64 i = 0; i < 3; ++i) {
            k += katalog.Bezeichnung(i);
            z += zeile.ZeigeKursEintrag(i).datum;
        }
        QCOMPARE(k, erwartet);
        QCOMPARE(z, erwartet);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, katalog.Verschieben(0, 3));
    }

    void katalogSuche()
    {
        QCOMPARE(
            Daten.alleEintraege.ZeigeEintrag(QStringLiteral("KLAUSUR"))->ID, QStringLiteral("K1"));
        QVERIFY(!Daten.alleEintraege.ZeigeEintrag(QStringLiteral("Hinweis")));
        Daten.alleEintraege.Loeschen(0);
        QCOMPARE(Daten.alleEintraege.Anzahl(), qint64(1));
    }

    void kurzeZeileWirdBeimVerschiebenAufgefuellt()
    {
        // A row stored before the catalogue grew: moving a column must not lose or shift it.
        SchuelerKursliste l;
        auto z = std::make_shared<SchuelerKurs>(QStringLiteral("M"), 1);
        z->Eintraege = KursEintraege();
        z->Eintraege.Anfuegen(KursEintrag(QString(), QStringLiteral("Note"), QStringLiteral("10")));
        l.Anfuegen(z);
        l.SpalteVerschieben(0, 2);
        QCOMPARE(z->Eintraege.Anzahl(), qint64(3));
        QCOMPARE(z->Eintraege.ZeigeKursEintrag(2).datum, QStringLiteral("10"));
    }

    void gesichert_data()
    {
        QTest::addColumn<QList<int>>(
            "flaggen"); // per course: geaendert*4 + gespeichert*2 + gesendet
        QTest::addColumn<bool>("frage");
        QTest::newRow("keine Kurse") << QList<int> {} << false;
        QTest::newRow("nichts geändert") << QList<int> { 0, 0 } << false;
        QTest::newRow("geändert und gespeichert") << QList<int> { 6 } << false;
        QTest::newRow("geändert und gesendet") << QList<int> { 5 } << false;
        QTest::newRow("gespeichert ohne Änderung") << QList<int> { 2 } << false;
        QTest::newRow("einer offen") << QList<int> { 6, 4 } << true;
        QTest::newRow("zwei offen: eine Frage, beide genannt") << QList<int> { 4, 0, 4 } << true;
    }
    void gesichert()
    {
        QFETCH(QList<int>, flaggen);
        QFETCH(bool, frage);
        for (bool antwort : { true, false }) {
            KursAuswahlliste kurse;
            QStringList offen;
            for (int f : flaggen) {
                auto k = std::make_shared<Kurs>();
                k->Fach = QStringLiteral("Fach %1").arg(kurse.AnzahlKurse() + 1);
                k->KursArt = QStringLiteral("GK");
                k->kNr = kurse.AnzahlKurse() + 1;
                if (f == 4)
                    offen.append(k->Fach + QStringLiteral(" GK") + QString::number(k->kNr));
                k->geaendert = f & 4;
                k->gespeichert = f & 2;
                k->gesendet = f & 1;
                kurse.Anfuegen(k);
            }
            AufzeichnendePlattform p;
            p.antwortenFrage = { antwort };
            const bool ergebnis = kurse.Gesichert();
            QCOMPARE(p.fragen.size(), frage ? 1 : 0);
            QCOMPARE(ergebnis, frage ? antwort : true);
            if (frage) {
                QCOMPARE(p.fragen.first().titel, QStringLiteral("RAVIRIreru beenden?"));
                QCOMPARE(
                    p.fragen.first().meldung, QStringLiteral("Soll RAVIRIreru beendet werden?"));
                QCOMPARE(p.fragen.first().erklaerung,
                    QStringLiteral(
                        "Der aktuelle Stand der Eingabe wird zwar gesichert, aber mindestens "
                        "ein Kurs wurde geändert und weder gespeichert noch versandt!\n\n"
                        "Geändert und nicht abgegeben: ")
                        + offen.join(QStringLiteral(", ")) + u'.');
                QCOMPARE(p.fragen.first().standardKnopf, QStringLiteral("Ja"));
                QCOMPARE(p.fragen.first().andererKnopf, QStringLiteral("Nein"));
            }
        }
    }

    void zeigenAusserhalbIstFehler()
    {
        Schuelerliste s;
        s.Anfuegen(Schueler(1, QStringLiteral("A"), QString()));
        QCOMPARE(s.Zeigen(1).Name, QStringLiteral("A"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.Zeigen(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.Zeigen(2));
        KursAuswahlliste k;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, k.Zeigen(1));
    }
};

QTEST_GUILESS_MAIN(TestListen)
#include "tst_listen.moc"
