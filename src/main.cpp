#include "ravirireru.h"

#include <csignal>

int main(int argc, char** argv)
{
    // A write beyond the file size limit fails with an error the save reports, instead of
    // ending the program at once.
    std::signal(SIGXFSZ, SIG_IGN);
    RAVIRIreru app(argc, argv);
    app.Starten(app.DokumentAusArgumenten());
    return app.exec();
}
