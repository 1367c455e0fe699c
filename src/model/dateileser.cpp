#include "dateileser.h"

#include "hilfsmittel.h"
#include "kurseintraege.h"
#include "vorrat.h"

#include <QBuffer>
#include <QIODevice>

namespace {

// Texts longer than this are not shared (long texts are seldom repeated).
constexpr qsizetype LaengsterGeteilterText = 32;

bool NurAscii(const char* p, qsizetype n)
{
    quint64 oder = 0;
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        oder |= w;
    }
    for (; i < n; ++i)
        oder |= quint64(static_cast<unsigned char>(p[i]));
    return (oder & 0x8080808080808080ull) == 0;
}

} // namespace

DateiLeser::DateiLeser(QIODevice& geraet)
    : zGeraet(&geraet)
    // A U+FEFF at the start is text here, not a byte order mark.
    , zDekoder(QStringDecoder::Utf8,
          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
{
    // A buffer's bytes are read where they are.
    auto* puffer = qobject_cast<QBuffer*>(&geraet);
    if (puffer && puffer->isReadable()) {
        zBytes = puffer->data();
        const qint64 anfang = qBound(qint64(0), puffer->pos(), qint64(zBytes.size()));
        Einrichten(anfang, anfang);
    } else if (geraet.isSequential()) {
        zBytes = geraet.readAll();
        Einrichten(0, 0);
    } else {
        const qint64 basis = geraet.pos();
        const qint64 rest = qMax(qint64(0), geraet.size() - basis);
        zBytes.resize(rest);
        const qint64 gelesen = rest > 0 ? geraet.read(zBytes.data(), rest) : 0;
        if (gelesen < 0) {
            zLesefehler = QStringLiteral("Lesefehler: %1").arg(geraet.errorString());
            zBytes.clear();
        } else {
            zBytes.resize(gelesen);
        }
        Einrichten(basis, 0);
    }
    // The budget grows with the file; a stream's size is not known beforehand.
    if (!geraet.isSequential())
        zSpeichergrenze = Grundspeicher + SpeicherJeDateibyte * geraet.size();
}

DateiLeser::DateiLeser(const QByteArray& bytes)
    : zBytes(bytes)
    , zDekoder(QStringDecoder::Utf8,
          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
{
    Einrichten(0, 0);
    zSpeichergrenze = Grundspeicher + SpeicherJeDateibyte * zBytes.size();
}

DateiLeser::~DateiLeser()
{
    if (zGeraet && !zGeraet->isSequential() && zGeraet->isOpen())
        zGeraet->seek(position());
}

void DateiLeser::Einrichten(qint64 basis, qint64 anfang)
{
    zAnfang = zBytes.constData() + anfang;
    zZeiger = zAnfang;
    zEnde = zBytes.constData() + zBytes.size();
    zBasis = basis;
    // Slots for the shared texts and rows: about one for every 256 bytes of the file, within
    // bounds.
    const qint64 plaetze = qBound(qint64(256), qint64(zEnde - zAnfang) / 256, qint64(4096));
    zVorrat = std::make_unique<Vorrat<QString>>(plaetze);
    zEintragsvorrat = std::make_unique<Vorrat<KursEintraege>>(plaetze);
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

quint32 DateiLeser::Fehlt()
{
    if (!ok())
        return 0;
    // What the device still held is read: the end of the file (or its read error) lies
    // after it.
    zZeiger = zEnde;
    Fehler(!zLesefehler.isEmpty() ? zLesefehler
                                  : QStringLiteral("Dateiende nach Byte %1").arg(position()));
    return 0;
}

bool DateiLeser::ListeLesbar(qint64 n, qint64 mindestBytes, qint64 speicherJeElement)
{
    if (!ok())
        return false;
    if (n <= 0)
        return true;
    if (n * mindestBytes > Rest()) {
        Fehler(
            QStringLiteral("%1 Elemente zu mindestens %2 Bytes an Byte %3, aber nur %4 Bytes übrig")
                .arg(n)
                .arg(mindestBytes)
                .arg(position())
                .arg(Rest()));
        return false;
    }
    zSpeicher += n * speicherJeElement;
    if (zSpeicher > zSpeichergrenze) {
        Fehler(QStringLiteral("%1 Elemente an Byte %2 brauchen mehr als %3 Bytes Arbeitsspeicher")
                   .arg(n)
                   .arg(position())
                   .arg(zSpeichergrenze));
        return false;
    }
    return true;
}

QString DateiLeser::PString(const char* feld, bool teilen)
{
    if (zZeiger >= zEnde || !ok()) {
        Fehlt();
        return {};
    }
    const qsizetype n = static_cast<unsigned char>(*zZeiger++);
    if (n == 0)
        return {};
    if (zEnde - zZeiger < n) {
        Fehlt();
        return {};
    }
    const char* bytes = zZeiger;
    zZeiger += n;
    return Text(bytes, n, feld, teilen);
}

QString DateiLeser::Text(const char* bytes, qsizetype n, const char* feld, bool teilen)
{
    if (n == 0)
        return {};
    // A text's characters (UTF-16) and the string's own header: what a text of its own
    // would take, also when it is shared.
    zSpeicher += 2 * n + 32;
    if (!teilen || n > LaengsterGeteilterText)
        return Dekodieren(bytes, n, feld);
    bool gefunden = false;
    auto& platz = zVorrat->Suchen(bytes, n, gefunden);
    if (gefunden)
        return platz.wert;
    const qsizetype ungueltigVorher = zUngueltig.size();
    QString text = Dekodieren(bytes, n, feld);
    // Only sound texts are shared; equal bytes are equally sound.
    if (zUngueltig.size() == ungueltigVorher)
        zVorrat->Ablegen(platz, bytes, n, text);
    return text;
}

QByteArrayView DateiLeser::PStringsVoraus(qint64 anzahl, qint64& kosten) const
{
    kosten = 0;
    if (!ok())
        return {};
    const char* p = zZeiger;
    for (qint64 i = 0; i < anzahl; ++i) {
        if (p >= zEnde)
            return {};
        const qsizetype n = static_cast<unsigned char>(*p++);
        if (zEnde - p < n)
            return {};
        if (n > 0)
            kosten += 2 * n + 32; // as Text counts it
        p += n;
    }
    return QByteArrayView(zZeiger, p - zZeiger);
}

void DateiLeser::Ueberspringen(qsizetype n, qint64 kosten)
{
    zZeiger += n;
    zSpeicher += kosten;
}

Vorrat<KursEintraege>& DateiLeser::Eintragsvorrat()
{
    return *zEintragsvorrat;
}

QString DateiLeser::Dekodieren(const char* bytes, qsizetype n, const char* feld)
{
    if (NurAscii(bytes, n))
        return QString::fromLatin1(bytes, n);
    zDekoder.resetState();
    QString text = zDekoder.decode(QByteArrayView(bytes, n));
    if (zDekoder.hasError())
        NichtWiederSchreibbar(
            QStringLiteral("Der Text im Feld %1 (an Byte %2) ist kein gültiger UTF-8-Text.")
                .arg(QString::fromLatin1(feld ? feld : "?"))
                .arg(zBasis + (bytes - zAnfang)));
    return text;
}

QString DateiLeser::LeseText(qint64 n, const char* feld)
{
    if (n < 0) {
        Fehler(QStringLiteral("negative Länge %1").arg(n));
        return {};
    }
    if (!ok())
        return {};
    if (n > Rest()) {
        Fehler(QStringLiteral("%1 Bytes an Byte %2, aber nur %3 übrig")
                   .arg(n)
                   .arg(position())
                   .arg(Rest()));
        return {};
    }
    const char* bytes = zZeiger;
    zZeiger += n;
    return Text(bytes, qsizetype(n), feld, false);
}

QString DateiLeser::LeseVerschluesselt(const char* feld)
{
    const qint64 anfang = position() + 1; // after the length byte
    const QString gespeichert = PString(feld, false);
    bool moeglich = true;
    QString klartext = Hilfsmittel::DeChiffre(gespeichert, &moeglich);
    if (!moeglich)
        NichtWiederSchreibbar(
            QStringLiteral("Der verschlüsselte Text im Feld %1 (an Byte %2) lässt sich nicht "
                           "entschlüsseln.")
                .arg(QString::fromLatin1(feld))
                .arg(anfang));
    return klartext;
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
        Fehler(QStringLiteral("%1 Bytes an Byte %2, aber nur %3 übrig")
                   .arg(n)
                   .arg(position())
                   .arg(Rest()));
        return {};
    }
    QByteArray bytes(zZeiger, qsizetype(n));
    zZeiger += n;
    return bytes;
}
