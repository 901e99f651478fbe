// The controls of the Data Source Filter tab and their texts.
#include "forms/tabs/Tab_DSF.h"

#include "controls/ovGrid.h"
#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "forms/tabs/TabGrids.h"
#include "model/ovDSF.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Text numbers of the tab's captions.
constexpr int kHeaderIds[5] = {171, 172, 173, 174, 175};
constexpr int kPopUpIds[4] = {39, 40, 41, 186}; // Cut, Copy, Paste, Clear

constexpr int kTitleHeight = 21;
constexpr int kButtonPanelHeight = 54;

// A hint: its description and its shortcut text on the next line.
QString Hint(int description) {
    return UIT(description) + QLatin1Char('\n') + UIT(description + 1);
}

QString CssColor(TColor color) {
    return QStringLiteral("#%1").arg(platform::colorToArgb(color) & 0xFFFFFFu, 6, 16,
                                     QLatin1Char('0'));
}

} // namespace

void TTab_DSF::BuildControls() {
    using namespace formmetrics;

    Pnl_DSF_T = new QLabel(this);
    Pnl_DSF_T->setFixedHeight(kTitleHeight);
    Pnl_DSF_T->setAutoFillBackground(true);
    SetTitleEnabled(true);
    Img_DSF_T = new TStatusImage(Pnl_DSF_T);
    auto* titleLayout = new QHBoxLayout(Pnl_DSF_T);
    titleLayout->setContentsMargins(0, 0, 2, 0);
    titleLayout->addStretch(1);
    titleLayout->addWidget(Img_DSF_T);

    SG_DSF = new TovGrid(this);

    // The in-cell controls: hidden until the grid places them in the current cell.
    DDL_DSF_AndFlag = new QComboBox(this);
    DDL_DSF_FilterOperator = new QComboBox(this);
    for (QComboBox* list : {DDL_DSF_AndFlag, DDL_DSF_FilterOperator}) {
        list->setMaxVisibleItems(16);
        list->setEditable(false);
        list->hide();
        list->installEventFilter(this);
    }
    DDL_DSF_AndFlag->setFocusPolicy(Qt::ClickFocus);
    BBtn_DSF_TaskFld_Browse = new QPushButton(QStringLiteral("..."), this);
    BBtn_DSF_TaskFldValue_Browse = new QPushButton(QStringLiteral("..."), this);
    for (QPushButton* b : {BBtn_DSF_TaskFld_Browse, BBtn_DSF_TaskFldValue_Browse}) {
        b->setFixedSize(30, 24);
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
    }

    auto* buttons = new QWidget(this);
    buttons->setFixedHeight(kButtonPanelHeight);
    SBtn_DSF_Enable = new QToolButton(buttons);
    SBtn_DSF_Enable->setCheckable(true);
    SBtn_DSF_Enable->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BBtn_DSF_Insert = new QPushButton(buttons);
    BBtn_DSF_Delete = new QPushButton(buttons);
    BBtn_DSF_MoveUp = new QPushButton(buttons);
    BBtn_DSF_MoveDown = new QPushButton(buttons);
    BBtn_DSF_Refresh = new QPushButton(buttons);
    BBtn_DSF_Clear = new QPushButton(buttons);
    SBtn_DSF_AutoSize = new QToolButton(buttons);
    SBtn_DSF_AutoSize->setCheckable(true);
    SBtn_DSF_AutoSize->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BBtn_DSF_UpdateTaskFldDesc = new QPushButton(buttons);

    // The main window's button widths: Enable, Insert and Delete Row 100, Up and Down 60,
    // Refresh, Clear and Auto Size 80, Update 190; 8 pixels apart and from the page's edges.
    const int height = BitButtonHeight();
    SBtn_DSF_Enable->setFixedSize(ScaledWidth(100), SpeedButtonHeight());
    SBtn_DSF_AutoSize->setFixedSize(ScaledWidth(80), SpeedButtonHeight());
    const std::pair<QPushButton*, int> widths[] = {{BBtn_DSF_Insert, 100}, {BBtn_DSF_Delete, 100},
                                                   {BBtn_DSF_MoveUp, 60},  {BBtn_DSF_MoveDown, 60},
                                                   {BBtn_DSF_Refresh, 80}, {BBtn_DSF_Clear, 80}};
    for (const auto& [b, width] : widths) {
        b->setFixedSize(ScaledWidth(width), height);
    }
    BBtn_DSF_UpdateTaskFldDesc->setFixedSize(ScaledWidth(190), height);

    auto* firstRow = new QHBoxLayout();
    firstRow->setSpacing(8);
    firstRow->addWidget(SBtn_DSF_Enable);
    firstRow->addStretch(1);
    for (QPushButton* b : {BBtn_DSF_Insert, BBtn_DSF_Delete, BBtn_DSF_MoveUp, BBtn_DSF_MoveDown,
                           BBtn_DSF_Refresh, BBtn_DSF_Clear}) {
        firstRow->addWidget(b);
    }
    auto* secondRow = new QHBoxLayout();
    secondRow->setSpacing(8);
    secondRow->addWidget(SBtn_DSF_AutoSize);
    secondRow->addStretch(1);
    secondRow->addWidget(BBtn_DSF_UpdateTaskFldDesc);
    auto* buttonLayout = new QVBoxLayout(buttons);
    buttonLayout->setContentsMargins(8, 2, 8, 2);
    buttonLayout->setSpacing(2);
    buttonLayout->addLayout(firstRow);
    buttonLayout->addLayout(secondRow);

    // The notes wrap on a narrow page: the panel is as high as they are.
    auto* notes = new QWidget(this);
    Lbl_DSF_Note1 = new QLabel(notes);
    Lbl_DSF_Note1->setWordWrap(true);
    Lbl_DSF_Note2 = new QLabel(notes);
    Lbl_DSF_Note2->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(CssColor(clMaroon)));
    auto* noteLayout = new QVBoxLayout(notes);
    noteLayout->setContentsMargins(8, 2, 8, 2);
    noteLayout->setSpacing(1);
    noteLayout->addWidget(Lbl_DSF_Note1);
    noteLayout->addWidget(Lbl_DSF_Note2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Pnl_DSF_T);
    layout->addWidget(SG_DSF, 1);
    layout->addWidget(buttons);
    layout->addWidget(notes);

    ApplyTexts();
    SetupDSFGrid();
}

