#pragma once

#include "forms/tabs/MainTab.h"
#include "forms/tabs/TabPDModel.h"

#include <memory>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class TStatusImage;
class TovSD;

// The project details (Home) tab of the main window: edits the title, number, client and cut
// off date of the active KRV Definition and mirrors, read-only, the workbooks, options and filter
// that the other tabs own, each with a status picture that leads to its tab.
class TTab_PD : public TMainTabPage {
public:
    TTab_PD(ITabHost& host, QWidget* parent);
    ~TTab_PD() override;

    void Clear() override;
    void Enable(bool flag) override;
    void Load() override;
    void Refresh() override;
    void Store() override;
    void GoToField(int fieldId, int rowId) override;

    // The nine text boxes in their Enter order.
    enum class TBox {
        ProjectTitle,
        ProjectNumber,
        ProjectClient,
        DataSourcePath,
        TemplatePath,
        OutputPath,
        DataOptions,
        QuantityOptions,
        FilterDetails
    };
    static constexpr int kBoxCount = 9;

    // Narrow access for tests.
    QLineEdit* box(TBox which) const;
    QDateEdit* cutOffDatePicker() const;
    QLabel* cutOffDateNote() const;
    QPushButton* openButton(tabpd::TWorkbook workbook) const;
    TStatusImage* statusImage(tabpd::TStatus status) const;
    const tabpd::TValues& values() const { return Values; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Controls;

    void CreateControls();
    // Title panels, rows of label, box, Open button and status picture, the note at the bottom.
    void LayOutControls();
    void ConnectControls();
    // The definition the page shows; null when there is none.
    static TovSD* ActiveSD();
    // Shows the values in the controls with the loading flag raised.
    void ShowValues();
    // A mirror box shows its whole text, shortened to its width, with the whole text as hint.
    void ShowMirror(TBox which);
    void ApplyStates(const tabpd::TStates& states);
    void ApplyColours(bool enabled, bool cutOffDateEnabled);

    void DetailEdited(TBox which, const QString& text);
    void DetailExited(TBox which);
    void CutOffDateEdited();
    bool BoxKeyDown(TBox which, QObject* watched, QEvent* event);
    void StatusDoubleClicked(tabpd::TStatus status);
    void OpenClicked(tabpd::TWorkbook workbook);

    std::unique_ptr<Controls> C;
    tabpd::TValues Values;
    bool Loading = false;
    bool PageEnabled = false;
    // Values come from a definition (not only cleared): only then may Store write them.
    bool HasDefinitionValues = false;
};
