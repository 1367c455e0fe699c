#pragma once

#include <QString>

class DateiLeser;
class DateiSchreiber;

// One grade of the file's grade scale.
class Note {
public:
    Note() = default;
    Note(const QString& kuerzel, const QString& bezeichnung, qint64 alsWert, const QString& punkte);
    explicit Note(DateiLeser& leser); // Kuerzel, Bezeichnung, Punkte, AlsWert
    void Speichern(DateiSchreiber& schreiber) const;

    QString Kuerzel;
    QString Bezeichnung;
    qint64 AlsWert = 0;
    QString Punkte;

    bool operator==(const Note&) const = default;
};
