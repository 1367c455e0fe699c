#!/usr/bin/python3
"""Entries survive a killed program, end to end.

Starts the built program in an X server of its own on a copy of the demo course list and
drives it only with keyboard and mouse (xdotool): login, two course windows, values typed
with Tab into both, none saved. Then the program is killed (SIGKILL) and started again on the
same file with the same home folder: after the login it asks "Nicht gesicherte Eingaben";
Return ("Wiederherstellen") opens both course windows with the entries. The course-list file
stays as it was until each window's "Sichern"; after quitting, the file holds exactly the
typed values and nothing else changed, and no journal is left.

A screenshot of every step lands in --ausgabe, with the logs and the course list as JSON.
"""

import glob
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import oberflaeche as ui                          # noqa: E402
import treiber                                   # noqa: E402
from notenweg import Lauf, NAME                  # noqa: E402
from xsitzung import Fehlschlag, frist_abwarten  # noqa: E402

FRAGE_TITEL = "Nicht gesicherte Eingaben"
FRAGE = "Beim letzten Mal wurden Eingaben nicht gesichert. Sollen sie wiederhergestellt werden?"
BEENDEN = "RAVIRIreru beenden?"
# The course window's toolbar button "Sichern", from the window's corner.
SICHERN = (34, 44)


class Wiederherstellungslauf(Lauf):

    def ausfuehren(self):
        def schritte():
            self.starten()
            auswahl = self.kursauswahl()
            self.eingeben(auswahl)
            self.toeten()
            self.starten()
            fenster = self.wiederherstellen()
            self.sichern(fenster)
            self.beenden_mit_frage(self.x.warte_auf_fenster(ui.KURSAUSWAHL))
        self.ohne_mailserver(schritte)

    # --- Steps -----------------------------------------------------------------------

    def starten(self):
        """The program on the course list, with the same home folder every time."""
        self.programm = ui.Programm(self.x, self.args.programm, self.kursliste, self.tmp)
        self.x.lebenszeichen = self.programm.lebt
        self.programm.starten()
        self.oeffnen()
        fenster = self.x.warte_auf_fenster(ui.ANMELDUNG)
        self.x.aktivieren(fenster)
        self.x.tippen(self.vorher["NotenPass"])
        self.x.taste("Tab")
        self.x.tippen(NAME)
        self.x.taste("Return")
        self.x.warte_bis_weg(fenster, name="das Anmeldefenster")
        self.melde("Angemeldet")

    def kurse_waehlen(self):
        """The first two courses with students, and for each the values to type into its
        first row: a grade the scale has and the row does not hold, and absence hours."""
        noten = [n["Kuerzel"] for n in self.vorher["zNoten"]]
        kurse = []
        for zeile, kurs in enumerate(self.vorher["alleKurse"]):
            ids = [s["ID"] for s in self.vorher["alleSchueler"] if ",%d," % s["ID"] in kurs["Schueler"]]
            if not ids:
                continue
            alte_note = self.eintrag(kurs["Kuerzel"], ids[0], "Note")
            alte_stunden = self.eintrag(kurs["Kuerzel"], ids[0], "Fehlstunden")
            note = next(n for n in reversed(noten) if n != alte_note and n.isdigit() and int(n) > 4)
            stunden = "17" if alte_stunden != "17" else "18"
            kurse.append({"zeile": zeile, "kurs": kurs, "schueler": ids[0],
                          "werte": {"Note": note, "Fehlstunden": stunden}})
            if len(kurse) == 2:
                return kurse
        raise Fehlschlag("Die Demo-Datei hat keine zwei Kurse mit Schülern")

    def journaldateien(self):
        return sorted(glob.glob(os.path.join(self.tmp, "heim", ".local", "share", "RAVIRIreru",
                                             "Wiederherstellung", "*.journal")))

    def eingeben(self, auswahl):
        self.kurse = self.kurse_waehlen()
        for k in self.kurse:
            self.x.aktivieren(auswahl.id)
            self.x.klick(*auswahl.zeilenmitte(k["zeile"]), anzahl=2)
            k["titel"] = ui.kursfenster_titel(k["kurs"], self.vorher["HalbjahrKuerzel"],
                                              self.vorher["istAbiturListe"])
            fenster = self.x.warte_auf_fenster(k["titel"])
            self.x.aktivieren(fenster)
            # The editor stands on the grade of the first row; Tab goes on to the hours.
            for bezeichnung in ("Note", "Fehlstunden"):
                self.x.taste("ctrl+a")
                self.x.tippen(k["werte"][bezeichnung])
                self.x.taste("Tab")
            self.melde("„%s“: Note %s, Fehlstunden %s getippt, nicht gesichert"
                       % (k["titel"], k["werte"]["Note"], k["werte"]["Fehlstunden"]))
        self.foto("eingaben-ungesichert")

    def toeten(self):
        # The entries are in the journal as soon as the program has handled the keys: two
        # journal files whose size no longer grows.
        def stehen():
            dateien = self.journaldateien()
            if len(dateien) != 2:
                return None
            groessen = [os.path.getsize(d) for d in dateien]
            time.sleep(0.3)
            return groessen == [os.path.getsize(d) for d in dateien]
        frist_abwarten(stehen, 10, was="zwei Wiederherstellungsdateien")
        with open(self.kursliste, "rb") as datei:
            if datei.read() != self.vorher_bytes:
                raise Fehlschlag("Die Kurslisten-Datei wurde vor dem Sichern geschrieben")
        pid = self.programm.prozess.pid
        os.kill(pid, signal.SIGKILL)
        self.programm.prozess.wait(10)
        self.melde("Programm (PID %d) mit SIGKILL beendet" % pid)
        self.programm.anhalten()
        self.programm = None
        self.x.lebenszeichen = lambda: None
        frist_abwarten(lambda: not self.x.fenster(ui.KURSAUSWAHL), 10, was="die Fenster sind weg")
        self.foto("nach-sigkill")

    def wiederherstellen(self):
        frage = self.x.warte_auf_fenster(FRAGE_TITEL, 20)
        self.x.aktivieren(frage)
        self.foto("frage-wiederherstellen")
        texte = self.dialogtexte(frage)
        if not texte or texte[0] != FRAGE:
            raise Fehlschlag("Die Frage lautet %r statt %r" % (texte[:1], FRAGE))
        erklaerung = "".join(texte[1:])
        for k in self.kurse:
            if "%s: 2 Eingaben, zuletzt am " % k["titel"] not in erklaerung:
                raise Fehlschlag("Die Erklärung nennt „%s“ nicht mit 2 Eingaben: %r" % (k["titel"], erklaerung))
        self.melde("Frage „%s“: %s" % (FRAGE_TITEL, erklaerung.replace("\n", " ⏎ ")))
        self.x.taste("Return")                     # "Wiederherstellen", the default button
        self.x.warte_bis_weg(frage, name="die Frage „%s“" % FRAGE_TITEL)
        fenster = [self.x.warte_auf_fenster(k["titel"]) for k in self.kurse]
        time.sleep(0.5)
        self.foto("wiederhergestellt")
        with open(self.kursliste, "rb") as datei:
            if datei.read() != self.vorher_bytes:
                raise Fehlschlag("Die Kurslisten-Datei wurde beim Wiederherstellen geschrieben")
        self.melde("„Wiederherstellen“: beide Kursfenster offen, Kurslisten-Datei unverändert")
        return fenster

    def sichern(self, fenster):
        for k, f in zip(self.kurse, fenster):
            self.x.aktivieren(f)
            vorher = self.waechter.schreibvorgaenge()
            x, y, _, _ = self.x.geometrie(f)
            self.x.klick(x + SICHERN[0], y + SICHERN[1])
            self.x.warte_bis_weg(f, name="das Kursfenster „%s“ nach „Sichern“" % k["titel"])
            frist_abwarten(lambda: self.waechter.schreibvorgaenge() > vorher, 10,
                           was="„Sichern“ schreibt die Kurslisten-Datei")
            self.melde("„%s“ gesichert" % k["titel"])
        self.foto("gesichert")

    def beenden_mit_frage(self, auswahl_id):
        self.x.aktivieren(auswahl_id)
        self.x.taste("ctrl+q")
        frage = self.x.warte_auf_fenster(BEENDEN)
        self.x.aktivieren(frage)
        self.x.taste("Return")                     # "Ja": quit although the courses are not delivered
        rueckgabe = self.programm.warte_auf_ende(20)
        if rueckgabe != 0:
            raise Fehlschlag("Das Programm endet mit %d" % rueckgabe)
        self.melde("Beendet")

    def pruefen(self):
        nachher = self.kursliste_nachher()
        fehler = []
        geaendert = {}
        for k in self.kurse:
            for bezeichnung, wert in k["werte"].items():
                geaendert[(k["kurs"]["Kuerzel"].lower(), k["schueler"], bezeichnung)] = wert

        def werte(daten):
            ergebnis = {}
            for z in daten["alleSchuelerKurse"]:
                for e in z["Eintraege"]:
                    ergebnis[(z["FachKuerzel"].lower(), z["ID"], e["Bezeichnung"])] = e["datum"]
            return ergebnis
        alt, neu = werte(self.vorher), werte(nachher)
        for schluessel, wert in geaendert.items():
            if neu.get(schluessel) != wert:
                fehler.append("%s: %r statt %r" % (schluessel, neu.get(schluessel), wert))
        for schluessel in set(alt) | set(neu):
            if schluessel not in geaendert and alt.get(schluessel, "") != neu.get(schluessel, ""):
                fehler.append("%s hat sich geändert: %r → %r" % (schluessel, alt.get(schluessel), neu.get(schluessel)))
        if self.journaldateien():
            fehler.append("Nach dem Sichern sind Wiederherstellungsdateien übrig: %s" % self.journaldateien())
        if fehler:
            raise Fehlschlag("\n".join(fehler))
        self.melde("Kurslisten-Datei gelesen: genau die %d getippten Werte, keine Wiederherstellungsdatei übrig"
                   % len(geaendert))


if __name__ == "__main__":
    sys.exit(treiber.ein_fall(Wiederherstellungslauf, __doc__.splitlines()[0], "wiederherstellung"))
