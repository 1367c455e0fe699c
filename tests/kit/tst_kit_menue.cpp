// The menu bar: items, captions, shortcuts, visibility, enabling by handlers, the text editing
// of the focused field, the toolbar template and the help pages.

#include "fenstertest.h"
#include "guitest.h"
#include "hilfefenster.h"
#include "menue.h"
#include "toolbarvorlage.h"
#include "zeigehilfe.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A main window with one text field, shown and active.
struct Testfenster {
    QMainWindow fenster;
    QLineEdit* feld = nullptr;
    Testfenster()
    {
        auto* mitte = new QWidget;
        auto* layout = new QVBoxLayout(mitte);
        feld = new QLineEdit;
        layout->addWidget(feld);
        fenster.setCentralWidget(mitte);
        fenster.show();
        fenster.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
    }
};

} // namespace

class TestMenue : public Fenstertest {
    Q_OBJECT

    // The page the program's help window shows.
    static QUrl GezeigteSeite()
    {
        Hilfefenster* fenster = Hilfefenster::Instanz();
        if (!fenster || !fenster->isVisible())
            return {};
        return fenster->Browser()->source();
    }

private slots:
    void reihenfolge()
    {
        const QStringList erwartet
            = { "Ablage", "AblageUeberZELTA", "UntitledMenu0", "AblageDrucken", "AblageBeenden",
                  "EditMenu", "EditUndo", "EditRedo", "UntitledMenu1", "EditCut", "EditCutSpezial",
                  "EditCopy", "EditCopySpezial", "EditPaste", "EditPasteSpezial", "EditSelectAll",
                  "EditSelectAllSpezial", "HilfeMenu", "HilfeRAVIRIreru" };
        QCOMPARE(Menue::Instanz().Namen(), erwartet);
        QCOMPARE(Menue::Instanz().Eintrag("Gibtsnicht"), nullptr);
    }

    void eintraege_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("beschriftung");
        QTest::addColumn<QString>("kuerzel");
        QTest::addColumn<bool>("sichtbar");
        QTest::addColumn<bool>("aktivOhneHandler");
        QTest::addColumn<bool>("automatisch");

