#include "plattform.h"

namespace {

// Used until the program or a test installs its platform: shows nothing and answers
// every question with its safe default (no, cancel).
class StillePlattform final : public Plattform {
public:
    void Mitteilen(const struct Mitteilung&) override { }
    bool Frage(const struct Frage&) override { return false; }
    int Waehlen(const struct Auswahl& auswahl) override { return AbbrechenIndex(auswahl); }
    bool Abwarten(const struct Warten&, const std::function<bool()>&) override { return false; }
    QString DateiOeffnen(const DateiDialog&) override { return {}; }
    QString DateiSpeichern(const DateiDialog&) override { return {}; }
    bool Seiteneinrichtung(QPrinter&) override { return false; }
    bool DruckDialog(QPrinter&) override { return false; }
    void Piep() override { }
    bool UrlOeffnen(const QUrl&) override { return false; }
};

StillePlattform stille;
Plattform* installiert = nullptr;

} // namespace

int Plattform::AbbrechenIndex(const struct Auswahl& auswahl)
{
    if (auswahl.abbrechen >= 0 && auswahl.abbrechen < auswahl.knoepfe.size())
        return auswahl.abbrechen;
    return int(auswahl.knoepfe.size()) - 1;
}

Plattform& Plattform::aktuell()
{
    return installiert ? *installiert : stille;
}

void Plattform::setzen(Plattform* plattform)
{
    installiert = (plattform == &stille) ? nullptr : plattform;
}

namespace Modales {

bool JaNein(const QString& titel, const QString& meldung, const QString& erklaerung)
{
    return Plattform::aktuell().Frage(
        { titel, meldung, erklaerung, QStringLiteral("Ja"), QStringLiteral("Nein") });
}

bool NeinJa(const QString& titel, const QString& meldung, const QString& erklaerung)
{
    return Plattform::aktuell().Frage(
        { titel, meldung, erklaerung, QStringLiteral("Nein"), QStringLiteral("Ja") });
}

} // namespace Modales
