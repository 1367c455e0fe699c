#pragma once

#include <QtGlobal>

#include <cstring>
#include <memory>

// What one reading of a file has made from a run of bytes, so that equal bytes give one shared
// value (implicit sharing): the catalogue's ID and caption repeated in every row, the course
// code of every row, the few values (grades, hours, a usual remark) that many rows hold, and
// whole rows of entries that are alike (all empty at the start of a half-year). The memory of
// the loaded data, and the time to free it, then shrink with them.
//
// Two slots for every run of bytes (two-way set-associative): a new value takes the place of
// the one of the two that was used longer ago, so the pool never holds more than its slots and
// values that come again and again (the catalogue's, read for every row) stay. It points into
// the bytes being read; it lives only as long as they do (one reading).
template <typename Wert> class Vorrat {
public:
    struct Platz {
        const char* bytes = nullptr;
        qsizetype laenge = -1;
        quint64 zuletzt = 0; // when it was last found or put there
        Wert wert {};
    };

    // plaetze: the number of slots, rounded up to a power of two (at least 256).
    explicit Vorrat(qsizetype plaetze)
    {
        qsizetype n = 256;
        while (n < plaetze)
            n *= 2;
        zPlaetze = std::make_unique<Platz[]>(size_t(n));
        zMaske = quint64(n - 1);
    }

    // The slot for the n bytes at p: gefunden says whether it holds the value of exactly these
    // bytes. If not, the caller may put the value there with Ablegen.
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

    void Ablegen(Platz& platz, const char* p, qsizetype n, const Wert& wert)
    {
        platz.bytes = p;
        platz.laenge = n;
        platz.zuletzt = zUhr;
        platz.wert = wert;
    }

private:
    static quint64 Streuwert(const char* p, qsizetype n)
    {
        constexpr quint64 M = 0x9E3779B97F4A7C15ull;
        quint64 h = quint64(n) * M;
        qsizetype i = 0;
        for (; i + 8 <= n; i += 8) {
            quint64 w;
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * 0xFF51AFD7ED558CCDull;
            h ^= h >> 29;
        }
        quint64 rest = 0;
        std::memcpy(&rest, p + i, size_t(n - i));
        h = (h ^ rest) * 0xC4CEB9FE1A85EC53ull;
        return (h ^ (h >> 32)) * M >> 20;
    }

    std::unique_ptr<Platz[]> zPlaetze;
    quint64 zMaske = 0;
    quint64 zUhr = 0;
};
