// Delivering a course from the selection window: the save path of "Speichern", the send
// path of "Senden" and the mail client's two reports.

#include "benachrichtiger.h"
#include "dateihelfer.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahlzugriff.h"
#include "kurslistenbauer.h"
#include "kurslistenzeichner.h"
#include "mailversand.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Kursauswahlzugriff;

namespace {

const QString Schreibfehler
    = QStringLiteral("Die Noten-Datei für den Kurs konnte nicht angelegt werden");
const QString OhneSchueler
    = QStringLiteral("Der Kurs enthält keine Schüler. Somit entfällt eine Noteneingabe.");
const QString Versandt = QStringLiteral("Die Mail wurde erfolgreich versandt!");
const QString FehlerMeldung
    = QStringLiteral("Beim Versenden der Nachricht ist ein Fehler aufgetreten!");
const QString Titel = QStringLiteral("Noteneingabe Mathematik - LK2 - Mü");

QByteArray ErwarteteDatei(const Kurs& kurs)
{
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!Daten.SchreibeErgebnis(puffer, kurs, meldung))
        qWarning() << meldung;
    return bytes;
}

} // namespace

class TstKursauswahlVersand : public Fenstertest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void speichernSchreibtDieDatei_data();
    void speichernSchreibtDieDatei();
    void speichernAbgebrochen();
    void speichernSchlaegtFehl();
    void speichernPrueftKeineSchueler();
    void sendenOhneSchueler();
    void sendenAbgebrochenOderFehlgeschlagen_data();
    void sendenAbgebrochenOderFehlgeschlagen();
    void sendenFrage_data();
    void sendenFrage();
    void sendenNein();
    void sendenJaUebergibtDenAuftrag();
    void einKursNurEinmalUnterwegs();
    void berichtGesendet_data();
    void berichtGesendet();
    void berichtFehler_data();
    void berichtFehler();
    void fehlerNachGesendetZeigtNichts();
    void fehlerNachAuswahlwechsel();
    void fremdeBerichteZeigenNichts();
    void veralteteDateiWirdNichtGesendet_data();
    void veralteteDateiWirdNichtGesendet();
    void lueckenFrage_data();
    void lueckenFrage();
    void unvollstaendigAbgegeben();
    void bestaetigungNachSpeichern();

private:
    // A window over the standard list's two courses, both changed: row 0 "Mathematik LK2",
    // row 1 "Deutsch GK1" (half-year "12.1", teacher "Mü"); transfers are recorded instead
    // of sent.
    std::unique_ptr<Kursauswahl> Fenster();
    // Saves row 0 through "Senden", answers the question with "Ja", returns the transfer's tag.
    QString SendeErstenKurs(Kursauswahl& fenster);
    Mailversand* Socket(Kursauswahl& fenster)
    {
        return fenster.findChild<Mailversand*>(QStringLiteral("SMTPSocket1"));
    }

    std::unique_ptr<QTemporaryDir> zOrdner;
    QList<Mailversand::Auftrag> zAuftraege;
};

void TstKursauswahlVersand::init()
{
    Grundzustand();
    // Both courses complete: their delivery asks nothing about missing grades.
    Kurslistenbauer()
        .Kursflaggen("M", true, false, false)
        .Kursflaggen("D", true, false, false)
        .Vollstaendig("M")
        .Vollstaendig("D")
        .AlsGlobaleDaten();
    zOrdner = std::make_unique<QTemporaryDir>();
    QVERIFY(zOrdner->isValid());
    zAuftraege.clear();
}

void TstKursauswahlVersand::cleanup()
{
    Aufraeumen();
    zOrdner.reset();
}

std::unique_ptr<Kursauswahl> TstKursauswahlVersand::Fenster()
{
    auto fenster = std::make_unique<Kursauswahl>();
    fenster->setzeVersand([this](const Mailversand::Auftrag& a) { zAuftraege.append(a); });
    fenster->show();
    if (!QTest::qWaitForWindowExposed(fenster.get()))
        qWarning("Fenster nicht sichtbar");
    return fenster;
}

QString TstKursauswahlVersand::SendeErstenKurs(Kursauswahl& fenster)
{
    plattform.antwortenDatei << zOrdner->filePath("Noten 12.1-M-LK2-Mü.zle");
    plattform.antwortenFrage << true;
    Druecken(fenster, "ToolItemSenden");
    if (zAuftraege.isEmpty())
        return {};
    return zAuftraege.last().kennung;
}

void TstKursauswahlVersand::speichernSchreibtDieDatei_data()
{
    QTest::addColumn<bool>("abitur");
    QTest::addColumn<qint64>("nr");
    QTest::addColumn<bool>("mitWarnung");
    QTest::addColumn<QString>("vorschlag");

    QTest::newRow("Halbjahr") << false << qint64(2) << false << "Noten 12.1-M-LK2-Mü.zle";
    QTest::newRow("Abitur") << true << qint64(2) << false << "Noten Abitur-M-LK2-Mü.zle";
    QTest::newRow("Nummer 0, Warnung") << false << qint64(0) << true << "Noten 12.1-M-LK0-Mü.zle";
}

