#pragma once

#include "model/FileDialogs.h"

// The desktop's file dialogues that the data file shows.
class TQtFileDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) override;
    bool ExecuteSave(const TFileDialogSetup& setup, QString& fileName) override;
};
