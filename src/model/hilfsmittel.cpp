#include "hilfsmittel.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

bool IstSkalarwert(qint64 c)
{
    return c >= 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// The code point at i (a surrogate pair is one, a lone surrogate U+FFFD, as QString::toUcs4
// reads it); i moves past it.
char32_t Codepunkt(QStringView text, qsizetype& i)
{
    const char16_t c = text[i++].unicode();
    if (!QChar::isSurrogate(c))
        return c;
    if (QChar::isHighSurrogate(c) && i < text.size() && QChar::isLowSurrogate(text[i].unicode()))
        return QChar::surrogateToUcs4(c, text[i++].unicode());
    return 0xFFFD;
}

// Moves the n-th code point of text by richtung * (n + 2). A lone surrogate counts as U+FFFD
// (as QString::toUcs4 reads it); a result that is no Unicode scalar value becomes U+FFFD and
// clears *moeglich. Built character by character: Qt's UTF-32 decoding would take a U+FEFF for
// a byte order mark and drop it.
QString Verschieben(QStringView text, int richtung, bool* moeglich)
{
    if (moeglich)
        *moeglich = true;
    if (text.isEmpty())
        return {};
    QString ergebnis;
    ergebnis.reserve(text.size());
    bool gut = true;
    qint64 k = 3;
    for (qsizetype i = 0; i < text.size();) {
        qint64 neu = qint64(Codepunkt(text, i)) + richtung * k;
        if (!IstSkalarwert(neu)) {
            neu = 0xFFFD;
            gut = false;
        }
        const auto c = char32_t(neu);
        if (QChar::requiresSurrogates(c)) {
            ergebnis.append(QChar(QChar::highSurrogate(c)));
            ergebnis.append(QChar(QChar::lowSurrogate(c)));
        } else {
            ergebnis.append(QChar(char16_t(c)));
        }
        ++k;
    }
    if (moeglich)
        *moeglich = gut;
    return ergebnis;
}

bool Verschiebbar(QStringView text, int richtung)
{
    qint64 k = 3;
    for (qsizetype i = 0; i < text.size();) {
        if (!IstSkalarwert(qint64(Codepunkt(text, i)) + richtung * k))
            return false;
        ++k;
    }
    return true;
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
    return ZahlAlsZweistelligerString(d.day()) + QLatin1Char('.')
        + ZahlAlsZweistelligerString(d.month()) + QLatin1Char('.') + QString::number(d.year());
}

QString Chiffre(const QString& text)
{
    return Verschieben(text, +1, nullptr);
}

bool ChiffreMoeglich(const QString& text)
{
    return Verschiebbar(text, +1);
}

bool DeChiffreMoeglich(const QString& text)
{
    return Verschiebbar(text, -1);
}

QString DeChiffre(const QString& text, bool* moeglich)
{
    // A damaged file can hold texts that no scrambling produced.
    return Verschieben(text, -1, moeglich);
}

bool GleichOhneGross(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace Hilfsmittel

QString Hilfsmittel::PfadAnzeige(const QString& pfad)
{
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(pfad));
}

bool Hilfsmittel::GleicheDatei(const QString& a, const QString& b)
{
    const auto kanonisch = [](const QString& pfad) {
        const QFileInfo info(pfad);
        const QString echt = info.canonicalFilePath();
        return echt.isEmpty() ? info.absoluteFilePath() : echt;
    };
    return kanonisch(a) == kanonisch(b);
}

bool Hilfsmittel::Verdaechtig(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0) || (c >= 0x202a && c <= 0x202e)
        || (c >= 0x2066 && c <= 0x2069) || c == 0x200e || c == 0x200f || c == 0x061c || c == 0x2028
        || c == 0x2029;
}

QString Hilfsmittel::Sichtbar(const QString& text, bool zeilen)
{
    if (!Unsichtbares(text, zeilen))
        return text;
    QString ergebnis;
    ergebnis.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        ergebnis += Verdaechtig(c) && !(zeilen && c == U'\n') ? QString(QChar(0xfffd))
                                                              : QString::fromUcs4(&c, 1);
    return ergebnis;
}

bool Hilfsmittel::Unsichtbares(const QString& text, bool zeilen)
{
    for (const QChar c : text)
        if (Verdaechtig(c.unicode()) && !(zeilen && c == u'\n'))
            return true;
    return false;
}
