#include "dateischreiber.h"

#include "hilfsmittel.h"

#include <QIODevice>

#include <cstring>
#include <utility>

namespace {

// The UTF-8 bytes of a Unicode scalar value.
char* Kodieren(char* z, char32_t c)
{
    if (c < 0x80) {
        *z++ = char(c);
    } else if (c < 0x800) {
        *z++ = char(0xC0 | (c >> 6));
        *z++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *z++ = char(0xE0 | (c >> 12));
        *z++ = char(0x80 | ((c >> 6) & 0x3F));
        *z++ = char(0x80 | (c & 0x3F));
    } else {
        *z++ = char(0xF0 | (c >> 18));
        *z++ = char(0x80 | ((c >> 12) & 0x3F));
        *z++ = char(0x80 | ((c >> 6) & 0x3F));
        *z++ = char(0x80 | (c & 0x3F));
    }
    return z;
}

bool NurAscii(QStringView text)
{
    char16_t oder = 0;
    for (const QChar c : text)
        oder |= c.unicode();
    return oder < 0x80;
}

} // namespace

DateiSchreiber::DateiSchreiber(qsizetype erwarteteGroesse)
{
    if (erwarteteGroesse > 0) {
        zPuffer.resize(erwarteteGroesse);
        zDaten = zPuffer.data();
    }
}

DateiSchreiber::DateiSchreiber(QIODevice& geraet)
    : zGeraet(&geraet)
{
}

void DateiSchreiber::Fehler(const QString& meldung)
{
    if (zFehler.isEmpty())
        zFehler = meldung;
}

void DateiSchreiber::Wachsen(qsizetype n)
{
    zPuffer.resize(qMax(qMax(zLaenge + n, 2 * zPuffer.size()), qsizetype(4096)));
    zDaten = zPuffer.data();
}

QByteArray DateiSchreiber::Entnehmen()
{
    if (zGeraet)
        return {};
    zPuffer.truncate(zLaenge);
    zLaenge = 0;
    zVermerke.reset(); // their bytes go with the buffer
    zDaten = nullptr;
    return std::exchange(zPuffer, QByteArray());
}

void DateiSchreiber::Weitergeben()
{
    if (zLaenge == 0)
        return;
    const qsizetype anzahl = zLaenge;
    zLaenge = 0;
    if (zGeraet->write(zDaten, anzahl) != anzahl)
        Fehler(QStringLiteral("Schreibfehler: %1").arg(zGeraet->errorString()));
}

qsizetype DateiSchreiber::Vermerkplatz(const void* schluessel)
{
    // Heap addresses differ mostly above their alignment; mixed so that neighbours spread.
    auto a = quint64(reinterpret_cast<quintptr>(schluessel));
    a = (a ^ (a >> 17)) * 0x9E3779B97F4A7C15ull;
    return qsizetype((a >> 40) & quint64(Vermerkplaetze - 1));
}

bool DateiSchreiber::Wiederholen(const void* schluessel, qsizetype anzahl)
{
    if (!zVermerke || !ok() || !schluessel)
        return false;
    const Vermerk& v = zVermerke[Vermerkplatz(schluessel)];
    if (v.schluessel != schluessel || v.anzahl != anzahl)
        return false;
    // The source lies before the place it is copied to: Platz may move the buffer, so the
    // offset is taken afterwards.
    char* z = Platz(v.laenge);
    std::memcpy(z, zDaten + v.anfang, size_t(v.laenge));
    return true;
}

void DateiSchreiber::Vermerken(const void* schluessel, qsizetype anzahl, qsizetype anfang)
{
    if (zGeraet || !ok() || !schluessel || anfang < 0 || anfang > zLaenge)
        return;
    if (!zVermerke)
        zVermerke = std::make_unique<Vermerk[]>(size_t(Vermerkplaetze));
    zVermerke[Vermerkplatz(schluessel)] = { schluessel, anzahl, anfang, zLaenge - anfang };
}

void DateiSchreiber::SchreibeBoolean(bool wert)
{
    if (!ok())
        return;
    *Platz(1) = wert ? 1 : 0;
    if (zGeraet)
        Weitergeben();
}

void DateiSchreiber::SchreibeInt16(qint64 wert)
{
    if (!ok())
        return;
    const auto u = static_cast<quint16>(static_cast<quint64>(wert) & 0xFFFFu);
    char* z = Platz(2);
    z[0] = static_cast<char>(u >> 8);
    z[1] = static_cast<char>(u & 0xFF);
    if (zGeraet)
        Weitergeben();
}

void DateiSchreiber::SchreibeInt32(qint64 wert)
{
    if (!ok())
        return;
    const auto u = static_cast<quint32>(static_cast<quint64>(wert) & 0xFFFFFFFFu);
    char* z = Platz(4);
    z[0] = static_cast<char>(u >> 24);
    z[1] = static_cast<char>((u >> 16) & 0xFF);
    z[2] = static_cast<char>((u >> 8) & 0xFF);
    z[3] = static_cast<char>(u & 0xFF);
    if (zGeraet)
        Weitergeben();
}

