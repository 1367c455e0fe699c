#include "datenbestand.h"

#include "dateiformat.h"
#include "dateileser.h"
#include "dateischreiber.h"
#include "dateisperre.h"
#include "dateitypen.h"
#include "ergebnisdateiname.h"
#include "hilfsmittel.h"
#include "plattform.h"
#include "sicheresschreiben.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

Datenbestand Daten;

void GlobaleDatenZuruecksetzen()
{
    Daten = Datenbestand();
    TabellenStruktur = Spaltenstruktur();
    Kurslistensperre().Freigeben();
}

Dateisperre& Kurslistensperre()
{
    static Dateisperre sperre;
    return sperre;
}

namespace {

QString Seit(const Dateisperre::Besitzer& b)
{
    return b.seit.isValid()
        ? QStringLiteral(" seit %1 Uhr")
              .arg(b.seit.toLocalTime().toString(QStringLiteral("dd.MM.yyyy, HH:mm")))
        : QString();
}

void SchonGeoeffnetMelden(const Dateisperre& sperre)
{
    const Dateisperre::Besitzer b = sperre.besitzer();
    const QString wo = b.rechner.isEmpty() ? QStringLiteral("einem anderen Rechner")
                                           : QStringLiteral("dem Rechner „%1“").arg(b.rechner);
    Plattform::aktuell().Mitteilen({ QString(), Meldungen::SchonGeoeffnet,
        QStringLiteral("RAVIRIreru hat sie auf %1%2 geöffnet (Prozess %3). Schließen Sie sie dort, "
                       "bevor Sie sie hier öffnen; so überschreibt keines der beiden Programme, "
                       "was das andere gesichert hat.")
            .arg(wo, Seit(b))
            .arg(b.prozess),
        Plattform::Symbol::Warnung });
}

// Only the teacher knows whether the program that left the lock still runs: "Abbrechen" is
// the default, "Trotzdem öffnen" breaks the lock.
bool TrotzdemOeffnen(const Dateisperre& sperre, Dateisperre::Stand stand, const QString& pfad)
{
    const Dateisperre::Besitzer b = sperre.besitzer();
    Plattform::Auswahl frage;
    frage.titel = QStringLiteral("Kurslisten-Datei gesperrt");
    if (stand == Dateisperre::Stand::AndererRechner) {
        frage.meldung = Meldungen::SchonGeoeffnet;
        frage.erklaerung
            = QStringLiteral("RAVIRIreru hat sie auf dem Rechner „%1“%2%3 geöffnet. Läuft es "
                             "dort noch, schließen Sie die Datei dort, bevor Sie sie hier "
                             "öffnen; sonst überschreibt jedes der beiden Programme, was das "
                             "andere gesichert hat.\n\nWählen Sie „Trotzdem öffnen“ nur, wenn "
                             "RAVIRIreru dort sicher nicht mehr läuft (etwa weil der Rechner "
                             "abgestürzt ist).")
                  .arg(Hilfsmittel::Sichtbar(b.rechner),
                      b.benutzer.isEmpty() ? QString()
                                           : QStringLiteral(" als Benutzer „%1“")
                                                 .arg(Hilfsmittel::Sichtbar(b.benutzer)),
                      Seit(b));
    } else {
        frage.meldung = QStringLiteral("Die Sperrdatei der Kurslisten-Datei ist leer oder "
                                       "beschädigt.");
        frage.erklaerung
            = QStringLiteral("Die Sperrdatei „%1“%2 sagt nicht, welches Programm die Datei "
                             "geöffnet hat; so bleibt sie etwa nach einem Stromausfall zurück.\n\n"
                             "Wählen Sie „Trotzdem öffnen“ nur, wenn RAVIRIreru die Datei auf "
                             "keinem Rechner mehr geöffnet hat.")
                  .arg(QDir::toNativeSeparators(Dateisperre::SperrdateiVon(pfad)), Seit(b));
    }
    frage.knoepfe = { QStringLiteral("Trotzdem öffnen"), QStringLiteral("Abbrechen") };
    frage.standard = 1;
    frage.abbrechen = 1;
    return Plattform::aktuell().Waehlen(frage) == 0;
}

} // namespace

