#include "workbook/detail/RowShift.h"

#include "workbook/Error.h"
#include "workbook/detail/RowShiftInternal.h"
#include "workbook/detail/XmlEdit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace workbook::detail {

namespace rowshift {

namespace {

// The column letters of a cell reference ("AB" of "AB12", "$AB" of "$AB$12").
std::string_view columnPart(std::string_view ref) {
    size_t i = 0;
    if (i < ref.size() && ref[i] == '$')
        ++i;
    while (i < ref.size() && std::isalpha(static_cast<unsigned char>(ref[i])))
        ++i;
    return ref.substr(0, i);
}

// The column number of the letters; letters beyond the widest sheet (XFD, 16384) give 16385, so
// that long letter runs in a damaged reference cannot overflow.
int columnNumber(std::string_view letters) {
    constexpr int kBeyondLastColumn = 16385;
    int col = 0;
    for (const char c : letters) {
        if (std::isalpha(static_cast<unsigned char>(c)))
            col = col * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
        if (col >= kBeyondLastColumn)
            return kBeyondLastColumn;
    }
    return col;
}

// A row's number: its "r", or the number after the previous row's. Numbers outside the sheet (a
// damaged part) are held at 0 or at the row past its end, so that moving them or measuring
// between two rows cannot overflow.
int rowNumberOf(const pugi::xml_node& row, int previous) {
    return std::clamp(row.attribute("r") ? row.attribute("r").as_int() : previous + 1, 0,
                      kMaxRows + 1);
}

bool rowHasContent(const pugi::xml_node& row) {
    for (pugi::xml_node c : row.children()) {
        if (isNamed(c, "c") && (child(c, "v") || child(c, "f") || child(c, "is")))
            return true;
    }
    return false;
}

// Whether a formula names the changed sheet in any of its references.
bool refersTo(const char* formula, const std::string& sheet) {
    bool found = false;
    rewriteReferences(formula, [&](const Reference& r) -> std::optional<std::string> {
        found = found || (r.qualified && !r.foreign && sameSheetName(r.sheet, sheet));
        return std::nullopt;
    });
    return found;
}

} // namespace

bool expandSharedFormulas(pugi::xml_node sheetData, bool own, const std::string& changedSheet) {
    struct Master {
        std::string text;
        int row = 0;
        int col = 0;
        bool expand = false;
    };
    std::map<std::string, Master> masters;
    bool modified = false;
    int rowNumber = 0;
    for (pugi::xml_node row : sheetData.children()) {
        if (!isNamed(row, "row"))
            continue;
        rowNumber = rowNumberOf(row, rowNumber);
        int colNumber = 0;
        for (pugi::xml_node c : row.children()) {
            if (!isNamed(c, "c"))
                continue;
            const char* ref = c.attribute("r").value();
            colNumber = *ref ? columnNumber(columnPart(ref)) : colNumber + 1;
            pugi::xml_node f = child(c, "f");
            if (!f || std::strcmp(f.attribute("t").value(), "shared") != 0)
                continue;
            const std::string si = f.attribute("si").value();
            if (f.attribute("ref")) {
                Master m{f.text().get(), rowNumber, colNumber, false};
                m.expand = own || refersTo(m.text.c_str(), changedSheet);
                if (m.expand) {
                    f.remove_attribute("t");
                    f.remove_attribute("ref");
                    f.remove_attribute("si");
                    modified = true;
                }
                masters[si] = std::move(m);
                continue;
            }
            const auto m = masters.find(si);
            if (m == masters.end() || !m->second.expand)
                continue;
            f.text().set(translateFormula(m->second.text, rowNumber - m->second.row,
                                          colNumber - m->second.col)
                             .c_str());
            f.remove_attribute("t");
            f.remove_attribute("si");
            modified = true;
        }
    }
    return modified;
}

namespace {

// What a new row formatted like `above` takes of it: its row attributes, and its cells' styles
// without values. Read once for a block of inserted rows, so that each row only writes it out.
class FormattedRowPattern {
public:
    explicit FormattedRowPattern(const pugi::xml_node& above) : rowName_(above.name()) {
        for (pugi::xml_attribute a : above.attributes()) {
            const char* n = a.name();
            if (std::strcmp(n, "r") != 0 && std::strcmp(n, "hidden") != 0 &&
                std::strcmp(n, "collapsed") != 0)
                rowAttributes_.push_back({n, a.value()});
        }
        for (pugi::xml_node c : above.children()) {
            if (!isNamed(c, "c"))
                continue;
            const pugi::xml_attribute s = c.attribute("s");
            const char* ref = c.attribute("r").value();
            if (!s || std::strcmp(s.value(), "0") == 0 || !*ref)
                continue;
            cells_.push_back({c.name(), std::string(columnPart(ref)), s.value()});
        }
    }