void TstKursauswahlVersand::speichernSchreibtDieDatei()
{
    QFETCH(bool, abitur);
    QFETCH(qint64, nr);
    QFETCH(bool, mitWarnung);
    QFETCH(QString, vorschlag);

    Daten.istAbiturListe = abitur;
    Daten.mitWarnung = mitWarnung;
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    kurs->kNr = nr;
    kurs->GewarntSchueler = Menge(QStringLiteral("12"));
    auto fenster = Fenster();
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(255, 0, 0));

    const QString pfad = zOrdner->filePath("ergebnis.zle");
    plattform.antwortenDatei << pfad;
    Druecken(*fenster, "ToolItemSpeichern");

    QCOMPARE(plattform.speichernDialoge.size(), 1);
    const Plattform::DateiDialog dialog = plattform.speichernDialoge.first();
    QCOMPARE(dialog.titel, QStringLiteral("Kursdaten speichern"));
    QCOMPARE(dialog.aktionsKnopf, QStringLiteral("Speichern"));
    QCOMPARE(dialog.abbrechenKnopf, QStringLiteral("Nicht speichern"));
    QCOMPARE(dialog.filterName, QStringLiteral("RAVIRIreru-Ergebnis"));
    QCOMPARE(dialog.filterMuster, QStringLiteral("*.zle"));
    QCOMPARE(dialog.startOrdner, QString());
    QCOMPARE(dialog.vorschlag, vorschlag);

    const QByteArray erwartet = ErwarteteDatei(*kurs);
    QVERIFY(!erwartet.isEmpty());
    QCOMPARE(Dateihelfer::Lesen(pfad), erwartet);
    QVERIFY(plattform.meldungen.isEmpty());
    QVERIFY(plattform.fragen.isEmpty());
    QVERIFY(kurs->gespeichert);
    QVERIFY(!kurs->gesendet);
    QVERIFY(Daten.wurdeGeaendert());
    QTRY_COMPARE(FarbeInZelle(*fenster, 0), QColor(0, 0, 255));
    QVERIFY(!Knopf(*fenster, "ToolItemSpeichern")->isEnabled());
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
    // The other course is untouched.
    QVERIFY(!Daten.alleKurse.Zeigen(2)->gespeichert);
    QCOMPARE(FarbeInZelle(*fenster, 1), QColor(255, 0, 0));
}

void TstKursauswahlVersand::speichernAbgebrochen()
{
    auto fenster = Fenster();
    const Kurs vorher = *Daten.alleKurse.Zeigen(1);
    plattform.antwortenDatei << QString();
    Druecken(*fenster, "ToolItemSpeichern");

    QCOMPARE(plattform.speichernDialoge.size(), 1);
    QCOMPARE(*Daten.alleKurse.Zeigen(1), vorher);
    QVERIFY(!Daten.wurdeGeaendert());
    QVERIFY(plattform.meldungen.isEmpty());
    QVERIFY(QDir(zOrdner->path()).isEmpty());
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(255, 0, 0));
    QVERIFY(Knopf(*fenster, "ToolItemSpeichern")->isEnabled());
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
}

void TstKursauswahlVersand::speichernSchlaegtFehl()
{
    // A file where a folder is expected: the result file cannot be created (also as root).
    QFile sperre(zOrdner->filePath("keinordner"));
    QVERIFY(sperre.open(QIODevice::WriteOnly));
    sperre.close();
    auto fenster = Fenster();
    const Kurs vorher = *Daten.alleKurse.Zeigen(1);

    plattform.antwortenDatei << zOrdner->filePath("keinordner/ergebnis.zle");
    Druecken(*fenster, "ToolItemSpeichern");

    QCOMPARE(plattform.meldungen, QStringList { Schreibfehler });
    QCOMPARE(*Daten.alleKurse.Zeigen(1), vorher);
    QVERIFY(!Daten.wurdeGeaendert());
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(255, 0, 0));
    QVERIFY(Knopf(*fenster, "ToolItemSpeichern")->isEnabled());
}

void TstKursauswahlVersand::speichernPrueftKeineSchueler()
{
    Daten.alleKurse.Zeigen(1)->Schueler = Menge();
    auto fenster = Fenster();
    const QString pfad = zOrdner->filePath("leer.zle");
    plattform.antwortenDatei << pfad;
    Druecken(*fenster, "ToolItemSpeichern");

    QVERIFY(plattform.meldungen.isEmpty());
    QCOMPARE(Dateihelfer::Lesen(pfad), ErwarteteDatei(*Daten.alleKurse.Zeigen(1)));
    QVERIFY(Daten.alleKurse.Zeigen(1)->gespeichert);
}

