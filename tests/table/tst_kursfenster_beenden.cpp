// The course windows when the program quits ("Kursfenster mit Eingaben"), when the desktop
// session ends, and a course opened a second time from the course selection window.

#include "aufzeichnendeplattform.h"
#include "beendensignal.h"
#include "benachrichtiger.h"
#include "dateihelfer.h"
#include "dateisperre.h"
#include "eingabejournal.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <csignal>

using namespace Kurstabellentest;

namespace {

const QString NoteS = QStringLiteral("Note");
const QString Hinweis = QStringLiteral("Hinweis");

// The value of a student's entry of a course in the course-list file on disk.
QString ImDatei(const QString& pfad, const QString& kurs, qint64 id, const QString& bezeichnung)
{
    Datenbestand gelesen;
    Spaltenstruktur struktur;
    if (!Lesen(pfad, gelesen, struktur))
        return QStringLiteral("<nicht lesbar>");
    const SchuelerKursZeiger r = gelesen.alleSchuelerKurse.Zeigen(kurs, id);
    return r ? r->Eintraege.Zeigen(QString(), bezeichnung) : QStringLiteral("<keine Zeile>");
}

bool Aktivieren(QWidget* w)
{
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

} // namespace

class TestKursfensterBeenden : public Kursfenstertest {
    Q_OBJECT

private:
    QString pfad;
    QByteArray vorher;

    // Course "M" with "13" typed into the open editor (not yet checked) and course "D" with
    // a remark for student 12, checked with Tab.
    struct Zwei {
        QPointer<Kursfenster> m;
        QPointer<Kursfenster> d;
    };
    Zwei ZweiFensterMitEingaben()
    {
        Zwei z;
        z.m = Oeffnen(QStringLiteral("M"));
        Tippen(*z.m, QStringLiteral("13"));
        z.d = Oeffnen(QStringLiteral("D"));
        z.d->AktiviereEditZelle(0, Spalte(Hinweis));
        Tippen(*z.d, QStringLiteral("Referat"));
        Taste(*z.d, Qt::Key_Tab);
        return z;
    }

private slots:
    void init()
    {
        Grundzustand();
        pfad = Kurslistenbauer().Anlegen(ordner.path());
        QVERIFY(!pfad.isEmpty());
        vorher = Dateihelfer::Inhalt(pfad);
    }

    void frage_data()
    {
        // antwort: index of "Sichern", "Verwerfen", "Abbrechen"; -1 Escape.
        QTest::addColumn<int>("antwort");
        QTest::newRow("Sichern") << 0;
        QTest::newRow("Verwerfen") << 1;
        QTest::newRow("Abbrechen") << 2;
        QTest::newRow("Escape") << -1;
    }

    void frage()
    {
        QFETCH(int, antwort);
        Zwei z = ZweiFensterMitEingaben();
        const QString titelM = z.m->windowTitle();
        const QString titelD = z.d->windowTitle();
        if (antwort >= 0)
            plattform.antwortenWahl = { antwort };
        // After "Sichern" the quit sequence goes on: course "M" is changed and not
        // delivered, so its own question follows ("Ja").
        plattform.antwortenFrage = { true };
        App()->Beenden();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QCOMPARE(plattform.auswahlen.size(), 1);
        const Plattform::Auswahl& q = plattform.auswahlen.first();
        QCOMPARE(q.titel, QStringLiteral("Kursfenster mit Eingaben"));
        QCOMPARE(q.meldung,
            QStringLiteral("Sollen die Eingaben in den offenen Kursfenstern gesichert werden?"));
        QCOMPARE(q.erklaerung, titelM + QLatin1Char('\n') + titelD);
        QCOMPARE(q.knoepfe,
            (QStringList { QStringLiteral("Sichern"), QStringLiteral("Verwerfen"),
                QStringLiteral("Abbrechen") }));
        QCOMPARE(q.standard, 0);
        QCOMPARE(Plattform::AbbrechenIndex(q), 2);
        QCOMPARE(q.symbol, Plattform::Symbol::Warnung);
        QCOMPARE(plattform.pieps, 0);

        switch (antwort) {
        case 0:
            // Both windows saved as their own "Sichern" does, then the quit sequence.
            QVERIFY(App()->Beendet());
            QVERIFY(z.m.isNull());
            QVERIFY(z.d.isNull());
            QCOMPARE(plattform.fragen.size(), 1);
            QCOMPARE(plattform.fragen.first().titel, QStringLiteral("RAVIRIreru beenden?"));
            QCOMPARE(ImDatei(pfad, QStringLiteral("M"), 11, NoteS), QStringLiteral("13"));
            QCOMPARE(ImDatei(pfad, QStringLiteral("D"), 12, Hinweis), QStringLiteral("Referat"));
            QVERIFY(Kurstabellentest::Kurs(QStringLiteral("M"))->geaendert);
            QVERIFY(Kurstabellentest::Kurs(QStringLiteral("D"))->geaendert);
            QVERIFY(plattform.meldungen.isEmpty());
            break;
        case 1:
            // Dropped: the program ends without them, the file as it was.
            QVERIFY(App()->Beendet());
            QVERIFY(z.m.isNull());
            QVERIFY(z.d.isNull());
            QVERIFY(plattform.fragen.isEmpty());
            QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
            QCOMPARE(Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                         ->Eintraege.Zeigen(QString(), NoteS),
                QStringLiteral("12"));
            break;
        default:
            // Cancelled: everything as it was, the typed text still in the editor.
            QVERIFY(!App()->Beendet());
            QVERIFY(plattform.fragen.isEmpty());
            QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
            QVERIFY(z.m && z.m->isVisible());
            QVERIFY(z.d && z.d->isVisible());
            QCOMPARE(Editor(*z.m)->text(), QStringLiteral("13"));
            QVERIFY(z.m->OffeneEingabe());
            QVERIFY(z.d->LokalGeaendert());
            QCOMPARE(Gespeichert(*z.d, 0, Hinweis), QStringLiteral("Referat"));
            QCOMPARE(Kursfenster::OffeneFenster().size(), 2);
            break;
        }
    }

