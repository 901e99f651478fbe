#include "workbook/detail/RowOps.h"

#include "workbook/Error.h"
#include "workbook/NumberFormat.h"
#include "workbook/detail/ChartCache.h"
#include "workbook/detail/RowShift.h"
#include "workbook/detail/WorkbookModel.h"
#include "workbook/detail/XmlEdit.h"

#include <cstring>

namespace workbook::detail {

namespace {

const char* const kChartType = "application/vnd.openxmlformats-officedocument.drawingml.chart+xml";

bool relationIs(const Relationship& rel, const char* kind) {
    const size_t n = std::strlen(kind);
    return !rel.external && rel.type.size() > n &&
           rel.type.compare(rel.type.size() - n - 1, n + 1, std::string("/") + kind) == 0;
}

std::vector<std::string> chartParts(Package& package) {
    std::vector<std::string> charts;
    for (const std::string& part : package.partNames()) {
        if (package.contentType(part) == kChartType)
            charts.push_back(part);
    }
    return charts;
}

// Removes a table wholly inside deleted rows: its part, its relationship and its tablePart.
void removeTable(Package& package, pugi::xml_document& sheet, const std::string& sheetPart,
                 const Relationship& rel) {
    pugi::xml_node parts = child(sheet.document_element(), "tableParts");
    for (pugi::xml_node t : children(parts, "tablePart")) {
        if (rel.id == relationshipAttribute(t, "id").value()) {
            parts.remove_child(t);
            break;
        }
    }
    if (parts && parts.attribute("count"))
        parts.attribute("count").set_value(int(children(parts, "tablePart").size()));
    if (parts && !child(parts, "tablePart"))
        sheet.document_element().remove_child(parts);
    package.removeRelationshipTo(sheetPart, rel.target);
    package.removeContentTypeOverride(rel.target);
    package.remove(rel.target);
}

// Cells of the workbook as the chart caches read them.
class ModelCells : public ChartCellSource {
public:
    explicit ModelCells(WorkbookModel& workbook) : workbook_(workbook) {}

    bool hasSheet(const std::string& sheet) const override { return index(sheet).has_value(); }
    int lastRow(const std::string& sheet) const override { return used(sheet).lastRow; }
    int lastColumn(const std::string& sheet) const override { return used(sheet).lastColumn; }

    ChartCell cell(const std::string& sheet, int row, int column) const override {
        return read(sheet, row, column, true);
    }
    ChartCell value(const std::string& sheet, int row, int column) const override {
        return read(sheet, row, column, false);
    }
    void walkingDown(const std::string& sheet, int row, int column) const override {
        if (const auto i = index(sheet))
            workbook_.sheet(*i).prefetchDownColumn(row, column);
    }

private:
    ChartCell read(const std::string& sheet, int row, int column, bool withText) const {
        const auto i = index(sheet);
        if (!i)
            return {};
        SheetModel& model = workbook_.sheet(*i);
        const CellValue value = model.value(row, column);
        ChartCell out;
        switch (value.kind()) {
        case CellValue::Kind::Empty:
            return out;
        case CellValue::Kind::Number:
        case CellValue::Kind::Date:
            out.kind = ChartCell::Kind::Number;
            break;
        case CellValue::Kind::Text:
            out.kind = ChartCell::Kind::Text;
            break;
        case CellValue::Kind::Boolean:
            out.kind = ChartCell::Kind::Boolean;
            break;
        case CellValue::Kind::Error:
            out.kind = ChartCell::Kind::Error;
            break;
        }
        out.number = value.toNumber();
        if (!withText)
            return out;
        const QString code = workbook_.styles().formatCode(model.styleOf(row, column));
        out.text = formatCellText(value, code, workbook_.date1904()).toStdString();
        return out;
    }

    // The sheet a name finds, remembered: a cache reads thousands of cells of one sheet.
    std::optional<int> index(const std::string& sheet) const {
        if (!lastName_ || *lastName_ != sheet) {
            lastIndex_ = workbook_.findSheet(QString::fromStdString(sheet));
            lastName_ = sheet;
        }
        return lastIndex_;
    }
    CellRect used(const std::string& sheet) const {
        const auto i = index(sheet);
        return i ? workbook_.sheet(*i).usedRange() : CellRect{};
    }

