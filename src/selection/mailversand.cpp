#include "mailversand.h"

#include "curlbibliothek.h"
#include "mailnachricht.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// One transfer as the worker thread sees it: the order plus what was read on the owner's
// thread when the order was given.
struct Auftragsdaten {
    Mailversand::Auftrag auftrag;
    QByteArray zertifikatDatei; // SSL_CERT_FILE at the time of Senden; empty: the system's
    quint64 nummer = 0; // running number, from 1
};

// Releases what a transfer holds, whatever way it ends.
struct CurlTeile {
    const CurlBibliothek& c;
    CURL* easy = nullptr;
    CURLU* url = nullptr;
    curl_mime* mime = nullptr;
    curl_slist* kopf = nullptr;
    curl_slist* empfaenger = nullptr;
    ~CurlTeile()
    {
        if (easy)
            c.easy_cleanup(easy);
        if (mime)
            c.mime_free(mime);
        if (url)
            c.url_cleanup(url);
        c.slist_free_all(kopf);
        c.slist_free_all(empfaenger);
    }
};

// The URL smtps://<server>:<port>/ , accepted only when libcurl's parser finds exactly the
// given host in it (a value such as "a@b" or "a/b" would otherwise pick another host).
CURLcode urlSetzen(const CurlBibliothek& c, CURLU* url, const QString& server, int port)
{
    if (server.isEmpty() || port < 1 || port > 65535)
        return CURLE_URL_MALFORMAT;
    QByteArray rechner = QUrl::toAce(server);
    if (rechner.isEmpty())
        rechner = server.toUtf8();
    if (rechner.contains(':') && !rechner.startsWith('['))
        rechner = '[' + rechner + ']'; // an IPv6 address
    const QByteArray text = "smtps://" + rechner + ':' + QByteArray::number(port) + '/';
    if (c.url_set(url, CURLUPART_URL, text.constData(), 0) != CURLUE_OK)
        return CURLE_URL_MALFORMAT;
    char* gefunden = nullptr;
    if (c.url_get(url, CURLUPART_HOST, &gefunden, 0) != CURLUE_OK)
        return CURLE_URL_MALFORMAT;
    const bool gleich = QByteArray(gefunden).compare(rechner, Qt::CaseInsensitive) == 0;
    c.free(gefunden);
    return gleich ? CURLE_OK : CURLE_URL_MALFORMAT;
}

} // namespace

struct Mailversand::Intern {
    std::mutex sperre;
    std::condition_variable bedingung;
    std::deque<Auftragsdaten> warteschlange; // guarded by sperre
    std::atomic<bool> ende { false }; // the object is being destroyed
    std::atomic<quint64> verworfenBis { 0 }; // transfers up to this number were called off
    // libcurl and the multi handle, from the first Senden on (set on the owner's thread before
    // the worker starts, unchanged afterwards); both stay empty when libcurl cannot be loaded.
    const CurlBibliothek* curl = nullptr;
    CURLM* multi = nullptr;
    std::thread arbeiter;
    quint64 letzteNummer = 0; // owner's thread only
    int offen = 0; // owner's thread only

    bool verworfen(quint64 nummer) const { return ende || nummer <= verworfenBis; }
    void arbeiten(Mailversand* q);
    CURLcode uebertragen(const Auftragsdaten& daten);

    // What the progress function of a transfer needs to know whether to stop.
    struct Wache {
        const Intern* intern;
        quint64 nummer;
    };
    static int abbrechenFrage(void* wache, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        const auto* w = static_cast<const Wache*>(wache);
        return w->intern->verworfen(w->nummer) ? 1 : 0;
    }
};

Mailversand::Mailversand(QObject* parent)
    : QObject(parent)
    , z(std::make_unique<Intern>())
{
}

Mailversand::~Mailversand()
{
    {
        std::lock_guard<std::mutex> lock(z->sperre);
        z->ende = true;
        z->warteschlange.clear();
    }
    z->bedingung.notify_all();
    if (z->multi)
        z->curl->multi_wakeup(z->multi);
    if (z->arbeiter.joinable())
        z->arbeiter.join();
    if (z->multi)
        z->curl->multi_cleanup(z->multi);
}

void Mailversand::Senden(const Auftrag& auftrag)
{
    Auftragsdaten daten { auftrag, qgetenv("SSL_CERT_FILE"), ++z->letzteNummer };
    ++z->offen;
    // libcurl is loaded by the first transfer, not when the program starts.
    if (!z->curl) {
        z->curl = CurlBibliothek::Programm();
        if (z->curl)
            z->multi = z->curl->multi_init();
    }
    if (!z->multi) {
        QMetaObject::invokeMethod(
            this,
            [this, nummer = daten.nummer, kennung = auftrag.kennung] {
                melden(nummer, kennung, CURLE_FAILED_INIT);
            },
            Qt::QueuedConnection);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(z->sperre);
        z->warteschlange.push_back(std::move(daten));
        if (!z->arbeiter.joinable())
            z->arbeiter = std::thread([this] { z->arbeiten(this); });
    }
    z->bedingung.notify_one();
}

