// The floor of the start-up benchmark: a minimal Qt program that shows the same open dialog as
// the program does at its start (Qt's own file dialog, German texts, the same title, hint,
// filter, buttons and size, the document given on the command line selected), and nothing
// else: no resources, no icons, no menus, no model.
//   minimaldialog DOKUMENT

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator uebersetzer;
    if (uebersetzer.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&uebersetzer);

    QFileDialog d;
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    d.setWindowTitle(QStringLiteral("Notenlisten öffnen"));
    d.setNameFilter(QStringLiteral("ZELTA-NotenDatei (*.zln)"));
    d.setLabelText(QFileDialog::Accept, QStringLiteral("Öffnen"));
    d.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (auto* raster = qobject_cast<QGridLayout*>(d.layout())) {
        auto* hinweis
            = new QLabel(QStringLiteral("Bitte wählen Sie eine Datei mit Notenlisten aus."), &d);
        hinweis->setWordWrap(true);
        raster->addWidget(hinweis, raster->rowCount(), 0, 1, raster->columnCount());
    }
    d.resize(d.sizeHint().expandedTo(QSize(760, 480)));
    if (argc > 1) {
        const QFileInfo dokument(QString::fromLocal8Bit(argv[1]));
        d.setDirectory(dokument.absolutePath());
        d.selectFile(dokument.fileName());
    }
    return d.exec() == QDialog::Accepted ? 0 : 1;
}
