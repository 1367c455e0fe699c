// The course selection window, delivery: the save path of "Speichern", the send path of
// "Senden", the mail client's reports and the wait for transfers before the program ends.

#include "kursauswahl.h"

#include "datenbestand.h"
#include "ergebnisdateiname.h"
#include "kursluecken.h"
#include "notenspeicherndialog.h"
#include "plattform.h"

#include <QTime>

#include <utility>

namespace {

QString Titel(const Kurs& kurs)
{
    return QStringLiteral("Noteneingabe ") + Kursauswahl::KursTitel(kurs);
}

} // namespace

QString Kursauswahl::DateiName() const
{
    return zKurs ? Daten.DateiName(*zKurs) : QString();
}

QString Kursauswahl::KursTitel(const Kurs& kurs)
{
    return kurs.Fach + QStringLiteral(" - ") + kurs.KursArt + QString::number(kurs.kNr)
        + QStringLiteral(" - ") + kurs.Lehrer;
}

bool Kursauswahl::VersandLaeuft(const KursZeiger& kurs) const
{
    if (!kurs)
        return !zUnterwegs.isEmpty();
    for (const Versandauftrag& auftrag : zUnterwegs) {
        if (auftrag.kurs == kurs)
            return true;
    }
    return false;
}

bool Kursauswahl::ErgebnisSchreiben(const KursZeiger& kurs, QString& datei)
{
    // The dialog's answer as a file that ends in ".zle" and lies in the folder chosen there.
    datei = ErgebnisDateiname::Pfad(
        NotenSpeichernDialog(Daten.DateiName(*kurs) + ErgebnisDateiname::Endung).Zeigen());
    if (datei.isEmpty())
        return false;
    if (QString grund; !Daten.Speichern(*kurs, datei, &grund)) {
        Plattform::aktuell().Mitteilen(
            { QString(), Meldungen::ErgebnisNichtAngelegt, grund, Plattform::Symbol::Warnung });
        return false;
    }
    // A transfer of an older file of this course no longer delivers the course's state.
    for (Versandauftrag& auftrag : zUnterwegs) {
        if (auftrag.kurs == kurs)
            auftrag.veraltet = true;
    }
    kurs->gespeichert = true;
    Daten.Geaendert();
    Aktualisieren();
    return true;
}

bool Kursauswahl::LueckenBestaetigt(
    const KursZeiger& kurs, const QString& weiter, const QString& tun)
{
    const Kursluecken luecken = Kursluecken::FuerKurs(Daten, *kurs);
    if (luecken.Vollstaendig())
        return true;
    const QString titel = KursTitel(*kurs);
    Plattform::Auswahl frage;
    frage.titel = Titel(*kurs);
    frage.meldung = QStringLiteral("Die Kursliste\n") + titel
        + QStringLiteral("\nist noch nicht vollständig.");
    frage.erklaerung = luecken.Text() + QStringLiteral("\n\nSoll sie trotzdem ") + tun
        + QStringLiteral(" werden?");
    frage.knoepfe = QStringList { weiter, QStringLiteral("Abbrechen") };
    frage.standard = 1;
    frage.abbrechen = 1;
    frage.symbol = Plattform::Symbol::Warnung;
    return Plattform::aktuell().Waehlen(frage) == 0;
}

void Kursauswahl::ErgebnisSpeichern()
{
    const KursZeiger kurs = zKurs;
    if (!kurs)
        return;
    if (!LueckenBestaetigt(
            kurs, QStringLiteral("Trotzdem speichern"), QStringLiteral("gespeichert")))
        return;
    QString datei;
    if (ErgebnisSchreiben(kurs, datei))
        Bestaetigen(kurs->Fach + QLatin1Char(' ') + kurs->KursArt + QString::number(kurs->kNr)
            + QStringLiteral(" gespeichert unter ") + ErgebnisDateiname::Name(datei)
            + QStringLiteral(", ") + QTime::currentTime().toString(QStringLiteral("HH:mm")));
}