    void ohneEingabenKeineFrage()
    {
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> d = Oeffnen(QStringLiteral("D"));
        App()->Beenden();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(App()->Beendet());
        QVERIFY(plattform.protokoll.isEmpty());
        QVERIFY(m.isNull());
        QVERIFY(d.isNull());
        QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
    }

    void nurFensterMitEingabenWerdenGenannt()
    {
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> d = Oeffnen(QStringLiteral("D"));
        d->AktiviereEditZelle(1, Spalte(NoteS));
        Tippen(*d, QStringLiteral("E"));
        plattform.antwortenWahl = { 2 };
        App()->Beenden();
        QCOMPARE(plattform.auswahlen.size(), 1);
        QCOMPARE(plattform.auswahlen.first().erklaerung, d->windowTitle());
    }

    void sichernAbgelehnt()
    {
        // The open cell refuses its text: beep, the stored value back, the window in front,
        // and the program keeps running.
        Zwei z = ZweiFensterMitEingaben();
        Editor(*z.m)->selectAll();
        Tippen(*z.m, QStringLiteral("99"));
        plattform.antwortenWahl = { 0 };
        App()->Beenden();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!App()->Beendet());
        QCOMPARE(plattform.pieps, 1);
        QVERIFY(z.m);
        QCOMPARE(Editor(*z.m)->text(), QStringLiteral("12"));
        QTRY_VERIFY(z.m->isActiveWindow());
        QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
        // The second window is untouched.
        QVERIFY(z.d && z.d->LokalGeaendert());
    }

