// ravirireru-datei: shows, checks and makes course-list files (.zln) and shows grade
// result files (.zle) on the command line. Links the model library only.

#include "datenbestand.h"
#include "ergebnisdatei.h"
#include "jsonabbild.h"
#include "programmversion.h"
#include "sicheresschreiben.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <new>
#include <unistd.h>

namespace {

enum Rueckgabe { Gut = 0, Abgelehnt = 1, FalscherAufruf = 2 };

const char* const Aufruf = "Aufruf: ravirireru-datei json [--geheim] DATEI\n"
                           "        ravirireru-datei zln JSON AUSGABE\n"
                           "        ravirireru-datei pruefen DATEI\n"
                           "        ravirireru-datei --help | --version\n";

const char* const Hilfe
    = "ravirireru-datei – Notenlisten-Dateien (.zln) und Noten-Ergebnis-Dateien (.zle) ansehen,\n"
      "prüfen und erzeugen.\n"
      "\n"
      "Befehle:\n"
      "  json [--geheim] DATEI\n"
      "      Gibt die Datei als JSON aus: jedes Feld unter seinem Namen, in der Reihenfolge\n"
      "      der Datei, verschlüsselte Texte im Klartext. Das Feld \"Dateiart\" sagt, ob es\n"
      "      eine \"Kursliste\" (.zln) oder ein \"Ergebnis\" (.zle) ist.\n"
      "      Die sechs Geheimnisse (NotenPass, EMailAdresse, Absender, Server, Benutzer, Pass)\n"
      "      erscheinen als \"***\", außer mit --geheim.\n"
      "  zln JSON AUSGABE\n"
      "      Schreibt aus einer JSON-Datei (so wie \"json --geheim\" sie ausgibt) eine\n"
      "      Notenlisten-Datei. Jeder Wert wird geprüft; ein fehlendes Feld, ein falscher Typ,\n"
      "      ein zu langer Text oder eine zu große Zahl wird mit dem Namen des Feldes gemeldet,\n"
      "      und es wird keine Datei geschrieben. Eine vorhandene AUSGABE wird nur ersetzt,\n"
      "      wenn die neue Datei vollständig geschrieben ist.\n"
      "  pruefen DATEI\n"
      "      Liest die Datei so, wie das Programm sie liest, und fasst sie in einer Zeile\n"
      "      zusammen (Art, Halbjahr, Zahl der Schüler, Kurse und Zeilen).\n"
      "\n"
      "Optionen:\n"
      "  --geheim       (nur bei json) die Geheimnisse im Klartext ausgeben\n"
      "  --help, -h     diese Hilfe\n"
      "  --version, -v  die Version des Werkzeugs\n"
      "\n"
      "Rückgabewerte:\n"
      "  0  alles in Ordnung\n"
      "  1  die Datei wurde abgelehnt, ist beschädigt oder die Ausgabe ließ sich nicht\n"
      "     schreiben (die Meldung steht auf stderr)\n"
      "  2  falscher Aufruf\n";

void Ausgeben(FILE* ziel, const QByteArray& text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), ziel);
    std::fflush(ziel);
}

// The tool's result on standard output, every byte checked: a full disk is a failure with its
// reason, never a silent exit 0.
int Ergebnis(const QByteArray& text)
{
    const int fehler = SicheresSchreiben::AllesSchreiben(STDOUT_FILENO, text);
    if (fehler == 0)
        return Gut;
    const QString grund = SicheresSchreiben::Grund(fehler, QStringLiteral("stdout"));
    Ausgeben(stderr,
        QStringLiteral("ravirireru-datei: Die Ausgabe konnte nicht geschrieben werden. %1\n")
            .arg(grund)
            .toUtf8());
    return Abgelehnt;
}

int Melden(const QString& datei, const QString& meldung)
{
    const QString zeile = datei.isEmpty() ? meldung : datei + QStringLiteral(": ") + meldung;
    Ausgeben(stderr, zeile.toUtf8() + '\n');
    return Abgelehnt;
}

int FalschAufgerufen(const QString& grund)
{
    Ausgeben(stderr, "ravirireru-datei: " + grund.toUtf8() + "\n" + Aufruf);
    return FalscherAufruf;
}

// Opens a file for reading with the program's messages for a missing or unreadable file.
bool Oeffnen(QFile& datei, QString& meldung)
{
    if (!datei.exists()) {
        meldung = Meldungen::DateiFehlt;
        return false;
    }
    if (!datei.open(QIODevice::ReadOnly)) {
        meldung = Meldungen::NichtLesbar;
        return false;
    }
    return true;
}

