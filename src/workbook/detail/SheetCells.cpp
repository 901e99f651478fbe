// The worksheet's cells: the index of rows and cells, values read and written, styles, the used
// range.
#include "workbook/detail/SheetModel.h"

#include "workbook/CellRef.h"
#include "workbook/Error.h"
#include "workbook/detail/Package.h"
#include "workbook/detail/SharedFormula.h"
#include "workbook/detail/Styles.h"
#include "workbook/detail/WorkbookModel.h"
#include "workbook/detail/XmlText.h"

#include <QDateTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>

namespace workbook::detail {

namespace {

// Parses the "r" attribute of a cell ("AB12") without allocating. The numbers grow in locals,
// not through the references (which the text's characters might alias): a sheet's index parses
// a few hundred thousand of them.
bool parseA1(const char* text, int& row, int& column) {
    int c = 0;
    int r = 0;
    const char* p = text;
    // Past the limits the numbers stop growing, so that a long reference cannot overflow.
    for (unsigned letter = (static_cast<unsigned char>(*p) | 0x20u) - 'a'; letter < 26;
         letter = (static_cast<unsigned char>(*++p) | 0x20u) - 'a') {
        if (c <= kMaxColumns) {
            c = c * 26 + int(letter) + 1;
        }
    }
    for (unsigned digit = static_cast<unsigned char>(*p) - unsigned('0'); digit < 10;
         digit = static_cast<unsigned char>(*++p) - unsigned('0')) {
        if (r <= kMaxRows) {
            r = r * 10 + int(digit);
        }
    }
    column = c;
    row = r;
    return *p == '\0' && c >= 1 && c <= kMaxColumns && r >= 1 && r <= kMaxRows;
}

void writeA1(char* buffer, int row, int column) {
    char letters[4];
    int n = 0;
    while (column > 0) {
        letters[n++] = char('A' + (column - 1) % 26);
        column = (column - 1) / 26;
    }
    char* p = buffer;
    while (n > 0) {
        *p++ = letters[--n];
    }
    p = std::to_chars(p, p + 8, row).ptr;
    *p = '\0';
}

bool isBlank(const char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r') {
        ++text;
    }
    return *text == '\0';
}

// The local name of an element named with the part's prefix ("v" of "x:v"), or nullptr for an
// element of another prefix: compared in place, without building the qualified name.
const char* ownName(const char* name, const std::string& prefix) {
    if (prefix.empty()) {
        return name;
    }
    return std::strncmp(name, prefix.c_str(), prefix.size()) == 0 ? name + prefix.size() : nullptr;
}

bool isLocal(const char* local, const char* name) {
    return local != nullptr && std::strcmp(local, name) == 0;
}

// The stored types of a cell's "t" attribute; any other type is read as a number.
enum class StoredType { Number, SharedString, FormulaText, InlineString, Boolean, Error, Date };

StoredType storedType(const char* t) {
    // Dispatched on the first character, then compared whole.
    switch (t[0]) {
    case 's':
        if (t[1] == '\0') {
            return StoredType::SharedString;
        }
        return std::strcmp(t, "str") == 0 ? StoredType::FormulaText : StoredType::Number;
    case 'i':
        return std::strcmp(t, "inlineStr") == 0 ? StoredType::InlineString : StoredType::Number;
    case 'b':
        return t[1] == '\0' ? StoredType::Boolean : StoredType::Number;
    case 'e':
        return t[1] == '\0' ? StoredType::Error : StoredType::Number;
    case 'd':
        return t[1] == '\0' ? StoredType::Date : StoredType::Number;
    default:
        return StoredType::Number;
    }
}

// Whether a cell holds a value, an inline string or a formula, in one pass over its children; an
// empty value element holds no value.
bool hasContent(pugi::xml_node cell, const std::string& prefix) {
    bool valueSeen = false;
    for (pugi::xml_node child = cell.first_child(); child; child = child.next_sibling()) {
        const char* local = ownName(child.name(), prefix);
        if (isLocal(local, "is") || isLocal(local, "f")) {
            return true;
        }
        if (!valueSeen && isLocal(local, "v")) {
            valueSeen = true; // only the first value element counts
            if (!isBlank(child.child_value())) {
                return true;
            }
        }
    }
    return false;
}

// The serial of an ISO 8601 date, date and time, or time of day; a zone suffix is left out, so
// that the cell shows the wall-clock time written.
std::optional<double> isoToSerial(const char* text, bool date1904) {
    const QString value = QString::fromLatin1(text).trimmed();
    const qsizetype separator = value.indexOf(u'T');
    const bool timeOnly = separator < 0 && value.contains(u':');
    const QString datePart = timeOnly ? QString() : value.left(separator);
    QString timePart = timeOnly ? value : separator < 0 ? QString() : value.mid(separator + 1);
    double days = 0;
    if (!datePart.isEmpty()) {
        const QDate date = QDate::fromString(datePart, Qt::ISODate);
        if (!date.isValid()) {
            return std::nullopt;
        }
        const QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
        days = double(base.daysTo(date));
        if (!date1904 && days < 61) {
            days -= 1; // serials before March 1900 count the non-existent 29 February
        }
    }
    if (!timePart.isEmpty()) {
        if (timePart.endsWith(u'Z')) {
            timePart.chop(1);
        } else if (const qsizetype zone =
                       std::max(timePart.lastIndexOf(u'+'), timePart.lastIndexOf(u'-'));
                   zone > 0) {
            timePart.truncate(zone);
        }
        const QTime time = QTime::fromString(timePart, Qt::ISODateWithMs);
        if (!time.isValid()) {
            return std::nullopt;
        }
        days += time.msecsSinceStartOfDay() / 86400000.0;
    }
    return days;
}

} // namespace

