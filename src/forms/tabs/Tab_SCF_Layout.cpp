#include "forms/tabs/Tab_SCF.h"

#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "forms/tabs/TabInputGuards.h"
#include "model/ovSCF.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

constexpr int kTHRMaxLength = 7;
constexpr int kTHRBaseWidth = 60;
constexpr int kSmallButtonBaseWidth = 26;
constexpr int kRowGap = 6;
constexpr int kButtonGap = 4;
const QColor kRequiredColour(128, 0, 0);

QString framed(int textId) {
    return QLatin1Char(' ') + UIT(textId) + QLatin1Char(' ');
}

QString lines(std::initializer_list<QString> parts) {
    QStringList list(parts);
    return list.join(QLatin1Char('\n'));
}

QString maxLengthLine(int textId, int maxLength) {
    return platform::Format(UIT(textId), {maxLength});
}

QLabel* newTitlePanel(QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Button);
    return panel;
}

void markRequired(QLabel* label) {
    QPalette palette = label->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, kRequiredColour);
    }
    label->setPalette(palette);
}

} // namespace

QLineEdit* TTab_SCF::NewBox(TSCFBox box, int maxLength) {
    auto* edit = new QLineEdit(this);
    BoxOf[box] = edit;
    using TFilter = TTabInputGuards::TFilter;
    TFilter filter = TFilter::None;
    switch (box) {
    case sbDSF_Path:
    case sbTF_Path:
    case sbOF_Path:
        filter = TFilter::PathFileName;
        break;
    case sbDSF_TaskWS:
    case sbTF_ProjectSummaryWS:
    case sbTF_ChartDataWS:
        filter = TFilter::WorksheetName;
        break;
    case sbDSF_THR:
        filter = TFilter::HeaderRow;
        break;
    default:
        break;
    }
    Host.InputGuards().Attach(edit, maxLength, filter,
                              [this] { return TB_SCF_DSF_DrivePathFilenameExtn->text(); });
    // Installed after the guards so that Enter is seen here first.
    edit->installEventFilter(this);
    return edit;
}

QPushButton* TTab_SCF::NewSmallButton(int imageIndex, int hintId) {
    auto* button = new QPushButton(this);
    button->setIcon(MainImageList().value(imageIndex));
    button->setToolTip(UIT(hintId));
    return button;
}

