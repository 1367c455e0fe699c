#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads the big-endian fields of our binary files from any QIODevice.
// Every read is checked; the first failure is kept (later reads return zero values),
// so a record constructor can read all its fields and the caller checks ok() once.
//
// Reading is bounded by what the bytes can mean: a list whose count promises more elements
// than the rest of the file can hold is damaged, and the memory the elements read so far take
// is kept within a small multiple of the file's size, so that no file, however made, can make
// the program run out of memory.
class DateiLeser {
public:
    explicit DateiLeser(QIODevice& geraet);

    bool LeseBoolean();
    qint64 LeseInt16();
    qint64 LeseInt32();
    // One unsigned length byte, then that many bytes of UTF-8 text. feld names the field for
    // the message when the bytes are no valid UTF-8 (see ungueltigerText()).
    QString LesePString(const char* feld = nullptr);
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

    bool ok() const { return zFehler.isEmpty(); }
    // Why reading stopped (for the developer; the user sees the damaged-file message).
    QString fehler() const { return zFehler; }
    // Marks the stream as damaged, for checks made by the records themselves.
    void Fehler(const QString& grund);
    qint64 position() const;
    // The bytes not read yet.
    qint64 Rest() const;

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
    bool Lies(char* ziel, qint64 anzahl);
    QString Text(const QByteArray& bytes, const char* feld);

    QIODevice& zGeraet;
    QString zFehler;
    QString zUngueltig;
    qint64 zSpeicher = 0;
    qint64 zSpeichergrenze = Grundspeicher;
};
