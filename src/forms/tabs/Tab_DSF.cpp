// The Data Source Filter tab: loading, storing, validation and the editing handlers.
#include "forms/tabs/Tab_DSF.h"

#include "controls/ovGrid.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "forms/main/MainWindowKeys.h"
#include "forms/tabs/TabInputGuards.h"
#include "forms/tabs/TaskFieldSource.h"
#include "model/ovDSF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

using platform::Format;

namespace {

constexpr int kFieldIdTaskFld = 791;
constexpr int kFieldIdOperator = 793;
constexpr int kFieldIdValue = 794;

int ClampRow(int row) {
    return std::clamp(row, 1, TFilterGridModel::RowCount);
}

// The colour of the value header: a value is required (maroon), must stay blank (grey) or may
// be given (the window text).
TColor ValueHeaderColor(uint8_t op) {
    switch (op) {
    case foEquals:
    case foDoesNotEqual:
        return clWindowText;
    case foIsBlank:
    case foIsNotBlank:
        return clGrayText;
    default:
        return clMaroon;
    }
}

// The list item a cell's text stands for.
int ListItemOf(int col, const QString& text) {
    return col == fcAndOr ? TFilterGridModel::AndOrItemOf(text)
                          : TFilterGridModel::OperatorItemOf(text);
}

} // namespace

TTab_DSF::TTab_DSF(ITabHost& host, QWidget* parent) : TMainTabPage(host, parent) {
    BuildControls();

    connect(SG_DSF, &TovGrid::OnCellChange, this, [this](int col, int row, const QString&) {
        GuardSlot([&] { SG_DSFCellChange(col, row); });
    });
    connect(SG_DSF, &TovGrid::OnSelectCell, this,
            [this](int col, int row) { GuardSlot([&] { SG_DSFSelectCell(col, row); }); });
    connect(
        SG_DSF, &TovGrid::OnFilterChar, this,
        [this](int col, int, QChar& key, const QRect& rect, bool& allowed, const QString& buffer) {
            GuardSlot([&] { SG_DSFFilterChar(col, key, rect, allowed, buffer); });
        },
        Qt::DirectConnection);
    connect(SG_DSF, &TovGrid::OnUserColWidthChanged, this,
            [this](int) { GuardSlot([&] { SG_DSFUserColWidthChanged(); }); });
    SG_DSF->installEventFilter(this);

    // Only the user's choice counts: the grid sets the lists' index itself when it places them.
    connect(DDL_DSF_AndFlag, &QComboBox::activated, this,
            [this](int) { GuardSlot([&] { ListChoice(DDL_DSF_AndFlag, fcAndOr); }); });
    connect(DDL_DSF_FilterOperator, &QComboBox::activated, this,
            [this](int) { GuardSlot([&] { ListChoice(DDL_DSF_FilterOperator, fcOperator); }); });

    const std::pair<QAbstractButton*, void (TTab_DSF::*)()> handlers[] = {
        {SBtn_DSF_Enable, &TTab_DSF::SBtn_DSF_EnableClick},
        {SBtn_DSF_AutoSize, &TTab_DSF::SBtn_DSF_AutoSizeClick},
        {BBtn_DSF_TaskFld_Browse, &TTab_DSF::BBtn_DSF_TaskFld_BrowseClick},
        {BBtn_DSF_TaskFldValue_Browse, &TTab_DSF::BBtn_DSF_TaskFldValue_BrowseClick},
        {BBtn_DSF_Insert, &TTab_DSF::BBtn_DSF_InsertClick},
        {BBtn_DSF_Delete, &TTab_DSF::BBtn_DSF_DeleteClick},
        {BBtn_DSF_MoveUp, &TTab_DSF::BBtn_DSF_MoveUpClick},
        {BBtn_DSF_MoveDown, &TTab_DSF::BBtn_DSF_MoveDownClick},
        {BBtn_DSF_Refresh, &TTab_DSF::BBtn_DSF_RefreshClick},
        {BBtn_DSF_Clear, &TTab_DSF::BBtn_DSF_ClearClick},
        {BBtn_DSF_UpdateTaskFldDesc, &TTab_DSF::BBtn_DSF_UpdateTaskFldDescClick},
    };
    for (const auto& [b, handler] : handlers) {
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { GuardSlot([&] { (this->*handler)(); }); });
    }
    Enable(false);
}

TTab_DSF::~TTab_DSF() = default;

