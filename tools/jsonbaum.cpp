#include "jsonbaum.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <charconv>
#include <cstring>
#include <limits>

namespace {

// Objects with more members than this, and nesting deeper than this, go through
// QJsonDocument (the course-list's JSON has a few dozen members at most, and four levels).
constexpr quint32 MeisteFelder = 256;
constexpr int TiefsteVerschachtelung = 64;
// QJsonDocument's own limit.
constexpr int TiefsteVerschachtelungNachQt = 1024;

struct Leser {
    const unsigned char* text;
    const unsigned char* p;
    const unsigned char* ende;
    QList<JsonBaum::Knoten>& knoten;
    QList<quint32>& elemente;
    bool nachQt = false;
    int tiefe = 0;

    void Leerraum()
    {
        while (p < ende && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
            ++p;
    }

    static int Hex(unsigned char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool Vier(const unsigned char* q, char16_t& wert)
    {
        if (ende - q < 4)
            return false;
        int w = 0;
        for (int i = 0; i < 4; ++i) {
            const int h = Hex(q[i]);
            if (h < 0)
                return false;
            w = w * 16 + h;
        }
        wert = char16_t(w);
        return true;
    }

    // A string from its opening quote: its bytes between the quotes; valid UTF-8, no control
    // characters, escapes that make whole characters.
    bool Zeichenkette(quint32& anfang, quint32& laenge, bool& mitEscape)
    {
        ++p;
        anfang = quint32(p - text);
        mitEscape = false;
        while (p < ende) {
            const unsigned char c = *p;
            if (c == '"') {
                laenge = quint32(p - text) - anfang;
                ++p;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c == '\\') {
                mitEscape = true;
                if (ende - p < 2)
                    return false;
                const unsigned char e = p[1];
                if (e == 'u') {
                    char16_t u = 0;
                    if (!Vier(p + 2, u))
                        return false;
                    p += 6;
                    if (QChar::isLowSurrogate(u))
                        return false;
                    if (QChar::isHighSurrogate(u)) {
                        char16_t tief = 0;
                        if (ende - p < 6 || p[0] != '\\' || p[1] != 'u' || !Vier(p + 2, tief)
                            || !QChar::isLowSurrogate(tief))
                            return false;
                        p += 6;
                    }
                    continue;
                }
                if (!std::strchr("\"\\/bfnrt", e) || e == 0)
                    return false;
                p += 2;
                continue;
            }
            if (c < 0x80) {
                ++p;
                continue;
            }
            // UTF-8: the length from the first byte, no overlong form, no surrogate, at most
            // U+10FFFF.
            int n = 0;
            char32_t wert = 0;
            if (c >= 0xC2 && c <= 0xDF) {
                n = 2;
                wert = c & 0x1F;
            } else if (c >= 0xE0 && c <= 0xEF) {
                n = 3;
                wert = c & 0x0F;
            } else if (c >= 0xF0 && c <= 0xF4) {
                n = 4;
                wert = c & 0x07;
            } else {
                return false;
            }
            if (ende - p < n)
                return false;
            for (int i = 1; i < n; ++i) {
                if ((p[i] & 0xC0) != 0x80)
                    return false;
                wert = (wert << 6) | (p[i] & 0x3F);
            }
            if ((n == 3 && (wert < 0x800 || (wert >= 0xD800 && wert <= 0xDFFF)))
                || (n == 4 && (wert < 0x10000 || wert > 0x10FFFF)))
                return false;
            p += n;
        }
        return false;
    }

    bool Zahl(double& zahl)
    {
        const unsigned char* anfang = p;
        if (p < ende && *p == '-')
            ++p;
        if (p >= ende)
            return false;
        if (*p == '0') {
            ++p;
        } else if (*p >= '1' && *p <= '9') {
            while (p < ende && *p >= '0' && *p <= '9')
                ++p;
        } else {
            return false;
        }
        if (p < ende && *p == '.') {
            ++p;
            if (p >= ende || *p < '0' || *p > '9')
                return false;
            while (p < ende && *p >= '0' && *p <= '9')
                ++p;
        }
        if (p < ende && (*p == 'e' || *p == 'E')) {
            ++p;
            if (p < ende && (*p == '+' || *p == '-'))
                ++p;
            if (p >= ende || *p < '0' || *p > '9')
                return false;
            while (p < ende && *p >= '0' && *p <= '9')
                ++p;
        }
        const auto* a = reinterpret_cast<const char*>(anfang);
        const auto* e = reinterpret_cast<const char*>(p);
        const auto [stelle, fehler] = std::from_chars(a, e, zahl);
        return fehler == std::errc() && stelle == e;
    }

    bool Wort(const char* wort)
    {
        const size_t n = std::strlen(wort);
        if (size_t(ende - p) < n || std::memcmp(p, wort, n) != 0)
            return false;
        p += n;
        return true;
    }

    // A value at p into node index; its key (for an object member) is set by the caller.
    bool Wert(quint32 index)
    {
        Leerraum();
        if (p >= ende)
            return false;
        JsonBaum::Knoten k;
        bool gut = true;
        switch (*p) {
        case '{':
            knoten.append(k);
            return Objekt(index);
        case '[':
            knoten.append(k);
            return Liste(index);
        case '"':
            k.art = JsonBaum::Art::Text;
            gut = Zeichenkette(k.anfang, k.laenge, k.mitEscape);
            break;
        case 't':
            k.art = JsonBaum::Art::Wahr;
            gut = Wort("true");
            break;
        case 'f':
            k.art = JsonBaum::Art::Falsch;
            gut = Wort("false");
            break;
        case 'n':
            k.art = JsonBaum::Art::Null;
            gut = Wort("null");
            break;
        default:
            k.art = JsonBaum::Art::Zahl;
            gut = Zahl(k.zahl);
            break;
        }
        k.ende = index + 1;
        knoten.append(k);
        return gut;
    }

    bool Objekt(quint32 index)
    {
        if (++tiefe > (nachQt ? TiefsteVerschachtelungNachQt : TiefsteVerschachtelung))
            return false;
        ++p;
        Leerraum();
        quint32 anzahl = 0;
        if (p < ende && *p == '}') {
            ++p;
        } else {
            for (;;) {
                Leerraum();
                if (p >= ende || *p != '"')
                    return false;
                quint32 sAnfang = 0, sLaenge = 0;
                bool sEscape = false;
                if (!Zeichenkette(sAnfang, sLaenge, sEscape))
                    return false;
                Leerraum();
                if (p >= ende || *p != ':')
                    return false;
                ++p;
                const quint32 kind = quint32(knoten.size());
                if (!Wert(kind))
                    return false;
                JsonBaum::Knoten& k = knoten[kind];
                k.schluesselAnfang = sAnfang;
                k.schluesselLaenge = sLaenge;
                k.schluesselMitEscape = sEscape;
                if (++anzahl > MeisteFelder && !nachQt)
                    return false;
                Leerraum();
                if (p < ende && *p == ',') {
                    ++p;
                    continue;
                }
                if (p < ende && *p == '}') {
                    ++p;
                    break;
                }
                return false;
            }
        }
        JsonBaum::Knoten& o = knoten[index];
        o.art = JsonBaum::Art::Objekt;
        o.anzahl = anzahl;
        o.ende = quint32(knoten.size());
        --tiefe;
        return nachQt || KeinSchluesselDoppelt(index);
    }

    bool KeinSchluesselDoppelt(quint32 index)
    {
        // A key twice: QJsonDocument decides which value counts.
        QList<QByteArrayView> schluessel;
        for (quint32 i = index + 1; i < knoten.at(index).ende; i = knoten.at(i).ende) {
            const JsonBaum::Knoten& k = knoten.at(i);
            if (k.schluesselMitEscape)
                return false;
            const QByteArrayView s(text + k.schluesselAnfang, k.schluesselLaenge);
            if (schluessel.contains(s))
                return false;
            schluessel.append(s);
        }
        return true;
    }

    bool Liste(quint32 index)
    {
        if (++tiefe > (nachQt ? TiefsteVerschachtelungNachQt : TiefsteVerschachtelung))
            return false;
        ++p;
        Leerraum();
        QList<quint32> kinder;
        if (p < ende && *p == ']') {
            ++p;
        } else {
            for (;;) {
                const quint32 kind = quint32(knoten.size());
                if (!Wert(kind))
                    return false;
                kinder.append(kind);
                Leerraum();
                if (p < ende && *p == ',') {
                    ++p;
                    continue;
                }
                if (p < ende && *p == ']') {
                    ++p;
                    break;
                }
                return false;
            }
        }
        JsonBaum::Knoten& l = knoten[index];
        l.art = JsonBaum::Art::Liste;
        l.anzahl = quint32(kinder.size());
        l.anfang = quint32(elemente.size());
        l.ende = quint32(knoten.size());
        elemente.append(kinder);
        --tiefe;
        return true;
    }
};

// Appends the UTF-16 of valid UTF-8 bytes (a U+FEFF stays a character).
void Utf8Anhaengen(QString& ziel, const unsigned char* p, const unsigned char* ende)
{
    while (p < ende) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ziel.append(QChar(c));
            ++p;
            continue;
        }
        const int n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        char32_t wert = c & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
        for (int i = 1; i < n; ++i)
            wert = (wert << 6) | (p[i] & 0x3F);
        p += n;
        if (QChar::requiresSurrogates(wert)) {
            ziel.append(QChar(QChar::highSurrogate(wert)));
            ziel.append(QChar(QChar::lowSurrogate(wert)));
        } else {
            ziel.append(QChar(char16_t(wert)));
        }
    }
}

} // namespace

