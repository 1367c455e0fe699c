#include "jsonabbild.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "datenbestand.h"
#include "ergebnisdatei.h"
#include "jsonausgabe.h"
#include "jsonbaum.h"
#include "jsonfeldleser.h"

#include <QJsonParseError>
#include <memory>

const QString JsonAbbild::Verborgen = QStringLiteral("***");
const QString JsonAbbild::ArtKursliste = QStringLiteral("Kursliste");
const QString JsonAbbild::ArtErgebnis = QStringLiteral("Ergebnis");

namespace {

// --- Writing JSON ------------------------------------------------------------------------

void EintraegeAusgeben(JsonAusgabe& aus, const Eintraege& eintraege)
{
    aus.ListeBeginn();
    for (qint64 i = 0; i < eintraege.Anzahl(); ++i) {
        const Eintrag& e = eintraege.ZeigeEintrag(i);
        aus.ObjektBeginn(true);
        aus.Text(QStringLiteral("ID"), e.ID);
        aus.Text(QStringLiteral("Bezeichnung"), e.Bezeichnung);
        aus.ObjektEnde();
    }
    aus.ListeEnde();
}

void SchuelerAusgeben(JsonAusgabe& aus, const Schuelerliste& liste)
{
    aus.ListeBeginn();
    for (qint64 i = 1; i <= liste.AnzahlSchueler(); ++i) {
        const Schueler& s = liste.Zeigen(i);
        aus.ObjektBeginn(true);
        aus.Zahl(QStringLiteral("ID"), s.ID);
        aus.Text(QStringLiteral("GUID"), s.GUID);
        aus.Text(QStringLiteral("Name"), s.Name);
        aus.ObjektEnde();
    }
    aus.ListeEnde();
}

void SchuelerKurseAusgeben(JsonAusgabe& aus, const SchuelerKursliste& liste)
{
    aus.ListeBeginn();
    for (qint64 i = 1; i <= liste.AnzahlKurse(); ++i) {
        const SchuelerKursZeiger zeile = liste.ZeigePosition(i);
        aus.ObjektBeginn();
        aus.Text(QStringLiteral("FachKuerzel"), zeile->FachKuerzel);
        aus.Zahl(QStringLiteral("ID"), zeile->ID);
        aus.Schluessel(QStringLiteral("Eintraege"));
        aus.ListeBeginn();
        for (qint64 k = 0; k < zeile->Eintraege.Anzahl(); ++k) {
            const KursEintrag& e = zeile->Eintraege.ZeigeKursEintrag(k);
            aus.ObjektBeginn(true);
            aus.Text(QStringLiteral("ID"), e.ID);
            aus.Text(QStringLiteral("Bezeichnung"), e.Bezeichnung);
            aus.Text(QStringLiteral("datum"), e.datum);
            aus.ObjektEnde();
        }
        aus.ListeEnde();
        aus.ObjektEnde();
    }
    aus.ListeEnde();
}

// The course in the form of the course-list file: the optional sets only when the file
// carries them.
void KursAusgeben(JsonAusgabe& aus, const Kurs& k, const Datenbestand& d)
{
    aus.ObjektBeginn();
    aus.Wahrheitswert(QStringLiteral("geaendert"), k.geaendert);
    aus.Wahrheitswert(QStringLiteral("gespeichert"), k.gespeichert);
    aus.Wahrheitswert(QStringLiteral("gesendet"), k.gesendet);
    aus.Text(QStringLiteral("Kuerzel"), k.Kuerzel);
    aus.Text(QStringLiteral("Fach"), k.Fach);
    aus.Text(QStringLiteral("KursArt"), k.KursArt);
    aus.Zahl(QStringLiteral("kNr"), k.kNr);
    aus.Text(QStringLiteral("Lehrer"), k.Lehrer);
    aus.Text(QStringLiteral("Schueler"), k.Schueler.Ausgeben());
    if (d.mitMarkAbitur) {
        aus.Text(QStringLiteral("DrittesFachSchueler"), k.DrittesFachSchueler.Ausgeben());
        aus.Text(QStringLiteral("ViertesFachSchueler"), k.ViertesFachSchueler.Ausgeben());
    }
    if (d.mitMarkKlausur)
        aus.Text(QStringLiteral("KlausurSchueler"), k.KlausurSchueler.Ausgeben());
    if (d.mitWarnung)
        aus.Text(QStringLiteral("GewarntSchueler"), k.GewarntSchueler.Ausgeben());
    aus.ObjektEnde();
}

// --- Reading JSON ------------------------------------------------------------------------

QString ParserFehler(QJsonParseError::ParseError fehler)
{
    switch (fehler) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("ein Objekt ist nicht abgeschlossen");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("nach einem Feldnamen fehlt der Doppelpunkt");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("eine Liste ist nicht abgeschlossen");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("zwischen zwei Werten fehlt das Komma");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("ungültiger Wert");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("der Text endet mitten in einer Zahl");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("ungültige Zahl");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("ungültige Escape-Sequenz");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("ungültiges UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("ein Text ist nicht abgeschlossen");
    case QJsonParseError::MissingObject:
        return QStringLiteral("ein Objekt wurde erwartet");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("zu tief verschachtelt");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("die Datei ist zu groß");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("nach dem Ende stehen weitere Zeichen");
    default:
        return QStringLiteral("unbekannter Fehler");
    }
}

struct KurslistenLeser {
    JsonFeldleser oben;
    Datenbestand& d;
    Spaltenstruktur& s;
    QString& fehler;
    // The rows as the file holds them: their count, then row by row.
    QByteArray zeilen;

