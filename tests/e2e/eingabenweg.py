#!/usr/bin/python3
"""No typed grade is lost, end to end, as a teacher walks it.

Starts the built program in an X server of its own on a copy of the demo course list and
drives it only with keyboard and mouse (xdotool): a grade typed into the course window
without Tab, the focus taken to the course selection window and back, the window closed
with Alt+F4 → the closing question ("Kursfenster schließen"), Escape keeps the window with
the grade still in its cell; then Ctrl+Q → "Kursfenster mit Eingaben" → "Sichern" (Return)
→ the quit question about undelivered courses → "Ja". After the program ended, the grade is
in the course-list file.

A screenshot of every step lands in --ausgabe, with the logs and the course list as JSON.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import oberflaeche as ui                          # noqa: E402
import treiber                                   # noqa: E402
from notenweg import Lauf                        # noqa: E402
from xsitzung import Fehlschlag                  # noqa: E402

SCHLIESSEN = "Kursfenster schließen"
MIT_EINGABEN = "Kursfenster mit Eingaben"
BEENDEN = "RAVIRIreru beenden?"


class Eingabenlauf(Lauf):
    """The road of the notenweg run up to the course window, then the roads out of it."""

    def ausfuehren(self):
        def schritte():
            self.programm_starten()
            auswahl = self.kursauswahl()
            fenster = self.note_tippen(auswahl)
            self.schliessen_fragt(auswahl, fenster)
            self.beenden_mit_eingaben(fenster)
        self.ohne_mailserver(schritte)

    def editor_text(self):
        """What the open cell editor holds: selecting all of it by key hands it to the X
        selection."""
        vorher = self.x.auswahl_zeitpunkt()
        self.x.taste("ctrl+a")
        return self.x.neue_auswahl(vorher)

    def note_tippen(self, auswahl):
        self.x.klick(*auswahl.zeilenmitte(0), anzahl=2)
        titel = ui.kursfenster_titel(self.kurs, self.vorher["HalbjahrKuerzel"], self.vorher["istAbiturListe"])
        self.titel = titel
        fenster = self.x.warte_auf_fenster(titel)
        self.x.aktivieren(fenster)
        alte = self.eintrag(self.kurs["Kuerzel"], self.schueler[0], "Note")
        self.note = "11" if alte != "11" else "10"
        # The editor stands on the first entry cell ("Note") of the first row; no Tab.
        self.x.taste("ctrl+a")
        self.x.tippen(self.note)
        self.foto("note-getippt")
        self.melde("Note %s getippt (vorher %r), ohne Tab" % (self.note, alte))

        # The focus to the course selection window and back.
        self.x.aktivieren(auswahl.id)
        self.foto("kursauswahl-aktiv")
        self.x.aktivieren(fenster)
        self.foto("kursfenster-wieder-aktiv")
        im_editor = self.editor_text()
        if im_editor != self.note:
            raise Fehlschlag("Nach dem Wechsel zur Kursauswahl und zurück steht %r im Editor statt %r"
                             % (im_editor, self.note))
        self.melde("Zur Kursauswahl und zurück: der Editor hält %s" % im_editor)
        return fenster

    def schliessen_fragt(self, auswahl, fenster):
        self.x.taste("alt+F4")
        frage = self.x.warte_auf_fenster(SCHLIESSEN)
        self.x.aktivieren(frage)
        self.foto("frage-schliessen")
        self.texte_pruefen("Frage beim Schließen", self.dialogtexte(frage), [
            "Soll das Kursfenster geschlossen werden?",
            "Die letzten Änderungen wurden noch nicht übernommen."])
        self.x.taste("Escape")
        self.x.warte_bis_weg(frage, name="die Frage beim Schließen")
        time.sleep(0.3)
        if not self.x.ist_sichtbar(fenster):
            raise Fehlschlag("Escape auf „%s“ hat das Kursfenster geschlossen" % SCHLIESSEN)
        self.x.aktivieren(fenster)
        im_editor = self.editor_text()
        if im_editor != self.note:
            raise Fehlschlag("Nach Escape steht %r im Editor statt %r" % (im_editor, self.note))
        self.foto("nach-escape")
        self.melde("Escape: Kursfenster bleibt offen, der Editor hält %s" % im_editor)

    def beenden_mit_eingaben(self, fenster):
        vorher = self.waechter.schreibvorgaenge()
        self.x.taste("ctrl+q")
        frage = self.x.warte_auf_fenster(MIT_EINGABEN)
        self.x.aktivieren(frage)
        self.foto("frage-eingaben")
        self.texte_pruefen("Frage beim Beenden", self.dialogtexte(frage), [
            "Sollen die Eingaben in den offenen Kursfenstern gesichert werden?", self.titel])
        self.x.taste("Return")                     # "Sichern", the default button
        self.x.warte_bis_weg(frage, name="die Frage „%s“" % MIT_EINGABEN)
        # The course is now changed and neither saved nor sent: the quit sequence asks.
        beenden = self.x.warte_auf_fenster(BEENDEN)
        if self.x.ist_sichtbar(fenster):
            raise Fehlschlag("Das gesicherte Kursfenster ist beim Beenden noch offen")
        self.x.aktivieren(beenden)
        self.foto("frage-beenden")
        self.x.taste("Return")                     # "Ja"
        rueckgabe = self.programm.warte_auf_ende(20)
        if rueckgabe != 0:
            raise Fehlschlag("Das Programm endet mit %d" % rueckgabe)
        time.sleep(0.5)
        self.schreiben_bei["Beenden"] = self.waechter.schreibvorgaenge() - vorher
        self.foto("beendet")
        self.melde("Strg+Q → „Sichern“ → „Ja“: Programm beendet, Kurslisten-Datei %d× geschrieben"
                   % self.schreiben_bei["Beenden"])

    def pruefen(self):
        nachher = self.kursliste_nachher()
        fehler = []
        kuerzel = self.kurs["Kuerzel"].lower()
        zeile = [z for z in nachher["alleSchuelerKurse"]
                 if z["FachKuerzel"].lower() == kuerzel and z["ID"] == self.schueler[0]]
        note = [e["datum"] for e in zeile[0]["Eintraege"] if e["Bezeichnung"] == "Note"] if zeile else []
        if note != [self.note]:
            fehler.append("Die Note in der Kurslisten-Datei ist %r statt %r" % (note, [self.note]))
        kurs = [k for k in nachher["alleKurse"] if k["Kuerzel"].lower() == kuerzel][0]
        if not kurs["geaendert"] or kurs["gespeichert"] or kurs["gesendet"]:
            fehler.append("Der Kurs trägt geaendert/gespeichert/gesendet = %s/%s/%s statt True/False/False"
                          % (kurs["geaendert"], kurs["gespeichert"], kurs["gesendet"]))
        # Once by "Sichern" of the window, once by the quit sequence.
        if self.schreiben_bei.get("Beenden") != 2:
            fehler.append("Beim Beenden wurde die Kurslisten-Datei %s× geschrieben statt 2×"
                          % self.schreiben_bei.get("Beenden"))
        # Nothing else of the file changed: every other course row as before.
        andere_vorher = [z for z in self.vorher["alleSchuelerKurse"]
                         if not (z["FachKuerzel"].lower() == kuerzel and z["ID"] == self.schueler[0])]
        andere_nachher = [z for z in nachher["alleSchuelerKurse"]
                          if not (z["FachKuerzel"].lower() == kuerzel and z["ID"] == self.schueler[0])]
        if andere_vorher != andere_nachher:
            fehler.append("Andere Kurszeilen haben sich geändert")
        if fehler:
            raise Fehlschlag("\n".join(fehler))
        self.melde("Kurslisten-Datei gelesen: Note %s unter Schüler %d, Kurs geändert"
                   % (self.note, self.schueler[0]))


if __name__ == "__main__":
    sys.exit(treiber.ein_fall(Eingabenlauf, __doc__.splitlines()[0], "eingaben"))
