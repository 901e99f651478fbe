#pragma once

#include "model/FileDialogs.h"

#include <QFileDialog>

// The desktop's file dialogues that the data file shows.
class TQtFileDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) override;
    bool ExecuteSave(const TFileDialogSetup& setup, QString& fileName) override;
};

// The entry Qt's dialogue shows and filters by for one file type. The callers write a type as
// Windows dialogues do, a name that shows its patterns ("MS Excel Files (*.xls; *.xlsx)") and
// the masks apart ("*.xls;*.xlsx"); Qt reads the patterns from the entry's last parentheses, so
// the name's own list is replaced by the masks in Qt's form and the patterns show once:
// "MS Excel Files (*.xls *.xlsx)". The mask "*.*" matches every file there, so it becomes "*".
QString QtNameFilter(const TFileDialogType& type);

// Sets up Qt's dialogue as the setup asks. A start folder that does not exist gives way to
// the user's own (Documents, else home): Qt would otherwise open the folder visited last,
// which may be the program's own.
void SetUpFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode,
                     const TFileDialogSetup& setup);
