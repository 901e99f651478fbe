// The file commands of the main window: New, Open, Open Sample, open a given path, Save,
// Save As and Close.
#include "model/ovDF.h"

#include "model/DataFileHost.h"
#include "model/DataFileMessages.h"
#include "model/DataFileSections.h"
#include "model/FileDialogs.h"
#include "model/ModelUtils.h"
#include "model/SampleCopy.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/FileAccess.h"
#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QFileInfo>

using platform::Format;

namespace {

QString Q(const char* text) {
    return QString::fromLatin1(text);
}

bool FolderExists(const QString& folder) {
    return !folder.trimmed().isEmpty() && QFileInfo(folder.trimmed()).isDir();
}

void ClearMessageLog() {
    if (AD != nullptr) {
        AD->MessageLog.clear();
    }
}

} // namespace

bool TovDF::BeginCommand() {
    SaveState();
    if (!CheckDataFileExists()) {
        return false;
    }
    if (Modified && QuerySaveChanges() == mrCancel) {
        return false;
    }
    // A save made on the way is kept when the command fails later.
    SaveState();
    return true;
}

void TovDF::FinishOpen(const QString& path, bool addToRecent) {
    DPFE = path;
    NoFile = false;
    CheckBackupExtension(DPFE);
    IsNew = false;
    CheckReadOnly();
    RepaintSDs();
    if (addToRecent) {
        AddToRecentFiles(DPFE);
    }
}

bool TovDF::OpenGivenPath(const QString& path) {
    if (!BeginCommand()) {
        return false;
    }
    // The installed sample handed over by name (a start from the build tree, a drop) opens as the
    // Open Sample Data File command opens it: from the user's own copy, kept out of the recent
    // files.
    if (AD != nullptr && IsInstalledSample(path, AD->getSampleDPFE())) {
        return OpenUserSample();
    }
    if (QueryReopen(path) == mrNo || !OpenDataFile(path, false)) {
        return false;
    }
    FinishOpen(path, true);
    return true;
}

bool TovDF::OpenCommandLine(const QString& path) {
    if (!CmdLinePending) {
        return false;
    }
    CmdLinePending = false;
    return OpenGivenPath(path);
}

bool TovDF::OpenCopyData(const QString& path) {
    if (!CopyDataPending) {
        return false;
    }
    CopyDataPending = false;
    return OpenGivenPath(path);
}

bool TovDF::OpenDropped(const QString& path) {
    return OpenGivenPath(path);
}

bool TovDF::OpenMRU(const QString& path) {
    return OpenGivenPath(path);
}

bool TovDF::Open() {
    if (!BeginCommand()) {
        return false;
    }
    const QString folder = ExtractFilePath(getDPFE());
    TFileDialogSetup setup;
    setup.Title = UIT(txt::OpenDataFile_1293);
    setup.FileMustExist = true;
    setup.FileTypes = {
        {Format(UIT(txt::DataFiles), {Q("krvc"), Q("~krvc*")}),
         Format(UIT(txt::Text1291), {Q("krvc"), Q("~krvc*")})},
        {Format(UIT(txt::DataFiles_1289), {datafile::QuillRoot(), Q("krvp"), Q("~krvp*")}),
         Format(UIT(txt::Text1291), {Q("krvp"), Q("~krvp*")})},
        {Format(UIT(txt::DataFiles_1288), {datafile::OldRoot(), Q("krv"), Q("~krv")}),
         Format(UIT(txt::Text1291), {Q("krv"), Q("~krv")})},
        {UIT(txt::AllFiles), UIT(txt::Text1292)},
    };
    setup.DefaultExtension = Q("krvc");
    setup.DefaultFolder = FolderExists(folder) ? folder : DialogFallbackFolder();
    setup.OkButtonLabel = UIT(txt::Open_1336);
    QString chosen;
    if (FileDialogs == nullptr || !FileDialogs->ExecuteOpen(setup, chosen)) {
        return false;
    }
    // A chosen name is the file system's: a name that ends in a blank is another file.
    const QString path = chosen;
    if (path.trimmed().isEmpty()) {
        return false;
    }
    const bool badExtension =
        DV != nullptr
            ? DV->CheckDataFileExtDlg(UIT(txt::DataFile_722), path)
            : !TovDV::IsDataFileExtension(modelutil::UpperAZ(ExtractFileExtension(path, false)));
    if (badExtension || QueryReopen(path) == mrNo || !OpenDataFile(path, false)) {
        return false;
    }
    FinishOpen(path, true);
    return true;
}

bool TovDF::OpenSample() {
    return BeginCommand() && OpenUserSample();
}

