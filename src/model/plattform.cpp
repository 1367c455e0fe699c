#include "plattform.h"

namespace {

// Used until the program or a test installs its platform: shows nothing and answers
// every question with its safe default (no, cancel).
class StillePlattform final : public Plattform {
public:
    void Meldung(const QString&) override {}
    bool Frage(const struct Frage&) override { return false; }
    QString DateiOeffnen(const DateiDialog&) override { return {}; }
    QString DateiSpeichern(const DateiDialog&) override { return {}; }
    bool Seiteneinrichtung(QPrinter&) override { return false; }
    bool DruckDialog(QPrinter&) override { return false; }
    void Piep() override {}
    void UrlOeffnen(const QUrl&) override {}
};

StillePlattform stille;
Plattform* installiert = nullptr;

} // namespace

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
        {titel, meldung, erklaerung, QStringLiteral("Ja"), QStringLiteral("Nein")});
}

bool NeinJa(const QString& titel, const QString& meldung, const QString& erklaerung)
{
    return Plattform::aktuell().Frage(
        {titel, meldung, erklaerung, QStringLiteral("Nein"), QStringLiteral("Ja")});
}

} // namespace Modales