SheetModel::SheetModel(WorkbookModel& workbook, std::string part)
    : workbook_(workbook), part_(std::move(part)) {}

pugi::xml_document& SheetModel::doc() {
    return workbook_.package().xml(part_);
}

pugi::xml_node SheetModel::root() {
    return doc().document_element();
}

const char* SheetModel::tag(const char* local) {
    if (!namesKnown_) {
        const pugi::xml_node worksheet = root();
        if (std::strcmp(localName(worksheet), "worksheet") != 0) {
            throw workbook_.unreadablePart(part_, QStringLiteral("does not hold a worksheet"));
        }
        names_ = PartNames(worksheet);
        prefix_ = prefixOf(worksheet);
        namesKnown_ = true;
    }
    // Most parts name their elements without a prefix: no lookup for every cell written.
    return prefix_.empty() ? local : names_(local);
}

void SheetModel::markModified() {
    workbook_.package().markModified(part_);
}

bool SheetModel::isModified() const {
    return workbook_.package().isModified(part_);
}

void SheetModel::ensureIndex() {
    if (indexed_) {
        return;
    }
    rows_.clear();
    columnStyles_.clear();
    lastRow_ = 0;
    formulas_ = false;
    hintRow_ = pugi::xml_node();
    hintRowNumber_ = 0;
    pugi::xml_node worksheet = root();
    sheetData_ = worksheet.child(tag("sheetData"));
    if (!sheetData_) {
        sheetData_ = childInOrder("sheetData");
    }
    for (pugi::xml_node col : worksheet.child(tag("cols")).children(tag("col"))) {
        const int style = col.attribute("style").as_int();
        if (style <= 0) {
            continue;
        }
        const int min = std::max(1, col.attribute("min").as_int());
        const int max = std::min(kMaxColumns, col.attribute("max").as_int());
        if (max >= int(columnStyles_.size())) {
            columnStyles_.resize(size_t(max) + 1, 0);
        }
        for (int c = min; c <= max; ++c) {
            columnStyles_[size_t(c)] = style;
        }
    }
    const char* const rowTag = tag("row");
    const char* const cellTag = tag("c");
    const char* const formulaTag = tag("f");
    if (!indexRowsInParallel(rowTag, cellTag, formulaTag)) {
        indexRows(rowTag, cellTag, formulaTag);
    }
    indexed_ = true;
}

