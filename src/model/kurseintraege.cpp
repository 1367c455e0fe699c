#include "kurseintraege.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "eintraege.h"
#include "hilfsmittel.h"
#include "listen.h"
#include "vorrat.h"

using Hilfsmittel::GleichOhneGross;

KursEintraege::KursEintraege(DateiLeser& leser, qint64 hoechstens)
{
    const qint64 n = leser.LeseInt16();
    // One entry per catalogue entry: a row with more has no place for the rest.
    if (n > hoechstens) {
        leser.Fehler(
            QStringLiteral("Kurszeile mit %1 Einträgen bei %2 im Katalog").arg(n).arg(hoechstens));
        return;
    }
    // An entry holds at least its three length bytes.
    if (!leser.ListeLesbar(n, 3, sizeof(KursEintrag)))
        return;
    if (n <= 0)
        return;
    // A row whose entries are byte for byte those of a row read before shares that row's list
    // (a change to either is made on a copy of its own); it counts in the reader's budget as
    // if it were read.
    qint64 kosten = 0;
    const QByteArrayView bytes = leser.PStringsVoraus(3 * n, kosten);
    bool gefunden = false;
    auto* platz = bytes.isNull()
        ? nullptr
        : &leser.Eintragsvorrat().Suchen(bytes.data(), bytes.size(), gefunden);
    if (gefunden) {
        zKursEintraege = platz->wert.zKursEintraege;
        leser.Ueberspringen(bytes.size(), kosten);
        return;
    }
    const qsizetype ungueltigVorher = leser.ungueltigerText().size();
    zKursEintraege.reserve(n);
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        zKursEintraege.emplaceBack(leser);
    // Only sound rows are shared; equal bytes are equally sound.
    if (platz && leser.ok() && leser.ungueltigerText().size() == ungueltigVorher)
        leser.Eintragsvorrat().Ablegen(*platz, bytes.data(), bytes.size(), *this);
}

void KursEintraege::Speichern(DateiSchreiber& schreiber) const
{
    if (zKursEintraege.size() > 32767) {
        schreiber.Fehler(QStringLiteral("Zu viele Einträge in einer Kurszeile."));
        return;
    }
    // A list shared with other rows (rows read alike, a window's copy) is encoded once; the
    // others copy its bytes. A list of its own is written at once: nothing else is like it.
    const bool geteilt = !zKursEintraege.isEmpty() && !zKursEintraege.isDetached();
    const void* schluessel = zKursEintraege.constData();
    if (geteilt && schreiber.Wiederholen(schluessel, zKursEintraege.size()))
        return;
    const qsizetype anfang = schreiber.Position();
    schreiber.SchreibeInt16(zKursEintraege.size());
    for (const KursEintrag& e : zKursEintraege)
        e.Speichern(schreiber);
    if (geteilt)
        schreiber.Vermerken(schluessel, zKursEintraege.size(), anfang);
}

KursEintrag& KursEintraege::ZeigeKursEintrag(qint64 i)
{
    Listen::PruefePosition(zKursEintraege, i, "KursEintraege::ZeigeKursEintrag");
    return zKursEintraege[i];
}

const KursEintrag& KursEintraege::ZeigeKursEintrag(qint64 i) const
{
    Listen::PruefePosition(zKursEintraege, i, "KursEintraege::ZeigeKursEintrag");
    return zKursEintraege.at(i);
}

void KursEintraege::Eintragen(const QString& id, const QString& bezeichnung, const QString& wert)
{
    for (KursEintrag& e : zKursEintraege) {
        if (GleichOhneGross(e.ID, id) && GleichOhneGross(e.Bezeichnung, bezeichnung)) {
            e.datum = wert;
            return;
        }
    }
}

void KursEintraege::Eintragen(const QString& id, const QString& wert)
{
    for (KursEintrag& e : zKursEintraege) {
        if (GleichOhneGross(e.ID, id)) {
            e.datum = wert;
            return;
        }
    }
}

QString KursEintraege::Zeigen(const QString& id, const QString& bezeichnung) const
{
    for (const KursEintrag& e : zKursEintraege) {
        if (GleichOhneGross(e.ID, id) && GleichOhneGross(e.Bezeichnung, bezeichnung))
            return e.datum;
    }
    return {};
}

void KursEintraege::SpalteVerschieben(qint64 von, qint64 nach)
{
    Listen::Verschieben(zKursEintraege, von, nach, "KursEintraege::SpalteVerschieben");
}

void KursEintraege::Auffuellen(const Eintraege& katalog, qint64 bis)
{
    while (Anzahl() <= bis && Anzahl() < katalog.Anzahl()) {
        const Eintrag& e = katalog.ZeigeEintrag(Anzahl());
        Anfuegen(KursEintrag(e.ID, e.Bezeichnung, QString()));
    }
}
