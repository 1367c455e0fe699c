#include "fenstertest.h"

#include "guitest.h"
#include "kursfenster.h"

#include <QRect>

void Fenstertest::Grundzustand()
{
    GuiTest::Zuruecksetzen();
    plattform.Leeren();
    plattform.AntwortenVerwerfen();
}

void Fenstertest::Aufraeumen()
{
    GuiTest::Zuruecksetzen();
}

void Kursfenstertest::initTestCase()
{
    QVERIFY(ordner.isValid());
    Kursfenster::SetzeBildschirmflaeche(QRect(0, 0, 1600, 1200));
}
