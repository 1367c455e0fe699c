// Shows the course selection window over courses in every state, for looking at it
// (screenshots). Not a test: it runs until it is closed or ended.

#include "datenbestand.h"
#include "kursauswahl.h"
#include "ravirireru.h"

#include <memory>

namespace {

void Kurs_(const QString& kuerzel, const QString& fach, const QString& art, qint64 nr,
    const QString& lehrer, const QString& schueler, bool geaendert, bool gespeichert, bool gesendet)
{
    auto kurs = std::make_shared<Kurs>();
    kurs->Kuerzel = kuerzel;
    kurs->Fach = fach;
    kurs->KursArt = art;
    kurs->kNr = nr;
    kurs->Lehrer = lehrer;
    kurs->Schueler = Menge(schueler);
    kurs->geaendert = geaendert;
    kurs->gespeichert = gespeichert;
    kurs->gesendet = gesendet;
    Daten.alleKurse.Anfuegen(kurs);
}

} // namespace

int main(int argc, char** argv)
{
    RAVIRIreru app(argc, argv, RAVIRIreru::Test);
    // The pictures live in the static window library; pull them in.
    Q_INIT_RESOURCE(ravirireru);
    Daten.HalbjahrKuerzel = QStringLiteral("Q1");
    Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("N"), QStringLiteral("Note")));
    Daten.mitDaten = true;
    Kurs_("M", "Mathematik", "LK", 1, "MEI", "1,2,3", true, false, false);
    Kurs_("D", "Deutsch", "GK", 2, "MEI", "1,2", true, true, false);
    Kurs_("E", "Englisch", "GK", 12, "MEI", "2,3", true, true, true);
    Kurs_("PH", "Physik", "GK", 1, "MEI", "1", false, false, false);
    Kurs_("GE", "Geschichte", "GK", 3, "MEI", "3", true, false, false);
    Kurs_("CH", "Chemie", "LK", 2, "MEI", ",", false, false, false);
    Kurs_("IF", "Informatik", "GK", 4, "MEI", "1,3", false, false, true);
    Kurs_("BI", "Biologie", "GK", 5, "MEI", "1,2", true, true, false);
    Kursauswahl fenster;
    // Biologie's file is on its way (a transfer that never reports): the ring around its dot.
    fenster.setzeVersand([](const Mailversand::Auftrag&) {});
    fenster.Senden(Daten.alleKurse.Zeigen(Daten.alleKurse.AnzahlKurse()),
        QStringLiteral("/tmp/Noten Q1-BI-GK5-MEI.zle"));
    fenster.show();
    return app.exec();
}
