#pragma once

#include "workbook/CellValue.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace workbook {

namespace detail {
class WorkbookModel;
}

class Range;

// The font of a range: only its colour is set.
class Font {
public:
    // Colour 0x00BBGGRR; system colours (0xFF0000nn) are mapped, window text to automatic.
    void setColor(int32_t color);

private:
    friend class Range;
    explicit Font(const Range& range);
    std::shared_ptr<const Range> range_;
};

// The interior (fill) of a range: only its colour is set.
class Interior {
public:
    // Colour 0x00BBGGRR as Font::setColor; window (and other automatic colours) remove the fill.
    void setColor(int32_t color);

private:
    friend class Range;
    explicit Interior(const Range& range);
    std::shared_ptr<const Range> range_;
};

// A rectangular block of cells of one worksheet (rows and columns 1-based, inclusive).
class Range {
public:
    Range(std::shared_ptr<detail::WorkbookModel> model, int sheet, int firstRow, int firstColumn,
          int lastRow, int lastColumn);

    int row() const { return firstRow_; }
    int column() const { return firstColumn_; }
    int lastRow() const { return lastRow_; }
    int lastColumn() const { return lastColumn_; }
    int rowCount() const { return lastRow_ - firstRow_ + 1; }
    int columnCount() const { return lastColumn_ - firstColumn_ + 1; }
    // "B3" or "B3:D8".
    QString address() const;

    // The stored value of the first cell: numbers (dates as serials), texts, booleans, errors;
    // a formula gives its cached result.
    CellValue value2() const;
    // The stored values of the whole block.
    ValueArray value2Array() const;
    // Hands the stored value of every cell to `take`, row by row, without collecting the block
    // first (a reader with its own array of a task sheet's column saves a copy of it).
    void eachValue2(const std::function<void(CellValue&&)>& take) const;
    // As value2, but a number in a cell with a date format comes as a Date.
    CellValue value() const;
    ValueArray valueArray() const;
    // The displayed text of the first cell.
    QString text() const;

    // Writes one value to every cell of the block: a number, a text (stored as given), a boolean;
    // an empty value or "" clears the value and keeps the style. NaN and infinity are refused.
    void setValue(const CellValue& value) const;
    // Writes a block of values row by row (values.size() == rowCount() * columnCount()). In a
    // block of one column, texts of the pattern "dd-MMM-yyyy" are stored as dates.
    void setValues(const std::vector<CellValue>& values) const;
    // As setValues, value i given by valueAt(i) for i from 0 to count - 1: a block held in
    // another form is written without first being copied whole.
    void setValues(size_t count, const std::function<CellValue(size_t)>& valueAt) const;

    // Puts the displayed texts on the engine's private clipboard: tab between cells, CR LF after
    // each row; a text holding a tab, line break or quote is quoted.
    void copy() const;
    // Makes the worksheet active and the block its selection.
    void select() const;

    Range entireRow() const;
    Range entireColumn() const;
    // Hides or shows the rows of an entire-row range, the columns of an entire-column range.
    void setHidden(bool hidden) const;

    Font font() const { return Font(*this); }
    Interior interior() const { return Interior(*this); }

private:
    friend class Font;
    friend class Interior;
    void setColor(bool fill, int32_t color) const;

    enum class Whole { None, Rows, Columns };

    std::shared_ptr<detail::WorkbookModel> model_;
    int sheet_;
    int firstRow_, firstColumn_, lastRow_, lastColumn_;
    Whole whole_ = Whole::None;
};

} // namespace workbook
