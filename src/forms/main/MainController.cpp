// The tab protocol, the definition list and the data file status of the main window.
#include "forms/main/MainController.h"

#include "model/DataFileMessages.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <exception>

using platform::Format;

namespace {

constexpr int kMaxDefinitions = 255;
constexpr int kMaxDescription = 255;

enum TListMode : int { modeAdd, modeRename, modeCopy };

QString TwoLineHint(int first, int second) {
    return UIT(first) + QLatin1Char('\n') + UIT(second);
}

int DefinitionCount() {
    return SDs != nullptr ? SDs->getCount() : 0;
}

int ActiveDefinition() {
    return SDs != nullptr ? SDs->getActiveSD() : 0;
}

QString DetailsOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const platform::Exception*>(&error)) {
        return own->message();
    }
    return QString::fromLocal8Bit(error.what());
}

} // namespace

TMainController::TMainController(IMainView& view, const TMainDialogs& dialogs)
    : View(view), Dialogs(dialogs) {}

TMainController::TBusyScope::TBusyScope(TMainController& owner, bool acceptDropsAfter)
    : Owner(owner), AcceptDropsAfter(acceptDropsAfter) {
    ++Owner.BusyCount;
    Owner.View.SetDragAccept(false);
}

void TMainController::setHandOverBusy(bool busy) {
    if (busy && HandOverBusy == nullptr) {
        HandOverBusy = std::make_unique<TBusyScope>(*this);
    } else if (!busy) {
        HandOverBusy.reset();
    }
}

TMainController::TBusyScope::~TBusyScope() {
    --Owner.BusyCount;
    if (Owner.BusyCount == 0 && AcceptDropsAfter) {
        Owner.View.SetDragAccept(true);
    }
}

// ---- Tab protocol ----

void TMainController::ClearTabs() {
    for (IMainTab* tab : Tabs) {
        if (tab != nullptr) {
            tab->Clear();
        }
    }
}

void TMainController::EnableTabs(bool flag) {
    EnableProcess(flag);
    for (IMainTab* tab : Tabs) {
        if (tab != nullptr) {
            tab->Enable(flag);
        }
    }
}

void TMainController::LoadTab(int index) {
    if (index >= 0 && index < TabCount && Tabs[static_cast<size_t>(index)] != nullptr) {
        Tabs[static_cast<size_t>(index)]->Load();
    }
}

void TMainController::StoreTab(int index) {
    if (index >= 0 && index < TabCount && Tabs[static_cast<size_t>(index)] != nullptr) {
        Tabs[static_cast<size_t>(index)]->Store();
    }
}

void TMainController::RefreshTab(int index) {
    UpdateProcessButton();
    if (index >= 0 && index < TabCount && Tabs[static_cast<size_t>(index)] != nullptr) {
        Tabs[static_cast<size_t>(index)]->Refresh();
    }
}

void TMainController::ShowActiveDefinition() {
    EnableTabs(DefinitionCount() > 0);
    LoadTab(CurrentPageIndex);
    RefreshTab(CurrentPageIndex);
    UpdateDefinitionButtons();
}

void TMainController::EnableProcess(bool flag) {
    View.SetProcessEnabled(flag);
}

void TMainController::UpdateProcessButton() {
    View.SetProcessEnabled(DefinitionCount() > 0);
}

void TMainController::PageChanged(int index) {
    View.HideBalloon();
    StoreTab(CurrentPageIndex);
    CurrentPageIndex = index;
    LoadTab(CurrentPageIndex);
    RefreshTab(CurrentPageIndex);
}

// ---- Definition list ----

void TMainController::ShowList() {
    QStringList items;
    for (int i = 1; i <= DefinitionCount(); ++i) {
        items << Framed(SDs->getItems(i)->getDescription());
    }
    View.ShowDefinitions(items, ActiveDefinition() - 1);
}

void TMainController::FillDefinitionList() {
    if (SDs != nullptr) {
        SDs->setActiveSD(DefinitionCount() > 0 ? 1 : 0);
    }
    ShowList();
}

