// The selection window with its real mail client against a real SMTP server with implicit TLS
// on a loopback port (tests/support/smtp): courses sent one after another to a server that drops
// idle sessions, result file names from course fields as they arrive, and quitting while a
// transfer waits for a slow server.

#include "dateihelfer.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kursauswahlzugriff.h"
#include "kurslistenbauer.h"
#include "mailversand.h"
#include "smtpsserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Kursauswahlzugriff;

namespace {

const QString Versandt = QStringLiteral("Die Mail wurde erfolgreich versandt!");

QJsonObject Anhang(const SmtpsServer::Empfangen& e)
{
    return e.nachricht.value(QStringLiteral("anhaenge")).toArray().first().toObject();
}

} // namespace

class TstKursauswahlMail : public Fenstertest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void kurseNacheinanderMitPausen();
    void dateinamenAusKursfeldern_data();
    void dateinamenAusKursfeldern();
    void beendenWaehrendDesVersands_data();
    void beendenWaehrendDesVersands();

private:
    // Starts a server with the given behaviour and points the mail settings at it.
    bool ServerStarten(const SmtpsServer::Verhalten& verhalten = {});
    // The selection window whose mail client sends to the test server's port (the program
    // itself always sends to port 465).
    std::unique_ptr<Kursauswahl> Fenster();
    // "Senden" for the selected course: the file goes into zZiel under the suggested name,
    // the question is answered with "Ja".
    void Senden(Kursauswahl& fenster);
    // Waits until n messages have been shown.
    bool WarteAufMitteilungen(qsizetype n, int millisekunden = 60000);

    std::unique_ptr<SmtpsServer> zServer;
    std::unique_ptr<QTemporaryDir> zOrdner;
    QString zZiel; // the folder chosen in the save dialog, inside zOrdner
};

void TstKursauswahlMail::init()
{
    Grundzustand();
    Kurslistenbauer()
        .Kursflaggen("M", true, false, false)
        .Kursflaggen("D", true, false, false)
        .Kurs("Ph", "Physik", "GK", 3, "Mü", "11,13")
        .Kursflaggen("Ph", true, false, false)
        // Complete courses: sending asks nothing about missing grades.
        .Vollstaendig("M")
        .Vollstaendig("D")
        .Vollstaendig("Ph")
        .AlsGlobaleDaten();
    zOrdner = std::make_unique<QTemporaryDir>();
    QVERIFY(zOrdner->isValid());
    QVERIFY(QDir(zOrdner->path()).mkdir(QStringLiteral("ziel")));
    zZiel = zOrdner->filePath(QStringLiteral("ziel"));
}

void TstKursauswahlMail::cleanup()
{
    Aufraeumen();
    zServer.reset();
    zOrdner.reset();
}

bool TstKursauswahlMail::ServerStarten(const SmtpsServer::Verhalten& verhalten)
{
    zServer = std::make_unique<SmtpsServer>();
    zServer->setzeVerhalten(verhalten);
    if (!zServer->starten()) {
        qWarning() << zServer->fehler();
        return false;
    }
    qputenv("SSL_CERT_FILE", QFile::encodeName(zServer->vertrauteZertifikate()));
    Daten.Server = QStringLiteral("127.0.0.1");
    Daten.Benutzer = zServer->benutzer();
    Daten.Pass = zServer->pass();
    return true;
}

std::unique_ptr<Kursauswahl> TstKursauswahlMail::Fenster()
{
    auto fenster = std::make_unique<Kursauswahl>();
    Mailversand* socket = fenster->findChild<Mailversand*>(QStringLiteral("SMTPSocket1"));
    const int port = zServer->port();
    fenster->setzeVersand([socket, port](Mailversand::Auftrag a) {
        a.port = port;
        socket->Senden(a);
    });
    fenster->show();
    if (!QTest::qWaitForWindowExposed(fenster.get()))
        qWarning("Fenster nicht sichtbar");
    return fenster;
}

void TstKursauswahlMail::Senden(Kursauswahl& fenster)
{
    plattform.antwortenDatei << zZiel + u'/';
    plattform.antwortenFrage << true;
    Druecken(fenster, "ToolItemSenden");
}

bool TstKursauswahlMail::WarteAufMitteilungen(qsizetype n, int millisekunden)
{
    // Ends early at the fallback dialog of a failed transfer.
    const auto fehlschlag = [this] {
        return !plattform.fragen.isEmpty()
            && plattform.fragen.last().standardKnopf == QStringLiteral("Mail senden");
    };
    QDeadlineTimer frist(millisekunden);
    while (plattform.mitteilungen.size() < n && !fehlschlag() && !frist.hasExpired())
        QTest::qWait(20);
    if (fehlschlag())
        qWarning() << "Versand fehlgeschlagen:" << plattform.fragen.last().erklaerung;
    return plattform.mitteilungen.size() >= n;
}

