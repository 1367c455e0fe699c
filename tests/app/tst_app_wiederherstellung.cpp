// Entries left unsaved: course windows that go away without saving (as in a crash, the
// windows are deleted without being closed) leave their journal; the next login on the same
// file asks "Nicht gesicherte Eingaben". "Wiederherstellen" opens the windows with exactly
// those entries, marked changed, the file untouched; "Verwerfen" deletes the journal; a
// journal that no longer fits the file is put aside with a message, never applied in part.
// (The real program killed with SIGKILL is the end-to-end test wiederherstellung.py.)

#include "aufzeichnendeplattform.h"
#include "dateihelfer.h"
#include "eingabejournal.h"
#include "guitest.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "sicherungskopien.h"
#include "wiederherstellung.h"
#include "zellpruefung.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QtEndian>

#include <sys/resource.h>

using namespace Kurstabellentest;

namespace {

void Eingeben(Kursfenster& f, int row, const QString& spalte, const QString& text)
{
    Klick(f, row, Spalte(spalte));
    // A click into the open editor's own cell keeps its text: the new value replaces it.
    Editor(f)->selectAll();
    Tippen(f, text);
    Taste(f, Qt::Key_Tab);
}

Kursfenster* FensterVon(const QString& kuerzel)
{
    for (Kursfenster* f : Kursfenster::OffeneFenster())
        if (f->AngezeigterKurs()->Kuerzel == kuerzel)
            return f;
    return nullptr;
}

QStringList Journaldateien()
{
    return QDir(Eingabejournal::Ordner()).entryList(QDir::Files, QDir::Name);
}

QStringList Beiseitegelegt()
{
    return QDir(Eingabejournal::BeiseitegelegtOrdner()).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestWiederherstellung : public QObject {
    Q_OBJECT

    QTemporaryDir ordner;
    QString pfad;
    QByteArray vorher; // the course-list file before any entry

    // The program as it starts again on the same file: windows gone without closing (their
    // journals stay), the data loaded anew.
    void Neustart()
    {
        GuiTest::Zuruecksetzen();
        QVERIFY(Daten.LadeDatei(pfad));
    }

    // Entries in two course windows, none saved: M row 0 grade 13 and its "W", M row 2 (no
    // row in the file) hours 3, D row 0 grade 8.
    void EingabenMachen()
    {
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        QVERIFY(m);
        Eingeben(*m, 0, QStringLiteral("Note"), QStringLiteral("13"));
        Klick(*m, 0, int(TabellenStruktur.ErsteSpalte) - 1);
        Eingeben(*m, 2, QStringLiteral("Fehlstunden"), QStringLiteral("3"));
        Eingeben(*m, 0, QStringLiteral("Hinweis"), QStringLiteral("Referat „Ökologie“"));
        QPointer<Kursfenster> d = Oeffnen(QStringLiteral("D"));
        QVERIFY(d);
        Eingeben(*d, 0, QStringLiteral("Note"), QStringLiteral("8"));
        QVERIFY(m->LokalGeaendert() && d->LokalGeaendert());
        QCOMPARE(Dateihelfer::Lesen(pfad), vorher);
    }

private slots:
    void init()
    {
        GuiTest::Zuruecksetzen();
        QDir(Eingabejournal::Ordner()).removeRecursively();
        QVERIFY(ordner.isValid());
        QDir(ordner.path()).removeRecursively();
        QVERIFY(QDir().mkpath(ordner.path()));
        pfad = Kurslistenbauer().Anlegen(ordner.path());
        QVERIFY(!pfad.isEmpty());
        vorher = Dateihelfer::Lesen(pfad);
    }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    void ohneJournalKeineFrage()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.protokoll, QStringList());
    }

    void wiederherstellen()
    {
        EingabenMachen();
        Neustart();
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 0 };
        const QList<Kursfenster*> fenster = Wiederherstellung::NachDerAnmeldung();
        QCOMPARE(fenster.size(), 2);

