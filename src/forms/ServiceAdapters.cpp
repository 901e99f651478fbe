#include "forms/ServiceAdapters.h"

#include <QApplication>
#include <QFileInfo>

namespace {

// The masks in Qt's form: separated by blanks, "*.*" for every file as "*".
QString QtPatterns(const QString& masks) {
    QStringList patterns;
    for (const QString& mask : masks.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = mask.trimmed();
        if (!pattern.isEmpty()) {
            patterns << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
        }
    }
    return patterns.isEmpty() ? QStringLiteral("*") : patterns.join(QLatin1Char(' '));
}

// The name without the pattern list it ends in, if any ("MS Excel Files").
QString NameWithoutPatterns(const QString& name) {
    const QString trimmed = name.trimmed();
    const qsizetype open = trimmed.lastIndexOf(QLatin1Char('('));
    if (!trimmed.endsWith(QLatin1Char(')')) || open < 0 ||
        !trimmed.mid(open).contains(QLatin1Char('*'))) {
        return trimmed;
    }
    return trimmed.left(open).trimmed();
}

bool execute(QFileDialog::AcceptMode mode, const TFileDialogSetup& setup, QString& fileName) {
    QFileDialog dialog(QApplication::activeWindow());
    SetUpFileDialog(dialog, mode, setup);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    fileName = dialog.selectedFiles().constFirst();
    return true;
}

} // namespace

QString QtNameFilter(const TFileDialogType& type) {
    return QStringLiteral("%1 (%2)").arg(NameWithoutPatterns(type.Name), QtPatterns(type.Mask));
}

void SetUpFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode,
                     const TFileDialogSetup& setup) {
    dialog.setWindowTitle(setup.Title);
    // Qt's own dialogue: the desktop's native one would not show the caller's OK caption.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // An open dialogue may pick a file still to be made (the output workbook).
    dialog.setFileMode(mode == QFileDialog::AcceptOpen && setup.FileMustExist
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setDirectory(QFileInfo(setup.DefaultFolder).isDir() ? setup.DefaultFolder
                                                               : DialogFallbackFolder());
    QStringList filters;
    for (const TFileDialogType& type : setup.FileTypes) {
        filters << QtNameFilter(type);
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
}

bool TQtFileDialogs::ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) {
    return execute(QFileDialog::AcceptOpen, setup, fileName);
}

bool TQtFileDialogs::ExecuteSave(const TFileDialogSetup& setup, QString& fileName) {
    return execute(QFileDialog::AcceptSave, setup, fileName);
}
