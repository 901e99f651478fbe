#include "forms/dialogs/F_Summary.h"

#include "controls/ovGrid.h"
#include "engine/SummaryGrid.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "forms/SlotGuard.h"
#include "forms/dialogs/F_SummaryCommands.h"
#include "platform/Format.h"
#include "services/MainWindow.h"
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "services_ui/Splash.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WindowGeometry.h"
#include "services_ui/WorkArea.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

TUF_Summary* UF_Summary = nullptr;

namespace {

constexpr int kSlot = 8;
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kTabImage = 57;
constexpr int kBevelHeight = 4;

const QString kAppTitle = QStringLiteral("Ovik KRV Tessel");

// A hint: its description and its shortcut text on the next line.
QString Hint(int description) {
    return UIT(description) + QLatin1Char('\n') + UIT(description + 1);
}

int MulDiv(int number, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(number) * numerator * 2 + denominator) /
                            (2LL * denominator));
}

TovWM* Slot() {
    return WMs != nullptr ? &WMs->getItems(kSlot) : nullptr;
}

QIcon Glyph(const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(themeName),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace

TUF_Summary::TUF_Summary(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    SplashStatus(txt::InitialisingSummaryForm);
    setModal(true);

    Bvl_Summary_T = new QFrame(this);
    Bvl_Summary_T->setFrameShape(QFrame::HLine);
    Bvl_Summary_T->setFrameShadow(QFrame::Sunken);
    PC_Summary = new QWidget(this);
    TS_ProjectSummary = new QTabBar(PC_Summary);
    TS_ProjectSummary->setDocumentMode(true);
    TS_ProjectSummary->setDrawBase(false);
    TS_ProjectSummary->addTab(QString());
    SG_ProjectSummary = new TovGrid(PC_Summary);
    Pnl_Summary_BBtn = new QWidget(this);
    SBtn_AutoSize = new QToolButton(Pnl_Summary_BBtn);
    SBtn_AutoSize->setCheckable(true);
    SBtn_AutoSize->setAutoRaise(true);
    SBtn_AutoSize->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SBtn_AutoSize->setIcon(Glyph("zoom-fit-best", QStyle::SP_TitleBarNormalButton));
    BBtn_Copy = new QPushButton(Pnl_Summary_BBtn);
    BBtn_Copy->setIcon(Glyph("edit-copy", QStyle::SP_FileDialogContentsView));
    BBtn_OpenDSF = new QPushButton(Pnl_Summary_BBtn);
    BBtn_OpenDSF->setIcon(Glyph("x-office-spreadsheet", QStyle::SP_FileIcon));
    BBtn_OpenOF = new QPushButton(Pnl_Summary_BBtn);
    BBtn_OpenOF->setIcon(Glyph("document-open", QStyle::SP_DialogOpenButton));
    BBtn_Close = new QPushButton(Pnl_Summary_BBtn);
    BBtn_Close->setIcon(Glyph("window-close", QStyle::SP_DialogCloseButton));
    for (QPushButton* b : {BBtn_Copy, BBtn_OpenDSF, BBtn_OpenOF, BBtn_Close}) {
        b->setAutoDefault(false);
    }

    connect(SBtn_AutoSize, &QToolButton::clicked, this,
            [this] { GuardSlot([&] { SBtn_AutoSizeClick(); }); });
    connect(BBtn_Copy, &QPushButton::clicked, this,
            [this] { GuardSlot([&] { BBtn_CopyClick(); }); });
    connect(BBtn_OpenDSF, &QPushButton::clicked, this,
            [this] { GuardSlot([&] { BBtn_OpenDSFClick(); }); });
    connect(BBtn_OpenOF, &QPushButton::clicked, this,
            [this] { GuardSlot([&] { BBtn_OpenOFClick(); }); });
    connect(BBtn_Close, &QPushButton::clicked, this,
            [this] { GuardSlot([&] { BBtn_CloseClick(); }); });

    if (TovWM* slot = Slot()) {
        slot->setDefaultHeight(kDefaultHeight);
        slot->setDefaultWidth(kDefaultWidth);
        ApplyWindowGeometry(*slot, this, true);
        WMs->Save(kSlot);
    } else {
        resize(kDefaultWidth, kDefaultHeight);
    }
    SetAutoSizeDown(UP != nullptr && UP->getAutoSizeSummary());
    SetCaptions();
    SetHints();
    LayoutGrid();
    ScaleControls();
    PositionControls();
    CalcMinSize();
    SetFormCaption();
    PlaceChildren();
}

TUF_Summary::~TUF_Summary() {
    if (UF_Summary == this) {
        UF_Summary = nullptr;
    }
}

void TUF_Summary::setGlyphList(const QList<QIcon>* glyphs) {
    Glyphs = glyphs;
    if (Glyphs != nullptr && kTabImage < Glyphs->size()) {
        TS_ProjectSummary->setTabIcon(0, Glyphs->at(kTabImage));
    }
}

void TUF_Summary::SetCaptions() {
    TS_ProjectSummary->setTabText(0, Framed(UIT(txt::ProjectSummary)));
    SBtn_AutoSize->setText(Framed(UIT(txt::AutoSize_364)));
    BBtn_Copy->setText(Framed(UIT(txt::CopyToClipboard)));
    BBtn_OpenDSF->setText(Framed(UIT(txt::OpenDataSourceFile)));
    BBtn_OpenOF->setText(Framed(UIT(txt::OpenOutputFile)));
    BBtn_Close->setText(Framed(UIT(txt::Close_368)));
}

void TUF_Summary::SetHints() {
    SBtn_AutoSize->setToolTip(UIT(txt::EnableToAutomaticallyResizeForm_1263));
    BBtn_OpenDSF->setToolTip(Hint(txt::OpenDataSourceFile_1266));
    BBtn_OpenOF->setToolTip(Hint(txt::OpenOutputFile_1268));
    BBtn_Close->setToolTip(Hint(txt::CloseSummaryForm));
}

void TUF_Summary::LayoutGrid() {
    QFont f = font();
    ApplyIconTitleFont(f);
    setFont(f);
    PC_Summary->setFont(f);

    TovGrid& g = *SG_ProjectSummary;
    g.setColCount(TovSummaryGrid::ColCount);
    g.setRowCount(TovSummaryGrid::RowCount);
    g.setDefaultColWidth(110);
    g.setDefaultRowHeight(17);
    g.setGridReadOnly(true);
    g.setGutterKind(gkNone);
    g.setGutterWidth(0);
    g.setHeaderHeight(0);
    g.setShowHeader(false);
    g.setShowSelection(false);
    g.setUnUsedColor(clBtnFace);
    QFont titles(QStringLiteral("Tahoma"));
    titles.setPixelSize(11);
    g.setGutterFont(titles);
    g.setHeaderFont(titles);
    g.setHomeFont(titles);

    // The layout comes from the Project Summary report tables; the fields' colours come with
    // each run.
    TovSummaryGrid layout;
    if (PS_RHs != nullptr && PS_RFs != nullptr) {
        layout.Layout(*PS_RHs, *PS_RFs);
    }
    for (const TovSummaryMerge& m : layout.merges()) {
        g.MergeCells(m.Col1, m.Row1, m.Col2, m.Row2);
    }
    Render(layout);
    TwoLineRow = layout.twoLineRow();
}

void TUF_Summary::Render(const TovSummaryGrid& summary) {
    TovGrid& g = *SG_ProjectSummary;
    for (int r = 1; r <= TovSummaryGrid::RowCount; ++r) {
        for (int c = 1; c <= TovSummaryGrid::ColCount; ++c) {
            const TovSummaryCell& cell = summary.cell(c, r);
            g.setCellColor(c, r, cell.Style.Color);
            g.setCellFontColor(c, r, cell.Style.FontColor);
            g.setCellFontBold(c, r, cell.Style.FontBold);
            g.setCellEllipsifyPath(c, r, cell.Style.EllipsifyPath);
            g.setCellEllipsifyText(c, r, cell.Style.EllipsifyText);
            g.setCellGridLineTopColor(c, r, cell.Style.GridLineTopColor);
            g.setCellGridLineLeftColor(c, r, cell.Style.GridLineLeftColor);
            g.setCellGridLineBottomColor(c, r, cell.Style.GridLineBottomColor);
            g.setCellGridLineRightColor(c, r, cell.Style.GridLineRightColor);
            g.setCellHorAlign(c, r, cell.Style.HorAlign);
            g.setCells(c, r, cell.Text);
        }
    }
}

void TUF_Summary::ScaleControls() {
    TovGrid& g = *SG_ProjectSummary;
    g.setDefaultRowHeight(DlgTextHeight + 4);
    if (TwoLineRow > 0) {
        g.setRowWordWrap(TwoLineRow, true);
        g.AdjustRowHeight(TwoLineRow, false);
    }
    // Each button is at least as wide as its glyph and caption need.
    const auto scale = [](QWidget* button, int baseWidth, int height) {
        button->setFixedSize(
            std::max(MulDiv(baseWidth, DlgAvgCharWidth, 6), button->sizeHint().width()), height);
    };
    scale(SBtn_AutoSize, 80, DlgTextHeight + DlgSBtnMargin);
    const int height = DlgTextHeight + DlgBBtnMargin;
    scale(BBtn_Copy, 130, height);
    scale(BBtn_OpenDSF, 150, height);
    scale(BBtn_OpenOF, 130, height);
    scale(BBtn_Close, 80, height);
    Pnl_Summary_BBtn->setFixedHeight(BBtn_Close->height() + 12);
}

void TUF_Summary::PositionControls() {
    SBtn_AutoSize->move(8, 6);
    QWidget* left = SBtn_AutoSize;
    for (QPushButton* b : {BBtn_Copy, BBtn_OpenDSF, BBtn_OpenOF}) {
        b->move(left->x() + left->width() + 8, 6);
        left = b;
    }
    PositionCloseButton();
}

void TUF_Summary::PositionCloseButton() {
    BBtn_Close->move(Pnl_Summary_BBtn->width() - BBtn_Close->width() - 8, 6);
}

TSummarySizes TUF_Summary::Sizes() const {
    const QMargins frame = FrameMarginsOf(this);
    TSummarySizes s;
    s.FrameWidth = frame.left() + frame.right();
    s.FrameHeight = frame.top() + frame.bottom();
    s.Bevel = kBevelHeight;
    s.TabHeight =
        textMeasurer().textHeight(TS_ProjectSummary->font(), TS_ProjectSummary->tabText(0)) + 8;
    s.RowHeight = DlgTextHeight + 4;
    s.ButtonPanel = Pnl_Summary_BBtn->height();
    s.ButtonsWidth = SBtn_AutoSize->width() + BBtn_Copy->width() + BBtn_OpenDSF->width() +
                     BBtn_OpenOF->width() + BBtn_Close->width();
    return s;
}

void TUF_Summary::CalcMinSize() {
    const TSummarySizes s = Sizes();
    AutoMinWidth = SummaryMinWidth(s);
    AutoMinHeight = SummaryMinHeight(s);
    SetOuterMinimumSize(this, QSize(AutoMinWidth, AutoMinHeight));
}

QRect TUF_Summary::outerRect() const {
    return OuterRectOf(this);
}

// The children follow the client area: the bevel on top, the button panel at the bottom, and
// between them the tab and the grid with 4 pixels around it.
void TUF_Summary::PlaceChildren() {
    const int w = width();
    const int h = height();
    const int panel = Pnl_Summary_BBtn->height();
    Bvl_Summary_T->setGeometry(0, 0, w, kBevelHeight);
    PC_Summary->setGeometry(0, kBevelHeight, w, std::max(0, h - kBevelHeight - panel));
    const int tabHeight = Sizes().TabHeight;
    TS_ProjectSummary->setGeometry(2, 2, TS_ProjectSummary->sizeHint().width(), tabHeight);
    const int gridTop = 2 + tabHeight + 4;
    SG_ProjectSummary->setGeometry(4, gridTop, std::max(0, w - 8),
                                   std::max(0, PC_Summary->height() - gridTop - 4));
    Pnl_Summary_BBtn->setGeometry(0, h - panel, w, panel);
    PositionCloseButton();
    DropNeedlessScrollBars();
}

// Scroll bars the grid took while the window was smaller (the window manager applies a new size
// after the program asked for it) go once the grid holds its whole content: shown, they would
// take the room that makes them needed.
void TUF_Summary::DropNeedlessScrollBars() {
    TovGrid& g = *SG_ProjectSummary;
    const bool barsShown =
        g.horizontalScrollBar()->isVisible() || g.verticalScrollBar()->isVisible();
    if (g.getScrollBarKind() == ssBoth && barsShown && g.width() >= g.CalcGridWidth() &&
        g.height() >= g.CalcGridHeight()) {
        g.setScrollBarKind(ssNone);
        g.setScrollBarKind(ssBoth);
    }
}

void TUF_Summary::SetFormCaption() {
    setWindowTitle(
        platform::Format(QStringLiteral(" %s: %s "), {kAppTitle, UIT(txt::ProjectSummary)}));
}

void TUF_Summary::CentreOnWorkArea() {
    CentreWindowOnWorkArea(this);
}

bool TUF_Summary::isAutoSizeDown() const {
    return SBtn_AutoSize->isChecked();
}

bool TUF_Summary::isAutoSizeEnabled() const {
    return SBtn_AutoSize->isEnabled();
}

void TUF_Summary::SetAutoSizeDown(bool down) {
    Updating = true;
    SBtn_AutoSize->setChecked(down);
    Updating = false;
}

void TUF_Summary::Fill(const TovSummaryGrid& summary) {
    // The columns fit the figures and the captions; the texts of the merged fields (titles,
    // paths, the definition's description) are cut to the room the columns give them.
    Render(summary.WithoutAreaTexts());
    FitColumns();
    Render(summary);
}

void TUF_Summary::FitColumns() {
    TovGrid& g = *SG_ProjectSummary;
    g.AutoSizeMergedCols(false);
    int widest = 0;
    for (int c = 2; c <= TovSummaryGrid::ColCount; ++c) {
        widest = std::max(widest, g.getColWidths(c));
    }
    for (int c = 2; c <= TovSummaryGrid::ColCount; ++c) {
        g.setColWidths(c, widest);
    }
}

int TUF_Summary::ShowSummary(const TovSummaryGrid& summary) {
    Fill(summary);
    return exec();
}

void TUF_Summary::FormActivate() {
    RestoreMainFromMinimised();
    if (IProgress* p = Progress()) {
        p->Hide();
    }
    SetFormCaption();
    TovWM* slot = Slot();
    if (isMaximized() && slot != nullptr && slot->getWindowSize() == 0) {
        showNormal();
        CentreOnWorkArea();
    }
    TS_ProjectSummary->setCurrentIndex(0);
    BBtn_Copy->setToolTip(Hint(txt::CopyProjectSummaryToClipboard));
    SBtn_AutoSize->setEnabled(!isMaximized());
    SetAutoSizeDown(UP != nullptr && UP->getAutoSizeSummary());
    if (SBtn_AutoSize->isEnabled() && isAutoSizeDown()) {
        AutoSizeForm();
    }
    if (slot != nullptr && slot->getFormPositionReset()) {
        CentreOnWorkArea();
        slot->setFormPositionReset(false);
        WMs->Save(kSlot);
    }
    raise();
    activateWindow();
    if (PC_Summary->isEnabled()) {
        TS_ProjectSummary->setFocus();
    }
}

void TUF_Summary::AutoSizeForm() {
    TovGrid& g = *SG_ProjectSummary;
    g.setScrollBarKind(ssNone);
    const TSummarySizes s = Sizes();
    const int fittedHeight = SummaryFittedHeight(s, g.CalcGridHeight());
    const int fittedWidth =
        SummaryFittedWidth(s, CaptionTextWidth(windowTitle(), true, true), g.CalcGridWidth());
    const QSize outerMinimum = OuterSizeOf(this, minimumSize());
    const TSummaryAutoSize plan = PlanSummaryAutoSize(outerRect(), outerMinimum, fittedWidth,
                                                      fittedHeight, workArea().rect());
    SetOuterGeometry(plan.Window, plan.Minimum);
    AutoMinWidth = plan.AutoMinWidth;
    AutoMinHeight = plan.AutoMinHeight;
    g.setScrollBarKind(ssBoth);
    PositionCloseButton();
}

void TUF_Summary::KeepInsideWorkArea() {
    const QRect outer = outerRect();
    const TSummaryAutoSize plan = PlanSummaryAutoSize(
        outer, OuterSizeOf(this, minimumSize()), outer.width(), outer.height(), workArea().rect());
    SetOuterGeometry(plan.Window, plan.Minimum);
}

// Auto Size fits the window to the grid; without it the window only stays inside the work area.
void TUF_Summary::FitAfterPlacing() {
    if (SBtn_AutoSize->isEnabled() && isAutoSizeDown()) {
        AutoSizeForm();
    } else {
        KeepInsideWorkArea();
    }
}

// Moves and sizes the window only where the place or size changed; these resizes are the
// program's, not the user's.
void TUF_Summary::SetOuterGeometry(const QRect& outer, const QSize& outerMinimum) {
    TProgramResize programResize(Resizes, ClientSizeOf(this, outer.size()));
    SetOuterMinimumSize(this, outerMinimum);
    PlaceOuter(this, outer);
}

void TUF_Summary::SBtn_AutoSizeClick() {
    if (!Updating && isAutoSizeDown()) {
        AutoSizeForm();
    }
}

void TUF_Summary::BBtn_CopyClick() {
    if (PC_Summary->isEnabled()) {
        TS_ProjectSummary->setFocus();
    }
    SG_ProjectSummary->CopyAllToClipboard();
}

void TUF_Summary::BBtn_OpenDSFClick() {
    TS_ProjectSummary->setFocus();
    OpenSummaryFile(TSummaryFile::DataSource);
}

void TUF_Summary::BBtn_OpenOFClick() {
    TS_ProjectSummary->setFocus();
    OpenSummaryFile(TSummaryFile::Output);
}

void TUF_Summary::BBtn_CloseClick() {
    done(mrClose);
}

void TUF_Summary::reject() {
    GuardSlot([&] { BBtn_CloseClick(); });
}

void TUF_Summary::done(int result) {
    GuardSlot([&] {
        if (TovWM* slot = Slot()) {
            CaptureWindowGeometry(*slot, this, true);
            WMs->Save(kSlot);
        }
        if (UP != nullptr) {
            UP->setAutoSizeSummary(isAutoSizeDown());
            UP->Save();
        }
    });
    QDialog::done(result);
}

void TUF_Summary::UserSized() {
    if (!isAutoSizeDown() && (UP == nullptr || !UP->getAutoSizeSummary())) {
        return; // already off: nothing to store again while the drag goes on
    }
    SetAutoSizeDown(false);
    if (UP != nullptr) {
        UP->setAutoSizeSummary(false);
        UP->Save();
    }
}

void TUF_Summary::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A show event of the window system (as after a restore from minimised) is no new showing:
    // the window stays as the user left it.
    if (event->spontaneous()) {
        return;
    }
    GuardSlot([&] {
        if (const QRect intended = TakeIntendedOuterRect(this); intended.isValid()) {
            SetOuterGeometry(intended, OuterSizeOf(this, minimumSize()));
        }
        FormActivate();
        ActivationAwaited = true;
        // Fitted with a frame not yet its own (its first showing): fitted again with the real one.
        const QRect placed = outerRect();
        WhenFramed(this, [this, placed] {
            GuardSlot([&] {
                SetOuterGeometry(placed, OuterSizeOf(this, minimumSize()));
                FitAfterPlacing();
            });
        });
    });
}

