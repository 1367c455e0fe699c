#include "wiederherstellung.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "plattform.h"
#include "zellpruefung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace {

using Hilfsmittel::GleichOhneGross;
using Hilfsmittel::PfadAnzeige;

KursZeiger KursMitKuerzel(const QString& kuerzel)
{
    for (qint64 i = 1; i <= Daten.alleKurse.AnzahlKurse(); ++i) {
        const KursZeiger k = Daten.alleKurse.Zeigen(i);
        if (GleichOhneGross(k->Kuerzel, kuerzel))
            return k;
    }
    return nullptr;
}

const Schueler* SchuelerMitID(qint64 id)
{
    for (qint64 i = 1; i <= Daten.alleSchueler.AnzahlSchueler(); ++i)
        if (Daten.alleSchueler.Zeigen(i).ID == id)
            return &Daten.alleSchueler.Zeigen(i);
    return nullptr;
}

QString SchuelerText(qint64 id)
{
    const Schueler* s = SchuelerMitID(id);
    return s ? QStringLiteral("„%1“").arg(s->Name)
             : QStringLiteral("Der Schüler mit der Nummer %1").arg(id);
}

// The catalogue position of the n-th entry with that ID and name, -1 if there is none.
qint64 Katalogstelle(const Eingabejournal::Aenderung& a)
{
    int gefunden = 0;
    for (qint64 i = 0; i < Daten.alleEintraege.Anzahl(); ++i) {
        const Eintrag& e = Daten.alleEintraege.ZeigeEintrag(i);
        if (GleichOhneGross(e.ID, a.eintragID)
            && GleichOhneGross(e.Bezeichnung, a.eintragBezeichnung) && gefunden++ == a.vorkommen)
            return i;
    }
    return -1;
}

QString Spaltenname(const Eingabejournal::Aenderung& a)
{
    return a.warnung ? QStringLiteral("W") : a.eintragBezeichnung;
}

// The value the course-list file holds for a cell.
QString Dateiwert(const Kurs& kurs, const Eingabejournal::Aenderung& a, qint64 stelle)
{
    if (a.warnung)
        return kurs.GewarntSchueler.Enthalten(a.schueler) ? QStringLiteral("X") : QString();
    const SchuelerKursZeiger zeile = Daten.alleSchuelerKurse.Zeigen(kurs.Kuerzel, a.schueler);
    if (!zeile || stelle >= zeile->Eintraege.Anzahl())
        return {};
    return zeile->Eintraege.ZeigeKursEintrag(stelle).datum;
}

QString Zeitpunkt(const QDateTime& zeit)
{
    const QLocale deutsch(QLocale::German);
    return QStringLiteral("am %1 um %2 Uhr")
        .arg(deutsch.toString(zeit.date(), QStringLiteral("dd.MM.yyyy")),
            deutsch.toString(zeit.time(), QStringLiteral("HH:mm")));
}

// The start of a value as a message shows it: a long one cut short, nothing in it steering
// the text.
QString Anfang(const QString& wert)
{
    constexpr int Zeichen = 40;
    const QString kurz = wert.size() > Zeichen ? wert.left(Zeichen) + QStringLiteral(" …") : wert;
    return Hilfsmittel::Sichtbar(kurz);
}