    bool ok() const { return fehler.isEmpty(); }

    void LiesEintraege()
    {
        const JsonBaum::Wert liste = oben.Liste(QStringLiteral("alleEintraege"));
        for (qsizetype i = 0; i < liste.anzahl() && ok(); ++i) {
            JsonFeldleser f(oben.Element(liste, QStringLiteral("alleEintraege"), i), oben,
                QStringLiteral("alleEintraege"), i);
            const QString id = f.Text(QStringLiteral("ID"));
            const QString bezeichnung = f.Text(QStringLiteral("Bezeichnung"));
            f.KeineWeiterenFelder();
            d.alleEintraege.Anfuegen(Eintrag(id, bezeichnung));
        }
        d.mitDaten = d.alleEintraege.Anzahl() > 0;
    }

    void LiesNoten()
    {
        const JsonBaum::Wert liste = oben.Liste(QStringLiteral("zNoten"));
        for (qsizetype i = 0; i < liste.anzahl() && ok(); ++i) {
            JsonFeldleser f(oben.Element(liste, QStringLiteral("zNoten"), i), oben,
                QStringLiteral("zNoten"), i);
            const QString kuerzel = f.Text(QStringLiteral("Kuerzel"));
            const QString bezeichnung = f.Text(QStringLiteral("Bezeichnung"));
            const QString punkte = f.Text(QStringLiteral("Punkte"));
            const qint64 wert = f.Int16(QStringLiteral("AlsWert"));
            f.KeineWeiterenFelder();
            d.zNoten.append(Note(kuerzel, bezeichnung, wert, punkte));
        }
    }

    QString Geheimnis(const QString& name)
    {
        const QString wert = oben.VerschluesselterText(name);
        if (ok() && wert == JsonAbbild::Verborgen)
            oben.Fehler(name,
                QStringLiteral("der Wert ist verborgen („***“); die JSON-Datei muss mit "
                               "„ravirireru-datei json --geheim“ erzeugt sein."));
        return wert;
    }

    void LiesSchueler()
    {
        const JsonBaum::Wert liste = oben.Liste(QStringLiteral("alleSchueler"));
        for (qsizetype i = 0; i < liste.anzahl() && ok(); ++i) {
            JsonFeldleser f(oben.Element(liste, QStringLiteral("alleSchueler"), i), oben,
                QStringLiteral("alleSchueler"), i);
            const qint64 id = f.Int32(QStringLiteral("ID"));
            const QString guid = f.Text(QStringLiteral("GUID"));
            const QString name = f.VerschluesselterText(QStringLiteral("Name"));
            f.KeineWeiterenFelder();
            d.alleSchueler.Anfuegen(Schueler(id, name, guid));
        }
    }

