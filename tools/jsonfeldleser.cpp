#include "jsonfeldleser.h"

#include "hilfsmittel.h"

#include <cmath>

namespace {

// The length in UTF-8 of a text of valid UTF-16 (a surrogate pair is one code point of four
// bytes), without making the bytes.
qsizetype Utf8Laenge(QStringView text)
{
    qsizetype laenge = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        laenge += u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isSurrogate(u) ? 2 : 3;
    }
    return laenge;
}

} // namespace

JsonFeldleser::JsonFeldleser(const JsonBaum::Wert& objekt, QString& fehler)
    : zObjekt(objekt)
    , zFehler(fehler)
{
}

JsonFeldleser::JsonFeldleser(
    const JsonBaum::Wert& objekt, const JsonFeldleser& eltern, const QString& liste, qsizetype i)
    : zObjekt(objekt)
    , zEltern(&eltern)
    , zListe(liste)
    , zIndex(i)
    , zFehler(eltern.zFehler)
{
}

QString JsonFeldleser::EigenerPfad() const
{
    if (!zEltern)
        return {};
    return zEltern->Pfad(QStringLiteral("%1[%2]").arg(zListe).arg(zIndex));
}

QString JsonFeldleser::Pfad(const QString& name) const
{
    const QString eigener = EigenerPfad();
    return eigener.isEmpty() ? name : eigener + QLatin1Char('.') + name;
}

void JsonFeldleser::Fehler(const QString& name, const QString& grund)
{
    if (zFehler.isEmpty())
        zFehler = QStringLiteral("Feld %1: %2").arg(Pfad(name), grund);
}

JsonBaum::Wert JsonFeldleser::Wert(const QString& name)
{
    if (!zGelesen.contains(name))
        zGelesen.append(name);
    if (!ok())
        return {};
    const JsonBaum::Wert wert = zObjekt.feld(name);
    if (!wert.gueltig())
        Fehler(name, QStringLiteral("fehlt."));
    return wert;
}

bool JsonFeldleser::Boolean(const QString& name)
{
    const JsonBaum::Wert wert = Wert(name);
    if (!ok())
        return false;
    if (!wert.istWahrheitswert()) {
        Fehler(name, QStringLiteral("erwartet wird ein Wahrheitswert (true oder false)."));
        return false;
    }
    return wert.wahr();
}

qint64 JsonFeldleser::Zahl(const QString& name, qint64 kleinste, qint64 groesste)
{
    const JsonBaum::Wert wert = Wert(name);
    if (!ok())
        return 0;
    const double zahl = wert.zahl();
    if (!wert.istZahl() || !std::isfinite(zahl) || std::trunc(zahl) != zahl) {
        Fehler(name, QStringLiteral("erwartet wird eine ganze Zahl."));
        return 0;
    }
    // The range check on the double keeps huge values away from the conversion.
    if (zahl < double(kleinste) || zahl > double(groesste)) {
        Fehler(name,
            QStringLiteral("die Zahl %1 liegt außerhalb des Bereichs von %2 bis %3.")
                .arg(QString::number(zahl, 'g', 17))
                .arg(kleinste)
                .arg(groesste));
        return 0;
    }
    return qint64(zahl);
}

QString JsonFeldleser::PruefeText(const QString& name, const JsonBaum::Wert& wert)
{
    if (!wert.istText()) {
        Fehler(name, QStringLiteral("erwartet wird ein Text."));
        return {};
    }
    const QString text = wert.text();
    if (!text.isValidUtf16()) {
        Fehler(name, QStringLiteral("der Text enthält ein ungültiges Zeichen."));
        return {};
    }
    return text;
}

QString JsonFeldleser::Text(const QString& name)
{
    const JsonBaum::Wert wert = Wert(name);
    if (!ok())
        return {};
    const QString text = PruefeText(name, wert);
    const qsizetype laenge = Utf8Laenge(text);
    if (laenge > MaxPString)
        Fehler(name,
            QStringLiteral("der Text ist zu lang (%1 Bytes, höchstens %2).")
                .arg(laenge)
                .arg(MaxPString));
    return ok() ? text : QString();
}

QString JsonFeldleser::VerschluesselterText(const QString& name)
{
    const JsonBaum::Wert wert = Wert(name);
    if (!ok())
        return {};
    const QString text = PruefeText(name, wert);
    if (!ok())
        return {};
    if (!Hilfsmittel::ChiffreMoeglich(text)) {
        Fehler(name,
            QStringLiteral("der Text enthält ein Zeichen, das sich nicht verschlüsseln lässt."));
        return {};
    }
    const qsizetype laenge = Hilfsmittel::Chiffre(text).toUtf8().size();
    if (laenge > MaxPString)
        Fehler(name,
            QStringLiteral("der Text ist zu lang (verschlüsselt %1 Bytes, höchstens %2).")
                .arg(laenge)
                .arg(MaxPString));
    return ok() ? text : QString();
}

QString JsonFeldleser::MengenText(const QString& name)
{
    const JsonBaum::Wert wert = Wert(name);
    if (!ok())
        return {};
    const QString text = PruefeText(name, wert);
    if (!ok())
        return {};
    const QString normal = Hilfsmittel::KommaVorneKommaHinten(text);
    const qsizetype laenge = normal.toUtf8().size();
    if (laenge > MaxMenge) {
        Fehler(name,
            QStringLiteral("die Menge ist zu lang (%1 Bytes, höchstens %2).")
                .arg(laenge)
                .arg(MaxMenge));
        return {};
    }
    return text;
}

JsonBaum::Wert JsonFeldleser::Liste(const QString& name)
{
    const JsonBaum::Wert wert = Wert(name);
    if (!ok())
        return {};
    if (!wert.istListe()) {
        Fehler(name, QStringLiteral("erwartet wird eine Liste."));
        return {};
    }
    if (wert.anzahl() > MaxListe) {
        Fehler(name,
            QStringLiteral("die Liste hat zu viele Elemente (%1, höchstens %2).")
                .arg(wert.anzahl())
                .arg(MaxListe));
        return {};
    }
    return wert;
}

JsonBaum::Wert JsonFeldleser::Element(const JsonBaum::Wert& liste, const QString& name, qsizetype i)
{
    const JsonBaum::Wert wert = liste.element(i);
    if (ok() && !wert.istObjekt())
        Fehler(
            QStringLiteral("%1[%2]").arg(name).arg(i), QStringLiteral("erwartet wird ein Objekt."));
    return ok() ? wert : JsonBaum::Wert();
}

void JsonFeldleser::KeineWeiterenFelder()
{
    if (!ok())
        return;
    // Every name read is a field of the object (a missing one is a fault already): as many
    // fields as names read means none is left.
    if (zObjekt.anzahl() == zGelesen.size())
        return;
    for (const QString& schluessel : zObjekt.schluessel()) {
        if (!zGelesen.contains(schluessel)) {
            Fehler(schluessel, QStringLiteral("unbekanntes Feld."));
            return;
        }
    }
}
