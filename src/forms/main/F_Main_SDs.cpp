// The main window's definition list panel: header, list and the six list buttons.
#include "forms/main/F_Main.h"

#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

using platform::Format;

namespace {

constexpr int kItemHeight = 20;

struct TListButtonEntry {
    const char* Name;
    int Text;
    int Image;
    int Hint;
    int ShortcutHint;
    int BaseWidth;
};

// In button order: Add, Rename, Copy (left column), Delete, Move Up, Move Down (right column).
constexpr TListButtonEntry kButtons[] = {
    {"BBtn_SDs_Add", 70, imgAddSD, 907, 0, 80},
    {"BBtn_SDs_Rename", 71, imgRenameSD, 908, 909, 80},
    {"BBtn_SDs_Copy", 73, imgCopy, 911, 0, 80},
    {"BBtn_SDs_Delete", 72, imgDeleteSD, 910, 0, 100},
    {"BBtn_SDs_MoveUp", 74, imgMoveUp, 912, 0, 100},
    {"BBtn_SDs_MoveDown", 75, imgMoveDown, 913, 0, 100},
};

} // namespace

QWidget* TUF_Main::BuildDefinitionPanel() {
    using namespace formmetrics;
    Pnl_SDs = new QWidget(this);
    HC_Model = new QStandardItemModel(0, 1, Pnl_SDs);
    HC_Model->setHeaderData(0, Qt::Horizontal,
                            Format(QStringLiteral(" %s "), {UIT(txt::KRVDefinitions)}));
    HC_SDs = new QHeaderView(Qt::Horizontal, Pnl_SDs);
    HC_SDs->setModel(HC_Model);
    HC_SDs->setStretchLastSection(true);
    HC_SDs->setSectionsClickable(false);
    HC_SDs->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HC_SDs->setFixedHeight(DlgTextHeight + 8);

    LB_SDs = new QListWidget(Pnl_SDs);
    LB_SDs->setObjectName(QStringLiteral("LB_SDs"));
    LB_SDs->setSelectionMode(QAbstractItemView::SingleSelection);
    LB_SDs->setUniformItemSizes(true);
    LB_SDs->setStyleSheet(QStringLiteral("QListWidget::item { height: %1px; }").arg(kItemHeight));
    connect(LB_SDs, &QListWidget::currentRowChanged, this,
            [this](int row) { GuardSlot([this, row] { Controller->ListClicked(row); }); });
    connect(LB_SDs, &QListWidget::itemDoubleClicked, this,
            [this] { GuardSlot([this] { BBtn_Process->click(); }); });

    Pnl_SD_Btns = new QWidget(Pnl_SDs);
    Pnl_SD_Btns->setFixedHeight(3 * BitButtonHeight());
    using Command = void (TMainController::*)();
    static constexpr Command kCommands[] = {&TMainController::Add,    &TMainController::Rename,
                                            &TMainController::Copy,   &TMainController::Delete,
                                            &TMainController::MoveUp, &TMainController::MoveDown};
    for (size_t i = 0; i < ListButtons.size(); ++i) {
        const TListButtonEntry& entry = kButtons[i];
        auto* button =
            new QPushButton(Format(QStringLiteral(" %s "), {UIT(entry.Text)}), Pnl_SD_Btns);
        button->setObjectName(QString::fromLatin1(entry.Name));
        button->setIcon(IL_Main_16.value(entry.Image));
        button->setToolTip(entry.ShortcutHint > 0
                               ? UIT(entry.Hint) + QLatin1Char('\n') + UIT(entry.ShortcutHint)
                               : UIT(entry.Hint));
        button->resize(ScaledWidth(entry.BaseWidth), BitButtonHeight());
        const Command command = kCommands[i];
        connect(button, &QPushButton::clicked, this,
                [this, command] { GuardSlot([this, command] { ((*Controller).*command)(); }); });
        ListButtons[i] = button;
    }

    auto* layout = new QVBoxLayout(Pnl_SDs);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(HC_SDs);
    layout->addWidget(LB_SDs, 1);
    layout->addWidget(Pnl_SD_Btns);
    return Pnl_SDs;
}

int TUF_Main::ListPanelMinimumWidth() const {
    using namespace formmetrics;
    return ScaledWidth(kButtons[lbAdd].BaseWidth) + ScaledWidth(kButtons[lbDelete].BaseWidth);
}

void TUF_Main::ArrangeListButtons() {
    using namespace formmetrics;
    const int width = Pnl_SD_Btns->width();
    const int add = ScaledWidth(kButtons[lbAdd].BaseWidth);
    const int del = ScaledWidth(kButtons[lbDelete].BaseWidth);
    const int left = add + std::max(0, width - add - del) / 2;
    const int height = BitButtonHeight();
    for (int row = 0; row < 3; ++row) {
        ListButtons[static_cast<size_t>(row)]->setGeometry(0, row * height, left, height);
        ListButtons[static_cast<size_t>(row + 3)]->setGeometry(left, row * height,
                                                               std::max(del, width - left), height);
    }
    HC_SDs->resizeSection(0, HC_SDs->width());
}

void TUF_Main::ShowDefinitions(const QStringList& items, int row) {
    const QSignalBlocker blocker(LB_SDs);
    LB_SDs->clear();
    LB_SDs->addItems(items);
    LB_SDs->setCurrentRow(row);
    LB_SDs->viewport()->update();
}

void TUF_Main::SetListEnabled(bool enabled) {
    LB_SDs->setEnabled(enabled);
}

void TUF_Main::FocusList() {
    if (LB_SDs->isEnabled()) {
        LB_SDs->setFocus();
    }
}

void TUF_Main::SetDefinitionButtons(const TDefinitionButtons& buttons) {
    ListButtons[lbAdd]->setEnabled(buttons.Add);
    ListButtons[lbRename]->setEnabled(buttons.Rename);
    ListButtons[lbCopy]->setEnabled(buttons.Copy);
    ListButtons[lbDelete]->setEnabled(buttons.Delete);
    ListButtons[lbMoveUp]->setEnabled(buttons.MoveUp);
    ListButtons[lbMoveDown]->setEnabled(buttons.MoveDown);
    LB_SDs->viewport()->update();
}

void TUF_Main::RepaintSDs() {
    LB_SDs->viewport()->repaint();
}
