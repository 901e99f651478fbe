#include "forms/dialogs/F_Options.h"

#include "forms/HintStyle.h"
#include "forms/ServiceAdapters.h"
#include "forms/SlotGuard.h"
#include "forms/StatusImage.h"
#include "forms/browse/F_BrowseFile.h"
#include "forms/browse/F_BrowseFld.h"
#include "forms/browse/F_BrowseVal.h"
#include "forms/browse/F_BrowseWS.h"
#include "forms/browse/F_CfgErr.h"
#include "forms/browse/F_DFVErr.h"
#include "forms/dialogs/F_About.h"
#include "forms/dialogs/F_Summary.h"
#include "forms/main/F_Main.h"
#include "forms/main/MainWindowHandOver.h"
#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/MainWindow.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "services/ovWM.h"
#include "services_ui/F_Progress.h"
#include "services_ui/F_StdDlg.h"
#include "services_ui/Splash.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WindowGeometry.h"
#include "services_ui/WorkArea.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

TUF_Options* UF_Options = nullptr;

namespace {

const QString kTitle = QStringLiteral("Ovik KRV Tessel");
const QString kCRLF = QStringLiteral("\r\n");

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

// Panel titles carry two blanks before and one after.
QString panelTitle(int id) {
    return QStringLiteral("  ") + UIT(id) + QLatin1Char(' ');
}

QString hint(int description, int shortcut) {
    return UIT(description) + kCRLF + UIT(shortcut);
}

int scaled(int base) {
    return base * DlgAvgCharWidth / 6;
}

// The program's windows for the reset command: every geometry slot with its window, and the
// fixed-size windows centred.
class TProgramWindows : public IOptionsWindows {
public:
    explicit TProgramWindows(TUF_Options* options) : Options(options) {}

    void ResetWindowGeometries() override {
        if (WMs == nullptr) {
            return;
        }
        if (UF_Main != nullptr) {
            TovWM& main = WMs->getItems(1);
            ResetWindowGeometry(main, UF_Main, true);
            main.setFormPositionReset(false);
        }
        QWidget* const slots[] = {UF_BrowseFile, UF_BrowseFld, UF_BrowseVal, UF_BrowseWS,
                                  UF_CfgErr,     UF_DFVErr,    UF_Summary};
        for (int i = 0; i < static_cast<int>(std::size(slots)); ++i) {
            if (slots[i] != nullptr) {
                ResetWindowGeometry(WMs->getItems(i + 2), slots[i], true);
            }
        }
        WMs->SaveAll();
    }

    void CentreFixedWindows() override {
        if (UF_About != nullptr) {
            UF_About->CentreOnWorkArea();
        }
        if (UF_Progress != nullptr) {
            UF_Progress->ResizeAndCentre();
        }
        if (UF_StdDlg != nullptr) {
            UF_StdDlg->ResizeAndCentre();
        }
        Options->CentreOnWorkArea();
        BringWindowToFront(Options);
    }

private:
    TUF_Options* Options;
};

} // namespace