namespace {

// A row's cell slots sized from its last cell, so that they are not grown cell by cell.
void sizeCells(pugi::xml_node row, std::vector<pugi::xml_node>& cells) {
    if (int lr = 0, lc = 0; parseA1(row.last_child().attribute("r").value(), lr, lc)) {
        cells.resize(size_t(lc) + 1);
    }
}

// One row's cells put in their slots (sized by sizeCells) by column: false, nothing thrown, when
// a reference lies outside the worksheet (the index is then built again row by row, which
// reports it).
bool indexCells(pugi::xml_node row, std::vector<pugi::xml_node>& cells, const char* cellTag,
                const char* formulaTag, bool& formulas) {
    int column = 0;
    for (pugi::xml_node cell = row.child(cellTag); cell; cell = cell.next_sibling(cellTag)) {
        int cr = 0, cc = column + 1;
        if (const char* ref = cell.attribute("r").value(); *ref != '\0' && !parseA1(ref, cr, cc)) {
            return false;
        }
        column = cc;
        if (cc >= int(cells.size())) {
            cells.resize(size_t(cc) + 1);
        }
        cells[size_t(cc)] = cell;
        formulas = formulas || bool(cell.child(formulaTag));
    }
    return true;
}

// Sheets of fewer rows are indexed on one thread.
constexpr size_t kRowsIndexedInParallel = 4096;
constexpr size_t kIndexThreads = 4;

} // namespace

