#pragma once

#include "forms/main/MainDialogs.h"
#include "forms/main/MainView.h"
#include "forms/tabs/MainTab.h"
#include "model/ovSD.h"
#include "services/StdDlg.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <stdexcept>

namespace formstest {

// One shared log of what the tabs, the view and the fake windows were asked, in order.
using TLog = QStringList;

// The active definition's description, or "-" when there is none.
inline QString ActiveDescription() {
    if (SDs == nullptr || SDs->getActiveSD() == 0) {
        return QStringLiteral("-");
    }
    return SDs->getItems(SDs->getActiveSD())->getDescription();
}

// A tab that logs each operation with the definition active at the time ("Store 1:Alpha").
class RecordingTab : public IMainTab {
public:
    RecordingTab(TLog& log, int index) : Log(log), Index(index) {}

    bool enabled = false;
    int throwOnLoad = 0; // the next this many Loads raise
    int lastField = 0;
    int lastRow = 0;

    void Clear() override { note(QStringLiteral("Clear")); }
    void Enable(bool flag) override {
        enabled = flag;
        note(flag ? QStringLiteral("Enable") : QStringLiteral("Disable"));
    }
    void Load() override {
        note(QStringLiteral("Load"));
        if (throwOnLoad > 0) {
            --throwOnLoad;
            throw std::runtime_error("tab failed");
        }
    }
    void Refresh() override { note(QStringLiteral("Refresh")); }
    void Store() override { note(QStringLiteral("Store")); }
    void PrepareProcess() override { note(QStringLiteral("PrepareProcess")); }
    void GoToField(int fieldId, int rowId) override {
        lastField = fieldId;
        lastRow = rowId;
        note(QStringLiteral("GoToField"));
    }

private:
    void note(const QString& what) {
        Log << QStringLiteral("%1 %2 %3:%4")
                   .arg(what)
                   .arg(Index)
                   .arg(SDs != nullptr ? SDs->getActiveSD() : 0)
                   .arg(ActiveDescription());
    }

    TLog& Log;
    int Index;
};

// The window's controls as the controller leaves them.
class RecordingView : public IMainView {
public:
    explicit RecordingView(TLog& log) : Log(log) {}

    QStringList items;
    int row = -1;
    bool listEnabled = false;
    TDefinitionButtons buttons;
    bool processEnabled = false;
    TDataFileStatus status;
    int page = 0;
    bool dragAccept = true;
    bool windowEnabled = true;
    bool maximised = false;
    int closeRequests = 0;
    int preferenceApplications = 0;

    void ShowDefinitions(const QStringList& list, int selected) override {
        items = list;
        row = selected;
    }
    void SetListEnabled(bool enabled) override { listEnabled = enabled; }
    void FocusList() override {}
    void SetDefinitionButtons(const TDefinitionButtons& b) override { buttons = b; }
    void SetProcessEnabled(bool enabled) override { processEnabled = enabled; }
    void SetDataFileStatus(const TDataFileStatus& s) override { status = s; }
    void ShowPage(int index) override {
        page = index;
        Log << QStringLiteral("ShowPage %1").arg(index);
    }
    void FocusPages() override {}
    void HideBalloon() override {}
    void SetDragAccept(bool accept) override { dragAccept = accept; }
    void SetWindowEnabled(bool enabled) override {
        windowEnabled = enabled;
        Log << (enabled ? QStringLiteral("WindowEnabled") : QStringLiteral("WindowDisabled"));
    }
    bool IsMaximised() const override { return maximised; }
    void SetMaximised(bool value) override { maximised = value; }
    void ApplyPreferences() override { ++preferenceApplications; }
    void RequestClose() override { ++closeRequests; }

private:
    TLog& Log;
};

// A modal window that logs its showing and answers with a queued result (else Cancel).
class ScriptedWindow : public ISummaryWindow,
                       public IErrorListWindow,
                       public IAboutWindow,
                       public IOptionsWindow {
public:
    ScriptedWindow(TLog& log, QString name) : Log(log), Name(std::move(name)) {}
    std::deque<int> answers;
    std::function<void()> whileShown;

    void RefreshList() override { Log << Name + QStringLiteral(".RefreshList"); }
    int ShowModal() override {
        Log << Name + QStringLiteral(".ShowModal");
        if (whileShown) {
            whileShown();
        }
        if (answers.empty()) {
            return mrCancel;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

private:
    TLog& Log;
    QString Name;
};

// The Add, Rename and Copy window: records the set-up and answers OK with a description, or
// Cancel.
class ScriptedAddRenameCopy : public IAddRenameCopyWindow {
public:
    std::deque<QString> descriptions; // an empty text answers Cancel
    std::vector<TAddRenameCopySetup> setups;

    void Setup(const TAddRenameCopySetup& setup) override { setups.push_back(setup); }
    int ShowModal() override {
        if (descriptions.empty() || descriptions.front().isEmpty()) {
            if (!descriptions.empty()) {
                descriptions.pop_front();
            }
            return mrCancel;
        }
        Current = descriptions.front();
        descriptions.pop_front();
        return mrOk;
    }
    QString getDescription() const override { return Current; }

private:
    QString Current;
};

// The Browse File window: logs its set-up and answers with a result and a chosen path.
class ScriptedBrowseFile : public IBrowseFileWindow {
public:
    explicit ScriptedBrowseFile(TLog& log) : Log(log) {}
    int result = mrCancel;
    QString chosen;

    void Setup() override { Log << QStringLiteral("BrowseFile.Setup"); }
    int ShowModal() override {
        Log << QStringLiteral("BrowseFile.ShowModal");
        return result;
    }
    QString getDPFE() const override { return chosen; }

private:
    TLog& Log;
};

// The validator, Excel checks and engine behind Process: scripted answers, logged calls.
class ScriptedProcess : public IProcessServices {
public:
    explicit ScriptedProcess(TLog& log) : Log(log) {}

    int errors = 0;
    bool excelMissing = false;
    QStringList packCancelled; // descriptions whose pack question is cancelled
    bool runResult = true;
    bool runThrows = false;
    int cfgTab = 0, cfgField = 0, cfgRow = 0;
    std::function<void()> duringRun;

    int ValidateDefinition() override {
        Log << QStringLiteral("Validate");
        return errors;
    }
    bool WarnExcelMissing() override {
        Log << QStringLiteral("WarnExcelMissing");
        return excelMissing;
    }
    bool WarnPackMissing(const QString& description, const QString&) override {
        Log << QStringLiteral("WarnPackMissing ") + description;
        return packCancelled.contains(description);
    }
    bool Run(int index) override {
        Log << QStringLiteral("Run %1").arg(index);
        if (duringRun) {
            duringRun();
        }
        if (runThrows) {
            throw std::runtime_error("run failed");
        }
        return runResult;
    }
    int getCfgErrTabID(int) override { return cfgTab; }
    int getCfgErrFldID(int) override { return cfgField; }
    int getCfgErrRowID(int) override { return cfgRow; }

private:
    TLog& Log;
};

} // namespace formstest
