// Saving that never loses a file: a full disk, a file size limit, a read-only folder, a second
// running copy, a file changed by someone else.

#include "aufzeichnendeplattform.h"
#include "dateigroessengrenze.h"
#include "dateihelfer.h"
#include "dateisperre.h"
#include "datenbestand.h"
#include "eingehaengterordner.h"
#include "kurslistenbauer.h"
#include "sicheresschreiben.h"
#include "sicherungskopien.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Voll = QStringLiteral("Der Datenträger ist voll.");
const QString ZuGross = QStringLiteral(
    "Die Datei wäre größer, als auf diesem Datenträger oder für dieses Programm erlaubt ist.");

// Every file of a folder, hidden ones too.
QStringList Dateien(const QString& ordner)
{
    return QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Data that make a bigger file than the standard course list: more students, each with a row.
void Vergroessern(Datenbestand& d)
{
    for (int i = 0; i < 60; ++i) {
        const qint64 id = 500 + i;
        d.alleSchueler.Anfuegen(Schueler(
            id, QStringLiteral("Neu, Schülerin %1").arg(i), QStringLiteral("{guid-%1}").arg(i)));
        d.alleKurse.Zeigen(1)->Schueler.Einfuegen(id);
        auto z = std::make_shared<SchuelerKurs>(QStringLiteral("M"), id);
        z->Eintraege = d.alleEintraege.ErzeugeKursEintraege();
        z->Eintraege.ZeigeKursEintrag(0).datum = QStringLiteral("11");
        d.alleSchuelerKurse.Anfuegen(z);
    }
}

struct Werkzeuglauf {
    int rueckgabe = -1;
    QString fehler;
    QByteArray ausgabe;
};

Werkzeuglauf Werkzeug(const QStringList& argumente)
{
    QProcess p;
    p.start(QStringLiteral(WERKZEUG), argumente);
    Werkzeuglauf lauf;
    if (!p.waitForFinished(60000))
        return lauf;
    lauf.rueckgabe = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    lauf.fehler = QString::fromUtf8(p.readAllStandardError());
    lauf.ausgabe = p.readAllStandardOutput();
    return lauf;
}

// A child process that holds the lock of pfad until it is killed; its process ID, or -1.
pid_t SperrendesProgramm(const QString& pfad)
{
    int rohr[2];
    if (::pipe(rohr) != 0)
        return -1;
    const pid_t kind = ::fork();
    if (kind == 0) {
        ::close(rohr[0]);
        Dateisperre sperre;
        const char antwort = sperre.Sperren(pfad) == Dateisperre::Stand::Gesperrt ? 'g' : 'f';
        if (::write(rohr[1], &antwort, 1) != 1)
            ::_exit(3);
        for (;;)
            ::pause();
    }
    ::close(rohr[1]);
    char antwort = 0;
    const bool gelesen = kind > 0 && ::read(rohr[0], &antwort, 1) == 1;
    ::close(rohr[0]);
    if (!gelesen || antwort != 'g') {
        if (kind > 0) {
            ::kill(kind, SIGKILL);
            ::waitpid(kind, nullptr, 0);
        }
        return -1;
    }
    return kind;
}

} // namespace

class TestSicherung : public QObject {
    Q_OBJECT

private slots:
    void init() { GlobaleDatenZuruecksetzen(); }
    void cleanup() { GlobaleDatenZuruecksetzen(); }

    // --- A failed write leaves the old file --------------------------------------------------

