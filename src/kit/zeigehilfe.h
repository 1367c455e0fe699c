#pragma once

#include <QString>
#include <QUrl>

// The help pages. The base address is a setting of the build (ending in "/"); a local
// folder that does not exist (the program runs from its build tree) falls back to the help
// pages of the source tree.
namespace Hilfsmittel {

// The address of a help page: base + name + ".html", or base + "index.html" for an empty name.
QUrl HilfeAdresse(const QString& seite);
// Opens the help page in the user's web browser (through the platform); reports nothing.
void ZeigeHilfe(const QString& seite);

} // namespace Hilfsmittel
