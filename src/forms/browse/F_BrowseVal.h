#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/F_BrowseWindows.h"

#include <vector>

// The Browse Task Field Values window: picks a value of one task field column from the
// definition's value list, with the number of tasks that carry each value. Lists of tens of
// thousands of values are read once into plain arrays and painted on demand.
class TUF_BrowseVal : public TUF_BrowseBase, public IBrowseVal {
public:
    explicit TUF_BrowseVal(QWidget* parent = nullptr);
    ~TUF_BrowseVal() override;

    int Execute(TovSD& sd, int vlIndex, const TBrowseAnchor& anchor, QString& value) override;

    QString getTaskFldValue() const { return TaskFldValue; }
    void setTaskFldValue(const QString& value);
    int getVLIndex() const { return VLIndex; }
    // Fills the list from sd's value list vlIndex and both count panels.
    void Setup(TovSD& sd, int vlIndex, const TBrowseAnchor& anchor);

protected:
    QString cellText(int row, int column) const override;
    void storeResult(int row) override;
    void clearCache() override;

private:
    TovSD* SD = nullptr;
    int VLIndex = 0;
    std::vector<int> TaskCounts;
    QString TaskFldValue;
};

extern TUF_BrowseVal* UF_BrowseVal;
