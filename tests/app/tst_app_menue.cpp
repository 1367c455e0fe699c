// The application's part of the menu bar: the Edit menu's switching between the table's and
// the text's items, the program's own handlers (quitting, the about window).

#include "fenstertest.h"
#include "guitest.h"
#include "kurslistenbauer.h"
#include "menue.h"
#include "ueberzelta.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {

QStringList SichtbareNamen(QMenu* menue)
{
    QStringList namen;
    for (QAction* a : menue->actions())
        if (a->isVisible())
            namen.append(a->objectName());
    return namen;
}

} // namespace

class TestMenue : public Fenstertest {
    Q_OBJECT
private slots:
    void editUmschalten_data()
    {
        QTest::addColumn<bool>("spezial");
        QTest::newRow("Tabelle") << true;
        QTest::newRow("Text") << false;
    }

    void editUmschalten()
    {
        QFETCH(bool, spezial);
        QMainWindow fenster;
        QMenuBar* leiste = Menue::Instanz().ErzeugeLeiste(&fenster);
        QMenu* bearbeiten = leiste->findChild<QMenu*>("EditMenu");
        QVERIFY(bearbeiten);
        // Several switches, ending in the state under test.
        App()->EditUmschalten(!spezial);
        App()->EditUmschalten(spezial);
        App()->EditCopyUmschalten(spezial);
        const QStringList sichtbar = SichtbareNamen(bearbeiten);
        const QStringList erwartet = spezial
            ? QStringList { "EditUndo", "EditRedo", "UntitledMenu1", "EditCut", "EditCopySpezial",
                  "EditPasteSpezial", "EditSelectAll" }
            : QStringList { "EditUndo", "EditRedo", "UntitledMenu1", "EditCut", "EditCopy",
                  "EditPaste", "EditSelectAll" };
        QCOMPARE(sichtbar, erwartet);
    }

    void einzelnUmschalten()
    {
        App()->EditCopyUmschalten(true);
        QVERIFY(Menue::Instanz().Eintrag("EditCopySpezial")->isVisible());
        QVERIFY(!Menue::Instanz().Eintrag("EditCopy")->isVisible());
        QVERIFY(Menue::Instanz().Eintrag("EditPaste")->isVisible());
        QVERIFY(!Menue::Instanz().Eintrag("EditPasteSpezial")->isVisible());
        App()->EditPasteUmschalten(true);
        QVERIFY(!Menue::Instanz().Eintrag("EditPaste")->isVisible());
        QVERIFY(Menue::Instanz().Eintrag("EditPasteSpezial")->isVisible());
        QVERIFY(!Menue::Instanz().Eintrag("EditCutSpezial")->isVisible());
        QVERIFY(!Menue::Instanz().Eintrag("EditSelectAllSpezial")->isVisible());
    }

    void beendenLaeuftUeberAblauf()
    {
        // "Beenden" runs the quit sequence: with an undelivered course it asks first.
        QVERIFY(!Kurslistenbauer()
                     .Kursflaggen("M", true, false, false)
                     .Anlegen(ordner.path())
                     .isEmpty());
        plattform.antwortenFrage << false;
        Menue::Instanz().Eintrag("AblageBeenden")->trigger();
        QCOMPARE(plattform.protokoll, QStringList({ "Frage: RAVIRIreru beenden?" }));
        QVERIFY(!App()->Beendet());
        plattform.antwortenFrage << true;
        Menue::Instanz().Eintrag("AblageBeenden")->trigger();
        QVERIFY(App()->Beendet());
    }

    void zuruecksetzenBehaeltProgrammHandler()
    {
        Menue::Instanz().HandlerAnmelden(nullptr, "AblageDrucken", [] { return true; });
        Menue::Instanz().Zuruecksetzen();
        QVERIFY(!Menue::Instanz().HatHandler("AblageDrucken"));
        QVERIFY(Menue::Instanz().HatHandler("AblageUeberZELTA"));
        QVERIFY(Menue::Instanz().HatHandler("AblageBeenden"));
    }

    // --- The toolbar template ---------------------------------------------------------------

    void ueberAusDemMenue()
    {
        QAction* ueber = Menue::Instanz().Eintrag("AblageUeberZELTA");
        QVERIFY(ueber->isEnabled());
        ueber->trigger();
        auto finde = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* u = qobject_cast<UeberZELTA*>(w); u && u->isVisible())
                    return u;
            return static_cast<UeberZELTA*>(nullptr);
        };
        QPointer<UeberZELTA> erstes = finde();
        QVERIFY(erstes);
        QVERIFY(!erstes->isModal());
        // It stays until clicked.
        QCoreApplication::processEvents();
        QVERIFY(erstes->isVisible());
        QTest::mouseClick(erstes, Qt::LeftButton, {}, QPoint(10, 10));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!erstes);
        // And it opens again.
        ueber->trigger();
        QVERIFY(finde());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestMenue)
#include "tst_app_menue.moc"
