// The course window with 300 students and 8 entry columns: opening the window, one Tab step
// (check, store, append to the recovery journal, the figures in the status line, move, open the
// editor) and painting the visible table. Then the windows of the course-list file at the
// format's limits (32,767 rows): opening and saving a course, each against a plain
// QTableWidget with the same cells in the same run.

#include "boden.h"
#include "datenbestand.h"
#include "eingabejournal.h"
#include "grossbestand.h"
#include "guitest.h"
#include "kursfenster.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "plattform.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

constexpr int AnzahlSchueler = 300;

// A course-list with one course of 300 students; 8 catalogue entries (four with IDs).
bool Bestand(const QString& pfad)
{
    GlobaleDatenZuruecksetzen();
    Datenbestand d;
    d.Halbjahr = 3;
    d.HalbjahrKuerzel = QStringLiteral("Q1");
    d.mitMarkAbitur = true;
    d.mitMarkKlausur = true;
    d.mitDefiziten = true;
    d.DefizitgrenzeQ = 4;
    d.mitWarnung = true;
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("unentschuldigte Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Hinweis")));
    for (int k = 1; k <= 4; ++k)
        d.alleEintraege.Anfuegen(
            Eintrag(QStringLiteral("K%1").arg(k), QStringLiteral("Klausur %1").arg(k)));
    d.mitDaten = true;
    for (int p = 15; p >= 0; --p)
        d.zNoten.append(Note(QString::number(p), QString::number(p), p, QString::number(p)));
    auto kurs = std::make_shared<Kurs>();
    kurs->kNr = 1;
    kurs->KursArt = QStringLiteral("GK");
    kurs->Fach = QStringLiteral("Mathematik");
    kurs->Lehrer = QStringLiteral("ABC");
    kurs->Kuerzel = QStringLiteral("M");
    for (int i = 0; i < AnzahlSchueler; ++i) {
        const qint64 id = 1000 + i;
        d.alleSchueler.Anfuegen(
            Schueler(id, QStringLiteral("Schüler, Nummer %1").arg(i), QString()));
        kurs->Schueler.Einfuegen(id);
        if (i % 3 == 0)
            kurs->KlausurSchueler.Einfuegen(id);
        if (i % 7 == 0)
            kurs->GewarntSchueler.Einfuegen(id);
        auto zeile = std::make_shared<SchuelerKurs>(kurs->Kuerzel, id);
        KursEintraege e;
        for (qint64 j = 0; j < d.alleEintraege.Anzahl(); ++j) {
            const Eintrag& eintrag = d.alleEintraege.ZeigeEintrag(j);
            const QString wert
                = j == 3 ? QStringLiteral("Bemerkung %1").arg(i) : QString::number((i + j) % 16);
            e.Anfuegen(KursEintrag(eintrag.ID, eintrag.Bezeichnung, wert));
        }
        zeile->Eintraege = e;
        d.alleSchuelerKurse.Anfuegen(zeile);
    }
    d.alleKurse.Anfuegen(kurs);
    Spaltenstruktur s;
    s.KurslistenInit(d);
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!Datenbestand::Schreiben(puffer, d, s, meldung))
        return false;
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(bytes) != bytes.size())
        return false;
    datei.close();
    return Daten.LadeDatei(pfad);
}

// A valid value for the active cell (the unexcused hours never above the absence hours).
QString Wert(const Kursfenster& f, int n)
{
    const Eintrag* e = f.Spalteneintrag(f.AktiveSpalte());
    if (e && e->Bezeichnung == QLatin1String("unentschuldigte Fehlstunden"))
        return QStringLiteral("0");
    return QString::number(n % 16);
}

// The floor of a Tab step, measured in the same run: Qt's own Tab in a plain QTableWidget of
// the same size (the delegate writes the text into the cell unchecked, closes the editor and
// opens it on the next cell), with the same number of steps and the same kind of text.
QList<double> TabSchrittBoden(int spalten)
{
    QTableWidget tabelle(AnzahlSchueler, spalten);
    for (int i = 0; i < AnzahlSchueler; ++i)
        for (int j = 0; j < spalten; ++j)
            tabelle.setItem(i, j, new QTableWidgetItem(QString::number((i + j) % 16)));
    tabelle.resize(1200, 1000);
    tabelle.show();
    tabelle.activateWindow();
    if (!QTest::qWaitForWindowActive(&tabelle))
        return {};
    tabelle.setCurrentCell(0, 0);
    tabelle.editItem(tabelle.item(0, 0));
    QList<double> ms;
    for (int i = 0; i < 2000; ++i) {
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            return {};
        editor->setText(QString::number(i % 16));
        QElapsedTimer uhr;
        uhr.start();
        QTest::keyClick(editor, Qt::Key_Tab);
        ms.append(uhr.nsecsElapsed() / 1e6);
    }
    return ms;
}

