"""The SMTP server with implicit TLS of the mail tests (tests/support/smtp/smtps_server.py),
started for the end-to-end test on 127.0.0.1:465, the port the program sends to.

The certificates are made with openssl in the given folder, as the C++ wrapper of the mail
tests does: a test CA (ca.pem, handed to the program through SSL_CERT_FILE) that signed the
server's certificate for 127.0.0.1 and localhost. Received messages land in postfach/ as
<n>.eml (raw) and <n>.json (envelope and the parsed message).
"""

import glob
import json
import os
import subprocess
import threading
import time

from xsitzung import Fehlschlag

PYTHON = "/usr/bin/python3"

_SERVER_ERWEITERUNGEN = (
    "basicConstraints=CA:FALSE\n"
    "keyUsage=digitalSignature,keyEncipherment\n"
    "extendedKeyUsage=serverAuth\n"
    "subjectAltName=IP:127.0.0.1,DNS:localhost\n")


class SmtpsServer:
    def __init__(self, skript, ordner, benutzer, passwort, port=465):
        self.skript = skript
        self.ordner = ordner
        self.benutzer = benutzer
        self.passwort = passwort
        self.port = port
        self.postfach = os.path.join(ordner, "postfach")
        self._prozess = None
        self._ausgabe = []
        self._leser = None

    @property
    def vertraute_zertifikate(self):
        return os.path.join(self.ordner, "ca.pem")

    def _openssl(self, *argumente):
        ergebnis = subprocess.run(["openssl"] + list(argumente), cwd=self.ordner,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        if ergebnis.returncode != 0:
            raise Fehlschlag("openssl %s: %s" % (" ".join(argumente),
                                                 ergebnis.stderr.decode(errors="replace")))

    def _zertifikate(self):
        ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
        self._openssl("req", "-x509", *ec, "-keyout", "ca.key", "-out", "ca.pem", "-days", "2",
                      "-subj", "/CN=Test-CA Ende-zu-Ende")
        self._openssl("req", *ec, "-keyout", "server.key", "-out", "server.csr",
                      "-subj", "/CN=127.0.0.1")
        with open(os.path.join(self.ordner, "server.ext"), "w") as datei:
            datei.write(_SERVER_ERWEITERUNGEN)
        self._openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                      "-CAcreateserial", "-out", "server.pem", "-days", "2",
                      "-extfile", "server.ext")

    def starten(self, frist=30):
        os.makedirs(self.postfach, exist_ok=True)
        self._zertifikate()
        self._fehlerlog = open(os.path.join(self.ordner, "smtps_server.log"), "wb")
        self._prozess = subprocess.Popen(
            [PYTHON, self.skript, "normal", "--cert", os.path.join(self.ordner, "server.pem"),
             "--key", os.path.join(self.ordner, "server.key"), "--user", self.benutzer,
             "--password", self.passwort, "--postfach", self.postfach, "--port", str(self.port)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self._fehlerlog)

        def lesen():
            for zeile in self._prozess.stdout:
                self._ausgabe.append(zeile.decode(errors="replace").strip())

        self._leser = threading.Thread(target=lesen, daemon=True)
        self._leser.start()
        ende = time.monotonic() + frist
        while "PORT %d" % self.port not in self._ausgabe:
            if self._prozess.poll() is not None or time.monotonic() > ende:
                self._fehlerlog.flush()
                with open(self._fehlerlog.name, "rb") as datei:
                    text = datei.read().decode(errors="replace")
                raise Fehlschlag("Der SMTPS-Testserver lauscht nicht auf 127.0.0.1:%d "
                                 "(ist der Port belegt?):\n%s" % (self.port, text[-3000:]))
            time.sleep(0.05)

    def anmeldungen(self):
        """How often a client logged in successfully."""
        return self._ausgabe.count("VERBUNDEN")

    def nachrichten(self):
        """Every message received so far: (json record, raw bytes), in order of arrival."""
        liste = []
        for pfad in sorted(glob.glob(os.path.join(self.postfach, "*.json"))):
            with open(pfad, encoding="utf-8") as datei:
                eintrag = json.load(datei)
            with open(pfad[:-5] + ".eml", "rb") as datei:
                liste.append((eintrag, datei.read()))
        return liste

    def beenden(self):
        if self._prozess is None:
            return
        if self._prozess.poll() is None:
            try:
                self._prozess.stdin.close()   # the script ends at the end of its input
                self._prozess.wait(5)
            except (OSError, subprocess.TimeoutExpired):
                self._prozess.terminate()
                try:
                    self._prozess.wait(5)
                except subprocess.TimeoutExpired:
                    self._prozess.kill()
                    self._prozess.wait(5)
        if self._leser is not None:
            self._leser.join(5)
        self._fehlerlog.close()
        self._prozess = None
