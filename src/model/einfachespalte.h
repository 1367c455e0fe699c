#pragma once

#include <QString>
#include <Qt>

#include <optional>

class DateiLeser;
class DateiSchreiber;

// One column of the grade tables' shared layout.
// Alignment codes: 0 default, 1 left, 2 centre, 3 right, 4 decimal.
class EinfacheSpalte {
public:
    EinfacheSpalte() = default;
    EinfacheSpalte(const QString& ueberschrift, qint64 breite, qint64 ausrichtung);
    explicit EinfacheSpalte(DateiLeser& leser); // Ueberschrift, Breite, Ausrichtung
    void Speichern(DateiSchreiber& schreiber) const;
    // The list alignment for Ausrichtung (decimal numbers stand right-aligned; unknown codes
    // give the default, left).
    Qt::Alignment Alignment() const;

    // Keeps the width read from a file within untergrenze .. obergrenze for use (Breite);
    // the value read is remembered and written back as long as the width is not changed.
    void BreiteBegrenzen(qint64 untergrenze, qint64 obergrenze);
    // The width the file holds: the value read, unless Breite was changed since.
    qint64 GespeicherteBreite() const;

    qint64 Ausrichtung = 0;
    qint64 Breite = 0;
    QString Ueberschrift;

    // Two columns are equal when they are written alike.
    bool operator==(const EinfacheSpalte& andere) const;

private:
    // The width as read, while Breite is the bounded form of it.
    std::optional<qint64> zBreiteInDatei;
    qint64 zBegrenzteBreite = 0;
};
