#include "F_StdDlg.h"

#include "Splash.h"
#include "TextMetrics.h"
#include "WindowFrame.h"
#include "WorkArea.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/MainWindow.h"
#include "services/StdDlgText.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

TUF_StdDlg* UF_StdDlg = nullptr;

namespace {

constexpr int kImagePanelWidth = 48;
constexpr int kSpacerWidth = 8;
constexpr int kImageSize = 32;
const QString kAppTitle = QStringLiteral("Ovik KRV Tessel");

int MulDiv(int number, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(number) * numerator * 2 + denominator) /
                            (2LL * denominator));
}

QLabel* kindImage(QWidget* parent, QStyle::StandardPixmap which, int left) {
    auto* label = new QLabel(parent);
    label->setPixmap(QApplication::style()->standardIcon(which).pixmap(kImageSize, kImageSize));
    label->setGeometry(left, 8, kImageSize, kImageSize);
    label->hide();
    return label;
}

QFrame* rule(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

TUF_StdDlg::TUF_StdDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    SplashStatus(32);
    setModal(true);
    KeepFromMinimising(this);

    Pnl_Image = new QWidget(this);
    Img_Critical = kindImage(Pnl_Image, QStyle::SP_MessageBoxCritical, 10);
    Img_Warning = kindImage(Pnl_Image, QStyle::SP_MessageBoxWarning, 8);
    Img_Info = kindImage(Pnl_Image, QStyle::SP_MessageBoxInformation, 8);
    Img_Question = kindImage(Pnl_Image, QStyle::SP_MessageBoxQuestion, 8);

    Memo_StdDlg = new QPlainTextEdit(this);
    Memo_StdDlg->setReadOnly(true);
    Memo_StdDlg->setFrameShape(QFrame::NoFrame);
    Memo_StdDlg->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo_StdDlg->setFocusPolicy(Qt::NoFocus);
    Memo_StdDlg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo_StdDlg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo_StdDlg->document()->setDocumentMargin(0);
    QPalette pal = Memo_StdDlg->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    Memo_StdDlg->setPalette(pal);

    Pnl_Spacer = new QWidget(this);

    Pnl_StdDlg_CB = new QWidget(this);
    Bvl_StdDlg_CB = rule(Pnl_StdDlg_CB);
    CB_StdDlg = new QCheckBox(Pnl_StdDlg_CB);
    CB_StdDlg->move(8, 6);
    connect(CB_StdDlg, &QCheckBox::clicked, this, [this] { CB_StdDlgClick(); });
    Pnl_StdDlg_CB->hide();

    Pnl_StdDlg_BBtn = new QWidget(this);
    Pnl_StdDlg_BBtn->setFocusPolicy(Qt::StrongFocus);
    Bvl_StdDlg_BBtn = rule(Pnl_StdDlg_BBtn);
    Lbl_MsgID = new QLabel(QStringLiteral(" MsgID "), Pnl_StdDlg_BBtn);
    Lbl_MsgID->move(8, 0);
    Lbl_MsgID->setEnabled(false);
    Lbl_MsgID->hide();
    BBtn_L = new QPushButton(Pnl_StdDlg_BBtn);
    BBtn_M = new QPushButton(Pnl_StdDlg_BBtn);
    BBtn_R = new QPushButton(Pnl_StdDlg_BBtn);
    for (int which : {L, M, R}) {
        QPushButton* b = button(which);
        b->setAutoDefault(false);
        b->setDefault(false);
        connect(b, &QPushButton::clicked, this, [this, which] { done(ModalResults[which]); });
    }

    ApplyFonts();
    ScaleControls();
    PlaceControls();
    CalcMinSize();
    FitToWorkArea();
}

TUF_StdDlg::~TUF_StdDlg() {
    if (StdDlg() == this) {
        setStdDlg(nullptr);
    }
    if (UF_StdDlg == this) {
        UF_StdDlg = nullptr;
    }
}

QPushButton* TUF_StdDlg::button(int which) const {
    return which == L ? BBtn_L : which == M ? BBtn_M : BBtn_R;
}

int TUF_StdDlg::TextWidth(const QString& text) const {
    return textMeasurer().textWidth(font(), text);
}

