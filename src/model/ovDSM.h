#pragma once

#include <QString>
#include <array>
#include <memory>

class TovSCO;

// One entry of the data source map: a task field's name, its worksheet column letters, the
// column's header text and whether the definition's options require it.
class TovDSMx {
public:
    TovDSMx() { Reset(); }
    void Reset();

    QString getName() const { return Name; }
    void setName(const QString& value);
    QString getTaskFldXL() const;
    void setTaskFldXL(const QString& value);
    QString getTaskFldDescXL() const;
    void setTaskFldDescXL(const QString& value);
    bool getTaskFldRequired() const { return TaskFldRequired; }
    void setTaskFldRequired(bool value);

    // Post-load repair for definition n. True when a stored value changed.
    [[nodiscard]] bool Validate(int n);

private:
    QString Name;
    QString TaskFldXL;
    QString TaskFldDescXL;
    bool TaskFldRequired = false;
};

// The options that decide which map entries are required.
struct TDSMRequiredOptions {
    bool Baseline = false;
    bool Actual = false;
    bool Target = false;
    bool ManHours = false;
    bool ManHoursExpendedToDate = false;
    bool Cost = false;
    bool CostExpendedToDate = false;

    static TDSMRequiredOptions Of(const TovSCO& options);
};

// The data source map of a KRV Definition: nine task field entries (element 0 spare).
class TovDSM {
public:
    static constexpr int EntryCount = 9;

    TovDSM();

    int getCount() const { return EntryCount; }
    void SetDefaults();
    void Reset();
    TovDSMx* getItems(int index) const;
    void SetDSMRequiredFields(const TDSMRequiredOptions& options);

    // Post-load repair of every entry for definition n. True when a stored value changed.
    [[nodiscard]] bool Validate(int n);

private:
    std::array<std::unique_ptr<TovDSMx>, EntryCount + 1> Items;
};
