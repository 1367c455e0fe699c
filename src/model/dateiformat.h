#pragma once

#include <QtGlobal>

// The version of both file formats, the course-list file and the grade result file: the
// Int16 after the first field. The school's software writes and reads this version only.
namespace Dateiformat {
inline constexpr qint16 Version = 11;
} // namespace Dateiformat
