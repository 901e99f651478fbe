#include "forms/tabs/Tab_DSM.h"

#include "controls/ovGrid.h"
#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "forms/tabs/TabGrids.h"
#include "forms/tabs/TabInputGuards.h"
#include "model/ovSD.h"
#include "platform/ScopeGuard.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The pop-up menu's Clear command has no entry in the text table.
const char* const kPopUpClearText = "Clear";

constexpr int kTitleHeight = 21;
constexpr int kButtonPanelHeight = 24;
constexpr int kNoteHeight = 21;
constexpr int kGutterWidth = 140;
constexpr int kHeaderHeight = 21;
constexpr int kDefaultColWidth = 160;
constexpr int kDefaultRowHeight = 24;
constexpr int kBrowseWidth = 30;
constexpr int kBrowseHeight = 24;
constexpr int kLettersMaxLength = 3;
constexpr int kDescMaxLength = 255;

QColor ColorOf(TColor value) {
    return QColor::fromRgba(platform::colorToArgb(value));
}

} // namespace

TTab_DSM::TTab_DSM(ITabHost& host, QWidget* parent) : TMainTabPage(host, parent) {
    BuildControls();
    SetupGrid();
    SetTexts();
    ConnectHandlers();
    Enable(false);
}

void TTab_DSM::BuildControls() {
    using namespace formmetrics;
    Pnl_DSM_T = new QLabel(this);
    Pnl_DSM_T->setFixedHeight(kTitleHeight);
    Pnl_DSM_T->setAutoFillBackground(true);
    QPalette title = Pnl_DSM_T->palette();
    title.setColor(QPalette::Window, ColorOf(clSkyBlue));
    Pnl_DSM_T->setPalette(title);

    SG_DSM = new TovGrid(this);
    BBtn_DSM_TaskFld_Browse = new QPushButton(QStringLiteral("..."), this);
    BBtn_DSM_TaskFld_Browse->setFixedSize(kBrowseWidth, kBrowseHeight);
    BBtn_DSM_TaskFld_Browse->setFocusPolicy(Qt::NoFocus);
    BBtn_DSM_TaskFld_Browse->hide();

    Pnl_DSM_BBtn = new QWidget(this);
    Pnl_DSM_BBtn->setFixedHeight(std::max(kButtonPanelHeight, BitButtonHeight()));
    SBtn_DSM_AutoSize = new QToolButton(Pnl_DSM_BBtn);
    SBtn_DSM_AutoSize->setCheckable(true);
    SBtn_DSM_AutoSize->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BBtn_DSM_UpdateTaskFldDesc = new QPushButton(Pnl_DSM_BBtn);
    SBtn_DSM_AutoSize->setFixedSize(ScaledWidth(80), SpeedButtonHeight());
    BBtn_DSM_UpdateTaskFldDesc->setFixedSize(ScaledWidth(190), BitButtonHeight());
    // The buttons keep the 8 pixels of the window's layout from the page's edges.
    auto* buttons = new QHBoxLayout(Pnl_DSM_BBtn);
    buttons->setContentsMargins(8, 0, 8, 0);
    buttons->setSpacing(8);
    buttons->addWidget(SBtn_DSM_AutoSize);
    buttons->addStretch(1);
    buttons->addWidget(BBtn_DSM_UpdateTaskFldDesc);

    Pnl_DSM_Note = new QWidget(this);
    Pnl_DSM_Note->setFixedHeight(kNoteHeight);
    Lbl_DSM_Note = new QLabel(Pnl_DSM_Note);
    auto* note = new QHBoxLayout(Pnl_DSM_Note);
    note->setContentsMargins(4, 0, 4, 0);
    note->addWidget(Lbl_DSM_Note);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Pnl_DSM_T);
    layout->addWidget(SG_DSM, 1);
    layout->addWidget(Pnl_DSM_BBtn);
    layout->addWidget(Pnl_DSM_Note);
}

void TTab_DSM::SetupGrid() {
    TovGrid& g = *SG_DSM;
    g.setColCount(3);
    g.setRowCount(TDSMRows::Count);
    g.setGutterKind(gkString);
    g.setGutterWidth(kGutterWidth);
    g.setHeaderHeight(kHeaderHeight);
    g.setDefaultColWidth(kDefaultColWidth);
    g.setDefaultRowHeight(kDefaultRowHeight);
    ApplyTabGridBehaviour(g);
    g.setSmoothHorScroll(false);
    g.setGutterImagePicture(StatusPicture(stError));

    g.setColEditor(1, ceBBtn);
    g.setColEditorControl(1, BBtn_DSM_TaskFld_Browse);
    g.setHeaderCellFontColor(1, clMaroon);
    g.setColMaxLength(1, kLettersMaxLength);
    g.setColMaxLength(2, kDescMaxLength);
    g.setColCanSelect(3, false);
    g.setColReadOnly(3, true);
    g.setColColor(3, g.getDisabledColor());
}

