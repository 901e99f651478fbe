#include "forms/browse/BrowseBase.h"

#include "forms/SlotGuard.h"
#include "services/MainWindow.h"
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/ovAD.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "services_ui/Splash.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowGeometry.h"
#include "services_ui/WorkArea.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

TovWM* slotOf(int slot) {
    return WMs != nullptr ? &WMs->getItems(slot) : nullptr;
}

} // namespace

TUF_BrowseBase::TUF_BrowseBase(const TListWindowKind& kind, QWidget* parent)
    : QDialog(parent), Kind(kind), HC(new QHeaderView(Qt::Horizontal, this)),
      LB(kind.ErrorWindow ? new QListWidget(this) : new QListView(this)),
      Rows(new TListRowDelegate(HC, this)), Pnl_BBtn(new QWidget(this)),
      SBtn_AutoSize(new QToolButton(Pnl_BBtn)), SB(new QWidget(this)) {
    SplashStatus(Kind.InitTextId);
    Qt::WindowFlags flags =
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (Kind.ErrorWindow) {
        flags |=
            Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint;
    }
    setWindowFlags(flags);
    setSizeGripEnabled(false);

    HC->setModel(new QStandardItemModel(0, 0, HC));
    HC->setSectionsClickable(false);
    HC->setHighlightSections(false);
    HC->setStretchLastSection(false);
    HC->setSectionResizeMode(QHeaderView::Interactive);
    HC->setMinimumSectionSize(0);
    HC->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Rows->setCellText([this](int row, int column) { return cellText(row, column); });
    Rows->setRowEnabled([this](int row) { return rowEnabled(row); });
    if (!Kind.ErrorWindow) {
        // Long lists (tens of thousands of values) are held as one string list, not as an item
        // object per row.
        Keys = new QStringListModel(this);
        LB->setModel(Keys);
    }
    LB->setItemDelegate(Rows);
    LB->setSelectionMode(QAbstractItemView::SingleSelection);
    LB->setUniformItemSizes(true);
    LB->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LB->setEditTriggers(QAbstractItemView::NoEditTriggers);

    SBtn_AutoSize->setCheckable(true);
    SBtn_AutoSize->setAutoRaise(true);
    if (Kind.GetAutoAlign != nullptr) {
        SBtn_AutoAlign = new QToolButton(Pnl_BBtn);
        SBtn_AutoAlign->setCheckable(true);
        SBtn_AutoAlign->setAutoRaise(true);
    }
    if (Kind.HasRefresh) {
        BBtn_Refresh = new QPushButton(Pnl_BBtn);
    }
    if (!Kind.ErrorWindow) {
        BBtn_Select = new QPushButton(Pnl_BBtn);
        BBtn_Select->setDefault(true);
    }
    BBtn_Cancel = new QPushButton(Pnl_BBtn);
    for (QPushButton* button : {BBtn_Refresh, BBtn_Select, BBtn_Cancel}) {
        if (button != nullptr) {
            button->setAutoDefault(false);
        }
    }

    auto* status = new QHBoxLayout(SB);
    status->setContentsMargins(0, 0, 0, 0);
    status->setSpacing(2);
    status->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(HC);
    layout->addWidget(LB, 1);
    layout->addWidget(Pnl_BBtn);
    layout->addWidget(SB);

    for (const auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(LB->model(), signal, this, [this] { MeasuredWidths.clear(); });
    }
    connect(LB->model(), &QAbstractItemModel::modelReset, this, [this] { MeasuredWidths.clear(); });
    connect(HC, &QHeaderView::sectionResized, this,
            [this] { GuardSlot([&] { LB->viewport()->update(); }); });
    connect(LB, &QAbstractItemView::doubleClicked, this,
            [this] { GuardSlot([&] { ListDoubleClick(); }); });
    connect(LB, &QAbstractItemView::clicked, this, [this] { GuardSlot([&] { listClicked(); }); });
    connect(LB->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { GuardSlot([&] { listClicked(); }); });
    connect(SBtn_AutoSize, &QToolButton::clicked, this,
            [this] { GuardSlot([&] { AutoSizeClick(); }); });
    if (SBtn_AutoAlign != nullptr) {
        connect(SBtn_AutoAlign, &QToolButton::clicked, this,
                [this] { GuardSlot([&] { AutoAlignClick(); }); });
    }
    if (BBtn_Refresh != nullptr) {
        connect(BBtn_Refresh, &QPushButton::clicked, this,
                [this] { GuardSlot([&] { RefreshClick(); }); });
    }
    if (BBtn_Select != nullptr) {
        connect(BBtn_Select, &QPushButton::clicked, this,
                [this] { GuardSlot([&] { SelectClick(); }); });
    }
    connect(BBtn_Cancel, &QPushButton::clicked, this,
            [this] { GuardSlot([&] { CancelClick(); }); });

    ApplyCreationGeometry();
    LoadToggles();
    QFont font = this->font();
    ApplyIconTitleFont(font);
    setFont(font);
    ScaleControls();
    SetMinimumSize();
}