// Checks one course's part; the reason when it does not fit.
QString TeilPruefen(Wiederherstellung::Kursteil& teil)
{
    const Eingabejournal::Gelesen& j = teil.journal;
    const QString titel = !j.titel.isEmpty() ? j.titel
        : !j.kurs.isEmpty()                  ? j.kurs
                                             : QFileInfo(j.datei).fileName();
    if (!j.fehler.isEmpty())
        return QStringLiteral(
            "Die Wiederherstellungsdatei des Kurses „%1“ kann nicht gelesen werden. %2")
            .arg(titel, j.fehler);
    teil.kurs = KursMitKuerzel(j.kurs);
    if (!teil.kurs)
        return QStringLiteral("Den Kurs „%1“ gibt es in dieser Kurslisten-Datei nicht mehr.")
            .arg(titel);
    const Kurs& kurs = *teil.kurs;

    // Each cell: where it is, what the file held when the entries began, what it holds now.
    struct Zelle {
        Wiederherstellung::Wert wert;
        QString anfang;
        qint64 stelle = -1;
        const Eingabejournal::Aenderung* erste = nullptr;
    };
    QList<Zelle> zellen;
    QHash<QString, qsizetype> index;
    for (const Eingabejournal::Aenderung& a : j.aenderungen) {
        if (!kurs.Schueler.Enthalten(a.schueler) || !SchuelerMitID(a.schueler))
            return QStringLiteral("%1 gehört nicht mehr zum Kurs „%2“.")
                .arg(SchuelerText(a.schueler), titel);
        qint64 stelle = -1;
        if (a.warnung) {
            if (!Daten.mitWarnung)
                return QStringLiteral(
                    "Die Spalte „W“ gibt es in dieser Kurslisten-Datei nicht mehr.");
        } else {
            stelle = Katalogstelle(a);
            if (stelle < 0)
                return QStringLiteral(
                    "Die Spalte „%1“ gibt es in dieser Kurslisten-Datei nicht mehr.")
                    .arg(a.eintragBezeichnung);
        }
        const QString schluessel
            = QStringLiteral("%1\x1f%2\x1f%3\x1f%4\x1f%5")
                  .arg(a.schueler)
                  .arg(int(a.warnung))
                  .arg(a.eintragID.toCaseFolded(), a.eintragBezeichnung.toCaseFolded())
                  .arg(a.vorkommen);
        auto it = index.constFind(schluessel);
        if (it == index.cend()) {
            Zelle z;
            z.wert.schueler = a.schueler;
            z.wert.ort.warnung = a.warnung;
            z.wert.ort.eintragID = a.eintragID;
            z.wert.ort.eintragBezeichnung = a.eintragBezeichnung;
            z.wert.ort.vorkommen = a.vorkommen;
            z.anfang = a.vorher;
            z.stelle = stelle;
            z.erste = &a;
            index.insert(schluessel, zellen.size());
            z.wert.wert = a.nachher;
            zellen.append(z);
            continue;
        }
        Zelle& z = zellen[*it];
        // Each change begins where the one before it ended.
        if (z.wert.wert != a.vorher)
            return QStringLiteral("Die Wiederherstellungsdatei des Kurses „%1“ ist in sich nicht "
                                  "stimmig.")
                .arg(titel);
        z.wert.wert = a.nachher;
    }

    // The absence hours a row will hold: restored, else the file's (the unexcused hours are
    // checked against them).
    const auto fehlstunden = [&](qint64 schueler) {
        for (const Zelle& z : std::as_const(zellen))
            if (z.wert.schueler == schueler && !z.erste->warnung && z.stelle >= 0
                && Zellpruefung::ArtVon(Daten.alleEintraege.ZeigeEintrag(z.stelle))
                    == Zellpruefung::Spaltenart::Fehlstunden)
                return z.wert.wert;
        for (qint64 i = 0; i < Daten.alleEintraege.Anzahl(); ++i)
            if (Zellpruefung::ArtVon(Daten.alleEintraege.ZeigeEintrag(i))
                == Zellpruefung::Spaltenart::Fehlstunden) {
                const SchuelerKursZeiger r = Daten.alleSchuelerKurse.Zeigen(kurs.Kuerzel, schueler);
                return r && i < r->Eintraege.Anzahl() ? r->Eintraege.ZeigeKursEintrag(i).datum
                                                      : QString();
            }
        return QString();
    };

    for (const Zelle& z : std::as_const(zellen)) {
        const QString jetzt = Dateiwert(kurs, *z.erste, z.stelle);
        // The file holds what the entries began from, or already what they ended with (a save
        // that put them into the file before it failed elsewhere): anything else is another file.
        if (jetzt != z.anfang && jetzt != z.wert.wert)
            return QStringLiteral("%1, Spalte „%2“ im Kurs „%3“: Die Kurslisten-Datei enthält dort "
                                  "„%4“, die Eingaben gingen von „%5“ aus.")
                .arg(SchuelerText(z.wert.schueler), Spaltenname(*z.erste), titel, jetzt, z.anfang);
        // A value from the journal passes the same checks as one typed into the cell: one the
        // cell would refuse is never restored (the journal is then not applied at all).
        if (!z.erste->warnung && z.stelle >= 0 && jetzt != z.wert.wert) {
            const Zellpruefung::Spaltenart art
                = Zellpruefung::ArtVon(Daten.alleEintraege.ZeigeEintrag(z.stelle));
            Zellpruefung::Zeile zeile;
            zeile.wert = jetzt;
            zeile.fehlstunden = fehlstunden(z.wert.schueler);
            const Zellpruefung::Ergebnis e
                = Zellpruefung::Pruefen(art, zeile, z.wert.wert, Daten.zNoten);
            const bool note = art == Zellpruefung::Spaltenart::Note
                || art == Zellpruefung::Spaltenart::NoteMitID;
            if (e.art == Zellpruefung::Ergebnis::Abgelehnt && note)
                return Zellpruefung::GrundKeineNote(z.wert.wert)
                    + QStringLiteral(" (%1 im Kurs „%2“)")
                          .arg(SchuelerText(z.wert.schueler), titel);
            if (e.art == Zellpruefung::Ergebnis::Abgelehnt)
                return QStringLiteral("%1, Spalte „%2“ im Kurs „%3“: Der Wert „%4“ wird nicht "
                                      "übernommen. %5")
                    .arg(SchuelerText(z.wert.schueler), Spaltenname(*z.erste), titel,
                        Anfang(z.wert.wert), e.grund);
        }
        if (jetzt != z.wert.wert)
            teil.werte.append(z.wert);
    }
    return {};
}

} // namespace