void Kursauswahl::ErgebnisSenden()
{
    const KursZeiger kurs = zKurs;
    if (!kurs || VersandLaeuft(kurs))
        return;
    if (kurs->Schueler.Anzahl() == 0) {
        Plattform::aktuell().Meldung(OhneSchueler);
        return;
    }
    if (!LueckenBestaetigt(kurs, QStringLiteral("Trotzdem senden"), QStringLiteral("gesendet")))
        return;
    QString datei;
    if (!ErgebnisSchreiben(kurs, datei))
        return;
    const QString titel = KursTitel(*kurs);
    const bool senden = Modales::JaNein(QStringLiteral("Noteneingabe ") + titel,
        QStringLiteral("Soll die Kursliste\n") + titel + QStringLiteral("\ngesendet werden?"),
        QStringLiteral("Die Kursliste wurde unter dem Namen\n") + ErgebnisDateiname::Name(datei)
            + QStringLiteral("\nim Ordner\n") + ErgebnisDateiname::Ordner(datei)
            + QStringLiteral("\ngesichert.\n\nEmpfänger: ") + Daten.EMailAdresse);
    if (senden)
        Senden(kurs, datei);
}

void Kursauswahl::Senden(const KursZeiger& kurs, const QString& datei)
{
    if (!kurs || VersandLaeuft(kurs))
        return;
    Mailversand::Auftrag auftrag;
    auftrag.server = Daten.Server;
    auftrag.port = 465;
    auftrag.benutzer = Daten.Benutzer;
    auftrag.pass = Daten.Pass;
    auftrag.absender = Daten.Absender;
    auftrag.empfaenger = Daten.EMailAdresse;
    auftrag.betreff = ErgebnisDateiname::StammAus(datei);
    auftrag.text = Mailversand::Nachrichtentext(Daten.Unterschrift);
    auftrag.dateiPfad = datei;
    // The tag ties the report to this course: a running number, then the course for reading.
    auftrag.kennung = QString::number(++zLaufendeNummer) + QLatin1Char(':') + kurs->Kuerzel
        + QLatin1Char('-') + kurs->KursArt + QString::number(kurs->kNr);
    zUnterwegs.insert(auftrag.kennung, Versandauftrag { kurs, datei, Daten.EMailAdresse, false });
    Aktualisieren(); // the row shows the transfer, "Senden" waits for its end
    if (zVersand)
        zVersand(auftrag);
    else
        SMTPSocket1->Senden(auftrag);
}

void Kursauswahl::Gesendet(const KursZeiger& kurs)
{
    if (!kurs)
        return;
    kurs->gesendet = true;
    Daten.Geaendert();
    Aktualisieren();
}

void Kursauswahl::SMTPSocket1_MailSent(const QString& kennung)
{
    const auto gefunden = zUnterwegs.constFind(kennung);
    if (gefunden == zUnterwegs.constEnd())
        return; // no transfer of ours
    const Versandauftrag auftrag = gefunden.value();
    zUnterwegs.erase(gefunden);
    Aktualisieren();
    Berichten(auftrag, 0);
}

void Kursauswahl::SMTPSocket1_Error(const QString& kennung, int code)
{
    const auto gefunden = zUnterwegs.constFind(kennung);
    if (gefunden == zUnterwegs.constEnd())
        return;
    const Versandauftrag auftrag = gefunden.value();
    zUnterwegs.erase(gefunden);
    Aktualisieren();
    // The transfer has ended either way; a code of 0 or below is no failure to report.
    if (code > 0)
        Berichten(auftrag, code);
}

void Kursauswahl::Berichten(const Versandauftrag& auftrag, int code)
{
    if (zBerichteZurueckhalten) {
        zZurueckgehalten.append({ auftrag, code });
        return;
    }
    if (code == 0)
        ErfolgMelden(auftrag);
    else
        FehlerMelden(auftrag, code);
}