TUF_BrowseBase::~TUF_BrowseBase() {
    // The list outlives this part of the window while QWidget deletes its children: its
    // signals must no longer reach the members' handlers.
    LB->model()->disconnect(this);
    LB->selectionModel()->disconnect(this);
    LB->disconnect(this);
    HC->disconnect(this);
}

void TUF_BrowseBase::ApplyCreationGeometry() {
    TovWM* slot = slotOf(Kind.Slot);
    if (slot == nullptr) {
        resize(Kind.DefaultWidth, Kind.DefaultHeight);
        return;
    }
    slot->setDefaultWidth(Kind.DefaultWidth);
    slot->setDefaultHeight(Kind.DefaultHeight);
    ++Placing;
    setMinimumSize(Kind.CreationMinimum);
    ApplyWindowGeometry(*slot, this, true);
    --Placing;
    ProgramGeometry.expect(geometry());
    WMs->Save(Kind.Slot);
}

void TUF_BrowseBase::LoadToggles() {
    Updating = true;
    if (UP != nullptr) {
        SBtn_AutoSize->setChecked((UP->*Kind.GetAutoSize)());
        if (SBtn_AutoAlign != nullptr) {
            SBtn_AutoAlign->setChecked((UP->*Kind.GetAutoAlign)());
        }
    }
    Updating = false;
}

void TUF_BrowseBase::setSections(const QStringList& texts) {
    auto* model = static_cast<QStandardItemModel*>(HC->model());
    model->setColumnCount(static_cast<int>(texts.size()));
    QStringList framed;
    for (const QString& text : texts) {
        framed << FramedCell(text);
    }
    model->setHorizontalHeaderLabels(framed);
    MeasuredWidths.clear();
}

void TUF_BrowseBase::setKeys(const QStringList& keys, int selected) {
    if (Keys == nullptr) {
        return;
    }
    Keys->setStringList(keys);
    if (selected >= 0 && selected < keys.size()) {
        selectRow(selected);
    } else if (!keys.isEmpty()) {
        selectRow(0);
    }
}

void TUF_BrowseBase::setStatusTexts(const QStringList& texts) {
    auto* layout = static_cast<QHBoxLayout*>(SB->layout());
    while (StatusPanels.size() < static_cast<size_t>(texts.size())) {
        auto* panel = new QLabel(SB);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        layout->insertWidget(static_cast<int>(StatusPanels.size()), panel);
        StatusPanels.push_back(panel);
    }
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i]->setText(i < static_cast<size_t>(texts.size())
                                     ? FramedCell(texts.at(static_cast<int>(i)))
                                     : QString());
    }
}

QStringList TUF_BrowseBase::statusTextsForTest() const {
    QStringList texts;
    for (const QLabel* panel : StatusPanels) {
        texts << panel->text();
    }
    return texts;
}

std::vector<int> TUF_BrowseBase::sectionWidthsForTest() const {
    std::vector<int> widths;
    for (int s = 0; s < HC->count(); ++s) {
        widths.push_back(HC->sectionSize(s));
    }
    return widths;
}

QString TUF_BrowseBase::cellTextForTest(int row, int column) const {
    return FramedCell(cellText(row, column));
}

