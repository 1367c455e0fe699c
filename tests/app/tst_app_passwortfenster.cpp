// The login window: the cases of password and name, its keys and its layout.

#include "aufzeichnendeplattform.h"
#include "datenbestand.h"
#include "guitest.h"
#include "kursauswahl.h"
#include "kurslistenbauer.h"
#include "passwortfenster.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestPasswortfenster : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        GuiTest::Zuruecksetzen();
        QVERIFY(zOrdner.isValid());
    }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    void faelle_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<bool>("mitDaten");
        QTest::addColumn<QString>("passwort");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("angemeldet");
        QTest::addColumn<QString>("passwortDanach");
        QTest::addColumn<bool>("hinweisPasswort");
        QTest::addColumn<bool>("hinweisName");
        QTest::addColumn<QString>("unterschrift");

        QTest::newRow("richtig") << "Geheim" << true << "Geheim"
                                 << "Frau Meier" << true << "Geheim" << false << false
                                 << "Frau Meier";
        QTest::newRow("nur Groß/klein anders") << "Geheim" << true << "geheim"
                                               << "Meier" << false << "" << true << false << "";
        QTest::newRow("leeres Passwort gespeichert")
            << "" << true << ""
            << "Meier" << true << "" << false << false << "Meier";
        QTest::newRow("leer eingegeben, Passwort gespeichert")
            << "Geheim" << true << ""
            << "Meier" << false << "" << true << false << "";
        QTest::newRow("falsch und leerer Name") << "Geheim" << true << "x"
                                                << "" << false << "" << true << true << "";
        QTest::newRow("richtig, leerer Name") << "Geheim" << true << "Geheim"
                                              << "" << false << "Geheim" << false << true << "";
        QTest::newRow("Name aus Leerzeichen")
            << "Geheim" << true << "Geheim"
            << "   " << true << "Geheim" << false << false << "   ";
        QTest::newRow("Name mit Leerzeichen drumherum")
            << "Geheim" << true << "Geheim"
            << " Meier " << true << "Geheim" << false << false << " Meier ";
        QTest::newRow("Passwort mit Leerzeichen") << "Geheim" << true << "Geheim "
                                                  << "Meier" << false << "" << true << false << "";
        QTest::newRow("leerer Katalog") << "Geheim" << false << "Geheim"
                                        << "" << true << "Geheim" << false << false << "";
        QTest::newRow("leerer Katalog, falsch") << "Geheim" << false << "Falsch"
                                                << "" << false << "" << true << false << "";
        QTest::newRow("Umlaute") << "Prüfungsäöü" << true << "Prüfungsäöü"
                                 << "Jörg" << true << "Prüfungsäöü" << false << false << "Jörg";
    }

    void faelle()
    {
        QFETCH(QString, gespeichert);
        QFETCH(bool, mitDaten);
        QFETCH(QString, passwort);
        QFETCH(QString, name);
        QFETCH(bool, angemeldet);
        QFETCH(QString, passwortDanach);
        QFETCH(bool, hinweisPasswort);
        QFETCH(bool, hinweisName);
        QFETCH(QString, unterschrift);

        AufzeichnendePlattform plattform;
        Kurslistenbauer liste;
        liste.Aendern([gespeichert](Datenbestand& d) { d.NotenPass = gespeichert; });
        if (!mitDaten)
            liste.OhneKatalog();
        QVERIFY(!liste.Anlegen(zOrdner.path()).isEmpty());
        QCOMPARE(Daten.NotenPass, gespeichert);
        QCOMPARE(Daten.mitDaten, mitDaten);

        Passwortfenster f;
        f.show();
        f.TextFieldPasswort->setText(passwort);
        f.TextFieldName->setText(name);
        QTest::mouseClick(f.PushOK, Qt::LeftButton);

        QCOMPARE(f.isVisible(), !angemeldet);
        QCOMPARE(f.result() == QDialog::Accepted, angemeldet);
        QCOMPARE(f.TextFieldPasswort->text(), passwortDanach);
        QCOMPARE(f.LabelPasswort->isVisible(), hinweisPasswort);
        QCOMPARE(f.LabelName->isVisible(), hinweisName);
        QCOMPARE(Daten.Unterschrift, unterschrift);
        QCOMPARE(App()->kursauswahl() != nullptr, angemeldet);
        if (angemeldet)
            QVERIFY(App()->kursauswahl()->isVisible());
        QCOMPARE(f.height(), mitDaten ? 262 : 162);
        QVERIFY(plattform.meldungen.isEmpty());
        QVERIFY(!App()->Beendet());
    }

    void tastenBlendenHinweiseAus()
    {
        QVERIFY(!Kurslistenbauer().Anlegen(zOrdner.path()).isEmpty());
        Passwortfenster f;
        f.show();
        f.TextFieldPasswort->setText("falsch");
        f.PushOK_Pressed();
        QVERIFY(f.LabelPasswort->isVisible());
        QVERIFY(f.LabelName->isVisible());
        QTest::keyClick(f.TextFieldPasswort, Qt::Key_G);
        QVERIFY(!f.LabelPasswort->isVisible());
        QVERIFY(f.LabelName->isVisible());
        QCOMPARE(f.TextFieldPasswort->text(), QString("g"));
        QTest::keyClick(f.TextFieldName, Qt::Key_M);
        QVERIFY(!f.LabelName->isVisible());
        QCOMPARE(f.TextFieldName->text(), QString("m"));
    }

    void gestaltung_data()
    {
        QTest::addColumn<bool>("mitDaten");
        QTest::newRow("mit Katalog") << true;
        QTest::newRow("leerer Katalog") << false;
    }

    void gestaltung()
    {
        QFETCH(bool, mitDaten);
        Kurslistenbauer liste;
        if (!mitDaten)
            liste.OhneKatalog();
        liste.AlsGlobaleDaten();
        QCOMPARE(Daten.mitDaten, mitDaten);
        Passwortfenster f;
        f.show();
        QCOMPARE(f.windowTitle(), QString("Passwort eingeben"));
        QCOMPARE(f.size(), QSize(400, mitDaten ? 262 : 162));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(f.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(f.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(f.TextFieldPasswort->echoMode(), QLineEdit::Password);
        QCOMPARE(f.Label1->text(), QString("Geben Sie zunächst das Sicherheitspasswort ein."));
        QCOMPARE(
            f.LabelPasswort->text(), QString("Das Passwort ist falsch. Geben Sie es erneut ein!"));
        QCOMPARE(f.Label4->text(), QString("Geben Sie hier Ihren Namen an:"));
        QCOMPARE(f.LabelName->text(), QString("Geben Sie bitte Ihren Namen an!\r"));
        QCOMPARE(f.PushBeenden->text(), QString("Abbrechen"));
        QCOMPARE(f.PushOK->text(), QString("OK"));
        QVERIFY(f.PushOK->isDefault());
        QVERIFY(!f.LabelPasswort->isVisible());
        QVERIFY(!f.LabelName->isVisible());
        QCOMPARE(f.Label4->isVisible(), mitDaten);
        QCOMPARE(f.TextFieldName->isVisible(), mitDaten);
        QCOMPARE(f.TextFieldPasswort->geometry(), QRect(27, 50, 352, 22));
        QCOMPARE(f.TextFieldName->geometry(), QRect(27, 145, 352, 22));
        const int knopfY = mitDaten ? 222 : 122;
        QCOMPARE(f.PushBeenden->geometry(), QRect(27, knopfY, 114, 20));
        QCOMPARE(f.PushOK->geometry(), QRect(265, knopfY, 114, 20));
        for (QWidget* w : f.findChildren<QWidget*>()) {
            // Design points: a point is a pixel of the design.
            QCOMPARE(w->font().pixelSize(), 13);
            QCOMPARE(QFontInfo(w->font()).pixelSize(), 13);
            QVERIFY(QFontInfo(w->font()).family() == "Arial"
                || QFontInfo(w->font()).family() == "Liberation Sans");
        }
        // Every text fits its control.
        for (QLabel* l : f.findChildren<QLabel*>())
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text().trimmed()) <= l->width(),
                qPrintable(QString("%1: %2 > %3")
                               .arg(l->objectName())
                               .arg(l->fontMetrics().horizontalAdvance(l->text().trimmed()))
                               .arg(l->width())));
    }

    void tabReihenfolge()
    {
        Kurslistenbauer().AlsGlobaleDaten();
        Passwortfenster f;
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), f.TextFieldPasswort);
        QList<QWidget*> folge;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge << QApplication::focusWidget();
        }
        QCOMPARE(folge,
            QList<QWidget*>({ f.TextFieldName, f.PushOK, f.PushBeenden, f.TextFieldPasswort }));
    }

    // The real window, modal as at the start, answered with the keyboard.
    void returnIstOK()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(!Kurslistenbauer().Anlegen(zOrdner.path()).isEmpty());
        Passwortfenster f;
        GuiTest::BeiModal(
            [](QWidget* w) {
                auto* fenster = qobject_cast<Passwortfenster*>(w);
                QTest::keyClicks(fenster->TextFieldPasswort, "Geheim");
                QTest::keyClick(fenster->TextFieldPasswort, Qt::Key_Tab);
                QTest::keyClicks(fenster->TextFieldName, "Frau Özdemir");
                QTest::keyClick(fenster->TextFieldName, Qt::Key_Return);
            },
            "Passwortfenster");
        QCOMPARE(f.exec(), int(QDialog::Accepted));
        QCOMPARE(GuiTest::Unbeantwortet(), 0);
        QCOMPARE(Daten.Unterschrift, QString("Frau Özdemir"));
        QVERIFY(App()->kursauswahl());
    }

    void returnMitFalschemPasswortBleibt()
    {
        QVERIFY(!Kurslistenbauer().Anlegen(zOrdner.path()).isEmpty());
        Passwortfenster f;
        bool hinweis = false;
        GuiTest::BeiModal(
            [&hinweis](QWidget* w) {
                auto* fenster = qobject_cast<Passwortfenster*>(w);
                QTest::keyClicks(fenster->TextFieldPasswort, "geheim");
                QTest::keyClick(fenster->TextFieldPasswort, Qt::Key_Return);
                hinweis = fenster->LabelPasswort->isVisible() && fenster->isVisible()
                    && fenster->TextFieldPasswort->text().isEmpty();
                // Then the right one.
                QTest::keyClicks(fenster->TextFieldPasswort, "Geheim");
                QTest::keyClicks(fenster->TextFieldName, "Meier");
                QTest::keyClick(fenster->TextFieldName, Qt::Key_Enter);
            },
            "Passwortfenster");
        QCOMPARE(f.exec(), int(QDialog::Accepted));
        QVERIFY(hinweis);
    }

    void fokusNachFalschemPasswort_data()
    {
        QTest::addColumn<QString>("passwort");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ausNamensfeld"); // Return pressed in the name field
        QTest::addColumn<QString>("fokus"); // the field that has the focus afterwards

        QTest::newRow("falsch, Return im Namensfeld") << "geheim"
                                                      << "Meier" << true << "TextFieldPasswort";
        QTest::newRow("falsch, Return im Passwortfeld") << "geheim"
                                                        << "Meier" << false << "TextFieldPasswort";
        QTest::newRow("falsch, Name leer") << "x"
                                           << "" << true << "TextFieldPasswort";
        // Only the name is missing: the right password stays, the focus where it was.
        QTest::newRow("richtig, Name leer") << "Geheim"
                                            << "" << false << "TextFieldPasswort";
    }

    void fokusNachFalschemPasswort()
    {
        QFETCH(QString, passwort);
        QFETCH(QString, name);
        QFETCH(bool, ausNamensfeld);
        QFETCH(QString, fokus);
        QVERIFY(!Kurslistenbauer().Anlegen(zOrdner.path()).isEmpty());
        Passwortfenster f;
        QString fokusDanach;
        QString passwortDanach;
        QString nameDanach;
        GuiTest::BeiModal(
            [&](QWidget* w) {
                auto* fenster = qobject_cast<Passwortfenster*>(w);
                QTest::keyClicks(fenster->TextFieldPasswort, passwort);
                QTest::keyClicks(fenster->TextFieldName, name);
                QLineEdit* feld
                    = ausNamensfeld ? fenster->TextFieldName : fenster->TextFieldPasswort;
                feld->setFocus();
                QTest::keyClick(feld, Qt::Key_Return);
                // (the window's focus child: the offscreen test window need not be active)
                QWidget* jetzt = fenster->focusWidget();
                fokusDanach = jetzt ? jetzt->objectName() : QString();
                // The teacher types on where the focus is: the password lands masked in its
                // field, the name is left as it was.
                if (jetzt)
                    QTest::keyClicks(jetzt, "Xy");
                passwortDanach = fenster->TextFieldPasswort->text();
                nameDanach = fenster->TextFieldName->text();
                fenster->done(QDialog::Rejected);
            },
            "Passwortfenster");
        f.exec();
        QCOMPARE(fokusDanach, fokus);
        QCOMPARE(passwortDanach,
            passwort == QLatin1String("Geheim") ? QStringLiteral("GeheimXy")
                                                : QStringLiteral("Xy"));
        QCOMPARE(nameDanach, name);
    }

    void escapeIstAbbrechen()
    {
        AufzeichnendePlattform plattform;
        const QString pfad = Kurslistenbauer().Anlegen(zOrdner.path());
        QVERIFY(!pfad.isEmpty());
        Passwortfenster f;
        GuiTest::BeiModal(
            [](QWidget* w) {
                QTest::keyClicks(qobject_cast<Passwortfenster*>(w)->TextFieldPasswort, "Geh");
                QTest::keyClick(w, Qt::Key_Escape);
            },
            "Passwortfenster");
        QCOMPARE(f.exec(), int(QDialog::Rejected));
        QVERIFY(App()->Beendet());
        QVERIFY(!App()->kursauswahl());
        QVERIFY(plattform.protokoll.isEmpty());
    }

    // "Abbrechen" runs the quit sequence: refused there, the login window stays.
    void abbrechenAbgelehnt()
    {
        AufzeichnendePlattform plattform;
        QVERIFY(!Kurslistenbauer()
                     .Kursflaggen("D", true, false, false)
                     .Anlegen(zOrdner.path())
                     .isEmpty());
        Passwortfenster f;
        f.show();
        plattform.antwortenFrage << false;
        QTest::mouseClick(f.PushBeenden, Qt::LeftButton);
        QCOMPARE(plattform.protokoll, QStringList({ "Frage: RAVIRIreru beenden?" }));
        QVERIFY(f.isVisible());
        QVERIFY(!App()->Beendet());
        plattform.antwortenFrage << true;
        QTest::mouseClick(f.PushBeenden, Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QVERIFY(App()->Beendet());
    }

private:
    QTemporaryDir zOrdner;
};

RAVIRIRERU_GUI_TEST_MAIN(TestPasswortfenster)
#include "tst_app_passwortfenster.moc"