bool SheetModel::indexRowsInParallel(const char* rowTag, const char* cellTag,
                                     const char* formulaTag) {
    // The rows in order with their numbers; anything but rows numbered upwards within the
    // worksheet is left to the index built row by row.
    std::vector<std::pair<pugi::xml_node, int>> rows;
    int previous = 0;
    for (pugi::xml_node row = sheetData_.child(rowTag); row; row = row.next_sibling(rowTag)) {
        const long long number = row.attribute("r").as_llong(previous + 1);
        if (number <= previous || number > kMaxRows) {
            return false;
        }
        previous = int(number);
        rows.emplace_back(row, previous);
    }
    const size_t threads = std::min<size_t>(
        {kIndexThreads, rows.size() / kRowsIndexedInParallel, std::thread::hardware_concurrency()});
    if (threads < 2) {
        return false;
    }
    rows_.assign(size_t(previous) + 1, RowSlot());
    // The slots are sized here, each row's from its last cell: the index's memory then comes
    // from this thread's heap, where the work after the sheet is closed finds it again.
    for (const auto& [row, number] : rows) {
        sizeCells(row, rows_[size_t(number)].cells);
    }
    // Each thread takes rows of its own, and so slots of its own.
    std::vector<char> formulas(threads, 0);
    std::vector<char> faulty(threads, 0);
    const auto indexPart = [&](size_t part) {
        bool found = false;
        try {
            for (size_t i = rows.size() * part / threads; i < rows.size() * (part + 1) / threads;
                 ++i) {
                RowSlot& slot = rows_[size_t(rows[i].second)];
                slot.node = rows[i].first;
                if (!indexCells(rows[i].first, slot.cells, cellTag, formulaTag, found)) {
                    faulty[part] = 1;
                    return;
                }
            }
        } catch (...) {
            faulty[part] = 1; // out of memory: the index row by row raises it
            return;
        }
        formulas[part] = found ? 1 : 0;
    };
    std::vector<std::thread> helpers;
    try {
        for (size_t part = 1; part < threads; ++part) {
            helpers.emplace_back(indexPart, part);
        }
    } catch (const std::system_error&) {
        // Fewer threads: the parts without one are indexed here.
    }
    for (size_t part = helpers.size() + 1; part < threads; ++part) {
        indexPart(part);
    }
    indexPart(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (std::find(faulty.begin(), faulty.end(), 1) != faulty.end()) {
        rows_.clear();
        return false;
    }
    lastRow_ = previous;
    formulas_ = std::find(formulas.begin(), formulas.end(), 1) != formulas.end();
    return true;
}

void SheetModel::indexRows(const char* rowTag, const char* cellTag, const char* formulaTag) {
    // The index is built for every sheet opened and again after rows are moved: its vectors are
    // sized once from the last row and each row's last cell, not grown cell by cell.
    if (const pugi::xml_node last = sheetData_.last_child();
        isLocal(ownName(last.name(), prefix_), "row")) {
        const long long number = last.attribute("r").as_llong(0);
        if (number >= 1 && number <= kMaxRows) {
            rows_.resize(size_t(number) + 1);
        }
    }
    int rowNumber = 0;
    for (pugi::xml_node row = sheetData_.child(rowTag); row; row = row.next_sibling(rowTag)) {
        const long long number = row.attribute("r").as_llong(rowNumber + 1);
        if (number < 1 || number > kMaxRows) {
            throw workbook_.unreadablePart(part_,
                                           QStringLiteral("holds the row %1, outside the worksheet")
                                               .arg(QString::fromUtf8(row.attribute("r").value())));
        }
        const int r = static_cast<int>(number);
        rowNumber = r;
        if (r >= int(rows_.size())) {
            rows_.resize(size_t(r) + 1 + size_t(r) / 4);
        }
        RowSlot& slot = rows_[size_t(r)];
        slot.node = row;
        lastRow_ = std::max(lastRow_, r);
        sizeCells(row, slot.cells);
        if (!indexCells(row, slot.cells, cellTag, formulaTag, formulas_)) {
            // The first reference outside the worksheet, named.
            for (pugi::xml_node cell = row.child(cellTag); cell;
                 cell = cell.next_sibling(cellTag)) {
                int cr = 0, cc = 0;
                if (const char* ref = cell.attribute("r").value();
                    *ref != '\0' && !parseA1(ref, cr, cc)) {
                    throw workbook_.unreadablePart(
                        part_, QStringLiteral("holds the cell reference %1, outside the "
                                              "worksheet")
                                   .arg(QString::fromUtf8(ref)));
                }
            }
        }
    }
}

pugi::xml_node SheetModel::cellNode(int row, int column) {
    ensureIndex();
    if (row < 1 || row >= int(rows_.size())) {
        return {};
    }
    const RowSlot& slot = rows_[size_t(row)];
    return column >= 1 && column < int(slot.cells.size()) ? slot.cells[size_t(column)]
                                                          : pugi::xml_node();
}

void SheetModel::prefetchDownColumn(int row, int column) const {
    // A column read or written down a large sheet reaches each row's cells far apart in memory,
    // and a walk waiting for each in turn spends most of its time there. Three steps ahead: the
    // row's cell slots first; once they are at hand, the cell's node with its attributes, which
    // follow it in memory; once that is at hand, its first child (the value of a cell written
    // after it was made lies elsewhere).
    constexpr size_t kSlotsAhead = 24;
    constexpr size_t kNodeAhead = 12;
    constexpr size_t kChildAhead = 4;
    if (!indexed_ || column < 1 || row < 0) {
        return;
    }
    const auto cellAt = [&](size_t r) -> const pugi::xml_node* {
        if (r >= rows_.size()) {
            return nullptr;
        }
        const std::vector<pugi::xml_node>& cells = rows_[r].cells;
        return size_t(column) < cells.size() ? cells.data() + column : nullptr;
    };
    const auto fetchNode = [](const pugi::xml_node& node, int lines) {
        if (const auto* at = reinterpret_cast<const char*>(node.internal_object())) {
            for (int line = 0; line < lines; ++line) {
                __builtin_prefetch(at + 64 * line);
            }
        }
    };
    if (const pugi::xml_node* slot = cellAt(size_t(row) + kSlotsAhead)) {
        __builtin_prefetch(slot);
    }
    if (const pugi::xml_node* slot = cellAt(size_t(row) + kNodeAhead)) {
        fetchNode(*slot, 4);
    }
    if (const pugi::xml_node* slot = cellAt(size_t(row) + kChildAhead)) {
        fetchNode(slot->first_child(), 2);
    }
}

pugi::xml_node SheetModel::makeRow(int row) {
    ensureIndex();
    if (row >= int(rows_.size())) {
        rows_.resize(size_t(row) + 1 + size_t(row) / 4);
    }
    RowSlot& slot = rows_[size_t(row)];
    if (slot.node) {
        return slot.node;
    }
    pugi::xml_node next;
    if (hintRow_ && hintRowNumber_ < row) {
        pugi::xml_node after = hintRow_.next_sibling(tag("row"));
        const int afterNumber = after ? after.attribute("r").as_int() : 0;
        if (!after || afterNumber > row) {
            next = after;
        } else {
            next = pugi::xml_node();
            for (int r = row + 1; r <= lastRow_; ++r) {
                if (rows_[size_t(r)].node) {
                    next = rows_[size_t(r)].node;
                    break;
                }
            }
        }
    } else {
        for (int r = row + 1; r <= lastRow_; ++r) {
            if (rows_[size_t(r)].node) {
                next = rows_[size_t(r)].node;
                break;
            }
        }
    }
    pugi::xml_node node = next ? sheetData_.insert_child_before(tag("row"), next)
                               : sheetData_.append_child(tag("row"));
    node.append_attribute("r").set_value(row);
    slot.node = node;
    lastRow_ = std::max(lastRow_, row);
    hintRow_ = node;
    hintRowNumber_ = row;
    return node;
}

pugi::xml_node SheetModel::makeCell(int row, int column) {
    if (pugi::xml_node existing = cellNode(row, column)) {
        return existing;
    }
    pugi::xml_node rowNode = makeRow(row);
    RowSlot& slot = rows_[size_t(row)];
    if (column >= int(slot.cells.size())) {
        slot.cells.resize(size_t(column) + 1);
    }
    pugi::xml_node next;
    for (size_t c = size_t(column) + 1; c < slot.cells.size(); ++c) {
        if (slot.cells[c]) {
            next = slot.cells[c];
            break;
        }
    }
    pugi::xml_node cell =
        next ? rowNode.insert_child_before(tag("c"), next) : rowNode.append_child(tag("c"));
    char ref[16];
    writeA1(ref, row, column);
    cell.append_attribute("r").set_value(ref);
    // A new cell takes the row's format, or else the column's.
    int style = 0;
    if (rowNode.attribute("customFormat").as_bool()) {
        style = rowNode.attribute("s").as_int();
    } else if (column < int(columnStyles_.size())) {
        style = columnStyles_[size_t(column)];
    }
    if (style > 0) {
        cell.append_attribute("s").set_value(style);
    }
    slot.cells[size_t(column)] = cell;
    return cell;
}

CellValue SheetModel::value(int row, int column) {
    const pugi::xml_node cell = cellNode(row, column);
    if (!cell) {
        return {};
    }
    // The type is dispatched on once, and the children looked up only as the type needs them:
    // the cells of a sheet are read a few hundred thousand times in a run (extraction, the chart
    // caches at save).
    const char* type = cell.attribute("t").value();
    const pugi::xml_node v = cell.child(tag("v"));
    const StoredType stored = storedType(type);
    if (stored == StoredType::InlineString) {
        const pugi::xml_node is = cell.child(tag("is"));
        return is ? CellValue::text(stringItemText(is))
                  : (v ? CellValue::text(QString::fromUtf8(v.child_value())) : CellValue());
    }
    if (!v) {
        return stored == StoredType::FormulaText && cell.child(tag("f")) ? CellValue::text({})
                                                                         : CellValue();
    }
    const char* text = v.child_value();
    if (stored != StoredType::FormulaText && isBlank(text)) {
        return {};
    }
    switch (stored) {
    case StoredType::SharedString:
        return CellValue::text(workbook_.sharedStrings().at(std::atoi(text)));
    case StoredType::FormulaText:
        return CellValue::text(QString::fromUtf8(text));
    case StoredType::Boolean:
        return CellValue::boolean(std::atoi(text) != 0 || std::strcmp(text, "true") == 0);
    case StoredType::Error:
        return CellValue::error(QString::fromUtf8(text));
    case StoredType::Date: {
        const std::optional<double> serial = isoToSerial(text, workbook_.date1904());
        return serial ? CellValue::number(*serial) : CellValue::text(QString::fromUtf8(text));
    }
    default:
        break;
    }
    double number = 0;
    const char* end = text + std::strlen(text);
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r') {
        ++text;
    }
    if (text < end && *text == '+') {
        ++text;
    }
    std::from_chars(text, end, number);
    return CellValue::number(number);
}

