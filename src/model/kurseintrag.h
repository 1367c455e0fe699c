#pragma once

#include <QString>

class DateiLeser;
class DateiSchreiber;

// The value entered for one catalogue entry in one student's course row.
class KursEintrag {
public:
    KursEintrag() = default;
    KursEintrag(const QString& id, const QString& bezeichnung, const QString& datum);
    explicit KursEintrag(DateiLeser& leser); // ID, Bezeichnung, datum
    void Speichern(DateiSchreiber& schreiber) const;
    KursEintrag Clone() const { return *this; }

    QString datum;
    QString ID;
    QString Bezeichnung;

    bool operator==(const KursEintrag&) const = default;
};
