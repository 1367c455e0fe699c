#pragma once

#include "kurseintrag.h"

#include <QList>

class Eintraege;

// One row's values, one per catalogue entry, in catalogue order (positions from 0).
// A value type: copying it copies every entry, so Clone() is a deep copy.
class KursEintraege {
public:
    KursEintraege() = default;
    // Reads a row's entries; a row with more than hoechstens entries (the size of the
    // catalogue) is a damaged file.
    explicit KursEintraege(DateiLeser& leser, qint64 hoechstens = 32767);
    void Speichern(DateiSchreiber& schreiber) const;

    qint64 Anzahl() const { return zKursEintraege.size(); }
    void Anfuegen(const KursEintrag& eintrag) { zKursEintraege.append(eintrag); }
    // Position 0..Anzahl-1; outside is a programming error (Q_ASSERT, std::out_of_range).
    KursEintrag& ZeigeKursEintrag(qint64 i);
    const KursEintrag& ZeigeKursEintrag(qint64 i) const;
    KursEintraege Clone() const { return *this; }
    // Both keys compare without regard to letter case; the first match is changed.
    void Eintragen(const QString& id, const QString& bezeichnung, const QString& wert);
    void Eintragen(const QString& id, const QString& wert);
    QString Zeigen(const QString& id, const QString& bezeichnung) const;
    void SpalteVerschieben(qint64 von, qint64 nach);
    // A row stored before the catalogue grew: empty values for the catalogue's entries up to
    // position bis, so that a move keeps every value with its entry.
    void Auffuellen(const Eintraege& katalog, qint64 bis);

    bool operator==(const KursEintraege&) const = default;

private:
    QList<KursEintrag> zKursEintraege;
};
