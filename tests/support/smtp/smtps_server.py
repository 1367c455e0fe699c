#!/usr/bin/python3
"""SMTP server with implicit TLS for the mail tests.

Run with Debian's /usr/bin/python3 (package python3-aiosmtpd):

    smtps_server.py normal --cert C --key K --user U --password P --postfach DIR [--port N]
                           [--zeitlimit S] [--verzoegerung S] [--trennen ohne-antwort|nach-antwort]
    smtps_server.py stumm [--port N]

"normal": aiosmtpd over TLS from the first byte, login required (only the given
user/password pair is accepted, anything else gets 535), every received message is
written to DIR as <n>.eml (the raw message) plus <n>.json (envelope and the message as
Python's own MIME parser reads it). The .json file is written last and by rename, so a
reader that sees it sees a complete message.

Options of "normal", each modelling a server met in the field:
  --zeitlimit S      drops a session that sent no command for S seconds (aiosmtpd's idle
                     time-out; real servers use a few minutes)
  --verzoegerung S   waits S seconds after the message arrived before it stores and answers it
                     (a slow server); a message whose client left meanwhile is not stored
  --trennen ohne-antwort   stores the message, then drops the connection without answering
  --trennen nach-antwort   stores the message, answers 250, then drops the connection
                           instead of waiting for QUIT
"DATEN" is printed when a message arrived (before the delay).

"stumm": accepts TCP connections and never sends a byte (a server that hangs).

Both print "PORT <n>" on stdout once they accept connections, on a free loopback
port, and "VERBUNDEN" whenever a client connected (stumm) or logged in (normal).
With --port N they listen on port N of 127.0.0.1 instead (the end-to-end test uses 465,
the one port the program sends to).
They run until stdin is closed or the process is terminated.
"""

import argparse
import asyncio
import base64
import email
import email.policy
import json
import logging
import os
import signal
import socket
import ssl
import sys
import threading
import warnings

ADRESSE = "127.0.0.1"


def melden(zeile):
    sys.stdout.write(zeile + "\n")
    sys.stdout.flush()


def warten_bis_ende():
    """Blocks until stdin reaches its end or a terminating signal arrives."""
    fertig = threading.Event()

    def lesen():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        except (OSError, ValueError):
            pass
        fertig.set()

    threading.Thread(target=lesen, daemon=True).start()
    signal.signal(signal.SIGTERM, lambda *a: fertig.set())
    signal.signal(signal.SIGINT, lambda *a: fertig.set())
    while not fertig.wait(0.5):
        pass


def zerlegen(roh):
    """Reads a message with Python's MIME parser and returns what the tests check."""
    nachricht = email.message_from_bytes(roh, policy=email.policy.default)
    maengel = [type(m).__name__ for m in nachricht.defects]
    kopf = []
    for name, wert in nachricht.items():
        kopf.append([name, str(wert)])
    ergebnis = {
        "kopf": kopf,
        "from": str(nachricht.get("From", "")),
        "to": str(nachricht.get("To", "")),
        "subject": str(nachricht.get("Subject", "")),
        "date": str(nachricht.get("Date", "")),
        "date_gueltig": False,
        "message_id": str(nachricht.get("Message-ID", "")),
        "x_mailer": str(nachricht.get("X-Mailer", "")),
        "mime_version": str(nachricht.get("MIME-Version", "")),
        "content_type": nachricht.get_content_type(),
        "texte": [],
        "anhaenge": [],
    }
    datum = nachricht.get("Date")
    if datum is not None and getattr(datum, "datetime", None) is not None:
        ergebnis["date_gueltig"] = datum.datetime.tzinfo is not None
    for teil in nachricht.walk():
        maengel += [type(m).__name__ for m in teil.defects]
        if teil.is_multipart():
            continue
        if teil.get_content_disposition() == "attachment":
            inhalt = teil.get_payload(decode=True) or b""
            ergebnis["anhaenge"].append({
                "dateiname": teil.get_filename(),
                "content_type": teil.get_content_type(),
                "kodierung": str(teil.get("Content-Transfer-Encoding", "")).strip().lower(),
                "inhalt_base64": base64.b64encode(inhalt).decode("ascii"),
            })
        elif teil.get_content_type() == "text/plain":
            ergebnis["texte"].append(teil.get_content())
    ergebnis["maengel"] = maengel
    return ergebnis


