// Shows the course selection window over courses in every state, for looking at it
// (screenshots). Not a test: it runs until it is closed or ended.

#include "datenbestand.h"
#include "kursauswahl.h"
#include "kurslistenbauer.h"
#include "ravirireru.h"

int main(int argc, char** argv)
{
    RAVIRIreru app(argc, argv, RAVIRIreru::Test);
    // The pictures live in the static window library; pull them in.
    Q_INIT_RESOURCE(ravirireru);
    Kurslistenbauer()
        .Kursflaggen("M", true, false, false)
        .Kursflaggen("D", true, true, false)
        .Kurs("E", "Englisch", "GK", 12, "MEI", "12,13")
        .Kursflaggen("E", true, true, true)
        .Kurs("PH", "Physik", "GK", 1, "MEI", "11")
        .Kurs("GE", "Geschichte", "GK", 3, "MEI", "13")
        .Kursflaggen("GE", true, false, false)
        .Kurs("CH", "Chemie", "LK", 2, "MEI", ",")
        .Kurs("IF", "Informatik", "GK", 4, "MEI", "11,13")
        .Kursflaggen("IF", false, false, true)
        .Kurs("BI", "Biologie", "GK", 5, "MEI", "11,12")
        .Kursflaggen("BI", true, true, false)
        .AlsGlobaleDaten();
    Kursauswahl fenster;
    // Biologie's file is on its way (a transfer that never reports): the ring around its dot.
    fenster.setzeVersand([](const Mailversand::Auftrag&) {});
    fenster.Senden(Daten.alleKurse.Zeigen(Daten.alleKurse.AnzahlKurse()),
        QStringLiteral("/tmp/Noten 12.1-BI-GK5-MEI.zle"));
    fenster.show();
    return app.exec();
}
