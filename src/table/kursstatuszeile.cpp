#include "kursstatuszeile.h"

#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QTimer>

namespace {

QLabel* Beschriftung(QWidget* eltern, const QString& name)
{
    auto* l = new QLabel(eltern);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    l->setMinimumWidth(0);
    return l;
}

} // namespace

Kursstatuszeile::Kursstatuszeile(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("Statuszeile"));
    // The window's edge is resized like any other; no grip of its own over the last column.
    setSizeGripEnabled(false);
    QFont schrift(QStringLiteral("Arial"));
    schrift.setPixelSize(12);
    setFont(schrift);

    zZahlen = Beschriftung(this, QStringLiteral("Kurszahlen"));
    // A click on the figures opens the overview of the grades.
    zZahlen->setCursor(Qt::PointingHandCursor);
    zZahlen->setAccessibleDescription(
        QStringLiteral("Klicken oder Strg+Umschalt+N: Notenspiegel des Kurses"));
    zZahlen->installEventFilter(this);
    zGrund = Beschriftung(this, QStringLiteral("Ablehnungsgrund"));
    QFont fett = schrift;
    fett.setBold(true);
    zGrund->setFont(fett);
    QPalette rot = zGrund->palette();
    rot.setColor(QPalette::WindowText, QColor(180, 0, 0));
    zGrund->setPalette(rot);
    zGrund->hide();
    zWarnung = Beschriftung(this, QStringLiteral("Journalwarnung"));
    zWarnung->setFont(fett);
    zWarnung->setPalette(rot);
    zWarnung->hide();
    // Long texts are cut at the window's edge instead of widening the window.
    for (QLabel* l : { zZahlen, zGrund, zWarnung })
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(zZahlen, 1);
    addWidget(zGrund, 1);
    addPermanentWidget(zWarnung, 1);

    zUhr = new QTimer(this);
    zUhr->setSingleShot(true);
    zUhr->setInterval(GrundMs);
    connect(zUhr, &QTimer::timeout, this, &Kursstatuszeile::GrundAusblenden);
}

void Kursstatuszeile::ZahlenZeigen(const QString& lang, const QString& kurz)
{
    if (lang == zLang && kurz == zKurz)
        return;
    zLang = lang;
    zKurz = kurz;
    zZahlen->setToolTip(lang);
    zZahlen->setAccessibleName(lang);
    ZahlenEinpassen();
}

void Kursstatuszeile::ZahlenEinpassen()
{
    // The label's own width once laid out; before that, the line's.
    const int platz = zZahlen->width() > 0 ? zZahlen->width() : width();
    const QString text = zZahlen->fontMetrics().horizontalAdvance(zLang) <= platz ? zLang : zKurz;
    if (zZahlen->text() != text)
        zZahlen->setText(text);
}

void Kursstatuszeile::resizeEvent(QResizeEvent* ereignis)
{
    QStatusBar::resizeEvent(ereignis);
    ZahlenEinpassen();
}

bool Kursstatuszeile::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == zZahlen && ereignis->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(ereignis)->button() == Qt::LeftButton) {
        emit ZahlenGeklickt();
        return true;
    }
    return QStatusBar::eventFilter(objekt, ereignis);
}

QString Kursstatuszeile::SichtbareZahlen() const
{
    return zZahlen->text();
}

void Kursstatuszeile::GrundZeigen(const QString& grund)
{
    if (grund.isEmpty())
        return;
    zGrund->setText(grund);
    zGrund->setToolTip(grund);
    zZahlen->hide();
    zGrund->show();
    zUhr->start();
}

void Kursstatuszeile::GrundAusblenden()
{
    zUhr->stop();
    zGrund->hide();
    zGrund->clear();
    zZahlen->show();
}

void Kursstatuszeile::WarnungZeigen(const QString& warnung)
{
    zWarnung->setText(warnung);
    zWarnung->setToolTip(warnung);
    zWarnung->setVisible(!warnung.isEmpty());
}

QString Kursstatuszeile::Grund() const
{
    return zGrund->isHidden() ? QString() : zGrund->text();
}

QString Kursstatuszeile::Warnung() const
{
    return zWarnung->text();
}
