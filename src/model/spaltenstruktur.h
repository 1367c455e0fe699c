#pragma once

#include "einfachespalte.h"

#include <QList>

#include <functional>

class Datenbestand;

// The one column layout shared by every grade table. Positions 0 .. ErsteSpalte-1 are the
// identification columns, ErsteSpalte + i shows catalogue entry i and course entry i of
// every row. The global instance is TabellenStruktur.
class Spaltenstruktur {
public:
    // Builds the default layout from the global data when none exists (ErsteSpalte 0).
    // textbreite, when given, tells the width a heading needs on screen: each entry column
    // then gets that width, at least MinStandardbreite and at most MaxStandardbreite;
    // without it every entry column is MinStandardbreite wide. A layout that exists (read
    // from the file) stays as it is.
    void KurslistenInit();
    void KurslistenInit(
        const Datenbestand& daten, const std::function<qint64(const QString&)>& textbreite = {});
    static constexpr qint64 MinStandardbreite = 60;
    static constexpr qint64 MaxStandardbreite = 160;
    void SpalteAnfuegen(const EinfacheSpalte& spalte) { Spalten.append(spalte); }
    void SpalteVerschieben(qint64 von, qint64 nach);
    void SetzeSpaltenBreite(qint64 position, qint64 breite); // at least 10
    qint64 Gesamtbreite() const;
    QString BreitenString() const;
    // The entry column whose right edge lies strictly within 3 pixels of x, or -1.
    qint64 ErmittleTrenner(qint64 x) const;

    void Laden(DateiLeser& leser);
    void Speichern(DateiSchreiber& schreiber) const;

    // The widths a stored layout is used with (pixels).
    static constexpr qint64 KleinsteBreite = 10;
    static constexpr qint64 GroessteBreite = 2000;

    QList<EinfacheSpalte> Spalten;
    qint64 SpaltenAnzahl = 0;
    qint64 ErsteSpalte = 0;

    bool operator==(const Spaltenstruktur&) const = default;
};

// The global column layout.
extern Spaltenstruktur TabellenStruktur;
