#include "kurslistenbauer.h"

#include "dateihelfer.h"

#include <memory>

namespace {

KursZeiger KursMitKuerzel(Datenbestand& d, const QString& kuerzel)
{
    for (qint64 i = 1; i <= d.alleKurse.AnzahlKurse(); ++i)
        if (d.alleKurse.Zeigen(i)->Kuerzel == kuerzel)
            return d.alleKurse.Zeigen(i);
    qFatal("Testdaten ohne Kurs %s", qPrintable(kuerzel));
    return nullptr;
}

} // namespace

Kurslistenbauer& Kurslistenbauer::MarkAbitur(bool an)
{
    zMarkAbitur = an;
    return *this;
}

Kurslistenbauer& Kurslistenbauer::MarkKlausur(bool an)
{
    zMarkKlausur = an;
    return *this;
}

Kurslistenbauer& Kurslistenbauer::Warnung(bool an)
{
    zWarnung = an;
    return *this;
}

Kurslistenbauer& Kurslistenbauer::Defizite(bool an)
{
    zDefizite = an;
    return *this;
}

Kurslistenbauer& Kurslistenbauer::AbiturListe(bool an)
{
    zAbiturListe = an;
    return *this;
}

Kurslistenbauer& Kurslistenbauer::OhneWeitereEintraege()
{
    zWeitereEintraege = false;
    return *this;
}

Kurslistenbauer& Kurslistenbauer::WeitereSchueler(
    const QString& kuerzel, qint64 ab, int anzahl, bool mitZeilen)
{
    return Aendern([=](Datenbestand& d) {
        const KursZeiger kurs = KursMitKuerzel(d, kuerzel);
        for (int n = 0; n < anzahl; ++n) {
            const qint64 id = ab + n;
            d.alleSchueler.Anfuegen(::Schueler(
                id, QStringLiteral("Schüler %1").arg(id), QStringLiteral("g-%1").arg(id)));
            kurs->Schueler.Einfuegen(id);
            if (!mitZeilen)
                continue;
            auto z = std::make_shared<SchuelerKurs>(kuerzel, id);
            KursEintraege eintraege;
            for (qint64 i = 0; i < d.alleEintraege.Anzahl(); ++i) {
                const Eintrag& e = d.alleEintraege.ZeigeEintrag(i);
                QString wert;
                if (e.Bezeichnung == QLatin1String("Note"))
                    wert = QStringLiteral("10");
                else if (e.Bezeichnung == QLatin1String("Fehlstunden"))
                    wert = QStringLiteral("2");
                eintraege.Anfuegen(KursEintrag(e.ID, e.Bezeichnung, wert));
            }
            z->Eintraege = eintraege;
            d.alleSchuelerKurse.Anfuegen(z);
        }
    });
}

Kurslistenbauer& Kurslistenbauer::Schueler(qint64 id, const QString& name, const QString& kuerzel)
{
    return Aendern([=](Datenbestand& d) {
        d.alleSchueler.Anfuegen(::Schueler(id, name, QStringLiteral("g-%1").arg(id)));
        if (!kuerzel.isEmpty())
            KursMitKuerzel(d, kuerzel)->Schueler.Einfuegen(id);
    });
}

Kurslistenbauer& Kurslistenbauer::Vollstaendig(const QString& kuerzel)
{
    return Aendern([=](Datenbestand& d) {
        const KursZeiger kurs = KursMitKuerzel(d, kuerzel);
        for (qint64 i = 1; i <= d.alleSchueler.AnzahlSchueler(); ++i) {
            const qint64 id = d.alleSchueler.Zeigen(i).ID;
            if (!kurs->Schueler.Enthalten(id))
                continue;
            SchuelerKursZeiger zeile = d.alleSchuelerKurse.Zeigen(kuerzel, id);
            if (!zeile) {
                // The row's entries from this list's catalogue, not the global one.
                zeile = std::make_shared<SchuelerKurs>(kuerzel, id);
                KursEintraege eintraege;
                for (qint64 e = 0; e < d.alleEintraege.Anzahl(); ++e) {
                    const Eintrag& k = d.alleEintraege.ZeigeEintrag(e);
                    eintraege.Anfuegen(KursEintrag(k.ID, k.Bezeichnung, QString()));
                }
                zeile->Eintraege = eintraege;
                d.alleSchuelerKurse.Anfuegen(zeile);
            }
            for (qint64 e = 0; e < zeile->Eintraege.Anzahl(); ++e) {
                KursEintrag& eintrag = zeile->Eintraege.ZeigeKursEintrag(e);
                const bool note
                    = eintrag.ID.isEmpty() && eintrag.Bezeichnung == QLatin1String("Note");
                const bool klausur = !eintrag.ID.isEmpty() && kurs->KlausurSchueler.Enthalten(id);
                if ((note || klausur) && eintrag.datum.trimmed().isEmpty())
                    eintrag.datum = QStringLiteral("10");
            }
        }
    });
}

