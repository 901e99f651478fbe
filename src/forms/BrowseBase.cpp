#include "BrowseBase.h"

#include "SlotGuard.h"
#include "services/MainWindow.h"
#include "services/Progress.h"
#include "services/Splash.h"
#include "services/StdDlg.h"
#include "services/TextMetrics.h"
#include "services/WorkArea.h"
#include "services/ovAD.h"
#include "services/ovUP.h"
#include "services/ovWM.h"

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

int mulDiv(int value, int numerator, int denominator) {
    return denominator == 0
               ? value
               : static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                                  denominator);
}

TovWM* slotOf(int slot) {
    return WMs != nullptr ? &WMs->getItems(slot) : nullptr;
}

} // namespace

void TProgramGeometry::shown(QObject* window) {
    Settled = false;
    QTimer::singleShot(kSettleMs, window, [this] { Settled = true; });
}

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

void TUF_BrowseBase::ScaleControls() {
    HeaderHeight = DlgTextHeight + 8;
    ItemHeight = DlgTextHeight + 3;
    ToggleHeight = DlgTextHeight + DlgSBtnMargin;
    ButtonHeight = DlgTextHeight + DlgBBtnMargin;
    ButtonWidth = mulDiv(80, DlgAvgCharWidth, 6);
    PanelHeight = ButtonHeight + 12;
    StatusHeight = DlgTextHeight + 8;
    HC->setFixedHeight(HeaderHeight);
    Rows->setItemHeight(ItemHeight);
    Pnl_BBtn->setFixedHeight(PanelHeight);
    SB->setFixedHeight(StatusHeight);
    SBtn_AutoSize->setFixedSize(ButtonWidth, ToggleHeight);
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setFixedSize(ButtonWidth, ToggleHeight);
    }
    for (QPushButton* button : {BBtn_Refresh, BBtn_Select, BBtn_Cancel}) {
        if (button != nullptr) {
            button->setFixedSize(ButtonWidth, ButtonHeight);
        }
    }
    AlignButtons();
}

void TUF_BrowseBase::AlignButtons() {
    const int toggleTop = (PanelHeight - ToggleHeight) / 2;
    const int buttonTop = (PanelHeight - ButtonHeight) / 2;
    int left = 8;
    for (QWidget* button : std::initializer_list<QWidget*>{SBtn_AutoSize, SBtn_AutoAlign}) {
        if (button != nullptr) {
            button->move(left, toggleTop);
            left += ButtonWidth + 8;
        }
    }
    if (BBtn_Refresh != nullptr) {
        BBtn_Refresh->move(left, buttonTop);
    }
    const int cancelLeft = Pnl_BBtn->width() - 8 - ButtonWidth;
    BBtn_Cancel->move(cancelLeft, buttonTop);
    if (BBtn_Select != nullptr) {
        BBtn_Select->move(cancelLeft - 8 - ButtonWidth, buttonTop);
    }
}

int TUF_BrowseBase::buttonRowWidth() const {
    int count = 1;
    for (const QWidget* button : std::initializer_list<const QWidget*>{
             SBtn_AutoSize, SBtn_AutoAlign, BBtn_Refresh, BBtn_Select}) {
        count += button != nullptr ? 1 : 0;
    }
    return count * ButtonWidth + 8 * (count + 1);
}

int TUF_BrowseBase::fixedHeight() const {
    return nonClient().height() + HeaderHeight + DescHeight + PanelHeight + StatusHeight;
}

QSize TUF_BrowseBase::nonClient() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (frame.size() != client.size()) {
        return frame.size() - client.size();
    }
    const FrameMetrics m = frameMetrics();
    return {2 * m.dlgFrame, m.caption + 2 * m.dlgFrame};
}

QPoint TUF_BrowseBase::clientOffset() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (frame.size() != client.size()) {
        return client.topLeft() - frame.topLeft();
    }
    const FrameMetrics m = frameMetrics();
    return {m.dlgFrame, m.caption + m.dlgFrame};
}

QRect TUF_BrowseBase::outerRect() const {
    return {geometry().topLeft() - clientOffset(), geometry().size() + nonClient()};
}

void TUF_BrowseBase::placeOuter(const QRect& outer) {
    if (outer == outerRect()) {
        return;
    }
    const QRect client(outer.topLeft() + clientOffset(), outer.size() - nonClient());
    ++Placing;
    ProgramGeometry.expect(client);
    setGeometry(client);
    --Placing;
    ProgramGeometry.expect(geometry());
}

QSize TUF_BrowseBase::outerMinimum() const {
    return minimumSize() + nonClient();
}

void TUF_BrowseBase::setOuterMinimum(const QSize& outer) {
    ++Placing;
    setMinimumSize((outer - nonClient()).expandedTo(QSize(0, 0)));
    --Placing;
    ProgramGeometry.expect(geometry());
}

