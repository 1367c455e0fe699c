#pragma once

#include <QIcon>
#include <QRectF>
#include <QString>

class QPainter;

// Our pictures by their names ("ToolHilfe", "ravirireru", ...): drawn from their SVG where Qt
// has its SVG module, else from the PNG sizes the build rendered from the same SVG.
QIcon Bildsymbol(const QString& name);
// Draws the picture into ziel (the splash picture behind the splash and about windows).
void BildZeichnen(QPainter& maler, const QString& name, const QRectF& ziel);
