#include "nachrichtenfenster.h"

#include "menue.h"

#include <QCloseEvent>

Nachrichtenfenster::Nachrichtenfenster(QWidget* parent)
    : QMainWindow(parent)
{
    zAnpassen = true;
    Menue::Instanz().ErzeugeLeiste(this);
    BasisEinstellungen::Anmelden(this);
}

Nachrichtenfenster::~Nachrichtenfenster()
{
    // A window destroyed without being closed must not stay behind in the list.
    if (FensterIndex >= 0)
        BasisEinstellungen::Abmelden(this);
}

void Nachrichtenfenster::Anpassen()
{
    if (!zAnpassen) {
        zAnpassen = true;
        return;
    }
    LayoutUebernehmen();
}

void Nachrichtenfenster::closeEvent(QCloseEvent* ereignis)
{
    // A close event arrives accepted; a derived window that keeps itself open ignores it
    // before handing it on.
    if (ereignis->isAccepted() && FensterIndex >= 0)
        BasisEinstellungen::Abmelden(this);
}

namespace BasisEinstellungen {

QList<Nachrichtenfenster*>& zFenster()
{
    static QList<Nachrichtenfenster*> fenster;
    return fenster;
}

void Anmelden(Nachrichtenfenster* fenster)
{
    if (!fenster || zFenster().contains(fenster))
        return;
    zFenster().append(fenster);
    fenster->FensterIndex = zFenster().size() - 1;
}

void Abmelden(Nachrichtenfenster* fenster)
{
    if (!fenster)
        return;
    QList<Nachrichtenfenster*>& liste = zFenster();
    const qint64 index = fenster->FensterIndex;
    if (index < 0 || index >= liste.size() || liste.at(index) != fenster)
        return;
    liste.removeAt(index);
    for (Nachrichtenfenster* f : liste)
        if (f->FensterIndex > index)
            --f->FensterIndex;
    fenster->FensterIndex = -1;
}

void AlleFensterAnpassen()
{
    // A copy: an adapting window may not change the list under the walk.
    const QList<Nachrichtenfenster*> fenster = zFenster();
    for (Nachrichtenfenster* f : fenster)
        if (zFenster().contains(f))
            f->Anpassen();
}

} // namespace BasisEinstellungen
