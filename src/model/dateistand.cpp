#include "dateistand.h"

#include <QFile>

#include <cstring>
#include <sys/stat.h>
#include <utility>

// Four lanes of 64-bit multiply-and-mix over the words, then the tail and the length.
QByteArray Dateistand::Pruefsumme(const QByteArray& bytes)
{
    constexpr quint64 M = 0x9E3779B97F4A7C15ull;
    quint64 h[4] = { 0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
        0x082EFA98EC4E6C89ull };
    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 32 <= n; i += 32) {
        for (int l = 0; l < 4; ++l) {
            quint64 w;
            std::memcpy(&w, p + i + 8 * l, 8);
            h[l] = (h[l] ^ w) * M;
            h[l] ^= h[l] >> 29;
        }
    }
    quint64 rest = 0;
    std::memcpy(&rest, p + i, size_t(n - i) > 8 ? 8 : size_t(n - i));
    quint64 ende = quint64(n) * M;
    for (; i < n; ++i)
        ende = (ende ^ quint64(static_cast<unsigned char>(p[i]))) * 0x100000001B3ull;
    quint64 wert = ende ^ rest;
    for (quint64 l : h)
        wert = (wert ^ l) * M, wert ^= wert >> 32;
    return QByteArray::number(wert, 16);
}

bool Dateistand::MerkmaleVon(const QString& pfad, Merkmale& merkmale)
{
    struct stat st;
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    merkmale.groesse = qint64(st.st_size);
    merkmale.geaendertSek = qint64(st.st_mtim.tv_sec);
    merkmale.geaendertNsek = qint64(st.st_mtim.tv_nsec);
    merkmale.statusSek = qint64(st.st_ctim.tv_sec);
    merkmale.statusNsek = qint64(st.st_ctim.tv_nsec);
    merkmale.knoten = quint64(st.st_ino);
    merkmale.geraet = quint64(st.st_dev);
    return true;
}

Dateistand Dateistand::Von(const QString& pfad, const QByteArray& bytes)
{
    return Von(pfad, bytes, Pruefsumme(bytes));
}

Dateistand Dateistand::Von(const QString& pfad, const QByteArray& bytes, QByteArray pruefsumme)
{
    Dateistand stand;
    if (!MerkmaleVon(pfad, stand.zMerkmale))
        stand.zMerkmale = Merkmale();
    // The size of the content itself: the file may already be written again by someone else.
    stand.zGroesse = bytes.size();
    stand.zPruefsumme = std::move(pruefsumme);
    return stand;
}

bool Dateistand::Unveraendert(const QString& pfad, const QByteArray& pruefsumme) const
{
    if (!Bekannt() || pruefsumme != zPruefsumme || zMerkmale.groesse < 0)
        return false;
    Merkmale jetzt;
    return MerkmaleVon(pfad, jetzt) && jetzt == zMerkmale;
}

bool Dateistand::Geaendert(const QString& pfad) const
{
    if (!Bekannt())
        return false;
    Merkmale jetzt;
    // A file that is gone, or a folder in its place, holds nobody's work to overwrite (the
    // save reports why it cannot write there).
    if (!MerkmaleVon(pfad, jetzt))
        return false;
    if (zMerkmale.groesse >= 0 && jetzt == zMerkmale)
        return false;
    // Not the same size as the content read or written: changed, without reading it.
    if (jetzt.groesse != zGroesse)
        return true;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return true; // cannot be looked at: better asked once too often
    const QByteArray inhalt = datei.readAll();
    if (datei.error() != QFileDevice::NoError)
        return true;
    return Pruefsumme(inhalt) != zPruefsumme;
}
