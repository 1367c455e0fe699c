// The course window: printing through the menu item "Drucken" into PDF files that poppler's
// tools read back and render, cancelled and failed prints, and Qt's own page set-up and print
// dialogs.

#include "aufzeichnendeplattform.h"
#include "dateihelfer.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurskopf.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"
#include "menue.h"
#include "qtplattform.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Kurstabellentest;

namespace {

QString Heute()
{
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

QString Programm(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

bool Laeuft(const QString& programm, const QStringList& argumente, QString* ausgabe = nullptr)
{
    QProcess p;
    p.start(programm, argumente);
    const bool ok
        = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ausgabe)
        *ausgabe = QString::fromUtf8(p.readAllStandardOutput());
    return ok;
}

// The text of a PDF file as pdftotext lays it out; seite 0: all pages.
QString PdfText(const QString& pdf, int seite = 0)
{
    QStringList argumente { QStringLiteral("-layout") };
    if (seite > 0)
        argumente << QStringLiteral("-f") << QString::number(seite) << QStringLiteral("-l")
                  << QString::number(seite);
    argumente << pdf << QStringLiteral("-");
    QString text;
    Laeuft(Programm(QStringLiteral("pdftotext")), argumente, &text);
    return text;
}

int PdfSeiten(const QString& pdf)
{
    QString info;
    Laeuft(Programm(QStringLiteral("pdfinfo")), { pdf }, &info);
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The drawing operators of every page of a PDF file written by Qt (its page content
// streams, inflated).
QStringList PdfSeitenInhalte(const QString& pdf)
{
    QFile datei(pdf);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = datei.readAll();
    QStringList inhalte;
    qsizetype ab = 0;
    for (;;) {
        const qsizetype anfang = bytes.indexOf("stream", ab);
        if (anfang < 0)
            break;
        qsizetype start = anfang + 6;
        if (bytes.mid(start, 2) == "\r\n")
            start += 2;
        else if (bytes.mid(start, 1) == "\n")
            start += 1;
        const qsizetype ende = bytes.indexOf("endstream", start);
        if (ende < 0)
            break;
        ab = ende + 9;
        // FlateDecode is the zlib format; qUncompress wants the size in front.
        const QByteArray roh = bytes.mid(start, ende - start);
        QByteArray mitGroesse(4, '\0');
        const quint32 groesse = quint32(roh.size()) * 50 + 4096;
        for (int i = 0; i < 4; ++i)
            mitGroesse[i] = char((groesse >> (24 - 8 * i)) & 0xFF);
        const QByteArray inhalt = qUncompress(mitGroesse + roh);
        // A page: it places the device's pixels on the page in points ("cm") and draws.
        if (inhalt.contains(" cm\n") && (inhalt.contains(" Tj") || inhalt.contains(" l\n")))
            inhalte << QString::fromLatin1(inhalt);
    }
    return inhalte;
}

// For looking at: a folder named by RAVIRIRERU_BILDER gets a copy of the PDF file and its
// first page as a picture (200 dpi).
void Aufbewahren(const QString& pdf, const QString& name)
{
    const QString bilder = qEnvironmentVariable("RAVIRIRERU_BILDER");
    if (bilder.isEmpty() || !QDir(bilder).exists())
        return;
    const QString ziel = QDir(bilder).filePath(name);
    QFile::remove(ziel);
    QFile::copy(pdf, ziel);
    QProcess::execute(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")),
        { QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-png"),
            QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
            QStringLiteral("-l"), QStringLiteral("1"), ziel, ziel.chopped(4) });
}

bool Poppler()
{
    return !Programm(QStringLiteral("pdftotext")).isEmpty()
        && !Programm(QStringLiteral("pdfinfo")).isEmpty()
        && !Programm(QStringLiteral("pdftoppm")).isEmpty();
}

} // namespace

class TestKursfensterDruckdialog : public Kursfenstertest {
    Q_OBJECT

private:
    QString PdfDrucken(Kursfenster& f, const QString& name, int von = 0, int bis = 0,
        QPageLayout::Orientation lage = QPageLayout::Landscape)
    {
        const QString pdf = QDir(ordner.path()).filePath(name);
        QFile::remove(pdf);
        plattform.antwortenDruck = { true, true };
        plattform.druckerEinrichten = [pdf, von, bis, lage](QPrinter& drucker) {
            drucker.setOutputFormat(QPrinter::PdfFormat);
            drucker.setOutputFileName(pdf);
            drucker.setResolution(300);
            drucker.setPageSize(QPageSize(QPageSize::A4));
            drucker.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
            // The list is wider than A4 upright: landscape, unless a test wants it upright.
            drucker.setPageOrientation(lage);
            if (von > 0) {
                drucker.setPrintRange(QPrinter::PageRange);
                drucker.setFromTo(von, bis);
            }
        };
        f.activateWindow();
        if (!QTest::qWaitForWindowActive(&f))
            return {};
        // The menu item "Drucken" while the window is frontmost.
        if (!Menue::Instanz().Eintrag(QStringLiteral("AblageDrucken"))->isEnabled())
            return {};
        Menue::Instanz().Eintrag(QStringLiteral("AblageDrucken"))->trigger();
        return pdf;
    }

private slots:
    void init()
    {
        Grundzustand();
        plattform.antwortenDruck.clear();
        plattform.druckerEinrichten = nullptr;
    }
    void cleanup()
    {
        Plattform::setzen(&plattform);
        GuiTest::Zuruecksetzen();
    }

    // --- Printing into PDF files ------------------------------------------------------------

    void pdfEineSeite()
    {
        if (!Poppler())
            QSKIP("poppler-utils fehlen");
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        const QString pdf = PdfDrucken(*f, QStringLiteral("kurz.pdf"));
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(plattform.protokoll,
            (QStringList { QStringLiteral("Seite"), QStringLiteral("Drucken") }));
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(PdfSeiten(pdf), 1);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("12.1 - Mathematik - LK2 - Mü - ") + Heute()));
        QVERIFY(text.contains(QStringLiteral("Albers, Anna")));
        QVERIFY(!text.contains(QStringLiteral("Seite")));
        // A row reads as on screen: number, Abitur mark, name, values.
        QVERIFY2(text.contains(QRegularExpression(
                     QStringLiteral("2\\s+4\\s+Brandt, Ben\\s+X\\s+3\\s+10\\s+0\\s+3\\s+2\\n"))),
            qPrintable(text));
    }

    // After the list, a "Notenspiegel" block for the grade column and one for the exam
    // column, with the numbers of course "M" as checked by hand: grades 12, 3, none, 7;
    // exam grades 11, 2, none, none (3 and 2 are deficits), where the first and the third
    // student write the exam (the exam column counts them and the second, who has a value).
    void pdfNotenspiegel()
    {
        if (!Poppler())
            QSKIP("poppler-utils fehlen");
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        const QString pdf = PdfDrucken(*f, QStringLiteral("notenspiegel.pdf"));
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(PdfSeiten(pdf), 1);
        const QString text = PdfText(pdf);
        const auto folge = [](const QStringList& teile) {
            QStringList muster;
            for (const QString& t : teile)
                muster.append(QRegularExpression::escape(t));
            return QRegularExpression(muster.join(QStringLiteral("\\s+")));
        };
        const QStringList noten { "Note", "15", "14", "13", "12", "11", "10", "9", "8", "7", "6",
            "5", "4", "3", "2", "1", "0", "E" };
        const qsizetype liste = text.indexOf(QStringLiteral("Brandt, Ben"));
        const qsizetype note = text.indexOf(QStringLiteral("Notenspiegel – Note"));
        const qsizetype klausur = text.indexOf(QStringLiteral("Notenspiegel – Klausur"));
        QVERIFY2(liste >= 0 && note > liste && klausur > note, qPrintable(text));
        const QString blockNote = text.mid(note, klausur - note);
        const QString blockKlausur = text.mid(klausur);
        QVERIFY2(blockNote.contains(folge(noten)), qPrintable(blockNote));
        QVERIFY2(blockNote.contains(folge({ "Anzahl", "0", "0", "0", "1", "0", "0", "0", "0", "1",
                     "0", "0", "0", "1", "0", "0", "0", "0" })),
            qPrintable(blockNote));
        QVERIFY2(blockNote.contains(folge({ "4 Schüler", "·", "3 eingetragen, 1 fehlt", "·",
                     "Schnitt 7,3 Punkte", "·", "1 Defizit" })),
            qPrintable(blockNote));
        QVERIFY2(blockKlausur.contains(folge(noten)), qPrintable(blockKlausur));
        QVERIFY2(blockKlausur.contains(folge({ "Anzahl", "0", "0", "0", "0", "1", "0", "0", "0",
                     "0", "0", "0", "0", "0", "1", "0", "0", "0" })),
            qPrintable(blockKlausur));
        QVERIFY2(blockKlausur.contains(folge({ "3 Schüler", "·", "2 eingetragen, 1 fehlt", "·",
                     "Schnitt 6,5 Punkte", "·", "1 Defizit" })),
            qPrintable(blockKlausur));
        Aufbewahren(pdf, QStringLiteral("kursliste-notenspiegel.pdf"));
    }

    void pdfLangerKurs()
    {
        if (!Poppler())
            QSKIP("poppler-utils fehlen");
        const QString langerName
            = QStringLiteral("Hohenzollern-Sigmaringen, Maximiliane Theodora Friederike");
        // 31 rows: 22 on the first landscape page, 9 on the second.
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), 26, true, langerName);
        QVERIFY(f);
        const QString pdf = PdfDrucken(*f, QStringLiteral("lang.pdf"));
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(PdfSeiten(pdf), 2);
        const QString seite1 = PdfText(pdf, 1);
        const QString seite2 = PdfText(pdf, 2);
        QVERIFY(!seite1.contains(QStringLiteral("Seite")));
        QVERIFY2(
            seite2.contains(QRegularExpression(QStringLiteral("12\\.1 - Mathematik.*Seite 2"))),
            qPrintable(seite2));
        // The long name is cut and ends in an ellipsis; its start is there.
        const QString beides = seite1 + seite2;
        QVERIFY(!beides.contains(langerName));
        QVERIFY2(beides.contains(QRegularExpression(
                     QStringLiteral("Hohenzollern-Sigmaringen, Max[^ ]*\\.\\.\\."))),
            qPrintable(beides));

