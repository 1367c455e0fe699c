#pragma once

#include <QFont>

// The fonts of the window designs. The designs give positions and sizes in pixels and font
// sizes in points of a 72-dpi screen, where a point is a pixel; so a design size of 13 points
// is 13 pixels here, whatever the screen's resolution, and the texts fit their controls as
// designed. "Arial" is served by a metric-compatible font (Liberation Sans) where Arial is
// not installed.
namespace Schrift {
QFont Arial(int punkte);
} // namespace Schrift
