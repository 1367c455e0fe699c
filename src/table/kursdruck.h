#pragma once

// Printing the course list (menu item "Drucken"). The list is drawn as the table shows it,
// at the same physical size: every screen measure counts as points of 1/72 inch and becomes
// printer pixels through the printer's resolution. A table wider than the paper is shrunk
// to the printable width instead of losing its right-hand columns; a footer line says so
// when it is shrunk much. The print works on a snapshot of the table and never on the
// window, so it can be drawn and checked without one.

#include "notenspiegel.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QPainter;

// What the print shows of a course table, taken when the print starts.
struct Kursabbild {
    QString titel; // the window's title (the print adds the date and time)
    QFont schrift; // the table's font
    int zeilenhoehe = 0; // a row's height on screen, in pixels
    // Per column: the width on screen in pixels (column 0 is the hidden ID column and never
    // prints), the heading, the alignment code of the column structure (0 default, 1 left,
    // 2 centre, 3 right, 4 decimal).
    QList<int> breiten;
    QStringList ueberschriften;
    QList<int> ausrichtungen;
    struct Zeile {
        QStringList texte; // per column, as the teacher sees them
        int unterstrichen = -1; // the column printed underlined (the name of an exam student)
        QList<int> rot; // the columns printed red (a deficit)
    };
    QList<Zeile> zeilen;
    // The distributions printed after the list (a "Notenspiegel" block each); none: the
    // list alone.
    QList<Notenspiegel> notenspiegel;
};

class Kursdruck {
public:
    // What printing needs to know of the device: the printable area in pixels, its
    // resolution in pixels per inch, the pages asked for (bisSeite 0: to the end) and how
    // to begin a new page.
    struct Flaeche {
        int breite = 0;
        int hoehe = 0;
        int dpiX = 72;
        int dpiY = 72;
        int vonSeite = 1;
        int bisSeite = 0;
        std::function<bool()> neueSeite;
    };
    // The area of a printer or PDF writer; a printer's page range counts only when its
    // dialog chose one.
    static Flaeche FlaecheVon(QPagedPaintDevice& geraet);

    explicit Kursdruck(Kursabbild abbild);

    // Draws the list with g active on the device of flaeche; its page range chooses the rows.
    void DruckeDich(QPainter& g, const Flaeche& flaeche);

    // The rows one printed page holds; valid after DruckeDich.
    int ZeilenProSeite() const { return zZeilenProSeite; }
    // The scale the table was printed at (1: as wide as on screen; less when the table was
    // shrunk to the printable width); valid after DruckeDich.
    double Massstab() const { return zMassstab; }
    // The printed width and the left edge of every column in printer pixels; valid after
    // DruckeDich.
    const QList<int>& Spaltenbreite() const { return zSpaltenbreite; }
    const QList<int>& Startpunkte() const { return zStartpunkte; }
    // The footer line of a print shrunk below MinMassstab, for a scale of massstab.
    static QString VerkleinertHinweis(double massstab);
    static constexpr double MinMassstab = 0.8;

    // Points (1/72 inch) in pixels of the device printed on: the largest integer not above
    // resolution / 72 * points.
    int HorResPoint(int punkte) const;
    int VerResPoint(int punkte) const;
    // The text fitted into a column of that width (cut, ending in "...", when too wide).
    QString FormatierungBreite(QPainter& g, const QString& text, int breite) const;
    // Where a text starts in a column of the given alignment code.
    int FormatierungSpalte(
        QPainter& g, const QString& text, int links, int breite, int ausrichtung) const;

    // The height of one "Notenspiegel" block in rows of the list.
    static constexpr int NotenspiegelZeilen = 5;

private:
    // One "Notenspiegel" block from y down (a row height rh, a text's baseline grundlinie
    // below a row's top, the printable width pw); the top of what follows it.
    int NotenspiegelDrucken(
        QPainter& g, const Notenspiegel& spiegel, int y, int rh, int grundlinie, int pw) const;

    Kursabbild zAbbild;
    int zDpiX = 72;
    int zDpiY = 72;
    int zZeilenProSeite = 0;
    double zMassstab = 1.0;
    // The printed width and the left edge of every column in printer pixels.
    QList<int> zSpaltenbreite;
    QList<int> zStartpunkte;
};
