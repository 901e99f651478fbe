#include "workbook/detail/RowShift.h"

#include "workbook/detail/RowShiftInternal.h"
#include "workbook/detail/XmlEdit.h"

#include <algorithm>
#include <vector>

namespace workbook::detail {

using namespace rowshift;

namespace {

void shiftOwnSheetElements(pugi::xml_node ws, const RowChange& ch, bool& modified) {
    if (pugi::xml_node dim = child(ws, "dimension")) {
        const auto ref = shiftRange(dim.attribute("ref").value(), ch);
        setAttr(dim, "ref", ref ? *ref : std::string("A1"), modified);
    }
    for (pugi::xml_node view : children(child(ws, "sheetViews"), "sheetView")) {
        if (pugi::xml_node pane = child(view, "pane"); pane && pane.attribute("topLeftCell")) {
            if (const auto ref = shiftRange(pane.attribute("topLeftCell").value(), ch))
                setAttr(pane, "topLeftCell", *ref, modified);
        }
        for (pugi::xml_node sel : children(view, "selection")) {
            // A selection whose cells are deleted moves to the first row after the block.
            const std::string fallback = "A" + std::to_string(ch.at);
            if (sel.attribute("activeCell")) {
                const auto ref = shiftRange(sel.attribute("activeCell").value(), ch);
                setAttr(sel, "activeCell", ref ? *ref : fallback, modified);
            }
            if (sel.attribute("sqref")) {
                const std::string list = shiftRangeList(sel.attribute("sqref").value(), ch);
                setAttr(sel, "sqref", list.empty() ? fallback : list, modified);
            }
        }
    }
    if (pugi::xml_node merges = child(ws, "mergeCells")) {
        for (pugi::xml_node m : children(merges, "mergeCell")) {
            const auto ref = shiftRange(m.attribute("ref").value(), ch);
            if (!ref || ref->find(':') == std::string::npos) {
                merges.remove_child(m);
                modified = true;
            } else {
                setAttr(m, "ref", *ref, modified);
            }
        }
        updateCount(merges, "mergeCell", modified);
        if (!child(merges, "mergeCell"))
            ws.remove_child(merges);
    }
    if (pugi::xml_node links = child(ws, "hyperlinks")) {
        for (pugi::xml_node h : children(links, "hyperlink"))
            shiftRefAttr(h, "ref", ch, modified);
        if (!child(links, "hyperlink"))
            ws.remove_child(links);
    }
    if (pugi::xml_node filter = child(ws, "autoFilter")) {
        for (pugi::xml_node sort : children(filter, "sortState")) {
            for (pugi::xml_node cond : children(sort, "sortCondition"))
                shiftRefAttr(cond, "ref", ch, modified);
            shiftRefAttr(sort, "ref", ch, modified);
        }
        shiftRefAttr(filter, "ref", ch, modified);
    }
    if (pugi::xml_node sort = child(ws, "sortState")) {
        for (pugi::xml_node cond : children(sort, "sortCondition"))
            shiftRefAttr(cond, "ref", ch, modified);
        shiftRefAttr(sort, "ref", ch, modified);
    }
    if (pugi::xml_node breaks = child(ws, "rowBreaks")) {
        for (pugi::xml_node brk : children(breaks, "brk")) {
            if (const auto id = shiftRow(brk.attribute("id").as_int(), ch)) {
                setAttr(brk, "id", *id, modified);
            } else {
                breaks.remove_child(brk);
                modified = true;
            }
        }
        updateCount(breaks, "brk", modified);
        if (breaks.attribute("manualBreakCount"))
            setAttr(breaks, "manualBreakCount", int(children(breaks, "brk").size()), modified);
    }
    for (const char* listName : {"ignoredErrors", "protectedRanges"}) {
        if (pugi::xml_node list = child(ws, listName)) {
            for (pugi::xml_node item : list.children())
                shiftListAttr(item, "sqref", ch, modified);
            if (!list.first_child())
                ws.remove_child(list);
        }
    }
}

// The first row of the first range of a list: the anchor of a rule's relative references.
int anchorRow(const char* sqref) {
    std::string_view list(sqref);
    while (!list.empty() && list.front() == ' ')
        list.remove_prefix(1);
    const auto r = parseReference(list.substr(0, list.find(' ')));
    return r && r->kind != Reference::Kind::Columns ? std::min(r->firstRow, r->lastRow) : 1;
}

// A conditional format or validation: its range (on the changed sheet) and its formulas, whose
// relative references move with the range's first cell. Returns false when it was removed.
bool shiftRule(pugi::xml_node owner, pugi::xml_node sqrefNode, bool own, const std::string& host,
               const std::string& changed, const RowChange& ch,
               const std::vector<pugi::xml_node>& formulas, bool& modified) {
    int delta = 0;
    if (own) {
        const bool inAttribute = sqrefNode == owner;
        const char* oldList =
            inAttribute ? owner.attribute("sqref").value() : sqrefNode.text().get();
        const int oldAnchor = anchorRow(oldList);
        const std::string shifted = shiftRangeList(oldList, ch);
        if (shifted.empty()) {
            owner.parent().remove_child(owner);
            modified = true;
            return false;
        }
        delta = anchorRow(shifted.c_str()) - oldAnchor;
        if (inAttribute)
            setAttr(owner, "sqref", shifted, modified);
        else
            setText(sqrefNode, shifted, modified);
    }
    for (pugi::xml_node f : formulas) {
        if (const char* text = f.text().get(); *text)
            setText(f, shiftAnchoredFormula(text, host, changed, ch, delta), modified);
    }
    return true;
}

void shiftRules(pugi::xml_node ws, bool own, const std::string& host, const std::string& changed,
                const RowChange& ch, bool& modified) {
    for (pugi::xml_node cf : children(ws, "conditionalFormatting")) {
        std::vector<pugi::xml_node> formulas;
        for (pugi::xml_node rule : children(cf, "cfRule")) {
            for (pugi::xml_node f : children(rule, "formula"))
                formulas.push_back(f);
        }
        shiftRule(cf, cf, own, host, changed, ch, formulas, modified);
    }
    if (pugi::xml_node dvs = child(ws, "dataValidations")) {
        for (pugi::xml_node dv : children(dvs, "dataValidation")) {
            std::vector<pugi::xml_node> formulas;
            for (const char* name : {"formula1", "formula2"}) {
                if (pugi::xml_node f = child(dv, name))
                    formulas.push_back(f);
            }
            shiftRule(dv, dv, own, host, changed, ch, formulas, modified);
        }
        updateCount(dvs, "dataValidation", modified);
        if (!child(dvs, "dataValidation")) {
            ws.remove_child(dvs);
            modified = true;
        }
    }
}

void collectFormulas(pugi::xml_node node, std::vector<pugi::xml_node>& out) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element)
            continue;
        if (isNamed(c, "f"))
            out.push_back(c);
        else
            collectFormulas(c, out);
    }
}

