#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <memory>

class KursEintraege;
class QIODevice;
template <typename Wert> class Vorrat;

// Reads the big-endian fields of our binary files. The bytes are taken from the device once,
// as a whole, and the fields are read from memory (a QBuffer's bytes are used as they are,
// without a copy). Every read is checked; the first failure is kept (later reads return zero
// values), so a record constructor can read all its fields and the caller checks ok() once.
//
// Reading is bounded by what the bytes can mean: a list whose count promises more elements
// than the rest of the file can hold is damaged, and the memory the elements read so far take
// is kept within a small multiple of the file's size, so that no file, however made, can make
// the program run out of memory.
//
// Equal short texts come back as one shared QString, equal rows of entries as one shared list
// (see Vorrat).
class DateiLeser {
public:
    // Reads what the device holds from its position on. When the reader goes, a device with
    // random access stands just after the last byte read, as if every field had been read
    // from it one by one.
    explicit DateiLeser(QIODevice& geraet);
    // Reads the bytes themselves.
    explicit DateiLeser(const QByteArray& bytes);
    ~DateiLeser();
    DateiLeser(const DateiLeser&) = delete;
    DateiLeser& operator=(const DateiLeser&) = delete;

    bool LeseBoolean()
    {
        if (zZeiger < zEnde && ok())
            return *zZeiger++ != 0;
        return Fehlt() != 0;
    }
    qint64 LeseInt16()
    {
        if (zEnde - zZeiger >= 2 && ok()) {
            const auto* b = reinterpret_cast<const unsigned char*>(zZeiger);
            zZeiger += 2;
            return static_cast<qint16>(static_cast<quint16>((b[0] << 8) | b[1]));
        }
        return static_cast<qint16>(static_cast<quint16>(Fehlt()));
    }
    qint64 LeseInt32()
    {
        if (zEnde - zZeiger >= 4 && ok()) {
            const auto* b = reinterpret_cast<const unsigned char*>(zZeiger);
            zZeiger += 4;
            const quint32 u
                = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
            return static_cast<qint32>(u);
        }
        return static_cast<qint32>(static_cast<quint32>(Fehlt()));
    }
    // One unsigned length byte, then that many bytes of UTF-8 text. feld names the field for
    // the message when the bytes are no valid UTF-8 (see ungueltigerText()).
    QString LesePString(const char* feld = nullptr) { return PString(feld, true); }
    // A PString holding Hilfsmittel::Chiffre of the text: the unscrambled text. A stored text
    // that no scrambling can have produced marks the field as not writable back.
    QString LeseVerschluesselt(const char* feld);
    // n raw bytes (n comes from a preceding field); a negative n is a damaged file.
    QByteArray LeseBytes(qint64 n);
    // n bytes of UTF-8 text, checked like LesePString.
    QString LeseText(qint64 n, const char* feld);

    // Before a list of n elements is read: true when n elements of at least mindestBytes
    // each fit into the rest of the file and their memory (speicherJeElement each, beyond
    // what their texts take) stays within the reader's budget; otherwise the stream is marked
    // damaged. A count of 0 or less reads nothing and is always allowed.
    bool ListeLesbar(qint64 n, qint64 mindestBytes, qint64 speicherJeElement);

    // The bytes of the next anzahl PStrings, looked at without reading them, and what their
    // texts take in the reader's budget when read (kosten); a null view when they do not fit
    // into the rest or the stream is damaged.
    QByteArrayView PStringsVoraus(qint64 anzahl, qint64& kosten) const;
    // Goes past n bytes looked at with PStringsVoraus, as if their texts had been read.
    void Ueberspringen(qsizetype n, qint64 kosten);
    // The rows of entries read so far, by their bytes (KursEintraege shares equal ones).
    Vorrat<KursEintraege>& Eintragsvorrat();

    bool ok() const { return zFehler.isEmpty(); }
    // Why reading stopped (for the developer; the user sees the damaged-file message).
    QString fehler() const { return zFehler; }
    // Marks the stream as damaged, for checks made by the records themselves.
    void Fehler(const QString& grund);
    // The position in the device (or in the bytes) of the next byte to read.
    qint64 position() const { return zBasis + (zZeiger - zAnfang); }
    // The bytes not read yet.
    qint64 Rest() const { return zEnde - zZeiger; }

    // Names the first value that would not be written back as it is stored (a text that is
    // no valid UTF-8 or no scrambled text, a set too long for its field once normalised), as
    // a German sentence: reading goes on, but saving such a file would fail or change it.
    // Empty when every value was sound.
    QString ungueltigerText() const { return zUngueltig; }
    // Marks a value read as one that would not be written back as it was stored (satz says
    // which and why, in German); reading goes on. The first one is kept.
    void NichtWiederSchreibbar(const QString& satz);

    // The memory (in bytes) the values read so far are estimated to take.
    qint64 Speicherbedarf() const { return zSpeicher; }
    // The memory reading may take: a fixed allowance plus a multiple of the file's size.
    qint64 Speichergrenze() const { return zSpeichergrenze; }
    static constexpr qint64 Grundspeicher = 16 * 1024 * 1024;
    static constexpr qint64 SpeicherJeDateibyte = 6;

private:
    void Einrichten(qint64 basis, qint64 anfang);
    // A read that finds too few bytes (or a stream already damaged): marks the end of the
    // file and returns 0.
    quint32 Fehlt();
    QString PString(const char* feld, bool teilen);
    QString Text(const char* bytes, qsizetype n, const char* feld, bool teilen);
    QString Dekodieren(const char* bytes, qsizetype n, const char* feld);

    QIODevice* zGeraet = nullptr;
    QByteArray zBytes;
    const char* zAnfang = nullptr;
    const char* zZeiger = nullptr;
    const char* zEnde = nullptr;
    qint64 zBasis = 0; // the device position of zAnfang
    QString zLesefehler; // the device's error while its bytes were taken
    QString zFehler;
    QString zUngueltig;
    qint64 zSpeicher = 0;
    qint64 zSpeichergrenze = Grundspeicher;
    std::unique_ptr<Vorrat<QString>> zVorrat;
    std::unique_ptr<Vorrat<KursEintraege>> zEintragsvorrat;
    QStringDecoder zDekoder;
};