QAbstractButton* TTab_DSF::button(TButton which) const {
    switch (which) {
    case TButton::Enable:
        return SBtn_DSF_Enable;
    case TButton::Insert:
        return BBtn_DSF_Insert;
    case TButton::Delete:
        return BBtn_DSF_Delete;
    case TButton::MoveUp:
        return BBtn_DSF_MoveUp;
    case TButton::MoveDown:
        return BBtn_DSF_MoveDown;
    case TButton::Refresh:
        return BBtn_DSF_Refresh;
    case TButton::Clear:
        return BBtn_DSF_Clear;
    case TButton::AutoSize:
        return SBtn_DSF_AutoSize;
    case TButton::UpdateTaskFldDesc:
        return BBtn_DSF_UpdateTaskFldDesc;
    case TButton::TaskFldBrowse:
        return BBtn_DSF_TaskFld_Browse;
    case TButton::TaskFldValueBrowse:
        return BBtn_DSF_TaskFldValue_Browse;
    }
    return nullptr;
}

TovSD* TTab_DSF::ActiveSD() const {
    if (SDs == nullptr || SDs->getActiveSD() == 0) {
        return nullptr;
    }
    return SDs->getItems(SDs->getActiveSD());
}

QString TTab_DSF::DataSourcePath() const {
    const TovSD* sd = ActiveSD();
    return sd != nullptr ? sd->SCF->getDSF_DrivePathFilenameExtnXL() : QString();
}

TFilterGridModel TTab_DSF::gridState() const {
    TFilterGridModel model;
    for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
        for (int c = 1; c <= TFilterGridModel::ColCount; ++c) {
            model.setCell(c, r, SG_DSF->getCells(c, r), SG_DSF->getCellDDLItemIndex(c, r));
        }
    }
    return model;
}

void TTab_DSF::WriteGrid(const TFilterGridModel& model) {
    const bool wasLoading = Loading;
    Loading = true;
    for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
        for (int c = 1; c <= TFilterGridModel::ColCount; ++c) {
            const TFilterCell& cell = model.cell(c, r);
            if (SG_DSF->getCells(c, r) != cell.Text) {
                SG_DSF->setCells(c, r, cell.Text);
            }
            if (SG_DSF->getCellDDLItemIndex(c, r) != cell.ItemIndex) {
                SG_DSF->setCellDDLItemIndex(c, r, cell.ItemIndex);
            }
        }
    }
    // A list shown in the current cell shows what the cell now holds.
    const int col = SG_DSF->getCurrentCol();
    const int row = SG_DSF->getCurrentRow();
    QComboBox* list = col == fcAndOr      ? DDL_DSF_AndFlag
                      : col == fcOperator ? DDL_DSF_FilterOperator
                                          : nullptr;
    if (list != nullptr && list->isVisible() && row >= 1 && row <= TFilterGridModel::RowCount) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(ListItemOf(col, model.text(col, row)));
    }
    Loading = wasLoading;
}

void TTab_DSF::ChangeRows(const std::function<void(TFilterGridModel&)>& change, int refreshRow) {
    TFilterGridModel before = gridState();
    before.ClearNoChoice();
    TFilterGridModel after = before;
    change(after);
    WriteGrid(after);
    RefreshDSFRow(refreshRow > 0 ? refreshRow : SG_DSF->getCurrentRow());
    // The grid shows "Please Select..." in an empty list cell it places a list in: no change.
    after = gridState();
    after.ClearNoChoice();
    if (!after.SameTexts(before)) {
        Host.DataFileChanged();
    }
}

void TTab_DSF::FocusGrid() {
    if (SG_DSF->getEnabled()) {
        SG_DSF->setFocus();
    }
}

void TTab_DSF::Clear() {
    Loading = true;
    SG_DSF->ClearCells();
    for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
        SG_DSF->setGutterImageVisible(r, false);
        SG_DSF->setCellDDLItemIndex(fcAndOr, r, -1);
        SG_DSF->setCellDDLItemIndex(fcOperator, r, -1);
    }
    SBtn_DSF_Enable->setChecked(false);
    Loading = false;
}

void TTab_DSF::Enable(bool flag) {
    TabEnabled = flag;
    const TovSD* sd = ActiveSD();
    const bool filterOn = flag && sd != nullptr && sd->DSF->getEnabled() != 0;
    if (flag) {
        EnableDSFControls(filterOn);
    } else {
        Clear();
        SetStatusImage(Img_DSF_T, QString(), false);
        EnableDSFControls(false);
    }
    SBtn_DSF_Enable->setEnabled(flag);
    Lbl_DSF_Note1->setEnabled(flag);
    Lbl_DSF_Note2->setEnabled(flag);
    SetTitleEnabled(flag);
    SBtn_DSF_AutoSize->setEnabled(filterOn);
    BBtn_DSF_UpdateTaskFldDesc->setEnabled(filterOn);
}