void TstKursauswahlVersand::sendenOhneSchueler()
{
    Daten.alleKurse.Zeigen(1)->Schueler = Menge();
    auto fenster = Fenster();
    Druecken(*fenster, "ToolItemSenden");

    QCOMPARE(plattform.protokoll, QStringList { "Meldung: " + OhneSchueler });
    QVERIFY(!Daten.alleKurse.Zeigen(1)->gespeichert);
    QVERIFY(zAuftraege.isEmpty());
}

void TstKursauswahlVersand::sendenAbgebrochenOderFehlgeschlagen_data()
{
    QTest::addColumn<QString>("datei"); // relative to the temporary folder; empty: cancel
    QTest::addColumn<QStringList>("meldungen");

    QTest::newRow("abgebrochen") << QString() << QStringList();
    QTest::newRow("nicht schreibbar") << "keinordner/x.zle" << QStringList { Schreibfehler };
}

void TstKursauswahlVersand::sendenAbgebrochenOderFehlgeschlagen()
{
    QFETCH(QString, datei);
    QFETCH(QStringList, meldungen);

    QFile sperre(zOrdner->filePath("keinordner"));
    QVERIFY(sperre.open(QIODevice::WriteOnly));
    sperre.close();
    auto fenster = Fenster();
    plattform.antwortenDatei << (datei.isEmpty() ? QString() : zOrdner->filePath(datei));
    plattform.antwortenFrage << true;
    Druecken(*fenster, "ToolItemSenden");

    QCOMPARE(plattform.speichernDialoge.size(), 1);
    QCOMPARE(plattform.meldungen, meldungen);
    QVERIFY(plattform.fragen.isEmpty());
    QVERIFY(zAuftraege.isEmpty());
    QVERIFY(!Daten.alleKurse.Zeigen(1)->gespeichert);
    QVERIFY(!Daten.wurdeGeaendert());
}

void TstKursauswahlVersand::sendenFrage_data()
{
    QTest::addColumn<bool>("abitur");
    QTest::addColumn<QString>("antwort"); // the dialog's answer in the folder; "" = suggestion
    QTest::addColumn<QString>("datei"); // the file written, named by the question

    QTest::newRow("Halbjahr, Vorschlag") << false << ""
                                         << "Noten 12.1-M-LK2-Mü.zle";
    QTest::newRow("Abitur, Vorschlag") << true << ""
                                       << "Noten Abitur-M-LK2-Mü.zle";
    QTest::newRow("umbenannt") << false << "anders benannt.zle"
                               << "anders benannt.zle";
    QTest::newRow("umbenannt ohne Endung") << false << "anders"
                                           << "anders.zle";
    QTest::newRow("andere Endung") << false << "anders.txt"
                                   << "anders.txt.zle";
}

void TstKursauswahlVersand::sendenFrage()
{
    QFETCH(bool, abitur);
    QFETCH(QString, antwort);
    QFETCH(QString, datei);

    Daten.istAbiturListe = abitur;
    auto fenster = Fenster();
    // The question names the file that was really written, with its folder.
    const QString pfad = zOrdner->filePath(datei);
    const QString titel = Titel;
    const QString meldung
        = QStringLiteral("Soll die Kursliste\nMathematik - LK2 - Mü\ngesendet werden?");
    const QString erklaerung = "Die Kursliste wurde unter dem Namen\n" + datei + "\nim Ordner\n"
        + QDir::toNativeSeparators(zOrdner->path())
        + "\ngesichert.\n\nEmpfänger: noten@schule.example";
    plattform.antwortenDatei << zOrdner->path() + u'/' + antwort;
    plattform.antwortenFrage << false;
    // When the question shows, the file is written and the dot is already blue.
    QColor farbeBeiFrage;
    plattform.beiFrage
        = [&](const struct Plattform::Frage&) { farbeBeiFrage = FarbeInZelle(*fenster, 0); };
    Druecken(*fenster, "ToolItemSenden");

    QCOMPARE(plattform.fragen.size(), 1);
    QVERIFY(plattform.auswahlen.isEmpty()); // a complete course: no question about gaps
    const struct Plattform::Frage frage = plattform.fragen.first();
    QCOMPARE(frage.titel, titel);
    QCOMPARE(frage.meldung, meldung);
    QCOMPARE(frage.erklaerung, erklaerung);
    QCOMPARE(frage.standardKnopf, QStringLiteral("Ja"));
    QCOMPARE(frage.andererKnopf, QStringLiteral("Nein"));
    QCOMPARE(farbeBeiFrage, QColor(0, 0, 255));
    QCOMPARE(Dateihelfer::Lesen(pfad), ErwarteteDatei(*Daten.alleKurse.Zeigen(1)));
    QCOMPARE(QDir(zOrdner->path()).entryList(QDir::Files), QStringList { datei });
}

