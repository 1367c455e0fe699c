// Writes the course-list file of the benchmarks (Grossbestand) to a file, e.g. to look at
// it with "ravirireru-datei json" or to open it in the program:  grossdatei gross.zln

#include "grossbestand.h"

#include <QBuffer>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argumente = QCoreApplication::arguments();
    if (argumente.size() != 2) {
        std::fputs("Aufruf: grossdatei AUSGABE\n", stderr);
        return 2;
    }
    Datenbestand d;
    Spaltenstruktur s;
    Grossbestand::Erzeugen(d, s);
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!Datenbestand::Schreiben(puffer, d, s, meldung)
        || !Datenbestand::SchreibeDatei(argumente.at(1), bytes, meldung)) {
        std::fprintf(stderr, "%s\n", qPrintable(meldung));
        return 1;
    }
    return 0;
}
