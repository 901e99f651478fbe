#include "forms/main/MainAdapters.h"

#include "engine/ovProcess.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "forms/browse/F_BrowseWindows.h"
#include "forms/dialogs/F_About.h"
#include "forms/dialogs/F_AddRenameCopy.h"
#include "forms/dialogs/F_Options.h"
#include "forms/dialogs/F_Summary.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "services/StdDlg.h"

namespace {

int Execute(QDialog* window) {
    if (window == nullptr) {
        return mrCancel;
    }
    return window->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

// The Summary window shows the project summary of the run that just ended.
class TSummaryOfForm : public ISummaryWindow {
public:
    int ShowModal() override {
        if (UF_Summary == nullptr || Process == nullptr) {
            return mrCancel;
        }
        return UF_Summary->ShowSummary(Process->getSummaryGrid());
    }
};

// The validator fills the error windows' lists itself; the window refreshes its counts and
// widths when it is shown.
class TErrorListOfWindow : public IErrorListWindow {
public:
    using Window = IErrListWindow* (*)();
    explicit TErrorListOfWindow(Window window) : Find(window) {}
    void RefreshList() override {}
    int ShowModal() override {
        IErrListWindow* window = Find();
        return window != nullptr ? window->Execute() : mrCancel;
    }

private:
    Window Find;
};

// The browse window offers the data file's list of handed-over paths; the last choice is
// preselected the next time.
class TBrowseFileOfWindow : public IBrowseFileWindow {
public:
    void Setup() override {}
    int ShowModal() override {
        IBrowseFile* window = BrowseFile();
        if (window == nullptr || DF == nullptr) {
            return mrCancel;
        }
        return window->Execute(*DF, Chosen) == kBrowseChosen ? mrOk : mrCancel;
    }
    QString getDPFE() const override { return Chosen; }

private:
    static constexpr int kBrowseChosen = 1;
    QString Chosen;
};

class TAboutOfForm : public IAboutWindow {
public:
    int ShowModal() override { return Execute(UF_About); }
};

class TOptionsOfForm : public IOptionsWindow {
public:
    int ShowModal() override { return Execute(UF_Options); }
};

class TAddRenameCopyOfForm : public IAddRenameCopyWindow {
public:
    void Setup(const TAddRenameCopySetup& setup) override {
        if (UF_AddRenameCopy != nullptr) {
            UF_AddRenameCopy->Setup(setup);
        }
    }
    int ShowModal() override {
        return UF_AddRenameCopy != nullptr ? UF_AddRenameCopy->ShowModal() : mrCancel;
    }
    QString getDescription() const override {
        return UF_AddRenameCopy != nullptr ? UF_AddRenameCopy->getDescription() : QString();
    }
};

class TProcessOfGlobals : public IProcessServices {
public:
    int ValidateDefinition() override {
        if (DV == nullptr) {
            return 0;
        }
        // A repair of a stored value is a change of the data file.
        if (DV->ValidateDefinition(TValidateFiles{}) && DF != nullptr) {
            DF->setModified(true);
        }
        return DV->getCfgErrCount();
    }
    bool WarnExcelMissing() override { return XL == nullptr || XL->WarnExcelMissing(); }
    bool WarnPackMissing(const QString& description, const QString& path) override {
        return OCP != nullptr && OCP->WarnPackMissing(description, path);
    }
    bool Run(int index) override { return Process != nullptr && Process->Run(index); }
    int getCfgErrTabID(int n) override { return DV != nullptr ? DV->getCfgErrTabID(n) : 0; }
    int getCfgErrFldID(int n) override { return DV != nullptr ? DV->getCfgErrFldID(n) : 0; }
    int getCfgErrRowID(int n) override { return DV != nullptr ? DV->getCfgErrRowID(n) : 0; }
};

} // namespace

struct TProgramDialogs::TImpl {
    TSummaryOfForm Summary;
    TErrorListOfWindow CfgErr{&CfgErrWindow};
    TErrorListOfWindow DFVErr{&DFVErrWindow};
    TBrowseFileOfWindow BrowseFile;
    TAboutOfForm About;
    TOptionsOfForm Options;
    TAddRenameCopyOfForm AddRenameCopy;
    TProcessOfGlobals Process;
};

TProgramDialogs::TProgramDialogs() : Impl(std::make_unique<TImpl>()) {
    Dialogs.Summary = &Impl->Summary;
    Dialogs.CfgErr = &Impl->CfgErr;
    Dialogs.DFVErr = &Impl->DFVErr;
    Dialogs.BrowseFile = &Impl->BrowseFile;
    Dialogs.About = &Impl->About;
    Dialogs.Options = &Impl->Options;
    Dialogs.AddRenameCopy = &Impl->AddRenameCopy;
    Dialogs.Process = &Impl->Process;
}

TProgramDialogs::~TProgramDialogs() = default;