bool Mailversand::laeuft() const
{
    return z->offen > 0;
}

void Mailversand::Abbrechen()
{
    {
        std::lock_guard<std::mutex> lock(z->sperre);
        z->verworfenBis = z->letzteNummer;
        z->warteschlange.clear();
    }
    z->offen = 0;
    if (z->multi)
        z->curl->multi_wakeup(z->multi); // the running transfer sees it at once
}

QString Mailversand::Nachrichtentext(const QString& unterschrift)
{
    return QStringLiteral("Notenliste von ") + MailNachricht::Einzeilig(unterschrift) + u':';
}

QUrl Mailversand::MailtoAdresse(const QString& empfaenger, const QString& betreff)
{
    // Everything but letters, digits, "-._~" and the "@" of the address is percent-encoded,
    // so "?", "&", "#", "%" and blanks in either part cannot change the prepared message.
    const QByteArray adresse
        = QUrl::toPercentEncoding(MailNachricht::Einzeilig(empfaenger).trimmed(), "@");
    const QByteArray stamm = QUrl::toPercentEncoding(MailNachricht::Einzeilig(betreff));
    return QUrl::fromEncoded("mailto:" + adresse + "?subject=" + stamm, QUrl::StrictMode);
}

QString Mailversand::Fehlergrund(int code)
{
    QString grund;
    switch (code) {
    case CURLE_FAILED_INIT:
        grund = QStringLiteral("Der Mailversand konnte nicht gestartet werden.");
        break;
    case CURLE_URL_MALFORMAT:
        grund = QStringLiteral("Die Adresse des Mailservers in der Kursliste ist ungültig.");
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        grund = QStringLiteral("Der Mailserver wurde nicht gefunden.");
        break;
    case CURLE_COULDNT_CONNECT:
        grund = QStringLiteral("Der Mailserver ist nicht erreichbar.");
        break;
    case CURLE_OPERATION_TIMEDOUT:
        grund = QStringLiteral("Der Mailserver hat nicht rechtzeitig geantwortet.");
        break;
    case CURLE_LOGIN_DENIED:
        grund = QStringLiteral("Der Mailserver hat die Anmeldung abgelehnt.");
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
        grund = QStringLiteral("Das Zertifikat des Mailservers ist nicht vertrauenswürdig.");
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
        grund = QStringLiteral("Die verschlüsselte Verbindung zum Mailserver kam nicht zustande.");
        break;
    case CURLE_READ_ERROR:
        grund = QStringLiteral("Die Noten-Datei konnte nicht gelesen werden.");
        break;
    case CURLE_BAD_FUNCTION_ARGUMENT:
        grund = QStringLiteral("Die Kursliste enthält keine Empfängeradresse.");
        break;
    case CURLE_SEND_ERROR:
        grund = QStringLiteral("Die Nachricht konnte dem Mailserver nicht übergeben werden.");
        break;
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        grund = QStringLiteral("Die Verbindung zum Mailserver ist abgebrochen; ob die Nachricht "
                               "angekommen ist, ist nicht bekannt.");
        break;
    default:
        grund = QStringLiteral("Die Übertragung zum Mailserver ist fehlgeschlagen.");
        break;
    }
    return QStringLiteral("Grund: ") + grund + QStringLiteral(" (Fehler ") + QString::number(code)
        + u')';
}

void Mailversand::melden(quint64 nummer, const QString& kennung, int code)
{
    if (z->verworfen(nummer))
        return; // called off before its report came
    --z->offen;
    if (code == 0)
        emit MailSent(kennung);
    else
        emit Error(kennung, code);
}

void Mailversand::Intern::arbeiten(Mailversand* q)
{
    for (;;) {
        Auftragsdaten daten;
        {
            std::unique_lock<std::mutex> lock(sperre);
            bedingung.wait(lock, [this] { return ende || !warteschlange.empty(); });
            if (ende)
                return;
            daten = std::move(warteschlange.front());
            warteschlange.pop_front();
        }
        if (verworfen(daten.nummer))
            continue;
        const int code = uebertragen(daten);
        if (ende)
            return;
        if (verworfen(daten.nummer))
            continue;
        // A positive code for every failure; 0 only when the server took the message.
        QMetaObject::invokeMethod(
            q,
            [q, nummer = daten.nummer, kennung = daten.auftrag.kennung, code] {
                q->melden(nummer, kennung, code);
            },
            Qt::QueuedConnection);
    }
}

