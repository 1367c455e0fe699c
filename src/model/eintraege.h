#pragma once

#include "eintrag.h"
#include "kurseintraege.h"

#include <QList>

// The catalogue of entries: which values are entered per student (positions from 0).
class Eintraege {
public:
    Eintraege() = default;
    explicit Eintraege(DateiLeser& leser);
    void Speichern(DateiSchreiber& schreiber) const;

    qint64 Anzahl() const { return zEintraege.size(); }
    void Anfuegen(const Eintrag& eintrag) { zEintraege.append(eintrag); }
    void Loeschen(qint64 i);
    QString Bezeichnung(qint64 i) const { return ZeigeEintrag(i).Bezeichnung; }
    const Eintrag& ZeigeEintrag(qint64 i) const;
    // The first entry whose Bezeichnung equals the caption without regard to letter case.
    const Eintrag* ZeigeEintrag(const QString& bezeichnung) const;
    KursEintraege ErzeugeKursEintraege() const;
    void Verschieben(qint64 von, qint64 nach);

    bool operator==(const Eintraege&) const = default;

private:
    QList<Eintrag> zEintraege;
};