// The school's server drops a session after one second without a command. The teacher sends
// three courses with longer pauses in between: every mail arrives and every course turns green
// at the first try, without the fallback dialog.
void TstKursauswahlMail::kurseNacheinanderMitPausen()
{
    SmtpsServer::Verhalten verhalten;
    verhalten.zeitlimit = 1;
    QVERIFY(ServerStarten(verhalten));
    auto fenster = Fenster();

    const QStringList staemme = { QStringLiteral("Noten 12.1-M-LK2-Mü"),
        QStringLiteral("Noten 12.1-D-GK1-Mü"), QStringLiteral("Noten 12.1-Ph-GK3-Mü") };
    for (int zeile = 0; zeile < 3; ++zeile) {
        if (zeile > 0)
            QTest::qWait(2500); // longer than the server keeps an idle session
        KlickeZeile(*fenster, zeile);
        Senden(*fenster);
        QVERIFY(WarteAufMitteilungen(zeile + 1));
        QCOMPARE(plattform.meldungen.last(), Versandt);
        QCOMPARE(plattform.mitteilungen.last().symbol, Plattform::Symbol::Information);
        QVERIFY(Daten.alleKurse.Zeigen(zeile + 1)->gesendet);
        QTRY_COMPARE(FarbeInZelle(*fenster, zeile), QColor(0, 200, 0));
    }
    // Only the three send questions were asked: no fallback dialog.
    QCOMPARE(plattform.fragen.size(), 3);
    const QList<SmtpsServer::Empfangen> angekommen = zServer->nachrichten();
    QCOMPARE(angekommen.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(angekommen.at(i).nachricht.value("subject").toString(), staemme.at(i));
        QCOMPARE(Anhang(angekommen.at(i)).value("dateiname").toString(), staemme.at(i) + ".zle");
    }
}

void TstKursauswahlMail::dateinamenAusKursfeldern_data()
{
    QTest::addColumn<QString>("halbjahr");
    QTest::addColumn<QString>("kuerzel");
    QTest::addColumn<QString>("lehrer");
    QTest::addColumn<QString>("datei");

    QTest::newRow("Schrägstrich") << "Q1"
                                  << "M"
                                  << "AB/CD"
                                  << "Noten Q1-M-LK2-AB_CD.zle";
    QTest::newRow("umgekehrter Schrägstrich") << "Q1"
                                              << "M\\N"
                                              << "ABC"
                                              << "Noten Q1-M_N-LK2-ABC.zle";
    QTest::newRow("nach oben") << "../.."
                               << "M"
                               << "../../ABC"
                               << "Noten .._..-M-LK2-.._.._ABC.zle";
    QTest::newRow("CR LF") << "Q1"
                           << "M"
                           << "A\r\nB"
                           << "Noten Q1-M-LK2-A__B.zle";
    QTest::newRow("NUL") << "Q1" << QStringLiteral("M") + QChar(0) + "X"
                         << "ABC"
                         << "Noten Q1-M_X-LK2-ABC.zle";
    QTest::newRow("Umlaute") << "Q1"
                             << "Mü"
                             << "Jörg Weiß"
                             << "Noten Q1-Mü-LK2-Jörg Weiß.zle";
    // The half-year's short name is the one field stored without scrambling, so it can reach
    // 255 bytes in the school's file; the name is cut to 200 bytes with ".zle".
    QTest::newRow("300 Bytes") << QString(250, u'H') << "M"
                               << "ABC"
                               << "Noten " + QString(190, u'H') + ".zle";
    QTest::newRow("300 Bytes Umlaute") << QString(120, u'ä') << "M"
                                       << "Jörg"
                                       << "Noten " + QString(95, u'ä') + ".zle";
}

