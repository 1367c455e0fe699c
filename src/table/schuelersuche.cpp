#include "schuelersuche.h"

namespace Schuelersuche {

QString Falten(const QString& text)
{
    const QString zerlegt = text.normalized(QString::NormalizationForm_KD);
    QString ergebnis;
    ergebnis.reserve(zerlegt.size());
    for (const QChar z : zerlegt) {
        if (z.category() == QChar::Mark_NonSpacing)
            continue;
        if (z == QChar(0x00DF) || z == QChar(0x1E9E)) // ß, ẞ
            ergebnis += QStringLiteral("ss");
        else
            ergebnis += z;
    }
    return ergebnis.toCaseFolded();
}

int Finden(const QStringList& namen, const QString& text, int ab)
{
    const QString gesucht = Falten(text.trimmed());
    if (gesucht.isEmpty() || namen.isEmpty())
        return -1;
    const int anzahl = int(namen.size());
    const int start = ab >= 0 && ab < anzahl ? ab : 0;
    for (int i = 0; i < anzahl; ++i) {
        const int zeile = (start + i) % anzahl;
        if (Falten(namen.at(zeile)).contains(gesucht))
            return zeile;
    }
    return -1;
}

} // namespace Schuelersuche
