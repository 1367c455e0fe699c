#pragma once

#include <QString>

// A text from the school's file or a window title made into one plain file name, so that
// what reaches the file system never names another folder, a hidden file or something a
// common system refuses. The two kinds of file the program names differ only in the rule.
class SichererDateiname {
public:
    struct Regel {
        // What takes the place of a character a file name must not hold.
        QChar ersatz;
        // Characters refused besides "/", "\" and the control characters (C0, DEL, C1, line
        // and paragraph separators), which every rule refuses.
        QString auchVerboten;
        // Blanks and dots at both ends removed (names some systems refuse or hide).
        bool raenderWeg = false;
        // A leading "." replaced (a hidden file).
        bool punktVorneErsetzen = false;
        // Half a surrogate pair (no character, no valid UTF-8) replaced by U+FFFD.
        bool halbeZeichenErsetzen = false;
        // The longest name in bytes of UTF-8, cut between two characters as a reader sees
        // them (never inside a character or between a letter and its accent); 0: no limit.
        int hoechstBytes = 0;
        // The name when nothing is left.
        QString leer;
    };

    // The characters Windows refuses in a name besides "/", "\" and control characters.
    static const QString WindowsVerboten;

    // Both rules put the replacement before a name Windows keeps for a device ("CON",
    // "lpt1.txt" become "_CON", "-lpt1.txt").
    // The grade result file: "/", "\", the characters of : * ? " < > | and control characters
    // become "_", a leading "." too, at most 200 bytes, "_" when empty (ErgebnisDateiname).
    static Regel Ergebnisdatei(int hoechstBytes);
    // A printout into a PDF file named after the window title: the characters of
    // / \ : * ? " < > | and control characters become "-", blanks and dots at both ends go,
    // empty when nothing is left.
    static Regel Druckdatei();

    static QString Aus(const QString& text, const Regel& regel);
};
