#!/usr/bin/python3
"""The road of one grade, end to end, as a teacher walks it.

Starts the built program in an X server of its own on a copy of the demo course list,
drives it only with keyboard and mouse (xdotool): open dialog, login with a wrong and then
the right password, the course selection, a course window (grades, hours and a remark typed
with Tab, one refused grade), "Sichern", "Speichern", "Senden" to a real SMTP server with
implicit TLS on 127.0.0.1:465, and "Beenden" through the menu (the question about the
demo's changed and undelivered course answered "Ja"). Then it reads the course list with the
file tool and the mail that arrived.

  --fall erfolg      the server accepts the login: the success message, the course turns green
  --fall abgelehnt   the server refuses the login: the fallback dialog, "Abbrechen", the course
                     stays blue, quitting writes the course list once
  --fall ohne-mailprogramm   as abgelehnt, but "Mail senden" on a desktop without any program
                     to open a mailto: address: the message that says so, the course stays blue
  --fall voll        the course list lies on a small disk of its own (tmpfs) that fills up
                     while the teacher types: "Sichern" reports the full disk and leaves the
                     file as it was (loadable, every grade in it); "Sichern unter …" puts the
                     entries on another disk, and the program goes on with that file.
                     Needs root for the mount; elsewhere the case is skipped (exit code 77).

A screenshot of every step lands in --ausgabe, with the logs, the course list as JSON and
the received mail, for a person to look at.
"""

import base64
import copy
import ctypes
import json
import os
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import oberflaeche as ui                          # noqa: E402
import treiber                                   # noqa: E402
from smtpsserver import SmtpsServer              # noqa: E402
from xsitzung import Fehlschlag, XSitzung, frist_abwarten  # noqa: E402

NAME = "Erika Müller"
MAIL = {"Server": "127.0.0.1", "Benutzer": "noten", "Pass": "e2e-Kennwort",
        "EMailAdresse": "noten@schule.example", "Absender": "lehrer@schule.example"}
# The demo's catalogue: (ID, caption) of every entry column, in order.
KATALOG_MIT_ID = [("", "Note"), ("", "Fehlstunden"), ("", "unentschuldigte Fehlstunden"),
                  ("", "Hinweis"), ("KL", "Klausur"), ("", "Bemerkung")]
KATALOG = [name for _, name in KATALOG_MIT_ID]
# Typed into the first row, one value per entry column, each followed by Tab.
ERSTE_ZEILE = ["12", "6", "3", "Referat über Fotosynthese", "11", "Vorbildliche Mitarbeit"]
ABGELEHNTE_NOTE = "16"           # not in the grade scale: refused, the cell keeps its value
ZWEITE_ZEILE_FEHLSTUNDEN = "5"   # typed after the refusal into the second row's hours
BEENDEN = "RAVIRIreru beenden?"
# The course window's toolbar button "Sichern", from the window's corner.
SICHERN = (34, 44)
# Exit code of a case that cannot run here (ctest SKIP_RETURN_CODE).
UEBERSPRUNGEN = 77
PROGRAMMNAME = "RAVIRIreru"


class Uebersprungen(Exception):
    pass


def eigener_mount_namensraum():
    """Moves this process (and every process it starts) into a mount namespace of its own,
    so that the small disk vanishes with the run, whatever happens."""
    libc = ctypes.CDLL(None, use_errno=True)
    CLONE_NEWNS = 0x00020000
    if libc.unshare(CLONE_NEWNS) != 0:
        raise Uebersprungen("kein eigener Mount-Namensraum (unshare: %s)"
                            % os.strerror(ctypes.get_errno()))
    subprocess.run(["mount", "--make-rprivate", "/"], check=True)


def fuellen(ordner):
    """Fills the disk of ordner until nothing is free; returns the bytes written."""
    gesamt = 0
    with open(os.path.join(ordner, ".fuellung"), "wb", buffering=0) as datei:
        for groesse in (65536, 4096, 1):
            block = b"F" * groesse
            while True:
                try:
                    gesamt += datei.write(block)
                except OSError:
                    break
    return gesamt


