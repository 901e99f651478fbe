#include "F_Progress.h"

#include "Splash.h"
#include "TextMetrics.h"
#include "WorkArea.h"
#include "platform/Format.h"
#include "services/MainWindow.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

TUF_Progress* UF_Progress = nullptr;

namespace {

// Width the total and step bars are designed with; it counts in the window's minimum width.
constexpr int kDesignBarWidth = 400;
constexpr int kListLines = 15;

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

QString framedNumber(int value) {
    return platform::Format(QStringLiteral(" %d "), {value});
}

int MulDiv(int number, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(number) * numerator * 2 + denominator) /
                            (2LL * denominator));
}

} // namespace

TUF_Progress::TUF_Progress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    SplashStatus(30);
    setModal(false);

    LB_Progress = new QListWidget(this);
    LB_Progress->setSelectionMode(QAbstractItemView::SingleSelection);
    LB_Progress->setUniformItemSizes(true);

    Pnl_Progress_PB = new QWidget(this);
    Lbl_Total = new QLabel(Pnl_Progress_PB);
    PB_Total = new QProgressBar(Pnl_Progress_PB);
    Lbl_Step = new QLabel(Pnl_Progress_PB);
    PB_Step = new QProgressBar(Pnl_Progress_PB);
    for (QProgressBar* bar : {PB_Total, PB_Step}) {
        bar->setTextVisible(false);
        bar->setRange(0, 0);
        bar->setValue(0);
    }

    Pnl_Progress_BBtn = new QWidget(this);
    Pnl_Progress_BBtn->setFocusPolicy(Qt::StrongFocus);
    Bvl_Progress_BBtn = new QFrame(Pnl_Progress_BBtn);
    Bvl_Progress_BBtn->setFrameShape(QFrame::HLine);
    Bvl_Progress_BBtn->setFrameShadow(QFrame::Sunken);
    BBtn_Cancel = new QPushButton(Pnl_Progress_BBtn);
    BBtn_Cancel->setAutoDefault(false);
    connect(BBtn_Cancel, &QPushButton::clicked, this, [this] { BBtn_CancelClick(); });

    PaintTimer.setSingleShot(true);
    connect(&PaintTimer, &QTimer::timeout, this, [this] {
        LastPaint.invalidate();
        Repaint();
    });

    SB_Progress = new QStatusBar(this);
    SB_Progress->setSizeGripEnabled(false);
    for (size_t i = 0; i < Panels.size(); ++i) {
        Panels[i] = new QLabel(SB_Progress);
        Panels[i]->setAlignment(Qt::AlignCenter);
        SB_Progress->addWidget(Panels[i]);
    }
    Panels[4]->setFixedWidth(0);

    Reset();
    SetTexts();
    SetHints();
    ApplyFonts();
    ScaleControls();
    PlaceControls();
    CalcMinSize();
    ResizeAndCentre();
}

TUF_Progress::~TUF_Progress() {
    if (Progress() == this) {
        setProgress(nullptr);
    }
    if (UF_Progress == this) {
        UF_Progress = nullptr;
    }
}

void TUF_Progress::setLineFormatSource(std::function<QString()> stepLineFormat,
                                       std::function<QString()> subLineFormat) {
    StepLineFormat = std::move(stepLineFormat);
    SubLineFormat = std::move(subLineFormat);
}

QString TUF_Progress::stepLine(const QString& text) const {
    const QString format = StepLineFormat ? StepLineFormat() : QStringLiteral(" [%.2d] %s ");
    return platform::Format(format, {StepCount, text});
}

int TUF_Progress::ListTextWidth(const QString& text) const {
    return textMeasurer().textWidth(LB_Progress->font(), text);
}

void TUF_Progress::setPanel(int panel, const QString& text) {
    QLabel* label = Panels[static_cast<size_t>(panel)];
    label->setText(text);
    label->setFixedWidth(textMeasurer().textWidth(SB_Progress->font(), text) + 10);
}

QString TUF_Progress::getPanelText(int panel) const {
    return Panels[static_cast<size_t>(panel)]->text();
}

QStringList TUF_Progress::getLines() const {
    QStringList lines;
    for (int i = 0; i < LB_Progress->count(); ++i) {
        lines << LB_Progress->item(i)->text();
    }
    return lines;
}

