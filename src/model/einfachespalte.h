#pragma once

#include <QString>
#include <Qt>

class DateiLeser;
class DateiSchreiber;

// One column of the grade tables' shared layout.
// Alignment codes: 0 default, 1 left, 2 centre, 3 right, 4 decimal.
class EinfacheSpalte {
public:
    EinfacheSpalte() = default;
    EinfacheSpalte(const QString& ueberschrift, qint64 breite, qint64 ausrichtung);
    explicit EinfacheSpalte(DateiLeser& leser);   // Ueberschrift, Breite, Ausrichtung
    void Speichern(DateiSchreiber& schreiber) const;
    // The list alignment for Ausrichtung (decimal numbers stand right-aligned; unknown codes
    // give the default, left).
    Qt::Alignment Alignment() const;

    qint64 Ausrichtung = 0;
    qint64 Breite = 0;
    QString Ueberschrift;

    bool operator==(const EinfacheSpalte&) const = default;
};
