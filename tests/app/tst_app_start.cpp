// Start-up and handed-over documents.

#include "aufzeichnendeplattform.h"
#include "dateihelfer.h"
#include "datenbestand.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurslistenbauer.h"
#include "nachrichtenfenster.h"
#include "passwortfenster.h"
#include "splashscreen.h"

#include <QDir>
#include <QFile>
#include <QFileOpenEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

namespace {

// Runs the queued start-up sequence now.
void StartAusfuehren()
{
    QCoreApplication::sendPostedEvents(App(), QEvent::MetaCall);
}

// Writes the standard course list to pfad and starts on it: the open dialog takes it, the
// login succeeds, the selection window is open.
void AngemeldetStarten(AufzeichnendePlattform& plattform, const QString& pfad)
{
    QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
    plattform.antwortenDatei << pfad;
    GuiTest::BeiModal(
        [](QWidget* w) {
            auto* f = qobject_cast<Passwortfenster*>(w);
            f->TextFieldPasswort->setText("Geheim");
            f->TextFieldName->setText("Meier");
            f->PushOK->click();
        },
        "Passwortfenster");
    App()->Starten(pfad);
    StartAusfuehren();
}

} // namespace

class TestStart : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        GuiTest::Zuruecksetzen();
        zOrdner.reset(new QTemporaryDir);
        QVERIFY(zOrdner->isValid());
    }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    // --- Start-up -----------------------------------------------------------------------------

    void startMitDokumentOhneSplash()
    {
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        const QByteArray vorher = Dateihelfer::Inhalt(pfad);
        QSignalSpy splash(App(), &RAVIRIreru::SplashGeoeffnet);

        plattform.antwortenDatei << QString(); // the open dialog is cancelled
        App()->Starten(pfad);
        StartAusfuehren();

        QCOMPARE(splash.size(), 0);
        QCOMPARE(plattform.protokoll, QStringList({ "Öffnen: Notenlisten öffnen" }));
        // Not opened without asking: the dialog starts in its folder with it selected.
        QCOMPARE(plattform.oeffnenDialoge.first().startOrdner, zOrdner->path());
        QCOMPARE(plattform.oeffnenDialoge.first().vorschlag, pfad);
        QCOMPARE(plattform.oeffnenDialoge.first().filterMuster, QString("*.zln"));
        QVERIFY(App()->Beendet());
        QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
    }

    void startOhneDokumentZeigtSplash()
    {
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        const QByteArray vorher = Dateihelfer::Inhalt(pfad);
        QSignalSpy splash(App(), &RAVIRIreru::SplashGeoeffnet);
        bool offenBeimDialog = true;
        GuiTest::BeiModal(
            [&](QWidget* w) {
                // The open dialog waits for the splash window.
                offenBeimDialog = !plattform.oeffnenDialoge.isEmpty();
                QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(100, 100));
            },
            "SplashScreen");

        plattform.antwortenDatei << QString();
        App()->Starten(QString());
        StartAusfuehren();

        QCOMPARE(splash.size(), 1);
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QVERIFY(!offenBeimDialog);
        // Cancelled: ends without message and without writing.
        QCOMPARE(plattform.protokoll, QStringList({ "Öffnen: Notenlisten öffnen" }));
        QVERIFY(plattform.oeffnenDialoge.first().vorschlag.isEmpty());
        QVERIFY(App()->Beendet());
        QCOMPARE(QDir(zOrdner->path()).entryList(QDir::Files), QStringList({ "Kursliste.zln" }));
        QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
    }

    void abgelehnteDateiEndet_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // empty: no file at all
        QTest::addColumn<QString>("meldung");
        const QByteArray gut = Kurslistenbauer().Bytes();
        QByteArray ergebnis = gut;
        ergebnis[0] = 1;
        QByteArray neuer = gut;
        neuer[2] = char(neuer[2] + 1);
        QTest::newRow("fehlt") << QByteArray() << Meldungen::DateiFehlt;
        QTest::newRow("Ergebnisdatei") << ergebnis << Meldungen::KeineNotenliste;
        QTest::newRow("neuere Version") << neuer << Meldungen::NeuereVersion;
        QTest::newRow("abgeschnitten") << gut.left(gut.size() / 2) << Meldungen::Beschaedigt;
    }

    void abgelehnteDateiEndet()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, meldung);
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        if (!inhalt.isEmpty())
            QVERIFY(Dateihelfer::Schreiben(pfad, inhalt));
        GlobaleDatenZuruecksetzen();
        bool anmeldung = false;
        GuiTest::BeiModal(
            [&anmeldung](QWidget* w) {
                anmeldung = true;
                w->close();
            },
            "Passwortfenster");

        plattform.antwortenDatei << pfad;
        App()->Starten(pfad);
        StartAusfuehren();

        QCOMPARE(plattform.protokoll,
            QStringList({ "Öffnen: Notenlisten öffnen", "Meldung: " + meldung }));
        QVERIFY(!anmeldung);
        QVERIFY(App()->Beendet());
        QVERIFY(!Daten.geladen);
        if (!inhalt.isEmpty())
            QCOMPARE(Dateihelfer::Inhalt(pfad), inhalt);
        else
            QVERIFY(!QFile::exists(pfad));
    }

    void abgebrocheneAnmeldungEndet()
    {
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        const QByteArray vorher = Dateihelfer::Inhalt(pfad);
        GuiTest::BeiModal(
            [](QWidget* w) { QVERIFY(GuiTest::KnopfDruecken(w, "Abbrechen")); }, "Passwortfenster");

        plattform.antwortenDatei << pfad;
        App()->Starten(pfad);
        StartAusfuehren();

        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QVERIFY(Daten.geladen);
        QVERIFY(App()->Beendet());
        QVERIFY(!App()->kursauswahl());
        QCOMPARE(plattform.protokoll, QStringList({ "Öffnen: Notenlisten öffnen" }));
        QCOMPARE(Dateihelfer::Inhalt(pfad), vorher);
    }

    void anmeldungOeffnetKursauswahl()
    {
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        GuiTest::BeiModal(
            [](QWidget* w) {
                auto* f = qobject_cast<Passwortfenster*>(w);
                f->TextFieldPasswort->setText("Geheim");
                f->TextFieldName->setText("Meier");
                QTest::keyClick(f, Qt::Key_Return);
            },
            "Passwortfenster");

        plattform.antwortenDatei << pfad;
        App()->Starten(QString());
        GuiTest::BeiModal([](QWidget* w) { w->close(); }, "SplashScreen");
        StartAusfuehren();

        QVERIFY(!App()->Beendet());
        QVERIFY(App()->kursauswahl());
        QVERIFY(App()->kursauswahl()->isVisible());
        QCOMPARE(Daten.datenFolder, pfad);
        QCOMPARE(Daten.Unterschrift, QString("Meier"));
        QCOMPARE(Daten.alleKurse.AnzahlKurse(), qint64(2));
    }

    void dokumentVorDemStart_data()
    {
        QTest::addColumn<bool>("ereignis");
        QTest::newRow("OpenDocument") << false;
        QTest::newRow("QFileOpenEvent") << true;
    }

    void dokumentVorDemStart()
    {
        QFETCH(bool, ereignis);
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Anderer Ordner.zln");
        QSignalSpy splash(App(), &RAVIRIreru::SplashGeoeffnet);
        App()->Starten(QString());
        if (ereignis) {
            QFileOpenEvent oeffnen(pfad);
            QCoreApplication::sendEvent(App(), &oeffnen);
        } else {
            App()->OpenDocument(pfad);
        }
        StartAusfuehren();
        QCOMPARE(splash.size(), 0);
        QCOMPARE(plattform.oeffnenDialoge.size(), 1);
        QCOMPARE(plattform.oeffnenDialoge.first().vorschlag, pfad);
        QVERIFY(App()->Beendet());
    }

    // A course list handed over while another one is in use: the course windows of the
    // running one close and its changed state is written before the open dialog shows.
    void dokumentImBetrieb()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(QDir(zOrdner->path()).mkdir("zwei"));
        const QString zweite = zOrdner->filePath("zwei/Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(zweite,
            Kurslistenbauer()
                .Aendern([](Datenbestand& d) { d.alleKurse.Zeigen(1)->Fach = "Physik"; })
                .Bytes()));
        const QString erste = zOrdner->filePath("Kursliste.zln");
        QVERIFY(Dateihelfer::Schreiben(erste, Kurslistenbauer().Bytes()));
        auto anmelden = [](QWidget* w) {
            auto* f = qobject_cast<Passwortfenster*>(w);
            f->TextFieldPasswort->setText("Geheim");
            f->TextFieldName->setText("Meier");
            f->PushOK->click();
        };

        // Started with the first file and logged in.
        plattform.antwortenDatei << erste;
        GuiTest::BeiModal(anmelden, "Passwortfenster");
        App()->Starten(erste);
        StartAusfuehren();
        QPointer<Kursauswahl> ersteAuswahl = App()->kursauswahl();
        QVERIFY(ersteAuswahl);
        QCOMPARE(Daten.datenFolder, erste);

        // Running: a course window is open and a mail was reported as sent.
        auto* fenster = new Nachrichtenfenster;
        fenster->setAttribute(Qt::WA_DeleteOnClose);
        fenster->show();
        Daten.alleKurse.Zeigen(2)->gesendet = true;
        Daten.Geaendert();
        plattform.Leeren();
        plattform.antwortenDatei << zweite;
        GuiTest::BeiModal(anmelden, "Passwortfenster");
        QFileOpenEvent oeffnen(zweite);
        QCoreApplication::sendEvent(App(), &oeffnen);

        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(plattform.protokoll, QStringList({ "Öffnen: Notenlisten öffnen" }));
        QCOMPARE(plattform.oeffnenDialoge.first().vorschlag, zweite);
        QVERIFY(BasisEinstellungen::zFenster().isEmpty());
        QCOMPARE(Daten.datenFolder, zweite);
        QCOMPARE(Daten.alleKurse.Zeigen(1)->Fach, QString("Physik"));
        QVERIFY(App()->kursauswahl() && App()->kursauswahl() != ersteAuswahl.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!ersteAuswahl);
        QVERIFY(!App()->Beendet());
        // The first file got its change before it was left.
        GlobaleDatenZuruecksetzen();
        QVERIFY(Daten.LadeDatei(erste));
        QVERIFY(Daten.alleKurse.Zeigen(2)->gesendet);
    }

    // The open dialog of a handed-over document cancelled while the program runs: the
    // program ends as after any cancelled load, and the running data is kept and written.
    void dokumentImBetriebAbgebrochen()
    {
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        AngemeldetStarten(plattform, pfad);
        QVERIFY(App()->kursauswahl());

        Daten.alleKurse.Zeigen(1)->gesendet = true;
        Daten.Geaendert();
        plattform.Leeren();
        plattform.antwortenDatei << QString();
        App()->OpenDocument(zOrdner->filePath("andere.zln"));

        QCOMPARE(plattform.protokoll, QStringList({ "Öffnen: Notenlisten öffnen" }));
        QVERIFY(App()->Beendet());
        QCOMPARE(Daten.datenFolder, pfad);
        GlobaleDatenZuruecksetzen();
        QVERIFY(Daten.LadeDatei(pfad));
        QVERIFY(Daten.alleKurse.Zeigen(1)->gesendet);
    }

    // A later start of the program while this one works on a file: the file stays; another
    // file is refused with a word, the same file or none brings no message.
    void zweiterStartImBetrieb_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("meldung");
        QTest::newRow("dieselbe Datei") << "Kursliste.zln" << false;
        QTest::newRow("ohne Datei") << "" << false;
        QTest::newRow("andere Datei") << "andere.zln" << true;
    }
    void zweiterStartImBetrieb()
    {
        QFETCH(QString, name);
        QFETCH(bool, meldung);
        AufzeichnendePlattform plattform;
        const QString pfad = zOrdner->filePath("Kursliste.zln");
        AngemeldetStarten(plattform, pfad);
        QVERIFY(App()->kursauswahl());
        plattform.Leeren();

        App()->ZweiterStart(name.isEmpty() ? QString() : zOrdner->filePath(name));
        StartAusfuehren();

        QVERIFY(!App()->Beendet());
        QCOMPARE(Daten.datenFolder, pfad);
        QVERIFY(plattform.oeffnenDialoge.isEmpty());
        QCOMPARE(plattform.mitteilungen.size(), meldung ? 1 : 0);
        if (meldung) {
            QCOMPARE(plattform.mitteilungen.first().text,
                QStringLiteral("RAVIRIreru arbeitet schon mit der Kurslisten-Datei „%1“.")
                    .arg(QDir::toNativeSeparators(pfad)));
            QVERIFY(plattform.mitteilungen.first().erklaerung.contains("andere.zln"));
        }
    }

private:
    QScopedPointer<QTemporaryDir> zOrdner;
};

RAVIRIRERU_GUI_TEST_MAIN(TestStart)
#include "tst_app_start.moc"
