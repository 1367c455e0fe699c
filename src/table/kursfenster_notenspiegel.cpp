// The course window: the distribution of its grade columns ("Notenspiegel"), opened from the
// figures in the status line or with Ctrl+Shift+N, and printed after the course list.

#include "kursfenster.h"

#include "datenbestand.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "zellpruefung.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The gap between the course window and its overview beside it.
constexpr int Abstand = 8;

} // namespace

void Kursfenster::NotenspiegelEinrichten()
{
    auto* oeffnen = new QAction(this);
    oeffnen->setObjectName(QStringLiteral("NotenspiegelOeffnen"));
    oeffnen->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    oeffnen->setShortcutContext(Qt::WindowShortcut);
    addAction(oeffnen);
    connect(oeffnen, &QAction::triggered, this, &Kursfenster::NotenspiegelOeffnen);
    connect(
        zStatuszeile, &Kursstatuszeile::ZahlenGeklickt, this, &Kursfenster::NotenspiegelOeffnen);
}

QList<Notenspiegel> Kursfenster::Notenspiegelliste() const
{
    QList<const KursEintraege*> zeilen;
    for (int i = 0; i < zTabelle->rowCount(); ++i) {
        const SchuelerKurs* r = Zeilenkurs(i).get();
        zeilen.append(r ? &r->Eintraege : nullptr);
    }
    const QList<qint64> spalten = Notenspiegel::Spalten(Daten);
    QList<Notenspiegel> liste;
    for (const qint64 spalte : spalten) {
        const bool klausur = spalte == Klausurspalte(spalten);
        liste.append(Notenspiegel::Berechnen(
            Daten, spalte, klausur ? KlausurZeilen(zeilen, spalte) : zeilen));
    }
    return liste;
}

qint64 Kursfenster::Klausurspalte(const QList<qint64>& spalten) const
{
    // The exam grade: the first grade with an ID beside a "Note" column, where the file marks
    // who writes the exam.
    if (!Daten.mitMarkKlausur || spalten.size() < 2)
        return -1;
    const Eintraege& katalog = Daten.alleEintraege;
    const bool note = Zellpruefung::ArtVon(katalog.ZeigeEintrag(spalten.at(0)))
        == Zellpruefung::Spaltenart::Note;
    const bool mitID = Zellpruefung::ArtVon(katalog.ZeigeEintrag(spalten.at(1)))
        == Zellpruefung::Spaltenart::NoteMitID;
    return note && mitID ? spalten.at(1) : -1;
}

QList<const KursEintraege*> Kursfenster::KlausurZeilen(
    const QList<const KursEintraege*>& zeilen, qint64 spalte) const
{
    // The students who write the exam, and anyone else who has an exam grade: an exam grade
    // is missing only where the exam is written, and no entered one goes uncounted.
    QList<const KursEintraege*> mitKlausur;
    for (int i = 0; i < zeilen.size(); ++i) {
        const KursEintraege* e = zeilen.at(i);
        const bool schreibt = i < zKlausurZeilen.size() && zKlausurZeilen.at(i);
        const bool mitWert
            = e && spalte < e->Anzahl() && !e->ZeigeKursEintrag(spalte).datum.trimmed().isEmpty();
        if (schreibt || mitWert)
            mitKlausur.append(e);
    }
    return mitKlausur;
}

void Kursfenster::NotenspiegelOeffnen()
{
    const bool neu = !zNotenspiegel;
    if (neu)
        zNotenspiegel = new Notenspiegelfenster(this);
    zNotenspiegel->Zeigen(windowTitle(), Notenspiegelliste());
    if (neu) {
        zNotenspiegel->adjustSize();
        NotenspiegelPlatzieren();
    }
    zNotenspiegel->show();
    zNotenspiegel->raise();
    zNotenspiegel->activateWindow();
}

void Kursfenster::NotenspiegelPlatzieren()
{
    // Where it covers nothing of the table: right of the course window, else left of it,
    // else below it; on a small screen in the bottom left corner, over the lower part of the
    // course selection window.
    const QRect fenster = frameGeometry();
    const QScreen* bildschirm = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!bildschirm)
        return;
    const QRect platz = bildschirm->availableGeometry();
    const QSize rahmen = zNotenspiegel->frameGeometry().size();
    const QSize innen = zNotenspiegel->size();
    const QSize groesse = rahmen.isValid() && rahmen.width() >= innen.width() ? rahmen : innen;
    const int oben = qBound(platz.top(), fenster.top(), platz.bottom() - groesse.height());
    const QList<QPoint> orte {
        { fenster.right() + 1 + Abstand, oben },
        { fenster.left() - Abstand - groesse.width(), oben },
        { qBound(platz.left(), fenster.left(), platz.right() - groesse.width()),
            fenster.bottom() + 1 + Abstand },
    };
    for (const QPoint& ort : orte) {
        if (platz.contains(QRect(ort, groesse))) {
            zNotenspiegel->move(ort);
            return;
        }
    }
    zNotenspiegel->move(platz.left(), qMax(platz.top(), platz.bottom() + 1 - groesse.height()));
}
