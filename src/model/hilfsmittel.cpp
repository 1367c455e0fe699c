#include "hilfsmittel.h"

#include <QList>
#include <QStringDecoder>

namespace {

bool IstSkalarwert(qint64 c)
{
    return c >= 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

QString AusCodepunkten(const QList<uint>& punkte)
{
    // Built character by character: Qt's UTF-32 decoding would take a U+FEFF for a byte
    // order mark and drop it.
    QString ergebnis;
    ergebnis.reserve(punkte.size());
    for (uint c : punkte) {
        if (QChar::requiresSurrogates(c)) {
            ergebnis.append(QChar(QChar::highSurrogate(c)));
            ergebnis.append(QChar(QChar::lowSurrogate(c)));
        } else {
            ergebnis.append(QChar(char16_t(c)));
        }
    }
    return ergebnis;
}

} // namespace

namespace Hilfsmittel {

QString AusUtf8(const QByteArray& bytes, bool* gueltig)
{
    // A U+FEFF at the start is text here, not a byte order mark.
    QStringDecoder dekoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = dekoder.decode(bytes);
    if (gueltig)
        *gueltig = !dekoder.hasError();
    return text;
}

QString NoSpace(const QString& text)
{
    QString ergebnis = text;
    ergebnis.remove(QLatin1Char(' '));
    return ergebnis;
}

QString KommaVorneKommaHinten(const QString& text)
{
    QString t = text.trimmed();
    if (!t.endsWith(QLatin1Char(',')))
        t.append(QLatin1Char(','));
    if (!t.startsWith(QLatin1Char(',')))
        t.prepend(QLatin1Char(','));
    return NoSpace(t);
}

QString ZahlAlsZweistelligerString(qint64 zahl)
{
    if (zahl < 10)
        return QLatin1Char('0') + QString::number(zahl);
    return QString::number(zahl);
}

QString ErzeugeStringAusDateTime(const QDateTime& zeitpunkt)
{
    const QDate d = zeitpunkt.date();
    return ZahlAlsZweistelligerString(d.day()) + QLatin1Char('.') +
           ZahlAlsZweistelligerString(d.month()) + QLatin1Char('.') + QString::number(d.year());
}

QString Chiffre(const QString& text)
{
    QList<uint> punkte = text.toUcs4();
    qint64 k = 3;
    for (uint& c : punkte) {
        const qint64 neu = qint64(c) + k;
        c = IstSkalarwert(neu) ? uint(neu) : 0xFFFDu;
        ++k;
    }
    return AusCodepunkten(punkte);
}

bool ChiffreMoeglich(const QString& text)
{
    const QList<uint> punkte = text.toUcs4();
    qint64 k = 3;
    for (uint c : punkte) {
        if (!IstSkalarwert(qint64(c) + k))
            return false;
        ++k;
    }
    return true;
}

bool DeChiffreMoeglich(const QString& text)
{
    const QList<uint> punkte = text.toUcs4();
    qint64 k = 3;
    for (uint c : punkte) {
        if (!IstSkalarwert(qint64(c) - k))
            return false;
        ++k;
    }
    return true;
}

QString DeChiffre(const QString& text)
{
    QList<uint> punkte = text.toUcs4();
    qint64 k = 3;
    for (uint& c : punkte) {
        const qint64 neu = qint64(c) - k;
        // A damaged file can hold texts that no scrambling produced.
        c = IstSkalarwert(neu) ? uint(neu) : 0xFFFDu;
        ++k;
    }
    return AusCodepunkten(punkte);
}

bool GleichOhneGross(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Dateiname(const QString& text)
{
    static const QString Verboten = QStringLiteral("/\\:*?\"<>|");
    QString name;
    name.reserve(text.size());
    for (const QChar c : text) {
        const bool steuer = c.category() == QChar::Other_Control || c == QChar(0x2028)
            || c == QChar(0x2029);
        name += steuer || Verboten.contains(c) ? QLatin1Char('-') : c;
    }
    // Blanks and dots at the ends: hidden files, names some systems refuse.
    qsizetype anfang = 0;
    qsizetype ende = name.size();
    const auto rand = [](QChar c) { return c.isSpace() || c == QLatin1Char('.'); };
    while (anfang < ende && rand(name.at(anfang)))
        ++anfang;
    while (ende > anfang && rand(name.at(ende - 1)))
        --ende;
    return name.mid(anfang, ende - anfang);
}

} // namespace Hilfsmittel