        // The first page as a picture: red deficits, kept for looking at.
        const QString stamm = QDir(ordner.path()).filePath(QStringLiteral("lang"));
        QVERIFY(Laeuft(Programm(QStringLiteral("pdftoppm")),
            { QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), pdf, stamm }));
        QImage bild(stamm + QStringLiteral("-1.png"));
        QVERIFY(!bild.isNull());
        int rot = 0;
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x) {
                const QColor c = bild.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 100 && c.blue() < 100)
                    ++rot;
            }
        QVERIFY(rot > 10);
        // For looking at: RAVIRIRERU_BILDER names a folder that gets both pages.
        const QString bilder = qEnvironmentVariable("RAVIRIRERU_BILDER");
        if (!bilder.isEmpty() && QDir(bilder).exists()) {
            for (const QString seite : { QStringLiteral("1"), QStringLiteral("2") }) {
                const QString ziel
                    = QDir(bilder).filePath(QStringLiteral("kursliste-seite%1.png").arg(seite));
                QFile::remove(ziel);
                QFile::copy(stamm + QLatin1Char('-') + seite + QStringLiteral(".png"), ziel);
            }
        }
        Aufbewahren(pdf, QStringLiteral("kursliste.pdf"));
    }

    void pdfSeitenbereich()
    {
        if (!Poppler())
            QSKIP("poppler-utils fehlen");
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), 96);
        QVERIFY(f);
        const QString pdf = PdfDrucken(*f, QStringLiteral("bereich.pdf"), 2, 3);
        QVERIFY(QFile::exists(pdf));
        QVERIFY(f->LetzterDruck());
        const int rp = f->LetzterDruck()->ZeilenProSeite();
        QVERIFY(rp > 10);
        const QString text = PdfText(pdf, 1);
        // The first printed row is row rp (number rp + 1): "Schüler" 101 is row 4.
        const QRegularExpression zeile(
            QStringLiteral("^\\s*(\\d+)\\s+Schüler (\\d+)"), QRegularExpression::MultilineOption);
        const QRegularExpressionMatch erste = zeile.match(text);
        QVERIFY2(erste.hasMatch(), qPrintable(text));
        QCOMPARE(erste.captured(1).toInt(), rp + 1);
        QCOMPARE(erste.captured(2).toInt(), 101 + rp - 4);
        QVERIFY(!text.contains(QStringLiteral("Seite")));
        // Two pages; the counting starts again, so the second one is "Seite 2".
        QCOMPARE(PdfSeiten(pdf), 2);
        QVERIFY(PdfText(pdf, 2).contains(QStringLiteral("Seite 2")));
    }

    void pdfBreiteTabelleHochformat()
    {
        // Every entry column as wide as its heading needs on screen: together far wider than
        // A4 upright. The list is shrunk to the printable width: every heading is on the
        // page, and the footer says by how much.
        if (!Poppler())
            QSKIP("poppler-utils fehlen");
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        QStringList koepfe;
        for (int c = 1; c < int(TabellenStruktur.SpaltenAnzahl); ++c) {
            const QString kopf = TabellenStruktur.Spalten.at(c).Ueberschrift;
            koepfe << kopf;
            if (c >= TabellenStruktur.ErsteSpalte)
                TabellenStruktur.SetzeSpaltenBreite(c, Kurskopf::Standardbreite(kopf));
        }
        f->Anpassen();
        QVERIFY(TabellenStruktur.Gesamtbreite() > 700);
        const QString pdf = PdfDrucken(*f, QStringLiteral("hoch.pdf"), 0, 0, QPageLayout::Portrait);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(PdfSeiten(pdf), 1);
        const QString text = PdfText(pdf);
        for (const QString& kopf : std::as_const(koepfe))
            QVERIFY2(text.contains(kopf), qPrintable(kopf + QStringLiteral(" fehlt in:\n") + text));
        // The last column's values are there too (student 11: "x" under "Sonstiges").
        QVERIFY2(text.contains(QRegularExpression(
                     QStringLiteral("Albers, Anna\\s+12\\s+4\\s+2\\s+Fach\\S*\\s+11\\s+x\\n"))),
            qPrintable(text));
        QVERIFY(f->LetzterDruck());
        const double massstab = f->LetzterDruck()->Massstab();
        QVERIFY(massstab < Kursdruck::MinMassstab);
        QVERIFY2(text.contains(Kursdruck::VerkleinertHinweis(massstab)), qPrintable(text));
        Aufbewahren(pdf, QStringLiteral("kursliste-hochformat.pdf"));
    }

    void pdfLinienbreite()
    {
        // In the PDF file itself: the page places the printer's pixels in points, every line
        // is stroked at half a point or more, and nothing is drawn as a filled shape (a line
        // thinner than the pen would become one).
        QPointer<Kursfenster> f = DruckKurs(ordner.path(), 30);
        QVERIFY(f);
        const QString pdf = PdfDrucken(*f, QStringLiteral("linien.pdf"));
        const QStringList seiten = PdfSeitenInhalte(pdf);
        QCOMPARE(seiten.size(), 2);
        for (const QString& seite : seiten) {
            const QRegularExpressionMatch cm = QRegularExpression(
                QStringLiteral("([-\\d.]+) 0 0 ([-\\d.]+) [-\\d.]+ [-\\d.]+ cm"))
                                                   .match(seite);
            QVERIFY2(cm.hasMatch(), qPrintable(seite.left(300)));
            const double punkteJePixel = cm.captured(1).toDouble();
            QVERIFY(qAbs(punkteJePixel - 72.0 / 300.0) < 1e-6);
            int breiten = 0;
            QRegularExpressionMatchIterator w
                = QRegularExpression(QStringLiteral("(?:^|\\s)([\\d.]+) w\\b")).globalMatch(seite);
            while (w.hasNext()) {
                const double punkte = w.next().captured(1).toDouble() * punkteJePixel;
                QVERIFY2(punkte >= 0.5 - 1e-6, qPrintable(QString::number(punkte)));
                ++breiten;
            }
            QVERIFY(breiten > 0);
            // Lines are stroked ("S"), never filled ("f").
            QVERIFY(seite.count(QRegularExpression(QStringLiteral("\\sS\\s"))) > 20);
            QVERIFY2(
                !seite.contains(QRegularExpression(QStringLiteral("\\s(f|f\\*|B|B\\*|b|b\\*)\\s"))),
                qPrintable(seite.left(2000)));
        }
    }

    void druckAbgebrochen_data()
    {
        QTest::addColumn<QList<bool>>("antworten");
        QTest::addColumn<QStringList>("protokoll");
        QTest::newRow("Seite einrichten abgebrochen")
            << QList<bool> { false } << QStringList { QStringLiteral("Seite") };
        QTest::newRow("Drucken abgebrochen") << QList<bool> { true,
            false } << QStringList { QStringLiteral("Seite"), QStringLiteral("Drucken") };
    }

    void druckAbgebrochen()
    {
        QFETCH(QList<bool>, antworten);
        QFETCH(QStringList, protokoll);
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        const QString pdf = QDir(ordner.path()).filePath(QStringLiteral("nie.pdf"));
        plattform.antwortenDruck = antworten;
        plattform.druckerEinrichten = [pdf](QPrinter& drucker) {
            drucker.setOutputFormat(QPrinter::PdfFormat);
            drucker.setOutputFileName(pdf);
        };
        f->Drucken();
        QCOMPARE(plattform.protokoll, protokoll);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(plattform.meldungen.isEmpty());
    }

    // The PDF holds the course's grades: whatever the umask, it is no more open than the
    // course-list file, also where a wider PDF of that name lay before.
    void pdfNichtOffenerAlsDieKursliste_data()
    {
        QTest::addColumn<int>("kursliste");
        QTest::addColumn<int>("vorher"); // the mode of a PDF already there; 0: none
        QTest::newRow("neu, Kursliste 0600") << 0600 << 0;
        QTest::newRow("neu, Kursliste 0640") << 0640 << 0;
        QTest::newRow("ersetzt eine Datei 0600") << 0644 << 0600;
    }
    void pdfNichtOffenerAlsDieKursliste()
    {
        QFETCH(int, kursliste);
        QFETCH(int, vorher);
        const mode_t maske = ::umask(022);
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        QVERIFY(::chmod(QFile::encodeName(Daten.datenFolder).constData(), mode_t(kursliste)) == 0);
        const QString pdf = QDir(ordner.path()).filePath(QStringLiteral("rechte.pdf"));
        QFile::remove(pdf);
        if (vorher != 0) {
            QVERIFY(Dateihelfer::Schreiben(pdf, "alt"));
            QVERIFY(::chmod(QFile::encodeName(pdf).constData(), mode_t(vorher)) == 0);
        }
        plattform.antwortenDruck = { true, true };
        plattform.druckerEinrichten = [pdf](QPrinter& drucker) {
            drucker.setOutputFormat(QPrinter::PdfFormat);
            drucker.setOutputFileName(pdf);
        };
        f->Drucken();
        ::umask(maske);
        QCOMPARE(plattform.meldungen, QStringList());
        QVERIFY(Dateihelfer::Inhalt(pdf).startsWith("%PDF"));
        struct stat st { };
        QVERIFY(::stat(QFile::encodeName(pdf).constData(), &st) == 0);
        QCOMPARE(QString::number(st.st_mode & 0777, 8),
            QString::number(vorher != 0 ? vorher : kursliste, 8));
    }

    void druckZielNichtBeschreibbar()
    {
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        const QString pdf = QDir(ordner.path()).filePath(QStringLiteral("fehlt/liste.pdf"));
        plattform.antwortenDruck = { true, true };
        plattform.druckerEinrichten = [pdf](QPrinter& drucker) {
            drucker.setOutputFormat(QPrinter::PdfFormat);
            drucker.setOutputFileName(pdf);
        };
        f->Drucken();
        QCOMPARE(plattform.meldungen,
            QStringList { QStringLiteral("Die Kursliste konnte nicht gedruckt werden.") });
    }

    // --- Qt's own dialogs -----------------------------------------------------------------

    void echterDruckdialogInPdfDatei()
    {
        // Qt's print dialog offers printing into a PDF file; chosen there, the list is
        // printed into that file. The page set-up dialog is confirmed with "OK".
        QPointer<Kursfenster> f = DruckKurs(ordner.path());
        QVERIFY(f);
        QtPlattform qt;
        Plattform::setzen(&qt);
        const QString pdf = QDir(ordner.path()).filePath(QStringLiteral("dialog.pdf"));
        QFile::remove(pdf);
        QStringList drucker;
        QString angeboten;
        bool seiteGesehen = false;
        GuiTest::BeiModal(
            [&](QWidget* dialog) {
                seiteGesehen = true;
                QVERIFY(GuiTest::KnopfDruecken(dialog, QStringLiteral("OK")));
            },
            "QPageSetupDialog");
        GuiTest::BeiModal(
            [&](QWidget* dialog) {
                auto* auswahl = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
                QVERIFY(auswahl);
                for (int i = 0; i < auswahl->count(); ++i)
                    drucker << auswahl->itemText(i);
                int pdfEintrag = auswahl->findText(QStringLiteral("In PDF-Datei drucken"));
                if (pdfEintrag < 0)
                    pdfEintrag = auswahl->findText(QStringLiteral("Print to File (PDF)"));
                QVERIFY(pdfEintrag >= 0);
                auswahl->setCurrentIndex(pdfEintrag);
                auto* datei = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
                QVERIFY(datei);
                angeboten = datei->text();
                datei->setText(pdf);
                QVERIFY(GuiTest::KnopfDruecken(dialog, QStringLiteral("&Drucken"))
                    || GuiTest::KnopfDruecken(dialog, QStringLiteral("&Print")));
            },
            "QPrintDialog");
        f->Drucken();
        Plattform::setzen(&plattform);
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QVERIFY(seiteGesehen);
        QVERIFY2(drucker.contains(QStringLiteral("In PDF-Datei drucken"))
                || drucker.contains(QStringLiteral("Print to File (PDF)")),
            qPrintable(drucker.join(u'|')));
        // The PDF file offered is named after the whole window title, dots and all.
        QCOMPARE(
            QFileInfo(angeboten).fileName(), QStringLiteral("12.1 - Mathematik - LK2 - Mü.pdf"));
        QVERIFY(QFileInfo(QFileInfo(angeboten).path()).isDir());
        QVERIFY(QFile::exists(pdf));
        QVERIFY(QFile(pdf).size() > 1000);
        if (Poppler())
            QVERIFY(PdfText(pdf).contains(QStringLiteral("Cordes, Clara")));
    }

    void echteDialogeAbbrechen_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Seite einrichten") << QStringLiteral("QPageSetupDialog");
        QTest::newRow("Drucken") << QStringLiteral("QPrintDialog");
    }

    void echteDialogeAbbrechen()
    {
        QFETCH(QString, dialog);
        QtPlattform qt;
        QPrinter drucker(QPrinter::HighResolution);
        const QByteArray klasse = dialog.toLatin1();
        bool gesehen = false;
        GuiTest::BeiModal(
            [&](QWidget* d) {
                gesehen = true;
                QVERIFY(GuiTest::KnopfDruecken(d, QStringLiteral("Abbrechen"))
                    || GuiTest::KnopfDruecken(d, QStringLiteral("Cancel")));
            },
            klasse.constData());
        const bool ok = dialog == QLatin1String("QPrintDialog") ? qt.DruckDialog(drucker)
                                                                : qt.Seiteneinrichtung(drucker);
        QVERIFY(gesehen);
        QVERIFY(!ok);
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterDruckdialog)
#include "tst_kursfenster_druckdialog.moc"
