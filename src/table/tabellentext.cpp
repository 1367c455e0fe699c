#include "tabellentext.h"

namespace Tabellentext {

QString Aus(const QList<QStringList>& zeilen)
{
    QString text;
    for (const QStringList& felder : zeilen)
        text += felder.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

QList<QStringList> Zeilen(const QString& text)
{
    QString einheitlich = text;
    einheitlich.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    einheitlich.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList textzeilen = einheitlich.split(QLatin1Char('\n'));
    if (textzeilen.size() > 1 && textzeilen.last().isEmpty())
        textzeilen.removeLast();
    QList<QStringList> zeilen;
    zeilen.reserve(textzeilen.size());
    for (const QString& zeile : std::as_const(textzeilen))
        zeilen.append(zeile.isEmpty() ? QStringList() : zeile.split(QLatin1Char('\t')));
    return zeilen;
}

} // namespace Tabellentext
