#pragma once

// A paint device for the tests of printing: a paper page of a given size and resolution
// that records what is drawn on it instead of showing it.

#include "kursfenster.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPointF>
#include <QString>

class Aufzeichnungsgeraet : public QPaintDevice {
public:
    // One drawing step: a text (with the pen's colour and the font's underline) or a line.
    struct Zug {
        enum Art { Text, Linie } art = Text;
        int seite = 1;
        QString text;
        QPointF punkt; // the start of a text's baseline
        QLineF linie;
        QColor farbe;
        double stiftbreite = 0; // a line's width in pixels (0: a cosmetic hairline)
        bool unterstrichen = false;
        QFont schrift;
    };

    // breite x hoehe pixels at dpiX x dpiY pixels per inch.
    Aufzeichnungsgeraet(int breite, int hoehe, int dpiX, int dpiY);

    QPaintEngine* paintEngine() const override { return &zMotor; }
    // What a print sees of the page: its size, resolution, the pages asked for; a new page
    // counts up the page of the following steps.
    Kursfenster::Druckflaeche Flaeche(int von = 1, int bis = 0);

    const QList<Zug>& Zuege() const { return zMotor.zuege; }
    int NeueSeiten() const { return zNeueSeiten; }

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    class Motor : public QPaintEngine {
    public:
        Motor();
        QList<Zug> zuege;
        int seite = 1;

        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        Type type() const override { return QPaintEngine::User; }
        void updateState(const QPaintEngineState& zustand) override;
        void drawTextItem(const QPointF& p, const QTextItem& item) override;
        void drawLines(const QLineF* linien, int anzahl) override;
        void drawLines(const QLine* linien, int anzahl) override;
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }

    private:
        QPen zStift;
        QFont zSchrift;
    };

    mutable Motor zMotor;
    int zBreite, zHoehe, zDpiX, zDpiY;
    int zNeueSeiten = 0;
};