Kurslistenbauer& Kurslistenbauer::Wert(
    const QString& kuerzel, qint64 id, const QString& bezeichnung, const QString& wert)
{
    return Aendern([=](Datenbestand& d) {
        const SchuelerKursZeiger zeile = d.alleSchuelerKurse.Zeigen(kuerzel, id);
        if (!zeile)
            qFatal("Testdaten ohne Kurszeile %s/%lld", qPrintable(kuerzel), id);
        for (qint64 i = 0; i < zeile->Eintraege.Anzahl(); ++i)
            if (zeile->Eintraege.ZeigeKursEintrag(i).Bezeichnung == bezeichnung) {
                zeile->Eintraege.ZeigeKursEintrag(i).datum = wert;
                return;
            }
        qFatal("Testdaten ohne Eintrag %s", qPrintable(bezeichnung));
    });
}

KursZeiger Kurslistenbauer::NeuerKurs(const QString& kuerzel, const QString& fach,
    const QString& art, qint64 nr, const QString& lehrer, const QString& schueler)
{
    auto kurs = std::make_shared<::Kurs>();
    kurs->Kuerzel = kuerzel;
    kurs->Fach = fach;
    kurs->KursArt = art;
    kurs->kNr = nr;
    kurs->Lehrer = lehrer;
    kurs->Schueler = Menge(schueler);
    return kurs;
}

Kurslistenbauer& Kurslistenbauer::Kurs(const QString& kuerzel, const QString& fach,
    const QString& art, qint64 nr, const QString& lehrer, const QString& schueler)
{
    return Aendern([=](Datenbestand& d) {
        d.alleKurse.Anfuegen(NeuerKurs(kuerzel, fach, art, nr, lehrer, schueler));
    });
}

Kurslistenbauer& Kurslistenbauer::Kursflaggen(
    const QString& kuerzel, bool geaendert, bool gespeichert, bool gesendet)
{
    return Aendern([=](Datenbestand& d) {
        const KursZeiger kurs = KursMitKuerzel(d, kuerzel);
        kurs->geaendert = geaendert;
        kurs->gespeichert = gespeichert;
        kurs->gesendet = gesendet;
    });
}

Kurslistenbauer& Kurslistenbauer::Aendern(std::function<void(Datenbestand&)> aenderung)
{
    zAenderungen.append(std::move(aenderung));
    return *this;
}