    // An optional set: required when the file carries it, refused when it does not.
    Menge OptionaleMenge(JsonFeldleser& f, const QString& name, bool mit, const QString& flagge)
    {
        if (mit)
            return Menge(f.MengenText(name));
        if (f.Vorhanden(name)) {
            f.Fehler(name, QStringLiteral("nur erlaubt, wenn %1 wahr ist.").arg(flagge));
            f.MengenText(name); // counts as read
        }
        return Menge();
    }

    void LiesKurse()
    {
        const JsonBaum::Wert liste = oben.Liste(QStringLiteral("alleKurse"));
        for (qsizetype i = 0; i < liste.anzahl() && ok(); ++i) {
            JsonFeldleser f(oben.Element(liste, QStringLiteral("alleKurse"), i), oben,
                QStringLiteral("alleKurse"), i);
            auto k = std::make_shared<Kurs>();
            k->geaendert = f.Boolean(QStringLiteral("geaendert"));
            k->gespeichert = f.Boolean(QStringLiteral("gespeichert"));
            k->gesendet = f.Boolean(QStringLiteral("gesendet"));
            k->Kuerzel = f.VerschluesselterText(QStringLiteral("Kuerzel"));
            k->Fach = f.VerschluesselterText(QStringLiteral("Fach"));
            k->KursArt = f.VerschluesselterText(QStringLiteral("KursArt"));
            k->kNr = f.Int16(QStringLiteral("kNr"));
            k->Lehrer = f.VerschluesselterText(QStringLiteral("Lehrer"));
            k->Schueler = Menge(f.MengenText(QStringLiteral("Schueler")));
            const QString abitur = QStringLiteral("mitMarkAbitur");
            k->DrittesFachSchueler
                = OptionaleMenge(f, QStringLiteral("DrittesFachSchueler"), d.mitMarkAbitur, abitur);
            k->ViertesFachSchueler
                = OptionaleMenge(f, QStringLiteral("ViertesFachSchueler"), d.mitMarkAbitur, abitur);
            k->KlausurSchueler = OptionaleMenge(f, QStringLiteral("KlausurSchueler"),
                d.mitMarkKlausur, QStringLiteral("mitMarkKlausur"));
            k->GewarntSchueler = OptionaleMenge(
                f, QStringLiteral("GewarntSchueler"), d.mitWarnung, QStringLiteral("mitWarnung"));
            f.KeineWeiterenFelder();
            d.alleKurse.Anfuegen(k);
        }
    }

    // The rows go into the file's bytes as they are given, one after the other: the file may
    // carry two rows with the same key, which must come out again unchanged. Whether the
    // program would take them (a row longer than the catalogue) is told by reading the whole
    // file once it is made.
    void LiesSchuelerKurse()
    {
        const JsonBaum::Wert liste = oben.Liste(QStringLiteral("alleSchuelerKurse"));
        DateiSchreiber schreiber;
        schreiber.SchreibeInt16(liste.anzahl());
        const QString feldname = QStringLiteral("alleSchuelerKurse");
        const QString eintraegeName = QStringLiteral("Eintraege");
        for (qsizetype i = 0; i < liste.anzahl() && ok(); ++i) {
            JsonFeldleser f(oben.Element(liste, feldname, i), oben, feldname, i);
            const QString fachKuerzel = f.Text(QStringLiteral("FachKuerzel"));
            const qint64 id = f.Int32(QStringLiteral("ID"));
            const JsonBaum::Wert eintraege = f.Liste(eintraegeName);
            schreiber.SchreibePString(fachKuerzel, QStringLiteral("SchuelerKurs.FachKuerzel"));
            schreiber.SchreibeInt32(id);
            schreiber.SchreibeInt16(eintraege.anzahl());
            for (qsizetype k = 0; k < eintraege.anzahl() && ok(); ++k) {
                JsonFeldleser e(f.Element(eintraege, eintraegeName, k), f, eintraegeName, k);
                const QString eintragId = e.Text(QStringLiteral("ID"));
                const QString bezeichnung = e.Text(QStringLiteral("Bezeichnung"));
                const QString datum = e.Text(QStringLiteral("datum"));
                e.KeineWeiterenFelder();
                schreiber.SchreibePString(eintragId, QStringLiteral("KursEintrag.ID"));
                schreiber.SchreibePString(bezeichnung, QStringLiteral("KursEintrag.Bezeichnung"));
                schreiber.SchreibePString(datum, QStringLiteral("KursEintrag.datum"));
            }
            f.KeineWeiterenFelder();
        }
        if (!ok())
            return;
        if (!schreiber.ok()) {
            fehler = schreiber.fehler();
            return;
        }
        zeilen = schreiber.Entnehmen();
    }

