#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads the big-endian fields of our binary files from any QIODevice.
// Every read is checked; the first failure is kept (later reads return zero values),
// so a record constructor can read all its fields and the caller checks ok() once.
class DateiLeser {
public:
    explicit DateiLeser(QIODevice& geraet);

    bool LeseBoolean();
    qint64 LeseInt16();
    qint64 LeseInt32();
    // One unsigned length byte, then that many bytes of UTF-8 text.
    QString LesePString();
    // n raw bytes (n comes from a preceding field); a negative n is a damaged file.
    QByteArray LeseBytes(qint64 n);

    bool ok() const { return zFehler.isEmpty(); }
    // Why reading stopped (for the developer; the user sees the damaged-file message).
    QString fehler() const { return zFehler; }
    // Marks the stream as damaged, for checks made by the records themselves.
    void Fehler(const QString& grund);
    qint64 position() const;

private:
    bool Lies(char* ziel, qint64 anzahl);

    QIODevice& zGeraet;
    QString zFehler;
};
