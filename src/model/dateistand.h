#pragma once

#include <QByteArray>
#include <QString>

// What a file on disk looked like when the program last read or wrote it: size, times of the
// last change, which file it is, and a checksum of the content. Before the course-list file is
// replaced, its state now is compared with this one, so that a file changed by someone else
// (another program, a copy over the network) is not overwritten without asking.
class Dateistand {
public:
    Dateistand() = default;
    // The state of the file at pfad whose content is bytes (just read or just written).
    static Dateistand Von(const QString& pfad, const QByteArray& bytes);
    // The same with the checksum of bytes already taken (Pruefsumme).
    static Dateistand Von(const QString& pfad, const QByteArray& bytes, QByteArray pruefsumme);
    // A fast checksum of bytes: it only has to tell a changed file from the same one, nobody
    // forges it.
    static QByteArray Pruefsumme(const QByteArray& bytes);
    // True when the file at pfad is still the one this state describes by its size, times,
    // inode and device (as Geaendert takes it, without reading it) and its content had the
    // checksum pruefsumme: writing content of that checksum changes nothing in it.
    bool Unveraendert(const QString& pfad, const QByteArray& pruefsumme) const;

    bool Bekannt() const { return !zPruefsumme.isEmpty(); }
    // The file's size then (-1 when not known).
    qint64 Groesse() const { return zGroesse; }
    // True when the file at pfad no longer is what this state describes. A file that is gone
    // (or anything but a file in its place) counts as unchanged: nothing of anyone's would be
    // overwritten.
    // When size, both times to the nanosecond, inode and device are all as they were, the
    // file is taken as unchanged without reading it: any write, rename over it, copy in its
    // place or change of its times or rights sets the status time (ctime) to the clock's
    // present, which no program can set back (touch -d sets only mtime and atime). What this
    // misses: a change of the same size within one tick of the file system's clock after our
    // own write (the kernel stamps files from a coarse clock, a few milliseconds), a clock set
    // back by hand, a file system that keeps no such times (some network shares), and someone
    // with root rights writing the block device. Otherwise the content decides (a file
    // touched but not changed is unchanged).
    bool Geaendert(const QString& pfad) const;

    bool operator==(const Dateistand&) const = default;

private:
    // What stat says of a file: its size, the times of its last change of content (mtime)
    // and of its last change of any kind (ctime), to the nanosecond, and which file it is.
    struct Merkmale {
        qint64 groesse = -1;
        qint64 geaendertSek = 0;
        qint64 geaendertNsek = 0;
        qint64 statusSek = 0;
        qint64 statusNsek = 0;
        quint64 knoten = 0;
        quint64 geraet = 0;
        bool operator==(const Merkmale&) const = default;
    };
    // false when pfad is no regular file (or cannot be looked at).
    static bool MerkmaleVon(const QString& pfad, Merkmale& merkmale);

    qint64 zGroesse = -1;
    Merkmale zMerkmale;
    QByteArray zPruefsumme;
};