Wiederherstellung::Pruefung Wiederherstellung::Pruefen()
{
    Pruefung p;
    if (Daten.datenFolder.isEmpty())
        return p;
    for (const Eingabejournal::Gelesen& j : Eingabejournal::Lesen(Daten.datenFolder)) {
        // An empty file (the program ended before its first record was whole) holds nothing.
        if (j.fehler.isEmpty() && j.kurs.isEmpty() && j.aenderungen.isEmpty()) {
            p.leer.append(j.datei);
            continue;
        }
        Kursteil teil;
        teil.journal = j;
        const QString fehler = TeilPruefen(teil);
        if (!fehler.isEmpty() && p.fehler.isEmpty())
            p.fehler = fehler;
        if (teil.werte.isEmpty() && fehler.isEmpty())
            p.leer.append(j.datei);
        else
            p.teile.append(teil);
    }
    // In the order of the course selection window.
    const auto stelle = [](const Kursteil& t) {
        for (qint64 i = 1; i <= Daten.alleKurse.AnzahlKurse(); ++i)
            if (Daten.alleKurse.Zeigen(i) == t.kurs)
                return i;
        return Daten.alleKurse.AnzahlKurse() + 1;
    };
    std::stable_sort(p.teile.begin(), p.teile.end(),
        [&](const Kursteil& a, const Kursteil& b) { return stelle(a) < stelle(b); });
    return p;
}

