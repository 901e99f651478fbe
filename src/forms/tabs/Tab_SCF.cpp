#include "forms/tabs/Tab_SCF.h"

#include "forms/ServiceAdapters.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "model/ModelPrefs.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/ScopeGuard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

TTab_SCF::TTab_SCF(ITabHost& host, QWidget* parent)
    : TMainTabPage(host, parent), DesktopFileDialogs(std::make_unique<TQtFileDialogs>()) {
    FileDialogs = DesktopFileDialogs.get();
    BuildControls();
    ConnectControls();
    ArrangeControls();
}

TTab_SCF::~TTab_SCF() = default;

TSCFBoxes TTab_SCF::Boxes() const {
    TSCFBoxes boxes;
    for (int i = 0; i < SCFBoxCount; ++i) {
        boxes.Text[static_cast<size_t>(i)] = BoxOf[static_cast<size_t>(i)]->text();
    }
    return boxes;
}

TovSD* TTab_SCF::ActiveSD() const {
    if (SDs == nullptr) {
        return nullptr;
    }
    const int active = SDs->getActiveSD();
    return active >= 1 && active <= SDs->getCount() ? SDs->getItems(active) : nullptr;
}

void TTab_SCF::Clear() {
    Loading = true;
    const platform::ScopeExit loaded([this] { Loading = false; });
    for (QLineEdit* edit : BoxOf) {
        edit->clear();
    }
    Edited = {};
    if (TovSD* sd = ActiveSD()) {
        sd->ResetWSL(1);
        sd->ResetWSL(2);
        sd->ResetFL();
        sd->ResetVL();
    }
}

void TTab_SCF::Enable(bool flag) {
    Enabled = flag;
    if (!flag) {
        Clear();
        for (TStatusImage* picture : PictureOf) {
            SetStatusImage(picture, QString(), false);
        }
    }
    setEnabled(flag);
}

void TTab_SCF::Load() {
    TovSD* sd = ActiveSD();
    if (!Enabled || sd == nullptr) {
        return;
    }
    Loading = true;
    const platform::ScopeExit loaded([this] { Loading = false; });
    // The stored values as they are: a wrong extension is reported, not repaired, until the
    // user edits the path.
    const TSCFBoxes boxes = scfmodel::Load(*sd->SCF);
    for (int i = 0; i < SCFBoxCount; ++i) {
        BoxOf[static_cast<size_t>(i)]->setText(boxes.Text[static_cast<size_t>(i)]);
    }
    Edited = {};
}

void TTab_SCF::Refresh() {
    Host.Balloon().Hide();
    if (!Enabled) {
        return;
    }
    const TSCFBoxes boxes = Boxes();
    const IModelPrefs* prefs = ModelPrefs();
    const TSCFStates states =
        scfmodel::States(boxes, prefs->getTemplateDPFE(), prefs->getDefaultOFFolder());
    for (int w = 0; w < SCFWorkbookCount; ++w) {
        const auto workbook = static_cast<size_t>(w);
        OpenOf[workbook]->setEnabled(states.OpenEnabled[workbook]);
        BoxOf[WorkbookRole(static_cast<TSCFWorkbook>(w)).PathBox]->setToolTip(
            states.PathHint[workbook]);
    }
    BBtn_SCF_TF_DrivePathFileNameExtn_Default->setToolTip(states.TemplateDefaultHint);
    BBtn_SCF_OF_DrivePathFileNameExtn_Default->setToolTip(states.OutputDefaultHint);
    if (DV != nullptr) {
        ShowStatuses(scfmodel::Validate(boxes, *DV));
    }
}

void TTab_SCF::ShowStatuses(const TSCFStatuses& statuses) {
    for (int p = 0; p < SCFPictureCount; ++p) {
        const TSCFStatus& status = statuses[static_cast<size_t>(p)];
        SetStatusImage(PictureOf[static_cast<size_t>(p)], status.Message, status.Error);
    }
}

void TTab_SCF::Store() {
    TovSD* sd = ActiveSD();
    if (!Enabled || sd == nullptr) {
        return;
    }
    Loading = true;
    const platform::ScopeExit loaded([this] { Loading = false; });
    TSCFBoxes boxes = Boxes();
    bool repaired = false;
    if (DV != nullptr) {
        const auto changed = scfmodel::RepairExtensions(boxes, Edited, *DV);
        for (int i = 0; i < SCFBoxCount; ++i) {
            if (changed[static_cast<size_t>(i)]) {
                const auto box = static_cast<TSCFBox>(i);
                BoxOf[box]->setText(boxes[box]);
                // A repaired path names another workbook than the one the lists were read from.
                scfmodel::ResetCaches(*sd, scfmodel::ChangeEffect(box));
                repaired = true;
            }
        }
    }
    Edited = {};
    if (scfmodel::Store(boxes, *sd->SCF) || repaired) {
        Host.DataFileChanged();
    }
}

void TTab_SCF::GoToField(int fieldId, int) {
    const TSCFBox box = scfmodel::BoxOfField(fieldId);
    if (box == SCFBoxCount) {
        return;
    }
    QLineEdit* edit = BoxOf[box];
    edit->selectAll();
    if (edit->isEnabled()) {
        edit->setFocus();
    }
}

bool TTab_SCF::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(BoxOf.begin(), BoxOf.end(), watched);
    if (found == BoxOf.end()) {
        return TMainTabPage::eventFilter(watched, event);
    }
    const auto box = static_cast<TSCFBox>(found - BoxOf.begin());
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const bool backwards = key->modifiers().testFlag(Qt::ShiftModifier);
            GuardSlot([&] { MoveFocus(box, backwards); });
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving the box for another control of the window, not the window being left.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            GuardSlot([&] { BoxExited(box); });
        }
    }
    return false;
}