CURLcode Mailversand::Intern::uebertragen(const Auftragsdaten& daten)
{
    const Auftrag& a = daten.auftrag;
    QFile datei(a.dateiPfad);
    if (a.dateiPfad.isEmpty() || !datei.open(QIODevice::ReadOnly))
        return CURLE_READ_ERROR;
    const QByteArray inhalt = datei.readAll();
    if (datei.error() != QFileDevice::NoError)
        return CURLE_READ_ERROR;
    datei.close();

    const QString server = MailNachricht::Einzeilig(a.server).trimmed();
    const QString absender = MailNachricht::Einzeilig(a.absender).trimmed();
    const QString empfaenger = MailNachricht::Einzeilig(a.empfaenger).trimmed();
    if (empfaenger.isEmpty())
        return CURLE_BAD_FUNCTION_ARGUMENT;

    const CurlBibliothek& c = *curl;
    CurlTeile t { c };
    t.easy = c.easy_init();
    t.url = c.url();
    if (!t.easy || !t.url || !multi)
        return CURLE_FAILED_INIT;
    if (const CURLcode fehler = urlSetzen(c, t.url, server, a.port); fehler != CURLE_OK)
        return fehler;

    CURL* e = t.easy;
    c.easy_setopt(e, CURLOPT_CURLU, t.url);
    c.easy_setopt(e, CURLOPT_PROTOCOLS_STR, "smtps");
    c.easy_setopt(e, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    c.easy_setopt(e, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    c.easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    c.easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!daten.zertifikatDatei.isEmpty())
        c.easy_setopt(e, CURLOPT_CAINFO, daten.zertifikatDatei.constData());
    const QByteArray benutzer = MailNachricht::Einzeilig(a.benutzer).trimmed().toUtf8();
    const QByteArray pass = a.pass.toUtf8(); // sent Base64-encoded, cannot end a line
    if (!benutzer.isEmpty()) {
        c.easy_setopt(e, CURLOPT_USERNAME, benutzer.constData());
        c.easy_setopt(e, CURLOPT_PASSWORD, pass.constData());
    }

    const QByteArray von = '<' + absender.toUtf8() + '>';
    const QByteArray an = '<' + empfaenger.toUtf8() + '>';
    c.easy_setopt(e, CURLOPT_MAIL_FROM, von.constData());
    t.empfaenger = c.slist_append(nullptr, an.constData());
    c.easy_setopt(e, CURLOPT_MAIL_RCPT, t.empfaenger);

    const QList<QByteArray> kopfzeilen = {
        MailNachricht::Kopfzeile("From", absender),
        MailNachricht::Kopfzeile("To", empfaenger),
        MailNachricht::TextKopfzeile("Subject", a.betreff),
        MailNachricht::DatumKopfzeile(QDateTime::currentDateTime()),
        MailNachricht::KennungKopfzeile(absender),
        "X-Mailer: ZELTA SMTP",
        "MIME-Version: 1.0",
    };
    for (const QByteArray& zeile : kopfzeilen)
        t.kopf = c.slist_append(t.kopf, zeile.constData());
    c.easy_setopt(e, CURLOPT_HTTPHEADER, t.kopf);

    t.mime = c.mime_init(e);
    curl_mimepart* text = c.mime_addpart(t.mime);
    const QByteArray textBytes = MailNachricht::Einzeilig(a.text).toUtf8();
    c.mime_data(text, textBytes.constData(), static_cast<size_t>(textBytes.size()));
    c.mime_type(text, "text/plain; charset=UTF-8");
    c.mime_encoder(text, "quoted-printable");

    curl_mimepart* anhang = c.mime_addpart(t.mime);
    c.mime_data(anhang, inhalt.constData(), static_cast<size_t>(inhalt.size()));
    c.mime_type(anhang, "application/octet-stream");
    c.mime_encoder(anhang, "base64");
    curl_slist* anhangKopf = c.slist_append(
        nullptr, MailNachricht::AnhangKopfzeile(QFileInfo(a.dateiPfad).fileName()).constData());
    c.mime_headers(anhang, anhangKopf, 1);
    c.easy_setopt(e, CURLOPT_MIMEPOST, t.mime);

    const Zeitgrenzen& g = a.zeitgrenzen;
    c.easy_setopt(e, CURLOPT_CONNECTTIMEOUT, static_cast<long>(g.verbinden));
    c.easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    c.easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(g.stillstand));
    c.easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(g.stillstand));
    c.easy_setopt(e, CURLOPT_TIMEOUT, static_cast<long>(g.gesamt));
    c.easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // A connection of its own, closed after the transfer: never a session the server may
    // have dropped while it was idle.
    c.easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
    c.easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
    Wache wache { this, daten.nummer };
    c.easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    c.easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &Intern::abbrechenFrage);
    c.easy_setopt(e, CURLOPT_XFERINFODATA, &wache);

    // The multi interface so that Abbrechen and the destructor can wake the transfer at any moment.
    if (c.multi_add_handle(multi, e) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode ergebnis = CURLE_ABORTED_BY_CALLBACK;
    int laufend = 1;
    while (!verworfen(daten.nummer)) {
        if (c.multi_perform(multi, &laufend) != CURLM_OK) {
            ergebnis = CURLE_FAILED_INIT;
            break;
        }
        int rest = 0;
        bool fertig = false;
        while (CURLMsg* m = c.multi_info_read(multi, &rest)) {
            if (m->msg == CURLMSG_DONE && m->easy_handle == e) {
                ergebnis = m->data.result;
                fertig = true;
            }
        }
        if (fertig || laufend == 0)
            break;
        c.multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
    c.multi_remove_handle(multi, e);
    return ergebnis;
}
