#include "dateistand.h"

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>

namespace {
// A fast checksum: it only has to tell a changed file from the same one, nobody forges it.
QByteArray Pruefsumme(const QByteArray& bytes)
{
    const size_t wert = qHash(bytes, 20261209);
    return QByteArray::number(quint64(wert), 16);
}
} // namespace

Dateistand Dateistand::Von(const QString& pfad, const QByteArray& bytes)
{
    Dateistand stand;
    const QFileInfo info(pfad);
    stand.zGroesse = info.size();
    stand.zZeit = info.lastModified();
    stand.zPruefsumme = Pruefsumme(bytes);
    return stand;
}

bool Dateistand::Geaendert(const QString& pfad) const
{
    if (!Bekannt())
        return false;
    const QFileInfo info(pfad);
    // A file that is gone, or a folder in its place, holds nobody's work to overwrite (the
    // save reports why it cannot write there).
    if (!info.isFile())
        return false;
    if (info.size() == zGroesse && info.lastModified() == zZeit)
        return false;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return true;   // cannot be looked at: better asked once too often
    const QByteArray jetzt = datei.readAll();
    if (datei.error() != QFileDevice::NoError)
        return true;
    return Pruefsumme(jetzt) != zPruefsumme;
}
