#pragma once

#include "forms/tabs/MainTab.h"
#include "forms/tabs/TabSCFModel.h"

#include <array>
#include <memory>

class IFileDialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class TStatusImage;
class TovSD;

// The S Curve Files tab of the main window: the data source workbook with its password, task
// worksheet and header row, the template workbook with its password and two worksheets, and the
// output workbook. Path boxes have Browse (file dialogue), Open (the desktop) and, for the
// template and the output, Default buttons; worksheet boxes have Browse buttons that offer the
// workbook's worksheets. Its rules live in TabSCFModel; the page holds the boxes' texts until
// Store writes them into the active definition.
class TTab_SCF : public TMainTabPage {
public:
    TTab_SCF(ITabHost& host, QWidget* parent);
    ~TTab_SCF() override;

    void Clear() override;
    void Enable(bool flag) override;
    void Load() override;
    void Refresh() override;
    void Store() override;
    void GoToField(int fieldId, int rowId) override;

    // The desktop's file dialogues unless another is set (tests).
    void setFileDialogs(IFileDialogs* dialogs) { FileDialogs = dialogs; }

    // Narrow access for tests.
    QLineEdit* box(TSCFBox which) const { return BoxOf[which]; }
    TStatusImage* statusImage(TSCFPicture which) const { return PictureOf[which]; }
    QPushButton* browseButton(TSCFWorkbook which) const { return BrowseOf[which]; }
    QPushButton* openButton(TSCFWorkbook which) const { return OpenOf[which]; }
    // The template's and the output's Default buttons (none for the data source).
    QPushButton* defaultButton(TSCFWorkbook which) const { return DefaultOf[which]; }
    QPushButton* worksheetBrowseButton(TSCFWorksheet which) const {
        return WorksheetBrowseOf[which];
    }
    TSCFBoxes Boxes() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Layout (Tab_SCF_Layout.cpp).
    void BuildControls();
    void SetTexts();
    void ArrangeControls();
    QLineEdit* NewBox(TSCFBox box, int maxLength);
    QPushButton* NewSmallButton(int imageIndex, int hintId);

    // Commands (Tab_SCF_Commands.cpp).
    void ConnectControls();
    void BoxChanged(TSCFBox box);
    void BoxExited(TSCFBox box);
    void MoveFocus(TSCFBox from, bool backwards);
    void BrowseWorkbook(TSCFWorkbook workbook);
    void BrowseWorksheet(TSCFWorksheet worksheet);
    void OpenWorkbook(TSCFWorkbook workbook);
    void UseDefaultTemplate();
    void UseDefaultOutput();
    void SetBoxText(TSCFBox box, const QString& text);
    void FocusBox(TSCFBox box);
    void ShowStatuses(const TSCFStatuses& statuses);
    // The active definition, or none while the list is empty.
    TovSD* ActiveSD() const;

    bool Loading = false;
    bool Enabled = false;
    TSCFEdited Edited{};
    IFileDialogs* FileDialogs = nullptr;
    std::unique_ptr<IFileDialogs> DesktopFileDialogs;

    QLabel* Pnl_SCF_DSF = nullptr;
    QLabel* Pnl_SCF_TF = nullptr;
    QLabel* Pnl_SCF_OF = nullptr;
    QLabel* Lbl_SCF_Note = nullptr;

    QLabel* Lbl_SCF_DSF_DrivePathFilenameExtn = nullptr;
    QLabel* Lbl_SCF_DSF_OpenPassword = nullptr;
    QLabel* Lbl_SCF_DSF_TaskWS = nullptr;
    QLabel* Lbl_SCF_DSF_THR = nullptr;
    QLabel* Lbl_SCF_TF_DrivePathFilenameExtn = nullptr;
    QLabel* Lbl_SCF_TF_OpenPassword = nullptr;
    QLabel* Lbl_SCF_TF_ProjectSummaryWS = nullptr;
    QLabel* Lbl_SCF_TF_ChartDataWS = nullptr;
    QLabel* Lbl_SCF_OF_DrivePathFilenameExtn = nullptr;

    QLineEdit* TB_SCF_DSF_DrivePathFilenameExtn = nullptr;
    QLineEdit* TB_SCF_DSF_OpenPassword = nullptr;
    QLineEdit* TB_SCF_DSF_TaskWS = nullptr;
    QLineEdit* TB_SCF_DSF_THR = nullptr;
    QLineEdit* TB_SCF_TF_DrivePathFilenameExtn = nullptr;
    QLineEdit* TB_SCF_TF_OpenPassword = nullptr;
    QLineEdit* TB_SCF_TF_ProjectSummaryWS = nullptr;
    QLineEdit* TB_SCF_TF_ChartDataWS = nullptr;
    QLineEdit* TB_SCF_OF_DrivePathFilenameExtn = nullptr;

    TStatusImage* Img_SCF_DSF_DrivePathFilenameExtn = nullptr;
    TStatusImage* Img_SCF_DSF_TaskWS = nullptr;
    TStatusImage* Img_SCF_DSF_THR = nullptr;
    TStatusImage* Img_SCF_TF_DrivePathFilenameExtn = nullptr;
    TStatusImage* Img_SCF_TF_ProjectSummaryWS = nullptr;
    TStatusImage* Img_SCF_TF_ChartDataWS = nullptr;
    TStatusImage* Img_SCF_OF_DrivePathFilenameExtn = nullptr;

    QPushButton* BBtn_SCF_DSF_DrivePathFilenameExtn_Browse = nullptr;
    QPushButton* BBtn_SCF_DSF_DrivePathFilenameExtn_Open = nullptr;
    QPushButton* BBtn_SCF_DSF_TaskWS_Browse = nullptr;
    QPushButton* BBtn_SCF_TF_DrivePathFileNameExtn_Default = nullptr;
    QPushButton* BBtn_SCF_TF_DrivePathFilenameExtn_Browse = nullptr;
    QPushButton* BBtn_SCF_TF_DrivePathFilenameExtn_Open = nullptr;
    QPushButton* BBtn_SCF_TF_ProjectSummaryWS_Browse = nullptr;
    QPushButton* BBtn_SCF_TF_ChartDataWS_Browse = nullptr;
    QPushButton* BBtn_SCF_OF_DrivePathFileNameExtn_Default = nullptr;
    QPushButton* BBtn_SCF_OF_DrivePathFilenameExtn_Browse = nullptr;
    QPushButton* BBtn_SCF_OF_DrivePathFilenameExtn_Open = nullptr;

    // The controls above by the model's indexes.
    std::array<QLineEdit*, SCFBoxCount> BoxOf{};
    std::array<TStatusImage*, SCFPictureCount> PictureOf{};
    std::array<QPushButton*, SCFWorkbookCount> BrowseOf{};
    std::array<QPushButton*, SCFWorkbookCount> OpenOf{};
    std::array<QPushButton*, SCFWorkbookCount> DefaultOf{};
    std::array<QPushButton*, SCFWorksheetCount> WorksheetBrowseOf{};
};