void TTab_SCF::BuildControls() {
    Pnl_SCF_DSF = newTitlePanel(this);
    Pnl_SCF_TF = newTitlePanel(this);
    Pnl_SCF_OF = newTitlePanel(this);
    Lbl_SCF_Note = newTitlePanel(this);

    Lbl_SCF_DSF_DrivePathFilenameExtn = new QLabel(this);
    Lbl_SCF_DSF_OpenPassword = new QLabel(this);
    Lbl_SCF_DSF_TaskWS = new QLabel(this);
    Lbl_SCF_DSF_THR = new QLabel(this);
    Lbl_SCF_TF_DrivePathFilenameExtn = new QLabel(this);
    Lbl_SCF_TF_OpenPassword = new QLabel(this);
    Lbl_SCF_TF_ProjectSummaryWS = new QLabel(this);
    Lbl_SCF_TF_ChartDataWS = new QLabel(this);
    Lbl_SCF_OF_DrivePathFilenameExtn = new QLabel(this);
    for (QLabel* label : {Lbl_SCF_DSF_DrivePathFilenameExtn, Lbl_SCF_DSF_TaskWS, Lbl_SCF_DSF_THR,
                          Lbl_SCF_TF_DrivePathFilenameExtn, Lbl_SCF_TF_ProjectSummaryWS,
                          Lbl_SCF_TF_ChartDataWS, Lbl_SCF_OF_DrivePathFilenameExtn}) {
        markRequired(label);
    }

    // The boxes in their Enter and tab order.
    TB_SCF_DSF_DrivePathFilenameExtn = NewBox(sbDSF_Path, TovSCF::MaxPathLength);
    TB_SCF_DSF_OpenPassword = NewBox(sbDSF_Password, TovSCF::MaxPasswordLength);
    TB_SCF_DSF_TaskWS = NewBox(sbDSF_TaskWS, TovSCF::MaxWorksheetNameLength);
    TB_SCF_DSF_THR = NewBox(sbDSF_THR, kTHRMaxLength);
    TB_SCF_TF_DrivePathFilenameExtn = NewBox(sbTF_Path, TovSCF::MaxPathLength);
    TB_SCF_TF_OpenPassword = NewBox(sbTF_Password, TovSCF::MaxPasswordLength);
    TB_SCF_TF_ProjectSummaryWS = NewBox(sbTF_ProjectSummaryWS, TovSCF::MaxWorksheetNameLength);
    TB_SCF_TF_ChartDataWS = NewBox(sbTF_ChartDataWS, TovSCF::MaxWorksheetNameLength);
    TB_SCF_OF_DrivePathFilenameExtn = NewBox(sbOF_Path, TovSCF::MaxPathLength);
    TB_SCF_DSF_OpenPassword->setEchoMode(QLineEdit::Password);
    TB_SCF_TF_OpenPassword->setEchoMode(QLineEdit::Password);

    BBtn_SCF_DSF_DrivePathFilenameExtn_Browse = NewSmallButton(imgOpen, 925);
    BBtn_SCF_DSF_DrivePathFilenameExtn_Open = NewSmallButton(imgProjectSummary, 926);
    BBtn_SCF_DSF_TaskWS_Browse = NewSmallButton(imgOpen, 932);
    BBtn_SCF_TF_DrivePathFileNameExtn_Default = NewSmallButton(imgUndo, 937);
    BBtn_SCF_TF_DrivePathFilenameExtn_Browse = NewSmallButton(imgOpen, 938);
    BBtn_SCF_TF_DrivePathFilenameExtn_Open = NewSmallButton(imgProjectSummary, 939);
    BBtn_SCF_TF_ProjectSummaryWS_Browse = NewSmallButton(imgOpen, 945);
    BBtn_SCF_TF_ChartDataWS_Browse = NewSmallButton(imgOpen, 949);
    BBtn_SCF_OF_DrivePathFileNameExtn_Default = NewSmallButton(imgUndo, 951);
    BBtn_SCF_OF_DrivePathFilenameExtn_Browse = NewSmallButton(imgOpen, 952);
    BBtn_SCF_OF_DrivePathFilenameExtn_Open = NewSmallButton(imgProjectSummary, 953);

    Img_SCF_DSF_DrivePathFilenameExtn = new TStatusImage(this);
    Img_SCF_DSF_TaskWS = new TStatusImage(this);
    Img_SCF_DSF_THR = new TStatusImage(this);
    Img_SCF_TF_DrivePathFilenameExtn = new TStatusImage(this);
    Img_SCF_TF_ProjectSummaryWS = new TStatusImage(this);
    Img_SCF_TF_ChartDataWS = new TStatusImage(this);
    Img_SCF_OF_DrivePathFilenameExtn = new TStatusImage(this);

    PictureOf = {
        Img_SCF_DSF_DrivePathFilenameExtn, Img_SCF_DSF_TaskWS,          Img_SCF_DSF_THR,
        Img_SCF_TF_DrivePathFilenameExtn,  Img_SCF_TF_ProjectSummaryWS, Img_SCF_TF_ChartDataWS,
        Img_SCF_OF_DrivePathFilenameExtn};
    BrowseOf = {BBtn_SCF_DSF_DrivePathFilenameExtn_Browse, BBtn_SCF_TF_DrivePathFilenameExtn_Browse,
                BBtn_SCF_OF_DrivePathFilenameExtn_Browse};
    OpenOf = {BBtn_SCF_DSF_DrivePathFilenameExtn_Open, BBtn_SCF_TF_DrivePathFilenameExtn_Open,
              BBtn_SCF_OF_DrivePathFilenameExtn_Open};
    DefaultOf = {nullptr, BBtn_SCF_TF_DrivePathFileNameExtn_Default,
                 BBtn_SCF_OF_DrivePathFileNameExtn_Default};
    WorksheetBrowseOf = {BBtn_SCF_DSF_TaskWS_Browse, BBtn_SCF_TF_ProjectSummaryWS_Browse,
                         BBtn_SCF_TF_ChartDataWS_Browse};
    SetTexts();
}

