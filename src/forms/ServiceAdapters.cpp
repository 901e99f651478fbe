#include "forms/ServiceAdapters.h"

#include <QApplication>
#include <QFileDialog>

namespace {

bool execute(QFileDialog::AcceptMode mode, const TFileDialogSetup& setup, QString& fileName) {
    QFileDialog dialog(QApplication::activeWindow(), setup.Title, setup.DefaultFolder);
    // Qt's own dialogue: the desktop's native one would not show the caller's OK caption.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // An open dialogue may pick a file still to be made (the output workbook).
    dialog.setFileMode(mode == QFileDialog::AcceptOpen && setup.FileMustExist
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    QStringList filters;
    for (const TFileDialogType& type : setup.FileTypes) {
        QString masks = type.Mask;
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(type.Name, masks);
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(setup.DefaultExtension);
    if (!setup.FileName.isEmpty()) {
        dialog.selectFile(setup.FileName);
    }
    if (!setup.OkButtonLabel.isEmpty()) {
        QString label = setup.OkButtonLabel;
        dialog.setLabelText(QFileDialog::Accept, label.replace(QLatin1Char('&'), QString()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

} // namespace

bool TQtFileDialogs::ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) {
    return execute(QFileDialog::AcceptOpen, setup, fileName);
}

bool TQtFileDialogs::ExecuteSave(const TFileDialogSetup& setup, QString& fileName) {
    return execute(QFileDialog::AcceptSave, setup, fileName);
}
