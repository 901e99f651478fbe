#include "F_Main.h"

#include "model/ovDF.h"
#include "services/Splash.h"
#include "services/StdDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>

TUF_Main* UF_Main = nullptr;

namespace {
// The glyph list holds at least every index the dialogue buttons use.
constexpr int kGlyphCount = 56;
} // namespace

TUF_Main::TUF_Main(QWidget* parent)
    : QMainWindow(parent), LB_SDs(new QListWidget(this)), PB_Main(new QProgressBar(this)) {
    SplashStatus(19);
    setWindowTitle(QStringLiteral("Ovik KRV Tessel"));
    resize(811, 627);
    setCentralWidget(LB_SDs);
    PB_Main->setRange(0, 0);
    PB_Main->setValue(0);
    PB_Main->setTextVisible(false);
    statusBar()->addPermanentWidget(PB_Main);
    PB_Main->hide();
    FillImageList();
}

TUF_Main::~TUF_Main() {
    if (DF != nullptr) {
        DF->setView(nullptr);
    }
    if (MainWindow() == this) {
        setMainWindow(nullptr);
    }
    if (UF_Main == this) {
        UF_Main = nullptr;
    }
}

void TUF_Main::FillImageList() {
    IL_Main_16.clear();
    for (int i = 0; i < kGlyphCount; ++i) {
        IL_Main_16 << QIcon();
    }
    const QStyle* style = QApplication::style();
    IL_Main_16[glyphCancel] = style->standardIcon(QStyle::SP_DialogCancelButton);
    IL_Main_16[glyphClose] = style->standardIcon(QStyle::SP_DialogCloseButton);
    IL_Main_16[glyphContinue] = style->standardIcon(QStyle::SP_ArrowRight);
    IL_Main_16[glyphNo] = style->standardIcon(QStyle::SP_DialogNoButton);
    IL_Main_16[glyphOk] = style->standardIcon(QStyle::SP_DialogOkButton);
    IL_Main_16[glyphRetry] = style->standardIcon(QStyle::SP_BrowserReload);
    IL_Main_16[glyphYes] = style->standardIcon(QStyle::SP_DialogYesButton);
}

void TUF_Main::RestoreFromMinimised() {
    if (!isMinimized()) {
        return;
    }
    activateWindow();
    showNormal();
    // The desktop restores the window asynchronously; wait for it, but never hang on a desktop
    // that does not answer.
    for (int i = 0; i < 100 && isMinimized(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void TUF_Main::ProgressStart(int maximum) {
    PB_Main->setRange(0, std::max(0, maximum));
    PB_Main->setValue(0);
    PB_Main->show();
}

void TUF_Main::ProgressStep() {
    PB_Main->setValue(std::min(PB_Main->maximum(), std::max(0, PB_Main->value()) + 1));
    PB_Main->repaint();
}

void TUF_Main::ProgressEnd() {
    PB_Main->hide();
    PB_Main->setValue(0);
}

void TUF_Main::RepaintSDs() {
    LB_SDs->viewport()->repaint();
}
