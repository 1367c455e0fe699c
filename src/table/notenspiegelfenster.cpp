#include "notenspiegelfenster.h"

#include "notenbalken.h"
#include "tabellentext.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace {

// How long the line "In die Zwischenablage kopiert." stands after "Kopieren".
constexpr int KopiertMs = 4000;

} // namespace

Notenspiegelfenster::Notenspiegelfenster(QWidget* parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Notenspiegelfenster"));
    setWindowTitle(QStringLiteral("Notenspiegel"));
    setProperty("hilfeAnker", QStringLiteral("eingeben"));
    auto* spalte = new QVBoxLayout(this);

    zKopf = new QLabel(this);
    zKopf->setTextFormat(Qt::PlainText);
    QFont fett = zKopf->font();
    fett.setBold(true);
    zKopf->setFont(fett);
    spalte->addWidget(zKopf);

    auto* wahl = new QHBoxLayout;
    zSpaltenText = new QLabel(QStringLiteral("&Spalte:"), this);
    zSpaltenwahl = new QComboBox(this);
    zSpaltenwahl->setObjectName(QStringLiteral("NotenspiegelSpalte"));
    zSpaltenText->setBuddy(zSpaltenwahl);
    wahl->addWidget(zSpaltenText);
    wahl->addWidget(zSpaltenwahl);
    wahl->addStretch(1);
    spalte->addLayout(wahl);
    connect(zSpaltenwahl, &QComboBox::currentIndexChanged, this, [this] { SpalteZeigen(); });

    zBalken = new Notenbalken(this);
    spalte->addWidget(zBalken, 1);

    // The same numbers as a table: the grades over their counts.
    zTabelle = new QTableWidget(1, 0, this);
    zTabelle->setObjectName(QStringLiteral("NotenspiegelTabelle"));
    zTabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
    zTabelle->setSelectionMode(QAbstractItemView::NoSelection);
    zTabelle->setFocusPolicy(Qt::NoFocus);
    zTabelle->setVerticalHeaderLabels({ QStringLiteral("Anzahl") });
    zTabelle->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    zTabelle->horizontalHeader()->setMinimumSectionSize(20);
    zTabelle->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    zTabelle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    zTabelle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    spalte->addWidget(zTabelle);

    zZusammenfassung = new QLabel(this);
    zZusammenfassung->setObjectName(QStringLiteral("NotenspiegelZahlen"));
    zZusammenfassung->setTextFormat(Qt::PlainText);
    zZusammenfassung->setWordWrap(true);
    spalte->addWidget(zZusammenfassung);

    auto* knoepfe = new QHBoxLayout;
    zKopiert = new QLabel(this);
    zKopiert->setObjectName(QStringLiteral("NotenspiegelKopiert"));
    knoepfe->addWidget(zKopiert, 1);
    zKopieren = new QPushButton(QStringLiteral("Kopieren"), this);
    zKopieren->setObjectName(QStringLiteral("NotenspiegelKopieren"));
    zKopieren->setToolTip(
        QStringLiteral("Die Tabelle als Text mit Tabulatoren in die Zwischenablage"));
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    knoepfe->addWidget(zKopieren);
    knoepfe->addWidget(schliessen);
    spalte->addLayout(knoepfe);
    connect(zKopieren, &QPushButton::clicked, this, &Notenspiegelfenster::Kopieren);
    connect(schliessen, &QPushButton::clicked, this, &QWidget::close);
}

void Notenspiegelfenster::keyPressEvent(QKeyEvent* ereignis)
{
    // Escape closes the window, as a dialog's.
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(ereignis);
}

void Notenspiegelfenster::Zeigen(const QString& titel, const QList<Notenspiegel>& spiegel)
{
    zTitel = titel;
    zSpiegel = spiegel;
    setWindowTitle(QStringLiteral("Notenspiegel – ") + titel);
    zKopf->setText(QStringLiteral("Notenspiegel – ") + titel);
    const QString gewaehlt = zSpaltenwahl->currentText();
    {
        const QSignalBlocker still(zSpaltenwahl);
        zSpaltenwahl->clear();
        for (const Notenspiegel& s : spiegel)
            zSpaltenwahl->addItem(s.spalte);
        const int wieder = zSpaltenwahl->findText(gewaehlt);
        zSpaltenwahl->setCurrentIndex(wieder >= 0 ? wieder : 0);
    }
    // The list only where there is something to choose.
    zSpaltenwahl->setVisible(spiegel.size() > 1);
    zSpaltenText->setVisible(spiegel.size() > 1);
    SpalteZeigen();
}

int Notenspiegelfenster::Spalte() const
{
    return zSpaltenwahl->currentIndex();
}

void Notenspiegelfenster::SpalteWaehlen(int index)
{
    zSpaltenwahl->setCurrentIndex(index);
}

const Notenspiegel* Notenspiegelfenster::Aktuell() const
{
    const int i = Spalte();
    return i >= 0 && i < zSpiegel.size() ? &zSpiegel.at(i) : nullptr;
}

QString Notenspiegelfenster::Text() const
{
    const Notenspiegel* s = Aktuell();
    return s ? Tabellentext::Aus(s->Tabelle(zTitel)) : QString();
}

void Notenspiegelfenster::Kopieren()
{
    const QString text = Text();
    if (text.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(text);
    zKopiert->setText(QStringLiteral("In die Zwischenablage kopiert."));
    QTimer::singleShot(KopiertMs, zKopiert, &QLabel::clear);
}

void Notenspiegelfenster::SpalteZeigen()
{
    const Notenspiegel* s = Aktuell();
    const Notenspiegel leer;
    const Notenspiegel& spiegel = s ? *s : leer;
    zBalken->Setzen(spiegel);
    const QStringList noten = spiegel.Noten();
    const QStringList anzahlen = spiegel.Anzahlen();
    zTabelle->setColumnCount(int(noten.size()) - 1);
    zTabelle->setHorizontalHeaderLabels(noten.mid(1));
    for (int k = 1; k < anzahlen.size(); ++k) {
        auto* zelle = new QTableWidgetItem(anzahlen.at(k));
        zelle->setTextAlignment(Qt::AlignCenter);
        zTabelle->setItem(0, k - 1, zelle);
    }
    zTabelle->setFixedHeight(zTabelle->horizontalHeader()->sizeHint().height()
        + zTabelle->rowHeight(0) + 2 * zTabelle->frameWidth());
    zZusammenfassung->setText(spiegel.Zusammenfassung());
    zKopieren->setEnabled(s != nullptr);
}
