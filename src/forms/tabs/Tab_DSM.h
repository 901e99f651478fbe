#pragma once

#include "forms/tabs/MainTab.h"
#include "forms/tabs/TabDSMModel.h"

class QLabel;
class QPushButton;
class QToolButton;
class TovGrid;
class TovSD;

// The Data Source Map tab of the main window: one grid row per task field of the active
// definition, with the worksheet column letters that hold it and the column's header text.
// Required rows show their names in red, rows that fail their checks a gutter picture. The
// column letters can be browsed from the task worksheet's header row, and every description
// refreshed from it in one command.
class TTab_DSM : public TMainTabPage {
public:
    TTab_DSM(ITabHost& host, QWidget* parent);

    void Clear() override;
    void Enable(bool flag) override;
    void Load() override;
    void Refresh() override;
    void Store() override;
    void GoToField(int fieldId, int rowId) override;

    // The in-cell browse button's command: picks the current row's task field from the task
    // worksheet's header row.
    void BrowseTaskField();
    // Replaces every row's description by its column's header text in the task worksheet.
    void UpdateTaskFieldDescriptions();

    // For tests.
    TovGrid* grid() const { return SG_DSM; }
    QPushButton* browseButton() const { return BBtn_DSM_TaskFld_Browse; }
    QToolButton* autoSizeButton() const { return SBtn_DSM_AutoSize; }
    QPushButton* updateButton() const { return BBtn_DSM_UpdateTaskFldDesc; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The active definition; nullptr when there is none.
    static TovSD* ActiveDefinition();

    void BuildControls();
    void SetupGrid();
    void SetTexts();
    void ConnectHandlers();

    // The rows as the grid holds them, with the definition's names and required flags.
    TDSMRows RowsOnScreen(const TovSD& sd) const;
    void Validate(const TovSD& sd);

    void FilterChar(int col, QChar& key, const QRect& screenCellRect, bool& allowed,
                    const QString& buffer);
    void CellChanged();
    void CellSelected();
    void ColumnWidthChangedByUser();
    void AutoSizeClicked();
    bool AutoSizeDown() const;
    void FocusGrid();
    // Writes a browsed field into row r; true when a cell changed.
    bool ApplyBrowsedField(int r, const QString& letters, const QString* description);

    QLabel* Pnl_DSM_T = nullptr;
    TovGrid* SG_DSM = nullptr;
    QWidget* Pnl_DSM_BBtn = nullptr;
    QToolButton* SBtn_DSM_AutoSize = nullptr;
    QPushButton* BBtn_DSM_UpdateTaskFldDesc = nullptr;
    QWidget* Pnl_DSM_Note = nullptr;
    QLabel* Lbl_DSM_Note = nullptr;
    QPushButton* BBtn_DSM_TaskFld_Browse = nullptr;

    bool TabEnabled = false;
    // Raised while the tab fills or clears the grid: the grid's handlers then do nothing.
    bool Loading = false;
};