// The benchmarks' course-list file at the format's limits, as the global data.
bool GrenzdateiLaden()
{
    static QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("grenze.zln"));
    if (Daten.datenFolder == pfad)
        return true;
    GlobaleDatenZuruecksetzen();
    Datenbestand d;
    Spaltenstruktur s;
    Grossbestand::Erzeugen(d, s);
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!Datenbestand::Schreiben(puffer, d, s, meldung))
        return false;
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(bytes) != bytes.size())
        return false;
    datei.close();
    return Daten.LadeDatei(pfad);
}

// The texts of every cell of a window's table, row by row.
QList<QStringList> Zellen(Kursfenster& f)
{
    QList<QStringList> zellen;
    QTableWidget* t = f.meineTabelle();
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList zeile;
        for (int c = 0; c < t->columnCount(); ++c)
            zeile.append(t->item(r, c) ? t->item(r, c)->text() : QString());
        zellen.append(zeile);
    }
    return zellen;
}

double Median(QList<double> werte)
{
    std::sort(werte.begin(), werte.end());
    return werte.at(werte.size() / 2);
}

} // namespace

class BenchKursfenster : public QObject {
    Q_OBJECT

    QTemporaryDir ordner;

private slots:
    void initTestCase()
    {
        QVERIFY(ordner.isValid());
        QVERIFY(Bestand(ordner.filePath(QStringLiteral("gross.zln"))));
        // A full-HD screen: the window shows as many rows as fit on it.
        Kursfenster::SetzeBildschirmflaeche(QRect(0, 0, 1920, 1050));
    }

    // The course-list file's lock goes before its temporary folder does.
    void cleanupTestCase() { GlobaleDatenZuruecksetzen(); }

    // --- Timed by hand: median and extremes of many runs ---------------------------------