void TUF_Summary::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    GuardSlot([&] {
        Restores.Track(this);
        PlaceChildren();
        if (Resizes.IsUserResize(event->size(), isVisible(), windowState() == Qt::WindowNoState)) {
            // Maximising may resize the window before the window manager reports the state.
            UserResizePending = true;
            UserChecks.Schedule(this, [this] { GuardSlot([&] { UserGeometryChanged(); }); });
        }
    });
}

void TUF_Summary::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    GuardSlot([&] {
        Restores.Track(this);
        // Only a normal window is moved by the user; maximising moves it too.
        if (isVisible() && windowState() == Qt::WindowNoState) {
            UserChecks.Schedule(this, [this] { GuardSlot([&] { UserGeometryChanged(); }); });
        }
    });
}

void TUF_Summary::UserGeometryChanged() {
    if (UserResizePending) {
        UserResizePending = false;
        UserSized();
    }
    const QRect outer = outerRect();
    if (isAutoSizeDown() && (outer.width() < AutoMinWidth || outer.height() < AutoMinHeight)) {
        SetAutoSizeDown(false);
    }
}

void TUF_Summary::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    GuardSlot([&] {
        if (event->type() == QEvent::WindowStateChange) {
            Resizes.StateChanged();
            UserChecks.Cancel();
            UserResizePending = false;
            const bool maximised = isMaximized();
            if (maximised) {
                SBtn_AutoSize->setEnabled(false);
            } else if (WasMaximised) {
                SBtn_AutoSize->setEnabled(true);
                // The window manager may apply the restored geometry after this: the re-fit
                // waits for it.
                Restores.Restored(this, [this] { GuardSlot([&] { FitAfterPlacing(); }); });
            }
            WasMaximised = maximised;
        } else if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
                   ActivationAwaited) {
            // The showing's activation; a later one (back from another program, restored from
            // minimised) finds the window as the user left it: maximised stays maximised.
            ActivationAwaited = false;
            FormActivate();
        }
    });
}
