#pragma once

#include <QString>

#include <cstring>
#include <memory>

// The short texts one reading of a file has made, so that equal bytes give one shared
// QString (implicit sharing): the catalogue's ID and caption repeated in every row, the course
// code of every row, the few values (grades, hours, a usual remark) that many rows hold. The
// memory of the loaded data, and the time to free it, then shrink with them.
//
// Direct-mapped: a text takes the place of the one before it in its slot, so the pool never
// holds more than its slots. It points into the bytes being read; it lives only as long as
// they do (one reading).
class Textvorrat {
public:
    // Texts longer than this are not kept (long texts are seldom repeated).
    static constexpr qsizetype Laengste = 32;

    // plaetze: the number of slots, rounded up to a power of two (at least 64).
    explicit Textvorrat(qsizetype plaetze);

    struct Platz {
        const char* bytes = nullptr;
        qsizetype laenge = -1;
        QString text;
    };

    // The slot of the n bytes at p (n at most Laengste): gefunden says whether it holds the
    // text of exactly these bytes. If not, the caller may put the text there with Ablegen.
    Platz& Suchen(const char* p, qsizetype n, bool& gefunden)
    {
        Platz& platz = zPlaetze[Streuwert(p, n) & zMaske];
        gefunden = platz.laenge == n && std::memcmp(platz.bytes, p, size_t(n)) == 0;
        return platz;
    }

    static void Ablegen(Platz& platz, const char* p, qsizetype n, const QString& text)
    {
        platz.bytes = p;
        platz.laenge = n;
        platz.text = text;
    }

private:
    static quint64 Streuwert(const char* p, qsizetype n)
    {
        quint64 w[4] = {0, 0, 0, 0};
        std::memcpy(w, p, size_t(n));
        quint64 h = quint64(n) * 0x9E3779B97F4A7C15ull;
        h ^= w[0] * 0xC2B2AE3D27D4EB4Full;
        h ^= (w[1] ^ (h >> 29)) * 0x165667B19E3779F9ull;
        h ^= (w[2] ^ (h >> 31)) * 0xD6E8FEB86659FD93ull;
        h ^= (w[3] ^ (h >> 27)) * 0x9E3779B97F4A7C15ull;
        return (h ^ (h >> 32)) * 0xFF51AFD7ED558CCDull >> 20;
    }

    std::unique_ptr<Platz[]> zPlaetze;
    quint64 zMaske = 0;
};