int TTab_DSF::WholeGridWidth() const {
    const TovGrid& g = *SG_DSF;
    int width = g.getGutterWidth() + 4 + 2 * g.frameWidth();
    for (int c = 1; c <= g.getColCount(); ++c) {
        width += g.CalcColMinWidths(c, true, true);
    }
    return width;
}

void TTab_DSF::SetTitleEnabled(bool enabled) {
    // Only the caption greys out: the status picture keeps its colours.
    Pnl_DSF_T->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: %2; }")
            .arg(CssColor(clSkyBlue), CssColor(enabled ? clWindowText : clGrayText)));
}

void TTab_DSF::ApplyTexts() {
    Pnl_DSF_T->setText(Framed(UIT(txt::DataSourceFilter_169)));
    SBtn_DSF_Enable->setText(Framed(UIT(txt::EnableFilter)));
    SBtn_DSF_Enable->setToolTip(UIT(txt::EnableDataSourceFilter));
    const std::pair<QPushButton*, int> rowButtons[] = {
        {BBtn_DSF_Insert, 181},   {BBtn_DSF_Delete, 182},  {BBtn_DSF_MoveUp, 183},
        {BBtn_DSF_MoveDown, 184}, {BBtn_DSF_Refresh, 185}, {BBtn_DSF_Clear, 186}};
    int hint = 976;
    for (const auto& [b, caption] : rowButtons) {
        b->setText(Framed(UIT(caption)));
        b->setToolTip(Hint(hint));
        hint += 2;
    }
    SBtn_DSF_AutoSize->setText(Framed(UIT(txt::AutoSize_187)));
    SBtn_DSF_AutoSize->setToolTip(UIT(txt::EnableToAutomaticallySizeDataSourceFilterColumnWidths));
    BBtn_DSF_UpdateTaskFldDesc->setText(Framed(UIT(txt::UpdateTaskFieldDescriptions_188)));
    BBtn_DSF_UpdateTaskFldDesc->setToolTip(Hint(989));
    Lbl_DSF_Note1->setText(Framed(UIT(txt::NoteIfDataSourceFilter)));
    Lbl_DSF_Note2->setText(Framed(UIT(txt::NoteRequiredFieldsAreShownInRed_190)));
    DDL_DSF_AndFlag->setToolTip(UIT(txt::SelectFilterCondition));
    BBtn_DSF_TaskFld_Browse->setToolTip(UIT(txt::BrowseForDataSourceFilter));
    DDL_DSF_FilterOperator->setToolTip(UIT(txt::SelectFilterOperator));
    BBtn_DSF_TaskFldValue_Browse->setToolTip(UIT(txt::BrowseForTaskFieldValue));

    DDL_DSF_AndFlag->addItems({TFilterGridModel::NoChoiceText(), TFilterGridModel::AndText(),
                               TFilterGridModel::OrText()});
    DDL_DSF_FilterOperator->addItem(TFilterGridModel::NoChoiceText());
    for (int op = 0; op < FilterOperatorCount; ++op) {
        DDL_DSF_FilterOperator->addItem(TFilterGridModel::OperatorText(static_cast<uint8_t>(op)));
    }
    DDL_DSF_AndFlag->setCurrentIndex(0);
    DDL_DSF_FilterOperator->setCurrentIndex(0);
}

