#pragma once

#include <QString>
#include <vector>

namespace workbook {

// One cell's content as the object model hands it out: empty, a number, a date (a serial day
// number of a cell with a date format, only from Range::value), a text, a boolean or an error
// value such as "#N/A".
class CellValue {
public:
    enum class Kind { Empty, Number, Date, Text, Boolean, Error };

    CellValue() = default;
    static CellValue number(double v) { return CellValue(Kind::Number, v, {}); }
    static CellValue date(double serial) { return CellValue(Kind::Date, serial, {}); }
    static CellValue text(const QString& s) { return CellValue(Kind::Text, 0, s); }
    static CellValue boolean(bool b) { return CellValue(Kind::Boolean, b ? 1 : 0, {}); }
    static CellValue error(const QString& code) { return CellValue(Kind::Error, 0, code); }

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    bool isNumber() const { return kind_ == Kind::Number || kind_ == Kind::Date; }
    bool isText() const { return kind_ == Kind::Text; }
    bool isBoolean() const { return kind_ == Kind::Boolean; }
    bool isError() const { return kind_ == Kind::Error; }

    // The number, date serial or boolean (1/0).
    double toNumber() const { return number_; }
    bool toBool() const { return number_ != 0; }
    // The text, or the error value's code ("#DIV/0!").
    const QString& toText() const { return text_; }

    bool operator==(const CellValue& o) const {
        return kind_ == o.kind_ && number_ == o.number_ && text_ == o.text_;
    }

private:
    CellValue(Kind k, double n, const QString& t) : kind_(k), number_(n), text_(t) {}
    Kind kind_ = Kind::Empty;
    double number_ = 0;
    QString text_;
};

// A block of values, rows x columns, row by row; at() takes 1-based indexes.
struct ValueArray {
    int rows = 0;
    int columns = 0;
    std::vector<CellValue> values;

    const CellValue& at(int row, int column) const {
        return values[size_t(row - 1) * size_t(columns) + size_t(column - 1)];
    }
};

} // namespace workbook