void TUF_BrowseBase::SetMinimumSize() {
    const QSize minimum(nonClient().width() + buttonRowWidth(), fixedHeight() + 3 * ItemHeight + 4);
    setOuterMinimum(minimum);
    AutoWidth = minimum.width();
    AutoHeight = minimum.height();
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

void TUF_BrowseBase::AutoSizeColumns() {
    // Setup and the activation both size the columns; a long list is measured once.
    if (MeasuredWidths.empty()) {
        QStringList headers;
        for (int s = 0; s < HC->count(); ++s) {
            headers << HC->model()->headerData(s, Qt::Horizontal).toString();
        }
        std::vector<int> minimums;
        MeasuredWidths = MeasureColumns(
            headers, HC->font(), rowCount(),
            [this](int row, int column) { return cellText(row, column); }, LB->font(), minimums);
    }
    for (int s = 0; s < static_cast<int>(MeasuredWidths.size()) && s < HC->count(); ++s) {
        HC->resizeSection(s, MeasuredWidths[static_cast<size_t>(s)]);
    }
    LB->viewport()->update();
}

void TUF_BrowseBase::AutoSizePanels() {
    const TextMeasurer& m = textMeasurer();
    for (QLabel* panel : StatusPanels) {
        panel->setFixedWidth(m.textWidth(panel->font(), panel->text()) + 10);
    }
}

void TUF_BrowseBase::RefreshList() {
    if (StatusPanels.size() > 1) {
        StatusPanels[1]->setText(FramedCell(QString::number(rowCount())));
    }
    AutoSizeColumns();
    AutoSizePanels();
}

bool TUF_BrowseBase::autoAlignDown() const {
    return SBtn_AutoAlign != nullptr && SBtn_AutoAlign->isChecked();
}

void TUF_BrowseBase::AutoSizeForm() {
    AutoSizeColumns();
    AutoSizePanels();
    TAutoSizeWish wish;
    wish.FixedHeight = fixedHeight();
    wish.ItemHeight = ItemHeight;
    wish.ItemCount = rowCount();
    const std::vector<int> sections = sectionWidthsForTest();
    int panels = StatusHeight;
    for (const QLabel* panel : StatusPanels) {
        panels += panel->width();
    }
    wish.ContentWidth =
        std::max({CaptionTextWidth(windowTitle(), Kind.ErrorWindow, true),
                  std::accumulate(sections.begin(), sections.end(), 0), buttonRowWidth(), panels});
    wish.FrameWidth = nonClient().width();
    const TAutoSizeResult result =
        AutoSizeBox(wish, {outerRect(), outerMinimum()}, workArea().rect(),
                    Kind.ErrorWindow || !autoAlignDown());
    if (result.Box.Minimum != outerMinimum()) {
        setOuterMinimum(result.Box.Minimum);
    }
    AutoWidth = result.AutoWidth;
    AutoHeight = result.AutoHeight;
    placeOuter(result.Box.Window);
    AlignButtons();
}

void TUF_BrowseBase::AutoAlignForm() {
    placeOuter(AutoAlignRect(Anchor, {outerRect(), outerMinimum()}, AutoWidth, AutoHeight,
                             SBtn_AutoSize->isChecked(), workArea().rect()));
}

void TUF_BrowseBase::CentreOnWorkArea() {
    placeOuter(CentredRect(outerRect(), workArea().rect()));
}

void TUF_BrowseBase::hideEvent(QHideEvent* event) {
    ProgramGeometry.hidden();
    QDialog::hideEvent(event);
}

void TUF_BrowseBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    GuardSlot([&] {
        ProgramGeometry.shown(this);
        if (Kind.ErrorWindow) {
            ActivateErrorWindow();
        } else {
            ActivateBrowse();
        }
    });
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

void TUF_BrowseBase::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    GuardSlot([&] {
        AlignButtons();
        const bool user = Placing == 0 && isVisible() && !isMaximized() && !isMinimized() &&
                          ProgramGeometry.isUserResize(event->size());
        // Whatever changed the size, later events compare with it; the position is the move
        // event's to judge.
        ProgramGeometry.expectSize(event->size());
        if (user) {
            UserSizing();
        }
    });
}

void TUF_BrowseBase::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    GuardSlot([&] {
        const bool user = Placing == 0 && isVisible() && !isMaximized() && !isMinimized() &&
                          ProgramGeometry.isUserMove(geometry().topLeft());
        ProgramGeometry.expectPosition(geometry().topLeft());
        if (user) {
            UserMoving();
        }
    });
}

void TUF_BrowseBase::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !Kind.ErrorWindow) {
        return;
    }
    GuardSlot([&] {
        if (isMaximized()) {
            SBtn_AutoSize->setEnabled(false);
            return;
        }
        SBtn_AutoSize->setEnabled(true);
        if (SBtn_AutoSize->isChecked() && isVisible()) {
            // The restored size arrives after the state change.
            QTimer::singleShot(0, this, [this] {
                GuardSlot([&] {
                    if (!isMaximized() && SBtn_AutoSize->isChecked()) {
                        AutoSizeForm();
                    }
                });
            });
        }
    });
}

void TUF_BrowseBase::UserSizing() {
    Updating = true;
    SBtn_AutoSize->setChecked(false);
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setChecked(false);
    }
    Updating = false;
    if (UP != nullptr) {
        (UP->*Kind.SetAutoSize)(false);
        UP->Save();
    }
}

void TUF_BrowseBase::UserMoving() {
    Updating = true;
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setChecked(false);
    }
    if (SBtn_AutoSize->isChecked() &&
        SmallerThanAutoSize(outerRect().size(), AutoWidth, AutoHeight)) {
        SBtn_AutoSize->setChecked(false);
    }
    Updating = false;
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