    void sichernScheitert()
    {
        // The file cannot be written: the message with the offer to save elsewhere
        // ("Abbrechen"), the window stays open in front with its entries, the program keeps
        // running.
        Zwei z = ZweiFensterMitEingaben();
        Daten.datenFolder = ordner.path(); // a folder stands where the file should be
        plattform.antwortenWahl = { 0, 1 };
        App()->Beenden();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!App()->Beendet());
        QCOMPARE(plattform.auswahlen.size(), 2);
        QCOMPARE(plattform.auswahlen.at(1).meldung,
            QStringLiteral("Die Kurslisten-Datei (zln) konnte nicht gesichert werden."));
        QCOMPARE(plattform.auswahlen.at(1).knoepfe,
            (QStringList { QStringLiteral("Sichern unter …"), QStringLiteral("Abbrechen") }));
        QVERIFY(plattform.fragen.isEmpty());
        QVERIFY(z.m && z.m->isVisible());
        QVERIFY(z.m->LokalGeaendert());
        QCOMPARE(Sichtbar(*z.m, 0, Spalte(NoteS)), QStringLiteral("13"));
        QTRY_VERIFY(z.m->isActiveWindow());
        QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
    }

    void wegeDesBeendens_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::newRow("Strg+Q im Kursfenster") << QStringLiteral("Strg+Q");
        QTest::newRow("Menü Beenden") << QStringLiteral("Menü");
        QTest::newRow("Kursauswahl schließen") << QStringLiteral("Kursauswahl");
        QTest::newRow("Beenden des Desktops") << QStringLiteral("Quit");
    }

    void wegeDesBeendens()
    {
        // Every road to quitting asks first; "Abbrechen" keeps everything.
        QFETCH(QString, weg);
        auto* auswahl = new Kursauswahl;
        App()->setzeKursauswahl(auswahl);
        auswahl->show();
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        QVERIFY(Aktivieren(m));
        Tippen(*m, QStringLiteral("13"));
        plattform.antwortenWahl = { 2 };
        if (weg == QStringLiteral("Strg+Q")) {
            QTest::keyClick(Editor(*m), Qt::Key_Q, Qt::ControlModifier);
        } else if (weg == QStringLiteral("Menü")) {
            QAction* beenden = m->findChild<QAction*>(QStringLiteral("AblageBeenden"));
            if (!beenden)
                beenden = Menue::Instanz().Eintrag(QStringLiteral("AblageBeenden"));
            QVERIFY(beenden);
            beenden->trigger();
        } else if (weg == QStringLiteral("Kursauswahl")) {
            QVERIFY(!auswahl->close());
        } else {
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(App(), &quit);
        }
        QCOMPARE(plattform.auswahlen.size(), 1);
        QCOMPARE(plattform.auswahlen.first().titel, QStringLiteral("Kursfenster mit Eingaben"));
        QVERIFY(!App()->Beendet());
        QVERIFY(auswahl->isVisible());
        QVERIFY(m && m->isVisible());
        QCOMPARE(Editor(*m)->text(), QStringLiteral("13"));

        // Again, now "Sichern".
        plattform.antwortenWahl = { 0 };
        plattform.antwortenFrage = { true };
        App()->Beenden();
        QVERIFY(App()->Beendet());
        QCOMPARE(ImDatei(pfad, QStringLiteral("M"), 11, NoteS), QStringLiteral("13"));
    }

    void sitzungsendeSichertOhneFrage_data()
    {
        QTest::addColumn<bool>("fragen");
        QTest::newRow("ohne Rückfragen") << false;
        QTest::newRow("mit Rückfragen") << true;
    }

    void sitzungsendeSichertOhneFrage()
    {
        QFETCH(bool, fragen);
        Zwei z = ZweiFensterMitEingaben();
        plattform.antwortenFrage = { true };
        QVERIFY(App()->SitzungEndet(fragen));
        QVERIFY(plattform.auswahlen.isEmpty());
        QCOMPARE(ImDatei(pfad, QStringLiteral("M"), 11, NoteS), QStringLiteral("13"));
        QCOMPARE(ImDatei(pfad, QStringLiteral("D"), 12, Hinweis), QStringLiteral("Referat"));
        QVERIFY(z.m && !z.m->HatUngesicherteEingaben());
        QVERIFY(z.d && !z.d->HatUngesicherteEingaben());
        // With questions allowed the quit sequence asks its own ("RAVIRIreru beenden?").
        QCOMPARE(plattform.fragen.size(), fragen ? 1 : 0);
        QCOMPARE(App()->Beendet(), fragen);
    }

    // SIGTERM and SIGHUP end the program as the desktop's quit does: the windows' entries
    // saved without a question, the program ended, the lock gone.
    void signalBeendet_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void signalBeendet()
    {
        QFETCH(int, signal);
        Zwei z = ZweiFensterMitEingaben();
        const QString sperrdatei = Dateisperre::SperrdateiVon(pfad);
        QVERIFY(QFileInfo::exists(sperrdatei));
        QVERIFY(Beendensignal::Instanz().Einrichten());
        auto aufheben = qScopeGuard([] { Beendensignal::Instanz().Aufheben(); });
        QCOMPARE(::raise(signal), 0);
        QTRY_VERIFY(App()->Beendet());
        QCOMPARE(plattform.protokoll, QStringList());
        QCOMPARE(ImDatei(pfad, QStringLiteral("M"), 11, NoteS), QStringLiteral("13"));
        QCOMPARE(ImDatei(pfad, QStringLiteral("D"), 12, Hinweis), QStringLiteral("Referat"));
        QVERIFY(!z.m || !z.m->isVisible());
        QVERIFY(!QFileInfo::exists(sperrdatei));
    }

    void sitzungsendeMitAbgelehnterZelle()
    {
        // A refused text in the open cell goes back to the stored value; the rest is saved.
        Zwei z = ZweiFensterMitEingaben();
        Editor(*z.m)->selectAll();
        Tippen(*z.m, QStringLiteral("99"));
        Klick(*z.m, 2, 3); // refused: the editor stays on the cell, the stored value back
        QCOMPARE(Editor(*z.m)->text(), QStringLiteral("12"));
        Editor(*z.m)->selectAll();
        Tippen(*z.m, QStringLiteral("99"));
        QVERIFY(z.m->SpalteOK(QStringLiteral("neu"), 1, Spalte(Hinweis)));
        QVERIFY(App()->SitzungEndet(false));
        QCOMPARE(ImDatei(pfad, QStringLiteral("M"), 11, NoteS), QStringLiteral("12"));
        QCOMPARE(ImDatei(pfad, QStringLiteral("M"), 12, Hinweis), QStringLiteral("neu"));
        QCOMPARE(ImDatei(pfad, QStringLiteral("D"), 12, Hinweis), QStringLiteral("Referat"));
    }

    void sitzungsendeOhneSicherung()
    {
        // The desktop session ends and the file cannot be written; the teacher is told and
        // answers "Abbrechen" to "Sichern unter …". The program ends all the same: the
        // windows' entries stay in the recovery journal for the next start.
        Zwei z = ZweiFensterMitEingaben();
        QVERIFY(z.m->Journal() && z.d->Journal());
        const QString journalM = z.m->Journal()->Datei();
        const QString journalD = z.d->Journal()->Datei();
        Daten.datenFolder = ordner.path(); // a folder stands where the file should be
        plattform.antwortenWahl = { 1, 1 };
        QVERIFY(App()->SitzungEndet(false));
        QCOMPARE(plattform.auswahlen.size(), 2);
        QCOMPARE(plattform.auswahlen.first().meldung,
            QStringLiteral("Die Kurslisten-Datei (zln) konnte nicht gesichert werden."));
        QVERIFY(z.m->LokalGeaendert() && z.d->LokalGeaendert());
        Benachrichtiger::Instanz().SetzeProgrammEndet(true);
        QVERIFY(z.m->close());
        QVERIFY(z.d->close());
        QVERIFY(QFileInfo(journalM).size() > 0);
        QVERIFY(QFileInfo(journalD).size() > 0);

        // A window closed on a normal end takes its part of the journal with it.
        Benachrichtiger::Instanz().SetzeProgrammEndet(false);
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        QVERIFY(m && m->Journal());
        Tippen(*m, QStringLiteral("14"));
        Taste(*m, Qt::Key_Tab);
        const QString journalNeu = m->Journal()->Datei();
        QVERIFY(QFileInfo::exists(journalNeu));
        plattform.antwortenWahl = { 1 }; // "Verwerfen": close without the entries
        QVERIFY(m->close());
        QVERIFY(!QFileInfo::exists(journalNeu));
    }

    // --- A course opens once -------------------------------------------------------------

    void kursEinmalOeffnen_data()
    {
        QTest::addColumn<bool>("doppelklick");
        QTest::newRow("Doppelklick") << true;
        QTest::newRow("Kursliste zeigen") << false;
    }

    void kursEinmalOeffnen()
    {
        QFETCH(bool, doppelklick);
        auto* auswahl = new Kursauswahl;
        App()->setzeKursauswahl(auswahl);
        auswahl->show();
        QVERIFY(Aktivieren(auswahl));
        auto* liste = auswahl->findChild<QTableWidget*>(QStringLiteral("Liste"));
        QVERIFY(liste);
        const QPoint zeile = liste->visualRect(liste->model()->index(0, 1)).center();
        const auto oeffnen = [&] {
            if (doppelklick) {
                QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, zeile);
                QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, zeile);
                QTest::mouseRelease(liste->viewport(), Qt::LeftButton, {}, zeile);
            } else {
                auto* leiste = auswahl->findChild<QToolBar*>(QStringLiteral("ToolbarWerkzeuge"));
                QWidget* knopf = leiste->widgetForAction(
                    auswahl->findChild<QAction*>(QStringLiteral("ToolItemZeigen")));
                QTest::mouseClick(knopf, Qt::LeftButton);
            }
        };
        oeffnen();
        QCOMPARE(Kursfenster::OffeneFenster().size(), 1);
        QPointer<Kursfenster> m = Kursfenster::OffeneFenster().first();
        QTRY_VERIFY(m->isActiveWindow());
        Tippen(*m, QStringLiteral("13"));
        m->showMinimized();
        QVERIFY(Aktivieren(auswahl));

        // The second opening brings the same window to the front, with what was typed.
        oeffnen();
        QCOMPARE(Kursfenster::OffeneFenster().size(), 1);
        QCOMPARE(Kursfenster::OffeneFenster().first(), m.data());
        QTRY_VERIFY(m->isActiveWindow());
        QVERIFY(!m->isMinimized());
        QCOMPARE(Editor(*m)->text(), QStringLiteral("13"));
        QVERIFY(plattform.meldungen.isEmpty());

        // Once closed, the course opens anew.
        plattform.antwortenWahl = { 1 };
        QVERIFY(m->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m.isNull());
        QVERIFY(Aktivieren(auswahl));
        oeffnen();
        QCOMPARE(Kursfenster::OffeneFenster().size(), 1);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterBeenden)
#include "tst_kursfenster_beenden.moc"
