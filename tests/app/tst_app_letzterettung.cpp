#include "aufzeichnendeplattform.h"
#include "dateihelfer.h"
#include "datenbestand.h"
#include "guitest.h"
#include "kurslistenbauer.h"
#include "ravirireru.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>

// The error of last resort. Its own test program: an exception thrown through Qt's event
// delivery skips the clean-up of Qt's own frames (Qt is built without exception support), so
// the leak check of the sanitizer build is switched off for this program alone.

namespace Testfehler {
struct Kaputt { };
} // namespace Testfehler

namespace {

// Throws from its event handler.
class Werfer : public QObject {
public:
    std::function<void()> wurf;

protected:
    void customEvent(QEvent*) override { wurf(); }
};

} // namespace

class TestLetzteRettung : public QObject {
    Q_OBJECT
private slots:
    void init() { GuiTest::Zuruecksetzen(); }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    // --- The error of last resort -------------------------------------------------------------

    void letzteRettung_data()
    {
        QTest::addColumn<int>("art");
        QTest::addColumn<QString>("typ");
        QTest::newRow("runtime_error") << 0 << "std::runtime_error";
        QTest::newRow("out_of_range") << 1 << "std::out_of_range";
        QTest::newRow("eigener Typ") << 2 << "Testfehler::Kaputt";
        QTest::newRow("int") << 3 << "int";
    }

    void letzteRettung()
    {
        QFETCH(int, art);
        QFETCH(QString, typ);
        AufzeichnendePlattform plattform;
        auto wirf = [art] {
            switch (art) {
            case 0:
                throw std::runtime_error("kaputt");
            case 1:
                throw std::out_of_range("zu weit");
            case 2:
                throw Testfehler::Kaputt();
            default:
                throw 42;
            }
        };
        const QString text = "Ein unbekannter Fehler ist aufgetreten.\n\n" + typ;
        // A window of the program is open (the course selection, say).
        QWidget fenster;
        fenster.show();

        // From an event handler, sent directly.
        Werfer werfer;
        werfer.wurf = wirf;
        QEvent eigenes(QEvent::User);
        QCoreApplication::sendEvent(&werfer, &eigenes);
        QCOMPARE(plattform.meldungen, QStringList({ text }));

        // From a queued slot.
        QMetaObject::invokeMethod(&werfer, wirf, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(&werfer, QEvent::MetaCall);
        QCOMPARE(plattform.meldungen.size(), 2);
        QCOMPARE(plattform.meldungen.last(), text);

        // From a button's slot: the program keeps running and the button works again.
        QPushButton knopf("Los");
        int geklickt = 0;
        QObject::connect(&knopf, &QPushButton::clicked, [&] {
            ++geklickt;
            wirf();
        });
        knopf.show();
        QTest::mouseClick(&knopf, Qt::LeftButton);
        QTest::mouseClick(&knopf, Qt::LeftButton);
        QCOMPARE(geklickt, 2);
        QCOMPARE(plattform.meldungen.size(), 4);
        QCOMPARE(plattform.meldungen.last(), text);
        QVERIFY(knopf.isVisible());
        QVERIFY(!App()->Beendet());
    }

    void ohneFensterEndetDasProgramm()
    {
        // An error while no window is open (loading a file, say): the program says so and
        // ends instead of running on where nobody can reach it.
        AufzeichnendePlattform plattform;
        Werfer werfer;
        werfer.wurf = [] { throw std::bad_alloc(); };
        QEvent eigenes(QEvent::User);
        QCoreApplication::sendEvent(&werfer, &eigenes);
        QCOMPARE(plattform.mitteilungen.size(), 1);
        QCOMPARE(plattform.mitteilungen.first().text,
            QString("Ein unbekannter Fehler ist aufgetreten.\n\nstd::bad_alloc"));
        QCOMPARE(plattform.mitteilungen.first().erklaerung,
            QString("Es ist kein Fenster von RAVIRIreru mehr offen; das Programm wird beendet."));
        QVERIFY(App()->Beendet());
    }

    void ohneFensterWirdGesichert()
    {
        // Changed data are saved on the way out, as at quitting.
        AufzeichnendePlattform plattform;
        QTemporaryDir ordner;
        const QString pfad = Kurslistenbauer().Anlegen(ordner.path());
        QVERIFY(!pfad.isEmpty());
        Daten.HalbjahrKuerzel = "Q4";
        Daten.Geaendert();
        App()->UnhandledException("std::bad_alloc");
        QVERIFY(App()->Beendet());
        GlobaleDatenZuruecksetzen();
        QVERIFY(Dateihelfer::Lesen(pfad, Daten, TabellenStruktur));
        QCOMPARE(Daten.HalbjahrKuerzel, QString("Q4"));
    }

    void ohneFehlerNichts()
    {
        AufzeichnendePlattform plattform;
        App()->UnhandledException(QString());
        QVERIFY(plattform.protokoll.isEmpty());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestLetzteRettung)
#include "tst_app_letzterettung.moc"
