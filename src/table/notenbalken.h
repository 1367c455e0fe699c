#pragma once

#include "notenspiegel.h"

#include <QWidget>

// The bar chart of a distribution: one bar per grade of the scale in the scale's order, the
// grades without value ("E", "NT") after a gap. Drawn in the colours of the palette; every bar
// carries its count as a number, and a deficit grade's bar is hatched, so nothing depends on
// colour alone.
class Notenbalken : public QWidget {
    Q_OBJECT
public:
    explicit Notenbalken(QWidget* parent = nullptr);

    void Setzen(const Notenspiegel& spiegel);
    const Notenspiegel& Spiegel() const { return zSpiegel; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    struct Balken {
        QString note;
        int anzahl = 0;
        bool defizit = false;
        bool besonders = false; // a grade without value, or "sonstige"
    };
    QList<Balken> Alle() const;
    // The width one bar takes, with its gap.
    int Schritt() const;

    Notenspiegel zSpiegel;
};