void TTab_DSF::SetupDSFGrid() {
    TovGrid& g = *SG_DSF;
    g.setColCount(6);
    g.setRowCount(TFilterGridModel::RowCount);
    g.setGutterKind(gkNumber);
    g.setGutterWidth(40);
    g.setHeaderHeight(21);
    g.setDefaultColWidth(94);
    g.setDefaultRowHeight(24);
    ApplyTabGridBehaviour(g);
    g.setPopUpCutText(UIT(kPopUpIds[0]));
    g.setPopUpCopyText(UIT(kPopUpIds[1]));
    g.setPopUpPasteText(UIT(kPopUpIds[2]));
    g.setPopUpClearText(UIT(kPopUpIds[3]));
    g.setHomeText(Framed(UIT(txt::ID)));
    for (int c = 1; c <= 5; ++c) {
        g.setHeaderCellText(c, Framed(UIT(kHeaderIds[c - 1])));
    }
    g.setSmoothHorScroll(false);
    // The picture beside the number of a row that failed a check.
    g.setGutterImagePicture(StatusPicture(stError));

    // Row 1 joins nothing: its And/Or can be neither chosen nor typed.
    g.setCellCanSelect(fcAndOr, 1, false);
    g.setCellReadOnly(fcAndOr, 1, true);
    g.setCellColor(fcAndOr, 1, clBtnFace);
    for (int r = 2; r <= TFilterGridModel::RowCount; ++r) {
        g.setCellEditor(fcAndOr, r, ceDDL);
        g.setCellEditorControl(fcAndOr, r, DDL_DSF_AndFlag);
    }
    for (int c : {fcAndOr, fcTaskFld, fcOperator}) {
        g.setHeaderCellFontColor(c, clMaroon);
    }
    g.setColEditor(fcTaskFld, ceBBtn);
    g.setColEditorControl(fcTaskFld, BBtn_DSF_TaskFld_Browse);
    g.setColMaxLength(fcTaskFld, 3);
    g.setColMaxLength(fcTaskFldDesc, 255);
    g.setColEditor(fcOperator, ceDDL);
    g.setColEditorControl(fcOperator, DDL_DSF_FilterOperator);
    g.setColEditor(fcValue, ceBBtn);
    g.setColEditorControl(fcValue, BBtn_DSF_TaskFldValue_Browse);
    g.setColMaxLength(fcValue, 32767);
    g.setColCanSelect(6, false);
    g.setColReadOnly(6, true);
    g.setColColor(6, g.getDisabledColor());

    // The Task Field column is never narrower than three wide letters.
    g.setCells(fcTaskFld, 1, QStringLiteral("WWW"));
    g.setColMinWidths(fcTaskFld, g.CalcColMinWidths(fcTaskFld, true, false));
    g.setCells(fcTaskFld, 1, QString());
    // The lists' columns are never too narrow for their longest item ("Please Select...").
    for (int c : {fcAndOr, fcTaskFldDesc, fcOperator, fcValue}) {
        g.setColMinWidths(c, g.CalcColMinWidths(c, true, false));
    }
}