struct TUF_Options::Controls {
    QLabel* Pnl_UP_UI;
    QPushButton* BBtn_UP_ResetSizePosition;
    QCheckBox* CB_UP_ShowToolBarCaptions;
    QCheckBox* CB_UP_PromptOnProcess;
    QLabel* Lbl_UP_HintPause;
    QComboBox* DDL_UP_HintPause;
    QLabel* Lbl_UP_HintPause_ms;
    QLabel* Lbl_UP_HintHidePause;
    QComboBox* DDL_UP_HintHidePause;
    QLabel* Lbl_UP_HintHidePause_ms;
    QLabel* Lbl_UP_DefaultXLExtn;
    QComboBox* DDL_UP_DefaultXLExtn;
    QLabel* Pnl_UP_DF;
    QPushButton* BBtn_UP_ReAssoc;
    QCheckBox* CB_UP_PurgeMRU;
    QCheckBox* CB_UP_BackupDF;
    QCheckBox* CB_UP_IncBackup;
    QLabel* Pnl_UP_BTFF;
    QLabel* Lbl_UP_ImportTaskFldValCount;
    QComboBox* DDL_UP_ImportTaskFldValCount;
    QLabel* Pnl_UP_TF;
    QLabel* Lbl_UP_DefaultTF;
    QComboBox* DDL_UP_DefaultTF;
    QLineEdit* TB_UP_DefaultTF;
    QPushButton* BBtn_UP_DefaultTF_Browse;
    QPushButton* BBtn_UP_DefaultTF_Open;
    TStatusImage* Img_UP_DefaultTF;
    QLabel* Pnl_UP_OF;
    QLabel* Lbl_UP_DefaultOFFolder;
    QComboBox* DDL_UP_DefaultOFFolder;
    QLineEdit* TB_UP_DefaultOFFolder;
    QPushButton* BBtn_UP_DefaultOFFolder_Browse;
    TStatusImage* Img_UP_DefaultOFFolder;
    QCheckBox* CB_UP_PromptOnCreateOFFolder;
    QCheckBox* CB_UP_PromptOnOverwriteOF;
    QWidget* Pnl_BBtn;
    QPushButton* BBtn_Reset;
    QPushButton* BBtn_Close;
    QPushButton* BBtn_Cancel;
};

TUF_Options::TUF_Options(QWidget* parent)
    : QDialog(parent), C(std::make_unique<Controls>()),
      ProgramWindows(std::make_unique<TProgramWindows>(this)),
      DesktopFileDialogs(std::make_unique<TQtFileDialogs>()),
      Model(TOptionsModel::TCollaborators{UP, DV, nullptr, nullptr, &ApplyHintTiming, {}}) {
    SplashStatus(29);
    Model.setWindows(ProgramWindows.get());
    Model.setFileDialogs(DesktopFileDialogs.get());
    Model.setShowControls([this] { Render(); });
    // A single fixed border with only the system menu: no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    QFont font = this->font();
    ApplyIconTitleFont(font);
    setFont(font);
    CreateControls();
    LayOut();
    Connect();
    KeepFromMinimising(this);
}

TUF_Options::~TUF_Options() {
    if (UF_Options == this) {
        UF_Options = nullptr;
    }
}

QLineEdit* TUF_Options::templateEdit() const {
    return C->TB_UP_DefaultTF;
}

