#pragma once

#include "datenbestand.h"

#include <QByteArray>
#include <QString>

// Bytes, files and loading for the tests: a course list as the bytes of its file, those bytes
// written to disk or read back with the model's reader, and a file loaded as the program
// loads it. A fixture that cannot be written ends the test run with the reason (qFatal):
// it is a fault of the test, never a result.
namespace Dateihelfer {

// The bytes of the course-list file of daten with the given layout, or with the default
// layout built from daten.
QByteArray Kursliste(const Datenbestand& daten, const Spaltenstruktur& struktur);
QByteArray Kursliste(const Datenbestand& daten);
// The same for data a test expects the writer to refuse: "FEHLER: " and the writer's reason
// instead of the bytes when it does.
QByteArray KurslisteOderFehler(const Datenbestand& daten, const Spaltenstruktur& struktur);

// Writes bytes to pfad (replacing what is there); false when that fails.
bool Schreiben(const QString& pfad, const QByteArray& bytes);
// The bytes of the file at pfad; empty when it cannot be read.
QByteArray Lesen(const QString& pfad);
// The same, but "<fehlt>" when it cannot be read: a missing file equals no content at all.
QByteArray Inhalt(const QString& pfad);

// Reads the bytes of a course-list file with the model's reader (Datenbestand::Lesen).
bool Lesen(const QByteArray& bytes, Datenbestand& daten, Spaltenstruktur& struktur,
    QString* meldung = nullptr);
bool Lesen(
    const QByteArray& bytes, Datenbestand& daten, Spaltenstruktur& struktur, QString& meldung);
// Reads the course-list file at pfad with the model's reader.
bool Lesen(const QString& pfad, Datenbestand& daten, Spaltenstruktur& struktur);

// Makes daten (and the default layout) the global data through the reader, as if loaded
// from pfad (datenFolder), without touching the disk.
void AlsGlobaleDaten(const Datenbestand& daten, const QString& pfad = QString());

// Writes the bytes to ordner/name and loads that file as the program does
// (Daten.LadeDatei, after a reset of the global data). Returns the path; empty when writing
// or loading failed.
QString SchreibenUndLaden(const QString& ordner, const QByteArray& bytes,
    const QString& name = QStringLiteral("Kursliste.zln"));
// The same for daten with its default layout.
QString Anlegen(const QString& ordner, const Datenbestand& daten,
    const QString& name = QStringLiteral("Kursliste.zln"));

} // namespace Dateihelfer