void Kursauswahl::ErfolgMelden(const Versandauftrag& auftrag)
{
    // The file that went out still is the course's current state only when the course
    // was neither saved again in its table nor written anew since.
    const bool aktuell = auftrag.kurs->gespeichert && !auftrag.veraltet;
    Plattform::Mitteilung mitteilung;
    mitteilung.titel = Titel(*auftrag.kurs);
    mitteilung.text = MailVersandt;
    mitteilung.erklaerung = QStringLiteral("Die Datei '") + ErgebnisDateiname::Name(auftrag.datei)
        + QStringLiteral("' wurde an ") + auftrag.empfaenger + QStringLiteral(" gesendet.");
    if (!aktuell)
        mitteilung.erklaerung += QStringLiteral(" Der Kurs wurde seitdem erneut gesichert; "
                                                "er gilt deshalb noch nicht als versandt.");
    mitteilung.symbol = Plattform::Symbol::Information;
    Plattform::aktuell().Mitteilen(mitteilung);
    if (aktuell)
        Gesendet(auftrag.kurs);
}

void Kursauswahl::FehlerMelden(const Versandauftrag& auftrag, int code)
{
    if (auftrag.kurs->gesendet)
        return;
    const QString name = ErgebnisDateiname::Name(auftrag.datei);
    const QString ordner = ErgebnisDateiname::Ordner(auftrag.datei);
    struct Plattform::Frage frage;
    frage.titel = Titel(*auftrag.kurs);
    frage.meldung = VersandFehler;
    frage.erklaerung = QStringLiteral("Die Noten wurden in der Datei '") + name
        + QStringLiteral("' im Ordner '") + ordner
        + QStringLiteral("' gesichert. Verwenden Sie den Knopf 'Mail senden' und "
                         "senden Sie die Datei als Anhang in ihrem Mailprogramm.\n\n")
        + Mailversand::Fehlergrund(code);
    frage.standardKnopf = QStringLiteral("Mail senden");
    frage.andererKnopf = QStringLiteral("Abbrechen");
    if (!Plattform::aktuell().Frage(frage))
        return;
    const QUrl adresse = Mailversand::MailtoAdresse(
        auftrag.empfaenger, ErgebnisDateiname::StammAus(auftrag.datei));
    if (Plattform::aktuell().UrlOeffnen(adresse))
        return;
    Plattform::Mitteilung mitteilung;
    mitteilung.titel = frage.titel;
    mitteilung.text = MailprogrammFehlt;
    mitteilung.erklaerung = QStringLiteral("Bitte senden Sie die Datei '") + name
        + QStringLiteral("' aus dem Ordner '") + ordner + QStringLiteral("' selbst als Anhang an ")
        + auftrag.empfaenger + u'.';
    mitteilung.symbol = Plattform::Symbol::Warnung;
    Plattform::aktuell().Mitteilen(mitteilung);
}

bool Kursauswahl::VersandAbwarten()
{
    if (zBerichteZurueckhalten)
        return false; // the wait is showing already
    if (zUnterwegs.isEmpty())
        return true;
    zBerichteZurueckhalten = true;
    const bool beendet = Plattform::aktuell().Abwarten(
        { VersandWartenTitel, VersandWarten, QStringLiteral("Abbrechen") },
        [this] { return zUnterwegs.isEmpty(); });
    zBerichteZurueckhalten = false;
    if (!beendet && !zUnterwegs.isEmpty()) {
        // Stopped by the teacher: what is still on its way is called off, its courses stay
        // as they are (saved, not sent).
        SMTPSocket1->Abbrechen();
        zUnterwegs.clear();
    }
    Aktualisieren();
    const auto berichte = std::exchange(zZurueckgehalten, {});
    for (const auto& [auftrag, code] : berichte)
        Berichten(auftrag, code);
    return true;
}
