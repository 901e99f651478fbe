#include "forms/dialogs/F_AddRenameCopy.h"

#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/MainWindow.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services_ui/Splash.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WorkArea.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

using platform::Format;

TUF_AddRenameCopy* UF_AddRenameCopy = nullptr;

namespace {

constexpr int kMaxLength = 255;

bool SameText(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TUF_AddRenameCopy::TUF_AddRenameCopy(QWidget* parent)
    // A single fixed border with only the system menu: no minimise or maximise.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Lbl_Description(new QLabel(this)), TB_Description(new QLineEdit(this)),
      Img_Description(new TStatusImage(this)), BBtn_AddRenameCopy(new QPushButton(this)),
      BBtn_Cancel(new QPushButton(this)) {
    SplashStatus(21);
    // The label's caption has no number in the text table.
    Lbl_Description->setText(QStringLiteral(" Description "));
    BBtn_Cancel->setText(Framed(UIT(txt::Cancel)));
    TB_Description->setToolTip(UIT(txt::EnterDescriptionForKRVDefinition) + QLatin1Char('\n') +
                               Format(UIT(txt::MaximumLengthCharacters_997), {kMaxLength}));
    QFont font = this->font();
    ApplyIconTitleFont(font);
    setFont(font);
    TB_Description->setMaxLength(kMaxLength);
    TB_Description->installEventFilter(this);
    BuildLayout();
    // Placed before its first showing, so that the toolkit leaves its position alone.
    CentreOnWorkArea();
    KeepFromMinimising(this);

    connect(TB_Description, &QLineEdit::textChanged, this, [this] {
        GuardSlot([this] {
            HideBalloon();
            ValidateDescription();
        });
    });
    connect(TB_Description, &QLineEdit::editingFinished, this, [this] { HideBalloon(); });
    connect(BBtn_AddRenameCopy, &QPushButton::clicked, this, [this] {
        GuardSlot([this] {
            HideBalloon();
            Accept();
        });
    });
    connect(BBtn_Cancel, &QPushButton::clicked, this, [this] {
        GuardSlot([this] {
            HideBalloon();
            reject();
        });
    });
}

TUF_AddRenameCopy::~TUF_AddRenameCopy() {
    if (UF_AddRenameCopy == this) {
        UF_AddRenameCopy = nullptr;
    }
}

void TUF_AddRenameCopy::BuildLayout() {
    using namespace formmetrics;
    TB_Description->setFixedWidth(ScaledWidth(500));
    for (QPushButton* button : {BBtn_AddRenameCopy, BBtn_Cancel}) {
        button->setFixedSize(ScaledWidth(80), BitButtonHeight());
        button->setAutoDefault(false);
    }
    auto* fieldRow = new QHBoxLayout();
    fieldRow->setContentsMargins(8, 6, 8, 6);
    fieldRow->setSpacing(8);
    fieldRow->addWidget(Lbl_Description, 0, Qt::AlignVCenter);
    fieldRow->addWidget(TB_Description, 1, Qt::AlignVCenter);
    fieldRow->addSpacing(4);
    fieldRow->addWidget(Img_Description, 0, Qt::AlignVCenter);

    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QHBoxLayout();
    buttons->setContentsMargins(8, 6, 8, 6);
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(BBtn_AddRenameCopy);
    buttons->addWidget(BBtn_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(fieldRow);
    layout->addWidget(bevel);
    layout->addLayout(buttons);
}

void TUF_AddRenameCopy::Setup(const TAddRenameCopySetup& setup) {
    setWindowTitle(setup.Caption);
    TB_Description->setText(setup.Description);
    BBtn_AddRenameCopy->setText(setup.ActionCaption);
    BBtn_AddRenameCopy->setToolTip(setup.ActionHint);
    BBtn_AddRenameCopy->setIcon(ActionGlyph(setup.ActionGlyph));
    BBtn_Cancel->setToolTip(setup.CancelHint);
}

int TUF_AddRenameCopy::ShowModal() {
    return exec() == QDialog::Accepted ? mrOk : mrCancel;
}

QString TUF_AddRenameCopy::getDescription() const {
    return TB_Description->text().trimmed();
}

// Exactly as large as its content and its caption need, centred.
void TUF_AddRenameCopy::CentreOnWorkArea() {
    const int caption = CaptionTextWidth(windowTitle(), true, true);
    FitFixedWindowToWorkArea(this, minimumSizeHint().expandedTo(QSize(caption, 0)), true);
    CentreWindowOnWorkArea(this);
}

void TUF_AddRenameCopy::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    GuardSlot([this, event] {
        RestoreMainFromMinimised();
        HideBalloon();
        CentreOnWorkArea();
        // Placed with a frame not yet its own (its first showing): placed again with the real one.
        if (!event->spontaneous()) {
            WhenFramed(this, [this] { GuardSlot([this] { CentreOnWorkArea(); }); });
        }
        ValidateDescription();
        if (TB_Description->isEnabled()) {
            TB_Description->selectAll();
            TB_Description->setFocus();
        }
    });
}

void TUF_AddRenameCopy::ValidateDescription() {
    const QString text = TB_Description->text().trimmed();
    BBtn_AddRenameCopy->setEnabled(!text.isEmpty());
    if (DV == nullptr) {
        return;
    }
    DV->ClearMsgFields();
    bool error = DV->CheckSDDescUndefined(text);
    const bool renaming = AD != nullptr && AD->getRenameSD();
    const int active = SDs != nullptr ? SDs->getActiveSD() : 0;
    for (int i = 1; !error && SDs != nullptr && i <= SDs->getCount(); ++i) {
        const QString description = SDs->getItems(i)->getDescription();
        if (description.isEmpty() || (renaming && i == active)) {
            continue;
        }
        error = DV->CheckSDDescDuplicate({i, UIT(txt::KRVDefinitionDescription_740), text,
                                          Format(UIT(txt::KRVDefinitionDescription), {i}),
                                          description});
    }
    SetStatusImage(Img_Description, DV->getHintText(), error);
}

void TUF_AddRenameCopy::Accept() {
    const QString text = TB_Description->text().trimmed();
    TB_Description->setText(text);
    const bool renaming = AD != nullptr && AD->getRenameSD();
    const int active = SDs != nullptr ? SDs->getActiveSD() : 0;
    for (int i = 1; SDs != nullptr && i <= SDs->getCount(); ++i) {
        const QString description = SDs->getItems(i)->getDescription();
        if (!SameText(text, description)) {
            continue;
        }
        // Renaming a definition to its own name, in any letter case, is allowed.
        if (renaming && active > 0 && SameText(text, SDs->getItems(active)->getDescription())) {
            continue;
        }
        const bool adding = AD != nullptr && AD->getAddSD();
        const QString key = adding     ? QStringLiteral("ARF001")
                            : renaming ? QStringLiteral("ARF002")
                                       : QStringLiteral("ARF003");
        const int first = adding ? 1521 : renaming ? 1522 : 1523;
        if (IStdDlg* dlg = StdDlg()) {
            dlg->MsgLines = {UIT(first), QString(), UIT(txt::KRVDefinitionWithDescriptionAlready),
                             QString(), description};
            dlg->SetupStdDlgButtons1(
                sdkWarning, key,
                {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1175)});
            dlg->ShowModal();
        }
        TB_Description->selectAll();
        return;
    }
    accept();
}

bool TUF_AddRenameCopy::eventFilter(QObject* watched, QEvent* event) {
    if (watched != TB_Description || event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    bool consumed = false;
    GuardSlot([&] {
        HideBalloon();
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            consumed = true;
            if (BBtn_AddRenameCopy->isEnabled()) {
                Accept();
            }
            return;
        }
        const bool editKey = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab ||
                             key->key() == Qt::Key_Escape;
        const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint();
        if (!TB_Description->isReadOnly() && TB_Description->text().size() == kMaxLength &&
            !editKey && typing && !TB_Description->hasSelectedText()) {
            consumed = true;
            ShowBalloon(Format(UIT(txt::MaximumLengthForField), {kMaxLength}));
        }
    });
    return consumed;
}

void TUF_AddRenameCopy::ShowBalloon(const QString& text) {
    QToolTip::showText(TB_Description->mapToGlobal(QPoint(0, TB_Description->height())), text,
                       TB_Description, TB_Description->rect(), 2500);
}

void TUF_AddRenameCopy::HideBalloon() {
    QToolTip::hideText();
}
