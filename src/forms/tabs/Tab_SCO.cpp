#include "forms/tabs/Tab_SCO.h"

#include "controls/ovVLabel.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "forms/tabs/SCOPreview.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/ovUIL.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Day numbers count from this day.
const QDate kDayZero(1899, 12, 30);

QDate dateOfDay(int day) {
    return kDayZero.addDays(day);
}

int dayOfDate(const QDate& date) {
    return static_cast<int>(kDayZero.daysTo(date));
}

QString FramedText(int textId) {
    return Framed(UIT(textId));
}

QString Hint(int descriptionId, int shortcutId = 0) {
    return shortcutId == 0 ? UIT(descriptionId)
                           : UIT(descriptionId) + QLatin1Char('\n') + UIT(shortcutId);
}

QColor colorOf(TColor value) {
    return QColor::fromRgba(platform::colorToArgb(value));
}

// Colours of an enabled control; a disabled one keeps the desktop's disabled look.
void setColors(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, TColor color) {
    QPalette palette = widget->palette();
    const QColor c = colorOf(color);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role : roles) {
            palette.setColor(group, role, c);
        }
    }
    widget->setPalette(palette);
}

void setFontColor(QWidget* widget, TColor color) {
    setColors(widget, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, color);
}

void setFillColor(QWidget* widget, TColor color) {
    setColors(widget, {QPalette::Base, QPalette::Button}, color);
}

// An edit list shown as enabled (window colour, window text) or not (button face, grey text).
void showList(QComboBox* list, bool enabled) {
    list->setEnabled(enabled);
    setFillColor(list, enabled ? clWindow : clBtnFace);
    setFontColor(list, enabled ? clWindowText : clGrayText);
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, int textId, const char* name) {
    return named(new QLabel(FramedText(textId), parent), name);
}

QCheckBox* checkBox(QWidget* parent, int textId, const QString& hint, const char* name) {
    auto* box = named(new QCheckBox(FramedText(textId), parent), name);
    box->setToolTip(hint);
    return box;
}

QComboBox* quantityList(QWidget* parent, int firstItemId, const QString& hint, const char* name) {
    auto* list = named(new QComboBox(parent), name);
    list->addItems({UIT(firstItemId), UIT(firstItemId + 1)});
    list->setMaxVisibleItems(10);
    list->setToolTip(hint);
    return list;
}

// A framed panel with its caption and, when given, the status picture at the caption's right.
QFrame* captionPanel(QWidget* parent, QLabel* caption, QWidget* status, QLayout* content) {
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* head = new QHBoxLayout();
    head->addWidget(caption);
    head->addStretch(1);
    if (status != nullptr) {
        head->addWidget(status);
    }
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(head);
    layout->addLayout(content);
    return panel;
}

// A label with a control to its right.
QHBoxLayout* row(QWidget* left, QWidget* right) {
    auto* layout = new QHBoxLayout();
    layout->addWidget(left);
    layout->addWidget(right);
    layout->addStretch(1);
    return layout;
}

} // namespace