void TUF_StdDlg::ApplyFonts() {
    QFont f = font();
    ApplyIconTitleFont(f);
    setFont(f);
}

void TUF_StdDlg::ScaleControls() {
    const int cbHeight = MulDiv(13, DlgTextHeight, 13);
    CB_StdDlg->resize(CB_StdDlg->width(), cbHeight);
    Pnl_StdDlg_CB->resize(Pnl_StdDlg_CB->width(), cbHeight + 12);
    for (int which : {L, M, R}) {
        button(which)->resize(MulDiv(80, DlgAvgCharWidth, 6), DlgTextHeight + DlgBBtnMargin);
    }
    Pnl_StdDlg_BBtn->resize(Pnl_StdDlg_BBtn->width(), BBtn_R->height() + 12);
    const TextMeasurer& m = textMeasurer();
    Lbl_MsgID->resize(m.textWidth(font(), Lbl_MsgID->text()),
                      m.textHeight(font(), QStringLiteral("gH")));
}

void TUF_StdDlg::SetupBBtn(int which, const QString& caption, int modalResult, int imageIndex,
                           const char* name) {
    QPushButton* b = button(which);
    b->setText(caption);
    ModalResults[which] = modalResult;
    b->setIcon(QIcon());
    if (Glyphs != nullptr && !CheckIndexRange(imageIndex, 0, static_cast<int>(Glyphs->size()) - 1,
                                              QString::fromLatin1(name))) {
        b->setIcon(Glyphs->at(imageIndex));
    }
}

void TUF_StdDlg::SetupBBtn_L(const QString& caption, int modalResult, int imageIndex) {
    SetupBBtn(L, caption, modalResult, imageIndex, "UF_StdDlg.SetupBBtn_L");
}
void TUF_StdDlg::SetupBBtn_M(const QString& caption, int modalResult, int imageIndex) {
    SetupBBtn(M, caption, modalResult, imageIndex, "UF_StdDlg.SetupBBtn_M");
}
void TUF_StdDlg::SetupBBtn_R(const QString& caption, int modalResult, int imageIndex) {
    SetupBBtn(R, caption, modalResult, imageIndex, "UF_StdDlg.SetupBBtn_R");
}

QString TUF_StdDlg::ButtonHint(int imageIndex, const QString& hint) const {
    return StdDlgButtonHint(imageIndex, hint);
}

