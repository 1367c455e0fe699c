// The course window: finding a student by a part of the name (Ctrl+F).

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "schuelersuche.h"

#include <QAction>
#include <QLineEdit>

namespace {

const QColor KeinTreffer(255, 215, 215);

} // namespace

void Kursfenster::SucheEinrichten()
{
    // At the right end of the status line, hidden until Ctrl+F.
    zSuchfeld = new QLineEdit(zStatuszeile);
    zSuchfeld->setObjectName(QStringLiteral("Suchfeld"));
    zSuchfeld->setPlaceholderText(QStringLiteral("Schüler suchen"));
    zSuchfeld->setToolTip(QStringLiteral(
        "Teil eines Namens; Eingabetaste: nächster Treffer, Esc: zurück in die Tabelle"));
    zSuchfeld->setClearButtonEnabled(true);
    zSuchfeld->setFixedWidth(180);
    zStatuszeile->addPermanentWidget(zSuchfeld);
    zSuchfeld->hide();
    connect(zSuchfeld, &QLineEdit::textEdited, this, [this] { SucheNach(0); });
    connect(zSuchfeld, &QLineEdit::returnPressed, this, [this] { SucheNach(zSuchtreffer + 1); });

    auto* oeffnen = new QAction(this);
    oeffnen->setObjectName(QStringLiteral("SucheOeffnen"));
    oeffnen->setShortcut(QKeySequence::Find);
    oeffnen->setShortcutContext(Qt::WindowShortcut);
    addAction(oeffnen);
    connect(oeffnen, &QAction::triggered, this, &Kursfenster::SucheOeffnen);
    auto* schliessen = new QAction(zSuchfeld);
    schliessen->setShortcut(QKeySequence(Qt::Key_Escape));
    schliessen->setShortcutContext(Qt::WidgetShortcut);
    zSuchfeld->addAction(schliessen);
    connect(schliessen, &QAction::triggered, this, &Kursfenster::SucheSchliessen);
}

void Kursfenster::SucheOeffnen()
{
    zSuchfeld->show();
    zSuchfeld->setFocus(Qt::ShortcutFocusReason);
    zSuchfeld->selectAll();
}

void Kursfenster::SucheSchliessen()
{
    const int zeile = zSuchtreffer >= 0 ? zSuchtreffer : activeRow;
    zSuchfeld->hide();
    zTabelle->clearSelection();
    // Typing goes on in the student found, in the column the teacher was in.
    AktiviereEditZelle(zeile, activeColumn);
}

void Kursfenster::SucheNach(int ab)
{
    int namensspalte = -1;
    const int erste = int(TabellenStruktur.ErsteSpalte);
    for (int c = 0; c < erste && c < TabellenStruktur.Spalten.size(); ++c) {
        if (Hilfsmittel::GleichOhneGross(
                TabellenStruktur.Spalten.at(c).Ueberschrift, QStringLiteral("Name")))
            namensspalte = c;
    }
    QStringList namen;
    for (int i = 0; namensspalte >= 0 && i < zTabelle->rowCount(); ++i)
        namen.append(Zelltext(i, namensspalte));
    zSuchtreffer = Schuelersuche::Finden(namen, zSuchfeld->text(), ab);
    // No student with that text: the field says so in its colour; the table stays.
    QPalette farben = zSuchfeld->palette();
    const bool ohne = zSuchtreffer < 0 && !zSuchfeld->text().trimmed().isEmpty();
    farben.setColor(QPalette::Base, ohne ? KeinTreffer : palette().color(QPalette::Base));
    zSuchfeld->setPalette(farben);
    if (zSuchtreffer < 0)
        return;
    zTabelle->scrollTo(zTabelle->model()->index(zSuchtreffer, namensspalte));
    zTabelle->selectRow(zSuchtreffer);
}
