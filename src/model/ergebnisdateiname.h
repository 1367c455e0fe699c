#pragma once

#include <QString>

// The name of a grade result file on disk. The name stem is made of course fields that come
// from the school's file and may hold anything; what reaches the file system is always one
// plain file name in the folder the teacher chose, ending in ".zle".
class ErgebnisDateiname {
public:
    // The extension of a grade result file.
    static inline const QString Endung = QStringLiteral(".zle");
    // The longest file name, extension included, in bytes of UTF-8. File systems allow 255;
    // the rest leaves room for the temporary name of an atomic save next to the file.
    static constexpr int HoechstBytes = 200;

    // name as a harmless file name: "/", "\", NUL and every other control character (C0, DEL,
    // C1, line and paragraph separators) and a leading "." become "_"; the result is cut to at
    // most hoechstBytes bytes of UTF-8 between two characters as a reader sees them (never
    // inside a character or between a letter and its accent). Never empty: "_" for an empty name.
    static QString Bereinigt(const QString& name, int hoechstBytes = HoechstBytes);

    // The stem of a result file name made from course fields: Bereinigt, cut so that the stem
    // with Endung fits HoechstBytes.
    static QString Stamm(const QString& rohstamm);

    // The path the teacher chose in the save dialog, made safe: its file name cleaned as above
    // (so the file lands in the chosen folder) and ending in ".zle" (appended when it ends
    // otherwise, letter case aside). Empty for an empty choice (the dialog was cancelled).
    static QString Pfad(const QString& gewaehlt);

    // The stem of a result file's path: its file name without ".zle" (the mail subject).
    static QString StammAus(const QString& pfad);

    // The file name of a path ("Noten Q1-M-LK2-ABC.zle") and its folder in the platform's
    // notation ("/home/lehrer/Noten"), as the messages name them.
    static QString Name(const QString& pfad);
    static QString Ordner(const QString& pfad);
};