    void LiesSpalten()
    {
        const JsonBaum::Wert liste = oben.Liste(QStringLiteral("Spalten"));
        for (qsizetype i = 0; i < liste.anzahl() && ok(); ++i) {
            JsonFeldleser f(oben.Element(liste, QStringLiteral("Spalten"), i), oben,
                QStringLiteral("Spalten"), i);
            const QString ueberschrift = f.Text(QStringLiteral("Ueberschrift"));
            const qint64 breite = f.Int16(QStringLiteral("Breite"));
            const qint64 ausrichtung = f.Int16(QStringLiteral("Ausrichtung"));
            f.KeineWeiterenFelder();
            s.Spalten.append(EinfacheSpalte(ueberschrift, breite, ausrichtung));
        }
        s.SpaltenAnzahl = s.Spalten.size();
        s.ErsteSpalte = oben.Int16(QStringLiteral("ErsteSpalte"));
    }

    void Alles()
    {
        const QString art = oben.Text(QStringLiteral("Dateiart"));
        if (ok() && art != JsonAbbild::ArtKursliste) {
            oben.Fehler(QStringLiteral("Dateiart"),
                QStringLiteral("aus JSON wird nur eine „Kursliste“ geschrieben, nicht „%1“.")
                    .arg(art));
            return;
        }
        d.istAbiturListe = oben.Boolean(QStringLiteral("istAbiturListe"));
        d.Halbjahr = oben.Int16(QStringLiteral("Halbjahr"));
        d.HalbjahrKuerzel = oben.Text(QStringLiteral("HalbjahrKuerzel"));
        d.Halbjahrbezeichnung = oben.Text(QStringLiteral("Halbjahrbezeichnung"));
        d.mitMarkAbitur = oben.Boolean(QStringLiteral("mitMarkAbitur"));
        d.mitMarkKlausur = oben.Boolean(QStringLiteral("mitMarkKlausur"));
        d.mitDefiziten = oben.Boolean(QStringLiteral("mitDefiziten"));
        d.DefizitgrenzeEPH = oben.Int16(QStringLiteral("DefizitgrenzeEPH"));
        d.DefizitgrenzeQ = oben.Int16(QStringLiteral("DefizitgrenzeQ"));
        d.mitWarnung = oben.Boolean(QStringLiteral("mitWarnung"));
        LiesEintraege();
        LiesNoten();
        d.NotenPass = Geheimnis(QStringLiteral("NotenPass"));
        d.EMailAdresse = Geheimnis(QStringLiteral("EMailAdresse"));
        d.Absender = Geheimnis(QStringLiteral("Absender"));
        d.Server = Geheimnis(QStringLiteral("Server"));
        d.Benutzer = Geheimnis(QStringLiteral("Benutzer"));
        d.Pass = Geheimnis(QStringLiteral("Pass"));
        LiesSchueler();
        LiesKurse();
        LiesSchuelerKurse();
        LiesSpalten();
        oben.KeineWeiterenFelder();
    }
};

} // namespace

