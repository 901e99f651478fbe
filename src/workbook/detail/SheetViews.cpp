// The worksheet's views and visibility: hidden rows and columns, the autoFilter, the selected
// tab, the selection and the panes.
#include "workbook/detail/SheetModel.h"

#include "workbook/CellRef.h"
#include "workbook/detail/WorkbookModel.h"

#include <cstring>

namespace workbook::detail {

void SheetModel::setRowsHidden(int firstRow, int lastRow, bool hidden) {
    ensureIndex();
    bool changed = false;
    if (hidden) {
        for (int r = firstRow; r <= lastRow; ++r) {
            makeRow(r).remove_attribute("hidden");
            makeRow(r).append_attribute("hidden").set_value("1");
        }
        changed = true;
    } else {
        for (int r = firstRow; r <= std::min(lastRow, lastRow_); ++r) {
            pugi::xml_node row = rows_[size_t(r)].node;
            if (row && row.attribute("hidden")) {
                row.remove_attribute("hidden");
                changed = true;
            }
        }
        pugi::xml_node format = root().child(tag("sheetFormatPr"));
        if (firstRow <= 1 && lastRow >= kMaxRows && format.attribute("zeroHeight").as_bool()) {
            format.remove_attribute("zeroHeight");
            changed = true;
        }
    }
    if (changed) {
        markModified();
    }
}

void SheetModel::setColumnsHidden(int firstColumn, int lastColumn, bool hidden) {
    ensureIndex();
    pugi::xml_node cols = root().child(tag("cols"));
    if (!cols && !hidden) {
        return;
    }
    if (!cols) {
        cols = childInOrder("cols");
    }
    bool changed = false;
    for (pugi::xml_node col = cols.child(tag("col")); col;) {
        pugi::xml_node next = col.next_sibling(tag("col"));
        const int min = col.attribute("min").as_int();
        const int max = col.attribute("max").as_int();
        if (max >= firstColumn && min <= lastColumn &&
            col.attribute("hidden").as_bool() != hidden) {
            // Split off the parts outside the range so that only the range changes.
            if (min < firstColumn) {
                pugi::xml_node left = cols.insert_copy_before(col, col);
                left.attribute("max").set_value(firstColumn - 1);
                col.attribute("min").set_value(firstColumn);
            }
            if (max > lastColumn) {
                pugi::xml_node right = cols.insert_copy_after(col, col);
                right.attribute("min").set_value(lastColumn + 1);
                col.attribute("max").set_value(lastColumn);
            }
            col.remove_attribute("hidden");
            if (hidden) {
                col.append_attribute("hidden").set_value("1");
            }
            changed = true;
        }
        col = next;
    }
    if (hidden) {
        pugi::xml_node col = cols.append_child(tag("col"));
        col.append_attribute("min").set_value(firstColumn);
        col.append_attribute("max").set_value(lastColumn);
        col.append_attribute("hidden").set_value("1");
        changed = true;
    }
    if (changed) {
        markModified();
    }
}

bool SheetModel::hasAutoFilter() {
    return bool(root().child(tag("autoFilter")));
}

void SheetModel::removeAutoFilter() {
    pugi::xml_node filter = root().child(tag("autoFilter"));
    if (!filter) {
        return;
    }
    // Rows the filter hid come back, as when the filter is switched off.
    const QString ref = QString::fromUtf8(filter.attribute("ref").value());
    const qsizetype colon = ref.indexOf(u':');
    const auto first = parseCellRef(colon < 0 ? ref : ref.left(colon));
    const auto last = parseCellRef(colon < 0 ? ref : ref.mid(colon + 1));
    if (filter.child(tag("filterColumn")) && first && last && last->row > first->row) {
        setRowsHidden(first->row + 1, last->row, false);
    }
    root().remove_child(filter);
    markModified();
}

pugi::xml_node SheetModel::sheetView(bool create) {
    pugi::xml_node views = root().child(tag("sheetViews"));
    if (!views && create) {
        views = childInOrder("sheetViews");
    }
    pugi::xml_node view = views.child(tag("sheetView"));
    if (!view && create) {
        view = views.append_child(tag("sheetView"));
        view.append_attribute("workbookViewId").set_value("0");
    }
    return view;
}

bool setSheetViewTabSelected(pugi::xml_document& doc, bool selected) {
    const pugi::xml_node sheet = doc.document_element();
    const PartNames names(sheet);
    pugi::xml_node view = sheet.child(names("sheetViews")).child(names("sheetView"));
    if (!view) {
        return false;
    }
    const bool now = view.attribute("tabSelected").as_bool();
    if (now == selected) {
        return false;
    }
    view.remove_attribute("tabSelected");
    if (selected) {
        view.prepend_attribute("tabSelected").set_value("1");
    }
    return true;
}

void SheetModel::setTabSelected(bool selected) {
    const bool created = selected && !sheetView(false);
    if (selected) {
        sheetView(true);
    }
    if (setSheetViewTabSelected(doc(), selected) || created) {
        markModified();
    }
}

void SheetModel::select(const QString& sqref, const QString& activeCell) {
    pugi::xml_node view = sheetView(true);
    pugi::xml_node pane = view.child(tag("pane"));
    std::string paneName;
    if (pane) {
        paneName = pane.attribute("activePane") ? pane.attribute("activePane").value() : "topLeft";
    }
    pugi::xml_node selection;
    for (pugi::xml_node candidate : view.children(tag("selection"))) {
        if (paneName == candidate.attribute("pane").value() ||
            (paneName == "topLeft" && !candidate.attribute("pane"))) {
            selection = candidate;
            break;
        }
    }
    if (!selection) {
        pugi::xml_node after = pane;
        for (pugi::xml_node candidate : view.children(tag("selection"))) {
            after = candidate;
        }
        selection = after ? view.insert_child_after(tag("selection"), after)
                          : view.prepend_child(tag("selection"));
        if (!paneName.empty() && paneName != "topLeft") {
            selection.append_attribute("pane").set_value(paneName.c_str());
        }
    }
    selection.remove_attribute("activeCell");
    selection.remove_attribute("activeCellId");
    selection.remove_attribute("sqref");
    selection.append_attribute("activeCell").set_value(activeCell.toUtf8().constData());
    selection.append_attribute("sqref").set_value(sqref.toUtf8().constData());
    markModified();
}

bool SheetModel::frozenPanes() {
    const std::string state = sheetView(false).child(tag("pane")).attribute("state").value();
    return state == "frozen" || state == "frozenSplit";
}

bool SheetModel::splitPanes() {
    pugi::xml_node pane = sheetView(false).child(tag("pane"));
    return pane &&
           (pane.attribute("xSplit").as_double() > 0 || pane.attribute("ySplit").as_double() > 0);
}

void SheetModel::removePanes() {
    pugi::xml_node view = sheetView(false);
    pugi::xml_node pane = view.child(tag("pane"));
    if (!pane) {
        return;
    }
    const std::string active =
        pane.attribute("activePane") ? pane.attribute("activePane").value() : "topLeft";
    view.remove_child(pane);
    pugi::xml_node kept;
    for (pugi::xml_node selection = view.child(tag("selection")); selection;) {
        pugi::xml_node next = selection.next_sibling(tag("selection"));
        const std::string name =
            selection.attribute("pane") ? selection.attribute("pane").value() : "topLeft";
        if (!kept && name == active) {
            selection.remove_attribute("pane");
            kept = selection;
        } else {
            view.remove_child(selection);
        }
        selection = next;
    }
    markModified();
}

} // namespace workbook::detail
