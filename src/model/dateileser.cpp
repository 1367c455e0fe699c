#include "dateileser.h"

#include "hilfsmittel.h"

#include <QIODevice>

DateiLeser::DateiLeser(QIODevice& geraet) : zGeraet(geraet)
{
    if (!zGeraet.isSequential())
        zSpeichergrenze = Grundspeicher + SpeicherJeDateibyte * zGeraet.size();
}

void DateiLeser::Fehler(const QString& grund)
{
    if (zFehler.isEmpty())
        zFehler = grund;
}

void DateiLeser::NichtWiederSchreibbar(const QString& satz)
{
    if (zUngueltig.isEmpty())
        zUngueltig = satz;
}

qint64 DateiLeser::position() const
{
    return zGeraet.pos();
}

qint64 DateiLeser::Rest() const
{
    if (zGeraet.isSequential())
        return zGeraet.bytesAvailable();
    return zGeraet.size() - zGeraet.pos();
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

bool DateiLeser::ListeLesbar(qint64 n, qint64 mindestBytes, qint64 speicherJeElement)
{
    if (!ok())
        return false;
    if (n <= 0)
        return true;
    if (n * mindestBytes > Rest()) {
        Fehler(QStringLiteral("%1 Elemente zu mindestens %2 Bytes an Byte %3, aber nur %4 Bytes übrig")
                   .arg(n).arg(mindestBytes).arg(position()).arg(Rest()));
        return false;
    }
    zSpeicher += n * speicherJeElement;
    if (zSpeicher > zSpeichergrenze) {
        Fehler(QStringLiteral("%1 Elemente an Byte %2 brauchen mehr als %3 Bytes Arbeitsspeicher")
                   .arg(n).arg(position()).arg(zSpeichergrenze));
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

QString DateiLeser::LesePString(const char* feld)
{
    unsigned char n = 0;
    if (!Lies(reinterpret_cast<char*>(&n), 1) || n == 0)
        return {};
    char puffer[256];
    if (!Lies(puffer, n))
        return {};
    return Text(QByteArray::fromRawData(puffer, n), feld);
}

QString DateiLeser::Text(const QByteArray& bytes, const char* feld)
{
    if (bytes.isEmpty())
        return {};
    // A text's characters (UTF-16) and the string's own header.
    zSpeicher += 2 * bytes.size() + 32;
    bool gueltig = true;
    QString text = Hilfsmittel::AusUtf8(bytes, &gueltig);
    if (!gueltig)
        NichtWiederSchreibbar(QStringLiteral("Der Text im Feld %1 (an Byte %2) ist kein gültiger UTF-8-Text.")
                      .arg(QString::fromLatin1(feld ? feld : "?"))
                      .arg(position() - bytes.size()));
    return text;
}

QString DateiLeser::LeseText(qint64 n, const char* feld)
{
    return Text(LeseBytes(n), feld);
}

QString DateiLeser::LeseVerschluesselt(const char* feld)
{
    const qint64 anfang = position() + 1;   // after the length byte
    const QString gespeichert = LesePString(feld);
    if (!Hilfsmittel::DeChiffreMoeglich(gespeichert))
        NichtWiederSchreibbar(QStringLiteral("Der verschlüsselte Text im Feld %1 (an Byte %2) lässt sich nicht "
                                 "entschlüsseln.")
                      .arg(QString::fromLatin1(feld))
                      .arg(anfang));
    return Hilfsmittel::DeChiffre(gespeichert);
}

QByteArray DateiLeser::LeseBytes(qint64 n)
{
    if (n < 0) {
        Fehler(QStringLiteral("negative Länge %1").arg(n));
        return {};
    }
    if (!ok())
        return {};
    if (n > Rest()) {
        Fehler(QStringLiteral("%1 Bytes an Byte %2, aber nur %3 übrig").arg(n).arg(position()).arg(Rest()));
        return {};
    }
    QByteArray bytes(n, Qt::Uninitialized);
    if (!Lies(bytes.data(), n))
        return {};
    return bytes;
}
