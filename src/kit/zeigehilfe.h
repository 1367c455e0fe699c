#pragma once

#include <QString>
#include <QUrl>

// The help pages. They come with the program (its resources, and installed beside it for a
// browser); the build may name a web site instead (RAVIRIRERU_HILFE_BASIS, ending in "/").
namespace Hilfsmittel {

// The address of a help page: base + name + ".html", or base + "index.html" for an empty
// name; anker, when given, as the place on the page ("#kursauswahl"). Without a web site
// of the build the base is the pages inside the program ("qrc:/hilfe/").
QUrl HilfeAdresse(const QString& seite, const QString& anker = QString());
// Shows the help page: the pages of the program in its own help window; a web site of the
// build in the user's browser, and when no browser takes it, the program's own pages.
void ZeigeHilfe(const QString& seite, const QString& anker = QString());

} // namespace Hilfsmittel
