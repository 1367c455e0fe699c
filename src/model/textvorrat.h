#pragma once

#include <QString>

#include <cstring>
#include <memory>

// The short texts one reading of a file has made, so that equal bytes give one shared
// QString (implicit sharing): the catalogue's ID and caption repeated in every row, the course
// code of every row, the few values (grades, hours, a usual remark) that many rows hold. The
// memory of the loaded data, and the time to free it, then shrink with them.
//
// Two slots for every text (two-way set-associative): a new text takes the place of the one
// of the two that was used longer ago, so the pool never holds more than its slots and texts
// that come again and again (the catalogue's, read for every row) stay. It points into the
// bytes being read; it lives only as long as they do (one reading).
class Textvorrat {
public:
    // Texts longer than this are not kept (long texts are seldom repeated).
    static constexpr qsizetype Laengste = 32;

    // plaetze: the number of slots, rounded up to a power of two (at least 256).
    explicit Textvorrat(qsizetype plaetze);

    struct Platz {
        const char* bytes = nullptr;
        qsizetype laenge = -1;
        quint64 zuletzt = 0;   // when it was last found or put there
        QString text;
    };

    // The slot for the n bytes at p (n at most Laengste): gefunden says whether it holds the
    // text of exactly these bytes. If not, the caller may put the text there with Ablegen.
    Platz& Suchen(const char* p, qsizetype n, bool& gefunden)
    {
        const quint64 i = Streuwert(p, n) & zMaske & ~quint64(1);
        Platz& a = zPlaetze[i];
        Platz& b = zPlaetze[i + 1];
        ++zUhr;
        gefunden = true;
        if (a.laenge == n && std::memcmp(a.bytes, p, size_t(n)) == 0) {
            a.zuletzt = zUhr;
            return a;
        }
        if (b.laenge == n && std::memcmp(b.bytes, p, size_t(n)) == 0) {
            b.zuletzt = zUhr;
            return b;
        }
        gefunden = false;
        return a.zuletzt <= b.zuletzt ? a : b;
    }

    void Ablegen(Platz& platz, const char* p, qsizetype n, const QString& text)
    {
        platz.bytes = p;
        platz.laenge = n;
        platz.zuletzt = zUhr;
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
    quint64 zUhr = 0;
};
