#pragma once

// The course selection window tests' access to the window: its parts by their names, the
// mouse on its rows and toolbar, and reading a dot from the rendered list.

#include "kursauswahl.h"

#include <QAction>
#include <QColor>
#include <QImage>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace Kursauswahlzugriff {

inline QTableWidget* Liste(Kursauswahl& fenster)
{
    return fenster.findChild<QTableWidget*>(QStringLiteral("Liste"));
}

inline QAction* Knopf(Kursauswahl& fenster, const QString& name)
{
    return fenster.findChild<QAction*>(name);
}

inline QToolBar* Werkzeuge(Kursauswahl& fenster)
{
    return fenster.findChild<QToolBar*>(QStringLiteral("ToolbarWerkzeuge"));
}

// Clicks a row (in its subject cell), as the teacher selects a course.
inline void KlickeZeile(Kursauswahl& fenster, int zeile)
{
    QTableWidget* liste = Liste(fenster);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
        liste->visualRect(liste->model()->index(zeile, 1)).center());
}

// Presses a toolbar item with the mouse, as the teacher does.
inline void Druecken(Kursauswahl& fenster, const QString& name)
{
    QToolBar* leiste = Werkzeuge(fenster);
    QWidget* knopf = leiste ? leiste->widgetForAction(Knopf(fenster, name)) : nullptr;
    QVERIFY2(knopf, qPrintable(name));
    QTest::mouseClick(knopf, Qt::LeftButton);
}

// The colour at a point of a row's dot cell, read from the rendered list (the dot's box
// is 10 x 10 at (5, 5) of the cell, so (10, 10) is its centre).
inline QColor FarbeInZelle(Kursauswahl& fenster, int zeile, QPoint punkt = QPoint(10, 10))
{
    QTableWidget* liste = Liste(fenster);
    const QImage bild = liste->viewport()->grab().toImage();
    const QRect zelle = liste->visualRect(liste->model()->index(zeile, 0));
    const qreal faktor = bild.devicePixelRatio();
    const QPoint ort = (zelle.topLeft() + punkt) * faktor;
    return bild.pixelColor(ort);
}

} // namespace Kursauswahlzugriff
