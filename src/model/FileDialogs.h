#pragma once

#include <QString>
#include <vector>

// One entry of a file dialogue's type list: the name shown and its masks ("*.krvc;*.~krvc*").
struct TFileDialogType {
    QString Name;
    QString Mask;
};

// What the data file commands set on a file dialogue before showing it.
struct TFileDialogSetup {
    QString Title;
    std::vector<TFileDialogType> FileTypes;
    QString FileName;
    QString DefaultExtension;
    QString DefaultFolder;
    QString OkButtonLabel;
    bool FileMustExist = false;
    bool FolderMustExist = false;
};

// The folder a file dialogue starts in when the value it is opened for names no existing folder:
// the user's Documents folder (else the home folder). The program's working folder is where it
// happened to be started, which means nothing to the user.
QString DialogFallbackFolder();

// The main window's file dialogues for opening and saving a data file. Execute returns true when
// the user chose a file and then leaves its full path in fileName. Tests install a scripted fake.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual bool ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) = 0;
    virtual bool ExecuteSave(const TFileDialogSetup& setup, QString& fileName) = 0;
};
