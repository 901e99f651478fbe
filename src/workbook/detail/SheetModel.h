#pragma once

#include "workbook/CellValue.h"
#include "workbook/detail/XmlEdit.h"

#include <pugixml.hpp>

#include <QString>
#include <string>
#include <vector>

namespace workbook::detail {

class WorkbookModel;

struct CellRect {
    int firstRow = 1, firstColumn = 1, lastRow = 1, lastColumn = 1;
};

// One worksheet part: its XML tree edited in place and an index of its rows and cells by
// number, so that a cell is found in constant time and a column of N cells is written in O(N).
// Its cells are in SheetCells.cpp, its views and visibility in SheetViews.cpp.
class SheetModel {
public:
    SheetModel(WorkbookModel& workbook, std::string part);

    const std::string& part() const { return part_; }
    pugi::xml_document& doc();
    void markModified();
    bool isModified() const;
    // Rebuilds the index after the sheet's XML was changed from outside (row shifting).
    void invalidateIndex() { indexed_ = false; }

    CellValue value(int row, int column);
    int styleOf(int row, int column);
    // Writes a value; an empty value or "" clears the value and keeps the style.
    void setValue(int row, int column, const CellValue& value);
    // As setValue, without marking the part modified: a block of writes marks it once. Returns
    // whether the sheet changed (false for clearing a cell that does not exist).
    bool writeValue(int row, int column, const CellValue& value);
    void setStyle(int row, int column, int xf);
    // Asks the processor ahead for the memory of the cells a walk down `column` reaches a few
    // rows after `row`; a hint only, and nothing when the sheet is not indexed.
    void prefetchDownColumn(int row, int column) const;

    CellRect usedRange();
    bool hasFormulas();

    void setRowsHidden(int firstRow, int lastRow, bool hidden);
    void setColumnsHidden(int firstColumn, int lastColumn, bool hidden);
    bool hasAutoFilter();
    void removeAutoFilter();

    void setTabSelected(bool selected);
    void select(const QString& sqref, const QString& activeCell);
    bool frozenPanes();
    bool splitPanes();
    void removePanes();

    // Brings the dimension element up to date before the part is written.
    void prepareSave();

private:
    struct RowSlot {
        pugi::xml_node node;
        std::vector<pugi::xml_node> cells;
    };
    void ensureIndex();
    // The rows' cells indexed on a few threads, each taking rows of its own; false, the index
    // left to indexRows, for a sheet of few rows or rows not numbered upwards or a reference
    // outside the worksheet.
    bool indexRowsInParallel(const char* rowTag, const char* cellTag, const char* formulaTag);
    // Row by row; raises on the first row or reference outside the worksheet.
    void indexRows(const char* rowTag, const char* cellTag, const char* formulaTag);
    pugi::xml_node root();
    // The name of a worksheet element with the part's prefix; raises when the part is not a
    // worksheet.
    const char* tag(const char* local);
    pugi::xml_node cellNode(int row, int column);
    pugi::xml_node makeRow(int row);
    pugi::xml_node makeCell(int row, int column);
    // Removes the cell's value, formula and inline string with the attributes that type them;
    // returns its first extLst child, before which new content goes.
    pugi::xml_node clearContent(pugi::xml_node cell);
    void expandSharedFormula(const std::string& group);
    pugi::xml_node sheetView(bool create);
    pugi::xml_node childInOrder(const char* name);

    WorkbookModel& workbook_;
    std::string part_;
    PartNames names_;
    std::string prefix_; // of the part's own elements ("x:"), compared in place on hot paths
    bool namesKnown_ = false;
    bool indexed_ = false;
    bool formulas_ = false;
    pugi::xml_node sheetData_;
    std::vector<RowSlot> rows_;
    int lastRow_ = 0;
    pugi::xml_node hintRow_;
    int hintRowNumber_ = 0;
    std::vector<int> columnStyles_;
};

// Sets or clears tabSelected on the first sheet view of any sheet part (worksheet, chart sheet).
bool setSheetViewTabSelected(pugi::xml_document& doc, bool selected);

} // namespace workbook::detail
