#include "dateistand.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {
QByteArray Pruefsumme(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
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
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&datei))
        return true;
    return hash.result() != zPruefsumme;
}
