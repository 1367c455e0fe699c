#pragma once

#include <QStringList>

class QDropEvent;

// Drops onto the grade table and its header: both take only the column drag of our course
// windows.
namespace Spaltenziehen {
// Accepts the drag or drop when it carries one of typen, otherwise ignores it; true when
// accepted. (QDragEnterEvent and QDragMoveEvent are drop events too.)
bool Bewerten(QDropEvent* ereignis, const QStringList& typen);
} // namespace Spaltenziehen