    void schreibfehler_data()
    {
        QTest::addColumn<QString>("was");
        QTest::addColumn<bool>("vollerDatentraeger");
        QTest::addColumn<QString>("grund");
        for (const char* was : { "Kursliste", "Ergebnis", "Werkzeug" }) {
            QTest::addRow("%s, Dateigrößengrenze", was)
                << QString::fromLatin1(was) << false << ZuGross;
            QTest::addRow("%s, voller Datenträger", was)
                << QString::fromLatin1(was) << true << Voll;
        }
    }
    void schreibfehler()
    {
        QFETCH(QString, was);
        QFETCH(bool, vollerDatentraeger);
        QFETCH(QString, grund);
        QTemporaryDir basis;
        QVERIFY(basis.isValid());
        const QString ordner = basis.filePath(QStringLiteral("ziel"));
        QVERIFY(QDir().mkdir(ordner));
        EingehaengterOrdner platte;
        if (vollerDatentraeger) {
            QString warum;
            if (!platte.Einhaengen(ordner, 64 * 1024, &warum))
                QSKIP(qPrintable(QStringLiteral("kein tmpfs (nur als root): ") + warum));
        }

        Datenbestand daten = Kurslistenbauer().Bauen();
        const QByteArray kursliste = Dateihelfer::Kursliste(daten);
        QString pfad;
        QString json;
        if (was == QLatin1String("Kursliste")) {
            pfad = ordner + QStringLiteral("/Kursliste.zln");
            QVERIFY(Dateihelfer::Schreiben(pfad, kursliste));
            QVERIFY(Daten.LadeDatei(pfad));
            Vergroessern(Daten);
        } else if (was == QLatin1String("Ergebnis")) {
            Dateihelfer::AlsGlobaleDaten(daten, basis.filePath(QStringLiteral("Kursliste.zln")));
            pfad = ordner + QStringLiteral("/Noten Q1-M-LK2-ABC.zle");
            QVERIFY(Daten.Speichern(*Daten.alleKurse.Zeigen(1), pfad));
            Vergroessern(Daten);
        } else {
            // The tool's input: a bigger course list as JSON, outside the small disk.
            Vergroessern(daten);
            const QString quelle = basis.filePath(QStringLiteral("quelle.zln"));
            QVERIFY(Dateihelfer::Schreiben(quelle, Dateihelfer::Kursliste(daten)));
            const Werkzeuglauf lauf
                = Werkzeug({ QStringLiteral("json"), QStringLiteral("--geheim"), quelle });
            QCOMPARE(lauf.rueckgabe, 0);
            json = basis.filePath(QStringLiteral("eingabe.json"));
            QVERIFY(Dateihelfer::Schreiben(json, lauf.ausgabe));
            pfad = ordner + QStringLiteral("/Ausgabe.zln");
            QVERIFY(Dateihelfer::Schreiben(pfad, kursliste));
        }
        const QByteArray alt = Dateihelfer::Inhalt(pfad);
        const QStringList vorher = Dateien(ordner);
        if (vollerDatentraeger) {
            QVERIFY(platte.Fuellen() > 0);
            QCOMPARE(platte.Frei(), qint64(0));
        }

        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 1 }; // the offer of "Sichern unter …": "Abbrechen"
        QString ergebnisGrund;
        {
            // Below the size of the new file (which is bigger than the old one).
            std::optional<Dateigroessengrenze> grenze;
            if (!vollerDatentraeger) {
                grenze.emplace(1024);
                QVERIFY(grenze->ok());
            }
            if (was == QLatin1String("Kursliste")) {
                QVERIFY(!Daten.Sichern());
            } else if (was == QLatin1String("Ergebnis")) {
                QVERIFY(!Daten.Speichern(*Daten.alleKurse.Zeigen(1), pfad, &ergebnisGrund));
            } else {
                const Werkzeuglauf lauf = Werkzeug({ QStringLiteral("zln"), json, pfad });
                QCOMPARE(lauf.rueckgabe, 1);
                QCOMPARE(lauf.fehler,
                    pfad + QStringLiteral(": Die Datei konnte nicht geschrieben werden. ") + grund
                        + QLatin1Char('\n'));
            }
        }

