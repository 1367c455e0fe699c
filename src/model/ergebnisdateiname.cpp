#include "ergebnisdateiname.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBoundaryFinder>

namespace {

bool Verboten(char32_t u)
{
    return u == u'/' || u == u'\\' || u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028
        || u == 0x2029;
}

// The longest start of text that fits hoechstBytes of UTF-8 and ends between two graphemes
// (so a letter keeps its combining accent and a surrogate pair stays whole).
QString Kuerzen(const QString& text, int hoechstBytes)
{
    if (text.toUtf8().size() <= hoechstBytes)
        return text;
    QTextBoundaryFinder grenzen(QTextBoundaryFinder::Grapheme, text);
    qsizetype passt = 0;
    qsizetype bytes = 0;
    qsizetype vorher = 0;
    for (qsizetype stelle = grenzen.toNextBoundary(); stelle > 0;
         stelle = grenzen.toNextBoundary()) {
        bytes += QStringView(text).mid(vorher, stelle - vorher).toUtf8().size();
        if (bytes > hoechstBytes)
            break;
        passt = stelle;
        vorher = stelle;
    }
    return text.left(passt);
}

} // namespace

QString ErgebnisDateiname::Bereinigt(const QString& name, int hoechstBytes)
{
    QString sauber;
    sauber.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            sauber.append(c);
            sauber.append(name.at(++i));
        } else if (c.isSurrogate()) {
            sauber.append(QChar(0xFFFD)); // half a pair is no character: no valid UTF-8
        } else {
            sauber.append(Verboten(c.unicode()) ? QChar(u'_') : c);
        }
    }
    if (sauber.startsWith(u'.'))
        sauber[0] = u'_';
    sauber = Kuerzen(sauber, qMax(1, hoechstBytes));
    return sauber.isEmpty() ? QStringLiteral("_") : sauber;
}

QString ErgebnisDateiname::Stamm(const QString& rohstamm)
{
    return Bereinigt(rohstamm, HoechstBytes - int(Endung.size()));
}

QString ErgebnisDateiname::Pfad(const QString& gewaehlt)
{
    if (gewaehlt.isEmpty())
        return {};
    // The folder part stays as the dialog gave it (Qt's dialogs use "/" on every platform).
    const qsizetype trenner = gewaehlt.lastIndexOf(u'/');
    const QString ordner = gewaehlt.left(trenner + 1);
    QString stamm = gewaehlt.mid(trenner + 1);
    QString endung = Endung;
    if (stamm.size() > Endung.size() && stamm.endsWith(Endung, Qt::CaseInsensitive)) {
        endung = stamm.right(Endung.size());
        stamm.chop(Endung.size());
    }
    return ordner + Stamm(stamm) + endung;
}

QString ErgebnisDateiname::StammAus(const QString& pfad)
{
    QString name = QFileInfo(pfad).fileName();
    if (name.endsWith(Endung, Qt::CaseInsensitive))
        name.chop(Endung.size());
    return name;
}

QString ErgebnisDateiname::Name(const QString& pfad)
{
    return QFileInfo(pfad).fileName();
}

QString ErgebnisDateiname::Ordner(const QString& pfad)
{
    return QDir::toNativeSeparators(QFileInfo(pfad).absolutePath());
}