void TTab_DSF::EnableDSFControls(bool enabled) {
    SG_DSF->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{
             DDL_DSF_AndFlag, DDL_DSF_FilterOperator, BBtn_DSF_TaskFld_Browse,
             BBtn_DSF_TaskFldValue_Browse, BBtn_DSF_Insert, BBtn_DSF_Delete, BBtn_DSF_Refresh,
             BBtn_DSF_Clear, BBtn_DSF_MoveDown}) {
        w->setEnabled(enabled);
    }
    BBtn_DSF_MoveUp->setEnabled(false);
}

void TTab_DSF::Load() {
    SBtn_DSF_AutoSize->setChecked(UP != nullptr && UP->getAutoSizeDSF());
    TovSD* sd = ActiveSD();
    if (!TabEnabled || sd == nullptr) {
        return;
    }
    Loading = true;
    const bool filterOn = sd->DSF->getEnabled() != 0;
    SBtn_DSF_Enable->setChecked(filterOn);
    EnableDSFControls(filterOn);
    SBtn_DSF_AutoSize->setEnabled(filterOn);
    BBtn_DSF_UpdateTaskFldDesc->setEnabled(filterOn);
    SG_DSF->MoveToCell(fcTaskFld, 1);
    TFilterGridModel model;
    model.Load(*sd->DSF);
    WriteGrid(model);
    SG_DSF->AutoSizeGutter(true);
    if (SBtn_DSF_AutoSize->isChecked()) {
        SG_DSF->AutoSizeCols(true);
    }
    FocusGrid();
    Loading = false;
}

void TTab_DSF::Refresh() {
    RefreshDSFRow(SG_DSF->getCurrentRow());
}

void TTab_DSF::RefreshDSFRow(int row) {
    Host.Balloon().Hide();
    if (!TabEnabled) {
        return;
    }
    row = ClampRow(row);
    Loading = true;
    TFilterGridModel model = gridState();
    model.ClearNoChoice();
    WriteGrid(model);
    if (SG_DSF->getEnabled()) {
        const uint8_t op = TovDSF::getFilterOperatorOfName(model.text(fcOperator, row).trimmed());
        SG_DSF->setHeaderCellFontColor(fcValue, ValueHeaderColor(op));
        BBtn_DSF_MoveUp->setEnabled(row != 1);
        BBtn_DSF_MoveDown->setEnabled(row != TFilterGridModel::RowCount);
        Loading = false;
        ValidateDSF();
    } else {
        // A filter that is off is not checked; its rows, complete or not, stay as they are.
        SetStatusImage(Img_DSF_T, QString(), false);
        for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
            SG_DSF->setGutterImageVisible(r, false);
        }
        BBtn_DSF_MoveUp->setEnabled(false);
        BBtn_DSF_MoveDown->setEnabled(false);
        Loading = false;
    }
}

void TTab_DSF::ValidateDSF() {
    if (DV == nullptr) {
        return;
    }
    const TFilterValidation v =
        gridState().Validate(*DV, DataSourcePath(), SBtn_DSF_Enable->isChecked());
    SetStatusImage(Img_DSF_T, v.TitleHint, v.TitleError);
    for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
        SG_DSF->setGutterImageHint(r, v.RowHints[static_cast<size_t>(r - 1)]);
        SG_DSF->setGutterImageVisible(r, v.RowMarked(r));
    }
}

void TTab_DSF::Store() {
    TovSD* sd = ActiveSD();
    if (!TabEnabled || sd == nullptr) {
        return;
    }
    TFilterGridModel model = gridState();
    model.ClearNoChoice();
    if (model.Store(*sd->DSF, SBtn_DSF_Enable->isChecked())) {
        Host.DataFileChanged();
    }
}

void TTab_DSF::PrepareProcess() {
    if (!TabEnabled || !SG_DSF->getEnabled()) {
        return;
    }
    // Only complete rows are processed: the grid shows what the run will use.
    TFilterGridModel model = gridState();
    model.ClearNoChoice();
    model.Compact();
    WriteGrid(model);
    SG_DSF->MoveToCell(fcTaskFld, 1);
    RefreshDSFRow(SG_DSF->getCurrentRow());
}

void TTab_DSF::GoToField(int fieldId, int rowId) {
    if (!SG_DSF->getEnabled()) {
        return;
    }
    int col = fcTaskFld;
    if (fieldId == kFieldIdOperator) {
        col = fcOperator;
    } else if (fieldId == kFieldIdValue) {
        col = fcValue;
    } else if (fieldId != kFieldIdTaskFld) {
        return;
    }
    FocusGrid();
    SG_DSF->MoveToCell(col, ClampRow(rowId));
}

// ---- Editing handlers ----

void TTab_DSF::SG_DSFCellChange(int col, int row) {
    Q_UNUSED(col);
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    // The grid tells only of real changes: a row that has its task field gets its defaults.
    TFilterGridModel model = gridState();
    model.FillDefaults(row);
    WriteGrid(model);
    RefreshDSFRow(row);
    Host.DataFileChanged();
}