bool JsonBaum::Lesen(QByteArray text, int& fehler, qsizetype& fehlerStelle)
{
    zText = std::move(text);
    if (Schnell(false))
        return true;
    // What the fast reading does not take as it is: QJsonDocument reads it (its error is the
    // error), and its own writing of what it read is read. Qt's parser drops a U+FEFF at the
    // start of a string as if it were a byte order mark; as an escape it is kept.
    QByteArray qt = zText;
    qt.replace("\xEF\xBB\xBF", "\\ufeff");
    QJsonParseError parser;
    const QJsonDocument dokument = QJsonDocument::fromJson(qt, &parser);
    if (parser.error != QJsonParseError::NoError) {
        fehler = parser.error;
        fehlerStelle = parser.offset;
        zText = qt;
        return false;
    }
    zText = dokument.toJson(QJsonDocument::Compact);
    if (Schnell(true))
        return true;
    fehler = QJsonParseError::IllegalValue;
    fehlerStelle = 0;
    return false;
}

bool JsonBaum::Schnell(bool nachQt)
{
    zKnoten.clear();
    QList<quint32> elemente;
    const auto* anfang = reinterpret_cast<const unsigned char*>(zText.constData());
    if (zText.size() >= qsizetype(std::numeric_limits<quint32>::max()))
        return false;
    // About one node for every 20 bytes of a course-list's JSON.
    zKnoten.reserve(zText.size() / 20 + 16);
    Leser leser { anfang, anfang, anfang + zText.size(), zKnoten, elemente, nachQt };
    if (!leser.Wert(0))
        return false;
    leser.Leerraum();
    if (leser.p != leser.ende)
        return false;
    zKnoten.squeeze();
    zElemente = std::move(elemente);
    return true;
}

