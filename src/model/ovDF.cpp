#include "model/ovDF.h"

#include "model/DataFileBackup.h"
#include "model/DataFileHost.h"
#include "model/DataFileMessages.h"
#include "model/DataFileSections.h"
#include "model/ModelUtils.h"
#include "model/RecentFilesList.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

TovDF* DF = nullptr;

TovDF::TovDF(const QStringList& arguments) {
    Reset();
    CmdLinePending = !arguments.isEmpty() && !arguments.first().isEmpty();
}

TovDF::~TovDF() = default;

void TovDF::Reset() {
    IsBackup = false;
    IsNew = false;
    IsReadOnly = false;
    IsQuillFormat = false;
    IsTesselFormat = false;
    IsOldFormat = false;
    IsPartial = false;
    DPFE.clear();
    CmdLinePending = false;
    CopyDataPending = false;
    Modified = false;
    NoFile = true;
    ResetFL();
}

void TovDF::setReadOnlyProbe(std::function<bool(const QString&)> probe) {
    ReadOnlyProbe = std::move(probe);
}

bool TovDF::FileIsReadOnly(const QString& path) const {
    return ReadOnlyProbe ? ReadOnlyProbe(path) : modelutil::FileIsReadOnly(path);
}

QString TovDF::getFilenameExtn() const {
    return ExtractFileName(getDPFE());
}

void TovDF::setModified(bool flag) {
    if (Modified != flag) {
        Modified = flag;
    }
}

void TovDF::ResetFL() {
    FL_Count = 0;
    FL_DPFE.assign(1, QString());
    FL_Valid.assign(1, true);
}

void TovDF::setFL_Count(int n) {
    n = std::max(0, n);
    FL_Count = n;
    FL_DPFE.resize(static_cast<size_t>(n) + 1);
    FL_Valid.resize(static_cast<size_t>(n) + 1, true);
}

QString TovDF::getFL_DPFE(int index) const {
    if (CheckIndexRange(index, 0, FL_Count, QStringLiteral("DF.getFL_DPFE"))) {
        return QString();
    }
    return FL_DPFE[static_cast<size_t>(index)];
}

void TovDF::setDFL_DPFE(int index, const QString& path) {
    if (!CheckIndexRange(index, 0, FL_Count, QStringLiteral("DF.setDFL_DPFE"))) {
        FL_DPFE[static_cast<size_t>(index)] = path;
    }
}

bool TovDF::getFL_Valid(int index) const {
    if (CheckIndexRange(index, 0, FL_Count, QStringLiteral("DF.getFL_Valid"))) {
        return true;
    }
    return FL_Valid[static_cast<size_t>(index)];
}

void TovDF::setDFL_Valid(int index, bool flag) {
    if (!CheckIndexRange(index, 0, FL_Count, QStringLiteral("DF.setDFL_Valid"))) {
        FL_Valid[static_cast<size_t>(index)] = flag;
    }
}

bool TovDF::IsSaveAsRequired(bool recheck) {
    if (NoFile || IsBackup || IsNew) {
        return true;
    }
    if (recheck) {
        CheckReadOnly();
    }
    if (IsReadOnly || IsQuillFormat || IsPartial) {
        return true;
    }
    if (IsTesselFormat) {
        return !modelutil::SameTextAZ(FileVersion, datafile::ProgramVersion());
    }
    return IsOldFormat;
}

bool TovDF::DataFileExists() {
    if (NoFile || IsNew) {
        return false;
    }
    return modelutil::FileExistsChecked(getDPFE());
}

void TovDF::CheckReadOnly() {
    IsReadOnly = false;
    if (!NoFile && !IsNew && modelutil::FileExistsChecked(getDPFE())) {
        IsReadOnly = FileIsReadOnly(getDPFE());
    }
}

void TovDF::CheckBackupExtension(const QString& path) {
    IsBackup = datafile::IsBackupExtension(path);
}

TovDF::TState TovDF::CaptureState() const {
    return static_cast<const TState&>(*this);
}

void TovDF::ApplyState(const TState& state) {
    static_cast<TState&>(*this) = state;
}

void TovDF::SaveState() {
    Snapshot = CaptureState();
}

void TovDF::RestoreState() {
    ApplyState(Snapshot);
}

bool TovDF::CheckDataFileExists() {
    if (DataFileExists() || IsSaveAsRequired(true)) {
        return true;
    }
    const int answer = datafile::AskYesNo(QStringLiteral("UDF021"),
                                          {UIT(txt::DataFileCannotBeFound), QString(), getDPFE(),
                                           QString(), UIT(txt::ItMayHaveBeenDeletedMovedRenamed),
                                           QString(), UIT(txt::DoYouWishToSaveDataFileNow)},
                                          1222, 1223);
    if (answer == mrNo) {
        return true;
    }
    return SaveDataFile(true);
}

int TovDF::QuerySaveChanges() {
    if (NoFile) {
        return mrCancel;
    }
    const int answer = datafile::AskYesNoCancel(
        QStringLiteral("UDF022"),
        {UIT(txt::DoYouWishToSaveChangesToDataFile), QString(), getDPFE()}, 1224, 1225, 1226);
    if (answer != mrYes) {
        return answer;
    }
    const bool saved = IsSaveAsRequired(true) ? SaveAs() : SaveDataFile(true);
    return saved ? mrYes : mrCancel;
}

int TovDF::QueryReopen(const QString& path) {
    // File names compare case-sensitively here.
    if (NoFile || IsNew ||
        modelutil::CleanAbsolutePath(path) != modelutil::CleanAbsolutePath(getDPFE())) {
        return mrNone;
    }
    QStringList lines = {UIT(txt::SelectedDataFileIsAlready), QString(), path, QString()};
    if (Modified) {
        lines << UIT(txt::AnyUnsavedChangesMade) << QString();
    }
    lines << UIT(txt::DoYouWishToReopen);
    return datafile::AskYesNo(QStringLiteral("UDF024"), lines, 1227, 1228);
}

void TovDF::ProgressStart(int maximum) {
    if (View != nullptr) {
        View->ProgressStart(maximum);
    }
}

void TovDF::ProgressStep() {
    if (View != nullptr) {
        View->ProgressStep();
    }
}

void TovDF::ProgressEnd() {
    if (View != nullptr) {
        View->ProgressEnd();
    }
}

void TovDF::RepaintSDs() {
    if (View != nullptr) {
        View->RepaintSDs();
    }
}

void TovDF::AddToRecentFiles(const QString& path) {
    if (RecentFiles != nullptr) {
        RecentFiles->AddToTop(path);
        RecentFiles->Save();
        RecentFiles->RefreshMenu();
    }
}
