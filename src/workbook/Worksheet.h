#pragma once

#include "workbook/Range.h"

#include <QString>
#include <memory>
#include <utility>
#include <vector>

namespace workbook {

namespace detail {
class WorkbookModel;
}

// One worksheet of an open workbook (chart sheets are not worksheets).
class Worksheet {
public:
    Worksheet(std::shared_ptr<detail::WorkbookModel> model, int index);

    QString name() const;
    // 1-based position among the workbook's worksheets.
    int index() const { return index_ + 1; }
    bool visible() const;

    // Makes this the active sheet (the saved workbook opens on it).
    void activate() const;

    bool autoFilterMode() const;
    // False removes the worksheet's AutoFilter and shows the rows it had filtered out.
    void setAutoFilterMode(bool on) const;

    // Bounding box of the cells with a value or a non-default style; A1 for an empty sheet.
    Range usedRange() const;
    // The block between two A1 references; an invalid reference raises the bare 800A03EC.
    Range range(const QString& cell1, const QString& cell2 = {}) const;
    // One cell; a position outside the sheet raises the bare 800A03EC.
    Range cells(int row, int column) const;

    // The rows (first, last) of every cell or block of this worksheet that a chart of the
    // workbook reads.
    std::vector<std::pair<int, int>> chartRowSpans() const;

    // Whole-row insertion and deletion with reference adjustment.
    void insertRows(int firstRow, int lastRow) const;
    void deleteRows(int firstRow, int lastRow) const;

private:
    std::shared_ptr<detail::WorkbookModel> model_;
    int index_;
};

} // namespace workbook