void TUF_Options::CreateControls() {
    Controls& c = *C;
    setWindowTitle(framed(platform::Format(UIT(txt::Options_277), {kTitle})));
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    auto panel = [this](int id) {
        auto* title = new QLabel(panelTitle(id), this);
        title->setFrameShape(QFrame::StyledPanel);
        title->setFixedHeight(DlgTextHeight + 8);
        return title;
    };
    auto check = [this](const QString& text, const QString& tip) {
        auto* box = new QCheckBox(framed(text), this);
        box->setToolTip(tip);
        return box;
    };
    auto list = [this](const QStringList& items, const QString& tip) {
        auto* box = new QComboBox(this);
        box->addItems(items);
        box->setToolTip(tip);
        return box;
    };
    auto button = [this](const QString& text, const QString& tip) {
        auto* b = new QPushButton(framed(text), this);
        b->setToolTip(tip);
        b->setAutoDefault(false);
        return b;
    };

    c.Pnl_UP_UI = panel(278);
    c.BBtn_UP_ResetSizePosition = button(UIT(txt::ResetFormSizesAndPositions), hint(1065, 1066));
    c.CB_UP_ShowToolBarCaptions = check(UIT(txt::ShowMainFormToolbarButton), hint(1067, 1068));
    c.CB_UP_PromptOnProcess = check(UIT(txt::PromptOnProcessKRVDefinition), hint(1069, 1070));
    c.Lbl_UP_HintPause = label(framed(UIT(txt::ShowHintDelay)));
    c.DDL_UP_HintPause = list(TOptionsModel::HintPauseItems(),
                              UIT(txt::SelectDelayInMillisecondsBeforeHintsAreShown));
    c.Lbl_UP_HintPause_ms = label(framed(UIT(txt::Milliseconds)));
    c.Lbl_UP_HintHidePause = label(framed(UIT(txt::HideHintDelay)));
    c.DDL_UP_HintHidePause = list(TOptionsModel::HintHidePauseItems(),
                                  UIT(txt::SelectDelayInMillisecondsBeforeHintsAreHidden));
    c.Lbl_UP_HintHidePause_ms = label(framed(UIT(txt::Milliseconds_285)));
    c.Lbl_UP_DefaultXLExtn = label(framed(UIT(txt::DefaultMSExcelFileExtension)));
    c.DDL_UP_DefaultXLExtn =
        list(TOptionsModel::XLExtnItems(), UIT(txt::SelectDefaultMSExcelFile) + kCRLF +
                                               UIT(txt::IsNotSpecifiedForData) + kCRLF +
                                               UIT(txt::AutoMSExcelFileExtension));
    c.Pnl_UP_DF = panel(288);
    c.BBtn_UP_ReAssoc = button(UIT(txt::ReassociateDataFileAndBackupDataFileExtensions),
                               UIT(txt::ReassociateDataFileAndBackupDataFile) + kCRLF +
                                   platform::Format(UIT(txt::Extensions), {kTitle}) + kCRLF +
                                   UIT(txt::ShortcutAlt_1078));
    c.CB_UP_PurgeMRU = check(platform::Format(UIT(txt::PurgeMRUDataFileList), {kTitle}),
                             UIT(txt::EnableToRemoveInvalidEntries) + kCRLF +
                                 platform::Format(UIT(txt::MRUDataFileListWhen), {kTitle}) + kCRLF +
                                 UIT(txt::ShortcutAltP_1081));
    c.CB_UP_BackupDF = check(UIT(txt::CreateBackupCopyOfData), hint(1082, 1083));
    c.CB_UP_IncBackup = check(UIT(txt::CreateIncrementalBackupDataFiles), hint(1084, 1085));
    c.Pnl_UP_BTFF = panel(293);
    c.Lbl_UP_ImportTaskFldValCount = label(framed(UIT(txt::NumberOfTaskFieldValues)));
    c.DDL_UP_ImportTaskFldValCount =
        list(TOptionsModel::ImportCountItems(), UIT(txt::SelectNumberOfTaskField));
    c.Pnl_UP_TF = panel(295);
    c.Lbl_UP_DefaultTF = label(framed(UIT(txt::DefaultTemplateFile)));
    c.DDL_UP_DefaultTF =
        list(TOptionsModel::TFItems(),
             UIT(txt::SelectDefaultTemplateFile) + kCRLF + UIT(txt::AutoDefaultTemplateFile));
    c.TB_UP_DefaultTF = new QLineEdit(this);
    c.TB_UP_DefaultTF->setMaxLength(TOptionsModel::kTFMaxLength);
    c.BBtn_UP_DefaultTF_Browse =
        button(QStringLiteral("..."), UIT(txt::BrowseForDefaultTemplateFile));
    c.BBtn_UP_DefaultTF_Open = button(QStringLiteral("\u2197"), UIT(txt::OpenDefaultTemplateFile));
    c.Img_UP_DefaultTF = new TStatusImage(this);
    c.Pnl_UP_OF = panel(304);
    c.Lbl_UP_DefaultOFFolder = label(framed(UIT(txt::DefaultOutputFileFolder)));
    c.DDL_UP_DefaultOFFolder =
        list(TOptionsModel::OFFolderItems(), UIT(txt::SelectDefaultOutputFileFolder));
    c.TB_UP_DefaultOFFolder = new QLineEdit(this);
    c.TB_UP_DefaultOFFolder->setMaxLength(TOptionsModel::kOFFolderMaxLength);
    c.BBtn_UP_DefaultOFFolder_Browse =
        button(QStringLiteral("..."), UIT(txt::BrowseForDefaultOutputFile));
    c.Img_UP_DefaultOFFolder = new TStatusImage(this);
    c.CB_UP_PromptOnCreateOFFolder = check(UIT(txt::PromptOnCreateOutputFile), hint(1093, 1094));
    c.CB_UP_PromptOnOverwriteOF = check(UIT(txt::PromptOnOverwriteOutputFile), hint(1095, 1096));
    c.Pnl_BBtn = new QWidget(this);
    c.Pnl_BBtn->setFocusPolicy(Qt::StrongFocus);
    c.BBtn_Reset = button(UIT(txt::Reset_313), hint(1097, 1098));
    c.BBtn_Close = button(UIT(txt::Close_314), hint(1099, 1100));
    c.BBtn_Cancel = button(UIT(txt::Cancel_315), hint(1101, 1102));
    c.TB_UP_DefaultTF->installEventFilter(this);
    c.TB_UP_DefaultOFFolder->installEventFilter(this);
}

