#include "dateitypen.h"

namespace FileTypes {

const Dateityp& Notenergebnis()
{
    static const Dateityp typ { QStringLiteral("RAVIRIreru-Ergebnis"), QStringLiteral(".zle"),
        QStringLiteral("zlne"), QStringLiteral("zltn"), QString(),
        QStringLiteral("de.fernholm.ZELTA"), QStringLiteral("de.fernholm.ravirireru-ergebnis") };
    return typ;
}

const Dateityp& RAVIRIreru()
{
    static const Dateityp typ { QStringLiteral("ZELTA-NotenDatei"), QStringLiteral(".zln"),
        QStringLiteral("zlno"), QStringLiteral("zlt4"), QString(),
        QStringLiteral("de.fernholm.ZELTA"), QStringLiteral("de.fernholm.ZELTA-notendatei") };
    return typ;
}

const QList<Dateityp>& Alle()
{
    static const QList<Dateityp> alle { Notenergebnis(), RAVIRIreru() };
    return alle;
}

} // namespace FileTypes