// A grade result file starts with the byte 1; everything else is read as the program reads
// a course-list file (which refuses it with its own message).
bool IstErgebnis(QFile& datei)
{
    const QByteArray erstes = datei.peek(1);
    return erstes.size() == 1 && erstes.at(0) == 1;
}

// A text from a file as it may go to a terminal: control and format characters (an escape
// sequence, a line break, a right-to-left override) are written as \xNN or \u{NNNN}, and a
// backslash as \\, so that a file cannot change the terminal or what the line seems to say.
QString Sichtbar(const QString& text)
{
    QString ergebnis;
    ergebnis.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category art = QChar::category(c);
        if (c == U'\\')
            ergebnis += QStringLiteral("\\\\");
        else if (art == QChar::Other_Control || art == QChar::Other_Format
            || art == QChar::Separator_Line || art == QChar::Separator_Paragraph)
            ergebnis += c < 0x100 ? QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'))
                                  : QStringLiteral("\\u{%1}").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            ergebnis += QString::fromUcs4(&c, 1);
    }
    return ergebnis;
}

QString Kurstext(const Kurs& k)
{
    return QStringLiteral("%1-%2%3-%4")
        .arg(Sichtbar(k.Kuerzel), Sichtbar(k.KursArt))
        .arg(k.kNr)
        .arg(Sichtbar(k.Lehrer));
}

QString Anzahl(qint64 n, const char* einzahl, const char* mehrzahl)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? einzahl : mehrzahl));
}

int Json(const QString& pfad, bool geheim)
{
    QFile datei(pfad);
    QString meldung;
    if (!Oeffnen(datei, meldung))
        return Melden(pfad, meldung);
    if (IstErgebnis(datei)) {
        Ergebnisdatei ergebnis;
        if (!Ergebnisdatei::Lesen(datei, ergebnis, meldung))
            return Melden(pfad, meldung);
        return Ergebnis(JsonAbbild::Ergebnis(ergebnis));
    }
    Datenbestand daten;
    Spaltenstruktur struktur;
    if (!Datenbestand::Lesen(datei, daten, struktur, meldung))
        return Melden(pfad, meldung);
    return Ergebnis(JsonAbbild::Kursliste(daten, struktur, geheim));
}

int Zln(const QString& jsonPfad, const QString& ausgabe)
{
    QByteArray bytes;
    Spaltenstruktur struktur;
    QString meldung;
    {
        QFile eingabe(jsonPfad);
        if (!eingabe.open(QIODevice::ReadOnly))
            return Melden(jsonPfad, QStringLiteral("Die JSON-Datei konnte nicht gelesen werden."));
        // Every value is checked as it is read (its field, its length, that the file gives it
        // back unchanged); the JSON text and document are let go on the way.
        if (!JsonAbbild::KurslisteKodieren(eingabe.readAll(), bytes, struktur, meldung))
            return Melden(jsonPfad, meldung);
    }

    // What we write must load in the program exactly as written: the program's own reader
    // reads it once (what it refuses, such as a row with more entries than the catalogue or
    // more than reading may take, is refused here). It drops a stored column layout that does
    // not fit the flags and the catalogue: say so instead of writing a file that loses it.
    {
        QBuffer probe(&bytes);
        probe.open(QIODevice::ReadOnly);
        Datenbestand gelesen;
        Spaltenstruktur gelesenStruktur;
        if (!Datenbestand::Lesen(probe, gelesen, gelesenStruktur, meldung))
            return Melden(ausgabe,
                QStringLiteral("Die erzeugte Datei ließe sich nicht laden (%1); "
                               "sie wird nicht geschrieben.")
                    .arg(meldung));
        if (!(gelesenStruktur == struktur))
            return Melden(jsonPfad,
                QStringLiteral("Feld Spalten: die Spalten passen nicht zu ErsteSpalte, zu "
                               "mitMarkAbitur und mitWarnung oder zur Zahl der Einträge in "
                               "alleEintraege; das Programm würde sie verwerfen. Für die "
                               "Standard-Spalten: \"Spalten\": [] und \"ErsteSpalte\": 0."));
    }

    if (!Datenbestand::SchreibeDatei(ausgabe, bytes, meldung))
        return Melden(
            ausgabe, QStringLiteral("Die Datei konnte nicht geschrieben werden. ") + meldung);
    return Gut;
}