void TstKursauswahlVersand::sendenNein()
{
    auto fenster = Fenster();
    const QString pfad = zOrdner->filePath("Noten 12.1-M-LK2-Mü.zle");
    plattform.antwortenDatei << pfad;
    plattform.antwortenFrage << false;
    Druecken(*fenster, "ToolItemSenden");

    QCOMPARE(plattform.fragen.size(), 1);
    QVERIFY(zAuftraege.isEmpty());
    QVERIFY(QFile::exists(pfad));
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    QVERIFY(kurs->gespeichert);
    QVERIFY(!kurs->gesendet);
    QVERIFY(Daten.wurdeGeaendert());
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(0, 0, 255));
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
    QVERIFY(!Knopf(*fenster, "ToolItemSpeichern")->isEnabled());
}

void TstKursauswahlVersand::sendenJaUebergibtDenAuftrag()
{
    Daten.Unterschrift = QStringLiteral("Frau Müller");
    auto fenster = Fenster();
    const QString pfad = zOrdner->filePath("anders.zle");
    plattform.antwortenDatei << pfad;
    plattform.antwortenFrage << true;
    Druecken(*fenster, "ToolItemSenden");

    QCOMPARE(zAuftraege.size(), 1);
    const Mailversand::Auftrag a = zAuftraege.first();
    QCOMPARE(a.server, QStringLiteral("mail.schule.example"));
    QCOMPARE(a.port, 465);
    QCOMPARE(a.benutzer, QStringLiteral("lehrer"));
    QCOMPARE(a.pass, QStringLiteral("Kennwort"));
    QCOMPARE(a.absender, QStringLiteral("lehrer@schule.example"));
    QCOMPARE(a.empfaenger, QStringLiteral("noten@schule.example"));
    // The subject follows the file really written.
    QCOMPARE(a.betreff, QStringLiteral("anders"));
    QCOMPARE(a.text, QStringLiteral("Notenliste von Frau Müller:"));
    QCOMPARE(a.dateiPfad, pfad);
    QVERIFY(!a.kennung.isEmpty());
    // Nothing is marked before the report arrives.
    QVERIFY(!Daten.alleKurse.Zeigen(1)->gesendet);
    QVERIFY(fenster->VersandLaeuft(Daten.alleKurse.Zeigen(1)));

    // After a failed transfer the course can be sent again; the new transfer has its own tag.
    emit Socket(*fenster)->Error(a.kennung, 7);
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
    plattform.antwortenDatei << pfad;
    plattform.antwortenFrage << true;
    Druecken(*fenster, "ToolItemSenden");
    QCOMPARE(zAuftraege.size(), 2);
    QVERIFY(zAuftraege.at(1).kennung != a.kennung);
}

// While a course's file is on its way, "Senden" is disabled for that course (also for the
// keyboard: Senden itself refuses) and its row shows a green ring; another course can be sent.
void TstKursauswahlVersand::einKursNurEinmalUnterwegs()
{
    auto fenster = Fenster();
    const KursZeiger mathe = Daten.alleKurse.Zeigen(1);
    const QString kennung = SendeErstenKurs(*fenster);
    QVERIFY(!kennung.isEmpty());
    // The left edge of the ring, on the dot's middle line.
    const QPoint ring(KurslistenZeichner::RingRand,
        KurslistenZeichner::RingRand + KurslistenZeichner::RingGroesse / 2);
    const auto gruen = [](const QColor& farbe) {
        return farbe.green() >= 150 && farbe.red() <= 80 && farbe.blue() <= 80;
    };

    QVERIFY(!Knopf(*fenster, "ToolItemSenden")->isEnabled());
    QTRY_VERIFY2(
        gruen(FarbeInZelle(*fenster, 0, ring)), qPrintable(FarbeInZelle(*fenster, 0, ring).name()));
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(0, 0, 255)); // the dot itself: saved
    QCOMPARE(FarbeInZelle(*fenster, 1, ring), QColor(255, 255, 255));
    QCOMPARE(Liste(*fenster)->item(0, 1)->toolTip(),
        QStringLiteral("Die Noten dieses Kurses werden gerade versandt."));
    QCOMPARE(Liste(*fenster)->item(1, 1)->toolTip(), QString());
    fenster->Senden(mathe, zOrdner->filePath("Noten 12.1-M-LK2-Mü.zle"));
    QCOMPARE(zAuftraege.size(), 1);

    // The other course goes its own way meanwhile.
    KlickeZeile(*fenster, 1);
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
    plattform.antwortenDatei << zOrdner->path() + u'/';
    plattform.antwortenFrage << true;
    Druecken(*fenster, "ToolItemSenden");
    QCOMPARE(zAuftraege.size(), 2);
    QCOMPARE(zAuftraege.at(1).betreff, QStringLiteral("Noten 12.1-D-GK1-Mü"));

    emit Socket(*fenster)->MailSent(kennung);
    QVERIFY(mathe->gesendet);
    QVERIFY(!fenster->VersandLaeuft(mathe));
    QVERIFY(fenster->VersandLaeuft(Daten.alleKurse.Zeigen(2)));
    QTRY_COMPARE(FarbeInZelle(*fenster, 0, ring), QColor(255, 255, 255));
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(0, 200, 0));
    QCOMPARE(Liste(*fenster)->item(0, 1)->toolTip(), QString());
}

