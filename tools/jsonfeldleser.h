#pragma once

#include "jsonbaum.h"

#include <QString>
#include <QVarLengthArray>

// Reads the fields of one JSON object for the course-list file and checks each against
// what its field in the file can hold: the type, the range of the integer, the length of
// the text in bytes (after scrambling for the scrambled fields), the number of elements.
// The first fault is kept as a German message that names the field by its path, e.g.
// "Feld alleKurse[2].Lehrer: der Text ist zu lang ..."; later reads return empty values.
class JsonFeldleser {
public:
    // The reader of the top object; fehler is shared by the readers of nested objects, only
    // the first fault is kept.
    JsonFeldleser(const JsonBaum::Wert& objekt, QString& fehler);
    // The reader of element i of the list liste of eltern (its path "liste[i]" below
    // eltern's, made only when a message needs it). eltern outlives it.
    JsonFeldleser(const JsonBaum::Wert& objekt, const JsonFeldleser& eltern, const QString& liste,
        qsizetype i);

    bool ok() const { return zFehler.isEmpty(); }
    // The path of a field of this object, for messages.
    QString Pfad(const QString& name) const;
    void Fehler(const QString& name, const QString& grund);

    bool Vorhanden(const QString& name) const { return zObjekt.feld(name).gueltig(); }
    bool Boolean(const QString& name);
    qint64 Int16(const QString& name) { return Zahl(name, -32768, 32767); }
    qint64 Int32(const QString& name) { return Zahl(name, -2147483648LL, 2147483647LL); }
    qint64 Zahl(const QString& name, qint64 kleinste, qint64 groesste);
    // A plain PString: at most 255 bytes of UTF-8.
    QString Text(const QString& name);
    // A scrambled PString: the scrambled text must be valid and at most 255 bytes.
    QString VerschluesselterText(const QString& name);
    // A set: the normalised text (comma at both ends, no blanks) at most 32,767 bytes.
    QString MengenText(const QString& name);
    // A list of at most 32,767 elements (the file's counts are Int16).
    JsonBaum::Wert Liste(const QString& name);
    // The element at position i of a list read with Liste, as an object.
    JsonBaum::Wert Element(const JsonBaum::Wert& liste, const QString& name, qsizetype i);

    // Refuses every field of the object that was not read (a misspelt name would
    // otherwise be lost without a word).
    void KeineWeiterenFelder();

    static constexpr qsizetype MaxPString = 255;
    static constexpr qsizetype MaxListe = 32767;
    static constexpr qsizetype MaxMenge = 32767;

private:
    QString EigenerPfad() const;
    JsonBaum::Wert Wert(const QString& name);
    QString PruefeText(const QString& name, const JsonBaum::Wert& wert);

    const JsonBaum::Wert zObjekt;
    const JsonFeldleser* zEltern = nullptr;
    const QString zListe;
    const qsizetype zIndex = -1;
    QString& zFehler;
    // The names read (an object has a handful of fields).
    QVarLengthArray<QString, 8> zGelesen;
};