void TUF_Options::LayOut() {
    Controls& c = *C;
    const int bigButtonHeight = DlgTextHeight + DlgBBtnMargin;
    const int smallButtonHeight = DlgTextHeight + DlgSmallBtnMargin;
    for (QPushButton* b : {c.BBtn_UP_ResetSizePosition, c.BBtn_UP_ReAssoc}) {
        b->setFixedHeight(bigButtonHeight);
    }
    for (QPushButton* b : {c.BBtn_Reset, c.BBtn_Close, c.BBtn_Cancel}) {
        b->setFixedSize(scaled(80), bigButtonHeight);
    }
    for (QPushButton* b :
         {c.BBtn_UP_DefaultTF_Browse, c.BBtn_UP_DefaultTF_Open, c.BBtn_UP_DefaultOFFolder_Browse}) {
        b->setFixedSize(scaled(26), smallButtonHeight);
    }
    for (QComboBox* b : {c.DDL_UP_HintPause, c.DDL_UP_HintHidePause, c.DDL_UP_DefaultXLExtn}) {
        b->setFixedWidth(scaled(60));
    }
    c.DDL_UP_ImportTaskFldValCount->setFixedWidth(scaled(50));
    // The template and folder lists are as wide as their widest item, framed, with the scroll
    // bar and a margin.
    for (QComboBox* b : {c.DDL_UP_DefaultTF, c.DDL_UP_DefaultOFFolder}) {
        int widest = 0;
        for (int i = 0; i < b->count(); ++i) {
            widest = std::max(widest, textMeasurer().textWidth(b->font(), framed(b->itemText(i))));
        }
        b->setFixedWidth(widest + frameMetrics().vScroll + 8);
    }
    for (QCheckBox* box :
         {c.CB_UP_ShowToolBarCaptions, c.CB_UP_PromptOnProcess, c.CB_UP_PurgeMRU, c.CB_UP_BackupDF,
          c.CB_UP_IncBackup, c.CB_UP_PromptOnCreateOFFolder, c.CB_UP_PromptOnOverwriteOF}) {
        box->setMinimumHeight(13 * DlgTextHeight / 13);
    }
    for (QLabel* img : {c.Img_UP_DefaultTF, c.Img_UP_DefaultOFFolder}) {
        img->setFixedSize(DlgImageWidth, DlgImageHeight);
    }

    auto row = [](std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        for (QWidget* w : widgets) {
            line->addWidget(w, 0, Qt::AlignVCenter);
        }
        line->addStretch(1);
        return line;
    };
    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(c.Pnl_UP_UI);
    left->addWidget(c.BBtn_UP_ResetSizePosition);
    left->addWidget(c.CB_UP_ShowToolBarCaptions);
    left->addWidget(c.CB_UP_PromptOnProcess);
    left->addLayout(row({c.Lbl_UP_HintPause, c.DDL_UP_HintPause, c.Lbl_UP_HintPause_ms}));
    left->addLayout(
        row({c.Lbl_UP_HintHidePause, c.DDL_UP_HintHidePause, c.Lbl_UP_HintHidePause_ms}));
    left->addLayout(row({c.Lbl_UP_DefaultXLExtn, c.DDL_UP_DefaultXLExtn}));
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(c.Pnl_UP_DF);
    right->addWidget(c.BBtn_UP_ReAssoc);
    right->addWidget(c.CB_UP_PurgeMRU);
    right->addWidget(c.CB_UP_BackupDF);
    right->addWidget(c.CB_UP_IncBackup);
    right->addWidget(c.Pnl_UP_BTFF);
    right->addLayout(row({c.Lbl_UP_ImportTaskFldValCount, c.DDL_UP_ImportTaskFldValCount}));
    right->addStretch(1);
    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::VLine);
    auto* upper = new QHBoxLayout;
    upper->addLayout(left);
    upper->addWidget(bevel);
    upper->addLayout(right);

    auto pathRow = [](QLineEdit* edit, std::initializer_list<QWidget*> tail) {
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        line->addWidget(edit, 1);
        for (QWidget* w : tail) {
            line->addWidget(w, 0, Qt::AlignVCenter);
        }
        return line;
    };
    auto* buttons = new QHBoxLayout(c.Pnl_BBtn);
    buttons->setContentsMargins(0, 6, 0, 6);
    buttons->setSpacing(8);
    buttons->addWidget(c.BBtn_Reset);
    buttons->addStretch(1);
    buttons->addWidget(c.BBtn_Close);
    buttons->addWidget(c.BBtn_Cancel);

    auto* whole = new QVBoxLayout(this);
    whole->setSpacing(6);
    whole->addLayout(upper);
    whole->addWidget(c.Pnl_UP_TF);
    whole->addLayout(row({c.Lbl_UP_DefaultTF, c.DDL_UP_DefaultTF}));
    whole->addLayout(pathRow(c.TB_UP_DefaultTF, {c.BBtn_UP_DefaultTF_Browse,
                                                 c.BBtn_UP_DefaultTF_Open, c.Img_UP_DefaultTF}));
    whole->addWidget(c.Pnl_UP_OF);
    whole->addLayout(row({c.Lbl_UP_DefaultOFFolder, c.DDL_UP_DefaultOFFolder}));
    whole->addLayout(pathRow(c.TB_UP_DefaultOFFolder,
                             {c.BBtn_UP_DefaultOFFolder_Browse, c.Img_UP_DefaultOFFolder}));
    whole->addWidget(c.CB_UP_PromptOnCreateOFFolder);
    whole->addWidget(c.CB_UP_PromptOnOverwriteOF);
    whole->addWidget(c.Pnl_BBtn);
    FitToWorkArea();
}