void TstKursauswahlVersand::berichtGesendet_data()
{
    QTest::addColumn<int>("auswahlBeimBericht"); // -1: no row selected

    QTest::newRow("Kurs noch ausgewählt") << 0;
    QTest::newRow("anderer Kurs ausgewählt") << 1;
    QTest::newRow("nichts ausgewählt") << -1;
}

void TstKursauswahlVersand::berichtGesendet()
{
    QFETCH(int, auswahlBeimBericht);

    auto fenster = Fenster();
    const QString kennung = SendeErstenKurs(*fenster);
    QVERIFY(!kennung.isEmpty());
    plattform.Leeren();
    Daten.zGeaendert = false;

    QTableWidget* liste = Liste(*fenster);
    if (auswahlBeimBericht >= 0)
        KlickeZeile(*fenster, auswahlBeimBericht);
    else
        liste->clearSelection();

    emit Socket(*fenster)->MailSent(kennung);

    QCOMPARE(plattform.protokoll, QStringList { "Meldung: " + Versandt });
    // A report of success: the information icon, the course in the title, the file and address.
    const Plattform::Mitteilung m = plattform.mitteilungen.first();
    QCOMPARE(m.symbol, Plattform::Symbol::Information);
    QCOMPARE(m.titel, Titel);
    QCOMPARE(m.erklaerung,
        QStringLiteral(
            "Die Datei 'Noten 12.1-M-LK2-Mü.zle' wurde an noten@schule.example gesendet."));
    QVERIFY(Daten.alleKurse.Zeigen(1)->gesendet);
    QVERIFY(!Daten.alleKurse.Zeigen(2)->gesendet);
    QVERIFY(!Daten.alleKurse.Zeigen(2)->gespeichert);
    QVERIFY(Daten.wurdeGeaendert());
    QTRY_COMPARE(FarbeInZelle(*fenster, 0), QColor(0, 200, 0));
    QCOMPARE(FarbeInZelle(*fenster, 1), QColor(255, 0, 0));
    // The toolbar still follows the selected course.
    const KursZeiger gewaehlt = fenster->AusgewaehlterKurs();
    QCOMPARE(gewaehlt,
        auswahlBeimBericht < 0 ? KursZeiger() : Daten.alleKurse.Zeigen(auswahlBeimBericht + 1));
    QCOMPARE(Knopf(*fenster, "ToolItemSenden")->isEnabled(), auswahlBeimBericht == 1);
    QCOMPARE(Knopf(*fenster, "ToolItemSpeichern")->isEnabled(), auswahlBeimBericht == 1);
}

void TstKursauswahlVersand::berichtFehler_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("mailSenden");
    QTest::addColumn<bool>("mailprogrammDa");
    QTest::addColumn<bool>("frage");
    QTest::addColumn<QString>("grund");

    QTest::newRow("Anmeldung, Mail senden")
        << 67 << true << true << true
        << "Grund: Der Mailserver hat die Anmeldung abgelehnt. (Fehler 67)";
    QTest::newRow("Verbindung, Abbrechen")
        << 7 << false << true << true << "Grund: Der Mailserver ist nicht erreichbar. (Fehler 7)";
    QTest::newRow("Zertifikat, Mail senden")
        << 60 << true << true << true
        << "Grund: Das Zertifikat des Mailservers ist nicht vertrauenswürdig. (Fehler 60)";
    QTest::newRow("Mailprogramm fehlt")
        << 28 << true << false << true
        << "Grund: Der Mailserver hat nicht rechtzeitig geantwortet. (Fehler 28)";
    QTest::newRow("unbekannter Code")
        << 99 << false << true << true
        << "Grund: Die Übertragung zum Mailserver ist fehlgeschlagen. (Fehler 99)";
    QTest::newRow("Code 0") << 0 << true << true << false << "";
    QTest::newRow("negativer Code") << -1 << true << true << false << "";
}

