#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

// Writes the big-endian fields of our binary files: into one growing block of memory (the
// bytes of a whole file, handed on in one write), or into a device, where every field goes
// out as it is written.
// Integers are narrowed to their field by keeping the low-order bits, as the format
// has always done. A text that does not fit its field is never cut: the writer fails
// and says which field it was. The first failure is kept; later writes do nothing.
class DateiSchreiber {
public:
    // Into memory; erwarteteGroesse: the bytes reserved at once (a file's former size).
    explicit DateiSchreiber(qsizetype erwarteteGroesse = 0);
    // Into the device, field by field.
    explicit DateiSchreiber(QIODevice& geraet);
    DateiSchreiber(const DateiSchreiber&) = delete;
    DateiSchreiber& operator=(const DateiSchreiber&) = delete;

    void SchreibeBoolean(bool wert);
    void SchreibeInt16(qint64 wert);
    void SchreibeInt32(qint64 wert);
    // feld names the field in the German message when the text is longer than 255 bytes.
    void SchreibePString(const QString& text, const QString& feld);
    // The scrambled form (Hilfsmittel::Chiffre) of text as a PString.
    void SchreibeVerschluesselt(const QString& text, const QString& feld);
    void SchreibeBytes(const QByteArray& bytes);
    // An Int16 byte length, then the text as UTF-8. Returns the text's length in bytes; a text
    // of more than hoechstens bytes is not written (the caller says why with Fehler).
    qsizetype SchreibeLangtext(const QString& text, qsizetype hoechstens);

    // Values shared by many rows (implicit sharing: the reader gives rows of equal bytes one
    // list) are encoded once per writer: Vermerken notes the bytes written since anfang for the
    // value at schluessel with anzahl elements, Wiederholen writes the noted bytes again and
    // says whether it did. The key is the shared data's address, so it stands for the same
    // content only while every value written lives unchanged, as it does while one file is
    // written from const data; a writer is for one file. Into a device nothing is noted.
    qsizetype Position() const { return zLaenge; }
    bool Wiederholen(const void* schluessel, qsizetype anzahl);
    void Vermerken(const void* schluessel, qsizetype anzahl, qsizetype anfang);

    bool ok() const { return zFehler.isEmpty(); }
    QString fehler() const { return zFehler; }
    void Fehler(const QString& meldung);

    // Takes the bytes written into memory (none when writing into a device).
    QByteArray Entnehmen();

private:
    // Room for n more bytes at the end; the pointer to it.
    char* Platz(qsizetype n)
    {
        if (zLaenge + n > zPuffer.size())
            Wachsen(n);
        char* z = zDaten + zLaenge;
        zLaenge += n;
        return z;
    }
    void Wachsen(qsizetype n);
    // Writes the text as UTF-8 (the scrambled form when verschluesselt) after laengenbytes
    // bytes kept for its length, which are filled in when the text takes at most hoechstens
    // bytes. Returns the text's length in bytes; a longer text is taken back.
    qsizetype Text(
        const QString& text, bool verschluesselt, int laengenbytes, qsizetype hoechstens);
    // Into a device: hands on what the last field wrote.
    void Weitergeben();

    struct Vermerk {
        const void* schluessel = nullptr;
        qsizetype anzahl = 0;
        qsizetype anfang = 0;
        qsizetype laenge = 0;
    };
    static constexpr qsizetype Vermerkplaetze = 4096; // a power of two
    static qsizetype Vermerkplatz(const void* schluessel);
    std::unique_ptr<Vermerk[]> zVermerke; // made on the first note

    QIODevice* zGeraet = nullptr;
    QByteArray zPuffer; // its first zLaenge bytes are written
    char* zDaten = nullptr; // zPuffer's bytes
    qsizetype zLaenge = 0;
    QString zFehler;
};