void TUF_Options::Connect() {
    Controls& c = *C;
    auto onCheck = [this](QCheckBox* box, bool TOptionsControls::*field) {
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            if (!Rendering) {
                GuardSlot([&] {
                    HideBalloon();
                    Model.setCheck(field, on);
                    Render();
                });
            }
        });
    };
    onCheck(c.CB_UP_ShowToolBarCaptions, &TOptionsControls::ShowToolBarCaptions);
    onCheck(c.CB_UP_PromptOnProcess, &TOptionsControls::PromptOnProcess);
    onCheck(c.CB_UP_PurgeMRU, &TOptionsControls::PurgeMRU);
    onCheck(c.CB_UP_BackupDF, &TOptionsControls::BackupDF);
    onCheck(c.CB_UP_IncBackup, &TOptionsControls::IncBackup);
    onCheck(c.CB_UP_PromptOnCreateOFFolder, &TOptionsControls::PromptOnCreateOFFolder);
    onCheck(c.CB_UP_PromptOnOverwriteOF, &TOptionsControls::PromptOnOverwriteOF);

    auto onList = [this](QComboBox* box, void (TOptionsModel::*set)(int)) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, set](int item) {
            if (!Rendering) {
                GuardSlot([&] {
                    HideBalloon();
                    (Model.*set)(item);
                    Render();
                });
            }
        });
    };
    onList(c.DDL_UP_HintPause, &TOptionsModel::setHintPauseItem);
    onList(c.DDL_UP_HintHidePause, &TOptionsModel::setHintHidePauseItem);
    onList(c.DDL_UP_DefaultXLExtn, &TOptionsModel::setXLExtnItem);
    onList(c.DDL_UP_ImportTaskFldValCount, &TOptionsModel::setImportCountItem);
    onList(c.DDL_UP_DefaultTF, &TOptionsModel::setTFItem);
    onList(c.DDL_UP_DefaultOFFolder, &TOptionsModel::setOFFolderItem);

    auto onText = [this](QLineEdit* edit, void (TOptionsModel::*set)(const QString&)) {
        connect(edit, &QLineEdit::textChanged, this, [this, set](const QString& text) {
            if (!Rendering) {
                GuardSlot([&] {
                    (Model.*set)(text);
                    Render();
                });
            }
        });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
            GuardSlot([&] {
                if (edit->text() != edit->text().trimmed()) {
                    edit->setText(edit->text().trimmed());
                }
            });
        });
    };
    onText(c.TB_UP_DefaultTF, &TOptionsModel::setTFText);
    onText(c.TB_UP_DefaultOFFolder, &TOptionsModel::setOFFolderText);

    auto onClick = [this](QPushButton* b, void (TOptionsModel::*command)()) {
        connect(b, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
    };
    onClick(c.BBtn_UP_ResetSizePosition, &TOptionsModel::ResetSizePosition);
    onClick(c.BBtn_UP_ReAssoc, &TOptionsModel::ReAssociate);
    onClick(c.BBtn_UP_DefaultTF_Browse, &TOptionsModel::BrowseTemplate);
    onClick(c.BBtn_UP_DefaultTF_Open, &TOptionsModel::OpenTemplate);
    onClick(c.BBtn_UP_DefaultOFFolder_Browse, &TOptionsModel::BrowseOutputFolder);
    onClick(c.BBtn_Reset, &TOptionsModel::Reset);
    connect(c.BBtn_Close, &QPushButton::clicked, this, [this] { GuardSlot([&] { accept(); }); });
    connect(c.BBtn_Cancel, &QPushButton::clicked, this, [this] { GuardSlot([&] { reject(); }); });
}

