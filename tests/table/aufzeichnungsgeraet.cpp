#include "aufzeichnungsgeraet.h"

#include <climits>

Aufzeichnungsgeraet::Aufzeichnungsgeraet(int breite, int hoehe, int dpiX, int dpiY)
    : zBreite(breite)
    , zHoehe(hoehe)
    , zDpiX(dpiX)
    , zDpiY(dpiY)
{
}

Kursfenster::Druckflaeche Aufzeichnungsgeraet::Flaeche(int von, int bis)
{
    Kursfenster::Druckflaeche f;
    f.breite = zBreite;
    f.hoehe = zHoehe;
    f.dpiX = zDpiX;
    f.dpiY = zDpiY;
    f.vonSeite = von;
    f.bisSeite = bis;
    f.neueSeite = [this] {
        ++zMotor.seite;
        ++zNeueSeiten;
        return true;
    };
    return f;
}

int Aufzeichnungsgeraet::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth:
        return zBreite;
    case PdmHeight:
        return zHoehe;
    case PdmWidthMM:
        return zBreite * 254 / zDpiX / 10;
    case PdmHeightMM:
        return zHoehe * 254 / zDpiY / 10;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return zDpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return zDpiY;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

Aufzeichnungsgeraet::Motor::Motor()
    : QPaintEngine(QPaintEngine::AllFeatures)
{
}

void Aufzeichnungsgeraet::Motor::updateState(const QPaintEngineState& zustand)
{
    if (zustand.state() & QPaintEngine::DirtyPen)
        zStift = zustand.pen();
    if (zustand.state() & QPaintEngine::DirtyFont)
        zSchrift = zustand.font();
}

void Aufzeichnungsgeraet::Motor::drawTextItem(const QPointF& p, const QTextItem& item)
{
    Zug z;
    z.seite = seite;
    z.text = item.text();
    z.punkt = p;
    z.farbe = zStift.color();
    z.unterstrichen = zSchrift.underline();
    z.schrift = zSchrift;
    zuege.append(z);
}

void Aufzeichnungsgeraet::Motor::drawLines(const QLineF* linien, int anzahl)
{
    for (int i = 0; i < anzahl; ++i) {
        Zug z;
        z.art = Zug::Linie;
        z.seite = seite;
        z.linie = linien[i];
        z.farbe = zStift.color();
        z.stiftbreite = zStift.isCosmetic() ? 0.0 : zStift.widthF();
        zuege.append(z);
    }
}

void Aufzeichnungsgeraet::Motor::drawLines(const QLine* linien, int anzahl)
{
    for (int i = 0; i < anzahl; ++i) {
        const QLineF l(linien[i]);
        drawLines(&l, 1);
    }
}