bool TovDF::OpenUserSample() {
    const QString path = AD != nullptr ? PrepareUserSample(AD->getSampleDPFE()) : QString();
    if (QueryReopen(path) == mrNo) {
        return false;
    }
    if (!modelutil::FileExistsChecked(path)) {
        datafile::WarnClose(
            Q("UDF025"),
            {UIT(txt::UnableToFindFollowingSample), QString(), path, QString(),
             UIT(txt::ItMayHaveBeenDeletedMovedRenamed_1514), QString(),
             Format(UIT(txt::PleaseReInstallToResolveIssue), {datafile::TesselRoot()}), QString()},
            1230);
        return false;
    }
    if (!OpenDataFile(path, true)) {
        return false;
    }
    if (SDs != nullptr && AD != nullptr && !IsInstalledSample(path, AD->getSampleDPFE())) {
        MoveSampleSourcesToCopy(*SDs, QFileInfo(path).absolutePath());
    }
    FinishOpen(path, false);
    return true;
}

bool TovDF::New() {
    if (!BeginCommand()) {
        return false;
    }
    DPFE = Q("Untitled.krvc");
    CmdLinePending = false;
    CopyDataPending = false;
    Modified = false;
    NoFile = false;
    IsBackup = false;
    IsNew = true;
    IsReadOnly = false;
    IsPartial = false;
    ClearMessageLog();
    if (SDs == nullptr) {
        SDs = new TovSDs();
    }
    SDs->Clear();
    const int n = SDs->Add();
    SDs->setActiveSD(SDs->getCount());
    SDs->getItems(n)->setDescription(UIT(txt::EnterDescriptionHere));
    return true;
}

bool TovDF::Save() {
    return IsSaveAsRequired(true) ? SaveAs() : SaveDataFile(true);
}

bool TovDF::SaveAs() {
    SaveState();
    if (!CheckDataFileExists()) {
        return false;
    }
    SaveState();
    const QString folder = ExtractFilePath(getDPFE());
    const QString outputFolder =
        Preferences != nullptr ? Preferences->getDefaultOFFolder() : QString();
    TFileDialogSetup setup;
    setup.Title = Format(Q(" %s "), {UIT(txt::SaveDataFile_1298)});
    setup.FolderMustExist = true;
    setup.FileTypes = {
        {Format(UIT(txt::DataFiles_1300), {Q("krvc")}), Format(UIT(txt::Text1301), {Q("krvc")})}};
    setup.FileName = getFilenameExtn();
    setup.DefaultExtension = Q("krvc");
    setup.DefaultFolder = FolderExists(folder)         ? folder
                          : FolderExists(outputFolder) ? outputFolder
                                                       : DialogFallbackFolder();
    QString path;
    for (;;) {
        QString chosen;
        if (FileDialogs == nullptr || !FileDialogs->ExecuteSave(setup, chosen)) {
            return false;
        }
        path = chosen;
        if (path.trimmed().isEmpty()) {
            return false;
        }
        const QString ext = ExtractFileExtension(path, false);
        if (ext.isEmpty() || !modelutil::SameTextAZ(ext, Q("krvc"))) {
            path = modelutil::ChangeFileExt(path, Q(".krvc"));
            setup.FileName = ExtractFileName(path);
        }
        // A device or a FIFO under the name is refused before the question to overwrite it.
        const QString notRegular = platform::notRegularFileReason(path);
        if (!notRegular.isEmpty()) {
            datafile::WarnNotSaved(path, notRegular);
            return false;
        }
        if (!modelutil::FileExistsChecked(path)) {
            break;
        }
        const int answer =
            datafile::AskYesNoCancel(Q("UDF026"),
                                     {UIT(txt::SelectedFileAlreadyExists), QString(), path,
                                      QString(), UIT(txt::DoYouWishToOverwriteFile)},
                                     1231, 1232, 1233);
        if (answer == mrCancel) {
            return false;
        }
        setup.FileName = ExtractFileName(path);
        if (answer != mrNo) {
            break;
        }
    }
    // The document moves to the new path only once the file is written there.
    if (!WriteDataFile(path, false)) {
        RestoreState();
        return false;
    }
    DPFE = path;
    Modified = false;
    NoFile = false;
    CheckBackupExtension(path);
    IsNew = false;
    CheckReadOnly();
    IsTesselFormat = true;
    IsQuillFormat = false;
    IsOldFormat = false;
    IsPartial = false;
    FileVersion = datafile::ProgramVersion();
    RepaintSDs();
    AddToRecentFiles(path);
    return true;
}

bool TovDF::Close() {
    SaveState();
    if (!CheckDataFileExists()) {
        return false;
    }
    if (Modified && QuerySaveChanges() == mrCancel) {
        return false;
    }
    ClearMessageLog();
    if (SDs != nullptr) {
        SDs->Clear();
    }
    DPFE.clear();
    Modified = false;
    NoFile = true;
    IsBackup = false;
    IsNew = false;
    IsReadOnly = false;
    IsPartial = false;
    return true;
}