class Schreibwaechter:
    """Counts how often a file is written: inotifywait on its folder. QSaveFile writes a
    temporary file and renames it over the old one (MOVED_TO); a direct write closes the
    file itself after writing (CLOSE_WRITE)."""

    def __init__(self, ordner, name):
        self.ordner = ordner
        self.name = name
        self.ereignisse = []
        self._prozess = None

    def starten(self):
        if shutil.which("inotifywait") is None:
            raise Fehlschlag("Programm fehlt: inotifywait (Paket inotify-tools)")
        self._prozess = subprocess.Popen(
            ["inotifywait", "-m", "-e", "close_write,moved_to", "--format", "%e\t%f", self.ordner],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        bereit = threading.Event()

        def fehler_lesen():
            for zeile in self._prozess.stderr:
                if b"Watches established" in zeile:
                    bereit.set()

        def lesen():
            for zeile in self._prozess.stdout:
                art, _, name = zeile.decode(errors="replace").rstrip("\n").partition("\t")
                self.ereignisse.append((time.monotonic(), art, name))

        threading.Thread(target=fehler_lesen, daemon=True).start()
        threading.Thread(target=lesen, daemon=True).start()
        if not bereit.wait(10):
            raise Fehlschlag("inotifywait beobachtet %s nicht" % self.ordner)

    def schreibvorgaenge(self):
        return sum(1 for _, art, name in self.ereignisse
                   if name == self.name and ("MOVED_TO" in art or "CLOSE_WRITE" in art))

    def beenden(self):
        if self._prozess is not None and self._prozess.poll() is None:
            self._prozess.terminate()
            self._prozess.wait(5)


class Lauf:
    def __init__(self, args, tmp):
        self.args = args
        self.tmp = tmp
        self.ausgabe = args.ausgabe
        self.beginn = time.monotonic()
        self.fotozahl = 0
        self.x = None
        self.programm = None
        self.kursliste_ordner = os.path.join(tmp, "kursliste")
        self.kursliste = os.path.join(self.kursliste_ordner, "Demo-Kursliste.zln")
        self.waechter = Schreibwaechter(self.kursliste_ordner, os.path.basename(self.kursliste))
        # The server knows the file's account; in the refused case its password differs.
        server_pass = MAIL["Pass"] if args.fall == "erfolg" else "ein-anderes-Kennwort"
        os.makedirs(os.path.join(tmp, "server"))
        self.server = SmtpsServer(args.smtp_skript, os.path.join(tmp, "server"), MAIL["Benutzer"],
                                  server_pass)
        self.schreiben_bei = {}
        self.platte = None               # the small disk of the case "voll"
        self.gerettet = os.path.join(tmp, "anderswo", "Gerettet.zln")

    # --- Small helpers ---------------------------------------------------------------

    def melde(self, text):
        print("[%6.2f s] %s" % (time.monotonic() - self.beginn, text), flush=True)

    def foto(self, name):
        self.fotozahl += 1
        pfad = os.path.join(self.ausgabe, "%02d-%s.png" % (self.fotozahl, name))
        self.x.foto(pfad)
        self.melde("Bildschirmfoto %s" % os.path.basename(pfad))

    def werkzeug(self, *argumente):
        ergebnis = subprocess.run([self.args.werkzeug] + list(argumente), stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, timeout=60)
        if ergebnis.returncode != 0:
            raise Fehlschlag("ravirireru-datei %s: %s" % (" ".join(argumente),
                                                          ergebnis.stderr.decode(errors="replace")))
        return ergebnis.stdout

    def lesen_json(self, pfad):
        return json.loads(self.werkzeug("json", "--geheim", pfad))

    def kursliste_nachher(self):
        """The course list after the road: read with the file tool, kept as JSON in the output
        folder and checked by the tool."""
        nachher = self.lesen_json(self.kursliste)
        with open(os.path.join(self.ausgabe, "kursliste-nachher.json"), "w", encoding="utf-8") as datei:
            json.dump(nachher, datei, ensure_ascii=False, indent=1)
        self.werkzeug("pruefen", self.kursliste)
        return nachher

    # --- Preparing the document ------------------------------------------------------

    def vorbereiten(self):
        """The demo file with the mail settings of the test server, made with the file tool."""
        os.makedirs(self.kursliste_ordner)
        for ordner in ("ergebnis-speichern", "ergebnis-senden"):
            os.makedirs(os.path.join(self.tmp, ordner))
        daten = self.lesen_json(self.args.demo)
        daten.update(MAIL)
        quelle = os.path.join(self.tmp, "kursliste-vorher.json")
        with open(quelle, "w", encoding="utf-8") as datei:
            json.dump(daten, datei, ensure_ascii=False, indent=1)
        if self.args.fall == "voll":
            # A disk of its own, a little bigger than the file and its lock.
            zwischen = os.path.join(self.tmp, "kursliste-vorher.zln")
            self.werkzeug("zln", quelle, zwischen)
            groesse = (os.path.getsize(zwischen) // 4096 + 4) * 4096
            subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d,mode=0755" % groesse, "tmpfs",
                            self.kursliste_ordner], check=True)
            self.platte = self.kursliste_ordner
            os.makedirs(os.path.dirname(self.gerettet))
        self.werkzeug("zln", quelle, self.kursliste)
        self.vorher = self.lesen_json(self.kursliste)
        with open(self.kursliste, "rb") as datei:
            self.vorher_bytes = datei.read()

        # What the road relies on in the demo file.
        if [(e["ID"], e["Bezeichnung"]) for e in self.vorher["alleEintraege"]] != KATALOG_MIT_ID:
            raise Fehlschlag("Die Demo-Datei hat einen anderen Eintragskatalog als %s" % KATALOG_MIT_ID)
        noten = {n["Kuerzel"] for n in self.vorher["zNoten"]}
        if ERSTE_ZEILE[0] not in noten or ABGELEHNTE_NOTE in noten:
            raise Fehlschlag("Die Notenskala der Demo-Datei passt nicht zum Test")
        self.kurs = self.vorher["alleKurse"][0]
        if self.kurs["geaendert"] or self.kurs["gespeichert"] or self.kurs["gesendet"]:
            raise Fehlschlag("Der erste Kurs der Demo-Datei ist schon bearbeitet")
        im_kurs = [s["ID"] for s in self.vorher["alleSchueler"]
                   if ",%d," % s["ID"] in self.kurs["Schueler"]]
        if len(im_kurs) < 2:
            raise Fehlschlag("Der erste Kurs der Demo-Datei hat weniger als zwei Schüler")
        self.schueler = im_kurs[:2]
        h = self.vorher["HalbjahrKuerzel"]
        k = self.kurs
        if self.vorher["istAbiturListe"]:
            self.stamm = "Noten Abitur-%s-%s%d-%s" % (k["Kuerzel"], k["KursArt"], k["kNr"], k["Lehrer"])
        else:
            self.stamm = "Noten %s-%s-%s%d-%s" % (h, k["Kuerzel"], k["KursArt"], k["kNr"], k["Lehrer"])
        self.ziel_speichern = os.path.join(self.tmp, "ergebnis-speichern", self.stamm + ".zle")
        self.ziel_senden = os.path.join(self.tmp, "ergebnis-senden", self.stamm + ".zle")

    # --- The road --------------------------------------------------------------------

    def ausfuehren(self):
        if self.args.fall == "voll":
            return self.ausfuehren_voll()
        self.vorbereiten()
        self.server.starten()
        self.melde("SMTPS-Testserver auf 127.0.0.1:465 (Passwort %s)"
                   % ("wie in der Datei" if self.args.fall == "erfolg" else "anders als in der Datei"))
        umgebung = {"SSL_CERT_FILE": self.server.vertraute_zertifikate}

        def schritte():
            self.programm_starten(**umgebung)
            auswahl = self.kursauswahl()
            self.kurs_bearbeiten(auswahl)
            self.speichern(auswahl)
            self.senden(auswahl)
            self.beenden(auswahl)
        try:
            if self.args.fall == "ohne-mailprogramm":
                # Nothing to hand a mailto: address to: no xdg-open, no browser.
                leer = os.path.join(self.tmp, "ohne-programme")
                os.makedirs(leer, exist_ok=True)
                umgebung.update(PATH=leer, BROWSER="", DEFAULT_BROWSER="")
            self.sitzung(schritte)
        finally:
            self.server.beenden()
            self.aufbewahren()
        self.pruefen()

    def ohne_mailserver(self, schritte):
        """A road without mail server: the file prepared, schritte() walked in an X server of
        its own, the logs kept, the file checked."""
        self.vorbereiten()
        try:
            self.sitzung(schritte)
        finally:
            self.aufbewahren()
        self.pruefen()

    def sitzung(self, schritte):
        """Walks schritte() in an X server of its own while the course list's writes are
        watched. On a failure the error report is taken; the program is stopped in any case."""
        with XSitzung(self.tmp, protokoll=self.melde) as x:
            self.x = x
            self.waechter.starten()
            try:
                schritte()
            except Fehlschlag:
                self.fehlerbericht()
                raise
            finally:
                if self.programm is not None:
                    self.programm.anhalten()
                self.waechter.beenden()

    def programm_starten(self, **umgebung):
        """The program on the course list, its open dialog and the login."""
        self.programm = ui.Programm(self.x, self.args.programm, self.kursliste, self.tmp, **umgebung)
        self.x.lebenszeichen = self.programm.lebt
        self.programm.starten()
        self.oeffnen()
        self.anmelden()

    def oeffnen(self):
        dialog = self.x.warte_auf_fenster(ui.OEFFNEN, 30)
        self.x.aktivieren(dialog)
        self.foto("oeffnen")
        self.x.taste("Return")        # the handed document is already chosen
        self.x.warte_bis_weg(dialog, name="der Dialog „%s“" % ui.OEFFNEN)
        self.melde("Öffnen-Dialog mit Return bestätigt")

    def anmelden(self):
        fenster = self.x.warte_auf_fenster(ui.ANMELDUNG)
        self.x.aktivieren(fenster)
        if self.x.bild(fenster).dunkle_pixel(*ui.HINWEIS_PASSWORT):
            raise Fehlschlag("Der Hinweis zum falschen Passwort ist schon vor dem ersten Versuch zu sehen")
        self.foto("anmeldung")
        richtig = self.vorher["NotenPass"]
        falsch = richtig.swapcase() if richtig.swapcase() != richtig else richtig + "x"
        self.x.tippen(falsch)
        self.x.taste("Return")
        frist_abwarten(lambda: self.x.bild(fenster).dunkle_pixel(*ui.HINWEIS_PASSWORT) > 40, 5,
                       takt=0.1, was="der Hinweis „Das Passwort ist falsch. Geben Sie es erneut ein!“")
        if not self.x.ist_sichtbar(fenster):
            raise Fehlschlag("Das Anmeldefenster ist nach dem falschen Passwort verschwunden")
        self.foto("passwort-falsch")
        self.melde("Falsches Passwort „%s“: Hinweis sichtbar, Fenster bleibt" % falsch)
        self.x.tippen(richtig)
        self.x.taste("Tab")
        self.x.tippen(NAME)
        self.foto("anmeldung-ausgefuellt")
        self.x.taste("Return")
        self.x.warte_bis_weg(fenster, name="das Anmeldefenster")
        self.melde("Angemeldet als „%s“" % NAME)

    def kursauswahl(self):
        fenster = self.x.warte_auf_fenster(ui.KURSAUSWAHL)
        self.x.aktivieren(fenster)
        auswahl = ui.Kursauswahl(self.x, fenster)
        if auswahl.punkt(0) != "keiner":
            raise Fehlschlag("Der unbearbeitete Kurs zeigt einen Punkt: %s" % auswahl.punkt(0))
        self.foto("kursauswahl")
        return auswahl

    def kurs_bearbeiten(self, auswahl):
        fenster = self.werte_eintragen(auswahl)
        vorher = self.waechter.schreibvorgaenge()
        self.sichern_klicken(fenster)
        self.x.warte_bis_weg(fenster, name="das Kursfenster nach „Sichern“")
        frist_abwarten(lambda: self.waechter.schreibvorgaenge() > vorher, 10,
                       was="„Sichern“ schreibt die Kurslisten-Datei")
        auswahl.warte_auf_punkt("rot")
        self.schreiben_bei["Sichern"] = self.waechter.schreibvorgaenge() - vorher
        self.foto("gesichert")
        self.melde("Gesichert: Kursfenster zu, Punkt rot")

    def sichern_klicken(self, fenster):
        x, y, _, _ = self.x.geometrie(fenster)
        self.x.klick(x + SICHERN[0], y + SICHERN[1])

    def werte_eintragen(self, auswahl, vor_dem_tippen=None):
        """Opens the first course, types the values of the road (one refused) and returns the
        course window, "Sichern" not yet pressed."""
        self.x.klick(*auswahl.zeilenmitte(0), anzahl=2)
        titel = ui.kursfenster_titel(self.kurs, self.vorher["HalbjahrKuerzel"], self.vorher["istAbiturListe"])
        fenster = self.x.warte_auf_fenster(titel)
        self.x.aktivieren(fenster)
        self.foto("kursfenster")
        self.melde("Kursfenster „%s“ offen" % titel)
        if vor_dem_tippen:
            vor_dem_tippen()
            self.x.aktivieren(fenster)
        # The editor stands on the first entry cell of the first row.
        for wert in ERSTE_ZEILE:
            self.zelle(wert)
        self.zelle(ABGELEHNTE_NOTE)          # refused: the editor stays, the old value is back
        self.foto("note-abgelehnt")
        # What the editor holds now: selecting all of it by key hands it to the X selection.
        vorher = self.x.auswahl_zeitpunkt()
        self.x.taste("ctrl+a")
        im_editor = self.x.neue_auswahl(vorher)
        alte_note = self.eintrag(self.kurs["Kuerzel"], self.schueler[1], "Note")
        if im_editor != alte_note:
            raise Fehlschlag("Nach der abgelehnten Note %s steht %r in der Zelle statt des alten Werts %r"
                             % (ABGELEHNTE_NOTE, im_editor, alte_note))
        self.melde("Note %s abgelehnt: die Zelle zeigt wieder %s" % (ABGELEHNTE_NOTE, im_editor))
        self.x.taste("Tab")                  # the old value passes; on to the hours
        self.zelle(ZWEITE_ZEILE_FEHLSTUNDEN)
        self.foto("werte-eingetragen")
        return fenster

    def dialogtexte(self, fenster_id):
        """The texts of a message box (its message, then its explanation), read line by line
        through the X selection: a triple-click selects one paragraph, with its line feed
        when another paragraph of the same text follows; a paragraph that wraps over several
        lines is read once."""
        x, y, _, _ = self.x.geometrie(fenster_id)
        absaetze = []
        for mitte, erstes_x in textzeilen(self.x.bild(fenster_id)):
            text = self.x.markierten_text_lesen(x + erstes_x + 3, y + mitte)
            if not absaetze or absaetze[-1] != text:
                absaetze.append(text)
        self.x.maus_weg()
        texte, aktuell = [], ""
        for absatz in absaetze:
            aktuell += absatz
            if not absatz.endswith("\n"):
                texte.append(aktuell)
                aktuell = ""
        if aktuell:
            texte.append(aktuell)
        return texte

    def texte_pruefen(self, was, gefunden, erwartet):
        if gefunden != erwartet:
            raise Fehlschlag("%s:\n  erwartet %r\n  gefunden %r" % (was, erwartet, gefunden))
        self.melde("%s: %s" % (was, " | ".join(gefunden).replace("\n", " ⏎ ")))

    def eintrag(self, kuerzel, schueler_id, bezeichnung):
        """The value of an entry of a student's row in a course as the file held it before
        the road ("" without row)."""
        for zeile in self.vorher["alleSchuelerKurse"]:
            if zeile["FachKuerzel"].lower() == kuerzel.lower() and zeile["ID"] == schueler_id:
                for e in zeile["Eintraege"]:
                    if e["Bezeichnung"] == bezeichnung:
                        return e["datum"]
        return ""

    def zelle(self, wert):
        self.x.taste("ctrl+a")
        self.x.tippen(wert)
        self.x.taste("Tab")

    def ergebnis_dialog(self, ziel, fotoname):
        dialog = self.x.warte_auf_fenster(ui.SPEICHERN)
        self.x.aktivieren(dialog)
        self.x.taste("ctrl+a")
        self.x.tippen(ziel)
        self.foto(fotoname)
        self.x.taste("Return")
        self.x.warte_bis_weg(dialog, name="der Dialog „%s“" % ui.SPEICHERN)
        frist_abwarten(lambda: os.path.isfile(ziel), 10, was="die Ergebnisdatei %s" % ziel)

    def speichern(self, auswahl):
        auswahl.knopf("Speichern")
        self.ergebnis_dialog(self.ziel_speichern, "speichern-dialog")
        auswahl.warte_auf_punkt("blau")
        self.foto("gespeichert")
        self.melde("Gespeichert: %s, Punkt blau" % self.ziel_speichern)

    def senden(self, auswahl):
        auswahl.knopf("Senden")
        self.ergebnis_dialog(self.ziel_senden, "senden-dialog")
        titel = ui.kurs_titel(self.kurs)
        frage = self.x.warte_auf_fenster("Noteneingabe " + titel)
        self.x.aktivieren(frage)
        self.foto("frage-senden")
        self.texte_pruefen("Frage vor dem Senden", self.dialogtexte(frage), [
            "Soll die Kursliste\n%s\ngesendet werden?" % titel,
            # (the empty line before the recipient holds no text to select)
            "Die Kursliste wurde unter dem Namen\n%s.zle\nim Ordner\n%s\ngesichert.\n"
            "Empfänger: %s"
            % (self.stamm, os.path.dirname(self.ziel_senden), MAIL["EMailAdresse"])])
        bekannte = self.x.fenster_der_klasse(ui.KLASSE)
        self.x.taste("Return")               # "Ja" is the default button
        self.x.warte_bis_weg(frage, name="die Frage vor dem Senden")
        # The report of the transfer: a new window of the program, found by the program's
        # window class (the success message and the fallback dialog carry the same title).
        meldung = self.x.warte_auf_neues_fenster(ui.KLASSE, bekannte, 60)
        self.x.aktivieren(meldung)
        self.foto("mail-versandt" if self.args.fall == "erfolg" else "mail-fehler")
        texte = self.dialogtexte(meldung)     # (leaves the text selected on the screen)
        if self.args.fall == "erfolg":
            frist_abwarten(lambda: self.server.nachrichten(), 10, was="die Mail ist angekommen")
            self.texte_pruefen("Meldung nach dem Versand", texte, [
                "Die Mail wurde erfolgreich versandt!",
                "Die Datei '%s.zle' wurde an %s gesendet." % (self.stamm, MAIL["EMailAdresse"])])
            self.x.taste("Return")
            self.x.warte_bis_weg(meldung, name="die Erfolgsmeldung")
            auswahl.warte_auf_punkt("grün")
            self.foto("gesendet")
            self.melde("Versandt: Erfolgsmeldung geschlossen, Punkt grün")
        else:
            self.texte_pruefen("Dialog nach dem Versandfehler", texte, [
                "Beim Versenden der Nachricht ist ein Fehler aufgetreten!",
                "Die Noten wurden in der Datei '%s.zle' im Ordner '%s' gesichert. Verwenden Sie den "
                "Knopf 'Mail senden' und senden Sie die Datei als Anhang in ihrem Mailprogramm.\n"
                # (the empty line before the reason gives no text to select, so it is not read)
                "Grund: Der Mailserver hat die Anmeldung abgelehnt. (Fehler 67)"
                % (self.stamm, os.path.dirname(self.ziel_senden))])
            if self.args.fall == "abgelehnt":
                self.x.taste("Escape")           # "Abbrechen", the dialog's cancel button
                self.x.warte_bis_weg(meldung, name="der Dialog zum Versandfehler")
                auswahl.warte_auf_punkt("blau")
                self.foto("nach-abbrechen")
                self.melde("Versand abgelehnt: Dialog mit „Abbrechen“ geschlossen, Punkt bleibt blau")
                return
            bekannte = self.x.fenster_der_klasse(ui.KLASSE)
            self.x.taste("Return")           # "Mail senden", the default button
            self.x.warte_bis_weg(meldung, name="der Dialog zum Versandfehler")
            hinweis = self.x.warte_auf_neues_fenster(ui.KLASSE, bekannte, 20)
            self.x.aktivieren(hinweis)
            self.foto("ohne-mailprogramm")
            self.texte_pruefen("Meldung ohne Mailprogramm", self.dialogtexte(hinweis), [
                "Das Mailprogramm konnte nicht geöffnet werden.",
                "Bitte senden Sie die Datei '%s.zle' aus dem Ordner '%s' selbst als Anhang an %s."
                % (self.stamm, os.path.dirname(self.ziel_senden), MAIL["EMailAdresse"])])
            self.x.taste("Return")
            self.x.warte_bis_weg(hinweis, name="die Meldung ohne Mailprogramm")
            auswahl.warte_auf_punkt("blau")
            self.foto("nach-mailprogramm")
            self.melde("Kein Mailprogramm: die Meldung nennt Datei, Ordner und Adresse, Punkt bleibt blau")

    def beenden(self, auswahl):
        self.x.aktivieren(auswahl.id)
        vorher = self.waechter.schreibvorgaenge()
        datei_vorher = os.stat(self.kursliste)
        auswahl.menue_ablage()
        self.x.taste("Up")                            # from nothing up to the last item, "Beenden"
        self.foto("menue-beenden")
        self.x.taste("Return")
        # The demo holds a course changed and neither saved nor sent ("Deutsch", red): the
        # quit sequence asks once.
        frage = self.x.warte_auf_fenster(BEENDEN)
        self.x.aktivieren(frage)
        self.foto("frage-beenden")
        self.texte_pruefen("Frage beim Beenden", self.dialogtexte(frage), [
            "Soll RAVIRIreru beendet werden?",
            # (the empty line before the courses holds no text to select)
            "Der aktuelle Stand der Eingabe wird zwar gesichert, aber mindestens ein Kurs wurde "
            "geändert und weder gespeichert noch versandt!\n"
            "Geändert und nicht abgegeben: %s." % ", ".join(
                "%s %s%d" % (k["Fach"], k["KursArt"], k["kNr"]) for k in self.vorher["alleKurse"]
                if k["geaendert"] and not k["gespeichert"] and not k["gesendet"]
                and k["Kuerzel"] != self.kurs["Kuerzel"])])
        self.x.taste("Return")                        # "Ja", the default button
        rueckgabe = self.programm.warte_auf_ende(20)
        if rueckgabe != 0:
            raise Fehlschlag("Das Programm endet mit %d" % rueckgabe)
        frist_abwarten(lambda: self.waechter.schreibvorgaenge() > vorher, 5,
                       was="das Beenden schreibt die Kurslisten-Datei")
        time.sleep(0.5)                               # no second write may follow
        self.schreiben_bei["Beenden"] = self.waechter.schreibvorgaenge() - vorher
        datei_nachher = os.stat(self.kursliste)
        self.melde("Beendet über Ablage → Beenden; Kurslisten-Datei %d× geschrieben "
                   "(Inode %d → %d)" % (self.schreiben_bei["Beenden"], datei_vorher.st_ino,
                                        datei_nachher.st_ino))
        self.foto("beendet")

    # --- After the road ----------------------------------------------------------------

    def fehlerbericht(self):
        try:
            self.foto("fehler")
            self.melde("Sichtbare Fenster: %s" % self.x.sichtbare_fenster())
        except Exception as fehler:   # the report must not hide the first failure
            self.melde("(kein Bild vom Fehler: %s)" % fehler)
        if self.programm is not None:
            self.melde("Ausgabe des Programms:\n" + self.programm.protokoll()[-4000:])

    def aufbewahren(self):
        for name in ("programm.log", "xvfb.log", "openbox.log", "server/smtps_server.log"):
            quelle = os.path.join(self.tmp, name)
            if os.path.exists(quelle):
                shutil.copy(quelle, os.path.join(self.ausgabe, os.path.basename(name)))
        for _, roh in self.server.nachrichten():
            with open(os.path.join(self.ausgabe, "empfangene-mail.eml"), "wb") as datei:
                datei.write(roh)
        with open(os.path.join(self.ausgabe, "inotify.txt"), "w") as datei:
            for zeit, art, name in self.waechter.ereignisse:
                datei.write("%.3f\t%s\t%s\n" % (zeit - self.beginn, art, name))

    def pruefen(self):
        fehler = []
        nachher = self.kursliste_nachher()

        # The course list: exactly the typed values and the course's flags have changed.
        fehler += self.kursliste_vergleichen(nachher, gespeichert=True,
                                             gesendet=self.args.fall == "erfolg")
        kurs = self.vorher["alleKurse"][0]
        alte_note = self.eintrag(kurs["Kuerzel"], self.schueler[1], "Note")
        k = nachher["alleKurse"][0]
        self.melde("Kurslisten-Datei gelesen: Werte unter Schüler %d und %d, abgelehnte Note %s → "
                   "Zelle behält %s; Kurs %s geaendert/gespeichert/gesendet = %s/%s/%s"
                   % (self.schueler[0], self.schueler[1], ABGELEHNTE_NOTE, alte_note, k["Kuerzel"],
                      k["geaendert"], k["gespeichert"], k["gesendet"]))

        # Writes of the course list: once by "Sichern", once when quitting, never in between
        # ("Speichern" and "Senden" only mark the global data changed).
        for anlass, anzahl in (("Sichern", 1), ("Beenden", 1)):
            if self.schreiben_bei.get(anlass) != anzahl:
                fehler.append("%s schreibt die Kurslisten-Datei %s× statt %d×"
                              % (anlass, self.schreiben_bei.get(anlass), anzahl))
        if self.waechter.schreibvorgaenge() != 2:
            fehler.append("Die Kurslisten-Datei wurde insgesamt %d× geschrieben statt 2× "
                          "(„Sichern“ und Beenden)" % self.waechter.schreibvorgaenge())

        # The result files: the same state twice, holding the typed values.
        with open(self.ziel_speichern, "rb") as datei:
            gespeichert = datei.read()
        with open(self.ziel_senden, "rb") as datei:
            gesendet = datei.read()
        if gespeichert != gesendet:
            fehler.append("„Speichern“ und „Senden“ schreiben verschiedene Ergebnisdateien")
        ergebnis = self.lesen_json(self.ziel_senden)
        if ergebnis.get("Dateiart") != "Ergebnis" or ergebnis["Kurs"]["Kuerzel"] != kurs["Kuerzel"]:
            fehler.append("Die Ergebnisdatei ist keine des Kurses %s" % kurs["Kuerzel"])
        if ergebnis.get("alleSchuelerKurse") != nachher["alleSchuelerKurse"]:
            fehler.append("Die Ergebnisdatei trägt andere Kurszeilen als die Kurslisten-Datei")

        # The mail.
        post = self.server.nachrichten()
        if self.args.fall == "erfolg":
            fehler += self.mail_pruefen(post, gesendet)
        else:
            if post or self.server.anmeldungen():
                fehler.append("Der Server mit anderem Passwort hat %d Anmeldung(en) und %d Mail(s) "
                              "angenommen" % (self.server.anmeldungen(), len(post)))
        if fehler:
            raise Fehlschlag("\n".join(fehler))

    def kursliste_vergleichen(self, nachher, gespeichert, gesendet):
        """The differences of a course list read back from the one before the road with the
        typed values and the course's flags."""
        erwartet = copy.deepcopy(self.vorher)
        kurs = erwartet["alleKurse"][0]
        kurs.update(geaendert=True, gespeichert=gespeichert, gesendet=gesendet)
        zeilen = {(z["FachKuerzel"].lower(), z["ID"]): z for z in erwartet["alleSchuelerKurse"]}
        for nummer, werte in ((0, dict(zip(KATALOG, ERSTE_ZEILE))),
                              (1, {"Fehlstunden": ZWEITE_ZEILE_FEHLSTUNDEN})):
            schluessel = (kurs["Kuerzel"].lower(), self.schueler[nummer])
            if schluessel not in zeilen:
                raise Fehlschlag("Die Demo-Datei hat keine Kurszeile für Schüler %d" % schluessel[1])
            for eintrag in zeilen[schluessel]["Eintraege"]:
                if eintrag["Bezeichnung"] in werte:
                    eintrag["datum"] = werte[eintrag["Bezeichnung"]]
        fehler = []
        for feld in erwartet:
            if feld in ("Spalten", "ErsteSpalte"):
                continue        # the column layout of the window is stored with the file
            if nachher.get(feld) != erwartet[feld]:
                fehler.append("Kurslisten-Datei, Feld %s:\n  erwartet %s\n  gefunden %s" % (
                    feld, kurz(erwartet[feld]), kurz(nachher.get(feld))))
        return fehler

    # --- The case "voll": a disk that fills up ------------------------------------------

    def ausfuehren_voll(self):
        self.vorbereiten()

        def schritte():
            self.programm_starten()
            auswahl = self.kursauswahl()
            fenster = self.werte_eintragen(auswahl, vor_dem_tippen=self.platte_fuellen)
            self.sichern_auf_voller_platte(fenster)
            self.sichern_unter(auswahl, fenster)
            self.beenden_nach_sichern_unter(auswahl)
        try:
            self.sitzung(schritte)
            self.pruefen_voll()       # while the small disk is still there
        finally:
            self.aufbewahren()
            if self.platte:
                subprocess.run(["umount", "-l", self.platte], check=False)

    def platte_fuellen(self):
        geschrieben = fuellen(self.platte)
        frei = os.statvfs(self.platte)
        if frei.f_bavail != 0:
            raise Fehlschlag("Die kleine Platte hat nach dem Füllen noch %d Blöcke frei" % frei.f_bavail)
        self.melde("Platte der Kursliste voll: %d Bytes Füllung, 0 Bytes frei" % geschrieben)

    def datei_unberuehrt(self, wann):
        with open(self.kursliste, "rb") as datei:
            if datei.read() != self.vorher_bytes:
                raise Fehlschlag("Die Kurslisten-Datei auf der vollen Platte ist %s verändert" % wann)
        if self.lesen_json(self.kursliste) != self.vorher:
            raise Fehlschlag("Die Kurslisten-Datei lädt %s nicht mehr mit allen Noten" % wann)
        uebrig = sorted(set(os.listdir(self.platte)) - {os.path.basename(self.kursliste), ".fuellung",
                                                       "." + os.path.basename(self.kursliste) + ".lock"})
        if uebrig:
            raise Fehlschlag("Auf der vollen Platte liegen %s Dateien herum: %s" % (wann, uebrig))

    def sichern_auf_voller_platte(self, fenster):
        bekannte = self.x.fenster_der_klasse(ui.KLASSE)
        self.sichern_klicken(fenster)
        meldung = self.x.warte_auf_neues_fenster(ui.KLASSE, bekannte, 15)
        self.x.aktivieren(meldung)
        self.foto("datentraeger-voll")
        texte = self.dialogtexte(meldung)
        if not texte or texte[0] != "Die Kurslisten-Datei (zln) konnte nicht gesichert werden." \
                or "Der Datenträger ist voll." not in " ".join(texte[1:]):
            raise Fehlschlag("Meldung nach „Sichern“ auf voller Platte: %r" % texte)
        self.melde("„Sichern“ auf voller Platte: %s" % " | ".join(texte).replace("\n", " ⏎ "))
        self.x.taste("Escape")                        # "Abbrechen"
        self.x.warte_bis_weg(meldung, name="die Meldung zur vollen Platte")
        # Not saved: the window asks before it closes, and Escape ("Abbrechen") keeps it.
        frage = self.x.warte_auf_fenster("Kursfenster schließen")
        self.x.aktivieren(frage)
        self.foto("kursfenster-schliessen")
        self.x.taste("Escape")
        self.x.warte_bis_weg(frage, name="die Frage „Kursfenster schließen“")
        if not self.x.ist_sichtbar(fenster):
            raise Fehlschlag("Das Kursfenster ist nach dem gescheiterten „Sichern“ zu")
        self.datei_unberuehrt("nach dem gescheiterten „Sichern“")
        if self.waechter.schreibvorgaenge():
            raise Fehlschlag("Die Kurslisten-Datei wurde trotz voller Platte ersetzt")
        self.melde("Kursfenster bleibt offen; die Datei ist unverändert und lädt mit allen Noten")

    def sichern_unter(self, auswahl, fenster):
        self.x.aktivieren(fenster)
        bekannte = self.x.fenster_der_klasse(ui.KLASSE)
        self.sichern_klicken(fenster)
        meldung = self.x.warte_auf_neues_fenster(ui.KLASSE, bekannte, 15)
        self.x.aktivieren(meldung)
        self.x.taste("Return")                        # "Sichern unter …" is the default
        dialog = self.x.warte_auf_fenster("Kursliste sichern unter")
        self.x.aktivieren(dialog)
        self.x.taste("ctrl+a")
        self.x.tippen(self.gerettet)
        self.foto("sichern-unter")
        self.x.taste("Return")
        self.x.warte_bis_weg(dialog, name="der Dialog „Kursliste sichern unter“")
        # The report: new against the windows before "Sichern" (the message and the dialog
        # are gone).
        bericht = self.x.warte_auf_neues_fenster(ui.KLASSE, bekannte, 15)
        self.x.aktivieren(bericht)
        self.foto("anderswo-gesichert")
        texte = self.dialogtexte(bericht)
        if not texte or texte[0] != "Die Kurslisten-Datei wurde als „%s“ gesichert." % self.gerettet:
            raise Fehlschlag("Meldung nach „Sichern unter …“: %r" % texte)
        self.melde("„Sichern unter …“: %s" % " | ".join(texte))
        self.x.taste("Return")
        self.x.warte_bis_weg(fenster, name="das Kursfenster nach „Sichern unter …“")
        auswahl.warte_auf_punkt("rot")
        self.foto("gesichert-anderswo")

    def beenden_nach_sichern_unter(self, auswahl):
        self.x.aktivieren(auswahl.id)
        vorher = os.stat(self.gerettet).st_ino
        auswahl.menue_ablage()
        self.x.taste("Up")
        self.x.taste("Return")
        # The course was changed and neither saved as a result file nor sent: asked once.
        frage = self.x.warte_auf_fenster("RAVIRIreru beenden?")
        self.x.aktivieren(frage)
        self.foto("frage-beenden")
        self.x.taste("Return")                        # "Ja"
        rueckgabe = self.programm.warte_auf_ende(20)
        if rueckgabe != 0:
            raise Fehlschlag("Das Programm endet mit %d" % rueckgabe)
        if os.stat(self.gerettet).st_ino == vorher:
            raise Fehlschlag("Das Beenden schreibt die neue Kurslisten-Datei nicht")
        self.melde("Beendet; die neue Kurslisten-Datei ist beim Beenden geschrieben")

    def pruefen_voll(self):
        fehler = []
        self.datei_unberuehrt("nach dem Beenden")
        if self.waechter.schreibvorgaenge():
            fehler.append("Die Kurslisten-Datei auf der vollen Platte wurde %d× ersetzt"
                          % self.waechter.schreibvorgaenge())
        nachher = self.lesen_json(self.gerettet)
        with open(os.path.join(self.ausgabe, "kursliste-gerettet.json"), "w", encoding="utf-8") as datei:
            json.dump(nachher, datei, ensure_ascii=False, indent=1)
        fehler += self.kursliste_vergleichen(nachher, gespeichert=False, gesendet=False)
        if fehler:
            raise Fehlschlag("\n".join(fehler))
        self.melde("Die alte Datei ist unverändert; %s trägt alle Eingaben" % self.gerettet)

    def mail_pruefen(self, post, datei):
        if len(post) != 1:
            return ["%d Mails angekommen statt einer" % len(post)]
        umschlag, _ = post[0]
        n = umschlag["nachricht"]
        fehler = []
        soll = [("Umschlag-Absender", umschlag["mail_from"], MAIL["Absender"]),
                ("Umschlag-Empfänger", umschlag["rcpt_tos"], [MAIL["EMailAdresse"]]),
                ("Betreff", n["subject"], self.stamm),
                ("X-Mailer", n["x_mailer"], "ZELTA SMTP"),
                ("Text", [t.rstrip("\r\n") for t in n["texte"]], ["Notenliste von %s:" % NAME]),
                ("Mängel laut Python", n["maengel"], []),
                ("Zahl der Anhänge", len(n["anhaenge"]), 1)]
        if n["anhaenge"]:
            a = n["anhaenge"][0]
            soll += [("Name des Anhangs", a["dateiname"], self.stamm + ".zle"),
                     ("Typ des Anhangs", a["content_type"], "application/octet-stream"),
                     ("Kodierung des Anhangs", a["kodierung"], "base64"),
                     ("Inhalt des Anhangs gleich der Datei", base64.b64decode(a["inhalt_base64"]) == datei, True)]
        for was, ist, erwartet in soll:
            if ist != erwartet:
                fehler.append("Mail, %s: erwartet %r, gefunden %r" % (was, erwartet, ist))
        if not fehler:
            self.melde("Mail geprüft: an %s, Betreff „%s“, Anhang = Ergebnisdatei (%d Bytes)"
                       % (MAIL["EMailAdresse"], self.stamm, len(datei)))
        return fehler