TTab_SCO::TTab_SCO(ITabHost& host, QWidget* parent)
    : TMainTabPage(host, parent),
      CB_SCO_GenerateBL(checkBox(this, 121, Hint(954, 955), "CB_SCO_GenerateBL")),
      CB_SCO_GenerateACT(checkBox(this, 122, Hint(956, 957), "CB_SCO_GenerateACT")),
      CB_SCO_GenerateTGT(checkBox(this, 123, Hint(958, 959), "CB_SCO_GenerateTGT")),
      Lbl_SCO_CutOffDate(label(this, 124, "Lbl_SCO_CutOffDate")),
      DTP_SCO_CutOffDate(named(new QDateEdit(this), "DTP_SCO_CutOffDate")),
      Lbl_SCO_CutOffDate_Note1(label(this, 125, "Lbl_SCO_CutOffDate_Note1")),
      Lbl_SCO_CutOffDate_Note2(label(this, 126, "Lbl_SCO_CutOffDate_Note2")),
      Lbl_SCO_CutOffDate_Note3(label(this, 127, "Lbl_SCO_CutOffDate_Note3")),
      CB_SCO_GraphMH(checkBox(this, 129, Hint(961, 962), "CB_SCO_GraphMH")),
      Lbl_SCO_MHQty(label(this, 130, "Lbl_SCO_MHQty")),
      DDL_SCO_MHQty(quantityList(this, 131, Hint(963), "DDL_SCO_MHQty")),
      CB_SCO_GraphCost(checkBox(this, 133, Hint(964, 965), "CB_SCO_GraphCost")),
      Lbl_SCO_CostQty(label(this, 134, "Lbl_SCO_CostQty")),
      DDL_SCO_CostQty(quantityList(this, 135, Hint(966), "DDL_SCO_CostQty")),
      Img_SCO_SCO(named(new TStatusImage(this), "Img_SCO_SCO")),
      Img_SCO_QAO(named(new TStatusImage(this), "Img_SCO_QAO")) {
    DTP_SCO_CutOffDate->setLocale(QLocale::c());
    DTP_SCO_CutOffDate->setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    DTP_SCO_CutOffDate->setCalendarPopup(true);
    DTP_SCO_CutOffDate->setDateRange(dateOfDay(static_cast<int>(TovSCO::MinCutOffDate)),
                                     dateOfDay(static_cast<int>(TovSCO::MaxCutOffDate)));
    DTP_SCO_CutOffDate->setToolTip(Hint(960));

    auto* right = named(new QWidget(this), "Pnl_SCO_R");
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(6);
    rightLayout->addWidget(BuildPreview(TSCOPreviewKind::SCurve));
    rightLayout->addWidget(BuildPreview(TSCOPreviewKind::Histogram));
    rightLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(BuildLeftPanel(), 0, Qt::AlignTop);
    layout->addWidget(right, 1, Qt::AlignTop);

    ConnectEdits();
    // Until the main window clears and enables the tab it shows the cleared, disabled state.
    State.Clear(modelutil::ModelToday());
    ShowState();
}

QWidget* TTab_SCO::BuildLeftPanel() {
    auto* left = named(new QWidget(this), "Pnl_SCO_L");
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(BuildDataOptions());
    layout->addWidget(BuildQuantityOptions());
    layout->addStretch(1);
    return left;
}

QWidget* TTab_SCO::BuildDataOptions() {
    Pnl_SCO_SCO = label(this, 120, "Pnl_SCO_SCO");
    auto* note = new QGridLayout();
    note->setContentsMargins(0, 0, 0, 0);
    note->setHorizontalSpacing(0);
    note->setVerticalSpacing(0);
    note->addWidget(Lbl_SCO_CutOffDate_Note1, 0, 0);
    note->addWidget(Lbl_SCO_CutOffDate_Note2, 0, 1);
    note->addWidget(Lbl_SCO_CutOffDate_Note3, 1, 1);
    note->setColumnStretch(2, 1);
    auto* content = new QVBoxLayout();
    content->addWidget(CB_SCO_GenerateBL);
    content->addWidget(CB_SCO_GenerateACT);
    content->addWidget(CB_SCO_GenerateTGT);
    content->addLayout(row(Lbl_SCO_CutOffDate, DTP_SCO_CutOffDate));
    content->addLayout(note);
    return captionPanel(this, Pnl_SCO_SCO, Img_SCO_SCO, content);
}

QWidget* TTab_SCO::BuildQuantityOptions() {
    Pnl_SCO_QAO = label(this, 128, "Pnl_SCO_QAO");
    // The two quantity lists start together, 8 pixels right of the wider of their labels, which
    // stand indented by a check mark's width under their check boxes.
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth);
    auto* content = new QGridLayout();
    content->setHorizontalSpacing(8);
    content->setVerticalSpacing(6);
    content->setColumnMinimumWidth(0, indent);
    content->addWidget(CB_SCO_GraphMH, 0, 0, 1, 3);
    content->addWidget(Lbl_SCO_MHQty, 1, 1);
    content->addWidget(DDL_SCO_MHQty, 1, 2, Qt::AlignLeft);
    content->addWidget(CB_SCO_GraphCost, 2, 0, 1, 3);
    content->addWidget(Lbl_SCO_CostQty, 3, 1);
    content->addWidget(DDL_SCO_CostQty, 3, 2, Qt::AlignLeft);
    content->setColumnStretch(3, 1);
    return captionPanel(this, Pnl_SCO_QAO, Img_SCO_QAO, content);
}