void TstKursauswahlVersand::berichtFehler()
{
    QFETCH(int, code);
    QFETCH(bool, mailSenden);
    QFETCH(bool, mailprogrammDa);
    QFETCH(bool, frage);
    QFETCH(QString, grund);

    auto fenster = Fenster();
    const QString kennung = SendeErstenKurs(*fenster);
    QVERIFY(!kennung.isEmpty());
    plattform.Leeren();
    Daten.zGeaendert = false;
    plattform.antwortenFrage << mailSenden;
    plattform.antwortenUrl << mailprogrammDa;
    const QString ordner = QDir::toNativeSeparators(zOrdner->path());

    emit Socket(*fenster)->Error(kennung, code);

    if (frage) {
        QCOMPARE(plattform.fragen.size(), 1);
        const struct Plattform::Frage f = plattform.fragen.first();
        QCOMPARE(f.titel, Titel);
        QCOMPARE(f.meldung, FehlerMeldung);
        QCOMPARE(f.erklaerung,
            "Die Noten wurden in der Datei 'Noten 12.1-M-LK2-Mü.zle' im Ordner '" + ordner
                + "' gesichert. Verwenden Sie den Knopf 'Mail senden' und senden Sie die Datei als "
                  "Anhang in ihrem Mailprogramm.\n\n"
                + grund);
        QCOMPARE(f.standardKnopf, QStringLiteral("Mail senden"));
        QCOMPARE(f.andererKnopf, QStringLiteral("Abbrechen"));
        if (mailSenden) {
            QCOMPARE(plattform.urls.size(), 1);
            const QUrl url = plattform.urls.first();
            QCOMPARE(url.scheme(), QStringLiteral("mailto"));
            QCOMPARE(url,
                Mailversand::MailtoAdresse(
                    QStringLiteral("noten@schule.example"), QStringLiteral("Noten 12.1-M-LK2-Mü")));
        } else {
            QVERIFY(plattform.urls.isEmpty());
        }
    } else {
        QVERIFY(plattform.protokoll.isEmpty());
    }
    if (frage && mailSenden && !mailprogrammDa) {
        // No mail program could be opened: said so, with the address and the file to send.
        QCOMPARE(plattform.mitteilungen.size(), 1);
        const Plattform::Mitteilung m = plattform.mitteilungen.first();
        QCOMPARE(m.symbol, Plattform::Symbol::Warnung);
        QCOMPARE(m.titel, Titel);
        QCOMPARE(m.text, QStringLiteral("Das Mailprogramm konnte nicht geöffnet werden."));
        QCOMPARE(m.erklaerung,
            "Bitte senden Sie die Datei 'Noten 12.1-M-LK2-Mü.zle' aus dem Ordner '" + ordner
                + "' selbst als Anhang an noten@schule.example.");
    } else {
        QVERIFY(plattform.meldungen.isEmpty());
    }
    // An error changes no flag: the course stays saved, "Senden" can be pressed again.
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    QVERIFY(kurs->gespeichert);
    QVERIFY(!kurs->gesendet);
    QVERIFY(!Daten.wurdeGeaendert());
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(0, 0, 255));
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
}

void TstKursauswahlVersand::fehlerNachGesendetZeigtNichts()
{
    auto fenster = Fenster();
    // Two transfers of the same course one after the other: the first fails, the second is sent.
    const QString erste = SendeErstenKurs(*fenster);
    QVERIFY(!erste.isEmpty());
    plattform.antwortenFrage << false;
    emit Socket(*fenster)->Error(erste, 7);
    const QString zweite = SendeErstenKurs(*fenster);
    QVERIFY(!zweite.isEmpty() && zweite != erste);
    emit Socket(*fenster)->MailSent(zweite);
    QVERIFY(Daten.alleKurse.Zeigen(1)->gesendet);
    plattform.Leeren();
    plattform.antwortenFrage << true;

    // A late second report of either transfer.
    emit Socket(*fenster)->Error(erste, 7);
    emit Socket(*fenster)->Error(zweite, 7);

    QVERIFY(plattform.protokoll.isEmpty());
    QVERIFY(Daten.alleKurse.Zeigen(1)->gesendet);
    QCOMPARE(FarbeInZelle(*fenster, 0), QColor(0, 200, 0));
}

void TstKursauswahlVersand::fehlerNachAuswahlwechsel()
{
    // The selected course is already sent; the error belongs to the other course and
    // is shown with that course's file name.
    Daten.alleKurse.Zeigen(2)->gespeichert = true;
    Daten.alleKurse.Zeigen(2)->gesendet = true;
    auto fenster = Fenster();
    const QString kennung = SendeErstenKurs(*fenster);
    KlickeZeile(*fenster, 1);
    plattform.Leeren();
    plattform.antwortenFrage << true;

    emit Socket(*fenster)->Error(kennung, 28);

    QCOMPARE(plattform.fragen.size(), 1);
    QVERIFY(plattform.fragen.first().erklaerung.contains("'Noten 12.1-M-LK2-Mü.zle'"));
    QCOMPARE(plattform.urls,
        QList<QUrl> { Mailversand::MailtoAdresse(
            QStringLiteral("noten@schule.example"), QStringLiteral("Noten 12.1-M-LK2-Mü")) });
    QVERIFY(!Daten.alleKurse.Zeigen(1)->gesendet);
}

void TstKursauswahlVersand::fremdeBerichteZeigenNichts()
{
    auto fenster = Fenster();
    emit Socket(*fenster)->MailSent(QStringLiteral("unbekannt"));
    emit Socket(*fenster)->Error(QStringLiteral("unbekannt"), 7);
    emit Socket(*fenster)->MailSent(QString());
    QVERIFY(plattform.protokoll.isEmpty());
    for (int i = 1; i <= 2; ++i)
        QVERIFY(!Daten.alleKurse.Zeigen(i)->gesendet);
    QVERIFY(!Daten.wurdeGeaendert());
}

