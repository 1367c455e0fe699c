#pragma once

#include "sicheresschreiben.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The earlier versions of a course-list file, kept in a folder beside it: before a save
// replaces the file, the version it replaces becomes a backup
// ("RAVIRIreru-Sicherungen/Kursliste-2025-03-14-153012-Nr17.zln" for "Kursliste.zln": the
// local time for the teacher, and a running number that gives the order), and only the
// newest Anzahl backups stay. The order is that of the running numbers, never that of the
// clock: a clock set back (the end of summer time, a computer whose clock was ahead) or many
// saves in one second never make a new backup look older than an old one, and the one just
// written is never among those removed. Names from before the running number (without "Nr")
// count as older than every numbered one, among themselves by their time.
//
// The folder is the user's alone (0700), each backup has the rights of the course-list
// file; nothing is written through a link (a link named like the next backup is passed
// over, a link in place of the folder refused). Every backup is a whole course-list file, written
// like any other file of the program (SicheresSchreiben); going back to one means opening it (or
// copying it over the file) and nothing else. Other files in the folder are never touched.
// Nothing is shown here; the caller tells the teacher when a backup could not be made.
class Sicherungskopien {
public:
    // How many earlier versions stay.
    static constexpr int Anzahl = 5;
    static inline const QString OrdnerName = QStringLiteral("RAVIRIreru-Sicherungen");

    // The backup folder of the course-list file at pfad.
    static QString OrdnerVon(const QString& pfad);
    // The backups of the file at pfad, oldest first.
    static QStringList Liste(const QString& pfad);
    // Keeps vorher (the content pfad held until now) as the backup made at zeit (only its
    // name shows it), then removes all but the newest Anzahl backups of pfad. A failure
    // leaves the backups that were there.
    static SicheresSchreiben::Ergebnis Anlegen(const QString& pfad, const QByteArray& vorher,
        const QDateTime& zeit = QDateTime::currentDateTime());
};