void TUF_StdDlg::SetupButtons(int kind, const QString& key, const TStdDlgButton* r,
                              const TStdDlgButton* m, const TStdDlgButton* l) {
    const TStdDlgButton* given[3] = {l, m, r};
    for (int which : {L, M, R}) {
        const TStdDlgButton* b = given[which];
        if (b == nullptr) {
            button(which)->hide();
            continue;
        }
        if (which == L) {
            SetupBBtn_L(b->Caption, b->ModalResult, b->ImageIndex);
        } else if (which == M) {
            SetupBBtn_M(b->Caption, b->ModalResult, b->ImageIndex);
        } else {
            SetupBBtn_R(b->Caption, b->ModalResult, b->ImageIndex);
        }
        button(which)->setToolTip(ButtonHint(b->ImageIndex, b->Hint)
                                      .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        button(which)->setVisible(b->Visible);
    }
    Pnl_StdDlg_BBtn->show();
    Lbl_MsgID->setText(QLatin1Char(' ') + key + QLatin1Char(' '));
    Lbl_MsgID->resize(TextWidth(Lbl_MsgID->text()), Lbl_MsgID->height());
    SetupStdDlgKind(kind);
}

void TUF_StdDlg::SetupStdDlgButtons1(int kind, const QString& key, const TStdDlgButton& r) {
    Pnl_StdDlg_CB->hide();
    SetupButtons(kind, key, &r, nullptr, nullptr);
}

void TUF_StdDlg::SetupStdDlgButtons2(int kind, const QString& key, const TStdDlgButton& r,
                                     const TStdDlgButton& m) {
    Pnl_StdDlg_CB->hide();
    SetupButtons(kind, key, &r, &m, nullptr);
}

void TUF_StdDlg::SetupStdDlgButtons3(int kind, const QString& key, const TStdDlgButton& r,
                                     const TStdDlgButton& m, const TStdDlgButton& l) {
    Pnl_StdDlg_CB->hide();
    SetupButtons(kind, key, &r, &m, &l);
}

void TUF_StdDlg::SetupStdDlgButtons3CB(int kind, const QString& key, const TStdDlgButton& r,
                                       const TStdDlgButton& m, const TStdDlgButton& l,
                                       const QString& checkBoxCaption) {
    CB_StdDlg->setText(checkBoxCaption);
    SettingCheckBox = true;
    CB_StdDlg->setChecked(false);
    SettingCheckBox = false;
    const FrameMetrics fm = frameMetrics();
    // The 8 pixels are the gap Qt's check box keeps between its mark and its caption.
    CB_StdDlg->resize(fm.menuCheck + fm.edge + TextWidth(checkBoxCaption) + 8, CB_StdDlg->height());
    Pnl_StdDlg_CB->show();
    SetupButtons(kind, key, &r, &m, &l);
}

void TUF_StdDlg::SetupStdDlgKind(int kind) {
    Img_Critical->hide();
    Img_Warning->hide();
    Img_Info->hide();
    Img_Question->hide();
    QLabel* image = nullptr;
    int captionId = 0;
    switch (kind) {
    case sdkCritical:
        image = Img_Critical;
        captionId = 349;
        break;
    case sdkWarning:
        image = Img_Warning;
        captionId = 350;
        break;
    case sdkInformation:
        image = Img_Info;
        captionId = 351;
        break;
    case sdkQuestion:
        image = Img_Question;
        captionId = 352;
        break;
    default:
        break;
    }
    if (image != nullptr) {
        image->show();
        setWindowTitle(QLatin1Char(' ') + platform::Format(UIT(captionId), {kAppTitle}) +
                       QLatin1Char(' '));
    }

    const QRect area = workArea().rect();
    const QMargins frame = FrameMarginsOf(this);
    WrapWidth = area.width() - frame.left() - frame.right() - kSpacerWidth -
                2 * TextWidth(QStringLiteral("  ")) - kImagePanelWidth;
    const QStringList lines =
        WrapStdDlgLines(MsgLines, WrapWidth, [this](const QString& t) { return TextWidth(t); });
    Memo_StdDlg->setPlainText(lines.join(QLatin1Char('\n')));
    LayoutForShow();
}

QStringList TUF_StdDlg::getMemoLines() const {
    return Memo_StdDlg->toPlainText().split(QLatin1Char('\n'));
}

int TUF_StdDlg::ShowModal() {
    exec();
    return result();
}

bool TUF_StdDlg::getChecked() const {
    return CB_StdDlg->isChecked();
}

void TUF_StdDlg::CB_StdDlgClick() {
    if (!SettingCheckBox) {
        Pnl_StdDlg_BBtn->setFocus();
    }
}

int TUF_StdDlg::EscapeResult() const {
    auto state = [this](int which) {
        return StdDlgButtonState{!button(which)->isHidden(), ModalResults[which]};
    };
    return StdDlgEscapeResult(state(L), state(M), state(R));
}

void TUF_StdDlg::reject() {
    done(EscapeResult());
}

void TUF_StdDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (enter && !mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier) &&
        !mods.testFlag(Qt::MetaModifier)) {
        for (int which : {L, M, R}) {
            QPushButton* b = button(which);
            if (b->hasFocus() && b->isVisible() && b->isEnabled()) {
                b->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void TUF_StdDlg::LayoutForShow() {
    PlaceControls();
    CalcMinSize();
    FitToWorkArea();
}

void TUF_StdDlg::showEvent(QShowEvent* event) {
    RestoreMainFromMinimised();
    LayoutForShow();
    // Sized with a frame not yet its own (its first showing): sized again with the real one.
    if (!event->spontaneous()) {
        WhenFramed(this, [this] { LayoutForShow(); });
    }
    QDialog::showEvent(event);
    raise();
    activateWindow();
    if (!Pnl_StdDlg_BBtn->isHidden()) {
        Pnl_StdDlg_BBtn->setFocus();
    }
}

void TUF_StdDlg::PlaceControls() {
    Lbl_MsgID->move(8, (Pnl_StdDlg_BBtn->height() - Lbl_MsgID->height()) / 2);
    LayoutPanels();
}

void TUF_StdDlg::LayoutPanels() {
    const int w = width();
    int bottom = height();
    if (!Pnl_StdDlg_BBtn->isHidden()) {
        bottom -= Pnl_StdDlg_BBtn->height();
        Pnl_StdDlg_BBtn->setGeometry(0, bottom, w, Pnl_StdDlg_BBtn->height());
        Bvl_StdDlg_BBtn->setGeometry(0, 0, w, 2);
    }
    if (!Pnl_StdDlg_CB->isHidden()) {
        bottom -= Pnl_StdDlg_CB->height();
        Pnl_StdDlg_CB->setGeometry(0, bottom, w, Pnl_StdDlg_CB->height());
        Bvl_StdDlg_CB->setGeometry(0, 0, w, 2);
    }
    bottom = std::max(0, bottom);
    Pnl_Image->setGeometry(0, 0, kImagePanelWidth, bottom);
    Memo_StdDlg->setGeometry(kImagePanelWidth, 0, std::max(0, w - kImagePanelWidth - kSpacerWidth),
                             bottom);
    Pnl_Spacer->setGeometry(std::max(0, w - kSpacerWidth), 0, kSpacerWidth, bottom);
    PlaceButtons();
}

void TUF_StdDlg::PlaceButtons() {
    const int top = 6;
    BBtn_R->move(Pnl_StdDlg_BBtn->width() - BBtn_R->width() - 8, top);
    BBtn_M->move(BBtn_R->x() - BBtn_M->width() - 8, top);
    BBtn_L->move(BBtn_M->x() - BBtn_L->width() - 8, top);
}

void TUF_StdDlg::CalcMinSize() {
    const FrameMetrics fm = frameMetrics();
    const QMargins frame = FrameMarginsOf(this);
    const TextMeasurer& m = textMeasurer();
    const QStringList lines = getMemoLines();
    int textHeight = std::max(0, m.textHeight(font(), QStringLiteral("gM")) *
                                     (static_cast<int>(lines.size()) + 1));
    textHeight = std::max(textHeight, Img_Question->height() + 14);
    MinHeight = frame.top() + frame.bottom() + textHeight;
    if (!Pnl_StdDlg_CB->isHidden()) {
        MinHeight += Pnl_StdDlg_CB->height();
    }
    if (!Pnl_StdDlg_BBtn->isHidden()) {
        MinHeight += Pnl_StdDlg_BBtn->height();
    }

    // Window managers draw their minimise and maximise buttons beside a dialogue's caption too.
    int w = CaptionTextWidth(windowTitle(), true, true);
    for (const QString& line : lines) {
        w = std::max(w, TextWidth(line) + kImagePanelWidth + kSpacerWidth + 10 +
                            (MemoScrolls ? fm.vScroll : 0));
    }
    if (!Pnl_StdDlg_CB->isHidden()) {
        w = std::max(w, CB_StdDlg->x() + CB_StdDlg->width() + 8);
    }
    int row = Lbl_MsgID->width() + 8;
    if (!BBtn_L->isHidden()) {
        row += 8 + BBtn_L->width() + 8;
    }
    if (!BBtn_M->isHidden()) {
        row += BBtn_M->width() + 8;
    }
    row += !BBtn_R->isHidden() ? BBtn_R->width() + 8 : 8;
    w = std::max(w, row);
    MinWidth = frame.left() + frame.right() + w;
}

void TUF_StdDlg::FitToWorkArea() {
    const QRect area = workArea().rect();
    int h = MinHeight;
    MemoScrolls = false;
    if (h > area.height()) {
        h = area.height();
        MemoScrolls = true;
        MinHeight = h;
    }
    Memo_StdDlg->setVerticalScrollBarPolicy(MemoScrolls ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
    const int w = std::min(MinWidth, area.width());
    MinWidth = w;
    setFixedSize(ClientSizeOf(this, QSize(w, h)));
    PlaceOuter(this, QRect(CentredStart(area.left(), area.width(), w),
                           CentredStart(area.top(), area.height(), h), w, h));
    LayoutPanels();
}

void TUF_StdDlg::ResizeAndCentre() {
    FitToWorkArea();
}

void TUF_StdDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutPanels();
}
