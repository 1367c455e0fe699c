#include "befehlszeile.h"

#include "programmversion.h"

#include <QByteArray>
#include <cstdio>
#include <cstring>

namespace Befehlszeile {

namespace {

const char* const Hilfe
    = "Aufruf: ravirireru [DATEI.zln]\n"
      "\n"
      "RAVIRIreru – Noteneingabe für Lehrkräfte der gymnasialen Oberstufe.\n"
      "\n"
      "Das Programm öffnet die Kurslisten-Datei (.zln, „ZELTA-NotenDatei“), die die\n"
      "Schulverwaltung bereitstellt; ohne DATEI fragt es im Dialog „Notenlisten öffnen“\n"
      "nach ihr. Nach der Anmeldung mit dem Sicherheitspasswort werden je Kurs die Noten\n"
      "eingetragen und als Ergebnisdatei (.zle) gespeichert oder per E-Mail gesendet.\n"
      "\n"
      "Läuft RAVIRIreru schon, kommt das laufende Programm nach vorn; es arbeitet mit\n"
      "der Datei weiter, die es geöffnet hat.\n"
      "\n"
      "Optionen:\n"
      "  -h, --help     diese Hilfe\n"
      "  -v, --version  die Version des Programms\n";

bool Ausgeben(const QByteArray& text)
{
    const bool ok
        = std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
        && std::fflush(stdout) == 0;
    if (!ok)
        std::fputs("ravirireru: Die Ausgabe konnte nicht geschrieben werden.\n", stderr);
    return ok;
}

bool Ist(const char* argument, const char* kurz, const char* lang)
{
    return std::strcmp(argument, kurz) == 0 || std::strcmp(argument, lang) == 0;
}

} // namespace

std::optional<int> Beantworten(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break; // what follows are file names
        if (Ist(a, "-h", "--help"))
            return Ausgeben(Hilfe) ? 0 : 1;
        if (Ist(a, "-v", "--version"))
            return Ausgeben("RAVIRIreru " + QByteArray(Programmversion::Voll) + '\n') ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace Befehlszeile
