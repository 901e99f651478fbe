#include "workbook/detail/FormulaRefs.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cctype>

namespace workbook::detail {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Characters of names, functions, unquoted sheet names and references.
bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return isAsciiLetter(c) || isDigit(c) || c == '_' || c == '.' || c == '\\' || c == '?' ||
           c == '$' || u >= 0x80;
}

// One side of a reference: a cell ("$B$3"), a column ("$B") or a row ("3").
struct Part {
    enum class Kind { None, Cell, Column, Row };
    Kind kind = Kind::None;
    int row = 0;
    int col = 0;
    bool rowAbs = false;
    bool colAbs = false;
};

Part classify(std::string_view w) {
    Part p;
    size_t i = 0;
    const size_t n = w.size();
    bool leadingDollar = false;
    if (i < n && w[i] == '$') {
        leadingDollar = true;
        ++i;
    }
    size_t letters = 0;
    int col = 0;
    while (i < n && isAsciiLetter(w[i])) {
        if (++letters > 3)
            return {};
        col = col * 26 + (std::toupper(static_cast<unsigned char>(w[i])) - 'A' + 1);
        ++i;
    }
    if (letters > 0 && col > kMaxColumns)
        return {};
    if (letters > 0 && i == n) {
        p.kind = Part::Kind::Column;
        p.col = col;
        p.colAbs = leadingDollar;
        return p;
    }
    bool rowAbs = false;
    if (letters == 0) {
        rowAbs = leadingDollar;
    } else if (i < n && w[i] == '$') {
        rowAbs = true;
        ++i;
    }
    const size_t digitsStart = i;
    int row = 0;
    while (i < n && isDigit(w[i])) {
        if (i - digitsStart >= 7)
            return {};
        row = row * 10 + (w[i] - '0');
        ++i;
    }
    if (i != n || i == digitsStart || row < 1 || row > kMaxRows)
        return {};
    p.row = row;
    p.rowAbs = rowAbs;
    if (letters == 0) {
        p.kind = Part::Kind::Row;
    } else {
        p.kind = Part::Kind::Cell;
        p.col = col;
        p.colAbs = leadingDollar;
    }
    return p;
}

size_t wordEnd(std::string_view f, size_t i) {
    while (i < f.size() && isWordChar(f[i]))
        ++i;
    return i;
}