void TstKursauswahlVersand::veralteteDateiWirdNichtGesendet_data()
{
    QTest::addColumn<bool>("neueDatei"); // false: the table was saved again, no new file
    QTest::newRow("Tabelle erneut gesichert") << false;
    QTest::newRow("neue Datei geschrieben") << true;
}

void TstKursauswahlVersand::veralteteDateiWirdNichtGesendet()
{
    QFETCH(bool, neueDatei);

    auto fenster = Fenster();
    const QString kennung = SendeErstenKurs(*fenster);
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    // While the transfer runs, the course's table is saved again (as the course window does).
    kurs->geaendert = true;
    kurs->gespeichert = false;
    kurs->gesendet = false;
    fenster->Aktualisieren();
    if (neueDatei) {
        plattform.antwortenDatei << zOrdner->filePath("neu.zle");
        Druecken(*fenster, "ToolItemSpeichern");
        QVERIFY(kurs->gespeichert);
    }
    plattform.Leeren();

    emit Socket(*fenster)->MailSent(kennung);

    // The mail did go out, but it carried the older state: the course is not marked sent,
    // and the message says so.
    QCOMPARE(plattform.meldungen, QStringList { Versandt });
    QVERIFY(plattform.mitteilungen.first().erklaerung.endsWith(QStringLiteral(
        "Der Kurs wurde seitdem erneut gesichert; er gilt deshalb noch nicht als versandt.")));
    QVERIFY(!kurs->gesendet);
    QVERIFY(Knopf(*fenster, "ToolItemSenden")->isEnabled());
}

void TstKursauswahlVersand::lueckenFrage_data()
{
    // weg: the button pressed; antwort: the button of the question about gaps, -1 Escape.
    QTest::addColumn<QString>("weg");
    QTest::addColumn<int>("antwort");
    QTest::addColumn<bool>("weiter");
    for (const char* weg : { "ToolItemSpeichern", "ToolItemSenden" }) {
        const QString name = QString::fromLatin1(weg).mid(8);
        QTest::addRow("%s: Escape", qPrintable(name)) << QString::fromLatin1(weg) << -1 << false;
        QTest::addRow("%s: Abbrechen", qPrintable(name)) << QString::fromLatin1(weg) << 1 << false;
        QTest::addRow("%s: trotzdem", qPrintable(name)) << QString::fromLatin1(weg) << 0 << true;
    }
}

void TstKursauswahlVersand::lueckenFrage()
{
    QFETCH(QString, weg);
    QFETCH(int, antwort);
    QFETCH(bool, weiter);
    const bool senden = weg == QLatin1String("ToolItemSenden");
    // "M" lacks the grade of Cordes and of five more students, and Albers's exam grade.
    Kurslistenbauer()
        .Kursflaggen("M", true, false, false)
        .Vollstaendig("M")
        .Wert("M", 13, "Note", "")
        .Wert("M", 11, "Klausur", "")
        .WeitereSchueler("M", 101, 5, false)
        .AlsGlobaleDaten();
    auto fenster = Fenster();
    const QString pfad = zOrdner->filePath("Noten 12.1-M-LK2-Mü.zle");
    if (antwort >= 0)
        plattform.antwortenWahl << antwort;
    plattform.antwortenDatei << pfad;
    plattform.antwortenFrage << false; // the send question: "Nein"
    Druecken(*fenster, weg);

    QCOMPARE(plattform.auswahlen.size(), 1);
    const Plattform::Auswahl frage = plattform.auswahlen.first();
    QCOMPARE(frage.titel, Titel);
    QCOMPARE(frage.meldung,
        QStringLiteral("Die Kursliste\nMathematik - LK2 - Mü\nist noch nicht vollständig."));
    QCOMPARE(frage.erklaerung,
        QStringLiteral("„Note“ fehlt bei 6 von 9 Schülern: Cordes, Clara; Schüler 101; "
                       "Schüler 102 und 3 weitere.\n"
                       "„Klausur“ fehlt bei 1 von 2 Schülern mit Klausur: Albers, Anna.\n\n"
                       "Soll sie trotzdem %1 werden?")
            .arg(senden ? "gesendet" : "gespeichert"));
    QCOMPARE(frage.knoepfe,
        (QStringList { senden ? "Trotzdem senden" : "Trotzdem speichern", "Abbrechen" }));
    QCOMPARE(frage.standard, 1);
    QCOMPARE(Plattform::AbbrechenIndex(frage), 1);
    QCOMPARE(frage.symbol, Plattform::Symbol::Warnung);
    // Asked before anything is written: cancelled, no dialog and no file.
    QCOMPARE(plattform.speichernDialoge.size(), weiter ? 1 : 0);
    QCOMPARE(QFile::exists(pfad), weiter);
    QCOMPARE(Daten.alleKurse.Zeigen(1)->gespeichert, weiter);
    QCOMPARE(plattform.fragen.size(), weiter && senden ? 1 : 0);
    QVERIFY(zAuftraege.isEmpty());
}