// Course fields as the school's file may carry them: the file lands in the chosen folder under
// a safe name; the mail's subject and its attachment's name follow that name.
void TstKursauswahlMail::dateinamenAusKursfeldern()
{
    QFETCH(QString, halbjahr);
    QFETCH(QString, kuerzel);
    QFETCH(QString, lehrer);
    QFETCH(QString, datei);

    QVERIFY(ServerStarten());
    Daten.HalbjahrKuerzel = halbjahr;
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    kurs->Kuerzel = kuerzel;
    kurs->Lehrer = lehrer;
    // A new key leaves the course without its rows: its grades are missing, and the question
    // about them is answered "Trotzdem senden".
    const bool ohneZeilen = kuerzel != QLatin1String("M");
    if (ohneZeilen)
        plattform.antwortenWahl << 0;
    auto fenster = Fenster();
    Senden(*fenster);
    QCOMPARE(plattform.auswahlen.size(), ohneZeilen ? 1 : 0);
    QVERIFY(WarteAufMitteilungen(1));
    QCOMPARE(plattform.meldungen, QStringList { Versandt });

    QVERIFY(datei.toUtf8().size() <= 200);
    QCOMPARE(
        QDir(zZiel).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList { datei });
    QCOMPARE(QDir(zOrdner->path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("ziel") });
    const QString pfad = QDir(zZiel).filePath(datei);
    QVERIFY(plattform.fragen.first().erklaerung.contains(u'\n' + datei + u'\n'));
    QVERIFY(plattform.mitteilungen.first().erklaerung.contains(u'\'' + datei + u'\''));

    const QList<SmtpsServer::Empfangen> angekommen = zServer->nachrichten();
    QCOMPARE(angekommen.size(), 1);
    QCOMPARE(angekommen.first().nachricht.value("subject").toString(), datei.chopped(4));
    QCOMPARE(Anhang(angekommen.first()).value("dateiname").toString(), datei);
    QFile geschrieben(pfad);
    QVERIFY(geschrieben.open(QIODevice::ReadOnly));
    QCOMPARE(QByteArray::fromBase64(
                 Anhang(angekommen.first()).value("inhalt_base64").toString().toLatin1()),
        geschrieben.readAll());
}

void TstKursauswahlMail::beendenWaehrendDesVersands_data()
{
    QTest::addColumn<bool>("abwarten"); // false: "Abbrechen" in the wait
    QTest::addColumn<bool>("nochmals"); // a second quit request comes during the wait
    QTest::newRow("abwarten") << true << false;
    QTest::newRow("Abbrechen") << false << false;
    QTest::newRow("zweite Aufforderung beim Warten") << true << true;
}

// The teacher quits while the server takes its time to answer: the wait "Die Noten werden noch
// versandt …" comes first; when the transfer ends, the report follows and the program ends with
// the course sent. "Abbrechen" stops the transfer: the program ends, the course is not sent.
void TstKursauswahlMail::beendenWaehrendDesVersands()
{
    QFETCH(bool, abwarten);
    QFETCH(bool, nochmals);

    SmtpsServer::Verhalten verhalten;
    verhalten.verzoegerung = 3;
    QVERIFY(ServerStarten(verhalten));
    // Only the course sent is changed (the others would bring the question about unsent courses).
    Daten.alleKurse.Zeigen(2)->geaendert = false;
    Daten.alleKurse.Zeigen(3)->geaendert = false;
    // A loaded course list, so that quitting writes it back.
    const QString kursliste = Dateihelfer::SchreibenUndLaden(
        zOrdner->path(), Dateihelfer::Kursliste(Daten, TabellenStruktur));
    QVERIFY(!kursliste.isEmpty());
    auto fenster = Fenster();
    Senden(*fenster);
    QVERIFY(zServer->warteAufDaten(30000)); // the message is at the server, which waits
    QVERIFY(fenster->VersandLaeuft());

    plattform.antwortenWarten << abwarten;
    if (nochmals) {
        // Leaves the one wait in place: no second wait, no question, the program keeps running
        // until the first request has ended it.
        QTimer::singleShot(300, App(), [] {
            App()->Beenden();
            QVERIFY(!App()->Beendet());
        });
    }
    App()->Beenden();

    QVERIFY(App()->Beendet());
    const QStringList vorher = { QStringLiteral("Speichern: Kursdaten speichern"),
        QStringLiteral("Frage: Noteneingabe Mathematik - LK2 - Mü"),
        QStringLiteral("Warten: Noten werden versandt") };
    const Plattform::Warten warten = plattform.wartendialoge.value(0);
    QCOMPARE(warten.text, QStringLiteral("Die Noten werden noch versandt …"));
    QCOMPARE(warten.knopf, QStringLiteral("Abbrechen"));
    QCOMPARE(plattform.unbeantwortet, 0);
    if (abwarten)
        QCOMPARE(plattform.protokoll, vorher + QStringList { "Meldung: " + Versandt });
    else
        QCOMPARE(plattform.protokoll, vorher);

    // The course list written at the end holds the course's state.
    GlobaleDatenZuruecksetzen();
    QVERIFY(Daten.LadeDatei(kursliste));
    const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
    QVERIFY(kurs->gespeichert);
    QCOMPARE(kurs->gesendet, abwarten);

    // Nothing comes after the end: no late report, no second message.
    QTest::qWait(abwarten ? 500 : 4000);
    QCOMPARE(plattform.protokoll.size(), vorher.size() + (abwarten ? 1 : 0));
    QCOMPARE(zServer->nachrichten().size(), abwarten ? 1 : 0);
}

RAVIRIRERU_GUI_TEST_MAIN(TstKursauswahlMail)
#include "tst_kursauswahl_mail.moc"