bool KurslisteSperren(Dateisperre& neueSperre, const QString& pfad, Dateisperre::Stand* stand)
{
    Dateisperre::Stand s = neueSperre.Sperren(pfad);
    if (s == Dateisperre::Stand::AndererRechner || s == Dateisperre::Stand::Unlesbar) {
        if (!TrotzdemOeffnen(neueSperre, s, pfad))
            return false;
        s = neueSperre.Uebernehmen(pfad);
    }
    if (stand)
        *stand = s;
    if (s == Dateisperre::Stand::Vergeben) {
        SchonGeoeffnetMelden(neueSperre);
        return false;
    }
    // Broken meanwhile by yet another program: asked again at the next try.
    return s == Dateisperre::Stand::Gesperrt || s == Dateisperre::Stand::NichtMoeglich;
}

namespace {

constexpr qint64 Formatversion = Dateiformat::Version;

// The fixed columns a layout must have for the file's flags.
qint64 ErwarteteErsteSpalte(const Datenbestand& daten)
{
    return (daten.mitMarkAbitur ? 4 : 3) + (daten.mitWarnung ? 1 : 0);
}

} // namespace

// --- Reading ---------------------------------------------------------------------------------

bool Datenbestand::Lesen(
    QIODevice& geraet, Datenbestand& daten, Spaltenstruktur& struktur, QString& meldung)
{
    DateiLeser leser(geraet);
    const bool istErgebnis = leser.LeseBoolean();
    const qint64 version = leser.LeseInt16();
    if (!leser.ok()) {
        meldung = Meldungen::Beschaedigt;
        return false;
    }
    if (istErgebnis) {
        meldung = Meldungen::KeineNotenliste;
        return false;
    }
    if (version > Formatversion) {
        meldung = Meldungen::NeuereVersion;
        return false;
    }
    if (version < Formatversion) {
        meldung = Meldungen::AeltereVersion;
        return false;
    }

    Datenbestand neu;
    neu.istAbiturListe = leser.LeseBoolean();
    neu.Halbjahr = leser.LeseInt16();
    neu.HalbjahrKuerzel = leser.LesePString();
    neu.Halbjahrbezeichnung = leser.LesePString();
    neu.mitMarkAbitur = leser.LeseBoolean();
    neu.mitMarkKlausur = leser.LeseBoolean();
    neu.mitDefiziten = leser.LeseBoolean();
    neu.DefizitgrenzeEPH = leser.LeseInt16();
    neu.DefizitgrenzeQ = leser.LeseInt16();
    neu.mitWarnung = leser.LeseBoolean();
    neu.alleEintraege = Eintraege(leser);
    neu.mitDaten = neu.alleEintraege.Anzahl() > 0;
    const qint64 letzteNote = leser.LeseInt16();
    // A grade holds at least three length bytes and its value.
    if (leser.ListeLesbar(letzteNote + 1, 5, sizeof(Note))) {
        neu.zNoten.reserve(qMax(letzteNote + 1, qint64(0)));
        for (qint64 i = 0; i <= letzteNote && leser.ok(); ++i)
            neu.zNoten.emplaceBack(leser);
    }
    neu.NotenPass = leser.LeseVerschluesselt("NotenPass");
    neu.EMailAdresse = leser.LeseVerschluesselt("EMailAdresse");
    neu.Absender = leser.LeseVerschluesselt("Absender");
    neu.Server = leser.LeseVerschluesselt("Server");
    neu.Benutzer = leser.LeseVerschluesselt("Benutzer");
    neu.Pass = leser.LeseVerschluesselt("Pass");
    neu.alleSchueler = Schuelerliste(leser);
    neu.alleKurse = KursAuswahlliste(leser, neu.mitMarkAbitur, neu.mitMarkKlausur, neu.mitWarnung);
    neu.alleSchuelerKurse = SchuelerKursliste(leser, neu.alleEintraege.Anzahl());
    Spaltenstruktur neueStruktur;
    neueStruktur.Laden(leser);
    if (!leser.ok()) {
        meldung = Meldungen::Beschaedigt;
        return false;
    }
    // A file is taken only when it can be saved again as it is: a text that is no valid
    // UTF-8 or no scrambled text, or a set that would not fit its field once written, would
    // make every later save fail or change the file, after the teacher has typed grades.
    // (Every other value read fits its field again by the way it was read.)
    if (!leser.ungueltigerText().isEmpty()) {
        meldung = Meldungen::NichtWiederSicherbar + QLatin1Char(' ') + leser.ungueltigerText();
        return false;
    }

    // A stored layout that does not fit the file's catalogue or flags would put values under
    // the wrong heading: such a layout is dropped and the default one is built instead.
    if (neueStruktur.ErsteSpalte != 0
        && (neueStruktur.ErsteSpalte != ErwarteteErsteSpalte(neu)
            || neueStruktur.SpaltenAnzahl - neueStruktur.ErsteSpalte != neu.alleEintraege.Anzahl()))
        neueStruktur = Spaltenstruktur();

    // Values that the file does not carry stay with the running program.
    neu.datenFolder = daten.datenFolder;
    neu.zGeaendert = daten.zGeaendert;
    neu.Unterschrift = daten.Unterschrift;
    neu.geladen = true;
    daten = std::move(neu);
    struktur = std::move(neueStruktur);
    return true;
}

