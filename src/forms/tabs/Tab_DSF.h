#pragma once

#include "forms/tabs/FilterGridModel.h"
#include "forms/tabs/MainTab.h"

#include <QString>

#include <functional>

class QAbstractButton;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;
class TovGrid;
class TovSD;
struct TTaskFieldSource;
class TStatusImage;

// The Data Source Filter tab of the main window: the Enable Filter switch and the five filter
// rows of the active definition in a grid with in-cell lists (And/Or, Filter Operator) and
// browse buttons (Task Field, Task Field Value), the row commands and the update of the task
// field descriptions. The grid holds the rows between Load and Store; TFilterGridModel does the
// work on them.
class TTab_DSF : public TMainTabPage {
public:
    TTab_DSF(ITabHost& host, QWidget* parent);
    ~TTab_DSF() override;

    void Clear() override;
    void Enable(bool flag) override;
    void Load() override;
    void Refresh() override;
    void Store() override;
    void PrepareProcess() override;
    void GoToField(int fieldId, int rowId) override;

    // The buttons of the tab, for tests.
    enum class TButton {
        Enable,
        Insert,
        Delete,
        MoveUp,
        MoveDown,
        Refresh,
        Clear,
        AutoSize,
        UpdateTaskFldDesc,
        TaskFldBrowse,
        TaskFldValueBrowse
    };
    QAbstractButton* button(TButton which) const;
    TovGrid* grid() const { return SG_DSF; }
    // The page's width that shows every column of the filter grid whole.
    int WholeGridWidth() const;
    QComboBox* andOrList() const { return DDL_DSF_AndFlag; }
    QComboBox* operatorList() const { return DDL_DSF_FilterOperator; }
    TStatusImage* titleImage() const { return Img_DSF_T; }
    // What the grid shows now.
    TFilterGridModel gridState() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (Tab_DSF_Layout.cpp).
    void BuildControls();
    void SetupDSFGrid();
    void ApplyTexts();
    void SetTitleEnabled(bool enabled);

    // State, loading, storing and validation (Tab_DSF.cpp).
    TovSD* ActiveSD() const;
    QString DataSourcePath() const;
    void WriteGrid(const TFilterGridModel& model);
    void EnableDSFControls(bool enabled);
    void RefreshDSFRow(int row);
    void ValidateDSF();
    // Runs a change of the rows: the grid is read, changed, written back and the row refreshed;
    // the data file is marked modified only when the rows really changed.
    void ChangeRows(const std::function<void(TFilterGridModel&)>& change, int refreshRow = 0);
    void FocusGrid();

    // Editing handlers (Tab_DSF.cpp).
    void SG_DSFCellChange(int col, int row);
    void SG_DSFSelectCell(int col, int row);
    void SG_DSFFilterChar(int col, QChar& key, const QRect& cellRect, bool& allowed,
                          const QString& buffer);
    void SG_DSFUserColWidthChanged();
    void ListChoice(QComboBox* list, int col);
    void SBtn_DSF_EnableClick();
    void SBtn_DSF_AutoSizeClick();

    // Row commands and browsing (Tab_DSF_Commands.cpp).
    void BBtn_DSF_TaskFld_BrowseClick();
    void BBtn_DSF_TaskFldValue_BrowseClick();
    void BBtn_DSF_InsertClick();
    void BBtn_DSF_DeleteClick();
    void BBtn_DSF_MoveUpClick();
    void BBtn_DSF_MoveDownClick();
    void BBtn_DSF_RefreshClick();
    void BBtn_DSF_ClearClick();
    void BBtn_DSF_UpdateTaskFldDescClick();
    void ProcessUpdateTaskFldDescDSFx();
    // The checks before reading a task field's values from the data source workbook; false when
    // one failed (its message shown).
    bool CheckValueSource(const TTaskFieldSource& source, const QString& fieldCaption,
                          const QString& field);
    bool Ask(const QString& key, const QStringList& lines, int yesHint, int noHint);
    QRect CurrentRowRect() const;

    bool TabEnabled = false;
    bool Loading = false;

    QLabel* Pnl_DSF_T = nullptr;
    TStatusImage* Img_DSF_T = nullptr;
    TovGrid* SG_DSF = nullptr;
    QComboBox* DDL_DSF_AndFlag = nullptr;
    QComboBox* DDL_DSF_FilterOperator = nullptr;
    QPushButton* BBtn_DSF_TaskFld_Browse = nullptr;
    QPushButton* BBtn_DSF_TaskFldValue_Browse = nullptr;
    QToolButton* SBtn_DSF_Enable = nullptr;
    QPushButton* BBtn_DSF_Insert = nullptr;
    QPushButton* BBtn_DSF_Delete = nullptr;
    QPushButton* BBtn_DSF_MoveUp = nullptr;
    QPushButton* BBtn_DSF_MoveDown = nullptr;
    QPushButton* BBtn_DSF_Refresh = nullptr;
    QPushButton* BBtn_DSF_Clear = nullptr;
    QToolButton* SBtn_DSF_AutoSize = nullptr;
    QPushButton* BBtn_DSF_UpdateTaskFldDesc = nullptr;
    QLabel* Lbl_DSF_Note1 = nullptr;
    QLabel* Lbl_DSF_Note2 = nullptr;
};