    void oeffnen()
    {
        const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
        QList<double> ms;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer uhr;
            uhr.start();
            auto* f = new Kursfenster(kurs);
            f->show();
            QCoreApplication::processEvents(); // laid out and painted
            ms.append(uhr.nsecsElapsed() / 1e6);
            QCOMPARE(f->meineTabelle()->rowCount(), AnzahlSchueler);
            delete f;
        }
        qInfo("Öffnen (Konstruktor, Anzeigen, erstes Zeichnen): Median %.2f ms, bestes %.2f ms, "
              "schlechtestes %.2f ms",
            Median(ms), *std::min_element(ms.begin(), ms.end()),
            *std::max_element(ms.begin(), ms.end()));
    }

    void tabSchritt()
    {
        auto* f = new Kursfenster(Daten.alleKurse.Zeigen(1));
        f->show();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        const int spalten = f->meineTabelle()->columnCount();
        int wert = 0;
        QList<double> ms;
        QList<double> sync;
        for (int i = 0; i < 2000; ++i) {
            QLineEdit* editor = f->meineTabelle()->Editor();
            const int vorher = f->AktiveZeile() * spalten + f->AktiveSpalte();
            // A new valid value every time, so that the step checks, stores, journals and
            // counts.
            editor->setText(Wert(*f, wert++));
            QElapsedTimer uhr;
            uhr.start();
            QTest::keyClick(editor, Qt::Key_Tab);
            ms.append(uhr.nsecsElapsed() / 1e6);
            QVERIFY(f->AktiveZeile() * spalten + f->AktiveSpalte() != vorher);
            QVERIFY(f->meineTabelle()->Editor() && f->meineTabelle()->Editor()->hasFocus());
            // The sync the journal's timer does once a second, outside the key step: timed on
            // its own every 50 steps.
            if (i % 50 == 49 && f->Journal()) {
                QElapsedTimer takt;
                takt.start();
                QVERIFY(f->Journal()->Synchronisieren());
                sync.append(takt.nsecsElapsed() / 1e6);
            }
        }
        QVERIFY(f->LokalGeaendert());
        // Every stored change went to the journal: far more than a head record.
        QVERIFY(f->Journal() && f->Journal()->Offen() && f->Journal()->Fehler().isEmpty());
        QVERIFY(QFileInfo(f->Journal()->Datei()).size() > 1000 * 40);
        QVERIFY(!f->Statuszeile()->Zahlen().isEmpty());
        delete f;
        const QList<double> boden = TabSchrittBoden(spalten);
        QVERIFY(!boden.isEmpty());
        qInfo("Ein Tab-Schritt (prüfen, speichern, ins Wiederherstellungsjournal schreiben, "
              "Kennzahlen der Statuszeile, weiter, Editor öffnen): Median %.3f ms, "
              "bestes %.3f ms, schlechtestes %.3f ms; Boden (Qts eigener Tab-Schritt in einer "
              "bloßen QTableWidget gleicher Größe, ungeprüft): Median %.3f ms; Ziel < 2 ms. "
              "fsync des Journals (höchstens einmal je Sekunde, außerhalb des Schritts): "
              "Median %.3f ms",
            Median(ms), *std::min_element(ms.begin(), ms.end()),
            *std::max_element(ms.begin(), ms.end()), Median(boden), Median(sync));
    }

    void zeichnen()
    {
        auto* f = new Kursfenster(Daten.alleKurse.Zeigen(1));
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QWidget* flaeche = f->meineTabelle()->viewport();
        QList<double> ms;
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer uhr;
            uhr.start();
            const QPixmap bild = flaeche->grab();
            ms.append(uhr.nsecsElapsed() / 1e6);
        }
        qInfo("Zeichnen der sichtbaren Tabelle (%d Zeilen x %d Spalten, %dx%d Punkte): "
              "Median %.2f ms, bestes %.2f ms, schlechtestes %.2f ms",
            flaeche->height() / Kurstabelle::Zeilenhoehe, f->meineTabelle()->columnCount(),
            flaeche->width(), flaeche->height(), Median(ms),
            *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()));
        delete f;
    }

    // --- The same three, measured by QBENCHMARK -----------------------------------------

    void oeffnenBenchmark()
    {
        const KursZeiger kurs = Daten.alleKurse.Zeigen(1);
        // Includes deleting the window again.
        QBENCHMARK
        {
            auto* f = new Kursfenster(kurs);
            f->show();
            QCoreApplication::processEvents();
            delete f;
        }
    }

    void tabSchrittBenchmark()
    {
        auto* f = new Kursfenster(Daten.alleKurse.Zeigen(1));
        f->show();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        int wert = 0;
        QBENCHMARK
        {
            QLineEdit* editor = f->meineTabelle()->Editor();
            editor->setText(Wert(*f, wert++));
            QTest::keyClick(editor, Qt::Key_Tab);
        }
        delete f;
    }

    void zeichnenBenchmark()
    {
        auto* f = new Kursfenster(Daten.alleKurse.Zeigen(1));
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QWidget* flaeche = f->meineTabelle()->viewport();
        QBENCHMARK
        {
            const QPixmap bild = flaeche->grab();
        }
        delete f;
    }

    // --- The course-list file at the format's limits --------------------------------------

    // Opening: the window of a course (constructor, shown, laid out and painted) against a
    // plain QTableWidget with the same texts, shown and painted; in pairs. The floor shows
    // the cells as the window does (its row height, column widths and font, no row header),
    // so both paint the same number of cells; the plain table in Qt's own look (rows of 30
    // px, fewer of them on screen) is measured beside it as before.
    void grenzdateiOeffnen_data()
    {
        QTest::addColumn<int>("kurs");
        QTest::newRow("Kurs 1") << 1;
        QTest::newRow("Kurs 100") << Grossbestand::AnzahlKurse;
    }
    void grenzdateiOeffnen()
    {
        QFETCH(int, kurs);
        QVERIFY(GrenzdateiLaden());
        const KursZeiger k = Daten.alleKurse.Zeigen(kurs);
        // The cells, widths and size the floors show, from one window opened beforehand.
        QList<QStringList> zellen;
        QList<int> breiten;
        QSize groesse;
        {
            Kursfenster f(k);
            f.show();
            QCoreApplication::processEvents();
            zellen = Zellen(f);
            const Kurstabelle* tabelle = f.meineTabelle();
            groesse = tabelle->size();
            for (int c = 0; c < tabelle->columnCount(); ++c)
                breiten.append(tabelle->columnWidth(c));
        }
        QCOMPARE(zellen.size(), Grossbestand::SchuelerJeKurs);

        QList<double> fenster, boden, bodenQt;
        int sichtbar = 0, sichtbarQt = 0;
        const auto fensterOeffnen = [&] {
            QElapsedTimer uhr;
            uhr.start();
            auto* f = new Kursfenster(k);
            f->show();
            QCoreApplication::processEvents();
            fenster.append(uhr.nsecsElapsed() / 1e6);
            delete f;
        };
        // The floor: the same cells shown as the window shows them (Qt's own look with
        // wieImFenster false).
        const auto tabelleOeffnen = [&](bool wieImFenster) {
            QElapsedTimer uhr;
            uhr.start();
            auto* t = new QTableWidget(int(zellen.size()), int(zellen.at(0).size()));
            if (wieImFenster) {
                t->setFont(Kurstabelle::Schrift());
                t->verticalHeader()->hide();
                t->verticalHeader()->setDefaultSectionSize(Kurstabelle::Zeilenhoehe);
                for (int c = 0; c < breiten.size(); ++c)
                    t->setColumnWidth(c, breiten.at(c));
            }
            for (int r = 0; r < zellen.size(); ++r)
                for (int c = 0; c < zellen.at(r).size(); ++c)
                    t->setItem(r, c, new QTableWidgetItem(zellen.at(r).at(c)));
            t->resize(groesse);
            t->show();
            QCoreApplication::processEvents();
            (wieImFenster ? boden : bodenQt).append(uhr.nsecsElapsed() / 1e6);
            (wieImFenster ? sichtbar : sichtbarQt) = t->rowAt(t->viewport()->height() - 1) + 1;
            delete t;
        };
        // In rounds of three, each part first in a third of the rounds (what runs first after
        // the others pays for caches the others left cold).
        for (int i = 0; i < 60; ++i) {
            for (int j = 0; j < 3; ++j) {
                switch ((i + j) % 3) {
                case 0:
                    fensterOeffnen();
                    break;
                case 1:
                    tabelleOeffnen(true);
                    break;
                default:
                    tabelleOeffnen(false);
                    break;
                }
            }
        }
        qInfo("Grenzdatei, Fenster von Kurs %d öffnen (%d Zeilen x %d Spalten): Median %.2f ms; "
              "Boden (bloße QTableWidget mit denselben Zellen, so gezeigt wie im Fenster, %d "
              "Zeilen sichtbar): Median %.2f ms; Verhältnis %.2f; bloße QTableWidget in Qts "
              "eigenem Aussehen (%d Zeilen sichtbar): Median %.2f ms, Verhältnis %.2f",
            kurs, Grossbestand::SchuelerJeKurs, int(TabellenStruktur.SpaltenAnzahl),
            Median(fenster), sichtbar, Median(boden), Median(fenster) / Median(boden), sichtbarQt,
            Median(bodenQt), Median(fenster) / Median(bodenQt));
    }

    // Saving: TabellenDatenSichern (every row back into the list, the file written with its
    // sync) against reading every cell of a plain QTableWidget with the same cells back and
    // the plain save of the same file (Boden: encoder, write, fsync, rename). Daten.Speichern
    // alone shows the file's part.
    void grenzdateiSichern_data() { grenzdateiOeffnen_data(); }
    void grenzdateiSichern()
    {
        QFETCH(int, kurs);
        QVERIFY(GrenzdateiLaden());
        const KursZeiger k = Daten.alleKurse.Zeigen(kurs);
        Boden::Daten bodenDaten;
        QFile datei(Daten.datenFolder);
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QVERIFY(Boden::Dekodieren(datei.readAll(), bodenDaten));
        datei.close();
        const QString bodenPfad = ordner.filePath(QStringLiteral("boden.zln"));
        QList<double> sichern, speichern, boden;
        for (int i = 0; i < 15; ++i) {
            auto* f = new Kursfenster(k);
            f->show();
            QCoreApplication::processEvents();
            const QList<QStringList> zellen = Zellen(*f);
            QElapsedTimer uhr;
            uhr.start();
            f->TabellenDatenSichern();
            sichern.append(uhr.nsecsElapsed() / 1e6);
            QVERIFY(!f->LokalGeaendert());
            delete f;

            uhr.restart();
            QVERIFY(Daten.Speichern());
            speichern.append(uhr.nsecsElapsed() / 1e6);

            QTableWidget t(int(zellen.size()), int(zellen.at(0).size()));
            for (int r = 0; r < zellen.size(); ++r)
                for (int c = 0; c < zellen.at(r).size(); ++c)
                    t.setItem(r, c, new QTableWidgetItem(zellen.at(r).at(c)));
            uhr.restart();
            QList<QStringList> gelesen;
            gelesen.reserve(t.rowCount());
            for (int r = 0; r < t.rowCount(); ++r) {
                QStringList zeile;
                for (int c = 0; c < t.columnCount(); ++c)
                    zeile.append(t.item(r, c)->text());
                gelesen.append(zeile);
            }
            QCOMPARE(Boden::DateiErsetzen(bodenPfad, Boden::Kodieren(bodenDaten)), 0);
            boden.append(uhr.nsecsElapsed() / 1e6);
        }
        qInfo("Grenzdatei, Fenster von Kurs %d sichern: Median %.2f ms (davon Daten.Speichern "
              "allein: Median %.2f ms); Boden (Zellen einer bloßen QTableWidget auslesen, dieselbe "
              "Datei bloß kodieren, schreiben, fsync, umbenennen): Median %.2f ms; Verhältnis %.2f",
            kurs, Median(sichern), Median(speichern), Median(boden),
            Median(sichern) / Median(boden));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(BenchKursfenster)
#include "bench_kursfenster.moc"
