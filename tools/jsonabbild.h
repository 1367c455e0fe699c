#pragma once

#include <QByteArray>
#include <QString>

class Datenbestand;
class Ergebnisdatei;
class Spaltenstruktur;

// The JSON form of our two files, field by field under the names the program uses
// (istAbiturListe, Halbjahr, ... alleSchuelerKurse, Spalten, ErsteSpalte), keys in file
// order. Records become objects with their field names, lists become arrays, sets their
// text such as ",12,7,". Scrambled texts appear in plain text. The field "Dateiart" says
// "Kursliste" or "Ergebnis".
//
// The course-list form can be read back (KurslisteKodieren), so that a school can make
// course-list files from its own data: json --geheim, then zln, gives the same bytes.
class JsonAbbild {
public:
    // The text that stands for a hidden secret.
    static const QString Verborgen;
    static const QString ArtKursliste;
    static const QString ArtErgebnis;

    // The course-list file as JSON. Without geheim the six secrets (NotenPass,
    // EMailAdresse, Absender, Server, Benutzer, Pass) are replaced by Verborgen.
    static QByteArray Kursliste(
        const Datenbestand& daten, const Spaltenstruktur& struktur, bool geheim);
    // A grade result file as JSON (it holds no secrets).
    static QByteArray Ergebnis(const Ergebnisdatei& ergebnis);

    // Reads the JSON of a course-list file and makes the file's bytes; struktur gets the
    // column layout given. Every value is checked against what its field in the file can
    // hold, and a text is taken only when the file gives it back unchanged (valid UTF-16, a
    // scrambled text that can be unscrambled); the first fault gives false and a German
    // message that names the field. The JSON is read into a light tree of its own
    // (JsonBaum), which is let go before the bytes are put together.
    static bool KurslisteKodieren(
        QByteArray json, QByteArray& bytes, Spaltenstruktur& struktur, QString& meldung);
};