def normal(args):
    # The fixture requires login without STARTTLS on purpose (TLS is there from the first
    # byte); keep aiosmtpd's warning about that and its session log out of the test output.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult, LoginPassword

    benutzer = args.user.encode("utf-8")
    passwort = args.password.encode("utf-8")
    os.makedirs(args.postfach, exist_ok=True)
    zaehler = {"n": 0}
    sperre = threading.Lock()

    def pruefen(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == benutzer and auth_data.password == passwort)
        if ok:
            melden("VERBUNDEN")
        return AuthResult(success=ok, handled=False)

    def getrennt(server):
        return server.transport is None or server.transport.is_closing()

    class Ablage:
        async def handle_DATA(self, server, session, envelope):
            melden("DATEN")
            if args.verzoegerung > 0:
                await asyncio.sleep(args.verzoegerung)
                if getrennt(server):
                    return "421 Verbindung getrennt"
            with sperre:
                zaehler["n"] += 1
                n = zaehler["n"]
            roh = envelope.original_content or envelope.content
            basis = os.path.join(args.postfach, "%04d" % n)
            with open(basis + ".eml", "wb") as f:
                f.write(roh)
            daten = {
                "mail_from": envelope.mail_from,
                "rcpt_tos": list(envelope.rcpt_tos),
                "nachricht": zerlegen(roh),
            }
            with open(basis + ".json.tmp", "w", encoding="utf-8") as f:
                json.dump(daten, f, ensure_ascii=False)
            os.replace(basis + ".json.tmp", basis + ".json")
            if args.trennen == "ohne-antwort":
                server.transport.abort()
            elif args.trennen == "nach-antwort":
                # After the reply below has been written: close instead of waiting for QUIT.
                asyncio.get_running_loop().call_soon(server.transport.close)
            return "250 OK"

    kontext = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    kontext.load_cert_chain(args.cert, args.key)

    class FreierPortController(Controller):
        # Bound to port 0: take the port the system chose before the controller
        # connects to itself to check that it runs (a fixed port stays as it is).
        def _trigger_server(self):
            self.port = self.server.sockets[0].getsockname()[1]
            super()._trigger_server()

    steuerung = FreierPortController(
        Ablage(), hostname=ADRESSE, port=args.port, ssl_context=kontext,
        server_hostname="localhost", auth_required=True, auth_require_tls=False,
        authenticator=pruefen, enable_SMTPUTF8=True,
        **({"timeout": args.zeitlimit} if args.zeitlimit > 0 else {}))
    steuerung.start()
    melden("PORT %d" % steuerung.port)
    try:
        warten_bis_ende()
    finally:
        steuerung.stop()


def stumm(args):
    lauscher = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    lauscher.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    lauscher.bind((ADRESSE, args.port))
    lauscher.listen(16)
    verbindungen = []

    def annehmen():
        while True:
            try:
                verbindung, _ = lauscher.accept()
            except OSError:
                return
            verbindungen.append(verbindung)   # held open, never answered
            melden("VERBUNDEN")

    threading.Thread(target=annehmen, daemon=True).start()
    melden("PORT %d" % lauscher.getsockname()[1])
    warten_bis_ende()
    lauscher.close()
    for verbindung in verbindungen:
        verbindung.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("modus", choices=["normal", "stumm"])
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--postfach")
    parser.add_argument("--port", type=int, default=0,
                        help="fixed port on 127.0.0.1 instead of a free one")
    parser.add_argument("--zeitlimit", type=float, default=0,
                        help="idle seconds after which the server drops a session")
    parser.add_argument("--verzoegerung", type=float, default=0,
                        help="seconds between receiving a message and answering it")
    parser.add_argument("--trennen", choices=["ohne-antwort", "nach-antwort"],
                        help="drop the connection after storing a message")
    args = parser.parse_args()
    if not 0 <= args.port <= 65535:
        parser.error("--port must lie between 0 and 65535")
    if args.modus == "normal":
        if not (args.cert and args.key and args.postfach):
            parser.error("normal needs --cert, --key and --postfach")
        normal(args)
    else:
        stumm(args)


if __name__ == "__main__":
    main()
