#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// The 14 filter operators (a byte as stored; a value above 13 is invalid).
enum TFilterOperator : uint8_t {
    foEquals = 0,
    foDoesNotEqual = 1,
    foIsLessThan = 2,
    foIsLessThanOrEqualTo = 3,
    foIsGreaterThan = 4,
    foIsGreaterThanOrEqualTo = 5,
    foIsBlank = 6,
    foIsNotBlank = 7,
    foStartsWith = 8,
    foDoesNotStartWith = 9,
    foEndsWith = 10,
    foDoesNotEndWith = 11,
    foContains = 12,
    foDoesNotContain = 13
};

// One operator: its data file keyword, its display name's text id, the symbol the filter
// description uses (empty: the display name is written instead) and the oldest layout's keyword.
struct TFilterOperatorInfo {
    const char* Keyword;
    int NameId;
    const char* Symbol;
    const char* LegacyKeyword;
};

inline constexpr int FilterOperatorCount = 14;
extern const TFilterOperatorInfo FilterOperators[FilterOperatorCount];

// One row of the data source filter.
class TovDSFx {
public:
    TovDSFx() { Init(); }
    void Init();

    uint8_t getAndFlag() const { return AndFlag; }
    void setAndFlag(uint8_t value);
    QString getTaskFldXL() const;
    void setTaskFldXL(const QString& value);
    QString getTaskFldDescXL() const;
    void setTaskFldDescXL(const QString& value);
    uint8_t getFilterOperator() const { return FilterOperator; }
    // True when the operator is refused (above 13); a stored operator above 13 becomes 0 first.
    bool setFilterOperator(uint8_t value);
    void ResetFilterOperator() { setFilterOperator(foEquals); }
    QString getTaskFldValueXL() const { return TaskFldValueXL; }
    void setTaskFldValueXL(const QString& value);

    static bool IsInvalidOperator(uint8_t value) { return value > 13; }
    static QString getFilterOperatorKeyword(uint8_t value);
    static uint8_t getFilterOperatorOfKeyword(const QString& keyword);

    // Post-load repair of row j of definition n. True when a stored value changed.
    [[nodiscard]] bool Validate(int n, int j);

private:
    uint8_t AndFlag = 1;
    QString TaskFldXL;
    QString TaskFldDescXL;
    uint8_t FilterOperator = foEquals;
    QString TaskFldValueXL;
};

// The data source filter of a KRV Definition: the enabled flag and rows 1..Count joined by And
// or Or (element 0 is a spare default row).
class TovDSF {
public:
    TovDSF();

    int getCount() const { return static_cast<int>(Items.size()) - 1; }
    uint8_t getEnabled() const { return Enabled; }
    void setEnabled(uint8_t value);
    void ResetEnabled() { Enabled = 0; }

    TovDSFx* getItems(int index) const;
    int Add();
    void Delete(int index);
    void Clear();

    QString getFilterText() const;

    static bool IsInvalidOperator(uint8_t value) { return value > 13; }
    static QString getFilterOperatorName(uint8_t value);
    static uint8_t getFilterOperatorOfName(const QString& name);
    static uint8_t getFilterOperatorOfLegacyKeyword(const QString& keyword);

    // Post-load repair of every row of definition n. True when a stored value changed.
    [[nodiscard]] bool Validate(int n);

private:
    std::vector<std::unique_ptr<TovDSFx>> Items;
    uint8_t Enabled = 0;
};