        QCOMPARE(plattform.auswahlen.size(), 1);
        const Plattform::Auswahl& frage = plattform.auswahlen.first();
        QCOMPARE(frage.titel, QStringLiteral("Nicht gesicherte Eingaben"));
        QCOMPARE(frage.meldung,
            QStringLiteral("Beim letzten Mal wurden Eingaben nicht gesichert. Sollen sie "
                           "wiederhergestellt werden?"));
        QCOMPARE(frage.knoepfe,
            (QStringList { QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen") }));
        QCOMPARE(frage.standard, 0);
        const QStringList zeilen = frage.erklaerung.split(QLatin1Char('\n'));
        // Five cells: leaving row 2's empty unexcused hours stored "0" there.
        QVERIFY2(zeilen.at(0).startsWith(
                     QStringLiteral("12.1 - Mathematik - LK2 - Mü: 5 Eingaben, zuletzt am ")),
            qPrintable(frage.erklaerung));
        QVERIFY2(zeilen.at(1).startsWith(
                     QStringLiteral("12.1 - Deutsch - GK1 - Mü: 1 Eingabe, zuletzt am ")),
            qPrintable(frage.erklaerung));
        QVERIFY(zeilen.at(0).contains(QRegularExpression(
            QStringLiteral("am \\d\\d\\.\\d\\d\\.\\d{4} um \\d\\d:\\d\\d Uhr$"))));

        Kursfenster* m = FensterVon(QStringLiteral("M"));
        Kursfenster* d = FensterVon(QStringLiteral("D"));
        QVERIFY(m && d && m->isVisible() && d->isVisible());
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QCOMPARE(Sichtbar(*m, 0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QVERIFY(Gewarnt(*m, 0));
        QCOMPARE(m->ZellWert(2, Spalte(QStringLiteral("Fehlstunden"))), QStringLiteral("3"));
        QCOMPARE(m->ZellWert(2, Spalte(QStringLiteral("unentschuldigte Fehlstunden"))),
            QStringLiteral("0"));
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Hinweis"))),
            QStringLiteral("Referat „Ökologie“"));
        QCOMPARE(d->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("8"));
        // Nothing else changed.
        QCOMPARE(m->ZellWert(1, Spalte(QStringLiteral("Note"))), QStringLiteral("3"));
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Fehlstunden"))), QStringLiteral("4"));
        QVERIFY(m->LokalGeaendert() && d->LokalGeaendert());
        QVERIFY(m->SichernAktion()->isEnabled());
        QCOMPARE(m->Zahlen().Anteil(), QStringLiteral("3/4"));
        QCOMPARE(Dateihelfer::Lesen(pfad), vorher); // nothing written before the teacher saves

        // The restored entries are one step: taken back at once, the window unchanged.
        QCOMPARE(m->Verlauf()->count(), 1);
        m->Verlauf()->undo();
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("12"));
        QVERIFY(!Gewarnt(*m, 0));
        QVERIFY(!m->LokalGeaendert());
        m->Verlauf()->redo();
        QVERIFY(m->LokalGeaendert());

        // The journal goes on: one more entry, gone again, and everything comes back.
        m->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m));
        Eingeben(*m, 3, QStringLiteral("Note"), QStringLiteral("9"));
        Neustart();
        plattform.Leeren();
        plattform.antwortenWahl = { 0 };
        QCOMPARE(Wiederherstellung::NachDerAnmeldung().size(), 2);
        m = FensterVon(QStringLiteral("M"));
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QCOMPARE(m->ZellWert(3, Spalte(QStringLiteral("Note"))), QStringLiteral("9"));
        QVERIFY(plattform.auswahlen.first().erklaerung.contains(
            QStringLiteral("Mathematik - LK2 - Mü: 6 Eingaben")));

        // "Sichern" puts them into the file, and the course's journal goes; D's stays.
        QCOMPARE(m->TabelleSichern(), Kursfenster::Sicherung::Gesichert);
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                     ->Eintraege.Zeigen(QString(), QStringLiteral("Note")),
            QStringLiteral("13"));
        QCOMPARE(gelesen.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 13)
                     ->Eintraege.Zeigen(QString(), QStringLiteral("Fehlstunden")),
            QStringLiteral("3"));
        QVERIFY(gelesen.alleKurse.Zeigen(1)->GewarntSchueler.Enthalten(11));
        QCOMPARE(Journaldateien().size(), 1);
        QVERIFY(!QFileInfo::exists(Eingabejournal::DateiVon(pfad, QStringLiteral("M"))));
        QVERIFY(QFileInfo::exists(Eingabejournal::DateiVon(pfad, QStringLiteral("D"))));
    }

    void verwerfen()
    {
        EingabenMachen();
        Neustart();
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 1 };
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.auswahlen.size(), 1);
        QVERIFY(Kursfenster::OffeneFenster().isEmpty());
        QCOMPARE(Journaldateien(), QStringList());
        QCOMPARE(Dateihelfer::Lesen(pfad), vorher);
        // Asked once only.
        plattform.Leeren();
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.protokoll, QStringList());
    }

    // Escape (or closing the box) loses nothing: the entries come back.
    void escapeStelltWiederHer()
    {
        EingabenMachen();
        Neustart();
        AufzeichnendePlattform plattform; // no answer: Escape
        QCOMPARE(Wiederherstellung::NachDerAnmeldung().size(), 2);
        QCOMPARE(plattform.auswahlen.first().abbrechen, 0);
    }

    // Closing a window (saving or discarding its entries) and entries undone to the file's
    // state leave nothing to ask about.
    void nichtsZuFragen()
    {
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 1 }; // the closing question: "Verwerfen"
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        Eingeben(*m, 0, QStringLiteral("Note"), QStringLiteral("13"));
        QVERIFY(QFileInfo::exists(Eingabejournal::DateiVon(pfad, QStringLiteral("M"))));
        m->close();
        QVERIFY(!QFileInfo::exists(Eingabejournal::DateiVon(pfad, QStringLiteral("M"))));

        QPointer<Kursfenster> d = Oeffnen(QStringLiteral("D"));
        Eingeben(*d, 0, QStringLiteral("Note"), QStringLiteral("13"));
        QTest::keyClick(Editor(*d), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!d->LokalGeaendert());
        Neustart();
        plattform.Leeren();
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.protokoll, QStringList());
        QCOMPARE(Journaldateien(), QStringList());
    }

    // A journal whose course, students, columns or cells no longer match the file: refused
    // with a message and put aside, nothing applied (not even the part of the course that
    // would still fit).
    void passtNicht_data()
    {
        QTest::addColumn<int>("aenderung");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Schüler fehlt im Kurs")
            << 0
            << QStringLiteral(
                   "„Albers, Anna“ gehört nicht mehr zum Kurs „12.1 - Mathematik - LK2 - Mü“.");
        QTest::newRow("Kurs fehlt")
            << 1
            << QStringLiteral("Den Kurs „12.1 - Mathematik - LK2 - Mü“ gibt es in dieser "
                              "Kurslisten-Datei nicht mehr.");
        QTest::newRow("Spalte fehlt")
            << 2
            << QStringLiteral(
                   "Die Spalte „Hinweis“ gibt es in dieser Kurslisten-Datei nicht mehr.");
        QTest::newRow("andere Werte")
            << 3
            << QStringLiteral(
                   "„Albers, Anna“, Spalte „Note“ im Kurs „12.1 - Mathematik - LK2 - Mü“: Die "
                   "Kurslisten-Datei enthält dort „5“, die Eingaben gingen von „12“ aus.");
        QTest::newRow("Note nicht in der Skala")
            << 4
            << QStringLiteral("„13“ ist keine Note dieser Notenskala. („Albers, Anna“ im Kurs "
                              "„12.1 - Mathematik - "
                              "LK2 - Mü“)");
    }
    void passtNicht()
    {
        QFETCH(int, aenderung);
        QFETCH(QString, grund);
        EingabenMachen();
        GuiTest::Zuruecksetzen();
        const QStringList journal = Journaldateien();
        QCOMPARE(journal.size(), 2);

        // The school's software exported the file anew.
        Datenbestand neu = Kurslistenbauer().Bauen();
        switch (aenderung) {
        case 0:
            neu.alleKurse.Zeigen(1)->Schueler.Entnehmen(qint64(11));
            break;
        case 1: {
            KursAuswahlliste ohneM;
            ohneM.Anfuegen(neu.alleKurse.Zeigen(2));
            neu.alleKurse = ohneM;
            break;
        }
        case 2: {
            Eintraege katalog;
            for (qint64 i = 0; i < neu.alleEintraege.Anzahl(); ++i)
                if (neu.alleEintraege.ZeigeEintrag(i).Bezeichnung != QLatin1String("Hinweis"))
                    katalog.Anfuegen(neu.alleEintraege.ZeigeEintrag(i));
            neu.alleEintraege = katalog;
            for (qint64 i = 1; i <= neu.alleSchuelerKurse.AnzahlKurse(); ++i) {
                KursEintraege e;
                const KursEintraege& alt = neu.alleSchuelerKurse.ZeigePosition(i)->Eintraege;
                for (qint64 k = 0; k < alt.Anzahl(); ++k)
                    if (alt.ZeigeKursEintrag(k).Bezeichnung != QLatin1String("Hinweis"))
                        e.Anfuegen(alt.ZeigeKursEintrag(k));
                neu.alleSchuelerKurse.ZeigePosition(i)->Eintraege = e;
            }
            break;
        }
        case 3:
            neu.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 11)
                ->Eintraege.ZeigeKursEintrag(0)
                .datum
                = QStringLiteral("5");
            break;
        case 4: {
            QList<Note> skala;
            for (const Note& n : std::as_const(neu.zNoten))
                if (n.Kuerzel != QLatin1String("13"))
                    skala.append(n);
            neu.zNoten = skala;
            break;
        }
        }
        GlobaleDatenZuruecksetzen();
        QVERIFY(!Anlegen(ordner.path(), neu).isEmpty());
        const QByteArray datei = Dateihelfer::Lesen(pfad);

        AufzeichnendePlattform plattform;
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.auswahlen.size(), 0); // no question: nothing can be restored
        QCOMPARE(plattform.mitteilungen.size(), 1);
        const Plattform::Mitteilung& m = plattform.mitteilungen.first();
        QCOMPARE(m.titel, QStringLiteral("Nicht gesicherte Eingaben"));
        QCOMPARE(m.text,
            QStringLiteral("Die nicht gesicherten Eingaben vom letzten Mal passen nicht zu dieser "
                           "Kurslisten-Datei. Sie werden nicht übernommen."));
        QVERIFY2(
            m.erklaerung.startsWith(grund + QStringLiteral("\n\nDie Eingaben sind im Ordner „")),
            qPrintable(m.erklaerung));
        QVERIFY(Kursfenster::OffeneFenster().isEmpty());
        QCOMPARE(Dateihelfer::Lesen(pfad), datei);
        // Kept aside, both parts, never offered again.
        QCOMPARE(Journaldateien(), QStringList());
        QCOMPARE(Beiseitegelegt().size(), 2);
        plattform.Leeren();
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.protokoll, QStringList());
        QDir(Eingabejournal::BeiseitegelegtOrdner()).removeRecursively();
    }

    // Values no cell would take, found in a journal (written by another program, or damaged
    // so that its checksum still fits): the cell checks refuse them, the message names the
    // student, the column and the reason, and nothing of the journal is applied; it is kept
    // aside.
    void abgelehnteWerte_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("alt");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Fehlstunden „abc; rm -rf“")
            << "Fehlstunden"
            << "4"
            << "abc; rm -rf"
            << QStringLiteral("„Albers, Anna“, Spalte „Fehlstunden“ im Kurs „12.1 - Mathematik - "
                              "LK2 - Mü“: Der Wert „abc; rm -rf“ wird nicht übernommen. ")
                + Zellpruefung::GrundFehlstunden;
        QTest::newRow("Hinweis mit 3 MB")
            << "Hinweis"
            << "Facharbeit" << QString(3'000'000, u'x')
            << QStringLiteral("„Albers, Anna“, Spalte „Hinweis“ im Kurs „12.1 - Mathematik - LK2 "
                              "- Mü“: Der Wert „%1 …“ wird nicht übernommen. ")
                    .arg(QString(40, u'x'))
                + Zellpruefung::GrundZuLang;
    }
    void abgelehnteWerte()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, alt);
        QFETCH(QString, wert);
        QFETCH(QString, grund);
        {
            Eingabejournal j(
                pfad, QStringLiteral("M"), QStringLiteral("12.1 - Mathematik - LK2 - Mü"));
            Eingabejournal::Aenderung a;
            a.zeit = QDateTime::currentDateTimeUtc();
            a.schueler = 12;
            a.eintragBezeichnung = QStringLiteral("Note");
            a.vorher = QStringLiteral("3");
            a.nachher = QStringLiteral("9"); // a value that alone would be restored
            QVERIFY(j.Anfuegen(a));
            a.schueler = 11;
            a.eintragBezeichnung = spalte;
            a.vorher = alt;
            a.nachher = wert;
            QVERIFY(j.Anfuegen(a));
        }
        AufzeichnendePlattform plattform;
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.auswahlen.size(), 0);
        QCOMPARE(plattform.mitteilungen.size(), 1);
        const Plattform::Mitteilung& m = plattform.mitteilungen.first();
        QCOMPARE(m.text, Wiederherstellung::PasstNicht);
        QVERIFY2(
            m.erklaerung.startsWith(grund + QStringLiteral("\n\nDie Eingaben sind im Ordner „")),
            qPrintable(m.erklaerung.left(400)));
        QVERIFY(Kursfenster::OffeneFenster().isEmpty());
        QCOMPARE(Dateihelfer::Lesen(pfad), vorher);
        QCOMPARE(Journaldateien(), QStringList());
        QCOMPARE(Beiseitegelegt().size(), 1);
        QDir(Eingabejournal::BeiseitegelegtOrdner()).removeRecursively();
    }

    // An absurdly large journal (2 GB, sparse) is not read into memory: it is put aside at
    // once and the teacher told why.
    void riesigesJournal()
    {
        const QString datei = Eingabejournal::DateiVon(pfad, QStringLiteral("M"));
        QVERIFY(QDir().mkpath(Eingabejournal::Ordner()));
        {
            QFile f(datei);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(qint64(2) * 1024 * 1024 * 1024));
        }
        rusage vorher {};
        ::getrusage(RUSAGE_SELF, &vorher);
        AufzeichnendePlattform plattform;
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        rusage nachher {};
        ::getrusage(RUSAGE_SELF, &nachher);
        QVERIFY2(nachher.ru_maxrss - vorher.ru_maxrss < 64 * 1024,
            qPrintable(QString::number(nachher.ru_maxrss - vorher.ru_maxrss)));
        QCOMPARE(plattform.mitteilungen.size(), 1);
        const Plattform::Mitteilung& m = plattform.mitteilungen.first();
        QCOMPARE(m.text, Wiederherstellung::PasstNicht);
        QVERIFY2(
            m.erklaerung.contains(QStringLiteral("mit 2048 MB zu groß")), qPrintable(m.erklaerung));
        QCOMPARE(Journaldateien(), QStringList());
        QCOMPARE(Beiseitegelegt().size(), 1);
        QDir(Eingabejournal::BeiseitegelegtOrdner()).removeRecursively();
    }

    // The last record cut short (the program killed while writing it): everything before it
    // comes back, and the question says that the last entry is missing.
    // A record damaged in the middle: what stands before it is offered, the question says
    // that the rest is missing, and the whole file is kept aside first.
    void beschaedigteMitte()
    {
        EingabenMachen();
        GuiTest::Zuruecksetzen();
        const QString datei = Eingabejournal::DateiVon(pfad, QStringLiteral("M"));
        QByteArray bytes = Dateihelfer::Lesen(datei);
        // The head, the grade 13, then the "W" box: one byte of the third record changed.
        qsizetype stelle = 0;
        for (int satz = 0; satz < 2; ++satz)
            stelle += 8 + qsizetype(qFromBigEndian<quint32>(bytes.constData() + stelle));
        bytes[stelle + 6] = char(bytes[stelle + 6] ^ 0x5a);
        QVERIFY(Dateihelfer::Schreiben(datei, bytes));
        QVERIFY(Daten.LadeDatei(pfad));
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 0 };
        QCOMPARE(Wiederherstellung::NachDerAnmeldung().size(), 2);
        const QString erklaerung = plattform.auswahlen.first().erklaerung;
        QVERIFY2(erklaerung.contains(QStringLiteral(
                     "In der Wiederherstellungsdatei von „12.1 - Mathematik - LK2 - Mü“ ist ein "
                     "Eintrag beschädigt: übernommen wird, was davor steht (1 Änderung); was "
                     "danach steht, nicht. Die ganze Datei ist als „")),
            qPrintable(erklaerung));
        Kursfenster* m = FensterVon(QStringLiteral("M"));
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QVERIFY(!Gewarnt(*m, 0));
        QCOMPARE(Beiseitegelegt().size(), 1);
        QCOMPARE(Dateihelfer::Lesen(Eingabejournal::BeiseitegelegtOrdner() + QLatin1Char('/')
                     + Beiseitegelegt().first()),
            bytes);
        QDir(Eingabejournal::BeiseitegelegtOrdner()).removeRecursively();
    }

    void beschaedigtesEnde()
    {
        EingabenMachen();
        GuiTest::Zuruecksetzen();
        const QString datei = Eingabejournal::DateiVon(pfad, QStringLiteral("M"));
        QFile f(datei);
        QVERIFY(f.resize(f.size() - 3));
        QVERIFY(Daten.LadeDatei(pfad));
        AufzeichnendePlattform plattform;
        plattform.antwortenWahl = { 0 };
        QCOMPARE(Wiederherstellung::NachDerAnmeldung().size(), 2);
        QVERIFY(plattform.auswahlen.first().erklaerung.contains(
            QStringLiteral("Die letzte Eingabe vor dem Abbruch wurde nicht mehr vollständig "
                           "festgehalten und fehlt.")));
        Kursfenster* m = FensterVon(QStringLiteral("M"));
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QVERIFY(Gewarnt(*m, 0));
        QCOMPARE(m->ZellWert(2, Spalte(QStringLiteral("Fehlstunden"))), QStringLiteral("3"));
        QCOMPARE(m->ZellWert(0, Spalte(QStringLiteral("Hinweis"))),
            QStringLiteral("Facharbeit")); // the cut one
    }

    // "Sichern unter …": the journal of another window's unsaved entries follows the new file.
    void sichernUnter()
    {
        AufzeichnendePlattform plattform;
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        Eingeben(*m, 0, QStringLiteral("Note"), QStringLiteral("13"));
        const QString neu = ordner.filePath(QStringLiteral("anderswo/Gerettet.zln"));
        QVERIFY(QDir().mkpath(QFileInfo(neu).absolutePath()));
        plattform.antwortenDatei = { neu };
        QVERIFY(Daten.SichernUnter());
        QCOMPARE(Daten.datenFolder, neu);
        QCOMPARE(Eingabejournal::Lesen(pfad).size(), 0);
        Eingeben(*m, 1, QStringLiteral("Note"), QStringLiteral("14"));

        GuiTest::Zuruecksetzen();
        QVERIFY(Daten.LadeDatei(pfad));
        plattform.Leeren();
        QVERIFY(Wiederherstellung::NachDerAnmeldung().isEmpty());
        QCOMPARE(plattform.protokoll, QStringList());

        GlobaleDatenZuruecksetzen();
        QVERIFY(Daten.LadeDatei(neu));
        plattform.antwortenWahl = { 0 };
        QCOMPARE(Wiederherstellung::NachDerAnmeldung().size(), 1);
        Kursfenster* w = FensterVon(QStringLiteral("M"));
        QCOMPARE(w->ZellWert(0, Spalte(QStringLiteral("Note"))), QStringLiteral("13"));
        QCOMPARE(w->ZellWert(1, Spalte(QStringLiteral("Note"))), QStringLiteral("14"));
    }

    // The backups of a save are kept beside the file, and a restored journal is not one of
    // them: the course-list file's folder holds the file, its lock and the backup folder.
    void ordnerNebenDerDatei()
    {
        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        Eingeben(*m, 0, QStringLiteral("Note"), QStringLiteral("13"));
        QCOMPARE(m->TabelleSichern(), Kursfenster::Sicherung::Gesichert);
        QCOMPARE(QDir(ordner.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList { QStringLiteral(".Kursliste.zln.lock"), QStringLiteral("Kursliste.zln"),
                QStringLiteral("RAVIRIreru-Sicherungen") }));
        QCOMPARE(Sicherungskopien::Liste(pfad).size(), 1);
        QCOMPARE(Dateihelfer::Lesen(Sicherungskopien::Liste(pfad).first()), vorher);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestWiederherstellung)
#include "tst_app_wiederherstellung.moc"
