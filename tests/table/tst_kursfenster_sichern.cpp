// The course window: saving the table into the course-list file with "Sichern".

#include "aufzeichnendeplattform.h"
#include "benachrichtiger.h"
#include "dateischreiber.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "toolbarvorlage.h"

#include <QBuffer>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Kurstabellentest;

class TestKursfensterSichern : public Kursfenstertest {
    Q_OBJECT

private:
    QString pfad;

    // Presses "Sichern" with the mouse, as the teacher does.
    static void SichernDruecken(Kursfenster& f)
    {
        auto* knopf
            = qobject_cast<QToolButton*>(f.ToolbarWerkzeuge()->widgetForAction(f.SichernAktion()));
        QVERIFY(knopf);
        QVERIFY(knopf->isEnabled());
        QTest::mouseClick(knopf, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QStringList Werte(const SchuelerKursZeiger& r)
    {
        QStringList w;
        if (!r)
            return { QStringLiteral("<keine Zeile>") };
        for (qint64 i = 0; i < r->Eintraege.Anzahl(); ++i)
            w << r->Eintraege.ZeigeKursEintrag(i).datum;
        return w;
    }

private slots:
    void init()
    {
        Grundzustand();
        plattform.antwortenFrage.clear();
        Datenbestand d = Kurslistenbauer().Bauen();
        // Flags of an earlier delivery, which a save clears.
        d.alleKurse.Zeigen(1)->gespeichert = true;
        d.alleKurse.Zeigen(1)->gesendet = true;
        pfad = Anlegen(ordner.path(), d);
        QVERIFY(!pfad.isEmpty());
    }

    void sichern()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        // Row 0 (student 11): grade, hours, remark.
        Tippen(*f, QStringLiteral("13"));
        Taste(*f, Qt::Key_Tab);
        Tippen(*f, QStringLiteral("6"));
        Taste(*f, Qt::Key_Tab);
        Taste(*f, Qt::Key_Tab);
        Tippen(*f, QStringLiteral("Referat gehalten"));
        // Row 2 (student 13, no course row yet): a grade; the editor stays open on it.
        Klick(*f, 2, 5);
        Tippen(*f, QStringLiteral("e"));
        // Warnings: 11 checked, 12 unchecked.
        Klick(*f, 0, 4);
        Klick(*f, 1, 4);
        QVERIFY(f->SichernAktion()->isEnabled());

        SichernDruecken(*f);
        QVERIFY(f.isNull());
        QVERIFY(plattform.meldungen.isEmpty());
        QVERIFY(plattform.fragen.isEmpty());
        QVERIFY(Daten.wurdeGeaendert());

        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        const SchuelerKursliste& zeilen = gelesen.alleSchuelerKurse;
        QCOMPARE(Werte(zeilen.Zeigen(QStringLiteral("M"), 11)),
            (QStringList { "13", "6", "2", "Referat gehalten", "11", "x" }));
        QCOMPARE(Werte(zeilen.Zeigen(QStringLiteral("M"), 12)),
            (QStringList { "3", "10", "0", "Attest fehlt", "E", "" }));
        QCOMPARE(Werte(zeilen.Zeigen(QStringLiteral("M"), 13)),
            (QStringList { "E", "", "", "", "", "" }));
        // The damaged row was written with a place for every entry.
        QCOMPARE(Werte(zeilen.Zeigen(QStringLiteral("M"), 14)),
            (QStringList { "7", "6", "", "", "", "" }));
        // The other course's rows are untouched.
        QCOMPARE(Werte(zeilen.Zeigen(QStringLiteral("D"), 12)),
            (QStringList { "9", "", "", "", "", "" }));
        QVERIFY(!zeilen.Zeigen(QStringLiteral("D"), 15));
        QCOMPARE(zeilen.AnzahlKurse(), 5);

        const KursZeiger m = gelesen.alleKurse.Zeigen(1);
        QCOMPARE(m->GewarntSchueler.Ausgeben(), QStringLiteral(",11,"));
        QVERIFY(m->geaendert);
        QVERIFY(!m->gespeichert);
        QVERIFY(!m->gesendet);
        const KursZeiger d = gelesen.alleKurse.Zeigen(2);
        QVERIFY(!d->geaendert);

        // Reopened: the saved values, "Sichern" disabled.
        QPointer<Kursfenster> neu = Oeffnen(QStringLiteral("M"));
        QCOMPARE(Sichtbar(*neu, 0, 5), QStringLiteral("13"));
        QCOMPARE(Sichtbar(*neu, 0, 6), QStringLiteral("6"));
        QCOMPARE(Sichtbar(*neu, 0, 8), QStringLiteral("Referat gehalten"));
        QCOMPARE(Sichtbar(*neu, 2, 5), QStringLiteral("E"));
        QVERIFY(Gewarnt(*neu, 0));
        QVERIFY(!Gewarnt(*neu, 1));
        QVERIFY(!neu->SichernAktion()->isEnabled());
        QVERIFY(!neu->LokalGeaendert());
    }

    void warnungEinmalEingetragen()
    {
        // Checking "W" for an already warned student does not add the ID twice.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Klick(*f, 1, 4);
        Klick(*f, 1, 4);
        QVERIFY(Gewarnt(*f, 1));
        SichernDruecken(*f);
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(gelesen.alleKurse.Zeigen(1)->GewarntSchueler.Ausgeben(), QStringLiteral(",12,"));
    }

    void ungueltigeZelleVerhindertSichern()
    {
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Klick(*f, 0, 4); // a change, so that "Sichern" is enabled
        Klick(*f, 1, 5);
        Tippen(*f, QStringLiteral("99"));
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::ReadOnly));
        const QByteArray vorher = datei.readAll();
        datei.close();

