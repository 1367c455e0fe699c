// The window registry, the splash window and the about window.

#include "aufzeichnendeplattform.h"
#include "guitest.h"
#include "menue.h"
#include "nachrichtenfenster.h"
#include "splashscreen.h"
#include "ueberzelta.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

namespace {

// Counts how often it adapted its layout.
class Zaehlfenster : public Nachrichtenfenster {
public:
    int angepasst = 0;

protected:
    void LayoutUebernehmen() override { ++angepasst; }
};

QList<qint64> Indizes()
{
    QList<qint64> indizes;
    for (Nachrichtenfenster* f : BasisEinstellungen::zFenster())
        indizes << f->FensterIndex;
    return indizes;
}

} // namespace

class TestFenster : public QObject {
    Q_OBJECT
private slots:
    void init() { GuiTest::Zuruecksetzen(); }
    void cleanup() { GuiTest::Zuruecksetzen(); }

    void dreiFensterMittleresSchliesst_data()
    {
        QTest::addColumn<int>("schliessen");
        QTest::newRow("erstes") << 0;
        QTest::newRow("mittleres") << 1;
        QTest::newRow("letztes") << 2;
    }

    void dreiFensterMittleresSchliesst()
    {
        QFETCH(int, schliessen);
        Zaehlfenster f[3];
        QCOMPARE(BasisEinstellungen::zFenster().size(), 3);
        QCOMPARE(Indizes(), QList<qint64>({ 0, 1, 2 }));
        for (auto& x : f)
            x.show();
        QVERIFY(f[schliessen].close());
        QList<Nachrichtenfenster*> rest;
        for (int i = 0; i < 3; ++i)
            if (i != schliessen)
                rest << &f[i];
        QCOMPARE(BasisEinstellungen::zFenster(), rest);
        QCOMPARE(Indizes(), QList<qint64>({ 0, 1 }));
        QCOMPARE(f[schliessen].FensterIndex, qint64(-1));
        // Invariant: every window sits at its index.
        for (Nachrichtenfenster* w : BasisEinstellungen::zFenster())
            QCOMPARE(BasisEinstellungen::zFenster().at(w->FensterIndex), w);
        // A window opened afterwards goes to the end.
        Zaehlfenster neu;
        QCOMPARE(neu.FensterIndex, qint64(2));
    }

    void geloeschtOhneSchliessen()
    {
        auto* a = new Zaehlfenster;
        Zaehlfenster b;
        delete a;
        QCOMPARE(BasisEinstellungen::zFenster(), QList<Nachrichtenfenster*>({ &b }));
        QCOMPARE(b.FensterIndex, qint64(0));
    }

    void abgelehntesSchliessenBleibt()
    {
        class Bleibt : public Nachrichtenfenster {
        protected:
            void closeEvent(QCloseEvent* e) override
            {
                e->ignore();
                Nachrichtenfenster::closeEvent(e);
            }
        };
        Bleibt b;
        b.show();
        QVERIFY(!b.close());
        QCOMPARE(BasisEinstellungen::zFenster().size(), 1);
        QCOMPARE(b.FensterIndex, qint64(0));
    }

    void anpassenUebergehtAusloeser()
    {
        Zaehlfenster f[3];
        f[1].zAnpassen = false;
        BasisEinstellungen::AlleFensterAnpassen();
        QCOMPARE(f[0].angepasst, 1);
        QCOMPARE(f[1].angepasst, 0);
        QCOMPARE(f[2].angepasst, 1);
        QVERIFY(f[1].zAnpassen);
        // With its flag left true the causing window adapts too.
        BasisEinstellungen::AlleFensterAnpassen();
        QCOMPARE(f[1].angepasst, 1);
    }

    void fensterHatMenueleiste()
    {
        Zaehlfenster f;
        QVERIFY(f.menuWidget());
        QVERIFY(f.menuWidget()->findChild<QMenu*>("Ablage"));
    }

    // --- Splash and about -------------------------------------------------------------------

    void bildfensterGestaltung_data()
    {
        QTest::addColumn<bool>("splash");
        QTest::addColumn<QString>("titel");
        QTest::newRow("Splash") << true << "ZELTA Noten";
        QTest::newRow("Über") << false << "ZELTA-Noten";
    }

    void bildfensterGestaltung()
    {
        QFETCH(bool, splash);
        QFETCH(QString, titel);
        QScopedPointer<Bildfenster> f(
            splash ? static_cast<Bildfenster*>(new SplashScreen) : new UeberZELTA);
        f->show();
        QCOMPARE(f->windowTitle(), titel);
        QCOMPARE(f->size(), QSize(400, 316));
        QCOMPARE(f->minimumSize(), f->maximumSize());
        QVERIFY(f->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f->txtVersion->text(), QString("Version 1.9.0"));
        QCOMPARE(f->txtVersion->geometry(), QRect(267, 139, 113, 20));
        QCOMPARE(f->txtVersion->font().pixelSize(), 10);
        QVERIFY(f->txtVersion->alignment() & Qt::AlignRight);
        QCOMPARE(f->copyright->geometry(), QRect(42, 239, 250, 57));
        QCOMPARE(f->copyright->font().pixelSize(), 11);
        QCOMPARE(f->copyright->text().split('\n').size(), 3);
        QVERIFY(f->copyright->text().startsWith(RAVIRIreru::Copyright()));
        // The three lines fit the label in the font used.
        const QFontMetrics masse(f->copyright->font());
        const QRect noetig
            = masse.boundingRect(QRect(0, 0, 250, 1000), Qt::AlignLeft, f->copyright->text());
        QVERIFY2(noetig.width() <= 250 && noetig.height() <= 57,
            qPrintable(QString("%1 x %2").arg(noetig.width()).arg(noetig.height())));
        QVERIFY(masse.horizontalAdvance(f->txtVersion->text()) <= 113);
        // The picture is the backdrop: the rendered window is not plain white.
        const QImage bild = f->grab().toImage();
        bool farbig = false;
        for (int y = 0; y < bild.height() && !farbig; y += 7)
            for (int x = 0; x < bild.width() && !farbig; x += 7)
                farbig = bild.pixelColor(x, y) != QColor(Qt::white);
        QVERIFY(farbig);
    }

    void splashSchliesstBeiKlick()
    {
        SplashScreen s;
        s.show();
        QVERIFY(s.SchliessTimer->isActive());
        QCOMPARE(s.SchliessTimer->interval(), 15000);
        QVERIFY(s.SchliessTimer->isSingleShot());
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(200, 100));
        QVERIFY(!s.isVisible());
        QVERIFY(!s.SchliessTimer->isActive());
    }

    void splashSchliesstNachZeit()
    {
        SplashScreen s;
        s.SchliessTimer->setInterval(1);
        QTimer::singleShot(0, &s, [&s] { QVERIFY(s.SchliessTimer->isActive()); });
        // Modal, as at the start: exec returns when the timer closed it.
        s.exec();
        QVERIFY(!s.isVisible());
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestFenster)
#include "tst_kit_fenster.moc"