void TUF_Options::RunCommand(void (TOptionsModel::*command)()) {
    GuardSlot([&] {
        HideBalloon();
        if (C->Pnl_BBtn->isEnabled()) {
            C->Pnl_BBtn->setFocus();
        }
        (Model.*command)();
        Render();
    });
}

void TUF_Options::Render() {
    Controls& c = *C;
    const TOptionsControls& v = Model.controls();
    const TOptionsStates& s = Model.states();
    Rendering = true;
    c.CB_UP_ShowToolBarCaptions->setChecked(v.ShowToolBarCaptions);
    c.CB_UP_PromptOnProcess->setChecked(v.PromptOnProcess);
    c.CB_UP_PurgeMRU->setChecked(v.PurgeMRU);
    c.CB_UP_BackupDF->setChecked(v.BackupDF);
    c.CB_UP_IncBackup->setChecked(v.IncBackup);
    c.CB_UP_IncBackup->setEnabled(s.IncBackupEnabled);
    c.CB_UP_PromptOnCreateOFFolder->setChecked(v.PromptOnCreateOFFolder);
    c.CB_UP_PromptOnOverwriteOF->setChecked(v.PromptOnOverwriteOF);
    c.DDL_UP_HintPause->setCurrentIndex(v.HintPauseItem);
    c.DDL_UP_HintHidePause->setCurrentIndex(v.HintHidePauseItem);
    c.DDL_UP_DefaultXLExtn->setCurrentIndex(v.XLExtnItem);
    c.DDL_UP_ImportTaskFldValCount->setCurrentIndex(v.ImportCountItem);
    c.DDL_UP_DefaultTF->setCurrentIndex(v.TFItem);
    c.DDL_UP_DefaultOFFolder->setCurrentIndex(v.OFFolderItem);
    auto showPath = [](QLineEdit* edit, const QString& text, bool writable) {
        if (edit->text() != text) {
            edit->setText(text);
        }
        edit->setToolTip(text);
        edit->setReadOnly(!writable);
        QPalette colours = edit->palette();
        colours.setColor(QPalette::Base, QApplication::palette().color(
                                             writable ? QPalette::Base : QPalette::Button));
        edit->setPalette(colours);
    };
    showPath(c.TB_UP_DefaultTF, v.TFText, s.TFWritable);
    showPath(c.TB_UP_DefaultOFFolder, v.OFFolderText, s.OFFolderWritable);
    c.BBtn_UP_DefaultTF_Browse->setEnabled(s.TFBrowseEnabled);
    c.BBtn_UP_DefaultTF_Open->setEnabled(s.TFOpenEnabled);
    c.BBtn_UP_DefaultOFFolder_Browse->setEnabled(s.OFFolderBrowseEnabled);
    // The main window's status pictures, redrawn only when their state changes.
    SetStatusImage(c.Img_UP_DefaultTF, s.TFHint, s.TFError);
    SetStatusImage(c.Img_UP_DefaultOFFolder, s.OFFolderHint, s.OFFolderError);
    Rendering = false;
}