void TstKursauswahlVersand::unvollstaendigAbgegeben()
{
    // "M" saved with a grade missing, "D" complete and sent: only "M"'s count stands out.
    Kurslistenbauer()
        .Kursflaggen("M", true, true, false)
        .Kursflaggen("D", true, true, true)
        .Vollstaendig("D")
        .AlsGlobaleDaten();
    auto fenster = Fenster();
    QTableWidget* liste = Liste(*fenster);
    QTableWidgetItem* m = liste->item(0, Kursauswahl::SpalteNoten);
    QTableWidgetItem* d = liste->item(1, Kursauswahl::SpalteNoten);
    QCOMPARE(m->text(), QStringLiteral("3/4"));
    QCOMPARE(m->foreground().color(), Kursauswahl::UnvollstaendigFarbe);
    QVERIFY(m->font().bold());
    QCOMPARE(m->toolTip(),
        QStringLiteral("Die Ergebnisdatei wurde unvollständig abgegeben.\n"
                       "„Note“ fehlt bei 1 von 4 Schülern: Cordes, Clara.\n"
                       "„Klausur“ fehlt bei 1 von 2 Schülern mit Klausur: Cordes, Clara."));
    QVERIFY(m->data(Qt::AccessibleTextRole).toString().endsWith("unvollständig abgegeben"));
    QCOMPARE(d->text(), QStringLiteral("2/2"));
    QVERIFY(!d->data(Qt::ForegroundRole).isValid());
    QVERIFY(!d->font().bold());
    QCOMPARE(d->toolTip(), QString());
    // Seen on the screen: the count of "M" in orange, that of "D" not (the text is drawn
    // smoothed, so a pixel near the colour counts).
    const QImage bild = liste->viewport()->grab().toImage();
    const auto orange = [&bild](const QRect& zelle) {
        const qreal f = bild.devicePixelRatio();
        for (int x = int(zelle.left() * f); x <= int(zelle.right() * f); ++x)
            for (int y = int(zelle.top() * f); y <= int(zelle.bottom() * f); ++y) {
                const QColor c = bild.pixelColor(x, y);
                if (c.red() > 150 && c.green() > 40 && c.green() < 150 && c.blue() < 80)
                    return true;
            }
        return false;
    };
    QVERIFY(orange(liste->visualItemRect(m)));
    QVERIFY(!orange(liste->visualItemRect(d)));
    // A course that was only changed shows no mark, however incomplete.
    Daten.alleKurse.Zeigen(1)->gespeichert = false;
    fenster->Aktualisieren();
    QVERIFY(!m->font().bold());
    QCOMPARE(m->toolTip(), QString());
}

void TstKursauswahlVersand::bestaetigungNachSpeichern()
{
    auto fenster = Fenster();
    QCOMPARE(fenster->Bestaetigung(), QString());
    plattform.antwortenDatei << zOrdner->filePath("Noten 12.1-M-LK2-Mü.zle");
    Druecken(*fenster, "ToolItemSpeichern");
    // Said without a dialog, with the file's name and the time, at the foot of the list.
    QCOMPARE(plattform.protokoll, QStringList { "Speichern: Kursdaten speichern" });
    const QRegularExpression muster(QStringLiteral(
        "^Mathematik LK2 gespeichert unter Noten 12\\.1-M-LK2-Mü\\.zle, \\d\\d:\\d\\d$"));
    QVERIFY2(muster.match(fenster->Bestaetigung()).hasMatch(), qPrintable(fenster->Bestaetigung()));
    auto* hinweis = fenster->findChild<QLabel*>(QStringLiteral("Bestaetigung"));
    QVERIFY(hinweis && hinweis->isVisible());
    QCOMPARE(hinweis->mapTo(fenster.get(), QPoint(0, hinweis->height())).y(), fenster->height());
    // It goes by itself.
    QTRY_COMPARE_WITH_TIMEOUT(
        fenster->Bestaetigung(), QString(), Kursauswahl::BestaetigungMs + 2000);
    // A cancelled dialog says nothing.
    KlickeZeile(*fenster, 1);
    plattform.antwortenDatei << QString();
    Druecken(*fenster, "ToolItemSpeichern");
    QCOMPARE(fenster->Bestaetigung(), QString());
    // A course window's "Sichern" is confirmed here too.
    emit Benachrichtiger::Instanz().Bestaetigt(QStringLiteral("Deutsch GK1 gesichert, 14:02"));
    QCOMPARE(fenster->Bestaetigung(), QStringLiteral("Deutsch GK1 gesichert, 14:02"));
}

RAVIRIRERU_GUI_TEST_MAIN(TstKursauswahlVersand)
#include "tst_kursauswahl_versand.moc"