int SheetModel::styleOf(int row, int column) {
    if (pugi::xml_node cell = cellNode(row, column)) {
        return cell.attribute("s").as_int();
    }
    if (row < int(rows_.size()) && rows_[size_t(row)].node &&
        rows_[size_t(row)].node.attribute("customFormat").as_bool()) {
        return rows_[size_t(row)].node.attribute("s").as_int();
    }
    return column < int(columnStyles_.size()) ? columnStyles_[size_t(column)] : 0;
}

void SheetModel::expandSharedFormula(const std::string& group) {
    pugi::xml_node master;
    int masterRow = 0, masterColumn = 0;
    std::vector<std::pair<pugi::xml_node, std::pair<int, int>>> members;
    for (int r = 1; r <= lastRow_; ++r) {
        const RowSlot& slot = rows_[size_t(r)];
        for (size_t c = 1; c < slot.cells.size(); ++c) {
            pugi::xml_node f = slot.cells[c].child(tag("f"));
            if (!f || std::strcmp(f.attribute("t").value(), "shared") != 0 ||
                group != f.attribute("si").value()) {
                continue;
            }
            if (f.attribute("ref") && *f.child_value() != '\0') {
                master = f;
                masterRow = r;
                masterColumn = int(c);
            } else {
                members.push_back({f, {r, int(c)}});
            }
        }
    }
    if (!master) {
        return;
    }
    const std::string formula = master.child_value();
    for (auto& [f, position] : members) {
        const std::string text =
            shiftFormula(formula, position.first - masterRow, position.second - masterColumn);
        f.remove_attribute("t");
        f.remove_attribute("si");
        f.remove_attribute("ref");
        f.text().set(text.c_str());
    }
    master.remove_attribute("t");
    master.remove_attribute("si");
    master.remove_attribute("ref");
}

