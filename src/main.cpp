#include "ravirireru.h"

int main(int argc, char** argv)
{
    RAVIRIreru app(argc, argv);
    return app.exec();
}