bool Datenbestand::Laden(const QString& vorschlag)
{
    Plattform::DateiDialog dialog;
    dialog.titel = QStringLiteral("Notenlisten öffnen");
    dialog.hinweis = QStringLiteral("Bitte wählen Sie eine Datei mit Notenlisten aus.");
    dialog.aktionsKnopf = QStringLiteral("Öffnen");
    dialog.abbrechenKnopf = QStringLiteral("Abbrechen");
    dialog.filterName = FileTypes::RAVIRIreru().anzeigeName;
    dialog.filterMuster = FileTypes::RAVIRIreru().Filtermuster();
    if (!vorschlag.isEmpty()) {
        const QFileInfo info(vorschlag);
        dialog.startOrdner = info.absolutePath();
        dialog.vorschlag = info.absoluteFilePath();
    }
    const QString pfad = Plattform::aktuell().DateiOeffnen(dialog);
    // A cancelled dialog keeps the file and the changed mark of a running program, so that
    // quitting afterwards still writes what was changed.
    if (pfad.isEmpty())
        return false;
    return LadeDatei(pfad);
}

bool Datenbestand::LadeDatei(const QString& pfad)
{
    const QFileInfo info(pfad);
    if (!info.exists() || info.isDir()) {
        Plattform::aktuell().Meldung(Meldungen::DateiFehlt);
        return false;
    }
    const QString absolut = info.absoluteFilePath();

    // One running copy per file. A folder that allows no lock file allows no save either;
    // such a file is opened, and "Sichern unter …" takes the entries elsewhere.
    Dateisperre& sperre = Kurslistensperre();
    const bool schonUnsere = sperre.Gesperrt() && sperre.Datei() == Dateisperre::Vollpfad(absolut);
    Dateisperre neueSperre;
    Dateisperre::Stand stand = Dateisperre::Stand::Gesperrt;
    if (!schonUnsere && !KurslisteSperren(neueSperre, absolut, &stand))
        return false;

    // What a save killed before its end left beside the file goes (only ours, of programs
    // no longer running here).
    SicheresSchreiben::Aufraeumen(absolut);

    QFile datei(absolut);
    if (!datei.open(QIODevice::ReadOnly)) {
        Plattform::aktuell().Meldung(Meldungen::NichtLesbar);
        return false;
    }
    QString meldung;
    // A file that is no course-list file of this version (a result file, a picture chosen by
    // mistake) is refused by its first three bytes, before it is read into memory.
    {
        QByteArray kopf = datei.peek(3);
        const bool fremd = kopf.size() == 3
            && (kopf.at(0) != 0 || kopf.at(1) != 0 || kopf.at(2) != Formatversion);
        QBuffer puffer(&kopf);
        puffer.open(QIODevice::ReadOnly);
        Datenbestand probe;
        Spaltenstruktur probeStruktur;
        if (fremd && !Lesen(puffer, probe, probeStruktur, meldung)) {
            Plattform::aktuell().Meldung(meldung);
            return false;
        }
    }
    // Read once; the same bytes give the state the file is compared with before each save.
    QByteArray bytes = datei.readAll();
    if (datei.error() != QFileDevice::NoError) {
        Plattform::aktuell().Meldung(Meldungen::NichtLesbar);
        return false;
    }
    datei.close();
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::ReadOnly);
    if (!Lesen(puffer, *this, TabellenStruktur, meldung)) {
        Plattform::aktuell().Meldung(meldung);
        return false;
    }
    datenFolder = absolut;
    zGeaendert = false;
    zStand = Dateistand::Von(absolut, bytes);
    if (!schonUnsere)
        sperre = std::move(neueSperre);
    return true;
}