QList<Kursfenster*> Wiederherstellung::NachDerAnmeldung()
{
    QList<Kursfenster*> fenster;
    const Pruefung p = Pruefen();
    for (const QString& datei : p.leer)
        QFile::remove(datei);
    if (p.teile.isEmpty())
        return fenster;

    if (!p.fehler.isEmpty()) {
        // Never applied in part: every course's part is kept aside together.
        QString ordner;
        for (const Kursteil& t : p.teile)
            if (!Eingabejournal::Beiseitelegen(t.journal.datei).isEmpty())
                ordner = Eingabejournal::BeiseitegelegtOrdner();
        Plattform::Mitteilung m;
        m.titel = Titel;
        m.text = PasstNicht;
        m.erklaerung = p.fehler;
        if (!ordner.isEmpty())
            m.erklaerung += QStringLiteral("\n\nDie Eingaben sind im Ordner %1 aufbewahrt.")
                                .arg(PfadAnzeige(ordner));
        m.symbol = Plattform::Symbol::Warnung;
        Plattform::aktuell().Mitteilen(m);
        return fenster;
    }

    QStringList zeilen;
    QStringList beschaedigt;
    bool unvollstaendig = false;
    for (const Kursteil& t : p.teile) {
        if (t.journal.mitteBeschaedigt)
            beschaedigt.append(
                QStringLiteral("In der Wiederherstellungsdatei von „%1“ ist ein Eintrag "
                               "beschädigt: übernommen wird, was davor steht (%2 %3); was "
                               "danach steht, nicht. %4")
                    .arg(Kursfenster::Titel(*t.kurs))
                    .arg(t.journal.aenderungen.size())
                    .arg(t.journal.aenderungen.size() == 1 ? QStringLiteral("Änderung")
                                                           : QStringLiteral("Änderungen"))
                    .arg(t.journal.beiseite.isEmpty()
                            ? QString()
                            : QStringLiteral("Die ganze Datei ist als %1 aufbewahrt.")
                                  .arg(PfadAnzeige(t.journal.beiseite))));
        const int n = int(t.werte.size());
        zeilen.append(QStringLiteral("%1: %2 %3, zuletzt %4")
                          .arg(Kursfenster::Titel(*t.kurs))
                          .arg(n)
                          .arg(n == 1 ? QStringLiteral("Eingabe") : QStringLiteral("Eingaben"))
                          .arg(Zeitpunkt(t.journal.Zuletzt())));
        unvollstaendig = unvollstaendig || t.journal.abgeschnitten;
    }
    QString erklaerung = zeilen.join(QLatin1Char('\n'));
    if (!beschaedigt.isEmpty())
        erklaerung += QStringLiteral("\n\n") + beschaedigt.join(QStringLiteral("\n"));
    else if (unvollstaendig)
        erklaerung
            += QStringLiteral("\n\nDie letzte Eingabe vor dem Abbruch wurde nicht mehr vollständig "
                              "festgehalten und fehlt.");
    erklaerung
        += QStringLiteral("\n\n„Wiederherstellen“ öffnet die Kursfenster mit diesen Eingaben; in "
                          "die Kurslisten-Datei kommen sie erst mit „Sichern“. „Verwerfen“ "
                          "löscht sie.");
    Plattform::Auswahl frage;
    frage.titel = Titel;
    frage.meldung = Frage;
    frage.erklaerung = erklaerung;
    frage.knoepfe = { QStringLiteral("Wiederherstellen"), QStringLiteral("Verwerfen") };
    frage.standard = 0;
    // Escape and closing the box lose nothing: they restore.
    frage.abbrechen = 0;
    frage.symbol = Plattform::Symbol::Warnung;
    if (Plattform::aktuell().Waehlen(frage) == 1) {
        for (const Kursteil& t : p.teile)
            QFile::remove(t.journal.datei);
        return fenster;
    }

    for (const Kursteil& t : p.teile) {
        Kursfenster* f = Kursfenster::FensterVon(t.kurs.get());
        if (!f) {
            f = new Kursfenster(t.kurs);
            f->setAttribute(Qt::WA_DeleteOnClose);
            f->show();
        }
        QList<QPair<Kursfenster::Zellort, QString>> aenderungen;
        for (const Wert& w : t.werte) {
            Kursfenster::Zellort ort = w.ort;
            ort.row = f->ZeileVon(w.schueler);
            aenderungen.append({ ort, w.wert });
        }
        f->EingabenWiederherstellen(t.journal, aenderungen);
        fenster.append(f);
    }
    if (!fenster.isEmpty())
        fenster.constLast()->Vorholen();
    return fenster;
}