bool TUF_BrowseBase::selectEnabledForTest() const {
    return BBtn_Select != nullptr && BBtn_Select->isEnabled();
}

void TUF_BrowseBase::setListHint(const QString& hint) {
    LB->setToolTip(hint);
}

void TUF_BrowseBase::setButtonHints(const QString& autoSize, const QString& autoAlign,
                                    const QString& refresh, const QString& select,
                                    const QString& cancel) {
    SBtn_AutoSize->setToolTip(autoSize);
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setToolTip(autoAlign);
    }
    if (BBtn_Refresh != nullptr) {
        BBtn_Refresh->setToolTip(refresh);
    }
    if (BBtn_Select != nullptr) {
        BBtn_Select->setToolTip(select);
    }
    BBtn_Cancel->setToolTip(cancel);
}

void TUF_BrowseBase::setButtonCaptions(const QString& autoSize, const QString& autoAlign,
                                       const QString& refresh, const QString& select,
                                       const QString& cancel) {
    SBtn_AutoSize->setText(FramedCell(autoSize));
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setText(FramedCell(autoAlign));
    }
    if (BBtn_Refresh != nullptr) {
        BBtn_Refresh->setText(FramedCell(refresh));
    }
    if (BBtn_Select != nullptr) {
        BBtn_Select->setText(FramedCell(select));
    }
    BBtn_Cancel->setText(FramedCell(cancel));
}

void TUF_BrowseBase::setSelectEnabled(bool enabled) {
    if (BBtn_Select != nullptr) {
        BBtn_Select->setEnabled(enabled);
    }
}

void TUF_BrowseBase::addDescriptionPanel(QWidget* panel, int height) {
    Pnl_Desc = panel;
    DescHeight = height;
    panel->setFixedHeight(height);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(layout->indexOf(Pnl_BBtn), panel);
    SetMinimumSize();
}

int TUF_BrowseBase::selectedRow() const {
    const QModelIndex current = LB->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TUF_BrowseBase::selectRow(int row) {
    LB->setCurrentIndex(LB->model()->index(row, 0));
}

int TUF_BrowseBase::rowCount() const {
    return LB->model()->rowCount();
}

QString TUF_BrowseBase::keyAt(int row) const {
    return LB->model()->index(row, 0).data().toString();
}

void TUF_BrowseBase::clearList() {
    if (auto* widget = qobject_cast<QListWidget*>(LB)) {
        widget->clear();
    } else if (Keys != nullptr) {
        Keys->setStringList({});
    }
}

void TUF_BrowseBase::hideEvent(QHideEvent* event) {
    ProgramGeometry.hidden();
    QDialog::hideEvent(event);
}

void TUF_BrowseBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    GuardSlot([&] {
        ProgramGeometry.shown(this);
        if (const QRect intended = TakeIntendedOuterRect(this); intended.isValid()) {
            placeOuter(intended);
        }
        if (Kind.ErrorWindow) {
            ActivateErrorWindow();
        } else {
            ActivateBrowse();
        }
        // Placed with a frame not yet its own (its first showing): placed again with the real
        // one, where the placement meant the frame to be.
        const QRect placed = outerRect();
        if (!event->spontaneous()) {
            WhenFramed(this, [this, placed] { GuardSlot([&] { PlaceAgainWhenFramed(placed); }); });
        }
    });
}

void TUF_BrowseBase::PlaceAgainWhenFramed(const QRect& placed) {
    placeOuter(placed);
    if (SBtn_AutoSize->isEnabled() && SBtn_AutoSize->isChecked()) {
        AutoSizeForm();
    }
    if (autoAlignDown()) {
        AutoAlignForm();
    }
}

void TUF_BrowseBase::queueEmptyListEnd() {
    // Ending the modal loop from inside the showing would leave it running: the end is queued
    // until the window is up.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && rowCount() == 0) {
            done(mrCancel);
        }
    });
}

