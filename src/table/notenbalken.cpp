#include "notenbalken.h"

#include <QPainter>

namespace {

// The room between the groups of bars (graded, without value).
constexpr int Gruppenabstand = 12;

} // namespace

Notenbalken::Notenbalken(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Notenbalken"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void Notenbalken::Setzen(const Notenspiegel& spiegel)
{
    zSpiegel = spiegel;
    QStringList teile;
    for (const Balken& b : Alle())
        teile.append(QStringLiteral("%1: %2").arg(b.note).arg(b.anzahl));
    setAccessibleName(QStringLiteral("Notenspiegel ") + zSpiegel.spalte);
    setAccessibleDescription(teile.join(QStringLiteral(", ")));
    updateGeometry();
    update();
}

QList<Notenbalken::Balken> Notenbalken::Alle() const
{
    QList<Balken> alle;
    for (const Notenspiegel::Stufe& s : zSpiegel.stufen)
        alle.append({ s.note, s.anzahl, s.defizit, false });
    for (const Notenspiegel::Stufe& s : zSpiegel.besondere)
        alle.append({ s.note, s.anzahl, s.defizit, true });
    if (zSpiegel.sonstige > 0)
        alle.append({ QStringLiteral("sonstige"), zSpiegel.sonstige, false, true });
    return alle;
}

int Notenbalken::Schritt() const
{
    // As wide as the widest label, at least two digits and a little room.
    int breite = fontMetrics().horizontalAdvance(QStringLiteral("00"));
    for (const Notenspiegel::Stufe& s : zSpiegel.besondere)
        breite = qMax(breite, fontMetrics().horizontalAdvance(s.note));
    return breite + 8;
}

QSize Notenbalken::sizeHint() const
{
    const qsizetype n
        = zSpiegel.stufen.size() + zSpiegel.besondere.size() + (zSpiegel.sonstige > 0 ? 1 : 0);
    return { int(n) * Schritt() + Gruppenabstand + 16, 12 * fontMetrics().height() };
}

QSize Notenbalken::minimumSizeHint() const
{
    return { 120, 6 * fontMetrics().height() };
}

void Notenbalken::paintEvent(QPaintEvent*)
{
    QPainter g(this);
    const QPalette& farben = palette();
    g.fillRect(rect(), farben.color(QPalette::Base));
    const QList<Balken> alle = Alle();
    if (alle.isEmpty())
        return;

    const int zeile = fontMetrics().height();
    const int unten = height() - zeile - 6; // the base line; the grades below it
    const int oben = zeile + 6; // room for the count above the highest bar
    const int hoehe = qMax(1, unten - oben);
    const int hoechste = qMax(1, zSpiegel.HoechsteAnzahl());
    const int schritt = qMax(8, (width() - 16 - Gruppenabstand) / int(alle.size()));
    const int balkenBreite = qMax(4, schritt * 2 / 3);

    const QColor text = farben.color(QPalette::Text);
    const QColor balken = farben.color(QPalette::Highlight);
    const QColor besonders = farben.color(QPalette::Mid);
    int x = 8;
    bool inBesonderen = false;
    for (const Balken& b : alle) {
        if (b.besonders && !inBesonderen) {
            inBesonderen = true;
            x += Gruppenabstand;
        }
        const int h = b.anzahl * hoehe / hoechste;
        const QRect saeule(x + (schritt - balkenBreite) / 2, unten - h, balkenBreite, h);
        if (h > 0) {
            const QColor farbe = b.besonders ? besonders : balken;
            // A deficit's bar is hatched: it differs from the others without its colour.
            g.fillRect(saeule, b.defizit ? QBrush(farbe, Qt::BDiagPattern) : QBrush(farbe));
            g.setPen(farbe);
            g.drawRect(saeule.adjusted(0, 0, -1, -1));
        }
        g.setPen(text);
        const QRect zahl(x, unten - h - zeile - 2, schritt, zeile);
        g.drawText(zahl, Qt::AlignHCenter | Qt::AlignBottom, QString::number(b.anzahl));
        const QRect note(x, unten + 3, schritt, zeile);
        g.drawText(note, Qt::AlignHCenter | Qt::AlignTop, b.note);
        x += schritt;
    }
    g.setPen(farben.color(QPalette::WindowText));
    g.drawLine(4, unten, x + 4, unten);
}