// End of a "..." string or a '...' name starting at i (doubled quotes are part of it).
size_t quotedEnd(std::string_view f, size_t i) {
    const char q = f[i];
    ++i;
    while (i < f.size()) {
        if (f[i] == q) {
            if (i + 1 < f.size() && f[i + 1] == q) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return f.size();
}

// End of a bracket group starting at i, nested groups and quoted ' escapes included.
size_t bracketEnd(std::string_view f, size_t i) {
    int depth = 0;
    while (i < f.size()) {
        const char c = f[i];
        if (c == '\'' && i + 1 < f.size()) {
            i += 2; // in structured references ' escapes the next character
            continue;
        }
        if (c == '[') {
            ++depth;
        } else if (c == ']') {
            if (--depth == 0)
                return i + 1;
        }
        ++i;
    }
    return f.size();
}

constexpr std::array<std::string_view, 10> kErrorLiterals = {
    "#NULL!", "#DIV/0!", "#VALUE!",       "#REF!",   "#NAME?",
    "#NUM!",  "#N/A",    "#GETTING_DATA", "#SPILL!", "#CALC!"};

size_t errorLiteralLength(std::string_view f, size_t i) {
    for (const auto lit : kErrorLiterals) {
        if (f.size() - i >= lit.size()) {
            bool same = true;
            for (size_t k = 0; k < lit.size() && same; ++k)
                same = std::toupper(static_cast<unsigned char>(f[i + k])) == lit[k];
            if (same)
                return lit.size();
        }
    }
    return 1;
}

bool isRefError(std::string_view lit) {
    return lit.size() == 5 && std::toupper(static_cast<unsigned char>(lit[1])) == 'R' &&
           std::toupper(static_cast<unsigned char>(lit[2])) == 'E' &&
           std::toupper(static_cast<unsigned char>(lit[3])) == 'F';
}

std::string unquoteName(std::string_view quoted) {
    std::string name;
    const size_t end =
        quoted.size() >= 2 && quoted.back() == '\'' ? quoted.size() - 1 : quoted.size();
    for (size_t i = 1; i < end; ++i) {
        name += quoted[i];
        if (quoted[i] == '\'' && i + 1 < end && quoted[i + 1] == '\'')
            ++i;
    }
    return name;
}

// Whether the parts make a reference alone or as the two sides of a range.
std::optional<Reference> makeReference(const Part& a, const Part* b) {
    Reference r;
    if (!b) {
        if (a.kind != Part::Kind::Cell)
            return std::nullopt;
        r.kind = Reference::Kind::Cell;
        r.firstRow = r.lastRow = a.row;
        r.firstCol = r.lastCol = a.col;
        r.firstRowAbs = r.lastRowAbs = a.rowAbs;
        r.firstColAbs = r.lastColAbs = a.colAbs;
        return r;
    }
    if (a.kind != b->kind || a.kind == Part::Kind::None)
        return std::nullopt;
    r.kind = a.kind == Part::Kind::Cell  ? Reference::Kind::Area
             : a.kind == Part::Kind::Row ? Reference::Kind::Rows
                                         : Reference::Kind::Columns;
    r.firstRow = a.row;
    r.lastRow = b->row;
    r.firstCol = a.col;
    r.lastCol = b->col;
    r.firstRowAbs = a.rowAbs;
    r.lastRowAbs = b->rowAbs;
    r.firstColAbs = a.colAbs;
    r.lastColAbs = b->colAbs;
    return r;
}

// Reads a reference at i: a word, optionally ":" and a second word. Returns its end, or i when
// the text there is no reference.
size_t readReference(std::string_view f, size_t i, Reference& out) {
    const size_t end1 = wordEnd(f, i);
    if (end1 == i)
        return i;
    if (end1 < f.size() && (f[end1] == '(' || f[end1] == '[' || f[end1] == '!'))
        return i;
    const Part a = classify(f.substr(i, end1 - i));
    if (a.kind == Part::Kind::None)
        return i;
    if (end1 < f.size() && f[end1] == ':') {
        const size_t end2 = wordEnd(f, end1 + 1);
        const bool followedBy =
            end2 < f.size() && (f[end2] == '(' || f[end2] == '[' || f[end2] == '!');
        if (end2 > end1 + 1 && !followedBy) {
            const Part b = classify(f.substr(end1 + 1, end2 - end1 - 1));
            if (auto r = makeReference(a, &b)) {
                out = *r;
                return end2;
            }
        }
    }
    if (auto r = makeReference(a, nullptr)) {
        out = *r;
        return end1;
    }
    return i;
}

std::string formatPart(int row, int col, bool rowAbs, bool colAbs) {
    std::string s;
    if (col > 0) {
        if (colAbs)
            s += '$';
        s += columnLetters(col);
    }
    if (row > 0) {
        if (rowAbs)
            s += '$';
        s += std::to_string(row);
    }
    return s;
}

} // namespace

std::string columnLetters(int column) {
    std::string s;
    while (column > 0) {
        const int rem = (column - 1) % 26;
        s.insert(s.begin(), static_cast<char>('A' + rem));
        column = (column - 1) / 26;
    }
    return s;
}

std::string formatReference(const Reference& r) {
    const std::string first =
        formatPart(r.kind == Reference::Kind::Columns ? 0 : r.firstRow,
                   r.kind == Reference::Kind::Rows ? 0 : r.firstCol, r.firstRowAbs, r.firstColAbs);
    if (r.kind == Reference::Kind::Cell)
        return first;
    return first + ':' +
           formatPart(r.kind == Reference::Kind::Columns ? 0 : r.lastRow,
                      r.kind == Reference::Kind::Rows ? 0 : r.lastCol, r.lastRowAbs, r.lastColAbs);
}

std::optional<Reference> parseReference(std::string_view text) {
    Reference r;
    if (readReference(text, 0, r) != text.size() || text.empty())
        return std::nullopt;
    return r;
}

std::string rewriteReferences(std::string_view f, const ReferenceRewriter& rewrite) {
    std::string out;
    out.reserve(f.size() + 16);
    size_t i = 0;
    bool externalPending = false; // a "[n]" workbook prefix was just read

    // Reads the reference after a sheet prefix (or at a plain word) and rewrites it.
    auto referenceAt = [&](size_t at, const std::string& sheet, bool qualified, bool foreign) {
        Reference r;
        const size_t end = readReference(f, at, r);
        if (end == at)
            return at;
        r.sheet = sheet;
        r.qualified = qualified;
        r.foreign = foreign;
        if (auto replacement = rewrite(r))
            out += *replacement;
        else
            out.append(f.substr(at, end - at));
        return end;
    };

    while (i < f.size()) {
        const char c = f[i];
        if (c == '"') {
            const size_t j = quotedEnd(f, i);
            out.append(f.substr(i, j - i));
            i = j;
            externalPending = false;
        } else if (c == '\'') {
            const size_t j = quotedEnd(f, i);
            out.append(f.substr(i, j - i));
            if (j < f.size() && f[j] == '!') {
                const std::string name = unquoteName(f.substr(i, j - i));
                // '[1]Sheet'!A1 names another workbook, 'Jan:Mar'!A1 a span of sheets.
                const bool foreign = externalPending || (!name.empty() && name[0] == '[') ||
                                     name.find(':') != std::string::npos;
                out += '!';
                i = referenceAt(j + 1, name, true, foreign);
            } else {
                i = j;
            }
            externalPending = false;
        } else if (c == '[') {
            const size_t j = bracketEnd(f, i);
            out.append(f.substr(i, j - i));
            i = j;
            externalPending = true;
        } else if (c == '#') {
            const size_t len = errorLiteralLength(f, i);
            out.append(f.substr(i, len));
            const bool deletedSheet = isRefError(f.substr(i, len));
            i += len;
            if (deletedSheet && i < f.size() && isWordChar(f[i]))
                i = referenceAt(i, std::string(), true, true);
            externalPending = false;
        } else if (isWordChar(c)) {
            const size_t j = wordEnd(f, i);
            const std::string_view word = f.substr(i, j - i);
            if (j < f.size() && f[j] == '!') {
                out.append(word);
                out += '!';
                i = referenceAt(j + 1, std::string(word), true, externalPending);
                externalPending = false;
                continue;
            }
            if (j < f.size() && f[j] == ':') {
                const size_t k = wordEnd(f, j + 1);
                if (k > j + 1 && k < f.size() && f[k] == '!') { // Jan:Mar!A1
                    out.append(f.substr(i, k + 1 - i));
                    i = referenceAt(k + 1, std::string(word), true, true);
                    externalPending = false;
                    continue;
                }
            }
            externalPending = false;
            if (j < f.size() && f[j] == '[') { // structured reference Table1[Column]
                const size_t k = bracketEnd(f, j);
                out.append(f.substr(i, k - i));
                i = k;
                continue;
            }
            const size_t end = referenceAt(i, std::string(), false, false);
            if (end == i) {
                out.append(word);
                i = j;
            } else {
                i = end;
            }
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::optional<int> shiftRow(int row, const RowChange& change) {
    // A damaged number past the sheet's end is taken as the row just past it, so that moving it
    // cannot overflow.
    int first = std::min(row, kMaxRows + 1);
    int last = first;
    if (!shiftRows(first, last, change))
        return std::nullopt;
    return first;
}

bool shiftRows(int& first, int& last, const RowChange& ch) {
    if (ch.count <= 0)
        return true;
    if (ch.isInsert()) {
        if (first == 1 && last == kMaxRows)
            return true; // the whole height of the sheet stays the whole height
        if (ch.at <= first) {
            first += ch.count;
            last += ch.count;
        } else if (ch.at <= last) {
            last += ch.count;
        }
        if (first > kMaxRows)
            return false;
        last = std::min(last, kMaxRows);
        return true;
    }
    const int d1 = ch.at;
    const int d2 = ch.at + ch.count - 1;
    if (last < d1)
        return true;
    if (first > d2) {
        first -= ch.count;
        last -= ch.count;
        return true;
    }
    if (first >= d1 && last <= d2)
        return false;
    const int newFirst = first < d1 ? first : d1;
    const int newLast = last > d2 ? last - ch.count : d1 - 1;
    first = newFirst;
    last = newLast;
    return true;
}

bool sameSheetName(std::string_view a, std::string_view b) {
    if (a.size() == b.size()) {
        bool same = true;
        bool ascii = true;
        for (size_t i = 0; i < a.size() && same; ++i) {
            const auto ca = static_cast<unsigned char>(a[i]);
            const auto cb = static_cast<unsigned char>(b[i]);
            ascii = ascii && ca < 0x80 && cb < 0x80;
            same = std::toupper(ca) == std::toupper(cb);
        }
        if (same)
            return true;
        if (ascii)
            return false;
    }
    return QString::fromUtf8(a.data(), qsizetype(a.size()))
               .compare(QString::fromUtf8(b.data(), qsizetype(b.size())), Qt::CaseInsensitive) == 0;
}

namespace {

// The row-shift of one reference; nothing when it stays as it is.
std::optional<std::string> shiftReference(Reference r, const RowChange& change) {
    if (r.kind == Reference::Kind::Columns)
        return std::nullopt;
    if (r.firstRow > r.lastRow) {
        std::swap(r.firstRow, r.lastRow);
        std::swap(r.firstRowAbs, r.lastRowAbs);
    }
    int first = r.firstRow;
    int last = r.lastRow;
    if (!shiftRows(first, last, change))
        return std::string("#REF!");
    if (first == r.firstRow && last == r.lastRow)
        return std::nullopt;
    r.firstRow = first;
    r.lastRow = last;
    return formatReference(r);
}

} // namespace

std::string shiftFormula(std::string_view formula, std::string_view hostSheet,
                         std::string_view changedSheet, const RowChange& change) {
    return rewriteReferences(formula, [&](const Reference& r) -> std::optional<std::string> {
        if (r.foreign)
            return std::nullopt;
        if (r.qualified ? !sameSheetName(r.sheet, changedSheet)
                        : (hostSheet.empty() || !sameSheetName(hostSheet, changedSheet)))
            return std::nullopt;
        return shiftReference(r, change);
    });
}

std::string shiftAnchoredFormula(std::string_view formula, std::string_view hostSheet,
                                 std::string_view changedSheet, const RowChange& change,
                                 int anchorDelta) {
    if (hostSheet.empty() || !sameSheetName(hostSheet, changedSheet))
        return shiftFormula(formula, hostSheet, changedSheet, change);
    return rewriteReferences(formula, [&](Reference r) -> std::optional<std::string> {
        if (r.foreign || r.kind == Reference::Kind::Columns)
            return std::nullopt;
        const bool onChanged = !r.qualified || sameSheetName(r.sheet, changedSheet);
        if (r.firstRowAbs && r.lastRowAbs) {
            if (!onChanged)
                return std::nullopt;
            return shiftReference(r, change);
        }
        bool ok = true;
        auto movePart = [&](int& row, bool absolute) {
            if (!absolute) {
                row += anchorDelta;
                ok = ok && row >= 1 && row <= kMaxRows;
            } else if (onChanged) {
                const auto shifted = shiftRow(row, change);
                ok = ok && shifted.has_value();
                row = shifted.value_or(row);
            }
        };
        movePart(r.firstRow, r.firstRowAbs);
        if (r.kind == Reference::Kind::Cell)
            r.lastRow = r.firstRow;
        else
            movePart(r.lastRow, r.lastRowAbs);
        if (!ok)
            return std::string("#REF!");
        if (r.firstRow > r.lastRow) {
            std::swap(r.firstRow, r.lastRow);
            std::swap(r.firstRowAbs, r.lastRowAbs);
        }
        return formatReference(r);
    });
}

std::optional<std::string> shiftRange(std::string_view range, const RowChange& change) {
    const auto r = parseReference(range);
    if (!r)
        return std::string(range);
    auto shifted = shiftReference(*r, change);
    if (!shifted)
        return std::string(range);
    if (*shifted == "#REF!")
        return std::nullopt;
    return shifted;
}

std::string shiftRangeList(std::string_view list, const RowChange& change) {
    std::string out;
    size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && list[i] == ' ')
            ++i;
        size_t j = i;
        while (j < list.size() && list[j] != ' ')
            ++j;
        if (j > i) {
            if (auto s = shiftRange(list.substr(i, j - i), change)) {
                if (!out.empty())
                    out += ' ';
                out += *s;
            }
        }
        i = j;
    }
    return out;
}

std::string translateFormula(std::string_view formula, int rowOffset, int colOffset) {
    return rewriteReferences(formula, [&](Reference r) -> std::optional<std::string> {
        if (r.foreign || (rowOffset == 0 && colOffset == 0))
            return std::nullopt;
        bool ok = true;
        // In 64 bits: an offset taken from a damaged cell reference can be near the int limit.
        auto move = [&](int& v, bool abs, int offset, int max) {
            if (v == 0 || abs)
                return;
            const long long moved = static_cast<long long>(v) + offset;
            ok = ok && moved >= 1 && moved <= max;
            v = ok ? static_cast<int>(moved) : v;
        };
        move(r.firstRow, r.firstRowAbs, rowOffset, kMaxRows);
        move(r.lastRow, r.lastRowAbs, rowOffset, kMaxRows);
        move(r.firstCol, r.firstColAbs, colOffset, kMaxColumns);
        move(r.lastCol, r.lastColAbs, colOffset, kMaxColumns);
        if (!ok)
            return std::string("#REF!");
        return formatReference(r);
    });
}

} // namespace workbook::detail