void TUF_Options::ShowBalloon(QWidget* at, const QString& text) {
    QToolTip::showText(at->mapToGlobal(QPoint(0, at->height())), text, at, QRect(), 2500);
}

void TUF_Options::HideBalloon() {
    QToolTip::hideText();
}

bool TUF_Options::eventFilter(QObject* watched, QEvent* e) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || e->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, e);
    }
    bool consumed = false;
    GuardSlot([&] {
        HideBalloon();
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool isTemplate = edit == C->TB_UP_DefaultTF;
        if (isTemplate && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            C->DDL_UP_DefaultOFFolder->setFocus();
            consumed = true;
            return;
        }
        if (key->text().size() != 1 || key->modifiers().testFlag(Qt::ControlModifier)) {
            return;
        }
        const int maxLength =
            isTemplate ? TOptionsModel::kTFMaxLength : TOptionsModel::kOFFolderMaxLength;
        const std::optional<QString> refusal =
            Model.RefusePathKey(key->text().front(), static_cast<int>(edit->text().size()),
                                maxLength, !edit->isReadOnly());
        if (refusal) {
            ShowBalloon(edit, *refusal);
            consumed = true;
        }
    });
    return consumed || QDialog::eventFilter(watched, e);
}

bool TUF_Options::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        GuardSlot([&] {
            RestoreMainFromMinimised();
            HideBalloon();
            Model.Activate();
            Render();
            if (C->Pnl_BBtn->isEnabled()) {
                C->Pnl_BBtn->setFocus();
            }
        });
    } else if (e->type() == QEvent::ApplicationStateChange || e->type() == QEvent::Move) {
        HideBalloon();
    }
    return QDialog::event(e);
}

void TUF_Options::showEvent(QShowEvent* e) {
    GuardSlot([&] {
        // A showing the main window did not prepare still starts from the stored preferences.
        if (!Model.hasSnapshot()) {
            Model.SnapshotPreferences();
        }
        Model.Activate();
        Render();
        FitToWorkArea();
        // Fitted with a frame not yet its own (its first showing): fitted again with the real one.
        if (!e->spontaneous()) {
            WhenFramed(this, [this] { GuardSlot([&] { FitToWorkArea(); }); });
        }
    });
    QDialog::showEvent(e);
}

void TUF_Options::hideEvent(QHideEvent* e) {
    ShownBefore = true;
    QDialog::hideEvent(e);
}

void TUF_Options::accept() {
    GuardSlot([&] {
        HideBalloon();
        if (Model.Close()) {
            QDialog::accept();
        }
    });
}

void TUF_Options::reject() {
    GuardSlot([&] {
        HideBalloon();
        Model.Cancel();
    });
    QDialog::reject();
}

// The window is exactly as large as its content and its caption need.
void TUF_Options::FitToWorkArea() {
    const int caption = CaptionTextWidth(windowTitle(), false, true);
    FitFixedWindowToWorkArea(this, minimumSizeHint().expandedTo(QSize(caption, 0)), !ShownBefore);
}

void TUF_Options::CentreOnWorkArea() {
    FitToWorkArea();
    CentreWindowOnWorkArea(this);
}