void TTab_DSM::SetTexts() {
    TovGrid& g = *SG_DSM;
    Pnl_DSM_T->setText(Framed(UIT(txt::DataSourceMap_160)));
    g.setHomeText(Framed(UIT(txt::TaskFieldName)));
    g.setHeaderCellText(1, Framed(UIT(txt::TaskField)));
    g.setHeaderCellText(2, Framed(UIT(txt::TaskFieldDescription)));
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        g.setGutterCellText(n, Framed(UIT(txt::BaselineStartDate + n - 1)));
    }
    g.setPopUpCutText(UIT(txt::Cut));
    g.setPopUpCopyText(UIT(txt::Copy));
    g.setPopUpPasteText(UIT(txt::Paste));
    g.setPopUpClearText(QLatin1String(kPopUpClearText));
    SBtn_DSM_AutoSize->setText(Framed(UIT(txt::AutoSize)));
    SBtn_DSM_AutoSize->setToolTip(UIT(txt::EnableToAutomaticallySizeDataSourceMapColumnWidths));
    BBtn_DSM_UpdateTaskFldDesc->setText(Framed(UIT(txt::UpdateTaskFieldDescriptions)));
    BBtn_DSM_UpdateTaskFldDesc->setToolTip(
        UIT(txt::UpdateTaskFieldDescriptionsForEachTaskField) + QLatin1Char('\n') +
        UIT(txt::UpdateTaskFieldDescriptionsForEachTaskField + 1));
    BBtn_DSM_TaskFld_Browse->setToolTip(UIT(txt::BrowseForDataSourceMap));
    Lbl_DSM_Note->setText(Framed(UIT(txt::NoteRequiredTaskFields)));

    // The smallest widths: three wide letters in column 1, the header in column 2.
    g.setCells(1, 1, QStringLiteral("WWW"));
    const int lettersWidth = g.CalcColMinWidths(1, true, false);
    g.setCells(1, 1, QString());
    g.setColMinWidths(1, lettersWidth);
    g.setColMinWidths(2, g.CalcColMinWidths(2, true, false));
}

void TTab_DSM::ConnectHandlers() {
    TovGrid* g = SG_DSM;
    connect(
        g, &TovGrid::OnFilterChar, this,
        [this](int col, int, QChar& key, const QRect& rect, bool& allowed, const QString& buffer) {
            GuardSlot([&] { FilterChar(col, key, rect, allowed, buffer); });
        },
        Qt::DirectConnection);
    connect(g, &TovGrid::OnCellChange, this, [this] { GuardSlot([this] { CellChanged(); }); });
    connect(g, &TovGrid::OnSelectCell, this, [this] { GuardSlot([this] { CellSelected(); }); });
    connect(g, &TovGrid::OnUserColWidthChanged, this,
            [this] { GuardSlot([this] { ColumnWidthChangedByUser(); }); });
    connect(BBtn_DSM_TaskFld_Browse, &QPushButton::clicked, this,
            [this] { GuardSlot([this] { BrowseTaskField(); }); });
    connect(SBtn_DSM_AutoSize, &QToolButton::clicked, this,
            [this] { GuardSlot([this] { AutoSizeClicked(); }); });
    connect(BBtn_DSM_UpdateTaskFldDesc, &QPushButton::clicked, this, [this] {
        GuardSlot([this] {
            Host.Balloon().Hide();
            Host.FocusPages();
            if (!Loading) {
                UpdateTaskFieldDescriptions();
            }
        });
    });
    g->installEventFilter(this);
}

bool TTab_DSM::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SG_DSM && event->type() == QEvent::FocusOut) {
        GuardSlot([this] { Host.Balloon().Hide(); });
    }
    return TMainTabPage::eventFilter(watched, event);
}

TovSD* TTab_DSM::ActiveDefinition() {
    if (SDs == nullptr || SDs->getActiveSD() < 1) {
        return nullptr;
    }
    return SDs->getItems(SDs->getActiveSD());
}

void TTab_DSM::Clear() {
    Loading = true;
    const platform::ScopeExit lowered([this] { Loading = false; });
    SG_DSM->ClearCells();
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        SG_DSM->setGutterImageVisible(n, false);
    }
}

void TTab_DSM::Enable(bool flag) {
    TabEnabled = flag;
    if (!flag) {
        Clear();
    }
    SG_DSM->setEnabled(flag);
    BBtn_DSM_TaskFld_Browse->setEnabled(flag);
    Lbl_DSM_Note->setEnabled(flag);
    SBtn_DSM_AutoSize->setEnabled(flag);
    BBtn_DSM_UpdateTaskFldDesc->setEnabled(flag);
    QPalette title = Pnl_DSM_T->palette();
    title.setColor(QPalette::WindowText, ColorOf(flag ? clWindowText : clGrayText));
    Pnl_DSM_T->setPalette(title);
}

