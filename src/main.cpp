#include "ravirireru.h"

int main(int argc, char** argv)
{
    RAVIRIreru app(argc, argv);
    app.Starten(app.DokumentAusArgumenten());
    return app.exec();
}
