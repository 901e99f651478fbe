#pragma once

#include <QString>
#include <cstdint>

// Quantities of the S curve options.
enum TQuantity : uint8_t { qtyTaskTotal = 0, qtyExpendedToDate = 1 };

// The S curve options of a KRV Definition: which data sets, which quantities and the cut off
// date. Flags and quantities are bytes as stored; values out of range are reachable on purpose.
class TovSCO {
public:
    // The valid range of the cut off date as day numbers.
    static constexpr double MinCutOffDate = -657434.0;
    static constexpr double MaxCutOffDate = 2958465.99999;

    TovSCO();
    void Init();

    uint8_t getGenerateBL() const { return GenerateBL; }
    uint8_t getGenerateACT() const { return GenerateACT; }
    uint8_t getGenerateTGT() const { return GenerateTGT; }
    uint8_t getGraphMH() const { return GraphMH; }
    uint8_t getMHQty() const { return MHQty; }
    uint8_t getGraphCost() const { return GraphCost; }
    uint8_t getCostQty() const { return CostQty; }
    double getCutOffDate() const { return CutOffDate; }

    void setGenerateBL(uint8_t value);
    void setGenerateACT(uint8_t value);
    void setGenerateTGT(uint8_t value);
    void setGraphMH(uint8_t value);
    void setGraphCost(uint8_t value);
    void setCutOffDate(double value);
    // True when the quantity is refused (above 1); a stored quantity above 1 becomes 0 first.
    bool setMHQty(uint8_t value);
    bool setCostQty(uint8_t value);
    void ResetMHQty() { MHQty = 0; }
    void ResetCostQty() { CostQty = 0; }

    static bool IsInvalidQuantity(uint8_t value) { return value > 1; }
    static QString getQuantityKeyword(uint8_t value);
    static uint8_t getQuantityOfKeyword(const QString& keyword);

    QString getDataOptionsText() const;
    QString getQuantityOptionsText() const;

    // Post-load repair of definition n. True when a stored value changed.
    [[nodiscard]] bool Validate(int n);

private:
    uint8_t GenerateBL = 0;
    uint8_t GenerateACT = 0;
    double CutOffDate = 0.0;
    uint8_t GenerateTGT = 0;
    uint8_t GraphMH = 0;
    uint8_t MHQty = 0;
    uint8_t GraphCost = 0;
    uint8_t CostQty = 0;
};
