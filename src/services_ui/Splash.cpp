#include "Splash.h"

#include "TextMetrics.h"
#include "WorkArea.h"
#include "platform/Format.h"
#include "platform_ui/Jpeg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QPainter>

TUF_Splash* UF_Splash = nullptr;

namespace {

constexpr int kClientWidth = 370;
constexpr int kClientHeight = 230;

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

// A picture of the program's data folder, decoded with libjpeg; empty when it is missing.
QPixmap picture(const QString& name) {
    const QString folder = AD != nullptr ? AD->getExePath() : TovAD::DefaultProgramFolder();
    return QPixmap::fromImage(platform::LoadJpeg(folder + QStringLiteral("Pictures/") + name));
}

} // namespace

TUF_Splash::TUF_Splash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    TmrSplash.setSingleShot(true);
    // A coarse timer may fire up to 5% early; the splash must stay its full time.
    TmrSplash.setTimerType(Qt::PreciseTimer);
    TmrSplash.setInterval(kDisplayMs);
    TmrSplash.start(); // its time-out stops it: the timer disables itself when it fires

    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::WaitCursor);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    resize(kClientWidth, kClientHeight);

    Img_App = new QLabel(this);
    Img_App->setPixmap(picture(QStringLiteral("Banner.jpg")));
    Img_App->setGeometry(8, 8, 254, 45);
    Lbl_Ver = new QLabel(this);
    Lbl_Status = new QLabel(this);
    Lbl_Legal_1 = new QLabel(this);
    Lbl_Legal_2 = new QLabel(this);
    Img_QW = new QLabel(this);
    Img_QW->setPixmap(picture(QStringLiteral("Logo.jpg")));
    Img_QW->resize(145, 37);

    const QString version = AD != nullptr ? AD->getVersion() : QString();
    Lbl_Ver->setText(framed(platform::Format(UIT(txt::Version), {version})));
    Lbl_Status->setText(QStringLiteral(" ... "));
    Lbl_Legal_1->setText(
        framed(platform::Format(UIT(txt::CopyrightCTarrowStudio), {LegalYears()})));
    Lbl_Legal_2->setText(framed(UIT(txt::AllRightsReserved)));

    QFont f = font();
    ApplyIconTitleFont(f);
    setFont(f);
    for (QLabel* label : {Lbl_Ver, Lbl_Status, Lbl_Legal_1, Lbl_Legal_2}) {
        label->setFont(f);
        label->move(8, 0);
        SizeLabel(label);
    }
    Lbl_Ver->move(8, 56);
    PlaceControls();
    CalcMinSize();
}

void TUF_Splash::SizeLabel(QLabel* label) {
    const TextMeasurer& m = textMeasurer();
    label->resize(m.textWidth(label->font(), label->text()),
                  m.textHeight(label->font(), QStringLiteral("gH")));
}

void TUF_Splash::setStatus(int uiTextId) {
    Lbl_Status->setText(framed(UIT(uiTextId)));
    SizeLabel(Lbl_Status);
    repaint();
}

void TUF_Splash::PlaceLogo() {
    Img_QW->move(width() - Img_QW->width() - 8, height() - Img_QW->height() - 8);
}

void TUF_Splash::PlaceControls() {
    Lbl_Status->move(8, Lbl_Ver->y() + Lbl_Ver->height() + 12);
    Lbl_Legal_1->move(8, Lbl_Status->y() + Lbl_Status->height() + 18);
    Lbl_Legal_2->move(8, Lbl_Legal_1->y() + Lbl_Legal_1->height() + 3);
    PlaceLogo();
}

void TUF_Splash::CalcMinSize() {
    MinHeight =
        std::max(0, 8 + Img_App->height() + 4 + Lbl_Ver->height() + 12 + Lbl_Status->height() + 18 +
                        Lbl_Legal_1->height() + 3 + Lbl_Legal_2->height() + 8);
    int w = static_cast<int>(MinHeight * 1.6);
    const TextMeasurer& m = textMeasurer();
    for (int id = 7; id <= 35; ++id) {
        w = std::max(w, m.textWidth(font(), UIT(id)) + 16);
    }
    w = std::max(w, Lbl_Legal_1->width() + Img_QW->width() + 24);
    w = std::max(w, Lbl_Legal_2->width() + Img_QW->width() + 24);
    MinWidth = w;
}

void TUF_Splash::FitToWorkArea() {
    PlaceControls();
    CalcMinSize();
    const QRect area = workArea().rect();
    const int h = std::min(area.height(), MinHeight);
    MinHeight = h;
    const int w = std::min(area.width(), MinWidth);
    MinWidth = w;
    setGeometry(CentredStart(area.left(), area.width(), w),
                CentredStart(area.top(), area.height(), h), w, h);
    PlaceLogo();
}

void TUF_Splash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitToWorkArea();
    raise();
    activateWindow();
}

void TUF_Splash::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(0xa0, 0xa0, 0xa0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SplashStatus(int uiTextId) {
    if (UF_Splash != nullptr) {
        UF_Splash->setStatus(uiTextId);
    }
}