    WorkbookModel& workbook_;
    mutable std::optional<std::string> lastName_;
    mutable std::optional<int> lastIndex_;
};

} // namespace

void changeRows(WorkbookModel& workbook, int worksheet, const RowChange& change) {
    workbook.ensureOpen();
    if (change.at < 1 || change.count < 1 || change.at > kMaxRows - change.count + 1)
        throw Error(kRejectedReference, {});
    Package& package = workbook.package();
    const std::string changed = workbook.sheetName(worksheet).toStdString();
    checkRowInsertion(workbook.sheet(worksheet).doc(), change);

    for (int i = 0; i < workbook.worksheetCount(); ++i) {
        SheetModel& sheet = workbook.sheet(i);
        const std::string host = workbook.sheetName(i).toStdString();
        const bool own = i == worksheet;
        pugi::xml_document& doc = sheet.doc();
        bool modified = shiftWorksheet(doc, host, changed, change);
        for (const Relationship& rel : package.relationships(sheet.part())) {
            if (!package.has(rel.target))
                continue;
            bool partModified = false;
            if (relationIs(rel, "table")) {
                const TableShift result =
                    shiftTable(package.xml(rel.target), host, changed, change);
                if (result == TableShift::Deleted) {
                    removeTable(package, doc, sheet.part(), rel);
                    modified = true;
                    continue;
                }
                partModified = result == TableShift::Changed;
            } else if (own && relationIs(rel, "drawing")) {
                partModified = shiftDrawingAnchors(package.xml(rel.target), change);
            } else if (own && relationIs(rel, "comments")) {
                partModified = shiftComments(package.xml(rel.target), change);
            } else if (own && relationIs(rel, "vmlDrawing")) {
                try {
                    partModified = shiftVmlAnchors(package.xml(rel.target), change);
                } catch (const Error&) {
                    // Legacy drawings that are not well-formed XML keep their boxes where they
                    // were.
                }
            }
            if (partModified)
                package.markModified(rel.target);
        }
        if (modified) {
            sheet.markModified();
            sheet.invalidateIndex();
        }
    }
    if (shiftDefinedNames(package.xml(workbook.workbookPart()), changed, change))
        package.markModified(workbook.workbookPart());
    for (const std::string& chart : chartParts(package)) {
        if (shiftChartReferences(package.xml(chart), changed, change))
            package.markModified(chart);
    }
}

std::vector<std::pair<int, int>> chartRowSpans(WorkbookModel& workbook, int worksheet) {
    workbook.ensureOpen();
    Package& package = workbook.package();
    const std::string name = workbook.sheetName(worksheet).toStdString();
    std::vector<std::pair<int, int>> spans;
    const auto collect = [&](const Reference& ref) -> std::optional<std::string> {
        const bool rows = ref.kind == Reference::Kind::Cell || ref.kind == Reference::Kind::Area ||
                          ref.kind == Reference::Kind::Rows;
        if (rows && !ref.foreign && ref.qualified && sameSheetName(ref.sheet, name))
            spans.emplace_back(ref.firstRow, ref.lastRow);
        return std::nullopt;
    };
    for (const std::string& chart : chartParts(package)) {
        for (const pugi::xpath_node& f : package.xml(chart).select_nodes("//*[local-name()='f']")) {
            rewriteReferences(f.node().text().get(), collect);
        }
    }
    return spans;
}

void refreshAllChartCaches(WorkbookModel& workbook,
                           const std::function<void(const std::string&)>& changed) {
    workbook.ensureOpen();
    Package& package = workbook.package();
    const ModelCells cells(workbook);
    KnownPoints known;
    for (const std::string& chart : chartParts(package)) {
        if (refreshChartCaches(package.xml(chart), cells, &package.points(chart), &known)) {
            package.markModified(chart);
            if (changed)
                changed(chart);
        }
    }
}

} // namespace workbook::detail
