#include "qtplattform.h"

#include "eingabejournal.h"
#include "sichererdateiname.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

namespace {

QMessageBox::Icon Icon(Plattform::Symbol symbol)
{
    return symbol == Plattform::Symbol::Information ? QMessageBox::Information
                                                    : QMessageBox::Warning;
}

// A message box is as wide as its texts need; a longer title ("Noteneingabe Mathematik - LK2 -
// ABC") would be cut short by the window manager. Room for the title keeps it whole. Call it
// last before exec: the box builds its layout anew when its texts are set.
void PlatzFuerTitel(QMessageBox& box)
{
    auto* raster = qobject_cast<QGridLayout*>(box.layout());
    if (!raster || box.windowTitle().isEmpty())
        return;
    QFont titelSchrift = box.font();
    titelSchrift.setBold(true);
    // The title's text plus the frame's buttons and margins.
    const int breite
        = qMin(QFontMetrics(titelSchrift).horizontalAdvance(box.windowTitle()) + 140, 640);
    raster->addItem(new QSpacerItem(breite, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
        raster->rowCount(), 0, 1, raster->columnCount());
}

// Puts the prompt text above everything else of Qt's own file dialog.
void HinweisEinfuegen(QFileDialog& dialog, const QString& hinweis)
{
    if (hinweis.isEmpty())
        return;
    auto* raster = qobject_cast<QGridLayout*>(dialog.layout());
    auto* label = new QLabel(hinweis, &dialog);
    label->setObjectName(QStringLiteral("Hinweis"));
    label->setWordWrap(true);
    if (!raster) {
        if (dialog.layout())
            dialog.layout()->addWidget(label);
        return;
    }
    struct Platz {
        QLayoutItem* element;
        int zeile, spalte, zeilen, spalten;
    };
    QList<Platz> plaetze;
    const int spalten = raster->columnCount();
    while (raster->count() > 0) {
        Platz p { nullptr, 0, 0, 0, 0 };
        raster->getItemPosition(0, &p.zeile, &p.spalte, &p.zeilen, &p.spalten);
        p.element = raster->takeAt(0);
        plaetze.append(p);
    }
    raster->addWidget(label, 0, 0, 1, spalten);
    for (const Platz& p : plaetze)
        raster->addItem(p.element, p.zeile + 1, p.spalte, p.zeilen, p.spalten);
}

void DialogEinrichten(QFileDialog& d, const Plattform::DateiDialog& dialog)
{
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    d.setWindowTitle(dialog.titel);
    if (!dialog.filterMuster.isEmpty()) {
        const QString name = dialog.filterName.isEmpty() ? dialog.filterMuster : dialog.filterName;
        d.setNameFilter(name + QStringLiteral(" (") + dialog.filterMuster + QLatin1Char(')'));
    }
    if (!dialog.startOrdner.isEmpty())
        d.setDirectory(dialog.startOrdner);
    if (!dialog.aktionsKnopf.isEmpty())
        d.setLabelText(QFileDialog::Accept, dialog.aktionsKnopf);
    if (!dialog.abbrechenKnopf.isEmpty())
        d.setLabelText(QFileDialog::Reject, dialog.abbrechenKnopf);
    HinweisEinfuegen(d, dialog.hinweis);
    // Room for the columns of the file list (name, size, type, date); the type column wide
    // enough for the names of our two file types, the size column for any size.
    d.resize(d.sizeHint().expandedTo(QSize(760, 480)));
    if (auto* liste = d.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* kopf = liste->header();
        const int typ = 2;
        const int breite
            = kopf->fontMetrics().horizontalAdvance(QStringLiteral("RAVIRIreru-Ergebnis"))
            + 4 * kopf->style()->pixelMetric(QStyle::PM_HeaderMargin);
        if (kopf->count() > typ && kopf->sectionSize(typ) < breite)
            kopf->resizeSection(typ, breite);
        // The size column wide enough for "999,9 KiB", so no size is cut.
        const int groesse = 1;
        const int groesseBreite = kopf->fontMetrics().horizontalAdvance(QStringLiteral("999,9 KiB"))
            + 4 * kopf->style()->pixelMetric(QStyle::PM_HeaderMargin);
        if (kopf->count() > groesse && kopf->sectionSize(groesse) < groesseBreite)
            kopf->resizeSection(groesse, groesseBreite);
    }
}

} // namespace

QWidget* QtPlattform::Elternfenster()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Before the program waits for the teacher in a modal window, whatever the journals of
// unsaved entries hold goes to the disk.
void QtPlattform::VorModalem()
{
    Eingabejournal::AlleSynchronisieren();
}

QString QtPlattform::Programmname()
{
    return QStringLiteral("RAVIRIreru");
}

void QtPlattform::Mitteilen(const struct Mitteilung& mitteilung)
{
    VorModalem();
    QMessageBox box(Icon(mitteilung.symbol),
        mitteilung.titel.isEmpty() ? Programmname() : mitteilung.titel, mitteilung.text,
        QMessageBox::Ok, Elternfenster());
    box.setObjectName(QStringLiteral("Meldung"));
    box.setInformativeText(mitteilung.erklaerung);
    PlatzFuerTitel(box);
    box.exec();
}

bool QtPlattform::Frage(const struct Frage& frage)
{
    VorModalem();
    QMessageBox box(Elternfenster());
    box.setObjectName(QStringLiteral("Frage"));
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(frage.titel);
    box.setText(frage.meldung);
    box.setInformativeText(frage.erklaerung);
    QPushButton* standard = box.addButton(frage.standardKnopf, QMessageBox::AcceptRole);
    QPushButton* anderer = box.addButton(frage.andererKnopf, QMessageBox::RejectRole);
    standard->setObjectName(QStringLiteral("Standard"));
    anderer->setObjectName(QStringLiteral("Anderer"));
    box.setDefaultButton(standard);
    box.setEscapeButton(anderer);
    PlatzFuerTitel(box);
    box.exec();
    return box.clickedButton() == standard;
}

int QtPlattform::Waehlen(const struct Auswahl& auswahl)
{
    VorModalem();
    QMessageBox box(Elternfenster());
    box.setObjectName(QStringLiteral("Auswahl"));
    box.setIcon(Icon(auswahl.symbol));
    box.setWindowTitle(auswahl.titel.isEmpty() ? Programmname() : auswahl.titel);
    box.setText(auswahl.meldung);
    box.setInformativeText(auswahl.erklaerung);
    const int abbrechen = AbbrechenIndex(auswahl);
    QList<QPushButton*> knoepfe;
    for (int i = 0; i < auswahl.knoepfe.size(); ++i) {
        // The roles only order the buttons as the desktop expects; the answer is the index.
        const auto rolle = i == abbrechen ? QMessageBox::RejectRole
            : i == auswahl.standard       ? QMessageBox::AcceptRole
                                          : QMessageBox::DestructiveRole;
        QPushButton* knopf = box.addButton(auswahl.knoepfe.at(i), rolle);
        knopf->setObjectName(QStringLiteral("Knopf%1").arg(i));
        knoepfe.append(knopf);
    }
    if (auswahl.standard >= 0 && auswahl.standard < knoepfe.size())
        box.setDefaultButton(knoepfe.at(auswahl.standard));
    if (abbrechen >= 0)
        box.setEscapeButton(knoepfe.at(abbrechen));
    PlatzFuerTitel(box);
    box.exec();
    const int gewaehlt = int(knoepfe.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return gewaehlt >= 0 ? gewaehlt : abbrechen;
}

bool QtPlattform::Abwarten(const struct Warten& warten, const std::function<bool()>& fertig)
{
    VorModalem();
    if (fertig())
        return true;
    QProgressDialog dialog(warten.text, warten.knopf, 0, 0, Elternfenster());
    dialog.setObjectName(QStringLiteral("Abwarten"));
    dialog.setWindowTitle(warten.titel.isEmpty() ? Programmname() : warten.titel);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    QTimer pruefen;
    pruefen.setInterval(50);
    QObject::connect(&pruefen, &QTimer::timeout, &dialog, [&] {
        if (fertig())
            dialog.accept();
    });
    pruefen.start();
    const bool beendet = dialog.exec() == QDialog::Accepted;
    return beendet || fertig();
}

QString QtPlattform::DateiOeffnen(const DateiDialog& dialog)
{
    VorModalem();
    QFileDialog d(Elternfenster());
    d.setObjectName(QStringLiteral("DateiOeffnen"));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    DialogEinrichten(d, dialog);
    if (!dialog.vorschlag.isEmpty()) {
        const QFileInfo info(dialog.vorschlag);
        if (info.isAbsolute() && dialog.startOrdner.isEmpty())
            d.setDirectory(info.absolutePath());
        d.selectFile(info.isAbsolute() ? info.fileName() : dialog.vorschlag);
    }
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

QString QtPlattform::DateiSpeichern(const DateiDialog& dialog)
{
    VorModalem();
    QFileDialog d(Elternfenster());
    d.setObjectName(QStringLiteral("DateiSpeichern"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    DialogEinrichten(d, dialog);
    if (dialog.filterMuster.startsWith(QStringLiteral("*.")))
        d.setDefaultSuffix(dialog.filterMuster.mid(2));
    if (!dialog.vorschlag.isEmpty())
        d.selectFile(dialog.vorschlag);
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

bool QtPlattform::Seiteneinrichtung(QPrinter& drucker)
{
    VorModalem();
    QPageSetupDialog d(&drucker, Elternfenster());
    return d.exec() == QDialog::Accepted;
}

bool QtPlattform::DruckDialog(QPrinter& drucker)
{
    VorModalem();
    QPrintDialog d(&drucker, Elternfenster());
    // Printed into a PDF file, the file is named after the whole document name (the
    // dialog's own proposal stops at the document name's first dot, and exists only on
    // X11), in the folder the dialog proposes.
    if (drucker.outputFileName().isEmpty()) {
        const QString name
            = SichererDateiname::Aus(drucker.docName(), SichererDateiname::Druckdatei());
        auto* datei = d.findChild<QLineEdit*>(QStringLiteral("filename"));
        if (datei && !name.isEmpty()) {
            QString ordner = QFileInfo(datei->text()).path();
            if (datei->text().isEmpty() || ordner == QLatin1String("."))
                ordner = QDir::homePath();
            datei->setText(QDir(ordner).filePath(name + QStringLiteral(".pdf")));
        }
    }
    return d.exec() == QDialog::Accepted;
}

void QtPlattform::Piep()
{
    QApplication::beep();
}

bool QtPlattform::UrlOeffnen(const QUrl& adresse)
{
    // False when the desktop has no program to hand the address to (no xdg-open, no browser
    // or mail program found) or the program could not be started.
    return QDesktopServices::openUrl(adresse);
}
