#include "bildfenster.h"

#include "bilder.h"

#include "programmversion.h"
#include "schrift.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

Bildfenster::Bildfenster(const QString& titel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(titel);
    setFixedSize(400, 316);
    setAutoFillBackground(true);
    QPalette farben = palette();
    farben.setColor(QPalette::Window, Qt::white);
    farben.setColor(QPalette::WindowText, Qt::black);
    setPalette(farben);

    txtVersion = new QLabel(QStringLiteral("Build"), this);
    txtVersion->setObjectName(QStringLiteral("txtVersion"));
    txtVersion->setGeometry(267, 139, 113, 20);
    txtVersion->setFont(Schrift::Arial(10));
    txtVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtVersion->setAttribute(Qt::WA_TranslucentBackground);
    txtVersion->setAttribute(Qt::WA_TransparentForMouseEvents);

    copyright = new QLabel(this);
    copyright->setObjectName(QStringLiteral("copyright"));
    copyright->setGeometry(42, 239, 250, 57);
    copyright->setFont(Schrift::Arial(11));
    copyright->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    copyright->setWordWrap(false);
    copyright->setText(Programmversion::Rechtehinweis());
    copyright->setAttribute(Qt::WA_TranslucentBackground);
    copyright->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Opening: the version of this program.
    txtVersion->setText(Programmversion::VersionsText());
}

void Bildfenster::paintEvent(QPaintEvent* ereignis)
{
    QDialog::paintEvent(ereignis);
    QPainter maler(this);
    maler.fillRect(rect(), Qt::white);
    BildZeichnen(maler, QStringLiteral("RAVIRIreruSplashScreen"), QRectF(rect()));
}

void Bildfenster::mousePressEvent(QMouseEvent* ereignis)
{
    ereignis->accept();
}

void Bildfenster::mouseReleaseEvent(QMouseEvent* ereignis)
{
    ereignis->accept();
    Geklickt();
}
