#include "forms/tabs/Tab_PD.h"

#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "forms/tabs/TabInputGuards.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "services_ui/TextMetrics.h"

#include <QApplication>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using tabpd::TStatus;
using tabpd::TWorkbook;

namespace {

const QString kCRLF = QStringLiteral("\r\n");

// The page's three title fields as the configuration error list names them.
constexpr int kFieldProjectTitle = 744;
constexpr int kFieldProjectNumber = 745;
constexpr int kFieldProjectClient = 746;

// What each box shows: its label, and for the three edited boxes their hint.
struct TBoxInfo {
    int LabelId;
    int HintId; // 0: the box's hint is its whole text
};
constexpr std::array<TBoxInfo, TTab_PD::kBoxCount> kBoxes = {{
    {78, 914},
    {79, 916},
    {80, 918},
    {82, 0},
    {84, 0},
    {86, 0},
    {89, 0},
    {90, 0},
    {91, 0},
}};
constexpr int kEditedBoxCount = 3;
constexpr std::array<int, tabpd::kWorkbookCount> kOpenHints = {920, 921, 922};

constexpr size_t idx(TTab_PD::TBox box) {
    return static_cast<size_t>(box);
}
constexpr size_t idx(TWorkbook workbook) {
    return static_cast<size_t>(workbook);
}
constexpr size_t idx(TStatus status) {
    return static_cast<size_t>(status);
}

bool IsEdited(TTab_PD::TBox box) {
    return idx(box) < kEditedBoxCount;
}

QString PanelCaption(int textId) {
    return QStringLiteral("   ") + UIT(textId) + QLatin1Char(' ');
}

QString* DetailOf(tabpd::TValues& values, TTab_PD::TBox box) {
    switch (box) {
    case TTab_PD::TBox::ProjectTitle:
        return &values.ProjectTitle;
    case TTab_PD::TBox::ProjectNumber:
        return &values.ProjectNumber;
    case TTab_PD::TBox::ProjectClient:
        return &values.ProjectClient;
    default:
        return nullptr;
    }
}

const QString& MirrorOf(const tabpd::TValues& values, TTab_PD::TBox box) {
    switch (box) {
    case TTab_PD::TBox::DataSourcePath:
        return values.DataSourcePath;
    case TTab_PD::TBox::TemplatePath:
        return values.TemplatePath;
    case TTab_PD::TBox::OutputPath:
        return values.OutputPath;
    case TTab_PD::TBox::DataOptions:
        return values.DataOptions;
    case TTab_PD::TBox::QuantityOptions:
        return values.QuantityOptions;
    default:
        break;
    }
    return values.FilterDetails;
}

bool IsPathMirror(TTab_PD::TBox box) {
    return box == TTab_PD::TBox::DataSourcePath || box == TTab_PD::TBox::TemplatePath ||
           box == TTab_PD::TBox::OutputPath;
}

// The background of a box or picker: the window colour while usable, the button face else.
void SetFieldColour(QWidget* widget, bool enabled) {
    const QPalette application = QApplication::palette();
    QPalette palette = widget->palette();
    const QColor colour = application.color(enabled ? QPalette::Base : QPalette::Button);
    palette.setColor(QPalette::Active, QPalette::Base, colour);
    palette.setColor(QPalette::Inactive, QPalette::Base, colour);
    palette.setColor(QPalette::Disabled, QPalette::Base, colour);
    widget->setPalette(palette);
}

void SetCaptionColour(QLabel* caption, bool enabled) {
    const QPalette application = QApplication::palette();
    QPalette palette = caption->palette();
    const QColor colour = enabled ? application.color(QPalette::Active, QPalette::WindowText)
                                  : application.color(QPalette::Disabled, QPalette::WindowText);
    palette.setColor(QPalette::WindowText, colour);
    caption->setPalette(palette);
}

} // namespace

struct TTab_PD::Controls {
    std::array<QLabel*, 3> PanelCaptions{}; // Pnl_PD_T, Pnl_PD_M, Pnl_PD_B
    std::array<QLabel*, kBoxCount> Labels{};
    std::array<QLineEdit*, kBoxCount> Boxes{};
    std::array<QPushButton*, tabpd::kWorkbookCount> OpenButtons{};
    std::array<TStatusImage*, tabpd::kStatusCount> Images{};
    QLabel* Lbl_PD_CutOffDate = nullptr;
    QDateEdit* DTP_PD_CutOffDate = nullptr;
    QLabel* Lbl_PD_Note = nullptr;
};