QString JsonBaum::Dekodieren(quint32 anfang, quint32 laenge, bool mitEscape) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(zText.constData()) + anfang;
    const auto* ende = p + laenge;
    if (!mitEscape) {
        bool ascii = true;
        for (const auto* q = p; q < ende && ascii; ++q)
            ascii = *q < 0x80;
        if (ascii)
            return QString::fromLatin1(reinterpret_cast<const char*>(p), laenge);
    }
    QString ergebnis;
    ergebnis.reserve(laenge);
    const unsigned char* lauf = p;
    while (p < ende) {
        if (*p != '\\') {
            ++p;
            continue;
        }
        Utf8Anhaengen(ergebnis, lauf, p);
        const unsigned char e = p[1];
        if (e == 'u') {
            char16_t u = 0;
            for (int i = 0; i < 4; ++i)
                u = char16_t(u * 16 + Leser::Hex(p[2 + i]));
            ergebnis.append(QChar(u));
            p += 6;
        } else {
            switch (e) {
            case 'b':
                ergebnis.append(QChar(u'\b'));
                break;
            case 'f':
                ergebnis.append(QChar(u'\f'));
                break;
            case 'n':
                ergebnis.append(QChar(u'\n'));
                break;
            case 'r':
                ergebnis.append(QChar(u'\r'));
                break;
            case 't':
                ergebnis.append(QChar(u'\t'));
                break;
            default:
                ergebnis.append(QChar(e));
                break; // " \ /
            }
            p += 2;
        }
        lauf = p;
    }
    Utf8Anhaengen(ergebnis, lauf, ende);
    return ergebnis;
}

