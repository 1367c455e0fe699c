#include "spaltenziehen.h"

#include <QDropEvent>
#include <QMimeData>

namespace Spaltenziehen {

bool Bewerten(QDropEvent* ereignis, const QStringList& typen)
{
    const QMimeData* daten = ereignis->mimeData();
    for (const QString& typ : typen) {
        if (daten && daten->hasFormat(typ)) {
            ereignis->acceptProposedAction();
            return true;
        }
    }
    ereignis->ignore();
    return false;
}

} // namespace Spaltenziehen