QByteArray JsonAbbild::Kursliste(const Datenbestand& d, const Spaltenstruktur& s, bool geheim)
{
    JsonAusgabe aus;
    auto geheimnis = [&](const QString& name, const QString& wert) {
        aus.Text(name, geheim ? wert : Verborgen);
    };
    aus.ObjektBeginn();
    aus.Text(QStringLiteral("Dateiart"), ArtKursliste);
    aus.Wahrheitswert(QStringLiteral("istAbiturListe"), d.istAbiturListe);
    aus.Zahl(QStringLiteral("Halbjahr"), d.Halbjahr);
    aus.Text(QStringLiteral("HalbjahrKuerzel"), d.HalbjahrKuerzel);
    aus.Text(QStringLiteral("Halbjahrbezeichnung"), d.Halbjahrbezeichnung);
    aus.Wahrheitswert(QStringLiteral("mitMarkAbitur"), d.mitMarkAbitur);
    aus.Wahrheitswert(QStringLiteral("mitMarkKlausur"), d.mitMarkKlausur);
    aus.Wahrheitswert(QStringLiteral("mitDefiziten"), d.mitDefiziten);
    aus.Zahl(QStringLiteral("DefizitgrenzeEPH"), d.DefizitgrenzeEPH);
    aus.Zahl(QStringLiteral("DefizitgrenzeQ"), d.DefizitgrenzeQ);
    aus.Wahrheitswert(QStringLiteral("mitWarnung"), d.mitWarnung);
    aus.Schluessel(QStringLiteral("alleEintraege"));
    EintraegeAusgeben(aus, d.alleEintraege);
    aus.Schluessel(QStringLiteral("zNoten"));
    aus.ListeBeginn();
    for (const Note& n : d.zNoten) {
        aus.ObjektBeginn(true);
        aus.Text(QStringLiteral("Kuerzel"), n.Kuerzel);
        aus.Text(QStringLiteral("Bezeichnung"), n.Bezeichnung);
        aus.Text(QStringLiteral("Punkte"), n.Punkte);
        aus.Zahl(QStringLiteral("AlsWert"), n.AlsWert);
        aus.ObjektEnde();
    }
    aus.ListeEnde();
    geheimnis(QStringLiteral("NotenPass"), d.NotenPass);
    geheimnis(QStringLiteral("EMailAdresse"), d.EMailAdresse);
    geheimnis(QStringLiteral("Absender"), d.Absender);
    geheimnis(QStringLiteral("Server"), d.Server);
    geheimnis(QStringLiteral("Benutzer"), d.Benutzer);
    geheimnis(QStringLiteral("Pass"), d.Pass);
    aus.Schluessel(QStringLiteral("alleSchueler"));
    SchuelerAusgeben(aus, d.alleSchueler);
    aus.Schluessel(QStringLiteral("alleKurse"));
    aus.ListeBeginn();
    for (qint64 i = 1; i <= d.alleKurse.AnzahlKurse(); ++i)
        KursAusgeben(aus, *d.alleKurse.Zeigen(i), d);
    aus.ListeEnde();
    aus.Schluessel(QStringLiteral("alleSchuelerKurse"));
    SchuelerKurseAusgeben(aus, d.alleSchuelerKurse);
    aus.Schluessel(QStringLiteral("Spalten"));
    aus.ListeBeginn();
    for (qint64 i = 0; i < s.SpaltenAnzahl && i < s.Spalten.size(); ++i) {
        const EinfacheSpalte& spalte = s.Spalten.at(i);
        aus.ObjektBeginn(true);
        aus.Text(QStringLiteral("Ueberschrift"), spalte.Ueberschrift);
        aus.Zahl(QStringLiteral("Breite"), spalte.GespeicherteBreite());
        aus.Zahl(QStringLiteral("Ausrichtung"), spalte.Ausrichtung);
        aus.ObjektEnde();
    }
    aus.ListeEnde();
    aus.Zahl(QStringLiteral("ErsteSpalte"), s.ErsteSpalte);
    aus.ObjektEnde();
    return aus.Ergebnis();
}

