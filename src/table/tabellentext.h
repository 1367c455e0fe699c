#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Grade rows as text for other programs (a spreadsheet, a text editor): one line per row,
// the fields separated by tabs. Pure functions, no window and no clipboard.
namespace Tabellentext {

// The text of rows: the fields of each row joined by tabs, a line feed after every row.
QString Aus(const QList<QStringList>& zeilen);

// The rows of a text from another program: lines ended by CR LF, CR or LF, each split at its
// tabs. An empty line stays as a row without fields (it carries no value, but keeps the rows
// below it in their place); the empty piece after a final line end is no row.
QList<QStringList> Zeilen(const QString& text);

} // namespace Tabellentext
