#pragma once

#include <QDateTime>
#include <QString>

// Small text utilities used across the program.
namespace Hilfsmittel {

// The normal form of a comma-separated list: trimmed, a comma at both ends, no blanks.
// An empty or blank text becomes ",".
QString KommaVorneKommaHinten(const QString& text);
// Removes every space character (U+0020); tabs and other white space stay.
QString NoSpace(const QString& text);
// 7 -> "07", 0 -> "00", 10 -> "10".
QString ZahlAlsZweistelligerString(qint64 zahl);
// Day.Month.Year, e.g. "05.03.2025".
QString ErzeugeStringAusDateTime(const QDateTime& zeitpunkt);

// The text scrambling of the file format: the n-th code point is moved by n + 2.
QString Chiffre(const QString& text);
// moeglich (when given) says whether the text can have been made by Chiffre (see
// DeChiffreMoeglich).
QString DeChiffre(const QString& text, bool* moeglich = nullptr);
// True when Chiffre(text) consists of valid Unicode scalar values only (so that it can be
// written as UTF-8 and read back unchanged).
bool ChiffreMoeglich(const QString& text);

// True when DeChiffre(text) consists of valid Unicode scalar values only, i.e. text can
// have been made by Chiffre.
bool DeChiffreMoeglich(const QString& text);

// Decodes UTF-8 from our files, keeping a leading U+FEFF as a character. Invalid bytes
// become U+FFFD; gueltig (when given) says whether there were none.
QString AusUtf8(const QByteArray& bytes, bool* gueltig = nullptr);

// A text from a file as it may be shown in a window title, a message or a file name: control
// characters (ESC, BEL, line breaks …), the direction controls that could make a text read
// otherwise than it is (U+202A–U+202E, U+2066–U+2069, U+200E, U+200F, U+061C) and the line
// and paragraph separators become "�" (U+FFFD); everything else stays. With zeilen, line
// breaks stay (the program's own messages are made of lines).
QString Sichtbar(const QString& text, bool zeilen = false);
// Whether text holds any of those characters.
bool Unsichtbares(const QString& text, bool zeilen = false);
// Whether c is one of them (a line break counts).
bool Verdaechtig(char32_t c);

// Compares two texts without regard to letter case.
bool GleichOhneGross(const QString& a, const QString& b);
// A path as messages show it: in German quotes, with the system's separators ("„C:\\a.zln“").
QString PfadAnzeige(const QString& pfad);
// Whether two paths name the same file (links resolved); paths of files that do not exist
// are compared as absolute paths.
bool GleicheDatei(const QString& a, const QString& b);

} // namespace Hilfsmittel