pugi::xml_node SheetModel::clearContent(pugi::xml_node cell) {
    // One pass over the children and one over the attributes: a column of thousands of cells is
    // cleared before it is written, most of them formatted blanks with nothing to clear.
    pugi::xml_node extLst;
    bool firstFormula = true;
    for (pugi::xml_node child = cell.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        const char* local = ownName(child.name(), prefix_);
        if (isLocal(local, "f")) {
            // Members of a shared formula group keep their formulas, written out.
            if (firstFormula && std::strcmp(child.attribute("t").value(), "shared") == 0) {
                expandSharedFormula(child.attribute("si").value());
            }
            firstFormula = false;
            cell.remove_child(child);
        } else if (isLocal(local, "v") || isLocal(local, "is")) {
            cell.remove_child(child);
        } else if (!extLst && isLocal(local, "extLst")) {
            extLst = child;
        }
        child = next;
    }
    bool type = false, cm = false, vm = false;
    for (pugi::xml_attribute a = cell.first_attribute(); a;) {
        const pugi::xml_attribute next = a.next_attribute();
        const char* name = a.name();
        bool* seen = std::strcmp(name, "t") == 0    ? &type
                     : std::strcmp(name, "cm") == 0 ? &cm
                     : std::strcmp(name, "vm") == 0 ? &vm
                                                    : nullptr;
        if (seen != nullptr && !*seen) {
            *seen = true;
            cell.remove_attribute(a);
        }
        a = next;
    }
    return extLst;
}

bool SheetModel::writeValue(int row, int column, const CellValue& value) {
    ensureIndex();
    const CellValue::Kind kind = value.kind();
    if (kind == CellValue::Kind::Empty ||
        (kind == CellValue::Kind::Text && value.toText().isEmpty())) {
        pugi::xml_node cell = cellNode(row, column);
        if (!cell) {
            return false;
        }
        clearContent(cell);
        return true;
    }
    if ((kind == CellValue::Kind::Number || kind == CellValue::Kind::Date) &&
        !std::isfinite(value.toNumber())) {
        throw Error(kRejectedReference,
                    QStringLiteral("The value is not a finite number and cannot be stored."));
    }
    pugi::xml_node cell = makeCell(row, column);
    const pugi::xml_node before = clearContent(cell);
    auto add = [&](const char* name) {
        return before ? cell.insert_child_before(tag(name), before) : cell.append_child(tag(name));
    };
    switch (kind) {
    case CellValue::Kind::Number:
    case CellValue::Kind::Date: {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value.toNumber());
        *result.ptr = '\0';
        add("v").text().set(buffer);
        break;
    }
    case CellValue::Kind::Boolean:
        cell.append_attribute("t").set_value("b");
        add("v").text().set(value.toBool() ? "1" : "0");
        break;
    case CellValue::Kind::Error:
        cell.append_attribute("t").set_value("e");
        add("v").text().set(value.toText().toUtf8().constData());
        break;
    default: {
        cell.append_attribute("t").set_value("inlineStr");
        pugi::xml_node t = add("is").append_child(tag("t"));
        const QString& text = value.toText();
        if (text.front().isSpace() || text.back().isSpace() || text.contains(u'\n')) {
            t.append_attribute("xml:space").set_value("preserve");
        }
        t.text().set(encodeCellText(text).c_str());
        break;
    }
    }
    return true;
}

