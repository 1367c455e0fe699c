#include "befehlszeile.h"
#include "einzelinstanz.h"
#include "ravirireru.h"

#include <csignal>

int main(int argc, char** argv)
{
    // "--help" and "--version" need no window and no display.
    if (const auto code = Befehlszeile::Beantworten(argc, argv))
        return *code;
    // A write beyond the file size limit fails with an error the save reports, instead of
    // ending the program at once.
    std::signal(SIGXFSZ, SIG_IGN);
    RAVIRIreru app(argc, argv);
    const QString dokument = app.DokumentAusArgumenten();

    // One program per user and display: a later start hands its file over and ends.
    Einzelinstanz instanz;
    if (instanz.Uebergeben(dokument))
        return 0;
    instanz.Lauschen();
    QObject::connect(&instanz, &Einzelinstanz::Angefordert, &app, &RAVIRIreru::ZweiterStart);

    app.Starten(dokument);
    return app.exec();
}
