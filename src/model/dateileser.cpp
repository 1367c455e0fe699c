#include "dateileser.h"

#include "hilfsmittel.h"

#include <QIODevice>

DateiLeser::DateiLeser(QIODevice& geraet) : zGeraet(geraet) {}

void DateiLeser::Fehler(const QString& grund)
{
    if (zFehler.isEmpty())
        zFehler = grund;
}

qint64 DateiLeser::position() const
{
    return zGeraet.pos();
}

bool DateiLeser::Lies(char* ziel, qint64 anzahl)
{
    if (!ok())
        return false;
    if (anzahl == 0)
        return true;
    const qint64 gelesen = zGeraet.read(ziel, anzahl);
    if (gelesen != anzahl) {
        Fehler(gelesen < 0 ? QStringLiteral("Lesefehler: %1").arg(zGeraet.errorString())
                           : QStringLiteral("Dateiende nach Byte %1").arg(zGeraet.pos()));
        return false;
    }
    return true;
}

bool DateiLeser::LeseBoolean()
{
    char b = 0;
    if (!Lies(&b, 1))
        return false;
    return b != 0;
}

qint64 DateiLeser::LeseInt16()
{
    unsigned char b[2] = {0, 0};
    if (!Lies(reinterpret_cast<char*>(b), 2))
        return 0;
    return static_cast<qint16>(static_cast<quint16>((b[0] << 8) | b[1]));
}

qint64 DateiLeser::LeseInt32()
{
    unsigned char b[4] = {0, 0, 0, 0};
    if (!Lies(reinterpret_cast<char*>(b), 4))
        return 0;
    const quint32 u = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
    return static_cast<qint32>(u);
}

QString DateiLeser::LesePString()
{
    unsigned char n = 0;
    if (!Lies(reinterpret_cast<char*>(&n), 1))
        return {};
    char puffer[256];
    if (!Lies(puffer, n))
        return {};
    return Hilfsmittel::AusUtf8(QByteArray::fromRawData(puffer, n));
}

QByteArray DateiLeser::LeseBytes(qint64 n)
{
    if (n < 0) {
        Fehler(QStringLiteral("negative Länge %1").arg(n));
        return {};
    }
    if (!ok())
        return {};
    QByteArray bytes(n, Qt::Uninitialized);
    if (!Lies(bytes.data(), n))
        return {};
    return bytes;
}