        SichernDruecken(*f);
        QVERIFY(!f.isNull());
        QCOMPARE(plattform.pieps, 1);
        QCOMPARE(Editor(*f)->text(), QStringLiteral("3"));
        QVERIFY(plattform.fragen.isEmpty());
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QCOMPARE(datei.readAll(), vorher);
        QVERIFY(!Daten.wurdeGeaendert());
    }

    void sichernBestaetigt_data()
    {
        QTest::addColumn<bool>("schreibbar");
        QTest::newRow("gesichert") << true;
        QTest::newRow("nicht schreibbar") << false;
    }

    void sichernBestaetigt()
    {
        // A save that reached the file says so calmly (the course selection window shows
        // it); one that failed says nothing of the kind.
        QFETCH(bool, schreibbar);
        QSignalSpy bestaetigt(&Benachrichtiger::Instanz(), &Benachrichtiger::Bestaetigt);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Tippen(*f, QStringLiteral("14"));
        Taste(*f, Qt::Key_Tab);
        if (!schreibbar)
            Daten.datenFolder = ordner.path(); // a folder stands where the file should be
        SichernDruecken(*f);
        QCOMPARE(bestaetigt.size(), schreibbar ? 1 : 0);
        if (schreibbar) {
            const QString text = bestaetigt.first().first().toString();
            QVERIFY2(QRegularExpression(QStringLiteral("^Mathematik LK2 gesichert, \\d\\d:\\d\\d$"))
                         .match(text)
                         .hasMatch(),
                qPrintable(text));
            QVERIFY(f.isNull());
        }
    }

    void schreibfehler_data()
    {
        // antwort: the button of the closing question ("Sichern", "Verwerfen", "Abbrechen"),
        // -1 Escape. "Sichern" tries once more, fails as before (its offer to save elsewhere
        // is answered with Escape) and keeps the window.
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("offen");
        QTest::newRow("Sichern: scheitert wieder, bleibt offen") << 0 << true;
        QTest::newRow("Abbrechen: bleibt offen") << 2 << true;
        QTest::newRow("Escape: bleibt offen") << -1 << true;
        QTest::newRow("Verwerfen: schließt") << 1 << false;
    }

    void schreibfehler()
    {
        QFETCH(int, antwort);
        QFETCH(bool, offen);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Tippen(*f, QStringLiteral("14"));
        Taste(*f, Qt::Key_Tab);
        // The file cannot be written: a folder stands where it should be.
        Daten.datenFolder = ordner.path();
        // First the offer to save elsewhere ("Abbrechen"), then the closing question.
        plattform.antwortenWahl = { 1 };
        if (antwort >= 0)
            plattform.antwortenWahl.append(antwort);

        SichernDruecken(*f);
        QStringList protokoll { "Auswahl: ", "Auswahl: Kursfenster schließen" };
        if (antwort == 0)
            protokoll.append("Auswahl: ");
        QCOMPARE(plattform.protokoll, protokoll);
        const auto& meldung = plattform.auswahlen.first();
        QCOMPARE(meldung.meldung,
            QStringLiteral("Die Kurslisten-Datei (zln) konnte nicht gesichert werden."));
        QVERIFY(meldung.erklaerung.startsWith(
            QStringLiteral("„%1“ ist ein Ordner, keine Datei.\n\n").arg(ordner.path())));
        QCOMPARE(meldung.knoepfe, (QStringList { "Sichern unter …", "Abbrechen" }));
        QCOMPARE(!f.isNull(), offen);
        if (offen) {
            QVERIFY(f->LokalGeaendert());
            QVERIFY(f->SichernAktion()->isEnabled());
            QCOMPARE(Sichtbar(*f, 0, 5), QStringLiteral("14"));
        }
        // The rows and the course's flags are changed in memory, for a later save.
        QCOMPARE(Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                     ->Eintraege.ZeigeKursEintrag(0)
                     .datum,
            QStringLiteral("14"));
        QVERIFY(Kurstabellentest::Kurs(QStringLiteral("M"))->geaendert);
        QVERIFY(!Kurstabellentest::Kurs(QStringLiteral("M"))->gesendet);
        QVERIFY(Daten.wurdeGeaendert());
    }

    void sichernUnterAusDemFenster()
    {
        // The file cannot be written where it is: the teacher saves elsewhere, the window
        // closes as after any save, and the program works on the new file.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Tippen(*f, QStringLiteral("14"));
        Taste(*f, Qt::Key_Tab);
        const QByteArray vorher = [&] {
            QFile d(pfad);
            return d.open(QIODevice::ReadOnly) ? d.readAll() : QByteArray();
        }();
        Daten.datenFolder = ordner.filePath(QStringLiteral("fehlt/Kursliste.zln"));
        const QString gerettet = ordner.filePath(QStringLiteral("Gerettet.zln"));
        plattform.antwortenWahl = { 0 };
        plattform.antwortenDatei = { gerettet };

        SichernDruecken(*f);
        QVERIFY(f.isNull());
        QCOMPARE(plattform.protokoll,
            (QStringList { "Auswahl: ", "Speichern: Kursliste sichern unter",
                QStringLiteral("Meldung: Die Kurslisten-Datei wurde als „%1“ gesichert.")
                    .arg(gerettet) }));
        QCOMPARE(Daten.datenFolder, gerettet);
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(gerettet, gelesen, struktur));
        QCOMPARE(Werte(gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)).first(),
            QStringLiteral("14"));
        QVERIFY(gelesen.alleKurse.Zeigen(1)->geaendert);
        QFile alt(pfad);
        QVERIFY(alt.open(QIODevice::ReadOnly));
        QCOMPARE(alt.readAll(), vorher);
    }

    void dateiAussenGeaendert_data()
    {
        QTest::addColumn<int>("wahl");
        QTest::addColumn<bool>("ersetzt");
        QTest::newRow("Abbrechen") << 2 << false;
        QTest::newRow("Ersetzen") << 0 << true;
    }
    void dateiAussenGeaendert()
    {
        // Someone else changed the file since it was loaded: "Sichern" asks before replacing it.
        QFETCH(int, wahl);
        QFETCH(bool, ersetzt);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Tippen(*f, QStringLiteral("14"));
        Taste(*f, Qt::Key_Tab);
        Datenbestand fremd = Kurslistenbauer().Bauen();
        fremd.Halbjahrbezeichnung = QStringLiteral("anderswo geändert");
        Spaltenstruktur s;
        s.KurslistenInit(fremd);
        QByteArray fremdeBytes;
        {
            QBuffer puffer(&fremdeBytes);
            puffer.open(QIODevice::WriteOnly);
            QString m;
            QVERIFY(Datenbestand::Schreiben(puffer, fremd, s, m));
            QFile datei(pfad);
            QVERIFY(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(datei.write(fremdeBytes), fremdeBytes.size());
        }
        // Then, where the file was not replaced, "Abbrechen" to the closing question: the
        // window stays open.
        plattform.antwortenWahl = { wahl, 2 };

        SichernDruecken(*f);
        QCOMPARE(plattform.auswahlen.size(), ersetzt ? 1 : 2);
        QCOMPARE(plattform.auswahlen.first().titel, QStringLiteral("Kurslisten-Datei geändert"));
        QCOMPARE(plattform.auswahlen.first().standard, 2);
        QCOMPARE(f.isNull(), ersetzt);
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(gelesen.Halbjahrbezeichnung == QStringLiteral("anderswo geändert"), !ersetzt);
        QCOMPARE(Werte(gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)).first(),
            ersetzt ? QStringLiteral("14")
                    : Werte(fremd.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)).first());
        if (!ersetzt) {
            QVERIFY(f->LokalGeaendert());
            QCOMPARE(plattform.auswahlen.last().titel, QStringLiteral("Kursfenster schließen"));
        }
    }

    void doppelterSchueler()
    {
        // Student 11 is listed twice, and the file holds his row twice: one row in the table,
        // and saving leaves no unchanged copy over the edited values.
        Datenbestand d = Kurslistenbauer().Bauen();
        d.alleSchueler.Anfuegen(
            Schueler(11, QStringLiteral("Albers, Anna (doppelt)"), QStringLiteral("g-11b")));
        // The row list as stored, once more with a copy of 11's row at its end.
        const auto bytesVon = [](const auto& schreiben) {
            QByteArray b;
            QBuffer puffer(&b);
            puffer.open(QIODevice::WriteOnly);
            DateiSchreiber s(puffer);
            schreiben(s);
            return b;
        };
        const QByteArray liste
            = bytesVon([&](DateiSchreiber& s) { d.alleSchuelerKurse.Speichern(s); });
        QByteArray doppelt = liste;
        doppelt[1] = char(doppelt[1] + 1);
        doppelt += bytesVon([&](DateiSchreiber& s) {
            d.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)->Speichern(s);
        });
        Spaltenstruktur s;
        s.KurslistenInit(d);
        QByteArray datei;
        {
            QBuffer puffer(&datei);
            puffer.open(QIODevice::WriteOnly);
            QString m;
            QVERIFY(Datenbestand::Schreiben(puffer, d, s, m));
        }
        QVERIFY(datei.indexOf(liste) > 0);
        datei.replace(datei.indexOf(liste), liste.size(), doppelt);
        GuiTest::Zuruecksetzen();
        pfad = ordner.filePath(QStringLiteral("Doppelt.zln"));
        {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(datei), datei.size());
        }
        QVERIFY(Daten.LadeDatei(pfad));
        const qint64 zeilenzahl = d.alleSchuelerKurse.AnzahlKurse() + 1;
        QCOMPARE(Daten.alleSchuelerKurse.AnzahlKurse(), zeilenzahl);

        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QCOMPARE(f->meineTabelle()->rowCount(), 4);
        QCOMPARE(Sichtbar(*f, 0, 3), QStringLiteral("Albers, Anna"));
        Tippen(*f, QStringLiteral("2"));
        Taste(*f, Qt::Key_Tab);
        SichernDruecken(*f);
        QVERIFY(f.isNull());

        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(gelesen.alleSchueler.AnzahlSchueler(), qint64(6));
        QCOMPARE(gelesen.alleSchuelerKurse.AnzahlKurse(), zeilenzahl);
        int gefunden = 0;
        for (qint64 i = 1; i <= gelesen.alleSchuelerKurse.AnzahlKurse(); ++i) {
            const SchuelerKursZeiger z = gelesen.alleSchuelerKurse.ZeigePosition(i);
            if (z->FachKuerzel == QStringLiteral("M") && z->ID == 11) {
                ++gefunden;
                QCOMPARE(Werte(z).first(), QStringLiteral("2"));
            }
        }
        QCOMPARE(gefunden, 2);
    }

    void spaetereAenderungNachSpeichernBleibtEigen()
    {
        // After a failed write the window keeps working on fresh copies: a later change does
        // not reach the global list before the next save.
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Tippen(*f, QStringLiteral("14"));
        Taste(*f, Qt::Key_Tab);
        const QString gut = Daten.datenFolder;
        Daten.datenFolder = ordner.path();
        plattform.antwortenWahl
            = { 0 }; // the offer to save elsewhere; the closing question: Escape
        SichernDruecken(*f);
        QVERIFY(!f.isNull());
        QVERIFY(f->Zeilenkopie(0) != Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11).get());
        Klick(*f, 0, 5);
        Tippen(*f, QStringLiteral("15"));
        Taste(*f, Qt::Key_Tab);
        QCOMPARE(Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                     ->Eintraege.ZeigeKursEintrag(0)
                     .datum,
            QStringLiteral("14"));
        Daten.datenFolder = gut;
        SichernDruecken(*f);
        QVERIFY(f.isNull());
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                     ->Eintraege.ZeigeKursEintrag(0)
                     .datum,
            QStringLiteral("15"));
    }

    void kursauswahlZeigtRotenPunkt()
    {
        auto* auswahl = new Kursauswahl;
        auswahl->show();
        QVERIFY(QTest::qWaitForWindowExposed(auswahl));
        const auto rot = [auswahl] {
            const QImage bild = auswahl->grab().toImage();
            int n = 0;
            for (int y = 0; y < bild.height(); ++y)
                for (int x = 0; x < bild.width(); ++x)
                    if (bild.pixelColor(x, y) == QColor(255, 0, 0))
                        ++n;
            return n;
        };
        QCOMPARE(rot(), 0);
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Tippen(*f, QStringLiteral("14"));
        Taste(*f, Qt::Key_Return);
        SichernDruecken(*f);
        QVERIFY(f.isNull());
        QVERIFY(rot() > 20);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterSichern)
#include "tst_kursfenster_sichern.moc"
