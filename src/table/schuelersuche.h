#pragma once

#include <QString>
#include <QStringList>

// Finding a student by a part of the name, as the course window's search field does:
// letter case and accents do not count ("mull" finds "Müller", "ZOE" finds "Zoë", "strasse"
// finds "Straße").
namespace Schuelersuche {

// The text as it is compared: accents removed, ß as ss, letter case folded.
QString Falten(const QString& text);

// The first name at or after position ab (wrapping round to the start) that holds text;
// -1 when none does or text is empty.
int Finden(const QStringList& namen, const QString& text, int ab = 0);

} // namespace Schuelersuche