void TTab_DSF::ListChoice(QComboBox* list, int col) {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    const int row = SG_DSF->getCurrentRow();
    if (row < 1 || (col == fcAndOr && row == 1)) {
        return;
    }
    const int item = list->currentIndex();
    // "Please Select..." is no choice: the cell is emptied.
    const QString text = item > 0 ? list->itemText(item) : QString();
    ChangeRows([&](TFilterGridModel& m) { m.setCell(col, row, text, item); }, row);
}

void TTab_DSF::SG_DSFSelectCell(int, int row) {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    RefreshDSFRow(row);
    if (SBtn_DSF_AutoSize->isChecked()) {
        SG_DSF->AutoSizeCols(true);
    }
}

void TTab_DSF::SG_DSFFilterChar(int col, QChar& key, const QRect& cellRect, bool& allowed,
                                const QString& buffer) {
    Host.Balloon().Hide();
    // The grid gives the caret's rectangle on the screen; the length guard takes it in the
    // viewport's coordinates.
    const QRect viewportRect(SG_DSF->viewport()->mapFromGlobal(cellRect.topLeft()),
                             cellRect.size());
    auto warnLength = [&](int maxLength) {
        if (!buffer.isEmpty()) {
            Host.InputGuards().WarnMaxLengthSG(SG_DSF, key, maxLength, viewportRect, allowed);
        }
    };
    switch (col) {
    case fcValue:
        warnLength(32767);
        break;
    case fcTaskFldDesc:
        warnLength(255);
        break;
    case fcTaskFld: {
        warnLength(3);
        if (!allowed || key.isNull()) {
            return;
        }
        const char16_t k = key.unicode();
        if (k >= u'a' && k <= u'z') {
            key = QChar(static_cast<char16_t>(k - u'a' + u'A'));
        }
        const char16_t upper = key.unicode();
        const bool letter = upper >= u'A' && upper <= u'Z';
        if (!letter && upper != 8 && upper != 13 && upper != 27) {
            allowed = false;
            const QString last = LastColumnLetters(DataSourcePath());
            Host.Balloon().Show(Format(UIT(txt::PleaseEnterValid), {UIT(txt::TaskField)}) +
                                    QLatin1Char('\n') +
                                    Format(UIT(txt::ValidRange_891), {QStringLiteral("A"), last}),
                                cellRect);
        }
        break;
    }
    default:
        break;
    }
}

void TTab_DSF::SG_DSFUserColWidthChanged() {
    SBtn_DSF_AutoSize->setChecked(false);
    if (UP != nullptr) {
        UP->setAutoSizeDSF(false);
        UP->Save();
    }
}

void TTab_DSF::SBtn_DSF_EnableClick() {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    const bool on = SBtn_DSF_Enable->isChecked();
    EnableDSFControls(on);
    if (on) {
        FocusGrid();
    } else {
        Host.FocusPages();
    }
    SBtn_DSF_AutoSize->setEnabled(on);
    BBtn_DSF_UpdateTaskFldDesc->setEnabled(on);
    RefreshDSFRow(SG_DSF->getCurrentRow());
    Host.DataFileChanged();
}

void TTab_DSF::SBtn_DSF_AutoSizeClick() {
    Host.Balloon().Hide();
    const bool down = SBtn_DSF_AutoSize->isChecked();
    if (UP != nullptr) {
        UP->setAutoSizeDSF(down);
        UP->Save();
    }
    if (down) {
        SG_DSF->AutoSizeCols(true);
    }
}

bool TTab_DSF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SG_DSF && event->type() == QEvent::FocusOut) {
        Host.Balloon().Hide();
        return false;
    }
    if ((watched != DDL_DSF_AndFlag && watched != DDL_DSF_FilterOperator) ||
        event->type() != QEvent::KeyPress) {
        return TMainTabPage::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    bool consumed = false;
    GuardSlot([&] {
        // Left and Right leave the list for the neighbouring cell; Tab and Enter as the main
        // window's dialogue keys do.
        TFilterListKeyMove move = TFilterListKeyMove::None;
        if (key->key() == Qt::Key_Left) {
            move = TFilterListKeyMove::PrevCell;
        } else if (key->key() == Qt::Key_Right) {
            move = TFilterListKeyMove::NextCell;
        } else {
            move = FilterListKeyMove(key->key(), key->modifiers(), SG_DSF->getMoveOnReturn());
        }
        if (move == TFilterListKeyMove::None) {
            return;
        }
        consumed = true;
        if (!SG_DSF->getEnabled()) {
            return;
        }
        SG_DSF->setFocus();
        if (move == TFilterListKeyMove::PrevCell) {
            SG_DSF->MovePrevCell();
        } else {
            SG_DSF->MoveNextCell();
        }
    });
    return consumed;
}
