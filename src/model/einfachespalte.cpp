#include "einfachespalte.h"

#include "dateileser.h"
#include "dateischreiber.h"

EinfacheSpalte::EinfacheSpalte(const QString& ueberschrift, qint64 breite, qint64 ausrichtung)
    : Ausrichtung(ausrichtung)
    , Breite(breite)
    , Ueberschrift(ueberschrift)
{
}

EinfacheSpalte::EinfacheSpalte(DateiLeser& leser)
{
    Ueberschrift = leser.LesePString("EinfacheSpalte.Ueberschrift");
    Breite = leser.LeseInt16();
    Ausrichtung = leser.LeseInt16();
}

void EinfacheSpalte::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibePString(Ueberschrift, QStringLiteral("EinfacheSpalte.Ueberschrift"));
    schreiber.SchreibeInt16(GespeicherteBreite());
    schreiber.SchreibeInt16(Ausrichtung);
}

void EinfacheSpalte::BreiteBegrenzen(qint64 untergrenze, qint64 obergrenze)
{
    const qint64 gelesen = GespeicherteBreite();
    Breite = qBound(untergrenze, gelesen, obergrenze);
    if (Breite != gelesen) {
        zBreiteInDatei = gelesen;
        zBegrenzteBreite = Breite;
    }
}

qint64 EinfacheSpalte::GespeicherteBreite() const
{
    if (zBreiteInDatei && Breite == zBegrenzteBreite)
        return *zBreiteInDatei;
    return Breite;
}

bool EinfacheSpalte::operator==(const EinfacheSpalte& andere) const
{
    return Ausrichtung == andere.Ausrichtung && Ueberschrift == andere.Ueberschrift
        && GespeicherteBreite() == andere.GespeicherteBreite();
}

Qt::Alignment EinfacheSpalte::Alignment() const
{
    switch (Ausrichtung) {
    case 1:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case 3:
    case 4: // decimal numbers line up at the right
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
