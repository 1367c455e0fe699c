#include "notenspeicherndialog.h"

#include "dateitypen.h"
#include "plattform.h"

NotenSpeichernDialog::NotenSpeichernDialog(const QString& vorschlag)
    : zVorschlag(vorschlag)
{
}

QString NotenSpeichernDialog::Zeigen() const
{
    const Dateityp& typ = FileTypes::Notenergebnis();
    Plattform::DateiDialog dialog;
    dialog.titel = QStringLiteral("Kursdaten speichern");
    dialog.aktionsKnopf = QStringLiteral("Speichern");
    dialog.abbrechenKnopf = QStringLiteral("Nicht speichern");
    dialog.filterName = typ.anzeigeName;
    dialog.filterMuster = typ.Filtermuster();
    dialog.startOrdner = QString(); // the platform's default location
    dialog.vorschlag = zVorschlag;
    return Plattform::aktuell().DateiSpeichern(dialog);
}