void TTab_SCF::SetTexts() {
    Pnl_SCF_DSF->setText(QStringLiteral("   ") + UIT(txt::DataSourceFileSettings) +
                         QLatin1Char(' '));
    Pnl_SCF_TF->setText(QStringLiteral("   ") + UIT(txt::TemplateFileSettings) + QLatin1Char(' '));
    Pnl_SCF_OF->setText(QStringLiteral("   ") + UIT(txt::OutputFileSettings) + QLatin1Char(' '));
    Lbl_SCF_Note->setText(framed(118));
    Lbl_SCF_DSF_DrivePathFilenameExtn->setText(framed(96));
    Lbl_SCF_DSF_OpenPassword->setText(framed(99));
    Lbl_SCF_DSF_TaskWS->setText(framed(100));
    Lbl_SCF_DSF_THR->setText(framed(102));
    Lbl_SCF_TF_DrivePathFilenameExtn->setText(framed(104));
    Lbl_SCF_TF_OpenPassword->setText(framed(108));
    Lbl_SCF_TF_ProjectSummaryWS->setText(framed(109));
    Lbl_SCF_TF_ChartDataWS->setText(framed(111));
    Lbl_SCF_OF_DrivePathFilenameExtn->setText(framed(114));

    const int password = TovSCF::MaxPasswordLength;
    const int sheet = TovSCF::MaxWorksheetNameLength;
    TB_SCF_DSF_DrivePathFilenameExtn->setToolTip(UIT(txt::EnterPathAndFilenameOfDataSourceFile));
    TB_SCF_DSF_OpenPassword->setToolTip(
        lines({UIT(txt::EnterPasswordRequiredToOpenDataSourceFile), maxLengthLine(928, password)}));
    TB_SCF_DSF_TaskWS->setToolTip(
        lines({UIT(txt::EnterTaskWorksheetName), UIT(txt::TaskWorksheetContainsTaskData),
               maxLengthLine(931, sheet)}));
    TB_SCF_DSF_THR->setToolTip(lines(
        {UIT(txt::EnterTaskHeaderRow), UIT(txt::IsRowInTaskWorksheet),
         platform::Format(UIT(txt::ValidRangeDataSourceFile), {QStringLiteral(".xls"), 1, 65535}),
         platform::Format(UIT(txt::ValidRangeDataSourceFile),
                          {QStringLiteral(".xlsx"), 1, 1048575})}));
    TB_SCF_TF_DrivePathFilenameExtn->setToolTip(UIT(txt::EnterPathAndFilenameOfTemplateFile));
    TB_SCF_TF_OpenPassword->setToolTip(
        lines({UIT(txt::EnterPasswordRequiredToOpenTemplateFileIfRequired),
               maxLengthLine(941, password)}));
    TB_SCF_TF_ProjectSummaryWS->setToolTip(
        lines({UIT(txt::EnterProjectSummaryWorksheetName),
               UIT(txt::ProjectSummaryWorksheetContainsProject), maxLengthLine(944, sheet)}));
    TB_SCF_TF_ChartDataWS->setToolTip(
        lines({UIT(txt::EnterChartDataWorksheetName), UIT(txt::ChartDataWorksheetContainsS),
               maxLengthLine(948, sheet)}));
    TB_SCF_OF_DrivePathFilenameExtn->setToolTip(UIT(txt::EnterPathAndFilenameOfOutputFile));
}

void TTab_SCF::resizeEvent(QResizeEvent* event) {
    TMainTabPage::resizeEvent(event);
    GuardSlot([this] { ArrangeControls(); });
}