// Hyperlink locations.
void shiftSheetFormulas(pugi::xml_node ws, const std::string& host, const std::string& changed,
                        const RowChange& ch, bool& modified) {
    for (pugi::xml_node h : children(child(ws, "hyperlinks"), "hyperlink")) {
        if (pugi::xml_attribute loc = h.attribute("location"))
            setAttr(h, "location", shiftFormula(loc.value(), host, changed, ch), modified);
    }
}

// Extension lists: newer conditional formats and validations (an xm:sqref range with xm:f
// formulas relative to its first cell), sparklines (xm:f data, xm:sqref location) and other
// formulas. Returns after removing `node` itself.
void shiftExtensions(pugi::xml_node node, bool own, const std::string& host,
                     const std::string& changed, const RowChange& ch, bool& modified) {
    for (pugi::xml_node c = node.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (c.type() == pugi::node_element) {
            if (isNamed(c, "f")) {
                if (const char* text = c.text().get(); *text)
                    setText(c, shiftFormula(text, host, changed, ch), modified);
            } else if (pugi::xml_node sqref = child(c, "sqref");
                       sqref &&
                       (isNamed(c, "conditionalFormatting") || isNamed(c, "dataValidation"))) {
                std::vector<pugi::xml_node> formulas;
                collectFormulas(c, formulas);
                shiftRule(c, sqref, own, host, changed, ch, formulas, modified);
            } else if (own && isNamed(c, "sqref")) {
                // The cells of something else (a sparkline): it goes when they are deleted.
                const std::string shifted = shiftRangeList(c.text().get(), ch);
                if (shifted.empty()) {
                    node.parent().remove_child(node);
                    modified = true;
                    return;
                }
                setText(c, shifted, modified);
            } else {
                shiftExtensions(c, own, host, changed, ch, modified);
            }
        }
        c = next;
    }
}

} // namespace

bool shiftWorksheet(pugi::xml_document& worksheet, const std::string& hostSheet,
                    const std::string& changedSheet, const RowChange& change) {
    const bool own = sameSheetName(hostSheet, changedSheet);
    if (own)
        checkRowInsertion(worksheet, change);
    pugi::xml_node ws = worksheet.document_element();
    bool modified = false;
    if (pugi::xml_node sheetData = child(ws, "sheetData")) {
        modified = expandSharedFormulas(sheetData, own, changedSheet) || modified;
        modified = shiftSheetData(sheetData, own, hostSheet, changedSheet, change) || modified;
    }
    shiftRules(ws, own, hostSheet, changedSheet, change, modified);
    shiftSheetFormulas(ws, hostSheet, changedSheet, change, modified);
    if (own)
        shiftOwnSheetElements(ws, change, modified);
    if (pugi::xml_node ext = child(ws, "extLst"))
        shiftExtensions(ext, own, hostSheet, changedSheet, change, modified);
    return modified;
}

} // namespace workbook::detail