        if (was == QLatin1String("Kursliste")) {
            QCOMPARE(plattform.auswahlen.size(), 1);
            const auto& frage = plattform.auswahlen.first();
            QCOMPARE(frage.meldung, Meldungen::KurslisteNichtGesichert);
            QVERIFY2(frage.erklaerung.startsWith(grund + QStringLiteral("\n\n")),
                qPrintable(frage.erklaerung));
            QCOMPARE(frage.knoepfe,
                QStringList({ QStringLiteral("Sichern unter …"), QStringLiteral("Abbrechen") }));
            QCOMPARE(frage.standard, 0);
            // The bytes' own road says the same reason and shows nothing.
            QString stillerGrund;
            {
                AufzeichnendePlattform still;
                std::optional<Dateigroessengrenze> grenze;
                if (!vollerDatentraeger) {
                    grenze.emplace(1024);
                    QVERIFY(grenze->ok());
                }
                QVERIFY(!Daten.Speichern(&stillerGrund));
                QVERIFY(still.protokoll.isEmpty());
            }
            QCOMPARE(stillerGrund, grund);
        } else if (was == QLatin1String("Ergebnis")) {
            // The writer only says why; the selection window shows it.
            QVERIFY(plattform.protokoll.isEmpty());
            QCOMPARE(ergebnisGrund, grund);
        }
        QCOMPARE(Dateihelfer::Inhalt(pfad), alt);
        QStringList erwartet = vorher;
        if (vollerDatentraeger)
            erwartet.append(QStringLiteral(".fuellung"));
        erwartet.sort();
        QStringList nachher = Dateien(ordner);
        nachher.sort();
        QCOMPARE(nachher, erwartet);
    }

    void grosseDateiOhneGrenzeGelingt()
    {
        // The counterpart: the same save without a limit writes the whole file.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
        Vergroessern(Daten);
        AufzeichnendePlattform plattform;
        QVERIFY(Daten.Sichern());
        QVERIFY(plattform.protokoll.isEmpty());
        QCOMPARE(Dateihelfer::Inhalt(pfad), Dateihelfer::Kursliste(Daten, TabellenStruktur));
        QCOMPARE(Dateien(ordner.path()), QStringList({ ".Kursliste.zln.lock", "Kursliste.zln" }));
    }

    void gruendeDerFehlschlaege_data()
    {
        QTest::addColumn<QString>("ziel"); // relative to the folder
        QTest::addColumn<QString>("grund"); // %1: the folder
        QTest::newRow("Ordner fehlt") << "fehlt/Kursliste.zln"
                                      << "Den Ordner „%1/fehlt“ gibt es nicht.";
        QTest::newRow("ein Ordner") << "ordner"
                                    << "„%1/ordner“ ist ein Ordner, keine Datei.";
        QTest::newRow("kein Name") << ""
                                   << "Es ist keine Datei angegeben.";
    }
    void gruendeDerFehlschlaege()
    {
        QFETCH(QString, ziel);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        QVERIFY(QDir(ordner.path()).mkdir(QStringLiteral("ordner")));
        QString meldung;
        QVERIFY(!Datenbestand::SchreibeDatei(
            ziel.isEmpty() ? QString() : ordner.filePath(ziel), QByteArray("x"), meldung));
        QCOMPARE(meldung, grund.arg(ordner.path()));
        QCOMPARE(Dateien(ordner.path()), QStringList());
    }

    // --- A read-only folder: "Sichern unter …" ----------------------------------------------

    void nurLesenderOrdner_data()
    {
        QTest::addColumn<bool>("einhaengen");
        QTest::newRow("schreibgeschützt eingehängt") << true;
        QTest::newRow("Ordner ohne Schreibrecht") << false;
    }
    void nurLesenderOrdner()
    {
        QFETCH(bool, einhaengen);
        QTemporaryDir basis;
        const QString quelle = basis.filePath(QStringLiteral("quelle"));
        const QString ansicht = basis.filePath(QStringLiteral("ansicht"));
        const QString anderswo = basis.filePath(QStringLiteral("anderswo"));
        for (const QString& o : { quelle, ansicht, anderswo })
            QVERIFY(QDir().mkdir(o));
        const QByteArray alt = Kurslistenbauer().Bytes();
        QVERIFY(Dateihelfer::Schreiben(quelle + QStringLiteral("/Kursliste.zln"), alt));

        EingehaengterOrdner nurLesend;
        QString pfad;
        QString grund;
        if (einhaengen) {
            QString warum;
            if (!nurLesend.NurLesendEinhaengen(quelle, ansicht, &warum))
                QSKIP(qPrintable(QStringLiteral("kein Einhängen (nur als root): ") + warum));
            pfad = ansicht + QStringLiteral("/Kursliste.zln");
            grund = QStringLiteral("Der Datenträger mit „%1“ ist schreibgeschützt.").arg(pfad);
        } else {
            if (geteuid() == 0)
                QSKIP("als root halten Zugriffsrechte kein Schreiben auf; das schreibgeschützte "
                      "Einhängen prüft diesen Fall");
            QVERIFY(chmod(QFile::encodeName(quelle).constData(), 0555) == 0);
            pfad = quelle + QStringLiteral("/Kursliste.zln");
            grund = QStringLiteral("Keine Schreibrechte für „%1“.").arg(quelle);
        }
        const auto rechteZurueck
            = qScopeGuard([&] { chmod(QFile::encodeName(quelle).constData(), 0755); });

        // It opens although no lock file can be made there.
        AufzeichnendePlattform plattform;
        QVERIFY(Daten.LadeDatei(pfad));
        Daten.alleSchuelerKurse.ZeigePosition(1)->Eintraege.ZeigeKursEintrag(0).datum
            = QStringLiteral("14");
        plattform.antwortenWahl = { 0 };
        plattform.antwortenDatei = { anderswo + QStringLiteral("/Gerettet") };
        QVERIFY(Daten.Sichern());

        QCOMPARE(plattform.protokoll.size(), 3);
        const auto& frage = plattform.auswahlen.first();
        QCOMPARE(frage.meldung, Meldungen::KurslisteNichtGesichert);
        QVERIFY2(frage.erklaerung.startsWith(grund), qPrintable(frage.erklaerung));
        const auto& dialog = plattform.speichernDialoge.first();
        QCOMPARE(dialog.titel, QStringLiteral("Kursliste sichern unter"));
        QCOMPARE(dialog.aktionsKnopf, QStringLiteral("Sichern"));
        QCOMPARE(dialog.filterMuster, QStringLiteral("*.zln"));
        QCOMPARE(dialog.vorschlag, QStringLiteral("Kursliste.zln"));
        const QString neu = anderswo + QStringLiteral("/Gerettet.zln");
        const auto& bericht = plattform.mitteilungen.first();
        QCOMPARE(bericht.symbol, Plattform::Symbol::Information);
        QCOMPARE(bericht.text,
            QStringLiteral("Die Kurslisten-Datei wurde als „%1“ gesichert.").arg(neu));

        // The old file is as it was; the new one is complete and is the file from now on.
        QCOMPARE(Dateihelfer::Inhalt(pfad), alt);
        QCOMPARE(Daten.datenFolder, neu);
        const QByteArray gerettet = Dateihelfer::Inhalt(neu);
        QCOMPARE(gerettet, Dateihelfer::Kursliste(Daten, TabellenStruktur));
        QCOMPARE(Dateien(anderswo), QStringList({ ".Gerettet.zln.lock", "Gerettet.zln" }));
        GlobaleDatenZuruecksetzen();
        QVERIFY(Daten.LadeDatei(neu));
        QCOMPARE(Daten.alleSchuelerKurse.ZeigePosition(1)->Eintraege.ZeigeKursEintrag(0).datum,
            QStringLiteral("14"));
    }

    void sichernUnterAbgebrochen()
    {
        // The offer declined, or the dialog cancelled: nothing written anywhere, no more asked.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
        Daten.datenFolder = ordner.filePath(QStringLiteral("fehlt/Kursliste.zln"));
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 0 };
        plattform.antwortenDatei = { QString() };
        QVERIFY(!Daten.Sichern());
        QCOMPARE(plattform.protokoll,
            QStringList({ "Auswahl: ", "Speichern: Kursliste sichern unter" }));
        QCOMPARE(Daten.datenFolder, ordner.filePath(QStringLiteral("fehlt/Kursliste.zln")));
    }

    void sichernUnterScheitertWieder()
    {
        // The chosen place fails too: the reason, and the offer again, until it works.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
        Daten.datenFolder = ordner.filePath(QStringLiteral("fehlt/Kursliste.zln"));
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 0, 0 };
        plattform.antwortenDatei = { ordner.filePath(QStringLiteral("auch-weg/x.zln")),
            ordner.filePath(QStringLiteral("Zweiter Versuch.zln")) };
        QVERIFY(Daten.Sichern());
        QCOMPARE(plattform.auswahlen.size(), 2);
        QCOMPARE(plattform.auswahlen.at(1).erklaerung,
            QStringLiteral("Den Ordner „%1“ gibt es nicht.")
                .arg(ordner.filePath(QStringLiteral("auch-weg"))));
        QCOMPARE(Daten.datenFolder, ordner.filePath(QStringLiteral("Zweiter Versuch.zln")));
        QVERIFY(!QFileInfo::exists(ordner.filePath(QStringLiteral("auch-weg"))));
    }

    // --- One running copy per file -------------------------------------------------------------

    void zweitesProgrammWirdAbgewiesen()
    {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        const pid_t anderes = SperrendesProgramm(pfad);
        QVERIFY(anderes > 0);
        auto beenden = qScopeGuard([&] {
            ::kill(anderes, SIGKILL);
            ::waitpid(anderes, nullptr, 0);
        });

        AufzeichnendePlattform plattform;
        QVERIFY(!Daten.LadeDatei(pfad));
        QVERIFY(!Daten.geladen);
        QCOMPARE(plattform.mitteilungen.size(), 1);
        const auto& m = plattform.mitteilungen.first();
        QCOMPARE(m.text, QStringLiteral("Die Datei ist bereits in RAVIRIreru geöffnet."));
        QVERIFY2(m.erklaerung.contains(QStringLiteral("„%1“").arg(QSysInfo::machineHostName())),
            qPrintable(m.erklaerung));
        QVERIFY2(m.erklaerung.contains(QStringLiteral("(Prozess %1)").arg(anderes)),
            qPrintable(m.erklaerung));
        const QString heute = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        QVERIFY2(m.erklaerung.contains(QStringLiteral(" seit ") + heute), qPrintable(m.erklaerung));

        // The other program is killed: its lock is stale and taken over.
        beenden.dismiss();
        QCOMPARE(::kill(anderes, SIGKILL), 0);
        QCOMPARE(::waitpid(anderes, nullptr, 0), anderes);
        QVERIFY(QFileInfo::exists(Dateisperre::SperrdateiVon(pfad)));
        QVERIFY(Daten.LadeDatei(pfad));
        QCOMPARE(plattform.mitteilungen.size(), 1);

        // Now this program holds it: a third one is refused.
        const pid_t drittes = ::fork();
        if (drittes == 0) {
            Dateisperre sperre;
            ::_exit(sperre.Sperren(pfad) == Dateisperre::Stand::Vergeben ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(drittes, &status, 0), drittes);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // The cases of a lock met at opening: the message, the buttons and what each answer does.
    void sperrfaelle_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<int>("antwort"); // the button chosen; -1: no question expected
        QTest::addColumn<bool>("geoeffnet");
        QTest::newRow("totes Programm hier") << "tot" << -1 << true;
        QTest::newRow("anderer Rechner, Abbrechen") << "rechner" << 1 << false;
        QTest::newRow("anderer Rechner, Trotzdem öffnen") << "rechner" << 0 << true;
        QTest::newRow("anderer Rechner, Esc") << "rechner" << 9 << false;
        QTest::newRow("leer, Abbrechen") << "leer" << 1 << false;
        QTest::newRow("leer, Trotzdem öffnen") << "leer" << 0 << true;
        QTest::newRow("Müll, Trotzdem öffnen") << "muell" << 0 << true;
    }
    void sperrfaelle()
    {
        QFETCH(QString, fall);
        QFETCH(int, antwort);
        QFETCH(bool, geoeffnet);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        const QString sperrdatei = Dateisperre::SperrdateiVon(pfad);
        const pid_t tot = ::fork();
        if (tot == 0)
            ::_exit(0);
        ::waitpid(tot, nullptr, 0);
        QByteArray inhalt;
        if (fall == QLatin1String("tot"))
            inhalt = QByteArray::number(tot) + "\nravirireru\n"
                + QSysInfo::machineHostName().toUtf8() + '\n';
        else if (fall == QLatin1String("rechner"))
            inhalt = QByteArray::number(tot) + "\nravirireru\nschulrechner-7\n";
        else if (fall == QLatin1String("muell"))
            inhalt = "\x01\x02 kaputt";
        QVERIFY(Dateihelfer::Schreiben(sperrdatei, inhalt));
        const QDateTime seit(QDate(2026, 11, 3), QTime(7, 45));
        {
            QFile datei(sperrdatei);
            QVERIFY(datei.open(QIODevice::ReadWrite));
            QVERIFY(datei.setFileTime(seit, QFileDevice::FileModificationTime));
        }

        AufzeichnendePlattform plattform;
        if (antwort >= 0 && antwort < 2)
            plattform.antwortenWahl = { antwort };
        QCOMPARE(Daten.LadeDatei(pfad), geoeffnet);
        QCOMPARE(plattform.mitteilungen.size(), 0);
        if (antwort < 0) {
            QCOMPARE(plattform.auswahlen.size(), 0);
        } else {
            QCOMPARE(plattform.auswahlen.size(), 1);
            const auto& frage = plattform.auswahlen.first();
            QCOMPARE(frage.knoepfe,
                (QStringList { QStringLiteral("Trotzdem öffnen"), QStringLiteral("Abbrechen") }));
            QCOMPARE(frage.standard, 1);
            QCOMPARE(frage.abbrechen, 1);
            if (fall == QLatin1String("rechner")) {
                QCOMPARE(frage.meldung, Meldungen::SchonGeoeffnet);
                for (const QString& teil :
                    { QStringLiteral("„schulrechner-7“"), QStringLiteral("als Benutzer „"),
                        QStringLiteral("seit 03.11.2026, 07:45 Uhr") })
                    QVERIFY2(frage.erklaerung.contains(teil), qPrintable(frage.erklaerung));
            } else {
                QCOMPARE(frage.meldung,
                    QStringLiteral(
                        "Die Sperrdatei der Kurslisten-Datei ist leer oder beschädigt."));
                QVERIFY2(frage.erklaerung.contains(sperrdatei), qPrintable(frage.erklaerung));
            }
        }
        QCOMPARE(Daten.geladen, geoeffnet);
        if (geoeffnet) {
            // The lock is ours now, whole on the disk.
            QVERIFY(Kurslistensperre().Gesperrt());
            QVERIFY(
                Dateihelfer::Inhalt(sperrdatei).startsWith(QByteArray::number(::getpid()) + '\n'));
        } else {
            QCOMPARE(Dateihelfer::Inhalt(sperrdatei), inhalt);
        }
    }

    // One file has one lock, whatever name opened it: through a link it is refused while a
    // program holds it by its own name, and the other way round.
    void sperreUeberVerknuepfung_data()
    {
        QTest::addColumn<bool>("sperrtUeberLink");
        QTest::newRow("gesperrt unter dem Namen, geöffnet über die Verknüpfung") << false;
        QTest::newRow("gesperrt über die Verknüpfung, geöffnet unter dem Namen") << true;
    }
    void sperreUeberVerknuepfung()
    {
        QFETCH(bool, sperrtUeberLink);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(QDir().mkdir(ordner.filePath(QStringLiteral("stick"))));
        const QString link = ordner.filePath(QStringLiteral("stick/Noten.zln"));
        QVERIFY(QFile::link(pfad, link));
        const pid_t anderes = SperrendesProgramm(sperrtUeberLink ? link : pfad);
        QVERIFY(anderes > 0);
        auto beenden = qScopeGuard([&] {
            ::kill(anderes, SIGKILL);
            ::waitpid(anderes, nullptr, 0);
        });
        AufzeichnendePlattform plattform;
        QVERIFY(!Daten.LadeDatei(sperrtUeberLink ? pfad : link));
        QCOMPARE(plattform.mitteilungen.size(), 1);
        QCOMPARE(plattform.mitteilungen.first().text, Meldungen::SchonGeoeffnet);
        QCOMPARE(Dateisperre::SperrdateiVon(link), Dateisperre::SperrdateiVon(pfad));
        QVERIFY(!QFileInfo::exists(ordner.filePath(QStringLiteral("stick/.Noten.zln.lock"))));
    }

    // In a read-only folder the teacher learns at opening that nothing can be saved there and
    // may save elsewhere at once.
    void nurLesendBeimOeffnenGesagt()
    {
        QTemporaryDir basis;
        const QString quelle = basis.filePath(QStringLiteral("quelle"));
        const QString ansicht = basis.filePath(QStringLiteral("ansicht"));
        const QString anderswo = basis.filePath(QStringLiteral("anderswo"));
        for (const QString& o : { quelle, ansicht, anderswo })
            QVERIFY(QDir().mkdir(o));
        QVERIFY(Dateihelfer::Schreiben(
            quelle + QStringLiteral("/Kursliste.zln"), Kurslistenbauer().Bytes()));
        EingehaengterOrdner nurLesend;
        QString warum;
        if (!nurLesend.NurLesendEinhaengen(quelle, ansicht, &warum))
            QSKIP(qPrintable(QStringLiteral("kein Einhängen (nur als root): ") + warum));
        const QString pfad = ansicht + QStringLiteral("/Kursliste.zln");
        AufzeichnendePlattform plattform;
        QVERIFY(Daten.LadeDatei(pfad));
        QCOMPARE(Daten.NichtSicherbar(),
            QStringLiteral("Der Datenträger mit „%1“ ist schreibgeschützt.").arg(ansicht));
        plattform.antwortenWahl = { 0 };
        plattform.antwortenDatei = { anderswo + QStringLiteral("/Gerettet.zln") };
        QVERIFY(Daten.NichtSicherbarAnbieten());
        QCOMPARE(plattform.auswahlen.size(), 1);
        const auto& frage = plattform.auswahlen.first();
        QCOMPARE(frage.meldung,
            QStringLiteral("Dort, wo die Kurslisten-Datei liegt, kann RAVIRIreru nichts sichern."));
        QCOMPARE(frage.knoepfe,
            (QStringList { QStringLiteral("Sichern unter …"), QStringLiteral("Später") }));
        QCOMPARE(Daten.datenFolder, anderswo + QStringLiteral("/Gerettet.zln"));
        // Where it can be saved, nothing is said.
        QCOMPARE(Daten.NichtSicherbar(), QString());
        QVERIFY(!Daten.NichtSicherbarAnbieten());
        QCOMPARE(plattform.auswahlen.size(), 1);
    }

    void sperreFolgtDerDatei()
    {
        QTemporaryDir ordner;
        const QString a = ordner.filePath(QStringLiteral("a.zln"));
        const QString b = ordner.filePath(QStringLiteral("b.zln"));
        const QByteArray bytes = Kurslistenbauer().Bytes();
        QVERIFY(Dateihelfer::Schreiben(a, bytes) && Dateihelfer::Schreiben(b, bytes));
        AufzeichnendePlattform plattform;
        // The same file again in the same program is no second copy.
        QVERIFY(Daten.LadeDatei(a));
        QVERIFY(Daten.LadeDatei(a));
        QVERIFY(QFileInfo::exists(Dateisperre::SperrdateiVon(a)));
        // Another file: its lock is taken, the first one's let go.
        QVERIFY(Daten.LadeDatei(b));
        QVERIFY(!QFileInfo::exists(Dateisperre::SperrdateiVon(a)));
        QVERIFY(QFileInfo::exists(Dateisperre::SperrdateiVon(b)));
        // A refused file keeps the lock of the file in use.
        QVERIFY(Dateihelfer::Schreiben(a, QByteArray("kaputt")));
        QVERIFY(!Daten.LadeDatei(a));
        QVERIFY(!QFileInfo::exists(Dateisperre::SperrdateiVon(a)));
        QVERIFY(QFileInfo::exists(Dateisperre::SperrdateiVon(b)));
        QCOMPARE(Daten.datenFolder, b);
        GlobaleDatenZuruecksetzen();
        QVERIFY(!QFileInfo::exists(Dateisperre::SperrdateiVon(b)));
        QVERIFY(plattform.mitteilungen.size() == 1);
    }

    // --- A file changed on disk ----------------------------------------------------------------

    void aussenGeaendert_data()
    {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("gesichert");
        QTest::addColumn<bool>("ersetzt");
        QTest::newRow("Abbrechen (Vorgabe)") << -1 << false << false;
        QTest::newRow("Ersetzen") << 0 << true << true;
        QTest::newRow("Sichern unter …") << 1 << true << false;
    }
    void aussenGeaendert()
    {
        QFETCH(int, antwort);
        QFETCH(bool, gesichert);
        QFETCH(bool, ersetzt);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
        Daten.HalbjahrKuerzel = QStringLiteral("Q2");
        // Someone else writes the file meanwhile.
        Datenbestand fremd = Kurslistenbauer().Bauen();
        fremd.Halbjahrbezeichnung = QStringLiteral("von anderswo geändert");
        const QByteArray fremdeBytes = Dateihelfer::Kursliste(fremd);
        QVERIFY(Dateihelfer::Schreiben(pfad, fremdeBytes));

        AufzeichnendePlattform plattform;
        if (antwort >= 0)
            plattform.antwortenWahl = { antwort };
        const QString anderswo = ordner.filePath(QStringLiteral("Meine.zln"));
        plattform.antwortenDatei = { anderswo };
        QCOMPARE(Daten.Sichern(), gesichert);

        const auto& frage = plattform.auswahlen.first();
        QCOMPARE(frage.titel, QStringLiteral("Kurslisten-Datei geändert"));
        QCOMPARE(frage.meldung,
            QStringLiteral("Die Kurslisten-Datei wurde außerhalb von RAVIRIreru geändert."));
        QCOMPARE(frage.knoepfe, QStringList({ "Ersetzen", "Sichern unter …", "Abbrechen" }));
        QCOMPARE(frage.standard, 2);
        QCOMPARE(Plattform::AbbrechenIndex(frage), 2);
        const QByteArray unsere = Dateihelfer::Kursliste(Daten, TabellenStruktur);
        QCOMPARE(Dateihelfer::Inhalt(pfad), ersetzt ? unsere : fremdeBytes);
        QCOMPARE(QFileInfo::exists(anderswo), antwort == 1);
        if (antwort == 1) {
            QCOMPARE(Dateihelfer::Inhalt(anderswo), unsere);
            QCOMPARE(Daten.datenFolder, anderswo);
        }
        // Once replaced or saved elsewhere, the next save asks no more.
        if (gesichert) {
            plattform.Leeren();
            QVERIFY(Daten.Sichern());
            QVERIFY(plattform.protokoll.isEmpty());
        }
    }

    void nurBeruehrtIstNichtGeaendert()
    {
        // A new time on the same content (a backup program, a copy back) asks nothing.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::ReadWrite));
        QVERIFY(datei.setFileTime(
            QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        datei.close();
        AufzeichnendePlattform plattform;
        QVERIFY(Daten.Sichern());
        QVERIFY(plattform.protokoll.isEmpty());
    }

    void gleicheGroesseUndZeitZurueckGesetzt()
    {
        // Someone else writes as many bytes in place and sets the time of the change back to
        // what it was, to the nanosecond (touch -d, a copy that keeps times): the status time
        // cannot be set back, so the save still asks and the other content stays.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        const QByteArray unsere = Kurslistenbauer().Bytes();
        QVERIFY(Dateihelfer::Schreiben(pfad, unsere));
        QVERIFY(Daten.LadeDatei(pfad));
        struct stat vorher;
        QCOMPARE(::stat(QFile::encodeName(pfad).constData(), &vorher), 0);
        // The file system stamps from a coarse clock: the other write comes a tick later.
        QTest::qSleep(50);
        QByteArray fremd = unsere;
        fremd[fremd.size() - 1] = char(fremd.at(fremd.size() - 1) ^ 1);
        {
            QFile datei(pfad);
            QVERIFY(datei.open(QIODevice::ReadWrite));
            QCOMPARE(datei.write(fremd), fremd.size());
        }
        const struct timespec zeiten[2] = { vorher.st_atim, vorher.st_mtim };
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(pfad).constData(), zeiten, 0), 0);
        struct stat nachher;
        QCOMPARE(::stat(QFile::encodeName(pfad).constData(), &nachher), 0);
        QCOMPARE(nachher.st_size, vorher.st_size);
        QCOMPARE(nachher.st_mtim.tv_sec, vorher.st_mtim.tv_sec);
        QCOMPARE(nachher.st_mtim.tv_nsec, vorher.st_mtim.tv_nsec);
        QString grund;
        QVERIFY(!Daten.Speichern(&grund));
        QVERIFY(grund.startsWith(Meldungen::AussenGeaendert));
        QCOMPARE(Dateihelfer::Inhalt(pfad), fremd);
    }

    void stillesSpeichernUeberschreibtNicht()
    {
        // Saving without a dialog (the desktop's session end) never overwrites a changed file.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        QVERIFY(Daten.LadeDatei(pfad));
        QVERIFY(Dateihelfer::Schreiben(pfad, QByteArray("fremd")));
        QString grund;
        QVERIFY(!Daten.Speichern(&grund));
        QVERIFY(grund.startsWith(Meldungen::AussenGeaendert));
        QCOMPARE(Dateihelfer::Inhalt(pfad), QByteArray("fremd"));
        // A file that is gone overwrites nobody's work: it is written.
        QVERIFY(QFile::remove(pfad));
        QVERIFY(Daten.Speichern());
        QCOMPARE(Dateihelfer::Inhalt(pfad), Dateihelfer::Kursliste(Daten, TabellenStruktur));
    }

    // A program killed in the middle of "Sichern", 50 times: the file is always the old or
    // the new one and loads; after the next start no copy of it lies anywhere beside it.
    void fuenfzigMalAbgebrochen()
    {
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        const QString pfad = ordner.filePath(QStringLiteral("k.zln"));
        QVERIFY(Dateihelfer::Schreiben(
            pfad, Kurslistenbauer().WeitereSchueler(QStringLiteral("M"), 101, 2000).Bytes()));
        QStringList gesehen;
        for (int runde = 0; runde < 50; ++runde) {
            const pid_t kind = ::fork();
            if (kind == 0) {
                AufzeichnendePlattform plattform;
                GlobaleDatenZuruecksetzen();
                if (!Daten.LadeDatei(pfad))
                    ::_exit(3);
                auto zeile = Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11);
                for (int i = 0;; ++i) {
                    zeile->Eintraege.ZeigeKursEintrag(0).datum = QString::number(i % 16);
                    Daten.Geaendert();
                    if (!Daten.Speichern())
                        ::_exit(4);
                }
            }
            QVERIFY(kind > 0);
            QTest::qSleep(15 + (runde * 7) % 40);
            ::kill(kind, SIGKILL);
            int status = 0;
            ::waitpid(kind, &status, 0);
            QVERIFY2(WIFSIGNALED(status), qPrintable(QString::number(WEXITSTATUS(status))));
            Datenbestand d;
            Spaltenstruktur struktur;
            QVERIFY2(Dateihelfer::Lesen(pfad, d, struktur), qPrintable(QString::number(runde)));
            const auto zeile = d.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11);
            QVERIFY(zeile);
            gesehen.append(zeile->Eintraege.ZeigeKursEintrag(0).datum);
        }
        // The next start.
        AufzeichnendePlattform plattform;
        QVERIFY(Daten.LadeDatei(pfad));
        QCOMPARE(Dateien(ordner.path()),
            (QStringList { QStringLiteral(".k.zln.lock"), QStringLiteral("k.zln") }));
        for (const QString& name : Dateien(Sicherungskopien::OrdnerVon(pfad)))
            QVERIFY2(name.startsWith(QStringLiteral("k-")) && name.endsWith(QStringLiteral(".zln")),
                qPrintable(name));
        QCOMPARE(plattform.protokoll, QStringList());
        // The saves did run (the file changed in most rounds).
        gesehen.removeDuplicates();
        QVERIFY2(gesehen.size() > 1, qPrintable(gesehen.join(u',')));
    }

    // What a dead save left is removed, and only that: not a file of a program still
    // running, of another computer, of another user, or one of another name.
    void aufraeumen_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("weg");
        QTest::newRow("Programm beendet") << "tot" << true;
        QTest::newRow("Programm läuft") << "lebt" << false;
        QTest::newRow("anderer Rechner") << "rechner" << false;
        QTest::newRow("anderer Benutzer") << "benutzer" << false;
        QTest::newRow("fremder Name") << "name" << false;
        QTest::newRow("Verknüpfung") << "verknuepfung" << false;
    }

    void aufraeumen()
    {
        QFETCH(QString, art);
        QFETCH(bool, weg);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Kursliste.zln"));
        QVERIFY(Dateihelfer::Schreiben(pfad, Kurslistenbauer().Bytes()));
        // A process number that no program has now: a child that has ended.
        const pid_t tot = ::fork();
        if (tot == 0)
            ::_exit(0);
        ::waitpid(tot, nullptr, 0);
        QString rest = SicheresSchreiben::Temporaerdatei(pfad, tot);
        if (art == QLatin1String("lebt"))
            rest = SicheresSchreiben::Temporaerdatei(pfad, ::getppid());
        else if (art == QLatin1String("rechner"))
            rest = ordner.filePath(
                QStringLiteral(".Kursliste.zln.RAVIRIreru-00000000-%1-0.tmp").arg(tot));
        else if (art == QLatin1String("name"))
            rest = ordner.filePath(QStringLiteral("Kursliste.zln.a1B2c3"));
        if (art == QLatin1String("verknuepfung")) {
            QVERIFY(QFile::link(pfad, rest));
        } else {
            QVERIFY(Dateihelfer::Schreiben(rest, "Noten"));
        }
        if (art == QLatin1String("benutzer")) {
            if (::geteuid() != 0)
                QSKIP("braucht root, um eine Datei einem anderen Benutzer zu geben");
            QVERIFY(::chown(QFile::encodeName(rest).constData(), 65534, 65534) == 0);
        }
        QCOMPARE(SicheresSchreiben::Aufraeumen(pfad), weg ? 1 : 0);
        QCOMPARE(QFileInfo(rest).isSymLink() || QFileInfo::exists(rest), !weg);
        // A save cleans up as well.
        QVERIFY(Dateihelfer::Schreiben(rest, "Noten"));
        QString meldung;
        QVERIFY(Datenbestand::SchreibeDatei(pfad, "neu", meldung));
        QCOMPARE(QFileInfo(rest).isSymLink() || QFileInfo::exists(rest), !weg);
        QCOMPARE(Dateihelfer::Inhalt(pfad), QByteArray("neu"));
    }
};

QTEST_GUILESS_MAIN(TestSicherung)
#include "tst_sicherung.moc"
