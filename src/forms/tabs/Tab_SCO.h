#pragma once

#include "forms/tabs/MainTab.h"
#include "forms/tabs/TabSCOModel.h"

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class TovVLabel;
class TSCOLegendPicture;
class TSCOPreview;
class TStatusImage;
class TovSD;

// The S Curve Options tab of the main window: which data sets to generate, the cut off date,
// which quantities to graph, and previews of the output charts that follow the choices. Its
// rules live in TSCOTabState; the page shows the state and turns the user's edits into it.
class TTab_SCO : public TMainTabPage {
public:
    TTab_SCO(ITabHost& host, QWidget* parent);

    void Clear() override;
    void Enable(bool flag) override;
    void Load() override;
    void Refresh() override;
    void Store() override;
    void GoToField(int fieldId, int rowId) override;

    const TSCOTabState& state() const { return State; }
    // The picture code a preview shows.
    int previewCode(TSCOPreviewKind kind) const;

private:
    // The controls of one preview: its caption, picture, axis titles and legend.
    struct TPreviewControls {
        QLabel* Caption = nullptr;
        TSCOPreview* Picture = nullptr;
        TovVLabel* YAxis = nullptr;
        QLabel* XAxis = nullptr;
        QLabel* Legend = nullptr;
        std::array<QLabel*, kSCOLegendEntryCount> EntryLabels{};
        std::array<TSCOLegendPicture*, kSCOLegendEntryCount> EntryPictures{};
    };

    QWidget* BuildLeftPanel();
    QWidget* BuildDataOptions();
    QWidget* BuildQuantityOptions();
    QWidget* BuildPreview(TSCOPreviewKind kind);
    QWidget* BuildLegendEntry(TSCOPreviewKind kind, TSCOLegendEntry entry);
    void ConnectEdits();

    // The values the controls hold now.
    TSCOValues ReadControls() const;
    // Shows the state: values, enabled controls, colours, previews and status pictures.
    void ShowState();
    void ShowValues(const TSCOValues& values);
    void ShowPreview(TPreviewControls& preview, const TSCOPreviewState& state);
    void ShowStatus();
    // A change of a check box, the date or a list.
    void UserEdit();
    bool DefinitionsExist() const;
    // The active definition; none while the list is empty.
    TovSD* ActiveDefinition() const;

    TSCOTabState State;
    bool Loading = false;

    QCheckBox* CB_SCO_GenerateBL;
    QCheckBox* CB_SCO_GenerateACT;
    QCheckBox* CB_SCO_GenerateTGT;
    QLabel* Lbl_SCO_CutOffDate;
    QDateEdit* DTP_SCO_CutOffDate;
    QLabel* Lbl_SCO_CutOffDate_Note1;
    QLabel* Lbl_SCO_CutOffDate_Note2;
    QLabel* Lbl_SCO_CutOffDate_Note3;
    QCheckBox* CB_SCO_GraphMH;
    QLabel* Lbl_SCO_MHQty;
    QComboBox* DDL_SCO_MHQty;
    QCheckBox* CB_SCO_GraphCost;
    QLabel* Lbl_SCO_CostQty;
    QComboBox* DDL_SCO_CostQty;
    QLabel* Pnl_SCO_SCO = nullptr;
    QLabel* Pnl_SCO_QAO = nullptr;
    TStatusImage* Img_SCO_SCO;
    TStatusImage* Img_SCO_QAO;
    TPreviewControls SCP;
    TPreviewControls HGP;
};
