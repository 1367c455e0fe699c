#pragma once

#include "sicheresschreiben.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The earlier versions of a course-list file, kept in a folder beside it: before a save
// replaces the file, the version it replaces becomes a backup
// ("RAVIRIreru-Sicherungen/Kursliste-2025-03-14-153012.zln" for "Kursliste.zln"), and only
// the newest Anzahl backups stay. Every backup is a whole course-list file, written like any
// other file of the program (SicheresSchreiben); going back to one means opening it (or
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
    // Keeps vorher (the content pfad held until now) as the backup made at zeit, then
    // removes all but the newest Anzahl backups of pfad. Two backups of the same second get
    // a running number ("…-153012-2.zln"). A failure leaves the backups that were there.
    static SicheresSchreiben::Ergebnis Anlegen(const QString& pfad, const QByteArray& vorher,
        const QDateTime& zeit = QDateTime::currentDateTime());
};
