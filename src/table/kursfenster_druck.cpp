// The course window: printing the course list (menu item "Drucken"). The list is drawn as
// the table shows it, at the same physical size: every screen measure counts as points of
// 1/72 inch and becomes printer pixels through the printer's resolution. A table wider than
// the paper is shrunk to the printable width instead of losing its right-hand columns; a
// footer line says so when it is shrunk much. The document name is the window's title (a
// PDF file gets it as its name).

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kurstabelle.h"
#include "plattform.h"

#include <QDateTime>
#include <QHeaderView>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace {

// The largest integer not above aufloesung / 72 * punkte.
int InPixel(int aufloesung, int punkte)
{
    const qint64 n = qint64(aufloesung) * punkte;
    return int(n >= 0 ? n / 72 : -((-n + 71) / 72));
}

const QString Auslassung = QStringLiteral("...");

// The space between a column's edge and its text, at the scale of the print.
int Innenrand(int pixel, double massstab)
{
    return int(pixel * massstab);
}

// Alignment codes of the column structure.
constexpr int Zentriert = 2;
constexpr int Rechts = 3;

} // namespace

bool Kursfenster::_AblageDrucken_Action()
{
    Drucken();
    return true;
}

void Kursfenster::Drucken()
{
    // A new printer for every print, at the printer's highest resolution.
    zSetUp = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& drucker = *zSetUp;
    drucker.setDocName(windowTitle());
    if (!Plattform::aktuell().Seiteneinrichtung(drucker))
        return;
    if (!Plattform::aktuell().DruckDialog(drucker))
        return;
    QPainter g;
    if (!g.begin(&drucker)) {
        // No print job (the printer or the file cannot be opened): say so rather than
        // end as if the list had been printed.
        Plattform::aktuell().Meldung(QStringLiteral("Die Kursliste konnte nicht gedruckt werden."));
        return;
    }
    DruckeDich(g, drucker);
    g.end();
}

int Kursfenster::HorResPoint(int punkte) const
{
    return InPixel(zDruckDpiX, punkte);
}

int Kursfenster::VerResPoint(int punkte) const
{
    return InPixel(zDruckDpiY, punkte);
}

QString Kursfenster::FormatierungBreite(QPainter& g, const QString& text, int breite) const
{
    const QFontMetrics masse = g.fontMetrics();
    const int platz = breite - 2 * Innenrand(HorResPoint(3), zDruckMassstab);
    if (masse.horizontalAdvance(text) <= platz)
        return text;
    const int punkte = masse.horizontalAdvance(Auslassung);
    QString rest = text;
    while (!rest.isEmpty() && masse.horizontalAdvance(rest) >= platz - punkte) {
        // One character at a time; a character beyond the basic plane goes whole.
        const bool paar = rest.size() >= 2 && rest.back().isLowSurrogate()
            && rest.at(rest.size() - 2).isHighSurrogate();
        rest.chop(paar ? 2 : 1);
    }
    return rest.isEmpty() ? QString() : rest + Auslassung;
}

int Kursfenster::FormatierungSpalte(
    QPainter& g, const QString& text, int links, int breite, int ausrichtung) const
{
    const int w = g.fontMetrics().horizontalAdvance(text);
    switch (ausrichtung) {
    case Zentriert:
        return links + (breite - w) / 2;
    case Rechts:
    case 4: // decimal
        return links + breite - w - Innenrand(HorResPoint(3), zDruckMassstab);
    default:
        return links + Innenrand(HorResPoint(3), zDruckMassstab);
    }
}

Kursfenster::Druckflaeche Kursfenster::Flaeche(QPagedPaintDevice& geraet)
{
    Druckflaeche f;
    f.breite = geraet.width();
    f.hoehe = geraet.height();
    f.dpiX = geraet.logicalDpiX();
    f.dpiY = geraet.logicalDpiY();
    // A printer prints a range of pages only when its dialog chose one.
    QPageRanges seiten = geraet.pageRanges();
    if (const auto* drucker = dynamic_cast<QPrinter*>(&geraet);
        drucker && drucker->printRange() != QPrinter::PageRange)
        seiten = QPageRanges();
    if (!seiten.isEmpty()) {
        f.vonSeite = qMax(1, seiten.firstPage());
        f.bisSeite = seiten.lastPage();
    }
    f.neueSeite = [&geraet] { return geraet.newPage(); };
    return f;
}

