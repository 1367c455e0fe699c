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

JsonFeldleser::JsonFeldleser(const QJsonObject& objekt, QString& fehler)
    : zObjekt(objekt)
    , zFehler(fehler)
{
}

JsonFeldleser::JsonFeldleser(const QJsonObject& objekt, const JsonFeldleser& eltern,
                             const QString& liste, qsizetype i)
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

QJsonValue JsonFeldleser::Wert(const QString& name)
{
    if (!zGelesen.contains(name))
        zGelesen.append(name);
    if (!ok())
        return QJsonValue(QJsonValue::Undefined);
    const auto it = zObjekt.constFind(name);
    if (it == zObjekt.constEnd()) {
        Fehler(name, QStringLiteral("fehlt."));
        return QJsonValue(QJsonValue::Undefined);
    }
    return it.value();
}

bool JsonFeldleser::Boolean(const QString& name)
{
    const QJsonValue wert = Wert(name);
    if (!ok())
        return false;
    if (!wert.isBool()) {
        Fehler(name, QStringLiteral("erwartet wird ein Wahrheitswert (true oder false)."));
        return false;
    }
    return wert.toBool();
}

qint64 JsonFeldleser::Zahl(const QString& name, qint64 kleinste, qint64 groesste)
{
    const QJsonValue wert = Wert(name);
    if (!ok())
        return 0;
    const double zahl = wert.toDouble();
    if (!wert.isDouble() || !std::isfinite(zahl) || std::trunc(zahl) != zahl) {
        Fehler(name, QStringLiteral("erwartet wird eine ganze Zahl."));
        return 0;
    }
    // The range check on the double keeps huge values away from the conversion.
    if (zahl < double(kleinste) || zahl > double(groesste)) {
        Fehler(name, QStringLiteral("die Zahl %1 liegt außerhalb des Bereichs von %2 bis %3.")
                         .arg(QString::number(zahl, 'g', 17))
                         .arg(kleinste)
                         .arg(groesste));
        return 0;
    }
    return qint64(zahl);
}

QString JsonFeldleser::PruefeText(const QString& name, const QJsonValue& wert)
{
    if (!wert.isString()) {
        Fehler(name, QStringLiteral("erwartet wird ein Text."));
        return {};
    }
    const QString text = wert.toString();
    if (!text.isValidUtf16()) {
        Fehler(name, QStringLiteral("der Text enthält ein ungültiges Zeichen."));
        return {};
    }
    return text;
}

QString JsonFeldleser::Text(const QString& name)
{
    const QJsonValue wert = Wert(name);
    if (!ok())
        return {};
    const QString text = PruefeText(name, wert);
    const qsizetype laenge = Utf8Laenge(text);
    if (laenge > MaxPString)
        Fehler(name, QStringLiteral("der Text ist zu lang (%1 Bytes, höchstens %2).")
                         .arg(laenge)
                         .arg(MaxPString));
    return ok() ? text : QString();
}

QString JsonFeldleser::VerschluesselterText(const QString& name)
{
    const QJsonValue wert = Wert(name);
    if (!ok())
        return {};
    const QString text = PruefeText(name, wert);
    if (!ok())
        return {};
    if (!Hilfsmittel::ChiffreMoeglich(text)) {
        Fehler(name, QStringLiteral("der Text enthält ein Zeichen, das sich nicht verschlüsseln lässt."));
        return {};
    }
    const qsizetype laenge = Hilfsmittel::Chiffre(text).toUtf8().size();
    if (laenge > MaxPString)
        Fehler(name, QStringLiteral("der Text ist zu lang (verschlüsselt %1 Bytes, höchstens %2).")
                         .arg(laenge)
                         .arg(MaxPString));
    return ok() ? text : QString();
}

QString JsonFeldleser::MengenText(const QString& name)
{
    const QJsonValue wert = Wert(name);
    if (!ok())
        return {};
    const QString text = PruefeText(name, wert);
    if (!ok())
        return {};
    const QString normal = Hilfsmittel::KommaVorneKommaHinten(text);
    const qsizetype laenge = normal.toUtf8().size();
    if (laenge > MaxMenge) {
        Fehler(name, QStringLiteral("die Menge ist zu lang (%1 Bytes, höchstens %2).")
                         .arg(laenge)
                         .arg(MaxMenge));
        return {};
    }
    return text;
}

QJsonArray JsonFeldleser::Liste(const QString& name)
{
    const QJsonValue wert = Wert(name);
    if (!ok())
        return {};
    if (!wert.isArray()) {
        Fehler(name, QStringLiteral("erwartet wird eine Liste."));
        return {};
    }
    const QJsonArray liste = wert.toArray();
    if (liste.size() > MaxListe) {
        Fehler(name, QStringLiteral("die Liste hat zu viele Elemente (%1, höchstens %2).")
                         .arg(liste.size())
                         .arg(MaxListe));
        return {};
    }
    return liste;
}

QJsonObject JsonFeldleser::Element(const QJsonArray& liste, const QString& name, qsizetype i)
{
    const QJsonValue wert = liste.at(i);
    if (ok() && !wert.isObject())
        Fehler(QStringLiteral("%1[%2]").arg(name).arg(i), QStringLiteral("erwartet wird ein Objekt."));
    return ok() ? wert.toObject() : QJsonObject();
}

void JsonFeldleser::KeineWeiterenFelder()
{
    if (!ok())
        return;
    // Every name read is a field of the object (a missing one is a fault already): as many
    // fields as names read means none is left.
    if (zObjekt.size() == zGelesen.size())
        return;
    for (auto it = zObjekt.constBegin(); it != zObjekt.constEnd(); ++it) {
        if (!zGelesen.contains(it.key())) {
            Fehler(it.key(), QStringLiteral("unbekanntes Feld."));
            return;
        }
    }
}