def textzeilen(bild):
    """The lines of text in a message box: (middle y, first x) of every run of rows with dark
    pixels right of the icon and above the buttons."""
    links, rechts, unten = 50, bild.breite - 10, bild.hoehe - 45
    zeilen, anfang, erstes_x = [], None, None
    for y in range(3, unten + 1):
        xs = [x for x in range(links, rechts) if y < unten and sum(bild.pixel(x, y)) < 3 * 110]
        if xs and anfang is None:
            anfang, erstes_x = y, xs[0]
        elif xs:
            erstes_x = min(erstes_x, xs[0])
        elif anfang is not None:
            zeilen.append(((anfang + y) // 2, erstes_x))
            anfang = None
    return zeilen


def kurz(wert, grenze=1500):
    text = json.dumps(wert, ensure_ascii=False)
    return text if len(text) <= grenze else text[:grenze] + " …"


def main():
    args = treiber.argumente(__doc__.splitlines()[0],
                             faelle=["erfolg", "abgelehnt", "ohne-mailprogramm", "voll"],
                             mit_mailserver=True)

    def eigene_platte():
        """The case "voll" needs a mount namespace of its own; elsewhere it is skipped."""
        if args.fall != "voll":
            return None
        try:
            eigener_mount_namensraum()
        except (Uebersprungen, OSError, subprocess.CalledProcessError) as grund:
            print("ÜBERSPRUNGEN: %s" % grund, flush=True)
            return UEBERSPRUNGEN
        return None
    return treiber.ausfuehren(Lauf, args, vorab=eigene_platte)


if __name__ == "__main__":
    sys.exit(main())