void TUF_BrowseBase::ActivateBrowse() {
    RestoreMainFromMinimised();
    if (Kind.ClosesProgress && Progress() != nullptr) {
        Progress()->Hide();
    }
    if (rowCount() == 0) {
        queueEmptyListEnd();
        return;
    }
    if (selectedRow() < 0) {
        selectRow(0);
    }
    LoadToggles();
    afterActivation();
    if (Kind.ResetsMinimumOnActivation) {
        SetMinimumSize();
    }
    if (SBtn_AutoSize->isEnabled() && SBtn_AutoSize->isChecked()) {
        AutoSizeForm();
    }
    TovWM* slot = slotOf(Kind.Slot);
    if (slot != nullptr && slot->getFormPositionReset()) {
        CentreOnWorkArea();
        slot->setFormPositionReset(false);
        WMs->Save(Kind.Slot);
    }
    if (autoAlignDown()) {
        AutoAlignForm();
    }
    FinishActivation();
}

void TUF_BrowseBase::ActivateErrorWindow() {
    RestoreMainFromMinimised();
    if (Kind.ClosesProgress && Progress() != nullptr) {
        Progress()->Hide();
    }
    TovWM* slot = slotOf(Kind.Slot);
    if (isMaximized() && slot != nullptr && slot->getWindowSize() == 0) {
        ++Placing;
        setWindowState(windowState() & ~Qt::WindowMaximized);
        --Placing;
        CentreOnWorkArea();
    }
    SBtn_AutoSize->setEnabled(!isMaximized());
    LoadToggles();
    if (SBtn_AutoSize->isEnabled() && SBtn_AutoSize->isChecked()) {
        AutoSizeForm();
    }
    if (slot != nullptr && slot->getFormPositionReset()) {
        CentreOnWorkArea();
        slot->setFormPositionReset(false);
        WMs->Save(Kind.Slot);
    }
    if (rowCount() == 0) {
        queueEmptyListEnd();
        return;
    }
    if (selectedRow() < 0) {
        selectRow(0);
    }
    FinishActivation();
}

void TUF_BrowseBase::FinishActivation() {
    if (LB->currentIndex().isValid()) {
        LB->scrollTo(LB->currentIndex(), QAbstractItemView::PositionAtTop);
    }
    raise();
    activateWindow();
    LB->setFocus();
}

void TUF_BrowseBase::AutoSizeClick() {
    if (Updating || !SBtn_AutoSize->isChecked()) {
        return;
    }
    AutoSizeForm();
    if (autoAlignDown()) {
        AutoAlignForm();
    }
}

void TUF_BrowseBase::AutoAlignClick() {
    if (Updating || !autoAlignDown()) {
        return;
    }
    AutoAlignForm();
}

void TUF_BrowseBase::ListDoubleClick() {
    const int row = selectedRow();
    if (row < 0 || !rowEnabled(row)) {
        return;
    }
    storeResult(row);
    done(mrOk);
}

void TUF_BrowseBase::SelectClick() {
    const int row = selectedRow();
    if (row >= 0 && !rowEnabled(row)) {
        return;
    }
    storeResult(row);
    done(mrOk);
}

void TUF_BrowseBase::CancelClick() {
    if (Kind.ErrorWindow) {
        done(mrClose);
        return;
    }
    storeResult(-1);
    done(mrCancel);
}

void TUF_BrowseBase::RefreshClick() {
    clearCache();
    LB->setFocus();
    done(mrRetry);
}

void TUF_BrowseBase::reject() {
    // Esc answers Cancel (Close on the error windows).
    GuardSlot([&] { CancelClick(); });
}

void TUF_BrowseBase::done(int result) {
    GuardSlot([&] { FormCloseQuery(); });
    QDialog::done(result);
}

void TUF_BrowseBase::FormCloseQuery() {
    clearList();
    if (TovWM* slot = slotOf(Kind.Slot)) {
        CaptureWindowGeometry(*slot, this, true);
        WMs->Save(Kind.Slot);
    }
    if (UP != nullptr) {
        (UP->*Kind.SetAutoSize)(SBtn_AutoSize->isChecked());
        if (SBtn_AutoAlign != nullptr) {
            (UP->*Kind.SetAutoAlign)(SBtn_AutoAlign->isChecked());
        }
        UP->Save();
    }
}