// Rows stacked 6 pixels apart under their title panels; labels, buttons and pictures centred on
// the edit of their row; from the right edge: the status pictures, then the Open and worksheet
// Browse buttons, then the file Browse buttons, then the Default buttons, 4 pixels apart.
void TTab_SCF::ArrangeControls() {
    using formmetrics::ScaledWidth;
    const int panelHeight = DlgTextHeight + 8;
    const int editHeight = TB_SCF_DSF_DrivePathFilenameExtn->sizeHint().height();
    const int buttonWidth = ScaledWidth(kSmallButtonBaseWidth);
    const int buttonHeight = DlgTextHeight + DlgSmallBtnMargin;
    const int pictureX = width() - (DlgImageWidth + 8);
    const int openX = pictureX - kButtonGap - buttonWidth;
    const int browseX = openX - kButtonGap - buttonWidth;
    const int defaultX = browseX - kButtonGap - buttonWidth;

    const auto labelColumn = [](std::initializer_list<QLabel*> labels) {
        int widest = 0;
        for (QLabel* label : labels) {
            widest = std::max(widest, label->sizeHint().width());
        }
        return 8 + widest + 8;
    };
    const int columnA =
        labelColumn({Lbl_SCF_DSF_DrivePathFilenameExtn, Lbl_SCF_DSF_OpenPassword,
                     Lbl_SCF_DSF_TaskWS, Lbl_SCF_DSF_THR, Lbl_SCF_TF_DrivePathFilenameExtn,
                     Lbl_SCF_TF_OpenPassword, Lbl_SCF_OF_DrivePathFilenameExtn});
    const int columnB = labelColumn({Lbl_SCF_TF_ProjectSummaryWS, Lbl_SCF_TF_ChartDataWS});

    int y = 0;
    const auto panel = [&](QLabel* title) {
        title->setGeometry(0, y, width(), panelHeight);
        y += panelHeight + kRowGap;
    };
    const auto centred = [&](QWidget* widget, int x, int w, int h) {
        widget->setGeometry(x, y + (editHeight - h) / 2, w, h);
    };
    // One row: its label, its edit from column to right, then its buttons and picture.
    const auto row = [&](QLabel* label, QLineEdit* edit, int column, int right,
                         std::initializer_list<std::pair<QPushButton*, int>> buttons,
                         TStatusImage* picture) {
        centred(label, 8, column - 16, label->sizeHint().height());
        edit->setGeometry(column, y, std::max(0, right - column), editHeight);
        for (const auto& [button, x] : buttons) {
            centred(button, x, buttonWidth, buttonHeight);
        }
        if (picture != nullptr) {
            centred(picture, pictureX, DlgImageWidth, DlgImageHeight);
        }
        y += editHeight + kRowGap;
    };
    const int passwordRight = openX + buttonWidth;

    panel(Pnl_SCF_DSF);
    row(Lbl_SCF_DSF_DrivePathFilenameExtn, TB_SCF_DSF_DrivePathFilenameExtn, columnA,
        browseX - kButtonGap,
        {{BBtn_SCF_DSF_DrivePathFilenameExtn_Browse, browseX},
         {BBtn_SCF_DSF_DrivePathFilenameExtn_Open, openX}},
        Img_SCF_DSF_DrivePathFilenameExtn);
    row(Lbl_SCF_DSF_OpenPassword, TB_SCF_DSF_OpenPassword, columnA, passwordRight, {}, nullptr);
    row(Lbl_SCF_DSF_TaskWS, TB_SCF_DSF_TaskWS, columnA, openX - kButtonGap,
        {{BBtn_SCF_DSF_TaskWS_Browse, openX}}, Img_SCF_DSF_TaskWS);
    const int thrRight = columnA + ScaledWidth(kTHRBaseWidth);
    centred(Img_SCF_DSF_THR, thrRight + 4, DlgImageWidth, DlgImageHeight);
    row(Lbl_SCF_DSF_THR, TB_SCF_DSF_THR, columnA, thrRight, {}, nullptr);

    panel(Pnl_SCF_TF);
    row(Lbl_SCF_TF_DrivePathFilenameExtn, TB_SCF_TF_DrivePathFilenameExtn, columnA,
        defaultX - kButtonGap,
        {{BBtn_SCF_TF_DrivePathFileNameExtn_Default, defaultX},
         {BBtn_SCF_TF_DrivePathFilenameExtn_Browse, browseX},
         {BBtn_SCF_TF_DrivePathFilenameExtn_Open, openX}},
        Img_SCF_TF_DrivePathFilenameExtn);
    row(Lbl_SCF_TF_OpenPassword, TB_SCF_TF_OpenPassword, columnA, passwordRight, {}, nullptr);
    row(Lbl_SCF_TF_ProjectSummaryWS, TB_SCF_TF_ProjectSummaryWS, columnB, openX - kButtonGap,
        {{BBtn_SCF_TF_ProjectSummaryWS_Browse, openX}}, Img_SCF_TF_ProjectSummaryWS);
    row(Lbl_SCF_TF_ChartDataWS, TB_SCF_TF_ChartDataWS, columnB, openX - kButtonGap,
        {{BBtn_SCF_TF_ChartDataWS_Browse, openX}}, Img_SCF_TF_ChartDataWS);

    panel(Pnl_SCF_OF);
    row(Lbl_SCF_OF_DrivePathFilenameExtn, TB_SCF_OF_DrivePathFilenameExtn, columnA,
        defaultX - kButtonGap,
        {{BBtn_SCF_OF_DrivePathFileNameExtn_Default, defaultX},
         {BBtn_SCF_OF_DrivePathFilenameExtn_Browse, browseX},
         {BBtn_SCF_OF_DrivePathFilenameExtn_Open, openX}},
        Img_SCF_OF_DrivePathFilenameExtn);

    Lbl_SCF_Note->setGeometry(0, std::max(y, height() - panelHeight), width(), panelHeight);
}
