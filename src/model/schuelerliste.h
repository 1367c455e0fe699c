#pragma once

#include "schueler.h"

#include <QList>

// All students of the file, in file order; positions count from 1.
class Schuelerliste {
public:
    Schuelerliste() = default;
    explicit Schuelerliste(DateiLeser& leser);
    void Speichern(DateiSchreiber& schreiber) const;

    qint64 AnzahlSchueler() const { return zAnzahlSchueler; }
    // i from 1 to AnzahlSchueler; outside is a programming error (std::out_of_range).
    Schueler& Zeigen(qint64 i);
    const Schueler& Zeigen(qint64 i) const;
    // Builds a list (for tests, tools and sample files).
    void Anfuegen(const Schueler& schueler);

    bool operator==(const Schuelerliste&) const = default;

private:
    qint64 zAnzahlSchueler = 0;
    QList<Schueler> zSchueler;
};