// --- Writing ---------------------------------------------------------------------------------

bool Datenbestand::Kodieren(const Datenbestand& daten, const Spaltenstruktur& struktur,
    QByteArray& bytes, QString& meldung, qsizetype erwarteteGroesse)
{
    DateiSchreiber s(erwarteteGroesse);
    s.SchreibeBoolean(false);
    s.SchreibeInt16(Formatversion);
    s.SchreibeBoolean(daten.istAbiturListe);
    s.SchreibeInt16(daten.Halbjahr);
    s.SchreibePString(daten.HalbjahrKuerzel, QStringLiteral("HalbjahrKuerzel"));
    s.SchreibePString(daten.Halbjahrbezeichnung, QStringLiteral("Halbjahrbezeichnung"));
    s.SchreibeBoolean(daten.mitMarkAbitur);
    s.SchreibeBoolean(daten.mitMarkKlausur);
    s.SchreibeBoolean(daten.mitDefiziten);
    s.SchreibeInt16(daten.DefizitgrenzeEPH);
    s.SchreibeInt16(daten.DefizitgrenzeQ);
    s.SchreibeBoolean(daten.mitWarnung);
    daten.alleEintraege.Speichern(s);
    s.SchreibeInt16(daten.zNoten.size() - 1);
    for (const Note& n : daten.zNoten)
        n.Speichern(s);
    s.SchreibeVerschluesselt(daten.NotenPass, QStringLiteral("NotenPass"));
    s.SchreibeVerschluesselt(daten.EMailAdresse, QStringLiteral("EMailAdresse"));
    s.SchreibeVerschluesselt(daten.Absender, QStringLiteral("Absender"));
    s.SchreibeVerschluesselt(daten.Server, QStringLiteral("Server"));
    s.SchreibeVerschluesselt(daten.Benutzer, QStringLiteral("Benutzer"));
    s.SchreibeVerschluesselt(daten.Pass, QStringLiteral("Pass"));
    daten.alleSchueler.Speichern(s);
    daten.alleKurse.Speichern(s, daten.mitMarkAbitur, daten.mitMarkKlausur, daten.mitWarnung);
    daten.alleSchuelerKurse.Speichern(s);
    struktur.Speichern(s);
    if (!s.ok()) {
        meldung = s.fehler();
        return false;
    }
    bytes = s.Entnehmen();
    return true;
}

namespace {
// Hands the bytes of a whole file to the device in one write.
bool Uebergeben(QIODevice& geraet, const QByteArray& bytes, QString& meldung)
{
    if (bytes.isEmpty() || geraet.write(bytes) == bytes.size())
        return true;
    meldung = QStringLiteral("Schreibfehler: %1").arg(geraet.errorString());
    return false;
}
} // namespace