        QTest::newRow("Ablage") << "Ablage"
                                << "Ablage"
                                << "" << true << true << false;
        QTest::newRow("Über") << "AblageUeberZELTA"
                              << "Über RAVIRIreru..."
                              << "Ctrl+I" << true << true << true; // the application's own handler
        QTest::newRow("Trenner") << "UntitledMenu0"
                                 << ""
                                 << "" << true << true << false;
        QTest::newRow("Drucken") << "AblageDrucken"
                                 << "Drucken"
                                 << "Ctrl+P" << true << false << true;
        QTest::newRow("Beenden") << "AblageBeenden"
                                 << "Beenden"
                                 << "Ctrl+Q" << true << true << true;
        QTest::newRow("Bearbeiten") << "EditMenu"
                                    << "Bearbeiten"
                                    << "" << true << false << true;
        QTest::newRow("Rückgängig") << "EditUndo"
                                    << "Rückgängig"
                                    << "Ctrl+Z" << true << false << true;
        QTest::newRow("Wiederholen") << "EditRedo"
                                     << "Wiederholen"
                                     << "Ctrl+Shift+Z" << true << false << true;
        QTest::newRow("Trenner Bearbeiten") << "UntitledMenu1"
                                            << ""
                                            << "" << true << true << false;
        QTest::newRow("Ausschneiden") << "EditCut"
                                      << "Ausschneiden"
                                      << "Ctrl+X" << true << false << true;
        QTest::newRow("Ausschneiden spezial") << "EditCutSpezial"
                                              << "Ausschneiden"
                                              << "Ctrl+X" << false << false << true;
        QTest::newRow("Kopieren") << "EditCopy"
                                  << "Kopieren"
                                  << "Ctrl+C" << true << false << true;
        QTest::newRow("Kopieren spezial") << "EditCopySpezial"
                                          << "Kopieren"
                                          << "Ctrl+C" << false << false << true;
        QTest::newRow("Einfügen") << "EditPaste"
                                  << "Einfügen"
                                  << "Ctrl+V" << true << false << true;
        QTest::newRow("Einfügen spezial") << "EditPasteSpezial"
                                          << "Einfügen"
                                          << "Ctrl+V" << false << false << true;
        QTest::newRow("Alles auswählen") << "EditSelectAll"
                                         << "Alles auswählen"
                                         << "Ctrl+A" << true << false << true;
        QTest::newRow("Alles auswählen spezial") << "EditSelectAllSpezial"
                                                 << "Alles Auswählen"
                                                 << "Ctrl+A" << false << false << true;
    }

    void eintraege()
    {
        QFETCH(QString, name);
        QFETCH(QString, beschriftung);
        QFETCH(QString, kuerzel);
        QFETCH(bool, sichtbar);
        QFETCH(bool, aktivOhneHandler);
        QFETCH(bool, automatisch);

        Menue& menue = Menue::Instanz();
        QAction* a = menue.Eintrag(name);
        QVERIFY(a);
        QCOMPARE(a->objectName(), name);
        if (name.startsWith("UntitledMenu"))
            QVERIFY(a->isSeparator());
        else
            QCOMPARE(a->text(), beschriftung);
        QCOMPARE(a->shortcut(), QKeySequence::fromString(kuerzel, QKeySequence::PortableText));
        if (name == "EditRedo")
            QCOMPARE(a->shortcuts(),
                (QList<QKeySequence> { QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                    QKeySequence(QStringLiteral("Ctrl+Y")) }));
        QCOMPARE(a->isVisible(), sichtbar);

        // A window without handlers and without a text field is active.
        QMainWindow fenster;
        fenster.show();
        fenster.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        App()->EditUmschalten(!sichtbar && name.contains("Spezial"));
        menue.AktivierungAktualisieren();
        QCOMPARE(a->isEnabled(), aktivOhneHandler);

        // The same window registers a handler for the item (the cut and select-all twins
        // never show, so they cannot be used at all).
        const bool zeigbar = sichtbar || name == "EditCopySpezial" || name == "EditPasteSpezial";
        if (automatisch && zeigbar && name != "EditMenu") {
            int aufrufe = 0;
            menue.HandlerAnmelden(&fenster, name, [&aufrufe] {
                ++aufrufe;
                return true;
            });
            QCOMPARE(a->isEnabled(), true);
            a->trigger();
            QCOMPARE(aufrufe, 1);
            menue.HandlerAbmelden(&fenster, name);
            QCOMPARE(a->isEnabled(), aktivOhneHandler);
        }
    }

    void handlerDesAktivenFensters()
    {
        Menue& menue = Menue::Instanz();
        QAction* drucken = menue.Eintrag("AblageDrucken");
        QStringList gerufen;
        menue.HandlerAnmelden(nullptr, "AblageDrucken", [&] {
            gerufen << "Programm";
            return true;
        });
        auto* eins = new QMainWindow;
        menue.HandlerAnmelden(eins, "AblageDrucken", [&] {
            gerufen << "eins";
            return true;
        });
        QMainWindow zwei;
        eins->show();
        zwei.show();

        zwei.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&zwei));
        drucken->trigger();
        eins->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(eins));
        drucken->trigger();
        QCOMPARE(gerufen, QStringList({ "Programm", "eins" }));

        // A destroyed window takes its handlers with it.
        menue.HandlerAbmelden(nullptr, "AblageDrucken");
        QVERIFY(menue.HatHandler("AblageDrucken"));
        delete eins;
        zwei.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&zwei));
        QVERIFY(!menue.HatHandler("AblageDrucken"));
        QVERIFY(!drucken->isEnabled());
        QVERIFY(!menue.Ausfuehren("AblageDrucken"));
    }

    void kuerzelErreichtHandler_data()
    {
        QTest::addColumn<bool>("spezial");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("Tabelle hat den Fokus") << true << "Tabelle";
        QTest::newRow("Textfeld hat den Fokus") << false << "Text";
    }

    // Ctrl+C goes to the visible one of the two "Kopieren" items, never to both or neither.
    void kuerzelErreichtHandler()
    {
        QFETCH(bool, spezial);
        QFETCH(QString, erwartet);
        Testfenster t;
        QStringList gerufen;
        Menue::Instanz().HandlerAnmelden(&t.fenster, "EditCopySpezial", [&] {
            gerufen << "Tabelle";
            return true;
        });
        t.feld->setText("Hallo");
        t.feld->selectAll();
        QGuiApplication::clipboard()->clear();
        if (!spezial)
            t.feld->setFocus();
        else
            t.fenster.centralWidget()->setFocus();
        App()->EditUmschalten(spezial);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &t.fenster,
            Qt::Key_C, Qt::ControlModifier);
        if (erwartet == "Text") {
            QVERIFY(gerufen.isEmpty());
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("Hallo"));
        } else {
            QCOMPARE(gerufen, QStringList({ "Tabelle" }));
        }
    }

    void leisteJeFenster()
    {
        QMainWindow eins;
        QMainWindow zwei;
        QMenuBar* a = Menue::Instanz().ErzeugeLeiste(&eins);
        QMenuBar* b = Menue::Instanz().ErzeugeLeiste(&zwei);
        QVERIFY(a != b);
        QCOMPARE(eins.menuBar(), a);
        const QStringList titel = { a->actions().at(0)->text(), a->actions().at(1)->text() };
        QCOMPARE(titel, QStringList({ "Ablage", "Bearbeiten" }));
        // Both bars carry the same shared items.
        QMenu* ablageA = a->findChild<QMenu*>("Ablage");
        QMenu* ablageB = b->findChild<QMenu*>("Ablage");
        QCOMPARE(ablageA->actions(), ablageB->actions());
        QCOMPARE(ablageA->actions().value(0), Menue::Instanz().Eintrag("AblageUeberZELTA"));
    }

    void hauptfensterBekommtLeiste()
    {
        QMainWindow fenster;
        fenster.show();
        QVERIFY(fenster.menuWidget());
        QVERIFY(fenster.menuWidget()->findChild<QMenu*>("EditMenu"));
    }

    void textbearbeitung_data()
    {
        QTest::addColumn<QString>("feldArt");
        QTest::addColumn<QStringList>("aktiv");
        const QStringList alle = { "EditCut", "EditCopy", "EditPaste", "EditSelectAll" };
        QTest::newRow("Textfeld") << "Zeile" << alle;
        QTest::newRow("nur lesbar") << "nurLesen" << QStringList { "EditCopy", "EditSelectAll" };
        QTest::newRow("Passwort") << "Passwort" << QStringList { "EditPaste", "EditSelectAll" };
        QTest::newRow("mehrzeilig") << "Mehrzeilig" << alle;
        QTest::newRow("Zahlenfeld") << "Zahl" << alle;
        QTest::newRow("Knopf") << "Knopf" << QStringList {};
    }

    void textbearbeitung()
    {
        QFETCH(QString, feldArt);
        QFETCH(QStringList, aktiv);
        Testfenster t;
        QWidget* feld = t.feld;
        if (feldArt == "nurLesen")
            t.feld->setReadOnly(true);
        else if (feldArt == "Passwort")
            t.feld->setEchoMode(QLineEdit::Password);
        else if (feldArt == "Mehrzeilig")
            feld = new QTextEdit;
        else if (feldArt == "Zahl")
            feld = new QSpinBox;
        else if (feldArt == "Knopf")
            feld = new QPushButton("Los");
        if (feld != t.feld)
            t.fenster.centralWidget()->layout()->addWidget(feld);
        feld->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), feld);
        // As when the menu opens (the field's state changed while it had the focus).
        emit t.fenster.menuBar()->findChild<QMenu*>("EditMenu")->aboutToShow();
        QStringList an;
        for (const QString& n : { "EditCut", "EditCopy", "EditPaste", "EditSelectAll" })
            if (Menue::Instanz().Eintrag(n)->isEnabled())
                an << n;
        QCOMPARE(an, aktiv);
        QCOMPARE(Menue::Instanz().Eintrag("EditMenu")->isEnabled(), !aktiv.isEmpty());
    }

    void textbearbeitungWirkt()
    {
        Testfenster t;
        t.feld->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), t.feld);
        t.feld->setText("Notenliste");
        Menue& menue = Menue::Instanz();
        menue.Eintrag("EditSelectAll")->trigger();
        QCOMPARE(t.feld->selectedText(), QString("Notenliste"));
        menue.Eintrag("EditCut")->trigger();
        QCOMPARE(t.feld->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Notenliste"));
        menue.Eintrag("EditPaste")->trigger();
        menue.Eintrag("EditPaste")->trigger();
        QCOMPARE(t.feld->text(), QString("NotenlisteNotenliste"));
    }

    void vorlageHaeltNurHilfe()
    {
        ToolbarVorlage leiste;
        QCOMPARE(leiste.actions().size(), 1);
        QAction* hilfe = leiste.actions().first();
        QCOMPARE(hilfe, leiste.ToolItemHilfe);
        QCOMPARE(hilfe->objectName(), QString("ToolItemHilfe"));
        QCOMPARE(hilfe->text(), QString("Hilfe"));
        QVERIFY(hilfe->isEnabled());
        QVERIFY(!hilfe->icon().isNull());
        QVERIFY(!hilfe->icon().pixmap(32, 32).isNull());
    }

    void hilfeKnopfOeffnetHilfe()
    {
        ToolbarVorlage leiste;
        QSignalSpy gedrueckt(&leiste, &ToolbarVorlage::Pressed);
        leiste.show();
        QWidget* knopf = leiste.widgetForAction(leiste.ToolItemHilfe);
        QVERIFY(knopf);
        QTest::mouseClick(knopf, Qt::LeftButton);
        // The pages come with the program: its own help window shows them, no browser needed.
        QVERIFY(plattform.urls.isEmpty());
        QCOMPARE(GezeigteSeite().fileName(), QString("noteneingabelehrer.html"));
        QCOMPARE(gedrueckt.size(), 1);
        QCOMPARE(gedrueckt.first().first().value<QAction*>(), leiste.ToolItemHilfe);
    }

    void eigeneKnoepfeVorDerHilfe()
    {
        ToolbarVorlage leiste;
        QAction* raum = leiste.FlexiblerRaum();
        auto* senden = new QAction("Senden", &leiste);
        senden->setObjectName("ToolItemSenden");
        leiste.insertAction(raum, senden);
        QCOMPARE(leiste.actions(), QList<QAction*>({ senden, raum, leiste.ToolItemHilfe }));
        QSignalSpy gedrueckt(&leiste, &ToolbarVorlage::Pressed);
        leiste.show();
        QTest::mouseClick(leiste.widgetForAction(senden), Qt::LeftButton);
        QCOMPARE(gedrueckt.size(), 1);
        QCOMPARE(gedrueckt.first().first().value<QAction*>(), senden);
        QVERIFY(plattform.urls.isEmpty());
    }

    void bildAusDenResourcen_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* n : { "ToolHilfe", "ToolNotenDatei", "ToolNotenErgebnis",
                 "ToolNotenSenden", "ToolSichern", "RAVIRIreruSplashScreen", "ravirireru" })
            QTest::newRow(n) << QString::fromLatin1(n);
    }

    void bildAusDenResourcen()
    {
        QFETCH(QString, name);
        QVERIFY(!ToolbarVorlage::Bild(name).pixmap(32, 32).isNull());
    }

    void hilfeseiten_data()
    {
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("datei");
        QTest::newRow("leer") << ""
                              << "index.html";
        QTest::newRow("Lehrer") << "noteneingabelehrer"
                                << "noteneingabelehrer.html";
    }

    void hilfeseiten()
    {
        QFETCH(QString, seite);
        QFETCH(QString, datei);
        Hilfsmittel::ZeigeHilfe(seite);
        QVERIFY(plattform.urls.isEmpty());
        QCOMPARE(GezeigteSeite().fileName(), datei);
        // The page itself is there, with its text and its style sheet's look.
        const QString text = Hilfefenster::Instanz()->Browser()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("RAVIRIreru")), qPrintable(text.left(200)));
        QCOMPARE(Hilfefenster::Instanz()->windowTitle(), QStringLiteral("RAVIRIreru-Hilfe"));
    }

    // F1 opens the help at the place of the window in front, in a modal dialog too; the menu
    // item does the same.
    void f1ZeigtDieHilfeDesFensters_data()
    {
        QTest::addColumn<QString>("anker");
        QTest::addColumn<bool>("modal");
        QTest::newRow("Fenster mit Ort") << "kursauswahl" << false;
        QTest::newRow("Fenster ohne Ort") << "" << false;
        QTest::newRow("modaler Dialog") << "anmelden" << true;
    }
    void f1ZeigtDieHilfeDesFensters()
    {
        QFETCH(QString, anker);
        QFETCH(bool, modal);
        QDialog fenster;
        if (!anker.isEmpty())
            fenster.setProperty("hilfeAnker", anker);
        auto* feld = new QLineEdit(&fenster);
        auto druecken = [&] {
            QTRY_VERIFY(feld->hasFocus());
            QTest::keyClick(feld, Qt::Key_F1);
            fenster.reject();
        };
        fenster.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenster));
        feld->setFocus();
        if (modal) {
            QTimer::singleShot(0, &fenster, druecken);
            fenster.exec();
        } else {
            druecken();
        }
        QCOMPARE(GezeigteSeite().fileName(), QString("noteneingabelehrer.html"));
        QCOMPARE(GezeigteSeite().fragment(), anker);
        QVERIFY(feld->text().isEmpty());
    }

    void hilfeImMenue()
    {
        QAction* eintrag = Menue::Instanz().Eintrag("HilfeRAVIRIreru");
        QVERIFY(eintrag);
        QCOMPARE(eintrag->text(), QStringLiteral("RAVIRIreru-Hilfe"));
        QCOMPARE(eintrag->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(Menue::Instanz().Eintrag("HilfeMenu"));
    }

    // A link inside the help stays in the window; one outside goes to the user's program, and
    // when none takes it the teacher is told.
    void verweiseDerHilfe()
    {
        Hilfsmittel::ZeigeHilfe(QString());
        QTextBrowser* browser = Hilfefenster::Instanz()->Browser();
        emit browser->anchorClicked(QUrl("noteneingabelehrer.html#senden"));
        QCOMPARE(GezeigteSeite().fileName(), QString("noteneingabelehrer.html"));
        QCOMPARE(GezeigteSeite().fragment(), QString("senden"));
        QVERIFY(plattform.urls.isEmpty());

        emit browser->anchorClicked(QUrl("https://example.org/schule"));
        QCOMPARE(plattform.urls, QList<QUrl>({ QUrl("https://example.org/schule") }));
        QVERIFY(plattform.mitteilungen.isEmpty());

        plattform.antwortenUrl = { false };
        emit browser->anchorClicked(QUrl("mailto:sekretariat@example.org"));
        QCOMPARE(plattform.mitteilungen.size(), 1);
        QVERIFY2(plattform.mitteilungen.first().text.contains("mailto:sekretariat@example.org"),
            qPrintable(plattform.mitteilungen.first().text));
        QCOMPARE(GezeigteSeite().fragment(), QString("senden"));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestMenue)
#include "tst_kit_menue.moc"