int Pruefen(const QString& pfad)
{
    QFile datei(pfad);
    QString meldung;
    if (!Oeffnen(datei, meldung))
        return Melden(pfad, meldung);
    QString zeile;
    if (IstErgebnis(datei)) {
        Ergebnisdatei e;
        if (!Ergebnisdatei::Lesen(datei, e, meldung))
            return Melden(pfad, meldung);
        zeile = QStringLiteral("%1 (RAVIRIreru-Ergebnis) für den Kurs %2, Halbjahr %3 „%4“: "
                               "%5, 1 Kurs, %6.")
                    .arg(e.istAbiturListe ? QStringLiteral("Abitur-Ergebnis")
                                          : QStringLiteral("Ergebnis"),
                        Kurstext(e.kurs))
                    .arg(e.Halbjahr)
                    .arg(Sichtbar(e.HalbjahrKuerzel),
                        Anzahl(e.alleSchueler.AnzahlSchueler(), "Schüler", "Schüler"),
                        Anzahl(e.alleSchuelerKurse.AnzahlKurse(), "Zeile", "Zeilen"));
    } else {
        Datenbestand d;
        Spaltenstruktur s;
        if (!Datenbestand::Lesen(datei, d, s, meldung))
            return Melden(pfad, meldung);
        zeile = QStringLiteral("%1 (ZELTA-NotenDatei), Halbjahr %2 „%3“: %4, %5, %6.")
                    .arg(d.istAbiturListe ? QStringLiteral("Abitur-Kursliste")
                                          : QStringLiteral("Kursliste"))
                    .arg(d.Halbjahr)
                    .arg(Sichtbar(d.HalbjahrKuerzel),
                        Anzahl(d.alleSchueler.AnzahlSchueler(), "Schüler", "Schüler"),
                        Anzahl(d.alleKurse.AnzahlKurse(), "Kurs", "Kurse"),
                        Anzahl(d.alleSchuelerKurse.AnzahlKurse(), "Zeile", "Zeilen"));
    }
    return Ergebnis(zeile.toUtf8() + '\n');
}

int Befehl(int argc, char** argv);

} // namespace

int main(int argc, char** argv)
{
    // A write beyond the file size limit fails with a message instead of ending the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        return Befehl(argc, argv);
    } catch (const std::bad_alloc&) {
        Ausgeben(
            stderr, QByteArray("ravirireru-datei: Es ist nicht genug Arbeitsspeicher frei.\n"));
        return Abgelehnt;
    }
}

namespace {

int Befehl(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ravirireru-datei"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Programmversion::Voll));

    // Our own texts instead of the parser's English ones: the options are declared for the
    // parsing, the help is the German text above. "--" ends the options, so a file may be
    // called "--geheim".
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption hilfe(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(
        QStringList { QStringLiteral("v"), QStringLiteral("version") });
    const QCommandLineOption geheim(QStringLiteral("geheim"));
    parser.addOptions({ hilfe, version, geheim });
    const bool gelesen = parser.parse(QCoreApplication::arguments());
    if (parser.isSet(hilfe)) {
        Ausgeben(stdout, QByteArray(Hilfe) + '\n' + Aufruf);
        return Gut;
    }
    if (!gelesen) {
        const QStringList unbekannt = parser.unknownOptionNames();
        return FalschAufgerufen(unbekannt.isEmpty()
                ? parser.errorText()
                : QStringLiteral("Unbekannte Option „%1“.")
                      .arg((unbekannt.first().size() == 1 ? QStringLiteral("-")
                                                          : QStringLiteral("--"))
                          + unbekannt.first()));
    }
    if (parser.isSet(version)) {
        Ausgeben(stdout, "ravirireru-datei " + QByteArray(Programmversion::Voll) + '\n');
        return Gut;
    }

    QStringList dateien = parser.positionalArguments();
    if (dateien.isEmpty())
        return FalschAufgerufen(QStringLiteral("Es fehlt ein Befehl."));
    const QString befehl = dateien.takeFirst();
    if (parser.isSet(geheim) && befehl != QStringLiteral("json"))
        return FalschAufgerufen(QStringLiteral("Die Option „--geheim“ gilt nur für „json“."));

    auto dateiAnzahl = [&](qsizetype n) { return dateien.size() == n; };
    if (befehl == QStringLiteral("json")) {
        if (!dateiAnzahl(1))
            return FalschAufgerufen(QStringLiteral("„json“ erwartet genau eine Datei."));
        return Json(dateien.at(0), parser.isSet(geheim));
    }
    if (befehl == QStringLiteral("zln")) {
        if (!dateiAnzahl(2))
            return FalschAufgerufen(
                QStringLiteral("„zln“ erwartet eine JSON-Datei und eine Ausgabedatei."));
        return Zln(dateien.at(0), dateien.at(1));
    }
    if (befehl == QStringLiteral("pruefen")) {
        if (!dateiAnzahl(1))
            return FalschAufgerufen(QStringLiteral("„pruefen“ erwartet genau eine Datei."));
        return Pruefen(dateien.at(0));
    }
    return FalschAufgerufen(QStringLiteral("Unbekannter Befehl „%1“.").arg(befehl));
}

} // namespace
