#pragma once

#include <QString>

class DateiLeser;
class DateiSchreiber;

// One kind of value entered per student and course (a grade, absence hours, a remark).
class Eintrag {
public:
    Eintrag() = default;
    Eintrag(const QString& id, const QString& bezeichnung);
    explicit Eintrag(DateiLeser& leser); // ID, Bezeichnung
    void Speichern(DateiSchreiber& schreiber) const;
    Eintrag Clone() const { return *this; }

    QString Bezeichnung;
    QString ID;

    bool operator==(const Eintrag&) const = default;
};