void Kursfenster::DruckeDich(QPainter& g, QPagedPaintDevice& geraet)
{
    DruckeDich(g, Flaeche(geraet));
}

QString Kursfenster::VerkleinertHinweis(double massstab)
{
    return QStringLiteral("Auf %1 % verkleinert, damit alle Spalten auf die Seite passen.")
        .arg(int(massstab * 100));
}

void Kursfenster::DruckeDich(QPainter& g, const Druckflaeche& flaeche)
{
    zDruckDpiX = qMax(1, flaeche.dpiX);
    zDruckDpiY = qMax(1, flaeche.dpiY);
    zDruckMassstab = 1.0;
    const int pw = flaeche.breite;
    const int ph = flaeche.hoehe;

    // Column geometry at the screen's physical size; the hidden column 0 never prints. A
    // table wider than the printable width is shrunk as a whole to fit it (the page set-up's
    // landscape gives it more room).
    const int spalten = zTabelle->columnCount();
    QList<int> vollBreite(spalten, 0);
    qint64 vollRechts = 0;
    for (int k = 1; k < spalten; ++k) {
        vollBreite[k] = HorResPoint(zTabelle->columnWidth(k));
        vollRechts += vollBreite[k];
    }
    if (pw > 0 && vollRechts > pw)
        zDruckMassstab = double(pw) / double(vollRechts);
    const double m = zDruckMassstab;
    const auto skaliert = [m](int pixel) { return int(pixel * m); };

    // The print measures, in printer pixels: the title and the footer at full size, the
    // table at the table's scale.
    const QFont tabellenSchrift = zTabelle->font();
    const int schriftPunkte = tabellenSchrift.pixelSize() > 0
        ? tabellenSchrift.pixelSize()
        : qRound(tabellenSchrift.pointSizeF());
    const int fs = qMax(1, VerResPoint(schriftPunkte));
    const int fsTabelle = qMax(1, skaliert(fs));
    const int rh = qMax(1, skaliert(VerResPoint(zTabelle->verticalHeader()->defaultSectionSize())));
    const int hb = 3 * fs;
    const int gp = qMax(1, skaliert(VerResPoint(5)));
    const int grundlinie = fsTabelle + (rh - fsTabelle) / 2; // of a text in a row, from its top
    // A shrunk print says so in a footer line; the rows end above it.
    const bool hinweis = m < MinMassstab;
    const int fussband = hinweis ? 2 * fs : 0;
    const int unten = ph - fussband;

    // The rows a page holds: the first starts below the header band, the header row and
    // the gap; a page ends when the next row would reach its bottom. Page ranges are turned
    // into rows with this same count, so that page n of a range is page n of the whole list.
    const int ersteZeileOben = hb + rh + gp;
    int proSeite = 1;
    if (unten - 2 * rh - ersteZeileOben > 0)
        proSeite = (unten - 2 * rh - ersteZeileOben + rh - 1) / rh + 1;
    zZeilenProSeite = proSeite;

    Spaltenbreite = QList<int>(spalten, 0);
    Startpunkte = QList<int>(spalten, 0);
    for (int k = 1; k < spalten; ++k)
        Spaltenbreite[k] = skaliert(vollBreite[k]);
    for (int k = 2; k < spalten; ++k)
        Startpunkte[k] = Startpunkte[k - 1] + Spaltenbreite[k - 1];
    const int rechts = spalten > 0 ? Startpunkte.last() + Spaltenbreite.last() : 0;

    const int zeilen = zTabelle->rowCount();
    const int ersteZeile = (qMax(1, flaeche.vonSeite) - 1) * proSeite;
    int letzteZeile = zeilen - 1;
    if (flaeche.bisSeite > 0)
        letzteZeile = int(qMin<qint64>(qint64(flaeche.bisSeite) * proSeite - 1, zeilen - 1));

    const int erste = int(TabellenStruktur.ErsteSpalte);
    const auto ueberschrift = [](int k) {
        return k < TabellenStruktur.Spalten.size() ? TabellenStruktur.Spalten.at(k).Ueberschrift
                                                   : QString();
    };
    const auto ausrichtung = [](int k) {
        return k < TabellenStruktur.Spalten.size() ? int(TabellenStruktur.Spalten.at(k).Ausrichtung)
                                                   : 0;
    };
    int nameSpalte = -1;
    for (int k = 0; k < erste && k < spalten; ++k)
        if (Hilfsmittel::GleichOhneGross(ueberschrift(k), QStringLiteral("Name")))
            nameSpalte = k;

    QFont titelSchrift = tabellenSchrift;
    titelSchrift.setPixelSize(fs);
    titelSchrift.setUnderline(false);
    QFont schrift = tabellenSchrift;
    schrift.setPixelSize(fsTabelle);
    schrift.setUnderline(false);
    const QColor schwarz(0, 0, 0);
    const QColor rot(255, 0, 0);
    // Every line half a point wide (the text takes only the pen's colour).
    const double linie = qMax(zDruckDpiX, zDruckDpiY) / 144.0;
    const auto stift = [&g, linie](const QColor& farbe) { g.setPen(QPen(farbe, linie)); };
    const auto unterstrichen = [&g, &schrift](bool an) {
        QFont f = schrift;
        f.setUnderline(an);
        g.setFont(f);
    };
    stift(schwarz);
    const QString titel = windowTitle() + QStringLiteral(" - ")
        + Hilfsmittel::ErzeugeStringAusDateTime(QDateTime::currentDateTime());

    int seite = 0;
    bool neueSeite = true;
    int y = ersteZeileOben;
    for (int i = ersteZeile; i <= letzteZeile; ++i) {
        if (neueSeite) {
            ++seite;
            stift(schwarz);
            g.setFont(titelSchrift);
            if (seite >= 2) {
                const QString nummer = QStringLiteral("Seite ") + QString::number(seite);
                const int x = FormatierungSpalte(g, nummer, 0, pw, Rechts);
                g.drawText(x, fs, nummer);
                g.drawText(0, fs, FormatierungBreite(g, titel, x));
            } else {
                g.drawText(0, fs, FormatierungBreite(g, titel, pw));
            }
            if (hinweis)
                g.drawText(0, ph - fs / 2, FormatierungBreite(g, VerkleinertHinweis(m), pw));
            unterstrichen(false);
            // The header row and the double line under it.
            for (int k = 0; k < spalten; ++k) {
                const QString kopf = FormatierungBreite(g, ueberschrift(k), Spaltenbreite[k]);
                g.drawLine(Startpunkte[k], hb, Startpunkte[k], hb + rh);
                if (!kopf.isEmpty())
                    g.drawText(
                        FormatierungSpalte(g, kopf, Startpunkte[k], Spaltenbreite[k], Zentriert),
                        hb + grundlinie, kopf);
            }
            g.drawLine(rechts, hb, rechts, hb + rh);
            g.drawLine(0, hb, rechts, hb);
            g.drawLine(0, hb + rh, rechts, hb + rh);
            g.drawLine(0, hb + rh + gp, rechts, hb + rh + gp);
            y = ersteZeileOben;
            neueSeite = false;
        }

        for (int k = 0; k < spalten; ++k) {
            QString zelle = SichtbarerText(i, k);
            // A warning box prints as a cross when checked.
            if (Daten.mitWarnung && k == erste - 1 && k >= 1)
                zelle = Gewarnt(i) ? QStringLiteral("X") : QString();
            const QString text = FormatierungBreite(g, zelle, Spaltenbreite[k]);
            stift(schwarz);
            unterstrichen(false);
            g.drawLine(Startpunkte[k], y, Startpunkte[k], y + rh);
            if (k == nameSpalte) {
                bool zahl = false;
                const qint64 id = SichtbarerText(i, 0).toLongLong(&zahl);
                unterstrichen(zahl && zKurs->KlausurSchueler.Enthalten(id));
            } else if (k >= erste) {
                const Eintrag* eintrag = Spalteneintrag(k);
                if (eintrag && Daten.NoteIstDefizit(*eintrag, zelle, Daten.Halbjahr))
                    stift(rot);
            }
            if (!text.isEmpty())
                g.drawText(
                    FormatierungSpalte(g, text, Startpunkte[k], Spaltenbreite[k], ausrichtung(k)),
                    y + grundlinie, text);
        }
        stift(schwarz);
        unterstrichen(false);
        g.drawLine(rechts, y, rechts, y + rh);
        g.drawLine(0, y + rh, rechts, y + rh);

        if (y + 2 * rh >= unten) {
            if (i != letzteZeile && flaeche.neueSeite)
                flaeche.neueSeite();
            neueSeite = true;
        }
        y += rh;
    }
}