Datenbestand Kurslistenbauer::Bauen() const
{
    Datenbestand d;
    d.istAbiturListe = zAbiturListe;
    d.Halbjahr = 3;
    d.HalbjahrKuerzel = QStringLiteral("12.1");
    d.Halbjahrbezeichnung = QStringLiteral("Jahrgang 12, 1. Halbjahr");
    d.mitMarkAbitur = zMarkAbitur;
    d.mitMarkKlausur = zMarkKlausur;
    d.mitDefiziten = zDefizite;
    d.DefizitgrenzeEPH = 4;
    d.DefizitgrenzeQ = 4;
    d.mitWarnung = zWarnung;
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("unentschuldigte Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Hinweis")));
    if (zWeitereEintraege) {
        d.alleEintraege.Anfuegen(Eintrag(QStringLiteral("KL"), QStringLiteral("Klausur")));
        d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Sonstiges")));
    }
    d.mitDaten = true;
    for (int p = 15; p >= 0; --p)
        d.zNoten.append(
            Note(QString::number(p), QStringLiteral("%1 Punkte").arg(p), p, QString::number(p)));
    d.zNoten.append(Note(QStringLiteral("E"), QStringLiteral("entschuldigt"), -1, QString()));
    d.NotenPass = QStringLiteral("Geheim");
    d.EMailAdresse = QStringLiteral("noten@schule.example");
    d.Absender = QStringLiteral("lehrer@schule.example");
    d.Server = QStringLiteral("mail.schule.example");
    d.Benutzer = QStringLiteral("lehrer");
    d.Pass = QStringLiteral("Kennwort");
    const QStringList namen = { QStringLiteral("Albers, Anna"), QStringLiteral("Brandt, Ben"),
        QStringLiteral("Cordes, Clara"), QStringLiteral("Dahl, Dennis"),
        QStringLiteral("Ernst, Emil") };
    for (int i = 0; i < namen.size(); ++i)
        d.alleSchueler.Anfuegen(
            ::Schueler(11 + i, namen.at(i), QStringLiteral("g-%1").arg(11 + i)));

    auto m = std::make_shared<::Kurs>();
    m->kNr = 2;
    m->KursArt = QStringLiteral("LK");
    m->Fach = QStringLiteral("Mathematik");
    m->Lehrer = QStringLiteral("Mü");
    m->Kuerzel = QStringLiteral("M");
    m->Schueler = Menge(QStringLiteral("14,13,12,11"));
    m->DrittesFachSchueler = Menge(QStringLiteral("11,13"));
    m->ViertesFachSchueler = Menge(QStringLiteral("12,13"));
    m->KlausurSchueler = Menge(QStringLiteral("11,13"));
    m->GewarntSchueler = Menge(QStringLiteral("12"));
    d.alleKurse.Anfuegen(m);

    auto de = std::make_shared<::Kurs>();
    de->kNr = 1;
    de->KursArt = QStringLiteral("GK");
    de->Fach = QStringLiteral("Deutsch");
    de->Lehrer = QStringLiteral("Mü");
    de->Kuerzel = QStringLiteral("D");
    de->Schueler = Menge(QStringLiteral("12,15"));
    d.alleKurse.Anfuegen(de);

    const qint64 anzahl = d.alleEintraege.Anzahl();
    auto zeile = [&](const QString& fach, qint64 id, const QStringList& werte, qint64 laenge) {
        auto z = std::make_shared<SchuelerKurs>(fach, id);
        KursEintraege eintraege;
        for (qint64 i = 0; i < laenge; ++i) {
            const Eintrag& e = d.alleEintraege.ZeigeEintrag(i);
            eintraege.Anfuegen(
                KursEintrag(e.ID, e.Bezeichnung, i < werte.size() ? werte.at(i) : QString()));
        }
        z->Eintraege = eintraege;
        d.alleSchuelerKurse.Anfuegen(z);
    };
    zeile(QStringLiteral("M"), 11,
        { QStringLiteral("12"), QStringLiteral("4"), QStringLiteral("2"),
            QStringLiteral("Facharbeit"), QStringLiteral("11"), QStringLiteral("x") },
        anzahl);
    zeile(QStringLiteral("M"), 12,
        { QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("0"),
            QStringLiteral("Attest fehlt"), QStringLiteral("E"), QString() },
        anzahl);
    zeile(QStringLiteral("M"), 14, { QStringLiteral("7"), QStringLiteral("6") }, 2);
    zeile(QStringLiteral("D"), 12, { QStringLiteral("9") }, anzahl);

    for (const auto& aenderung : zAenderungen)
        aenderung(d);
    return d;
}

QByteArray Kurslistenbauer::Bytes() const
{
    return Dateihelfer::Kursliste(Bauen());
}

void Kurslistenbauer::AlsGlobaleDaten(const QString& pfad) const
{
    Dateihelfer::AlsGlobaleDaten(Bauen(), pfad);
}

QString Kurslistenbauer::Anlegen(const QString& ordner, const QString& name) const
{
    return Dateihelfer::Anlegen(ordner, Bauen(), name);
}

Kurslistenbauer& Kurslistenbauer::OhneKatalog()
{
    return Aendern([](Datenbestand& d) {
        d.alleEintraege = Eintraege();
        d.mitDaten = false;
        for (qint64 i = 1; i <= d.alleSchuelerKurse.AnzahlKurse(); ++i)
            d.alleSchuelerKurse.ZeigePosition(i)->Eintraege = KursEintraege();
    });
}