void SheetModel::setValue(int row, int column, const CellValue& value) {
    if (writeValue(row, column, value)) {
        markModified();
    }
}

void SheetModel::setStyle(int row, int column, int xf) {
    pugi::xml_node cell = makeCell(row, column);
    pugi::xml_attribute s = cell.attribute("s");
    if (!s) {
        s = cell.append_attribute("s");
    }
    s.set_value(xf);
    markModified();
}

CellRect SheetModel::usedRange() {
    ensureIndex();
    const auto used = [&](pugi::xml_node cell) {
        return cell && (hasContent(cell, prefix_) || cell.attribute("s").as_int() != 0);
    };
    // Only a row's outermost used cells bound the range: each row is searched from both ends, so
    // the cells between them are not visited (the range is asked of sheets of hundreds of
    // thousands of cells, twice when a worksheet is initialised and again at save).
    CellRect rect{0, 0, 0, 0};
    for (int r = 1; r <= lastRow_; ++r) {
        const std::vector<pugi::xml_node>& cells = rows_[size_t(r)].cells;
        size_t first = 1;
        while (first < cells.size() && !used(cells[first])) {
            ++first;
        }
        if (first >= cells.size()) {
            continue;
        }
        size_t last = cells.size() - 1;
        while (last > first && !used(cells[last])) {
            --last;
        }
        if (rect.firstRow == 0) {
            rect = {r, int(first), r, int(last)};
        }
        rect.firstColumn = std::min(rect.firstColumn, int(first));
        rect.lastColumn = std::max(rect.lastColumn, int(last));
        rect.lastRow = r;
    }
    if (rect.firstRow == 0) {
        return CellRect{};
    }
    return rect;
}

bool SheetModel::hasFormulas() {
    if (!workbook_.package().isParsed(part_)) {
        const std::string bytes = workbook_.package().bytes(part_);
        // With or without a prefix ("<f>", "<x:f>"); a false find only sets recalculation.
        for (const char* formula : {"<f>", "<f ", ":f>", ":f "}) {
            if (bytes.find(formula) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    ensureIndex();
    return formulas_;
}

pugi::xml_node SheetModel::childInOrder(const char* name) {
    static const char* const order[] = {"sheetPr",
                                        "dimension",
                                        "sheetViews",
                                        "sheetFormatPr",
                                        "cols",
                                        "sheetData",
                                        "sheetCalcPr",
                                        "sheetProtection",
                                        "protectedRanges",
                                        "scenarios",
                                        "autoFilter",
                                        "sortState",
                                        "dataConsolidate",
                                        "customSheetViews",
                                        "mergeCells",
                                        "phoneticPr",
                                        "conditionalFormatting",
                                        "dataValidations",
                                        "hyperlinks",
                                        "printOptions",
                                        "pageMargins",
                                        "pageSetup",
                                        "headerFooter",
                                        "rowBreaks",
                                        "colBreaks",
                                        "customProperties",
                                        "cellWatches",
                                        "ignoredErrors",
                                        "smartTags",
                                        "drawing",
                                        "legacyDrawing",
                                        "legacyDrawingHF",
                                        "drawingHF",
                                        "picture",
                                        "oleObjects",
                                        "controls",
                                        "webPublishItems",
                                        "tableParts",
                                        "extLst"};
    pugi::xml_node worksheet = root();
    if (pugi::xml_node existing = worksheet.child(tag(name))) {
        return existing;
    }
    bool after = false;
    for (const char* candidate : order) {
        if (after) {
            if (pugi::xml_node later = worksheet.child(tag(candidate))) {
                return worksheet.insert_child_before(tag(name), later);
            }
        } else if (std::strcmp(candidate, name) == 0) {
            after = true;
        }
    }
    return worksheet.append_child(tag(name));
}

void SheetModel::prepareSave() {
    if (!isModified() || !indexed_) {
        return;
    }
    const CellRect used = usedRange();
    QString ref = cellRef(used.firstRow, used.firstColumn);
    if (used.lastRow != used.firstRow || used.lastColumn != used.firstColumn) {
        ref += u':' + cellRef(used.lastRow, used.lastColumn);
    }
    pugi::xml_node dimension = childInOrder("dimension");
    dimension.remove_attribute("ref");
    dimension.append_attribute("ref").set_value(ref.toUtf8().constData());
}

} // namespace workbook::detail
