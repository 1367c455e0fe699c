#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What a file on disk looked like when the program last read or wrote it: size, time of the
// last change and a checksum of the content. Before the course-list file is replaced, its
// state now is compared with this one, so that a file changed by someone else (another
// program, a copy over the network) is not overwritten without asking.
class Dateistand {
public:
    Dateistand() = default;
    // The state of the file at pfad whose content is bytes (just read or just written).
    static Dateistand Von(const QString& pfad, const QByteArray& bytes);

    bool Bekannt() const { return !zPruefsumme.isEmpty(); }
    // The file's size then (-1 when not known).
    qint64 Groesse() const { return zGroesse; }
    // True when the file at pfad no longer is what this state describes. A file that is gone
    // (or anything but a file in its place) counts as unchanged: nothing of anyone's would be
    // overwritten. Equal size and time mean
    // unchanged; otherwise the content decides (a file touched but not changed is unchanged).
    bool Geaendert(const QString& pfad) const;

    bool operator==(const Dateistand&) const = default;

private:
    qint64 zGroesse = -1;
    QDateTime zZeit;
    QByteArray zPruefsumme;
};
