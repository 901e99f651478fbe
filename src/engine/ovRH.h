#pragma once

#include "ReportCellStyle.h"

#include <QString>
#include <memory>
#include <vector>

// One header cell of an output worksheet: a fixed caption at a cell, with its style.
class TovRH : public TovReportCell {
public:
    const QString& getCaption() const { return Caption; }
    void setCaption(const QString& value) { assign(Caption, value); }

    // Every field back to its default.
    void Reset();

private:
    QString Caption;
};

// The header cells of one output worksheet. Item 0 is a default item returned for an index out
// of range; the real items are 1 to Count, in the order they were added.
class TovRHs {
public:
    TovRHs();
    TovRHs(const TovRHs&) = delete;
    TovRHs& operator=(const TovRHs&) = delete;

    int getCount() const { return Count; }
    TovRH* getItems(int index) const;

    // Adds a header with every field set through its write accessor; returns the new Count.
    int Add(const QString& Caption, const QString& Cell, qint32 Column, qint32 Row,
            const ReportCellStyle& Style);

    // Reset of items 1 to Count.
    void ResetAll();

private:
    int Count = 0;
    std::vector<std::unique_ptr<TovRH>> Items;
};

extern TovRHs* PS_RHs;
extern TovRHs* CD_RHs;