void TTab_DSM::Load() {
    SBtn_DSM_AutoSize->setChecked(UP != nullptr && UP->getAutoSizeDSM());
    TovSD* sd = ActiveDefinition();
    if (!TabEnabled || sd == nullptr) {
        return;
    }
    Loading = true;
    const platform::ScopeExit lowered([this] { Loading = false; });
    const TDSMRows rows = dsm::Load(*sd);
    TovGrid& g = *SG_DSM;
    g.MoveToCell(1, 1);
    g.ClearCells();
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        g.setCells(1, n, rows.row(n).TaskFld);
        g.setCells(2, n, rows.row(n).TaskFldDesc);
    }
    g.AutoSizeGutter(true);
    if (AutoSizeDown()) {
        g.AutoSizeCols(true);
    }
    SBtn_DSM_AutoSize->setEnabled(g.getEnabled());
    BBtn_DSM_UpdateTaskFldDesc->setEnabled(g.getEnabled());
    FocusGrid();
}

void TTab_DSM::Refresh() {
    Host.Balloon().Hide();
    TovSD* sd = ActiveDefinition();
    if (!TabEnabled || sd == nullptr) {
        return;
    }
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        SG_DSM->setGutterCellFontColor(
            n, sd->DSM->getItems(n)->getTaskFldRequired() ? clMaroon : SG_DSM->getGridFontColor());
    }
    Validate(*sd);
}

void TTab_DSM::Validate(const TovSD& sd) {
    const TDSMMarks marks =
        dsm::Validate(RowsOnScreen(sd), sd.SCF->getDSF_DrivePathFilenameExtnXL());
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        const TDSMRowMark& mark = marks.at(static_cast<size_t>(n - 1));
        SG_DSM->setGutterImageHint(n, mark.Hint);
        SG_DSM->setGutterImageVisible(n, mark.Marked);
    }
}

void TTab_DSM::Store() {
    TovSD* sd = ActiveDefinition();
    if (!TabEnabled || sd == nullptr) {
        return;
    }
    // Each edit marked the data file already; a change that escaped that is marked here so that
    // it is not lost.
    if (dsm::Store(*sd, RowsOnScreen(*sd))) {
        Host.DataFileChanged();
    }
}

void TTab_DSM::GoToField(int fieldId, int rowId) {
    static constexpr int kFieldTaskField = 777;
    static constexpr int kFieldTaskFieldDesc = 778;
    if ((fieldId != kFieldTaskField && fieldId != kFieldTaskFieldDesc) || rowId < 1 ||
        rowId > TDSMRows::Count) {
        return;
    }
    SG_DSM->MoveToCell(fieldId == kFieldTaskField ? 1 : 2, rowId);
    FocusGrid();
}

TDSMRows TTab_DSM::RowsOnScreen(const TovSD& sd) const {
    TDSMRows rows;
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        const TovDSMx& entry = *sd.DSM->getItems(n);
        TDSMRow& row = rows.row(n);
        row.Name = entry.getName();
        row.Required = entry.getTaskFldRequired();
        row.TaskFld = SG_DSM->getCells(1, n);
        row.TaskFldDesc = SG_DSM->getCells(2, n);
    }
    return rows;
}

void TTab_DSM::FilterChar(int col, QChar& key, const QRect& screenCellRect, bool& allowed,
                          const QString& buffer) {
    Host.Balloon().Hide();
    const int maxLength = col == 1 ? kLettersMaxLength : col == 2 ? kDescMaxLength : 0;
    if (maxLength == 0) {
        return;
    }
    if (!buffer.isEmpty()) {
        // The guard takes the cell's rectangle in the grid's viewport.
        const QRect cellRect(SG_DSM->viewport()->mapFromGlobal(screenCellRect.topLeft()),
                             screenCellRect.size());
        Host.InputGuards().WarnMaxLengthSG(SG_DSM, key, maxLength, cellRect, allowed);
        if (!allowed || key.isNull()) {
            return;
        }
    }
    if (col != 1) {
        return;
    }
    const QChar letter = dsm::FilterLetter(key);
    if (letter.isNull()) {
        allowed = false;
        const TovSD* sd = ActiveDefinition();
        Host.Balloon().Show(dsm::InvalidLetterText(sd != nullptr
                                                       ? sd->SCF->getDSF_DrivePathFilenameExtnXL()
                                                       : QString()),
                            screenCellRect);
        return;
    }
    key = letter;
}

void TTab_DSM::CellChanged() {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    Refresh();
    Host.DataFileChanged();
}

void TTab_DSM::CellSelected() {
    Host.Balloon().Hide();
    if (!Loading && AutoSizeDown()) {
        SG_DSM->AutoSizeCols(true);
    }
}

void TTab_DSM::ColumnWidthChangedByUser() {
    SBtn_DSM_AutoSize->setChecked(false);
    if (UP != nullptr) {
        UP->setAutoSizeDSM(false);
        UP->Save();
    }
}

void TTab_DSM::AutoSizeClicked() {
    Host.Balloon().Hide();
    const bool down = AutoSizeDown();
    if (UP != nullptr) {
        UP->setAutoSizeDSM(down);
        UP->Save();
    }
    if (down) {
        SG_DSM->AutoSizeCols(true);
    }
}

bool TTab_DSM::AutoSizeDown() const {
    return SBtn_DSM_AutoSize->isChecked();
}

void TTab_DSM::FocusGrid() {
    if (SG_DSM->getEnabled()) {
        SG_DSM->setFocus();
    }
}