void TUF_Progress::Reset() {
    Taskbar.setNoProgress();
    StepCount = 0;
    LB_Progress->clear();
    TotalPosition = 0;
    PB_Total->setValue(0);
    // The total panel shows the operation's true total, so that a cancelled run does not read
    // "of 0" while it is still going.
    setPanel(3, framedNumber(TotalSteps));
    Lbl_Step->hide();
    PB_Step->hide();
    StepPosition = 0;
    PB_Step->setValue(0);
    setPanel(1, framedNumber(StepPosition));
}

void TUF_Progress::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TUF_Progress::setTotalSteps(int steps) {
    TotalSteps = steps;
    TotalPosition = 0;
    PB_Total->setRange(0, std::max(0, steps));
    PB_Total->setValue(0);
    setPanel(3, framedNumber(steps));
    SB_Progress->repaint();
}

void TUF_Progress::addLine(const QString& line) {
    LB_Progress->addItem(line);
    Repaint();
}

void TUF_Progress::Repaint() {
    // A run adds a line every few milliseconds, and every message pump would paint the changed
    // window: painting each change would cost more than the work. Between two paints within the
    // update interval the window holds its updates; the change is painted with the next call due
    // or by the timer at the next message pump.
    if (!LastPaint.isValid() || LastPaint.hasExpired(UpdateInterval())) {
        LastPaint.start();
        PaintTimer.stop();
        // The last line is made current and scrolled to only for a paint: making each new line
        // current lays out the whole list again.
        if (const int last = LB_Progress->count() - 1; last >= 0) {
            LB_Progress->setCurrentRow(last);
            LB_Progress->scrollToItem(LB_Progress->item(last));
        }
        setUpdatesEnabled(true);
        repaint();
        setUpdatesEnabled(false);
        return;
    }
    if (!PaintTimer.isActive()) {
        PaintTimer.start(UpdateInterval());
    }
}

void TUF_Progress::AddStep(const QString& text) {
    AddStepReturnIndex(text);
}

int TUF_Progress::AddStepReturnIndex(const QString& text) {
    ++StepCount;
    addLine(stepLine(text));
    Taskbar.setProgressValue(StepCount, TotalSteps);
    // The bar stops at its maximum rather than starting over.
    TotalPosition = std::min(TotalPosition + 1, std::max(0, TotalSteps));
    PB_Total->setValue(TotalPosition);
    setPanel(1, framedNumber(TotalPosition));
    Repaint();
    WidenToText(text);
    return LB_Progress->count() - 1;
}

void TUF_Progress::AddNote(const QString& text) {
    const QString format = SubLineFormat ? SubLineFormat() : QStringLiteral(" [--] %s ");
    addLine(platform::Format(format, {text}));
    WidenToText(text);
}

void TUF_Progress::UpdateStep(const QString& text) {
    UpdateSteps(text, 1);
}

void TUF_Progress::UpdateSteps(const QString& text, int items) {
    if (LB_Progress->count() == 0) {
        return;
    }
    LB_Progress->item(LB_Progress->count() - 1)->setText(stepLine(text));
    Repaint();
    WidenToText(text);
    StepPosition = std::min(StepPosition + std::max(items, 0), PB_Step->maximum());
    PB_Step->setValue(StepPosition);
}

void TUF_Progress::AppendToLastLine(const QString& text) {
    if (LB_Progress->count() == 0) {
        return;
    }
    AppendToLine(text, LB_Progress->count() - 1);
    Repaint();
}

void TUF_Progress::AppendToLine(const QString& text, int index) {
    if (index < 0 || index >= LB_Progress->count()) {
        return;
    }
    QListWidgetItem* item = LB_Progress->item(index);
    item->setText(platform::Format(QStringLiteral(" %s %s "), {TrimControl(item->text()), text}));
    WidenToText(text);
}

void TUF_Progress::StartStepProgress(int steps) {
    StepPosition = 0;
    PB_Step->setRange(0, std::max(0, steps));
    PB_Step->setValue(0);
    Lbl_Step->show();
    PB_Step->show();
    Repaint();
}

void TUF_Progress::ShowStepProgress(bool show) {
    Lbl_Step->setVisible(show);
    PB_Step->setVisible(show);
}

void TUF_Progress::Show() {
    LastPaint.invalidate();
    setUpdatesEnabled(true);
    show();
    // The window system shows the window in its own time (a window manager frames it first), and
    // its request to paint may come while an operation holds the updates back between two
    // paints: the request is served, or the window would stay blank until the next step line.
    if (QWindow* window = windowHandle()) {
        window->installEventFilter(this);
    }
}

