#include "forms/dialogs/F_About.h"

#include "controls/ovGrid.h"
#include "forms/SlotGuard.h"
#include "platform/ColorValue.h"
#include "platform/Format.h"
#include "platform_ui/Jpeg.h"
#include "services/MainWindow.h"
#include "services/ShellUtils.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "services_ui/Splash.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WorkArea.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

TUF_About* UF_About = nullptr;

namespace {

const QString kTitle = QStringLiteral("Ovik KRV Tessel");
const QString kMaker = QStringLiteral("Tarrow Studio");
constexpr int kWebsiteRow = 6;

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

QPixmap logo() {
    const QString folder = AD != nullptr ? AD->getExePath() : TovAD::DefaultProgramFolder();
    return QPixmap::fromImage(platform::LoadJpeg(folder + QStringLiteral("Pictures/Logo.jpg")));
}

// The logo reports its clicks.
class TClickableLabel : public QLabel {
public:
    TClickableLabel(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), OnClick(std::move(onClick)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            GuardSlot([&] { OnClick(); });
        }
        QLabel::mouseReleaseEvent(e);
    }

private:
    std::function<void()> OnClick;
};

} // namespace

TUF_About::TUF_About(QWidget* parent)
    : QDialog(parent), SG_About(new TovGrid(this)), Pnl_About_BBtn(new QWidget(this)),
      Img_QW(new TClickableLabel(Pnl_About_BBtn, [this] { LogoClick(); })),
      BBtn_Close(new QPushButton(Pnl_About_BBtn)) {
    SplashStatus(20);
    // A single fixed border with only the system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    QFont font = this->font();
    ApplyIconTitleFont(font);
    setFont(font);
    setWindowTitle(framed(platform::Format(UIT(txt::About_194), {kTitle})));

    SG_About->setColCount(1);
    SG_About->setShowHeader(false);
    SG_About->setGutterKind(gkString);
    SG_About->setGutterWidth(120);
    SG_About->setGridReadOnly(true);
    SG_About->setShowSelection(false);
    SG_About->setScrollBarKind(ssNone);
    SG_About->setShowPopUp(true);
    SG_About->setGridURL(false);
    SG_About->setGridFontColor(clWindowText);
    SG_About->setGridFontUnderline(false);
    SG_About->setDefaultRowHeight(DlgTextHeight + 8);
    connect(SG_About, &TovGrid::OnCellClick, this,
            [this](int col, int row) { GuardSlot([&] { CellClick(col, row); }); });

    Img_QW->setPixmap(logo());
    Img_QW->setCursor(Qt::PointingHandCursor);
    Img_QW->setToolTip(platform::Format(UIT(txt::OpenWebsite), {kMaker}));
    BBtn_Close->setText(framed(UIT(txt::Close_208)));
    BBtn_Close->setToolTip(UIT(txt::CloseAboutForm) + QStringLiteral("\r\n") +
                           UIT(txt::ShortcutsEscAltC));
    BBtn_Close->setFixedSize(80 * DlgAvgCharWidth / 6, DlgTextHeight + DlgBBtnMargin);
    connect(BBtn_Close, &QPushButton::clicked, this, [this] { GuardSlot([&] { done(mrClose); }); });

    FillRows(CurrentAboutFacts());
    LayOut();
    // Placed before its first showing, so that the toolkit leaves its position alone.
    FitToWorkArea();
    KeepFromMinimising(this);
}

TUF_About::~TUF_About() {
    if (UF_About == this) {
        UF_About = nullptr;
    }
}

void TUF_About::FillRows(const TAboutFacts& facts) {
    Rows = AboutRows(facts);
    SG_About->setRowCount(static_cast<int>(Rows.size()));
    for (int row = 1; row <= static_cast<int>(Rows.size()); ++row) {
        const TAboutRow& entry = Rows[static_cast<size_t>(row - 1)];
        SG_About->setGutterCellText(row, framed(UIT(entry.NameTextId)));
        SG_About->setCells(1, row, framed(entry.Value));
        if (entry.IsLink) {
            SG_About->setCellURL(1, row, true);
            SG_About->setCellFontColor(1, row, clBlue);
            SG_About->setCellFontUnderline(1, row, true);
        }
    }
    SG_About->AutoSizeGutter(false);
    SG_About->AutoSizeCols(false);
}

QString TUF_About::cellText(int col, int row) const {
    return col == 0 ? SG_About->getGutterCellText(row) : SG_About->getCells(col, row);
}

void TUF_About::OpenWebsite() {
    RunDocument(MakerWebsite(), QString(), QString(), SW_SHOWDEFAULT, UIT(txt::Website));
}

void TUF_About::CellClick(int col, int row) {
    if (col == 1 && row == kWebsiteRow) {
        OpenWebsite();
    }
}

void TUF_About::LogoClick() {
    OpenWebsite();
    if (SG_About->isEnabled()) {
        SG_About->setFocus();
    }
}

void TUF_About::LayOut() {
    const int closeHeight = BBtn_Close->height();
    const int panelHeight = std::max(Img_QW->pixmap().height() + 4, closeHeight + 12);
    Pnl_About_BBtn->setFixedHeight(panelHeight);
    auto* buttons = new QHBoxLayout(Pnl_About_BBtn);
    buttons->setContentsMargins(0, 0, 8, 0);
    buttons->addWidget(Img_QW, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    buttons->addWidget(BBtn_Close, 0, Qt::AlignVCenter);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);
    whole->addWidget(SG_About);
    whole->addWidget(Pnl_About_BBtn);
}

bool TUF_About::event(QEvent* e) {
    if (e->type() == QEvent::Hide) {
        ShownBefore = true;
    }
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) {
        GuardSlot([&] {
            if (e->type() == QEvent::WindowActivate) {
                RestoreMainFromMinimised();
            }
            FillRows(CurrentAboutFacts());
            FitToWorkArea();
            if (e->type() == QEvent::Show && !e->spontaneous()) {
                // Fitted with a frame not yet its own (its first showing): fitted again with the
                // real one.
                WhenFramed(this, [this] { GuardSlot([&] { FitToWorkArea(); }); });
            }
            if (SG_About->isEnabled()) {
                SG_About->setFocus();
            }
        });
    }
    return QDialog::event(e);
}

void TUF_About::FitToWorkArea() {
    const int contentWidth =
        std::max({CaptionTextWidth(windowTitle(), false, true), SG_About->CalcGridWidth(),
                  Img_QW->pixmap().width() + BBtn_Close->width() + 24});
    const int contentHeight = SG_About->CalcGridHeight() + Pnl_About_BBtn->height();
    FitFixedWindowToWorkArea(this, QSize(contentWidth, contentHeight), !ShownBefore);
    SG_About->setColWidths(1, std::max(0, width() - SG_About->getGutterWidth() - 4));
}

void TUF_About::CentreOnWorkArea() {
    FitToWorkArea();
    CentreWindowOnWorkArea(this);
}