QByteArray JsonAbbild::Ergebnis(const Ergebnisdatei& e)
{
    JsonAusgabe aus;
    aus.ObjektBeginn();
    aus.Text(QStringLiteral("Dateiart"), ArtErgebnis);
    aus.Wahrheitswert(QStringLiteral("istAbiturListe"), e.istAbiturListe);
    aus.Zahl(QStringLiteral("Halbjahr"), e.Halbjahr);
    aus.Text(QStringLiteral("HalbjahrKuerzel"), e.HalbjahrKuerzel);
    aus.Text(QStringLiteral("Halbjahrbezeichnung"), e.Halbjahrbezeichnung);
    aus.Schluessel(QStringLiteral("Kurs"));
    aus.ObjektBeginn();
    const Kurs& k = e.kurs;
    aus.Text(QStringLiteral("Kuerzel"), k.Kuerzel);
    aus.Text(QStringLiteral("Fach"), k.Fach);
    aus.Text(QStringLiteral("KursArt"), k.KursArt);
    aus.Zahl(QStringLiteral("kNr"), k.kNr);
    aus.Text(QStringLiteral("Lehrer"), k.Lehrer);
    aus.Text(QStringLiteral("Schueler"), k.Schueler.Ausgeben());
    aus.Wahrheitswert(QStringLiteral("mitWarnung"), e.mitWarnung);
    if (e.mitWarnung)
        aus.Text(QStringLiteral("GewarntSchueler"), k.GewarntSchueler.Ausgeben());
    aus.ObjektEnde();
    aus.Schluessel(QStringLiteral("alleSchueler"));
    SchuelerAusgeben(aus, e.alleSchueler);
    aus.Schluessel(QStringLiteral("alleSchuelerKurse"));
    SchuelerKurseAusgeben(aus, e.alleSchuelerKurse);
    aus.ObjektEnde();
    return aus.Ergebnis();
}

bool JsonAbbild::KurslisteKodieren(
    QByteArray json, QByteArray& bytes, Spaltenstruktur& struktur, QString& meldung)
{
    Datenbestand daten;
    QByteArray zeilen;
    {
        if (json.startsWith("\xEF\xBB\xBF"))
            json.remove(0, 3);
        JsonBaum baum;
        int fehlerArt = 0;
        qsizetype stelle = 0;
        if (!baum.Lesen(std::move(json), fehlerArt, stelle)) {
            const QByteArray davor = baum.Text().left(stelle);
            const qsizetype zeile = davor.count('\n') + 1;
            const qsizetype spalte
                = QString::fromUtf8(davor.mid(davor.lastIndexOf('\n') + 1)).size() + 1;
            meldung = QStringLiteral("Die JSON-Datei ist fehlerhaft (Zeile %1, Spalte %2): %3.")
                          .arg(zeile)
                          .arg(spalte)
                          .arg(ParserFehler(QJsonParseError::ParseError(fehlerArt)));
            return false;
        }
        if (!baum.Wurzel().istObjekt()) {
            meldung = QStringLiteral(
                "Die JSON-Datei enthält kein Objekt mit den Feldern einer Kursliste.");
            return false;
        }
        QString fehler;
        KurslistenLeser leser { JsonFeldleser(baum.Wurzel(), fehler), daten, struktur, fehler, {} };
        leser.Alles();
        if (!fehler.isEmpty()) {
            meldung = fehler;
            return false;
        }
        zeilen = std::move(leser.zeilen);
    }
    // The tree is gone: the file is the bytes of the values with the rows put in where the
    // list of rows (empty here) stands, just before the column layout.
    QByteArray ohneZeilen;
    if (!Datenbestand::Kodieren(daten, struktur, ohneZeilen, meldung))
        return false;
    DateiSchreiber spalten;
    struktur.Speichern(spalten);
    const qsizetype stelle = ohneZeilen.size() - spalten.Entnehmen().size() - 2;
    Q_ASSERT(stelle >= 0 && ohneZeilen.at(stelle) == 0 && ohneZeilen.at(stelle + 1) == 0);
    bytes = QByteArray();
    bytes.reserve(ohneZeilen.size() - 2 + zeilen.size());
    bytes += QByteArrayView(ohneZeilen).first(stelle);
    bytes += zeilen;
    bytes += QByteArrayView(ohneZeilen).sliced(stelle + 2);
    return true;
}
