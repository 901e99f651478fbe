#include "workbook/detail/SharedFormula.h"

#include "workbook/CellRef.h"

#include <cctype>

namespace workbook::detail {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.' || c == '$' ||
           c == '\\';
}

struct RefParts {
    bool colAbs = false, rowAbs = false;
    int column = 0, row = 0; // 0 when absent
};

// Parses "$A$1", "A", "$B", "12", "$3"; false when the run is none of them.
bool parseRef(const std::string& run, RefParts& parts) {
    size_t i = 0;
    if (i < run.size() && run[i] == '$') {
        parts.colAbs = true;
        ++i;
    }
    const size_t letterStart = i;
    while (i < run.size() && std::isalpha(static_cast<unsigned char>(run[i])) != 0) {
        ++i;
    }
    const size_t letters = i - letterStart;
    if (letters > 3) {
        return false;
    }
    if (letters > 0) {
        parts.column = lettersToColumn(QString::fromStdString(run.substr(letterStart, letters)));
        if (parts.column == 0) {
            return false;
        }
    }
    if (i < run.size() && run[i] == '$') {
        if (letters == 0 && parts.colAbs) {
            return false;
        }
        parts.rowAbs = true;
        ++i;
    } else if (letters == 0 && parts.colAbs) {
        // "$3": the dollar belongs to the row.
        parts.colAbs = false;
        parts.rowAbs = true;
    }
    const size_t digitStart = i;
    while (i < run.size() && std::isdigit(static_cast<unsigned char>(run[i])) != 0) {
        ++i;
    }
    if (i != run.size()) {
        return false;
    }
    if (i > digitStart) {
        if (i - digitStart > 7 || run[digitStart] == '0') {
            return false;
        }
        parts.row = std::stoi(run.substr(digitStart));
        if (parts.row > kMaxRows) {
            return false;
        }
    } else if (parts.rowAbs) {
        return false;
    }
    return letters > 0 || parts.row > 0;
}

std::string shifted(const RefParts& parts, int dRow, int dCol, bool& offSheet) {
    std::string out;
    if (parts.column > 0) {
        const int column = parts.colAbs ? parts.column : parts.column + dCol;
        offSheet = offSheet || column < 1 || column > kMaxColumns;
        if (parts.colAbs) {
            out += '$';
        }
        out += columnLetters(column).toStdString();
    }
    if (parts.row > 0) {
        const int row = parts.rowAbs ? parts.row : parts.row + dRow;
        offSheet = offSheet || row < 1 || row > kMaxRows;
        if (parts.rowAbs) {
            out += '$';
        }
        out += std::to_string(row);
    }
    return out;
}

} // namespace

std::string shiftFormula(const std::string& formula, int dRow, int dCol) {
    std::string out;
    out.reserve(formula.size() + 8);
    size_t i = 0;
    const size_t n = formula.size();
    while (i < n) {
        const char c = formula[i];
        if (c == '"' || c == '\'') {
            size_t j = i + 1;
            while (j < n) {
                if (formula[j] == c) {
                    if (j + 1 < n && formula[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out.append(formula, i, std::min(j + 1, n) - i);
            i = j + 1;
            continue;
        }
        if (c == '[') {
            int depth = 0;
            size_t j = i;
            for (; j < n; ++j) {
                depth += formula[j] == '[' ? 1 : formula[j] == ']' ? -1 : 0;
                if (depth == 0) {
                    break;
                }
            }
            out.append(formula, i, std::min(j + 1, n) - i);
            i = j + 1;
            continue;
        }
        if (!isNameChar(c)) {
            out += c;
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && isNameChar(formula[j])) {
            ++j;
        }
        const std::string run = formula.substr(i, j - i);
        const char next = j < n ? formula[j] : '\0';
        const char previous = i > 0 ? formula[i - 1] : '\0';
        RefParts parts;
        bool isRef = next != '(' && next != '!' && parseRef(run, parts);
        if (isRef && (parts.column == 0 || parts.row == 0)) {
            // A whole column or row stands only in a range with ':'.
            isRef = next == ':' || previous == ':';
        }
        if (isRef && std::isdigit(static_cast<unsigned char>(previous)) != 0) {
            isRef = false;
        }
        if (!isRef) {
            out += run;
        } else {
            bool offSheet = false;
            const std::string moved = shifted(parts, dRow, dCol, offSheet);
            out += offSheet ? std::string("#REF!") : moved;
        }
        i = j;
    }
    return out;
}

} // namespace workbook::detail