bool TUF_Progress::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle()) {
        // Held back again by the next paint of the operation's own.
        setUpdatesEnabled(true);
    }
    return QDialog::eventFilter(watched, event);
}

void TUF_Progress::Hide() {
    PaintTimer.stop();
    // Closing resets the window; a window on its way out is not painted for that.
    setUpdatesEnabled(false);
    close();
    setUpdatesEnabled(true);
}

void TUF_Progress::BBtn_CancelClick() {
    QCoreApplication::processEvents();
    if (Pnl_Progress_BBtn->isEnabled() && isVisible()) {
        Pnl_Progress_BBtn->setFocus();
    }
    if (!CancelLogged && AD != nullptr) {
        AD->MessageLog << UIT(txt::CurrentOperationHasBeenCancelled) << QString();
    }
    Cancelled = true;
    CancelLogged = true;
    Reset();
    QCoreApplication::processEvents();
}

void TUF_Progress::reject() {
    BBtn_CancelClick();
}

void TUF_Progress::showEvent(QShowEvent* event) {
    RestoreMainFromMinimised();
    CancelLogged = false;
    QDialog::showEvent(event);
    Pnl_Progress_BBtn->setFocus();
}

void TUF_Progress::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        // The user closed the window from the desktop: that is a Cancel; the operation closes
        // the window itself when it has ended.
        event->ignore();
        BBtn_CancelClick();
        return;
    }
    Cancelled = false;
    Reset();
    RestoreMainFromMinimised();
    event->accept();
}

void TUF_Progress::SetTexts() {
    Lbl_Step->setText(framed(UIT(txt::StepProgress)));
    Lbl_Total->setText(framed(UIT(txt::TotalProgress)));
    BBtn_Cancel->setText(framed(UIT(txt::Cancel_318)));
    setPanel(0, framed(UIT(txt::Step)));
    setPanel(2, framed(UIT(txt::Of)));
}

void TUF_Progress::SetHints() {
    BBtn_Cancel->setToolTip(UIT(txt::CancelCurrentProcess) + QLatin1Char('\n') +
                            UIT(txt::ShortcutEsc_1104));
}

void TUF_Progress::ApplyFonts() {
    QFont f = font();
    ApplyIconTitleFont(f);
    setFont(f);
    LB_Progress->setFont(f);
    SB_Progress->setFont(f);
}

void TUF_Progress::ScaleControls() {
    const int barHeight = MulDiv(14, DlgTextHeight, 13);
    PB_Total->resize(PB_Total->width(), barHeight);
    PB_Step->resize(PB_Step->width(), barHeight);
    Pnl_Progress_PB->resize(Pnl_Progress_PB->width(), 2 * barHeight + 18);
    BBtn_Cancel->resize(MulDiv(80, DlgAvgCharWidth, 6), DlgTextHeight + DlgBBtnMargin);
    Pnl_Progress_BBtn->resize(Pnl_Progress_BBtn->width(), BBtn_Cancel->height() + 12);
    SB_Progress->setFixedHeight(DlgTextHeight + 8);
    const TextMeasurer& m = textMeasurer();
    for (QLabel* label : {Lbl_Total, Lbl_Step}) {
        label->resize(m.textWidth(font(), label->text()),
                      m.textHeight(font(), QStringLiteral("gH")));
    }
}

void TUF_Progress::PlaceControls() {
    PB_Total->move(PB_Total->x(), 6);
    Lbl_Total->move(8, PB_Total->y() + (PB_Total->height() - Lbl_Total->height()) / 2);
    PB_Step->move(PB_Step->x(), PB_Total->y() + PB_Total->height() + 6);
    Lbl_Step->move(8, PB_Step->y() + (PB_Step->height() - Lbl_Step->height()) / 2);
    const int barLeft = std::max(Lbl_Total->width(), Lbl_Step->width()) + Lbl_Total->x() + 8;
    PB_Total->move(barLeft, PB_Total->y());
    PB_Step->move(barLeft, PB_Step->y());
    PlaceButtons(false);
}

void TUF_Progress::PlaceButtons(bool withBars) {
    BBtn_Cancel->move(Pnl_Progress_BBtn->width() - BBtn_Cancel->width() - 8, 6);
    if (withBars) {
        for (QProgressBar* bar : {PB_Total, PB_Step}) {
            bar->resize(std::max(0, Pnl_Progress_PB->width() - bar->x() - 8), bar->height());
        }
    }
}

