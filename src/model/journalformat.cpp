#include "journalformat.h"

#include <QtEndian>

#include <array>

namespace {

// The kinds of records.
enum Satzart : quint8 {
    SatzKopf = 1, // course-list file, course, title, beginning
    SatzAenderung = 2, // one stored change
    SatzUmzug = 3, // the course-list file was saved under another name
};

// A record longer than this is no record but a damaged length.
constexpr quint32 LaengsterSatz = 4 * 1024 * 1024;

// CRC-32 (IEEE 802.3, as zlib and PNG use it).
constexpr std::array<quint32, 256> Crc32Tabelle()
{
    std::array<quint32, 256> t {};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}

quint32 Crc32(const char* daten, qsizetype laenge)
{
    static constexpr std::array<quint32, 256> tabelle = Crc32Tabelle();
    quint32 c = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < laenge; ++i)
        c = tabelle[(c ^ quint8(daten[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// --- Writing the fields of a record --------------------------------------------------------

void U8(QByteArray& b, quint8 v)
{
    b.append(char(v));
}

void U32(QByteArray& b, quint32 v)
{
    char roh[4];
    qToBigEndian(v, roh);
    b.append(roh, 4);
}

void I64(QByteArray& b, qint64 v)
{
    char roh[8];
    qToBigEndian(v, roh);
    b.append(roh, 8);
}

void Text(QByteArray& b, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    U32(b, quint32(utf8.size()));
    b.append(utf8);
}

// Length, content, checksum.
QByteArray Satz(const QByteArray& inhalt)
{
    QByteArray b;
    b.reserve(inhalt.size() + 8);
    U32(b, quint32(inhalt.size()));
    b.append(inhalt);
    U32(b, Crc32(inhalt.constData(), inhalt.size()));
    return b;
}

// --- Reading the fields of a record --------------------------------------------------------

class Leser {
public:
    explicit Leser(QByteArrayView daten)
        : zDaten(daten)
    {
    }
    bool ok() const { return zOk; }
    bool Ende() const { return zPos == zDaten.size(); }
    quint8 U8()
    {
        if (!Platz(1))
            return 0;
        return quint8(zDaten.at(zPos++));
    }
    quint32 U32()
    {
        if (!Platz(4))
            return 0;
        const quint32 v = qFromBigEndian<quint32>(zDaten.data() + zPos);
        zPos += 4;
        return v;
    }
    qint64 I64()
    {
        if (!Platz(8))
            return 0;
        const qint64 v = qFromBigEndian<qint64>(zDaten.data() + zPos);
        zPos += 8;
        return v;
    }
    QString Text()
    {
        const quint32 n = U32();
        if (!Platz(n))
            return {};
        const QString s = QString::fromUtf8(zDaten.data() + zPos, qsizetype(n));
        zPos += n;
        return s;
    }

private:
    bool Platz(qint64 n)
    {
        if (!zOk || n > zDaten.size() - zPos) {
            zOk = false;
            return false;
        }
        return true;
    }
    QByteArrayView zDaten;
    qsizetype zPos = 0;
    bool zOk = true;
};

} // namespace

QDateTime Journalformat::Gelesen::Zuletzt() const
{
    return aenderungen.isEmpty() ? beginn : aenderungen.constLast().zeit;
}

QByteArray Journalformat::KopfSatz(const QString& kursliste, const QString& kurs,
    const QString& titel, const QDateTime& beginn, quint8 version)
{
    QByteArray b;
    U8(b, version);
    U8(b, SatzKopf);
    Text(b, kursliste);
    Text(b, kurs);
    Text(b, titel);
    I64(b, beginn.toMSecsSinceEpoch());
    return Satz(b);
}

QByteArray Journalformat::AenderungsSatz(const Aenderung& a, quint8 version)
{
    QByteArray b;
    U8(b, version);
    U8(b, SatzAenderung);
    I64(b, a.zeit.toMSecsSinceEpoch());
    I64(b, a.schueler);
    U8(b, a.warnung ? 1 : 0);
    Text(b, a.eintragID);
    Text(b, a.eintragBezeichnung);
    U32(b, quint32(qMax(0, a.vorkommen)));
    Text(b, a.vorher);
    Text(b, a.nachher);
    return Satz(b);
}

QByteArray Journalformat::UmzugSatz(const QString& kursliste)
{
    QByteArray b;
    U8(b, Version);
    U8(b, SatzUmzug);
    I64(b, QDateTime::currentMSecsSinceEpoch());
    Text(b, kursliste);
    return Satz(b);
}

bool Journalformat::Lesen(QByteArrayView bytes, Gelesen& j)
{
    bool kopf = false;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 8)
            break;
        const quint32 laenge = qFromBigEndian<quint32>(bytes.constData() + pos);
        if (laenge < 2 || laenge > LaengsterSatz || qint64(laenge) + 8 > bytes.size() - pos)
            break;
        const char* inhalt = bytes.constData() + pos + 4;
        if (qFromBigEndian<quint32>(inhalt + laenge) != Crc32(inhalt, laenge))
            break;
        Leser l(QByteArrayView(inhalt, laenge));
        const quint8 version = l.U8();
        const quint8 art = l.U8();
        if (version != Version) {
            // A whole record of another format: written by another version of the program.
            j.fehler = version > Version
                ? QStringLiteral("Sie wurde von einer neueren Version von RAVIRIreru geschrieben.")
                : QStringLiteral("Sie hat ein unbekanntes Format.");
            return false;
        }
        if (!kopf && art != SatzKopf)
            break;
        bool gut = false;
        switch (art) {
        case SatzKopf:
            if (kopf)
                break;
            j.kursliste = l.Text();
            j.kurs = l.Text();
            j.titel = l.Text();
            j.beginn = QDateTime::fromMSecsSinceEpoch(l.I64());
            gut = l.ok() && l.Ende();
            kopf = gut;
            break;
        case SatzAenderung: {
            Aenderung a;
            a.zeit = QDateTime::fromMSecsSinceEpoch(l.I64());
            a.schueler = l.I64();
            a.warnung = l.U8() != 0;
            a.eintragID = l.Text();
            a.eintragBezeichnung = l.Text();
            a.vorkommen = int(qMin<quint32>(l.U32(), 1u << 30));
            a.vorher = l.Text();
            a.nachher = l.Text();
            gut = l.ok() && l.Ende();
            if (gut)
                j.aenderungen.append(a);
            break;
        }
        case SatzUmzug:
            l.I64();
            j.kursliste = l.Text();
            gut = l.ok() && l.Ende();
            break;
        default:
            break;
        }
        if (!gut)
            break;
        pos += qsizetype(laenge) + 8;
        j.laenge = pos;
    }
    // A write cut short leaves at most its own record unfinished at the end; a record whose
    // length fits and behind which more bytes follow was damaged in the middle of the file.
    if (pos < bytes.size() && bytes.size() - pos >= 8) {
        const quint32 laenge = qFromBigEndian<quint32>(bytes.constData() + pos);
        j.mitteBeschaedigt
            = laenge >= 2 && laenge <= LaengsterSatz && qint64(laenge) + 8 < bytes.size() - pos;
    }
    if (!kopf) {
        j.fehler = bytes.isEmpty() ? QString() : QStringLiteral("Ihr Anfang ist beschädigt.");
        return false;
    }
    return true;
}

QByteArray Journalformat::SatzUm(const QByteArray& inhalt)
{
    return Satz(inhalt);
}
