#include "workbook/detail/RowShift.h"

#include "workbook/detail/RowShiftInternal.h"
#include "workbook/detail/XmlEdit.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace workbook::detail {

using namespace rowshift;

namespace {

// The 0-based row of an anchor or a comment box; a damaged number outside the sheet is held at
// its first row or just past its last, so that moving it cannot overflow.
int anchorRow(const pugi::xml_text& text) {
    return std::clamp(text.as_int(), 0, kMaxRows);
}

// One anchor marker (0-based row and its offset) for a change, each marker on its own: rows
// inserted at or above it move it down; a deleted row under it takes it to the top of the first
// row after the deleted block.
void shiftMarker(pugi::xml_node marker, const RowChange& ch, bool& modified) {
    pugi::xml_node rowNode = child(marker, "row");
    if (!rowNode)
        return;
    const int row = anchorRow(rowNode.text()) + 1;
    int newRow = row;
    bool resetOffset = false;
    if (const auto r = shiftRow(row, ch)) {
        newRow = *r;
    } else if (ch.isInsert()) {
        newRow = kMaxRows;
    } else {
        newRow = ch.at;
        resetOffset = true;
    }
    if (newRow != row) {
        rowNode.text().set(newRow - 1);
        modified = true;
    }
    if (resetOffset) {
        if (pugi::xml_node off = child(marker, "rowOff"))
            setText(off, "0", modified);
    }
}

void moveMarker(pugi::xml_node marker, int delta, bool& modified) {
    pugi::xml_node rowNode = child(marker, "row");
    if (!rowNode || delta == 0)
        return;
    const int row = std::clamp(anchorRow(rowNode.text()) + delta, 0, kMaxRows - 1);
    rowNode.text().set(row);
    modified = true;
}

int markerRow(const pugi::xml_node& marker) {
    return anchorRow(child(marker, "row").text());
}

} // namespace

bool shiftDefinedNames(pugi::xml_document& workbookXml, const std::string& changedSheet,
                       const RowChange& change) {
    bool modified = false;
    pugi::xml_node wb = workbookXml.document_element();
    for (pugi::xml_node name : children(child(wb, "definedNames"), "definedName")) {
        if (const char* text = name.text().get(); *text)
            setText(name, shiftFormula(text, std::string(), changedSheet, change), modified);
    }
    return modified;
}

bool shiftChartReferences(pugi::xml_document& chart, const std::string& changedSheet,
                          const RowChange& change) {
    bool modified = false;
    std::vector<pugi::xml_node> stack{chart.document_element()};
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        for (pugi::xml_node c : node.children()) {
            if (c.type() != pugi::node_element)
                continue;
            if (isNamed(c, "f")) {
                if (const char* text = c.text().get(); *text)
                    setText(c, shiftFormula(text, std::string(), changedSheet, change), modified);
            } else {
                stack.push_back(c);
            }
        }
    }
    return modified;
}

bool shiftDrawingAnchors(pugi::xml_document& drawing, const RowChange& change) {
    bool modified = false;
    for (pugi::xml_node anchor : drawing.document_element().children()) {
        if (isNamed(anchor, "twoCellAnchor")) {
            const std::string editAs = anchor.attribute("editAs").value();
            pugi::xml_node from = child(anchor, "from");
            pugi::xml_node to = child(anchor, "to");
            if (editAs == "absolute")
                continue;
            if (editAs == "oneCell") {
                const int before = markerRow(from);
                shiftMarker(from, change, modified);
                moveMarker(to, markerRow(from) - before, modified);
            } else {
                shiftMarker(from, change, modified);
                shiftMarker(to, change, modified);
            }
        } else if (isNamed(anchor, "oneCellAnchor")) {
            shiftMarker(child(anchor, "from"), change, modified);
        }
    }
    return modified;
}

bool shiftComments(pugi::xml_document& comments, const RowChange& change) {
    bool modified = false;
    for (pugi::xml_node c : children(child(comments.document_element(), "commentList"), "comment"))
        shiftRefAttr(c, "ref", change, modified);
    return modified;
}

bool shiftVmlAnchors(pugi::xml_document& vml, const RowChange& change) {
    bool modified = false;
    std::vector<pugi::xml_node> shapes;
    for (pugi::xml_node shape : vml.document_element().children()) {
        if (child(shape, "ClientData"))
            shapes.push_back(shape);
    }
    for (pugi::xml_node shape : shapes) {
        pugi::xml_node data = child(shape, "ClientData");
        pugi::xml_node rowNode = child(data, "Row");
        if (!rowNode)
            continue;
        const int row = anchorRow(rowNode.text());
        const auto shifted = shiftRow(row + 1, change);
        if (!shifted) {
            shape.parent().remove_child(shape);
            modified = true;
            continue;
        }
        const int delta = *shifted - 1 - row;
        if (delta == 0)
            continue;
        rowNode.text().set(*shifted - 1);
        modified = true;
        pugi::xml_node anchor = child(data, "Anchor");
        if (!anchor)
            continue;
        std::vector<std::string> parts;
        std::string text = anchor.text().get();
        size_t start = 0;
        while (start <= text.size()) {
            const size_t comma = text.find(',', start);
            parts.push_back(
                text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        if (parts.size() != 8)
            continue;
        for (const size_t i : {size_t(2), size_t(6)}) {
            const int value = std::clamp(std::atoi(parts[i].c_str()) + delta, 0, kMaxRows - 1);
            const size_t lead = parts[i].find_first_not_of(' ');
            parts[i] =
                parts[i].substr(0, lead == std::string::npos ? 0 : lead) + std::to_string(value);
        }
        std::string joined;
        for (size_t i = 0; i < parts.size(); ++i)
            joined += (i ? "," : "") + parts[i];
        anchor.text().set(joined.c_str());
    }
    return modified;
}

TableShift shiftTable(pugi::xml_document& table, const std::string& hostSheet,
                      const std::string& changedSheet, const RowChange& change) {
    pugi::xml_node t = table.document_element();
    bool modified = false;
    if (sameSheetName(hostSheet, changedSheet)) {
        const auto ref = shiftRange(t.attribute("ref").value(), change);
        if (!ref)
            return TableShift::Deleted;
        setAttr(t, "ref", *ref, modified);
        if (pugi::xml_node filter = child(t, "autoFilter"))
            shiftRefAttr(filter, "ref", change, modified);
        if (pugi::xml_node sort = child(t, "sortState"))
            shiftRefAttr(sort, "ref", change, modified);
    }
    for (pugi::xml_node col : children(child(t, "tableColumns"), "tableColumn")) {
        for (const char* name : {"calculatedColumnFormula", "totalsRowFormula"}) {
            if (pugi::xml_node f = child(col, name); f && *f.text().get())
                setText(f, shiftFormula(f.text().get(), hostSheet, changedSheet, change), modified);
        }
    }
    return modified ? TableShift::Changed : TableShift::Unchanged;
}

} // namespace workbook::detail
