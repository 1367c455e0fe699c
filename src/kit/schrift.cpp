#include "schrift.h"

namespace Schrift {

QFont Arial(int punkte)
{
    QFont schrift(QStringLiteral("Arial"));
    schrift.setStyleHint(QFont::SansSerif);
    schrift.setPixelSize(punkte);
    return schrift;
}

} // namespace Schrift
