#include "aufzeichnendeplattform.h"

#include "eingabejournal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

AufzeichnendePlattform::AufzeichnendePlattform()
    : zVorher(&Plattform::aktuell())
{
    Plattform::setzen(this);
}

AufzeichnendePlattform::~AufzeichnendePlattform()
{
    Plattform::setzen(zVorher);
}

void AufzeichnendePlattform::Leeren()
{
    meldungen.clear();
    mitteilungen.clear();
    fragen.clear();
    auswahlen.clear();
    wartendialoge.clear();
    oeffnenDialoge.clear();
    speichernDialoge.clear();
    seiteneinrichtungen = 0;
    druckDialoge = 0;
    pieps = 0;
    urls.clear();
    protokoll.clear();
    unbeantwortet = 0;
}

void AufzeichnendePlattform::AntwortenVerwerfen()
{
    antwortenFrage.clear();
    antwortenWahl.clear();
    antwortenWarten.clear();
    wartenGrenzeMs = 60000;
    antwortenDatei.clear();
    antwortenDruck.clear();
    antwortenUrl.clear();
    druckerEinrichten = nullptr;
    beiFrage = nullptr;
}

void AufzeichnendePlattform::Mitteilen(const struct Mitteilung& mitteilung)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    meldungen.append(mitteilung.text);
    mitteilungen.append(mitteilung);
    protokoll.append(QStringLiteral("Meldung: ") + mitteilung.text);
}

bool AufzeichnendePlattform::Frage(const struct Frage& frage)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    fragen.append(frage);
    protokoll.append(QStringLiteral("Frage: ") + frage.titel);
    if (beiFrage)
        beiFrage(frage);
    if (antwortenFrage.isEmpty()) {
        ++unbeantwortet;
        return false;
    }
    return antwortenFrage.takeFirst();
}

int AufzeichnendePlattform::Waehlen(const struct Auswahl& auswahl)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    auswahlen.append(auswahl);
    protokoll.append(QStringLiteral("Auswahl: ") + auswahl.titel);
    if (antwortenWahl.isEmpty()) {
        ++unbeantwortet;
        return AbbrechenIndex(auswahl);
    }
    return antwortenWahl.takeFirst();
}

bool AufzeichnendePlattform::Abwarten(
    const struct Warten& warten, const std::function<bool()>& fertig)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    wartendialoge.append(warten);
    protokoll.append(QStringLiteral("Warten: ") + warten.titel);
    bool warte = true;
    if (antwortenWarten.isEmpty())
        ++unbeantwortet;
    else
        warte = antwortenWarten.takeFirst();
    if (!warte)
        return fertig();
    QDeadlineTimer grenze(wartenGrenzeMs);
    while (!fertig() && !grenze.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return fertig();
}

QString AufzeichnendePlattform::DateiOeffnen(const DateiDialog& dialog)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    oeffnenDialoge.append(dialog);
    protokoll.append(QStringLiteral("Öffnen: ") + dialog.titel);
    if (antwortenDatei.isEmpty()) {
        ++unbeantwortet;
        return {};
    }
    return antwortenDatei.takeFirst();
}

QString AufzeichnendePlattform::DateiSpeichern(const DateiDialog& dialog)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    speichernDialoge.append(dialog);
    protokoll.append(QStringLiteral("Speichern: ") + dialog.titel);
    if (antwortenDatei.isEmpty()) {
        ++unbeantwortet;
        return {};
    }
    const QString antwort = antwortenDatei.takeFirst();
    return antwort.endsWith(u'/') ? antwort + dialog.vorschlag : antwort;
}

bool AufzeichnendePlattform::Seiteneinrichtung(QPrinter& drucker)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    ++seiteneinrichtungen;
    protokoll.append(QStringLiteral("Seite"));
    if (antwortenDruck.isEmpty()) {
        ++unbeantwortet;
        return false;
    }
    const bool ok = antwortenDruck.takeFirst();
    Q_UNUSED(drucker);
    return ok;
}

bool AufzeichnendePlattform::DruckDialog(QPrinter& drucker)
{
    // As the real platform: the journals of unsaved entries are synced first.
    Eingabejournal::AlleSynchronisieren();
    ++druckDialoge;
    protokoll.append(QStringLiteral("Drucken"));
    if (antwortenDruck.isEmpty()) {
        ++unbeantwortet;
        return false;
    }
    const bool ok = antwortenDruck.takeFirst();
    if (ok && druckerEinrichten)
        druckerEinrichten(drucker);
    return ok;
}

void AufzeichnendePlattform::Piep()
{
    ++pieps;
    protokoll.append(QStringLiteral("Piep"));
}

bool AufzeichnendePlattform::UrlOeffnen(const QUrl& adresse)
{
    urls.append(adresse);
    protokoll.append(QStringLiteral("URL: ") + adresse.toString());
    return antwortenUrl.isEmpty() || antwortenUrl.takeFirst();
}