void TMainController::ResyncList() {
    if (SDs != nullptr) {
        const int count = SDs->getCount();
        const int active = SDs->getActiveSD();
        SDs->setActiveSD(count == 0 ? 0 : std::clamp(active, 1, count));
    }
    ShowList();
    EnableTabs(DefinitionCount() > 0);
    LoadTab(CurrentPageIndex);
    RefreshTab(CurrentPageIndex);
    UpdateDefinitionButtons();
    UpdateDataFileStatus();
}

void TMainController::UpdateDefinitionButtons() {
    const int count = DefinitionCount();
    const int active = ActiveDefinition();
    TDefinitionButtons buttons;
    if (count == 0) {
        buttons.Add = DF != nullptr && !DF->getNoFile();
        ListEnabled = false;
    } else {
        ListEnabled = true;
        buttons.Add = count < kMaxDefinitions;
        buttons.Copy = count < kMaxDefinitions;
        buttons.Rename = true;
        buttons.Delete = true;
        buttons.MoveUp = count > 1 && active > 1;
        buttons.MoveDown = count > 1 && active < count;
    }
    View.SetListEnabled(ListEnabled);
    View.SetDefinitionButtons(buttons);
}

void TMainController::UpdateDataFileStatus() {
    TDataFileStatus status;
    if (DF != nullptr && !DF->getNoFile()) {
        status.Modified = DF->getModified();
        status.CloseEnabled = true;
        status.SaveAsEnabled = true;
        if (!DF->IsSaveAsRequired(false)) {
            status.Text = Framed(DF->getDPFE());
            status.SaveEnabled = true;
        } else if (DF->getIsNew()) {
            // A new file has no path yet: Save goes to Save As, and it is not read-only.
            status.Text = Framed(DF->getDPFE());
            status.SaveEnabled = true;
        } else {
            status.Text = Format(QStringLiteral(" %s %s "), {DF->getDPFE(), UIT(txt::ReadOnly)});
        }
    }
    View.SetDataFileStatus(status);
}

void TMainController::ListClicked(int row) {
    const int index = row + 1;
    if (index < 1 || index > DefinitionCount() || index == ActiveDefinition()) {
        return;
    }
    StoreTab(CurrentPageIndex);
    SDs->setActiveSD(index);
    UpdateDefinitionButtons();
    LoadTab(CurrentPageIndex);
    RefreshTab(CurrentPageIndex);
}

void TMainController::ListRenameKey() {
    if (ActiveDefinition() > 0) {
        Rename();
    }
}

bool TMainController::RunAddRenameCopy(int mode, const QString& description, QString& result) {
    IAddRenameCopyWindow* window = Dialogs.AddRenameCopy;
    if (window == nullptr || AD == nullptr) {
        return false;
    }
    AD->setAddSD(mode == modeAdd);
    AD->setRenameSD(mode == modeRename);
    AD->setCopySD(mode == modeCopy);
    static constexpr int kCaption[] = {209, 210, 211};
    static constexpr int kAction[] = {213, 214, 215};
    static constexpr int kActionHint[] = {998, 1000, 1002};
    static constexpr int kGlyph[] = {3, 41, 14};
    static constexpr int kCancelHint[] = {1004, 1006, 1008};
    TAddRenameCopySetup setup;
    setup.Caption = Framed(Format(UIT(kCaption[mode]), {QStringLiteral("Ovik KRV Tessel")}));
    setup.Description = description;
    setup.ActionCaption = Framed(UIT(kAction[mode]));
    setup.ActionHint = TwoLineHint(kActionHint[mode], kActionHint[mode] + 1);
    setup.ActionGlyph = kGlyph[mode];
    setup.CancelHint = TwoLineHint(kCancelHint[mode], kCancelHint[mode] + 1);
    window->Setup(setup);
    if (window->ShowModal() != mrOk) {
        return false;
    }
    result = window->getDescription();
    return true;
}

void TMainController::ReportListFailure(const TListFailure& failure, const QString& details) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines.clear();
    dlg->MsgLines << UIT(failure.TextId) << QString();
    if (!details.isEmpty()) {
        dlg->MsgLines << Format(UIT(txt::Details_1423), {details}) << QString();
    }
    dlg->SetupStdDlgButtons1(sdkWarning, failure.Key,
                             {glyphClose, mrClose, UIT(txt::Close_357), UIT(failure.HintId)});
    dlg->ShowModal();
}