// --- The nodes -------------------------------------------------------------------------------

const JsonBaum::Knoten& JsonBaum::Wert::knoten() const
{
    return zBaum->zKnoten.at(zIndex);
}

JsonBaum::Art JsonBaum::Wert::art() const
{
    return knoten().art;
}

double JsonBaum::Wert::zahl() const
{
    return istZahl() ? knoten().zahl : 0;
}

QString JsonBaum::Wert::text() const
{
    if (!istText())
        return {};
    const Knoten& k = knoten();
    return zBaum->Dekodieren(k.anfang, k.laenge, k.mitEscape);
}

qsizetype JsonBaum::Wert::anzahl() const
{
    return istObjekt() || istListe() ? qsizetype(knoten().anzahl) : 0;
}

JsonBaum::Wert JsonBaum::Wert::feld(const QString& schluessel) const
{
    if (!istObjekt())
        return {};
    const QByteArray gesucht = schluessel.toUtf8();
    const Knoten& o = knoten();
    for (quint32 i = zIndex + 1; i < o.ende; i = zBaum->zKnoten.at(i).ende) {
        const Knoten& k = zBaum->zKnoten.at(i);
        if (k.schluesselMitEscape) {
            if (zBaum->Dekodieren(k.schluesselAnfang, k.schluesselLaenge, true) == schluessel)
                return Wert(zBaum, i);
        } else if (k.schluesselLaenge == quint32(gesucht.size())
            && std::memcmp(zBaum->zText.constData() + k.schluesselAnfang, gesucht.constData(),
                   size_t(gesucht.size()))
                == 0) {
            return Wert(zBaum, i);
        }
    }
    return {};
}

JsonBaum::Wert JsonBaum::Wert::element(qsizetype i) const
{
    if (!istListe() || i < 0 || i >= qsizetype(knoten().anzahl))
        return {};
    return Wert(zBaum, zBaum->zElemente.at(knoten().anfang + i));
}

QList<QString> JsonBaum::Wert::schluessel() const
{
    QList<QString> namen;
    if (!istObjekt())
        return namen;
    const Knoten& o = knoten();
    for (quint32 i = zIndex + 1; i < o.ende; i = zBaum->zKnoten.at(i).ende) {
        const Knoten& k = zBaum->zKnoten.at(i);
        namen.append(
            zBaum->Dekodieren(k.schluesselAnfang, k.schluesselLaenge, k.schluesselMitEscape));
    }
    return namen;
}
