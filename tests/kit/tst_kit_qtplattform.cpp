// The Qt platform of the program, driven through its real dialogs by keys and buttons.

#include "guitest.h"
#include "plattform.h"
#include "qtplattform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace {

void LeereDatei(const QString& pfad)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TestQtPlattform : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        GuiTest::Zuruecksetzen();
        QVERIFY(dynamic_cast<QtPlattform*>(&Plattform::aktuell()));
    }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    void deutsch()
    {
        QCOMPARE(QLocale().language(), QLocale::German);
        // Qt's own texts (file and print dialogs, context menus) come from the translations.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != QString("Look in:"));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Paste"), QString("Einf&ügen"));
    }

    void meldung()
    {
        QString titel, text;
        int knoepfe = 0;
        GuiTest::BeiModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            titel = box->windowTitle();
            text = box->text();
            knoepfe = box->buttons().size();
            QTest::keyClick(box, Qt::Key_Return);
        });
        Plattform::aktuell().Meldung("Der Kurs enthält keine Schüler.");
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(titel, QString("RAVIRIreru"));
        QCOMPARE(text, QString("Der Kurs enthält keine Schüler."));
        QCOMPARE(knoepfe, 1);
    }

    void frage_data()
    {
        QTest::addColumn<bool>("neinJa");
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<bool>("erwartet");
        QTest::newRow("JaNein Return") << false << "Return" << true;
        QTest::newRow("JaNein Escape") << false << "Escape" << false;
        QTest::newRow("JaNein Klick Ja") << false << "Ja" << true;
        QTest::newRow("JaNein Klick Nein") << false << "Nein" << false;
        QTest::newRow("JaNein geschlossen") << false << "Schliessen" << false;
        QTest::newRow("NeinJa Return") << true << "Return" << true;
        QTest::newRow("NeinJa Escape") << true << "Escape" << false;
        QTest::newRow("NeinJa Klick Nein") << true << "Nein" << true;
        QTest::newRow("NeinJa Klick Ja") << true << "Ja" << false;
        QTest::newRow("NeinJa geschlossen") << true << "Schliessen" << false;
    }

    void frage()
    {
        QFETCH(bool, neinJa);
        QFETCH(QString, aktion);
        QFETCH(bool, erwartet);
        QMessageBox::Icon symbol = QMessageBox::NoIcon;
        QString titel, text, erklaerung, standard;
        QStringList knoepfe;
        GuiTest::BeiModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            symbol = box->icon();
            titel = box->windowTitle();
            text = box->text();
            erklaerung = box->informativeText();
            standard = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (QAbstractButton* k : box->buttons())
                knoepfe << k->text();
            if (aktion == "Return")
                QTest::keyClick(box, Qt::Key_Return);
            else if (aktion == "Escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (aktion == "Schliessen")
                box->close();
            else
                QVERIFY(GuiTest::KnopfDruecken(box, aktion));
        });
        const bool antwort = neinJa ? Modales::NeinJa("Titel", "Meldung", "Erklärung")
                                    : Modales::JaNein("Titel", "Meldung", "Erklärung");
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(antwort, erwartet);
        QCOMPARE(symbol, QMessageBox::Warning);
        QCOMPARE(titel, QString("Titel"));
        QCOMPARE(text, QString("Meldung"));
        QCOMPARE(erklaerung, QString("Erklärung"));
        QCOMPARE(standard, neinJa ? QString("Nein") : QString("Ja"));
        knoepfe.sort();
        QCOMPARE(knoepfe, QStringList({ "Ja", "Nein" }));
    }

    void mitteilung_data()
    {
        QTest::addColumn<int>("symbol");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<int>("erwartetesSymbol");
        QTest::addColumn<QString>("erwarteterTitel");
        QTest::newRow("Erfolg") << int(Plattform::Symbol::Information) << "Mail versandt"
                                << int(QMessageBox::Information) << "Mail versandt";
        QTest::newRow("Fehler ohne Titel")
            << int(Plattform::Symbol::Warnung) << "" << int(QMessageBox::Warning) << "RAVIRIreru";
        QTest::newRow("langer Titel") << int(Plattform::Symbol::Information)
                                      << "Noteneingabe Sozialwissenschaften - GK12 - Meier-Schulze"
                                      << int(QMessageBox::Information)
                                      << "Noteneingabe Sozialwissenschaften - GK12 - Meier-Schulze";
    }

    void mitteilung()
    {
        QFETCH(int, symbol);
        QFETCH(QString, titel);
        QFETCH(int, erwartetesSymbol);
        QFETCH(QString, erwarteterTitel);
        int gezeigt = -1;
        int breite = 0;
        QString fenstertitel, text, erklaerung;
        GuiTest::BeiModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            breite = box->width();
            gezeigt = int(box->icon());
            fenstertitel = box->windowTitle();
            text = box->text();
            erklaerung = box->informativeText();
            QTest::keyClick(box, Qt::Key_Return);
        });
        Plattform::aktuell().Mitteilen({ titel, "Die Mail wurde erfolgreich versandt!",
            "/tmp/Noten.zle", Plattform::Symbol(symbol) });
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(gezeigt, erwartetesSymbol);
        QCOMPARE(fenstertitel, erwarteterTitel);
        QCOMPARE(text, QString("Die Mail wurde erfolgreich versandt!"));
        QCOMPARE(erklaerung, QString("/tmp/Noten.zle"));
        // The box is wide enough for its whole title in the bold type of title bars, beside the
        // frame's three buttons (some 80 pixels), so the window manager need not cut it short.
        QFont fett = QApplication::font();
        fett.setBold(true);
        QVERIFY2(breite >= QFontMetrics(fett).horizontalAdvance(erwarteterTitel) + 80,
            qPrintable(QString::number(breite)));
    }

    // Texts from the file in a message: control and direction characters shown as "�",
    // the message's own line breaks kept.
    void steuerzeichenInMeldungen()
    {
        const QString roh = QStringLiteral("Kurs \u202Eelz.exe\x1b\x07");
        const QString gezeigt = QStringLiteral("Kurs \uFFFDelz.exe\uFFFD\uFFFD");
        QString fenstertitel, text, erklaerung;
        GuiTest::BeiModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            fenstertitel = box->windowTitle();
            text = box->text();
            erklaerung = box->informativeText();
            QTest::keyClick(box, Qt::Key_Return);
        });
        Plattform::aktuell().Mitteilen(
            { roh + u'\n', roh, roh + QStringLiteral("\n\nZeile"), Plattform::Symbol::Warnung });
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(fenstertitel, gezeigt + QChar(0xfffd));
        QCOMPARE(text, gezeigt);
        QCOMPARE(erklaerung, gezeigt + QStringLiteral("\n\nZeile"));
    }

    void waehlen_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<int>("abbrechen");
        QTest::addColumn<int>("erwartet");
        QTest::newRow("Return") << "Return" << 2 << 0;
        QTest::newRow("Escape") << "Escape" << 2 << 2;
        QTest::newRow("Klick Verwerfen") << "Verwerfen" << 2 << 1;
        QTest::newRow("Klick Abbrechen") << "Abbrechen" << 2 << 2;
        QTest::newRow("geschlossen") << "Schliessen" << 2 << 2;
        QTest::newRow("Escape, Abbrechen vorn") << "Escape" << 0 << 0;
        QTest::newRow("Escape ohne Angabe") << "Escape" << -1 << 2;
    }

    void waehlen()
    {
        QFETCH(QString, aktion);
        QFETCH(int, abbrechen);
        QFETCH(int, erwartet);
        QString titel, text, erklaerung, standard;
        QStringList knoepfe;
        GuiTest::BeiModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            QCOMPARE(box->icon(), QMessageBox::Warning);
            titel = box->windowTitle();
            text = box->text();
            erklaerung = box->informativeText();
            standard = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (QAbstractButton* k : box->buttons())
                knoepfe << k->text();
            if (aktion == "Return")
                QTest::keyClick(box, Qt::Key_Return);
            else if (aktion == "Escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (aktion == "Schliessen")
                box->close();
            else
                QVERIFY(GuiTest::KnopfDruecken(box, aktion));
        });
        Plattform::Auswahl a;
        a.titel = "Kursfenster mit Eingaben";
        a.meldung = "Sollen die Eingaben gesichert werden?";
        a.erklaerung = "Q1 - Mathematik";
        a.knoepfe = QStringList { "Sichern", "Verwerfen", "Abbrechen" };
        a.standard = 0;
        a.abbrechen = abbrechen;
        const int antwort = Plattform::aktuell().Waehlen(a);
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(antwort, erwartet);
        QCOMPARE(titel, a.titel);
        QCOMPARE(text, a.meldung);
        QCOMPARE(erklaerung, a.erklaerung);
        QCOMPARE(standard, QString("Sichern"));
        knoepfe.sort();
        QCOMPARE(knoepfe, QStringList({ "Abbrechen", "Sichern", "Verwerfen" }));
    }

    void abwarten_data()
    {
        QTest::addColumn<bool>("abbrechen");
        QTest::newRow("endet von selbst") << false;
        QTest::newRow("Abbrechen") << true;
    }

    void abwarten()
    {
        QFETCH(bool, abbrechen);
        bool fertig = false;
        QString titel, text;
        bool modal = false;
        GuiTest::BeiModal(
            [&](QWidget* w) {
                auto* dialog = qobject_cast<QProgressDialog*>(w);
                QVERIFY(dialog);
                titel = dialog->windowTitle();
                text = dialog->labelText();
                modal = dialog->isModal();
                if (abbrechen)
                    QVERIFY(GuiTest::KnopfDruecken(dialog, "Abbrechen"));
                else
                    QTimer::singleShot(100, [&] { fertig = true; });
            },
            "QProgressDialog");
        const bool ergebnis = Plattform::aktuell().Abwarten(
            { "Noten werden versandt", "Die Noten werden noch versandt …", "Abbrechen" },
            [&] { return fertig; });
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(ergebnis, !abbrechen);
        QCOMPARE(titel, QString("Noten werden versandt"));
        QCOMPARE(text, QString("Die Noten werden noch versandt …"));
        QVERIFY(modal);
    }

    void dateiOeffnen_data()
    {
        QTest::addColumn<bool>("annehmen");
        QTest::newRow("Öffnen") << true;
        QTest::newRow("Abbrechen") << false;
    }

    void dateiOeffnen()
    {
        QFETCH(bool, annehmen);
        QTemporaryDir ordner;
        LeereDatei(ordner.filePath("a.zln"));
        LeereDatei(ordner.filePath("b.zln"));
        LeereDatei(ordner.filePath("c.txt"));
        Plattform::DateiDialog d;
        d.titel = "Notenlisten öffnen";
        d.hinweis = "Bitte wählen Sie eine Datei mit Notenlisten aus.";
        d.aktionsKnopf = "Öffnen";
        d.abbrechenKnopf = "Abbrechen";
        d.filterName = "ZELTA-NotenDatei";
        d.filterMuster = "*.zln";
        d.startOrdner = ordner.path();
        d.vorschlag = ordner.filePath("b.zln");

        QString titel, annehmenText, abbrechenText, hinweis, verzeichnis;
        QStringList filter, gewaehlt;
        bool hinweisSichtbar = false;
        int typBreite = 0;
        GuiTest::BeiModal(
            [&](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                QVERIFY(dialog);
                titel = dialog->windowTitle();
                annehmenText = dialog->labelText(QFileDialog::Accept);
                abbrechenText = dialog->labelText(QFileDialog::Reject);
                if (auto* l = dialog->findChild<QLabel*>("Hinweis")) {
                    hinweis = l->text();
                    hinweisSichtbar = l->isVisible();
                }
                filter = dialog->nameFilters();
                if (auto* liste = dialog->findChild<QTreeView*>("treeView"))
                    typBreite = liste->header()->sectionSize(2);
                verzeichnis = dialog->directory().absolutePath();
                gewaehlt = dialog->selectedFiles();
                if (annehmen)
                    QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
                else
                    QTest::keyClick(dialog, Qt::Key_Escape);
            },
            "QFileDialog");
        const QString ergebnis = Plattform::aktuell().DateiOeffnen(d);
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(titel, d.titel);
        QCOMPARE(annehmenText, QString("Öffnen"));
        QCOMPARE(abbrechenText, QString("Abbrechen"));
        QCOMPARE(hinweis, d.hinweis);
        QVERIFY(hinweisSichtbar);
        QCOMPARE(filter, QStringList({ "ZELTA-NotenDatei (*.zln)" }));
        QCOMPARE(verzeichnis, QDir(ordner.path()).absolutePath());
        QCOMPARE(gewaehlt, QStringList({ ordner.filePath("b.zln") }));
        QCOMPARE(ergebnis, annehmen ? ordner.filePath("b.zln") : QString());
        // The type column shows our type names whole.
        QVERIFY(typBreite
            > QFontMetrics(QApplication::font()).horizontalAdvance("RAVIRIreru-Ergebnis"));
    }

    void dateiSpeichern()
    {
        QTemporaryDir ordner;
        Plattform::DateiDialog d;
        d.titel = "Noten speichern";
        d.hinweis = "Speichern Sie die Noten des Kurses.";
        d.aktionsKnopf = "Speichern";
        d.abbrechenKnopf = "Nicht speichern";
        d.filterName = "RAVIRIreru-Ergebnis";
        d.filterMuster = "*.zle";
        d.startOrdner = ordner.path();
        d.vorschlag = "Noten Q1-M-LK1";
        QString annehmenText, abbrechenText, name;
        GuiTest::BeiModal(
            [&](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                QVERIFY(dialog);
                annehmenText = dialog->labelText(QFileDialog::Accept);
                abbrechenText = dialog->labelText(QFileDialog::Reject);
                auto* feld = dialog->findChild<QLineEdit*>("fileNameEdit");
                name = feld->text();
                QTest::keyClick(feld, Qt::Key_Return);
            },
            "QFileDialog");
        const QString ergebnis = Plattform::aktuell().DateiSpeichern(d);
        QCOMPARE(annehmenText, QString("Speichern"));
        QCOMPARE(abbrechenText, QString("Nicht speichern"));
        QCOMPARE(name, QString("Noten Q1-M-LK1"));
        // The type's extension is added to a name typed without it.
        QCOMPARE(ergebnis, ordner.filePath("Noten Q1-M-LK1.zle"));
    }

    void druckDialogAbgebrochen()
    {
        QPrinter drucker;
        bool deutsch = false;
        GuiTest::BeiModal([&](QWidget* w) {
            for (QAbstractButton* k : w->findChildren<QAbstractButton*>())
                deutsch = deutsch || k->text() == "Abbrechen";
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QVERIFY(!Plattform::aktuell().DruckDialog(drucker));
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QVERIFY(deutsch);
    }

    void druckDialogPdfName_data()
    {
        // The document name (a course window's title) and the PDF file the dialog offers.
        QTest::addColumn<QString>("dokument");
        QTest::addColumn<QString>("datei"); // file name; a path: set before, kept
        QTest::newRow("Titel mit Punkt") << "Q1.1 - Mathematik - LK1 - Mü"
                                         << "Q1.1 - Mathematik - LK1 - Mü.pdf";
        QTest::newRow("Schrägstrich") << "Q1/2 - Deutsch - GK2 - WEH"
                                      << "Q1-2 - Deutsch - GK2 - WEH.pdf";
        QTest::newRow("schon gewählt") << "Q1.1 - Physik"
                                       << "/tmp/gewaehlt.pdf";
    }

    void druckDialogPdfName()
    {
        QFETCH(QString, dokument);
        QFETCH(QString, datei);
        QPrinter drucker;
        drucker.setDocName(dokument);
        if (datei.startsWith(QLatin1Char('/')))
            drucker.setOutputFileName(datei);
        QString angeboten;
        GuiTest::BeiModal(
            [&](QWidget* w) {
                if (auto* feld = w->findChild<QLineEdit*>("filename"))
                    angeboten = feld->text();
                QTest::keyClick(w, Qt::Key_Escape);
            },
            "QPrintDialog");
        QVERIFY(!Plattform::aktuell().DruckDialog(drucker));
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        if (datei.startsWith(QLatin1Char('/'))) {
            QCOMPARE(angeboten, datei);
        } else {
            QCOMPARE(QFileInfo(angeboten).fileName(), datei);
            QVERIFY(QFileInfo(QFileInfo(angeboten).path()).isDir());
        }
        // The document name itself (the print job's name) stays the title.
        QCOMPARE(drucker.docName(), dokument);
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestQtPlattform)
#include "tst_kit_qtplattform.moc"