QWidget* TTab_SCO::BuildPreview(TSCOPreviewKind kind) {
    const bool sCurve = kind == TSCOPreviewKind::SCurve;
    TPreviewControls& preview = sCurve ? SCP : HGP;
    preview.Caption =
        label(this, sCurve ? 137 : 148, sCurve ? "Pnl_SCO_SCP_Preview" : "Pnl_SCO_HGP_Preview");
    preview.Picture = named(new TSCOPreview(kind, this), sCurve ? "Img_SCO_SCP" : "Img_SCO_HGP");
    preview.YAxis =
        named(new TovVLabel(this), sCurve ? "VLbl_SCO_SCP_YAxis" : "VLbl_SCO_HGP_YAxis");
    preview.XAxis = named(new QLabel(UIT(sCurve ? 142 : 153), this),
                          sCurve ? "Lbl_SCO_SCP_XAxis" : "Lbl_SCO_HGP_XAxis");
    preview.Legend = named(
        new QLabel(platform::Format(QStringLiteral(" %s: "), {UIT(sCurve ? 143 : 154)}), this),
        sCurve ? "Lbl_SCO_Legend_SC" : "Lbl_SCO_Legend_HG");

    // The legend's four entries stand in two rows beside its caption.
    auto* legend = new QGridLayout();
    legend->setHorizontalSpacing(0);
    legend->setVerticalSpacing(2);
    legend->addWidget(preview.Legend, 0, 0, Qt::AlignTop);
    for (int entry = 0; entry < kSCOLegendEntryCount; ++entry) {
        legend->addWidget(BuildLegendEntry(kind, static_cast<TSCOLegendEntry>(entry)), entry / 2,
                          1 + entry % 2, Qt::AlignTop | Qt::AlignLeft);
    }
    legend->setColumnStretch(3, 1);

    // The quantity axis title stands centred beside the picture, the time axis title below it.
    // The picture is never lower than the longest quantity axis title beside it.
    int longestTitle = 0;
    for (const bool manHours : {false, true}) {
        for (const bool cost : {false, true}) {
            preview.YAxis->setCaption(FramedText(scotab::AxisLabelOf(kind, manHours, cost).TextId));
            longestTitle = std::max(longestTitle, preview.YAxis->getTextWidth());
        }
    }
    preview.Picture->setMinimumHeight(
        std::max(preview.Picture->minimumSizeHint().height(), longestTitle + 2));
    auto* chart = new QGridLayout();
    chart->setHorizontalSpacing(2);
    chart->setVerticalSpacing(2);
    chart->addWidget(preview.YAxis, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    chart->addWidget(preview.Picture, 0, 1);
    chart->addWidget(preview.XAxis, 1, 1, Qt::AlignHCenter);
    chart->setColumnStretch(1, 1);
    auto* content = new QVBoxLayout();
    content->addLayout(chart);
    content->addLayout(legend);
    return captionPanel(this, preview.Caption, nullptr, content);
}

QWidget* TTab_SCO::BuildLegendEntry(TSCOPreviewKind kind, TSCOLegendEntry entry) {
    TPreviewControls& preview = kind == TSCOPreviewKind::SCurve ? SCP : HGP;
    auto* box = new QWidget(this);
    auto* caption = new QLabel(FramedText(scotab::LegendTextId(kind, entry)), box);
    auto* picture = new TSCOLegendPicture(kind, entry, box);
    static constexpr const char* kEntryCodes[kSCOLegendEntryCount] = {"BL", "ACT", "TGT", "COD"};
    const QString name = QLatin1String(kEntryCodes[entry]) +
                         QLatin1String(kind == TSCOPreviewKind::SCurve ? "_SC" : "_HG");
    caption->setObjectName(QStringLiteral("Lbl_SCO_Legend_") + name);
    picture->setObjectName(QStringLiteral("Img_SCO_Legend_") + name);
    preview.EntryLabels[static_cast<size_t>(entry)] = caption;
    preview.EntryPictures[static_cast<size_t>(entry)] = picture;
    // The sample sits under its label, inset by one blank on the left and spanning the text.
    caption->adjustSize();
    const QFontMetrics metrics(caption->font());
    const int blank = metrics.horizontalAdvance(QStringLiteral(" "));
    const int twoBlanks = metrics.horizontalAdvance(QStringLiteral("  "));
    const int sampleHeight = kind == TSCOPreviewKind::SCurve ? 4 : 6;
    caption->move(0, 0);
    picture->setGeometry(blank, caption->height(), std::max(1, caption->width() - twoBlanks),
                         sampleHeight);
    box->setFixedSize(caption->width(), caption->height() + sampleHeight + 2);
    return box;
}

void TTab_SCO::ConnectEdits() {
    const auto edit = [this] {
        GuardSlot([this] {
            Host.Balloon().Hide();
            if (!Loading) {
                UserEdit();
            }
        });
    };
    for (QCheckBox* box : {CB_SCO_GenerateBL, CB_SCO_GenerateACT, CB_SCO_GenerateTGT,
                           CB_SCO_GraphMH, CB_SCO_GraphCost}) {
        connect(box, &QCheckBox::toggled, this, edit);
    }
    connect(DTP_SCO_CutOffDate, &QDateEdit::dateChanged, this, edit);
    connect(DDL_SCO_MHQty, &QComboBox::currentIndexChanged, this, edit);
    connect(DDL_SCO_CostQty, &QComboBox::currentIndexChanged, this, edit);
}

bool TTab_SCO::DefinitionsExist() const {
    return SDs != nullptr && SDs->getCount() > 0;
}

TovSD* TTab_SCO::ActiveDefinition() const {
    if (SDs == nullptr || SDs->getActiveSD() < 1 || SDs->getActiveSD() > SDs->getCount()) {
        return nullptr;
    }
    return SDs->getItems(SDs->getActiveSD());
}

int TTab_SCO::previewCode(TSCOPreviewKind kind) const {
    return (kind == TSCOPreviewKind::SCurve ? SCP : HGP).Picture->getCode();
}

TSCOValues TTab_SCO::ReadControls() const {
    TSCOValues values;
    values.GenerateBL = CB_SCO_GenerateBL->isChecked();
    values.GenerateACT = CB_SCO_GenerateACT->isChecked();
    values.GenerateTGT = CB_SCO_GenerateTGT->isChecked();
    values.CutOffDate = dayOfDate(DTP_SCO_CutOffDate->date());
    values.GraphMH = CB_SCO_GraphMH->isChecked();
    values.MHQtyItem = DDL_SCO_MHQty->currentIndex();
    values.GraphCost = CB_SCO_GraphCost->isChecked();
    values.CostQtyItem = DDL_SCO_CostQty->currentIndex();
    return values;
}

void TTab_SCO::ShowValues(const TSCOValues& values) {
    CB_SCO_GenerateBL->setChecked(values.GenerateBL);
    CB_SCO_GenerateACT->setChecked(values.GenerateACT);
    CB_SCO_GenerateTGT->setChecked(values.GenerateTGT);
    DTP_SCO_CutOffDate->setDate(dateOfDay(values.CutOffDate));
    CB_SCO_GraphMH->setChecked(values.GraphMH);
    DDL_SCO_MHQty->setCurrentIndex(values.MHQtyItem);
    CB_SCO_GraphCost->setChecked(values.GraphCost);
    DDL_SCO_CostQty->setCurrentIndex(values.CostQtyItem);
}

void TTab_SCO::ShowState() {
    const bool wasLoading = Loading;
    Loading = true;
    ShowValues(State.values());
    const TSCOControlStates states = State.States(DefinitionsExist());

    for (QCheckBox* box : {CB_SCO_GenerateBL, CB_SCO_GenerateACT, CB_SCO_GenerateTGT}) {
        box->setEnabled(states.GenerateEnabled);
    }
    setFontColor(Pnl_SCO_SCO, states.GenerateEnabled ? clWindowText : clGrayText);

    for (QWidget* control : std::initializer_list<QWidget*>{
             Lbl_SCO_CutOffDate, DTP_SCO_CutOffDate, Lbl_SCO_CutOffDate_Note1,
             Lbl_SCO_CutOffDate_Note2, Lbl_SCO_CutOffDate_Note3}) {
        control->setEnabled(states.CutOffDateEnabled);
    }
    setFillColor(DTP_SCO_CutOffDate, states.CutOffDateEnabled ? clWindow : clBtnFace);

    CB_SCO_GraphMH->setEnabled(states.GraphEnabled);
    CB_SCO_GraphCost->setEnabled(states.GraphEnabled);
    setFontColor(Pnl_SCO_QAO, states.GraphEnabled ? clWindowText : clGrayText);
    Lbl_SCO_MHQty->setEnabled(states.MHQtyEnabled);
    showList(DDL_SCO_MHQty, states.MHQtyEnabled);
    Lbl_SCO_CostQty->setEnabled(states.CostQtyEnabled);
    showList(DDL_SCO_CostQty, states.CostQtyEnabled);

    ShowPreview(SCP, states.SCurve);
    ShowPreview(HGP, states.Histogram);
    ShowStatus();
    Loading = wasLoading;
}

void TTab_SCO::ShowPreview(TPreviewControls& preview, const TSCOPreviewState& state) {
    setFontColor(preview.Caption, state.Active ? clWindowText : clGrayText);
    preview.Picture->setCode(state.Code);
    preview.YAxis->setCaption(FramedText(state.Axis.TextId));
    preview.YAxis->setFontColor(state.Axis.FontColor);
    preview.YAxis->setEnabled(state.Active);
    preview.XAxis->setEnabled(state.Active);
    preview.Legend->setEnabled(state.Active);
    for (size_t entry = 0; entry < preview.EntryLabels.size(); ++entry) {
        const bool active = state.Active && state.Legend[entry];
        preview.EntryLabels[entry]->setEnabled(active);
        preview.EntryPictures[entry]->setActive(active);
    }
}

void TTab_SCO::ShowStatus() {
    if (!State.enabled() || DV == nullptr) {
        SetStatusImage(Img_SCO_SCO, QString(), false);
        SetStatusImage(Img_SCO_QAO, QString(), false);
        return;
    }
    const TSCOStatus status = scotab::Validate(State.values(), *DV);
    SetStatusImage(Img_SCO_SCO, status.DataOptionsHint, status.DataOptionsError);
    SetStatusImage(Img_SCO_QAO, status.QuantityOptionsHint, status.QuantityOptionsError);
}

void TTab_SCO::UserEdit() {
    const bool changed = State.Edit(ReadControls());
    ShowState();
    if (changed) {
        Host.DataFileChanged();
    }
}

void TTab_SCO::Clear() {
    State.Clear(modelutil::ModelToday());
    ShowState();
}

void TTab_SCO::Enable(bool flag) {
    State.Enable(flag, modelutil::ModelToday());
    ShowState();
}

void TTab_SCO::Load() {
    if (!State.enabled()) {
        return;
    }
    if (TovSD* definition = ActiveDefinition(); definition != nullptr) {
        State.Load(*definition->SCO);
        ShowState();
    }
}

void TTab_SCO::Refresh() {
    Host.Balloon().Hide();
    if (!State.enabled()) {
        return;
    }
    State.Refresh();
    ShowState();
}

void TTab_SCO::Store() {
    if (!State.enabled()) {
        return;
    }
    TovSD* definition = ActiveDefinition();
    if (definition != nullptr && State.Store(*definition)) {
        Host.DataFileChanged();
    }
}

void TTab_SCO::GoToField(int fieldId, int) {
    QWidget* control = nullptr;
    switch (scotab::FieldOfLabel(fieldId)) {
    case TSCOField::GenerateBL:
        control = CB_SCO_GenerateBL;
        break;
    case TSCOField::CutOffDate:
        control = DTP_SCO_CutOffDate;
        break;
    case TSCOField::GraphMH:
        control = CB_SCO_GraphMH;
        break;
    case TSCOField::MHQty:
        control = DDL_SCO_MHQty;
        break;
    case TSCOField::CostQty:
        control = DDL_SCO_CostQty;
        break;
    case TSCOField::None:
        break;
    }
    if (control != nullptr && control->isEnabled()) {
        control->setFocus();
    }
}
