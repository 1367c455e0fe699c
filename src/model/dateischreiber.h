#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes the big-endian fields of our binary files to any QIODevice.
// Integers are narrowed to their field by keeping the low-order bits, as the format
// has always done. A text that does not fit its field is never cut: the writer fails
// and says which field it was. The first failure is kept; later writes do nothing.
class DateiSchreiber {
public:
    explicit DateiSchreiber(QIODevice& geraet);

    void SchreibeBoolean(bool wert);
    void SchreibeInt16(qint64 wert);
    void SchreibeInt32(qint64 wert);
    // feld names the field in the German message when the text is longer than 255 bytes.
    void SchreibePString(const QString& text, const QString& feld);
    // The scrambled form (Hilfsmittel::Chiffre) of text as a PString.
    void SchreibeVerschluesselt(const QString& text, const QString& feld);
    void SchreibeBytes(const QByteArray& bytes);

    bool ok() const { return zFehler.isEmpty(); }
    QString fehler() const { return zFehler; }
    void Fehler(const QString& meldung);

private:
    void Schreibe(const char* daten, qint64 anzahl);

    QIODevice& zGeraet;
    QString zFehler;
};
