#pragma once

#include <QString>

class DateiLeser;
class DateiSchreiber;

// One student of the file.
class Schueler {
public:
    Schueler() = default;
    Schueler(qint64 id, const QString& name, const QString& guid);
    explicit Schueler(DateiLeser& leser); // ID (Int32), GUID, Name (scrambled)
    void Speichern(DateiSchreiber& schreiber) const;

    qint64 ID = 0;
    QString Name;
    QString GUID;

    bool operator==(const Schueler&) const = default;
};
