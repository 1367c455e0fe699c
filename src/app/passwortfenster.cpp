#include "passwortfenster.h"

#include "datenbestand.h"
#include "kursauswahl.h"
#include "ravirireru.h"
#include "schrift.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kBreite = 400;
constexpr int kHoehe = 262;
constexpr int kHoeheOhneNamen = 162;

} // namespace

Passwortfenster::Passwortfenster(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Passwortfenster"));
    setWindowTitle(QStringLiteral("Passwort eingeben"));
    setProperty("hilfeAnker", QStringLiteral("anmelden"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette farben = palette();
    farben.setColor(QPalette::Window, Qt::white);
    setPalette(farben);
    setFont(Schrift::Arial(13));

    auto label = [this](const char* name, const QString& text, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(27, y, 358, 20);
        return l;
    };
    auto feld = [this](const char* name, int y) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QString::fromLatin1(name));
        f->setGeometry(27, y, 352, 22);
        f->setMaxLength(32767);
        f->installEventFilter(this);
        return f;
    };

    Label1 = label("Label1", QStringLiteral("Geben Sie zunächst das Sicherheitspasswort ein."), 20);
    TextFieldPasswort = feld("TextFieldPasswort", 50);
    TextFieldPasswort->setEchoMode(QLineEdit::Password);
    LabelPasswort = label(
        "LabelPasswort", QStringLiteral("Das Passwort ist falsch. Geben Sie es erneut ein!"), 75);
    LabelPasswort->hide();
    Label4 = label("Label4", QStringLiteral("Geben Sie hier Ihren Namen an:"), 115);
    TextFieldName = feld("TextFieldName", 145);
    LabelName = label("LabelName", QStringLiteral("Geben Sie bitte Ihren Namen an!\r"), 170);
    LabelName->hide();

    const int hoehe = Daten.mitDaten ? kHoehe : kHoeheOhneNamen;
    // The buttons keep their distance to the bottom edge.
    const int knopfY = hoehe - (kHoehe - 222);
    PushBeenden = new QPushButton(QStringLiteral("Abbrechen"), this);
    PushBeenden->setObjectName(QStringLiteral("PushBeenden"));
    PushBeenden->setGeometry(27, knopfY, 114, 20);
    PushBeenden->setAutoDefault(false);
    PushOK = new QPushButton(QStringLiteral("OK"), this);
    PushOK->setObjectName(QStringLiteral("PushOK"));
    PushOK->setGeometry(265, knopfY, 114, 20);
    PushOK->setDefault(true);
    PushOK->setAutoDefault(true);

    if (!Daten.mitDaten) {
        LabelName->hide();
        TextFieldName->hide();
        Label4->hide();
    }
    setFixedSize(kBreite, hoehe);

    setTabOrder(TextFieldPasswort, TextFieldName);
    setTabOrder(TextFieldName, PushOK);
    setTabOrder(PushOK, PushBeenden);
    TextFieldPasswort->setFocus();

    connect(PushOK, &QPushButton::clicked, this, &Passwortfenster::PushOK_Pressed);
    connect(PushBeenden, &QPushButton::clicked, this, &Passwortfenster::PushBeenden_Pressed);
}

void Passwortfenster::PushOK_Pressed()
{
    const bool passwortRichtig = TextFieldPasswort->text() == Daten.NotenPass;
    const bool nameGegeben = !TextFieldName->text().isEmpty() || !Daten.mitDaten;
    if (passwortRichtig && nameGegeben) {
        Daten.Unterschrift = TextFieldName->text();
        auto* kursauswahl = new Kursauswahl;
        kursauswahl->show();
        if (RAVIRIreru* app = App())
            app->setzeKursauswahl(kursauswahl);
        accept();
        return;
    }
    if (!passwortRichtig) {
        // The password is typed again where it is masked, never after the name in clear text.
        TextFieldPasswort->clear();
        LabelPasswort->show();
        TextFieldPasswort->setFocus();
    }
    if (TextFieldName->text().isEmpty() && Daten.mitDaten)
        LabelName->show();
}

void Passwortfenster::PushBeenden_Pressed()
{
    RAVIRIreru* app = App();
    if (app)
        app->Beenden();
    if (!app || app->Beendet())
        QDialog::reject();
}

void Passwortfenster::reject()
{
    PushBeenden_Pressed();
}

bool Passwortfenster::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress) {
        if (objekt == TextFieldPasswort)
            LabelPasswort->hide();
        else if (objekt == TextFieldName)
            LabelName->hide();
    }
    return QDialog::eventFilter(objekt, ereignis);
}