TTab_PD::TTab_PD(ITabHost& host, QWidget* parent)
    : TMainTabPage(host, parent), C(std::make_unique<Controls>()) {
    CreateControls();
    LayOutControls();
    ConnectControls();
    Clear();
    Enable(false);
}

TTab_PD::~TTab_PD() = default;

void TTab_PD::CreateControls() {
    using namespace formmetrics;
    auto caption = [this](int textId) {
        auto* label = new QLabel(PanelCaption(textId), this);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFixedHeight(DlgTextHeight + 8);
        return label;
    };
    C->PanelCaptions = {caption(txt::ProjectDetails), caption(txt::SCurveFiles),
                        caption(txt::SCurveOptions)};

    for (int i = 0; i < kBoxCount; ++i) {
        const auto which = static_cast<TBox>(i);
        const TBoxInfo& info = kBoxes[static_cast<size_t>(i)];
        C->Labels[idx(which)] = new QLabel(Framed(UIT(info.LabelId)), this);
        auto* box = new QLineEdit(this);
        C->Boxes[idx(which)] = box;
        if (IsEdited(which)) {
            box->setToolTip(
                UIT(info.HintId) + kCRLF +
                platform::Format(UIT(txt::MaximumLengthCharacters), {tabpd::kMaxDetailLength}));
            Host.InputGuards().Attach(box, tabpd::kMaxDetailLength);
        } else {
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::ClickFocus); // no tab stop
        }
        box->installEventFilter(this);
    }
    C->Boxes[idx(TBox::ProjectTitle)]->setObjectName(QStringLiteral("TB_PD_ProjectTitle"));
    C->Boxes[idx(TBox::ProjectNumber)]->setObjectName(QStringLiteral("TB_PD_ProjectNumber"));
    C->Boxes[idx(TBox::ProjectClient)]->setObjectName(QStringLiteral("TB_PD_ProjectClient"));

    for (int i = 0; i < tabpd::kWorkbookCount; ++i) {
        auto* button = new QPushButton(this);
        button->setIcon(MainImageList().value(imgOpen));
        button->setToolTip(UIT(kOpenHints[static_cast<size_t>(i)]));
        button->setFixedSize(ScaledWidth(26), DlgTextHeight + DlgSmallBtnMargin);
        button->setFocusPolicy(Qt::TabFocus);
        C->OpenButtons[static_cast<size_t>(i)] = button;
    }
    for (int i = 0; i < tabpd::kStatusCount; ++i) {
        auto* image = new TStatusImage(this);
        image->installEventFilter(this);
        C->Images[static_cast<size_t>(i)] = image;
    }

    C->Lbl_PD_CutOffDate = new QLabel(Framed(UIT(txt::CutOffDate)), this);
    C->DTP_PD_CutOffDate = new QDateEdit(this);
    C->DTP_PD_CutOffDate->setCalendarPopup(true);
    C->DTP_PD_CutOffDate->setLocale(QLocale::c());
    C->DTP_PD_CutOffDate->setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    C->DTP_PD_CutOffDate->setDateRange(tabpd::MinimumDate(), tabpd::MaximumDate());
    C->DTP_PD_CutOffDate->setToolTip(UIT(txt::SelectDateAllTasksInProjectWereInspected));
    // At least as wide as the date and the pop-up button need in the desktop's style.
    C->DTP_PD_CutOffDate->setFixedWidth(
        std::max(ScaledWidth(100), C->DTP_PD_CutOffDate->sizeHint().width()));
    C->Lbl_PD_Note = new QLabel(Framed(UIT(txt::NoteCutOffDate)), this);
}