void TMainController::Add() {
    View.SetListEnabled(true);
    View.FocusList();
    QString description;
    if (!RunAddRenameCopy(modeAdd, UIT(txt::EnterDescriptionHere), description)) {
        UpdateDefinitionButtons();
        return;
    }
    AppendDefinition({1516, QStringLiteral("MF009"), 1155}, description, 0);
}

void TMainController::AppendDefinition(const TListFailure& failure, const QString& description,
                                       int source) {
    StoreTab(CurrentPageIndex);
    ChangeList(failure, true, [&] {
        const int n = SDs->Add();
        if (source > 0 && !SDs->Copy(source, n)) {
            throw platform::Exception(QString());
        }
        SDs->getItems(n)->setDescription(description);
        SDs->setActiveSD(n);
        ShowList();
        if (n == 1) {
            EnableTabs(true);
        }
    });
}

bool TMainController::BeginActiveDefinitionCommand() {
    if (!ListEnabled || ActiveDefinition() == 0) {
        return false;
    }
    View.FocusList();
    return true;
}

void TMainController::Rename() {
    if (!BeginActiveDefinitionCommand()) {
        return;
    }
    TovSD* sd = SDs->getItems(ActiveDefinition());
    QString description;
    if (!RunAddRenameCopy(modeRename, sd->getDescription(), description)) {
        return;
    }
    sd->setDescription(description);
    ShowList();
    DF->setModified(true);
    UpdateDataFileStatus();
}

void TMainController::Copy() {
    if (!BeginActiveDefinitionCommand()) {
        return;
    }
    const int source = ActiveDefinition();
    const QString proposed = StrLeft(
        Format(UIT(txt::Copy_743), {SDs->getItems(source)->getDescription()}), kMaxDescription);
    QString description;
    if (!RunAddRenameCopy(modeCopy, proposed, description)) {
        return;
    }
    AppendDefinition({1520, QStringLiteral("MF012"), 1159}, description, source);
}

void TMainController::Delete() {
    if (!BeginActiveDefinitionCommand()) {
        return;
    }
    const int position = ActiveDefinition();
    if (!AskYesNo(
            QStringLiteral("MF010"),
            {UIT(txt::AreYouSureYouWish), QString(), SDs->getItems(position)->getDescription()},
            1156, 1157)) {
        return;
    }
    ChangeList({1517, QStringLiteral("MF011"), 1158}, true, [&] {
        SDs->Delete(position);
        const int count = SDs->getCount();
        SDs->setActiveSD(std::min(position, count));
        ShowList();
        if (count == 0) {
            EnableTabs(false);
            View.FocusPages();
        }
    });
}

void TMainController::MoveBy(int offset, const TListFailure& failure) {
    if (!ListEnabled) {
        return;
    }
    StoreTab(CurrentPageIndex);
    View.FocusList();
    const int position = ActiveDefinition();
    const int target = position + offset;
    if (position < 1 || target < 1 || target > DefinitionCount()) {
        return;
    }
    // The active definition moves with its tab's contents: the tab need not be loaded again.
    ChangeList(failure, false, [&] {
        if (!SDs->Swap(position, target)) {
            throw platform::Exception(QString());
        }
        SDs->setActiveSD(target);
        ShowList();
    });
}

void TMainController::MoveUp() {
    MoveBy(-1, {1518, QStringLiteral("MF013"), 1160});
}

void TMainController::MoveDown() {
    MoveBy(1, {1519, QStringLiteral("MF014"), 1161});
}

void TMainController::ChangeList(const TListFailure& failure, bool reloadTab,
                                 const std::function<void()>& change) {
    try {
        change();
        if (reloadTab) {
            LoadTab(CurrentPageIndex);
            RefreshTab(CurrentPageIndex);
        }
        UpdateDefinitionButtons();
        DF->setModified(true);
        UpdateDataFileStatus();
    } catch (const std::exception& error) {
        ReportListFailure(failure, DetailsOf(error));
        ResyncList();
    }
}

bool TMainController::AskYesNo(const QString& key, const QStringList& lines, int yesHint,
                               int noHint) {
    // Only Yes goes on: Esc and the close box answer No.
    return datafile::AskYesNo(key, lines, yesHint, noHint) == mrYes;
}
