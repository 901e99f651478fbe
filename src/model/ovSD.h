#pragma once

#include "model/ovDSF.h"
#include "model/ovDSM.h"
#include "model/ovPD.h"
#include "model/ovSCF.h"
#include "model/ovSCO.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

// One KRV Definition: its description, its five parts, and the caches the browse windows and
// the engine fill from the workbooks (never stored). Cache arrays are 1-based with a spare
// element 0.
class TovSD {
public:
    TovSD();
    ~TovSD();
    TovSD(const TovSD&) = delete;
    TovSD& operator=(const TovSD&) = delete;

    // The five parts, created in this order and freed in reverse.
    const std::unique_ptr<TovPD> PD;
    const std::unique_ptr<TovSCF> SCF;
    const std::unique_ptr<TovSCO> SCO;
    const std::unique_ptr<TovDSM> DSM;
    const std::unique_ptr<TovDSF> DSF;

    QString getDescription() const;
    void setDescription(const QString& value);

    void ResetCaches();

    // Worksheet lists 0..2 (1 data source, 2 template).
    void ResetWSL(int i);
    int getWSL_Count(int i) const;
    void setWSL_Count(int i, int n);
    QString getWSL_WS(int i, int j) const;
    void setWSL_WS(int i, int j, const QString& value);
    bool getWSL_Loaded(int i) const;
    void setWSL_Loaded(int i, bool value);

    // Task field list.
    void ResetFL();
    int getFL_Count() const { return FL_Count; }
    void setFL_Count(int n);
    bool getFL_Loaded() const { return FL_Loaded; }
    void setFL_Loaded(bool value);
    QString getFL_TaskFld(int i) const;
    void setFL_TaskFld(int i, const QString& value);
    QString getFL_TaskFldDesc(int i) const;
    void setFL_TaskFldDesc(int i, const QString& value);
    QString getFL_TaskFldValue(int i, int j) const;
    void setFL_TaskFldValue(int i, int j, const QString& value);

    // Task field value lists.
    void ResetVL();
    int getVL_Count() const { return VL_Count; }
    void setVL_Count(int n);
    int getVL_TaskCount() const { return VL_TaskCount; }
    void setVL_TaskCount(int n);
    QString getVL_TaskFld(int i) const;
    void setVL_TaskFld(int i, const QString& value);
    int getVL_TaskFldValCount(int i) const;
    void setVL_TaskFldValCount(int i, int n);
    QString getVL_TaskFldValue(int i, int j) const;
    void setVL_TaskFldValue(int i, int j, const QString& value);
    int getVL_TaskFldValTaskCount(int i, int j) const;
    void setVL_TaskFldValTaskCount(int i, int j, int n);
    bool getVL_Loaded(int i) const;
    void setVL_Loaded(int i, bool value);

private:
    struct TaskFieldRow {
        QString TaskFld;
        QString TaskFldDesc;
        std::vector<QString> Values;
    };
    struct ValueList {
        QString TaskFld;
        std::vector<QString> Values; // 0..ValCount
        std::vector<int> TaskCounts; // 0..ValCount
        bool Loaded = false;
        int valCount() const { return static_cast<int>(Values.size()) - 1; }
    };
    static TaskFieldRow NewTaskFieldRow();
    static ValueList NewValueList();

    QString Description;

    std::array<std::vector<QString>, 3> WSL_WS;
    std::array<bool, 3> WSL_Loaded{};
    int FL_Count = 0;
    std::vector<TaskFieldRow> FL;
    bool FL_Loaded = false;
    int VL_Count = 0;
    std::vector<ValueList> VL;
    int VL_TaskCount = 0;
};

// The list of KRV Definitions of the open data file: items 1..Count in display order and a
// spare default definition as item 0; ActiveSD is the one the main window shows (0 = none).
class TovSDs {
public:
    TovSDs();
    ~TovSDs();
    TovSDs(const TovSDs&) = delete;
    TovSDs& operator=(const TovSDs&) = delete;

    int getCount() const { return static_cast<int>(Items.size()) - 1; }
    int getActiveSD() const { return ActiveSD; }
    void setActiveSD(int index);
    void ResetActiveSD() { ActiveSD = 0; }

    TovSD* getItems(int index) const;
    void Clear();
    // Appends a default definition and returns the new count.
    int Add();
    void Delete(int index);
    // Exchanges the stored settings of two definitions; false when an index is bad.
    bool Swap(int a, int b);
    // Copies every stored setting of src into dst (replacing dst's filter rows); false when an
    // index is bad.
    bool Copy(int src, int dst);

    // Repairs every definition just read from a data file, fills the validator's data file
    // validation error list and its window's list. sample: the sample data file is being opened.
    // True when a repair changed a stored value, so the data file is to be marked modified.
    [[nodiscard]] bool ValidateSDsAfterLoad(bool sample);

    // Copies the stored settings of one definition into another through the parts' setters;
    // dst's filter rows are replaced.
    static void CopySettings(const TovSD& src, TovSD& dst);

private:
    void ResetAllCaches();

    std::vector<std::unique_ptr<TovSD>> Items;
    int ActiveSD = 0;
};

extern TovSDs* SDs;