bool Datenbestand::Schreiben(
    QIODevice& geraet, const Datenbestand& daten, const Spaltenstruktur& struktur, QString& meldung)
{
    QByteArray bytes;
    return Kodieren(daten, struktur, bytes, meldung) && Uebergeben(geraet, bytes, meldung);
}

bool Datenbestand::KodiereErgebnis(const Kurs& kurs, QByteArray& bytes, QString& meldung) const
{
    DateiSchreiber s;
    s.SchreibeBoolean(true);
    s.SchreibeInt16(Formatversion);
    s.SchreibeBoolean(istAbiturListe);
    s.SchreibeBoolean(false);
    s.SchreibeInt16(Halbjahr);
    s.SchreibePString(HalbjahrKuerzel, QStringLiteral("HalbjahrKuerzel"));
    s.SchreibePString(Halbjahrbezeichnung, QStringLiteral("Halbjahrbezeichnung"));
    kurs.Speichern(s, mitWarnung);
    alleSchueler.Speichern(s);
    alleSchuelerKurse.Speichern(s);
    if (!s.ok()) {
        meldung = s.fehler();
        return false;
    }
    bytes = s.Entnehmen();
    return true;
}

bool Datenbestand::SchreibeErgebnis(QIODevice& geraet, const Kurs& kurs, QString& meldung) const
{
    QByteArray bytes;
    return KodiereErgebnis(kurs, bytes, meldung) && Uebergeben(geraet, bytes, meldung);
}

// --- The grade scale -------------------------------------------------------------------------

namespace {
const Note* SucheNote(const QList<Note>& noten, const QString& text)
{
    for (const Note& n : noten) {
        if (Hilfsmittel::GleichOhneGross(n.Kuerzel, text))
            return &n;
    }
    return nullptr;
}
} // namespace

bool Datenbestand::NoteOK(const QString& text) const
{
    return text.isEmpty() || SucheNote(zNoten, text) != nullptr;
}

qint64 Datenbestand::NotenWert(const QString& text) const
{
    const Note* n = SucheNote(zNoten, text);
    return n ? n->AlsWert : -100;
}

QString Datenbestand::NotenKuerzel(const QString& text) const
{
    const Note* n = SucheNote(zNoten, text);
    return n ? n->Kuerzel : QString();
}

bool Datenbestand::DefizitNote(const QString& text, qint64 halbjahr) const
{
    if (text.isEmpty())
        return false;
    qint64 grenze = 0;
    if (halbjahr == 1 || halbjahr == 2)
        grenze = DefizitgrenzeEPH;
    else if (halbjahr >= 3 && halbjahr <= 7)
        grenze = DefizitgrenzeQ;
    const qint64 wert = NotenWert(text);
    return wert >= 0 && wert <= grenze;
}

bool Datenbestand::NoteIstDefizit(
    const Eintrag& eintrag, const QString& text, qint64 halbjahr) const
{
    if (!mitDefiziten)
        return false;
    if (!eintrag.ID.isEmpty())
        return DefizitNote(text, halbjahr);
    if (Hilfsmittel::GleichOhneGross(eintrag.Bezeichnung, QStringLiteral("Note")))
        return DefizitNote(text, halbjahr);
    return false;
}

QString Datenbestand::DateiName(const Kurs& kurs) const
{
    const QString rest = kurs.Kuerzel + QLatin1Char('-') + kurs.KursArt + QString::number(kurs.kNr)
        + QLatin1Char('-') + kurs.Lehrer;
    // The fields come from the school's file: what they hold must not make another folder,
    // a hidden file or a name the file system refuses.
    if (istAbiturListe)
        return ErgebnisDateiname::Stamm(QStringLiteral("Noten Abitur-") + rest);
    return ErgebnisDateiname::Stamm(
        QStringLiteral("Noten ") + HalbjahrKuerzel + QLatin1Char('-') + rest);
}