qsizetype DateiSchreiber::Text(
    const QString& text, bool verschluesselt, int laengenbytes, qsizetype hoechstens)
{
    const qsizetype anfang = zLaenge;
    qsizetype laenge = 0;
    bool ascii = false;
    if (!verschluesselt && text.size() <= hoechstens) {
        // The common case: one byte per character, copied while it is checked.
        const qsizetype n = text.size();
        char* z = Platz(laengenbytes + n) + laengenbytes;
        const auto* q = reinterpret_cast<const char16_t*>(text.constData());
        // n is held apart from the string: a store through char* may alias the string's own
        // size, which the loop would otherwise read again after every byte.
        char16_t oder = 0;
        for (qsizetype i = 0; i < n; ++i) {
            oder |= q[i];
            z[i] = char(q[i]);
        }
        ascii = oder < 0x80;
        if (ascii)
            laenge = n;
        else
            zLaenge = anfang;
    }
    if (ascii) {
        // Written above.
    } else if (!verschluesselt && NurAscii(text)) {
        // Too long: nothing is written.
        laenge = text.size();
    } else if (!verschluesselt && !text.isValidUtf16()) {
        // A lone surrogate is written as QString::toUtf8 has always written it.
        const QByteArray utf8 = text.toUtf8();
        laenge = utf8.size();
        if (laenge <= hoechstens)
            std::memcpy(
                Platz(laengenbytes + laenge) + laengenbytes, utf8.constData(), size_t(laenge));
    } else {
        // Code point by code point (a lone surrogate counts as U+FFFD, as in
        // Hilfsmittel::Chiffre); at most four bytes each.
        char* z = Platz(laengenbytes + 4 * text.size()) + laengenbytes;
        char* const beginn = z;
        const auto* q = reinterpret_cast<const char16_t*>(text.constData());
        const qsizetype n = text.size();
        qint64 k = 3;
        for (qsizetype i = 0; i < n;) {
            char32_t c = q[i++];
            if (QChar::isSurrogate(c)) {
                if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(q[i]))
                    c = QChar::surrogateToUcs4(char16_t(c), q[i++]);
                else
                    c = 0xFFFD;
            }
            if (verschluesselt) {
                const qint64 neu = qint64(c) + k++;
                c = (neu <= 0x10FFFF && !(neu >= 0xD800 && neu <= 0xDFFF)) ? char32_t(neu)
                                                                           : char32_t(0xFFFD);
            }
            z = Kodieren(z, c);
        }
        laenge = z - beginn;
        zLaenge = anfang + laengenbytes + laenge;
    }
    if (laenge > hoechstens) {
        zLaenge = anfang;
        return laenge;
    }
    char* l = zDaten + anfang;
    if (laengenbytes == 1) {
        l[0] = static_cast<char>(static_cast<unsigned char>(laenge));
    } else {
        l[0] = static_cast<char>((laenge >> 8) & 0xFF);
        l[1] = static_cast<char>(laenge & 0xFF);
    }
    if (zGeraet)
        Weitergeben();
    return laenge;
}

void DateiSchreiber::SchreibePString(const QString& text, const QString& feld)
{
    if (!ok())
        return;
    const qsizetype laenge = Text(text, false, 1, 255);
    if (laenge > 255)
        Fehler(QStringLiteral("Der Text im Feld %1 ist mit %2 Bytes zu lang (höchstens 255 Bytes).")
                   .arg(feld)
                   .arg(laenge));
}

void DateiSchreiber::SchreibeVerschluesselt(const QString& text, const QString& feld)
{
    if (!ok())
        return;
    if (!Hilfsmittel::ChiffreMoeglich(text)) {
        Fehler(QStringLiteral(
            "Der Text im Feld %1 enthält Zeichen, die nicht verschlüsselt werden können.")
                   .arg(feld));
        return;
    }
    const qsizetype laenge = Text(text, true, 1, 255);
    if (laenge > 255)
        Fehler(QStringLiteral("Der Text im Feld %1 ist mit %2 Bytes zu lang (höchstens 255 Bytes).")
                   .arg(feld)
                   .arg(laenge));
}

qsizetype DateiSchreiber::SchreibeLangtext(const QString& text, qsizetype hoechstens)
{
    if (!ok())
        return 0;
    return Text(text, false, 2, hoechstens);
}

void DateiSchreiber::SchreibeBytes(const QByteArray& bytes)
{
    if (!ok() || bytes.isEmpty())
        return;
    std::memcpy(Platz(bytes.size()), bytes.constData(), size_t(bytes.size()));
    if (zGeraet)
        Weitergeben();
}