void TTab_PD::LayOutControls() {
    // One column of labels for the whole page: the edits start 8 pixels right of the widest.
    int labelWidth = C->Lbl_PD_CutOffDate->sizeHint().width();
    for (QLabel* label : C->Labels) {
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    }
    auto grid = [labelWidth]() {
        auto* layout = new QGridLayout();
        layout->setContentsMargins(8, 6, 8, 6);
        layout->setHorizontalSpacing(4);
        layout->setVerticalSpacing(6);
        layout->setColumnMinimumWidth(0, labelWidth + 4);
        layout->setColumnStretch(1, 1);
        layout->setColumnMinimumWidth(2, formmetrics::ScaledWidth(26));
        layout->setColumnMinimumWidth(3, 22);
        return layout;
    };
    auto addLabel = [](QGridLayout* layout, int row, QLabel* label) {
        layout->addWidget(label, row, 0, Qt::AlignVCenter | Qt::AlignLeft);
    };

    QGridLayout* details = grid();
    for (int row = 0; row < kEditedBoxCount; ++row) {
        addLabel(details, row, C->Labels[static_cast<size_t>(row)]);
        details->addWidget(C->Boxes[static_cast<size_t>(row)], row, 1, 1, 3);
    }

    QGridLayout* files = grid();
    for (int row = 0; row < tabpd::kWorkbookCount; ++row) {
        const size_t box = idx(TBox::DataSourcePath) + static_cast<size_t>(row);
        addLabel(files, row, C->Labels[box]);
        files->addWidget(C->Boxes[box], row, 1);
        files->addWidget(C->OpenButtons[static_cast<size_t>(row)], row, 2, Qt::AlignVCenter);
        files->addWidget(C->Images[static_cast<size_t>(row)], row, 3, Qt::AlignVCenter);
    }

    QGridLayout* options = grid();
    for (int row = 0; row < 3; ++row) {
        const size_t box = idx(TBox::DataOptions) + static_cast<size_t>(row);
        addLabel(options, row, C->Labels[box]);
        options->addWidget(C->Boxes[box], row, 1, 1, 2);
        options->addWidget(C->Images[idx(TStatus::DataOptions) + static_cast<size_t>(row)], row, 3,
                           Qt::AlignVCenter);
    }
    addLabel(options, 3, C->Lbl_PD_CutOffDate);
    options->addWidget(C->DTP_PD_CutOffDate, 3, 1, Qt::AlignLeft | Qt::AlignVCenter);

    auto* notePanel = new QFrame(this);
    notePanel->setFrameShape(QFrame::StyledPanel);
    notePanel->setFixedHeight(DlgTextHeight + 8);
    auto* noteLayout = new QHBoxLayout(notePanel);
    noteLayout->setContentsMargins(4, 0, 4, 0);
    noteLayout->addWidget(C->Lbl_PD_Note);
    noteLayout->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(C->PanelCaptions[0]);
    page->addLayout(details);
    page->addWidget(C->PanelCaptions[1]);
    page->addLayout(files);
    page->addWidget(C->PanelCaptions[2]);
    page->addLayout(options);
    page->addStretch(1);
    page->addWidget(notePanel);

    // Keyboard order: the three edited boxes, the Open buttons, the date.
    QWidget* previous = C->Boxes[0];
    for (QWidget* next :
         {static_cast<QWidget*>(C->Boxes[1]), static_cast<QWidget*>(C->Boxes[2]),
          static_cast<QWidget*>(C->OpenButtons[0]), static_cast<QWidget*>(C->OpenButtons[1]),
          static_cast<QWidget*>(C->OpenButtons[2]), static_cast<QWidget*>(C->DTP_PD_CutOffDate)}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void TTab_PD::ConnectControls() {
    for (int i = 0; i < kEditedBoxCount; ++i) {
        const auto which = static_cast<TBox>(i);
        connect(C->Boxes[idx(which)], &QLineEdit::textEdited, this,
                [this, which](const QString& t) {
                    GuardSlot([this, which, &t] { DetailEdited(which, t); });
                });
    }
    for (int i = 0; i < tabpd::kWorkbookCount; ++i) {
        const auto workbook = static_cast<TWorkbook>(i);
        connect(C->OpenButtons[idx(workbook)], &QPushButton::clicked, this,
                [this, workbook] { GuardSlot([this, workbook] { OpenClicked(workbook); }); });
    }
    connect(C->DTP_PD_CutOffDate, &QDateEdit::dateChanged, this,
            [this] { GuardSlot([this] { CutOffDateEdited(); }); });
}

// ---- Tab protocol ----

TovSD* TTab_PD::ActiveSD() {
    if (SDs == nullptr) {
        return nullptr;
    }
    const int active = SDs->getActiveSD();
    return active >= 1 && active <= SDs->getCount() ? SDs->getItems(active) : nullptr;
}

void TTab_PD::Clear() {
    Values = tabpd::TValues();
    Values.CutOffDate = Values.StoredCutOffDate = modelutil::ModelToday();
    HasDefinitionValues = false;
    ShowValues();
}

void TTab_PD::Enable(bool flag) {
    PageEnabled = flag;
    if (!flag) {
        Clear();
        for (TStatusImage* image : C->Images) {
            SetStatusImage(image, QString(), false);
        }
    }
    for (QLabel* label : C->Labels) {
        label->setEnabled(flag);
    }
    for (QLineEdit* box : C->Boxes) {
        box->setEnabled(flag);
    }
    for (QPushButton* button : C->OpenButtons) {
        button->setEnabled(flag);
    }
    TovSD* sd = ActiveSD();
    const bool cutOffDate = flag && sd != nullptr && tabpd::GeneratesAnyDataSet(*sd);
    C->Lbl_PD_CutOffDate->setEnabled(cutOffDate);
    C->DTP_PD_CutOffDate->setEnabled(cutOffDate);
    C->Lbl_PD_Note->setEnabled(cutOffDate);
    ApplyColours(flag, cutOffDate);
}

void TTab_PD::Load() {
    TovSD* sd = ActiveSD();
    if (!PageEnabled || sd == nullptr) {
        return;
    }
    Values = tabpd::Load(*sd);
    HasDefinitionValues = true;
    ShowValues();
}

void TTab_PD::Refresh() {
    Host.Balloon().Hide();
    TovSD* sd = ActiveSD();
    if (!PageEnabled || sd == nullptr) {
        return;
    }
    ApplyStates(tabpd::States(true, *sd));
    for (TBox which : {TBox::DataSourcePath, TBox::TemplatePath, TBox::OutputPath}) {
        C->Boxes[idx(which)]->setToolTip(
            tabpd::StoredPath(*sd, static_cast<TWorkbook>(idx(which) - idx(TBox::DataSourcePath))));
    }
    if (DV == nullptr) {
        return;
    }
    const tabpd::TStatusResults results = tabpd::Validate(*sd, *DV);
    for (int i = 0; i < tabpd::kStatusCount; ++i) {
        const tabpd::TStatusResult& result = results[static_cast<size_t>(i)];
        SetStatusImage(C->Images[static_cast<size_t>(i)], result.Message, result.IsError);
    }
}

void TTab_PD::Store() {
    TovSD* sd = ActiveSD();
    if (!PageEnabled || sd == nullptr || !HasDefinitionValues) {
        return;
    }
    if (tabpd::Store(Values, *sd)) {
        Host.DataFileChanged();
    }
}

void TTab_PD::GoToField(int fieldId, int /*rowId*/) {
    TBox which = TBox::ProjectTitle;
    switch (fieldId) {
    case kFieldProjectTitle:
        which = TBox::ProjectTitle;
        break;
    case kFieldProjectNumber:
        which = TBox::ProjectNumber;
        break;
    case kFieldProjectClient:
        which = TBox::ProjectClient;
        break;
    default:
        return;
    }
    QLineEdit* box = C->Boxes[idx(which)];
    box->selectAll();
    if (box->isEnabled()) {
        box->setFocus();
    }
}

// ---- Showing ----

void TTab_PD::ShowValues() {
    Loading = true;
    for (int i = 0; i < kEditedBoxCount; ++i) {
        const auto which = static_cast<TBox>(i);
        C->Boxes[idx(which)]->setText(*DetailOf(Values, which));
    }
    for (int i = kEditedBoxCount; i < kBoxCount; ++i) {
        ShowMirror(static_cast<TBox>(i));
    }
    C->DTP_PD_CutOffDate->setDate(tabpd::DateOfDay(Values.CutOffDate));
    Loading = false;
}

void TTab_PD::ShowMirror(TBox which) {
    QLineEdit* box = C->Boxes[idx(which)];
    const QString& text = MirrorOf(Values, which);
    const int width = box->width() - 8;
    box->setText(IsPathMirror(which) ? EllipsifyPath(text, box->font(), width)
                                     : EllipsifyText(text, box->font(), width));
    box->setCursorPosition(0);
    box->setToolTip(text);
}

void TTab_PD::ApplyStates(const tabpd::TStates& states) {
    for (int i = 0; i < tabpd::kWorkbookCount; ++i) {
        C->OpenButtons[static_cast<size_t>(i)]->setEnabled(
            states.OpenEnabled[static_cast<size_t>(i)]);
    }
    C->Lbl_PD_CutOffDate->setEnabled(states.CutOffDateEnabled);
    C->DTP_PD_CutOffDate->setEnabled(states.CutOffDateEnabled);
    C->Lbl_PD_Note->setEnabled(states.CutOffDateEnabled);
    SetFieldColour(C->DTP_PD_CutOffDate, states.CutOffDateEnabled);
}

void TTab_PD::ApplyColours(bool enabled, bool cutOffDateEnabled) {
    for (QLabel* caption : C->PanelCaptions) {
        SetCaptionColour(caption, enabled);
    }
    for (int i = 0; i < kEditedBoxCount; ++i) {
        SetFieldColour(C->Boxes[static_cast<size_t>(i)], enabled);
    }
    SetFieldColour(C->DTP_PD_CutOffDate, cutOffDateEnabled);
}

// ---- User actions ----

void TTab_PD::DetailEdited(TBox which, const QString& text) {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    *DetailOf(Values, which) = text;
    Host.DataFileChanged();
}

void TTab_PD::DetailExited(TBox which) {
    Host.Balloon().Hide();
    QLineEdit* box = C->Boxes[idx(which)];
    const QString trimmed = box->text().trimmed();
    // Setting the text also empties the box's undo history.
    box->setText(trimmed);
    *DetailOf(Values, which) = trimmed;
}

void TTab_PD::CutOffDateEdited() {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    Values.CutOffDate = tabpd::DayOfDate(C->DTP_PD_CutOffDate->date());
    Refresh();
    Host.DataFileChanged();
}

bool TTab_PD::BoxKeyDown(TBox which, QObject* watched, QEvent* event) {
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Host.Balloon().Hide();
        const int step = keyEvent->modifiers().testFlag(Qt::ShiftModifier) ? -1 : 1;
        const int next = static_cast<int>(which) + step;
        if (next >= 0 && next < kBoxCount) {
            C->Boxes[static_cast<size_t>(next)]->setFocus();
        }
        return true;
    }
    if (IsEdited(which)) {
        return false; // the input guards attached to the box take every other key
    }
    int keyCode = key;
    Host.InputGuards().KeyDownSelectAll(watched, keyCode, keyEvent->modifiers());
    return keyCode == 0;
}

void TTab_PD::StatusDoubleClicked(TStatus status) {
    Host.Balloon().Hide();
    TovSD* sd = ActiveSD();
    if (!PageEnabled || sd == nullptr) {
        return;
    }
    const tabpd::TFieldTarget target = tabpd::TargetOf(status, *sd);
    Host.GoToField(target.PageIndex, target.FieldId);
}

void TTab_PD::OpenClicked(TWorkbook workbook) {
    Host.Balloon().Hide();
    Host.FocusPages();
    if (TovSD* sd = ActiveSD()) {
        tabpd::OpenWorkbook(*sd, workbook);
    }
}

bool TTab_PD::eventFilter(QObject* watched, QEvent* event) {
    bool consumed = false;
    GuardSlot([&] {
        const auto box = std::find(C->Boxes.begin(), C->Boxes.end(), watched);
        if (box != C->Boxes.end()) {
            const auto which = static_cast<TBox>(box - C->Boxes.begin());
            switch (event->type()) {
            case QEvent::KeyPress:
                consumed = BoxKeyDown(which, watched, event);
                break;
            case QEvent::FocusOut:
                if (IsEdited(which)) {
                    DetailExited(which);
                }
                break;
            case QEvent::Resize:
                if (!IsEdited(which)) {
                    ShowMirror(which);
                }
                break;
            default:
                break;
            }
            return;
        }
        const auto image = std::find(C->Images.begin(), C->Images.end(), watched);
        if (image != C->Images.end() && event->type() == QEvent::MouseButtonDblClick) {
            StatusDoubleClicked(static_cast<TStatus>(image - C->Images.begin()));
            consumed = true;
        }
    });
    return consumed || TMainTabPage::eventFilter(watched, event);
}

// ---- Test access ----

QLineEdit* TTab_PD::box(TBox which) const {
    return C->Boxes[idx(which)];
}

QDateEdit* TTab_PD::cutOffDatePicker() const {
    return C->DTP_PD_CutOffDate;
}

QLabel* TTab_PD::cutOffDateNote() const {
    return C->Lbl_PD_Note;
}

QPushButton* TTab_PD::openButton(TWorkbook workbook) const {
    return C->OpenButtons[idx(workbook)];
}

TStatusImage* TTab_PD::statusImage(TStatus status) const {
    return C->Images[idx(status)];
}
