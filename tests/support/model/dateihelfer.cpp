#include "dateihelfer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace Dateihelfer {

namespace {

bool Kodieren(
    const Datenbestand& daten, const Spaltenstruktur& struktur, QByteArray& bytes, QString& meldung)
{
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    return Datenbestand::Schreiben(puffer, daten, struktur, meldung);
}

} // namespace

QByteArray KurslisteOderFehler(const Datenbestand& daten, const Spaltenstruktur& struktur)
{
    QByteArray bytes;
    QString meldung;
    if (!Kodieren(daten, struktur, bytes, meldung))
        return QByteArray("FEHLER: ") + meldung.toUtf8();
    return bytes;
}

QByteArray Kursliste(const Datenbestand& daten, const Spaltenstruktur& struktur)
{
    QByteArray bytes;
    QString meldung;
    if (!Kodieren(daten, struktur, bytes, meldung))
        qFatal("Kursliste der Testdaten nicht schreibbar: %s", qPrintable(meldung));
    return bytes;
}

QByteArray Kursliste(const Datenbestand& daten)
{
    Spaltenstruktur struktur;
    struktur.KurslistenInit(daten);
    return Kursliste(daten, struktur);
}

bool Schreiben(const QString& pfad, const QByteArray& bytes)
{
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && datei.write(bytes) == bytes.size() && datei.flush();
}

QByteArray Lesen(const QString& pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

QByteArray Inhalt(const QString& pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray("<fehlt>");
}

bool Lesen(
    const QByteArray& bytes, Datenbestand& daten, Spaltenstruktur& struktur, QString& meldung)
{
    return Lesen(bytes, daten, struktur, &meldung);
}

bool Lesen(
    const QByteArray& bytes, Datenbestand& daten, Spaltenstruktur& struktur, QString* meldung)
{
    QByteArray kopie = bytes;
    QBuffer puffer(&kopie);
    puffer.open(QIODevice::ReadOnly);
    QString text;
    const bool ok = Datenbestand::Lesen(puffer, daten, struktur, text);
    if (meldung)
        *meldung = text;
    return ok;
}

bool Lesen(const QString& pfad, Datenbestand& daten, Spaltenstruktur& struktur)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    QString meldung;
    return Datenbestand::Lesen(datei, daten, struktur, meldung);
}

void AlsGlobaleDaten(const Datenbestand& daten, const QString& pfad)
{
    const QByteArray bytes = Kursliste(daten);
    GlobaleDatenZuruecksetzen();
    QString meldung;
    if (!Lesen(bytes, Daten, TabellenStruktur, &meldung))
        qFatal("Kursliste der Testdaten nicht lesbar: %s", qPrintable(meldung));
    Daten.datenFolder = pfad;
}

QString SchreibenUndLaden(const QString& ordner, const QByteArray& bytes, const QString& name)
{
    const QString pfad = QDir(ordner).filePath(name);
    if (bytes.isEmpty() || !Schreiben(pfad, bytes))
        return {};
    GlobaleDatenZuruecksetzen();
    return Daten.LadeDatei(pfad) ? pfad : QString();
}

QString Anlegen(const QString& ordner, const Datenbestand& daten, const QString& name)
{
    return SchreibenUndLaden(ordner, Kursliste(daten), name);
}

} // namespace Dateihelfer
