#pragma once

#include "kurseintraege.h"

#include <QString>
#include <memory>

// One student's row in one course: the values entered for that student there.
// The pair (FachKuerzel, ID) identifies a row.
class SchuelerKurs {
public:
    // A new row with a fresh set of entries from the global catalogue.
    SchuelerKurs(const QString& fachKuerzel, qint64 id);
    // FachKuerzel, ID (Int32), entries (at most hoechstensEintraege, the catalogue's size)
    explicit SchuelerKurs(DateiLeser& leser, qint64 hoechstensEintraege = 32767);
    void Speichern(DateiSchreiber& schreiber) const;
    std::shared_ptr<SchuelerKurs> Clone() const;
    void SpalteVerschieben(qint64 von, qint64 nach) { Eintraege.SpalteVerschieben(von, nach); }

    QString FachKuerzel;
    qint64 ID = 0;
    KursEintraege Eintraege;

    bool operator==(const SchuelerKurs&) const = default;

private:
    SchuelerKurs() = default;
};

using SchuelerKursZeiger = std::shared_ptr<SchuelerKurs>;