    // Adds the row numbered `number` before `before`, or last when there is none.
    void insert(pugi::xml_node sheetData, const pugi::xml_node& before, int number) const {
        pugi::xml_node row = before ? sheetData.insert_child_before(rowName_, before)
                                    : sheetData.append_child(rowName_);
        row.append_attribute("r").set_value(number);
        for (const auto& [name, value] : rowAttributes_)
            row.append_attribute(name).set_value(value);
        char digits[16];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
        (void)ec; // a row number always fits
        const std::string_view rowText(digits, static_cast<size_t>(end - digits));
        std::string ref;
        for (const Cell& cell : cells_) {
            pugi::xml_node node = row.append_child(cell.name);
            ref.assign(cell.column).append(rowText);
            node.append_attribute("r").set_value(ref.data(), ref.size());
            node.append_attribute("s").set_value(cell.style);
        }
    }

private:
    struct Cell {
        const char* name; // the strings of `above`, which outlives the pattern
        std::string column;
        const char* style;
    };
    const char* rowName_;
    std::vector<std::pair<const char*, const char*>> rowAttributes_;
    std::vector<Cell> cells_;
};

bool rowIsFormatted(const pugi::xml_node& row) {
    if (row.attribute("s") || row.attribute("ht"))
        return true;
    for (pugi::xml_node c : row.children()) {
        if (isNamed(c, "c") && c.attribute("s") && std::strcmp(c.attribute("s").value(), "0") != 0)
            return true;
    }
    return false;
}

} // namespace

bool shiftSheetData(pugi::xml_node sheetData, bool own, const std::string& host,
                    const std::string& changed, const RowChange& ch) {
    bool modified = false;
    int rowNumber = 0;
    pugi::xml_node above;
    pugi::xml_node firstMoved;
    const int d2 = ch.at + ch.count - 1;
    for (pugi::xml_node row = sheetData.first_child(); row;) {
        pugi::xml_node next = row.next_sibling();
        if (!isNamed(row, "row")) {
            row = next;
            continue;
        }
        rowNumber = rowNumberOf(row, rowNumber);
        int newNumber = rowNumber;
        if (own && ch.count > 0) {
            if (ch.isInsert()) {
                if (rowNumber == ch.at - 1)
                    above = row;
                if (rowNumber >= ch.at) {
                    if (!firstMoved)
                        firstMoved = row;
                    newNumber = rowNumber + ch.count;
                }
            } else if (rowNumber >= ch.at && rowNumber <= d2) {
                sheetData.remove_child(row);
                modified = true;
                row = next;
                continue;
            } else if (rowNumber > d2) {
                newNumber = rowNumber - ch.count;
            }
            if (newNumber > kMaxRows) { // only formatting is left there (checked before)
                if (firstMoved == row)
                    firstMoved = pugi::xml_node();
                sheetData.remove_child(row);
                modified = true;
                row = next;
                continue;
            }
        }
        const std::string rowText = std::to_string(newNumber);
        if (newNumber != rowNumber || !row.attribute("r"))
            setAttr(row, "r", rowText, modified);
        for (pugi::xml_node c : row.children()) {
            if (!isNamed(c, "c"))
                continue;
            if (newNumber != rowNumber) {
                pugi::xml_attribute r = c.attribute("r");
                if (r)
                    r.set_value((std::string(columnPart(r.value())) + rowText).c_str());
            }
            pugi::xml_node f = child(c, "f");
            if (!f)
                continue;
            if (const char* text = f.text().get(); *text)
                setText(f, shiftFormula(text, host, changed, ch), modified);
            if (own && f.attribute("ref")) {
                const auto ref = shiftRange(f.attribute("ref").value(), ch);
                setAttr(f, "ref", ref ? *ref : std::string(c.attribute("r").value()), modified);
            }
        }
        row = next;
    }
    if (own && ch.isInsert() && ch.count > 0 && above && rowIsFormatted(above)) {
        const FormattedRowPattern pattern(above);
        for (int k = 0; k < ch.count && ch.at + k <= kMaxRows; ++k)
            pattern.insert(sheetData, firstMoved, ch.at + k);
        modified = true;
    }
    return modified;
}

void shiftListAttr(pugi::xml_node node, const char* attr, const RowChange& ch, bool& modified) {
    if (!node.attribute(attr))
        return;
    const std::string shifted = shiftRangeList(node.attribute(attr).value(), ch);
    if (shifted.empty()) {
        node.parent().remove_child(node);
        modified = true;
        return;
    }
    setAttr(node, attr, shifted, modified);
}

void shiftRefAttr(pugi::xml_node node, const char* attr, const RowChange& ch, bool& modified) {
    if (!node.attribute(attr))
        return;
    if (const auto shifted = shiftRange(node.attribute(attr).value(), ch)) {
        setAttr(node, attr, *shifted, modified);
    } else {
        node.parent().remove_child(node);
        modified = true;
    }
}

void updateCount(pugi::xml_node list, const char* item, bool& modified) {
    if (list.attribute("count"))
        setAttr(list, "count", int(children(list, item).size()), modified);
}

} // namespace rowshift

void checkRowInsertion(const pugi::xml_document& worksheet, const RowChange& change) {
    if (!change.isInsert() || change.count <= 0)
        return;
    const int limit = kMaxRows - change.count;
    int rowNumber = 0;
    for (pugi::xml_node row : child(worksheet.document_element(), "sheetData").children()) {
        if (!isNamed(row, "row"))
            continue;
        rowNumber = rowshift::rowNumberOf(row, rowNumber);
        if (rowNumber >= change.at && rowNumber > limit && rowshift::rowHasContent(row))
            throw Error(kRejectedReference,
                        QStringLiteral("To prevent possible loss of data, cells that are not "
                                       "empty cannot be shifted off the worksheet (%1 rows "
                                       "inserted at row %2 would push row %3 past row %4).")
                            .arg(change.count)
                            .arg(change.at)
                            .arg(rowNumber)
                            .arg(kMaxRows));
    }
}

} // namespace workbook::detail