void TUF_Progress::SizeStatusPanels() {
    for (int panel = 0; panel <= 3; ++panel) {
        setPanel(panel, getPanelText(panel));
    }
}

void TUF_Progress::CalcMinSize() {
    const FrameMetrics fm = frameMetrics();
    const int itemHeight = std::max(13, DlgTextHeight + 2);
    MinHeight = 2 * fm.dlgFrame + fm.caption + kListLines * itemHeight + Pnl_Progress_PB->height() +
                Pnl_Progress_BBtn->height() + SB_Progress->height() + 4;

    int w = CaptionTextWidth(windowTitle(), false, true);
    for (int id = 387; id <= 461; ++id) {
        w = std::max(
            w, ListTextWidth(QStringLiteral(" [888] ") + UIT(id) + QStringLiteral("8888888888")) +
                   fm.vScroll + 4);
    }
    w = std::max(w, Lbl_Total->width() + kDesignBarWidth + 24);
    w = std::max(w, Lbl_Step->width() + kDesignBarWidth + 24);
    w = std::max(w, BBtn_Cancel->width() + 16);
    SizeStatusPanels();
    int panels = SB_Progress->height();
    for (int panel = 0; panel <= 3; ++panel) {
        panels += Panels[static_cast<size_t>(panel)]->width();
    }
    w = std::max(w, panels);
    MinWidth = 2 * fm.dlgFrame + w;
}

int TUF_Progress::outerWidth() const {
    return width() + 2 * frameMetrics().dlgFrame;
}

void TUF_Progress::setOuterGeometry(int left, int top, int width, int height) {
    const FrameMetrics fm = frameMetrics();
    setFixedSize(std::max(1, width - 2 * fm.dlgFrame),
                 std::max(1, height - 2 * fm.dlgFrame - fm.caption));
    move(left, top);
    LayoutPanels();
}

void TUF_Progress::FitToWorkArea() {
    const FrameMetrics fm = frameMetrics();
    const QRect area = workArea().rect();
    const int oldHeight = height() + 2 * fm.dlgFrame + fm.caption;
    const int oldWidth = outerWidth();
    MinHeight = std::min(MinHeight, area.height());
    MinWidth = std::min(MinWidth, area.width());
    const int top = std::max(area.top(), y() + oldHeight / 2 - MinHeight / 2);
    const int left = std::max(area.left(), x() + oldWidth / 2 - MinWidth / 2);
    setOuterGeometry(left, top, MinWidth, MinHeight);
    PlaceButtons(true);
}

void TUF_Progress::ResizeAndCentre() {
    FitToWorkArea();
    const QRect area = workArea().rect();
    const int h = height() + 2 * frameMetrics().dlgFrame + frameMetrics().caption;
    move(CentredStart(area.left(), area.width(), outerWidth()),
         CentredStart(area.top(), area.height(), h));
}

void TUF_Progress::WidenToText(const QString& text) {
    const FrameMetrics fm = frameMetrics();
    const int needed = ListTextWidth(framed(text)) + 2 * fm.dlgFrame + fm.vScroll + 4;
    const int oldWidth = outerWidth();
    if (oldWidth < needed) {
        const QRect area = workArea().rect();
        const int newWidth = std::min(needed, area.width());
        if (newWidth > oldWidth) {
            const int left = std::max(area.left(), x() + oldWidth / 2 - newWidth / 2);
            setOuterGeometry(left, y(), newWidth, height() + 2 * fm.dlgFrame + fm.caption);
        }
    }
    PlaceButtons(true);
}

void TUF_Progress::LayoutPanels() {
    const int w = width();
    int bottom = height();
    bottom -= SB_Progress->height();
    SB_Progress->setGeometry(0, bottom, w, SB_Progress->height());
    bottom -= Pnl_Progress_BBtn->height();
    Pnl_Progress_BBtn->setGeometry(0, bottom, w, Pnl_Progress_BBtn->height());
    Bvl_Progress_BBtn->setGeometry(0, 0, w, 2);
    bottom -= Pnl_Progress_PB->height();
    Pnl_Progress_PB->setGeometry(0, bottom, w, Pnl_Progress_PB->height());
    LB_Progress->setGeometry(0, 0, w, std::max(0, bottom));
    PlaceButtons(true);
}

void TUF_Progress::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutPanels();
}
