#include "workbook/detail/WorkbookModel.h"
#include "workbook/detail/RowOps.h"

#include "workbook/Error.h"
#include "workbook/detail/Hooks.h"
#include "workbook/detail/XmlEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>

namespace workbook::detail {

namespace {

const char* const kXlsxMain =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
const char* const kXlsmMain = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
const char* const kXltxMain =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
const char* const kXltmMain = "application/vnd.ms-excel.template.macroEnabled.main+xml";

bool endsWith(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

QString asciiUpper(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z') {
            c = QChar(c.unicode() - 32);
        }
    }
    return upper;
}

} // namespace

WorkbookModel::WorkbookModel(std::unique_ptr<Package> package, const QString& path)
    : package_(std::move(package)), fullName_(path) {
    load();
}

void WorkbookModel::load() {
    const QString file = QFileInfo(fullName_).fileName();
    if (!package_->has("[Content_Types].xml")) {
        throw Error(
            kRejectedReference,
            QStringLiteral("The file %1 is a zip archive but not an Excel workbook.").arg(file));
    }
    for (const Relationship& rel : package_->relationships("")) {
        if (endsWith(rel.type, "/officeDocument") && !rel.external) {
            workbookPart_ = rel.target;
        }
    }
    const std::string type =
        workbookPart_.empty() ? std::string() : package_->contentType(workbookPart_);
    if (workbookPart_.empty() || !package_->has(workbookPart_) ||
        (type != kXlsxMain && type != kXlsmMain && type != kXltxMain && type != kXltmMain)) {
        throw Error(kRejectedReference,
                    QStringLiteral("The file %1 is not an Excel workbook (.xlsx or "
                                   ".xlsm): its package holds no workbook part.")
                        .arg(file));
    }
    pugi::xml_node workbook = package_->xml(workbookPart_).document_element();
    const PartNames names(workbook);
    const pugi::xml_attribute date1904 = workbook.child(names("workbookPr")).attribute("date1904");
    date1904_ = date1904.as_bool();

    std::string stylesPart;
    const std::vector<Relationship> rels = package_->relationships(workbookPart_);
    for (const Relationship& rel : rels) {
        if (endsWith(rel.type, "/styles")) {
            stylesPart = rel.target;
        } else if (endsWith(rel.type, "/sharedStrings")) {
            sharedStringsPart_ = rel.target;
            // A part missing from the package is refused only when a cell needs a shared string
            // (sharedStrings()): a workbook whose cells need none opens without it.
            if (rel.external) {
                throw unreadablePart(rel.target, QStringLiteral("is missing"));
            }
        }
    }
    styles_ = std::make_unique<Styles>(*package_, stylesPart);

    for (pugi::xml_node sheet : workbook.child(names("sheets")).children(names("sheet"))) {
        SheetEntry entry;
        entry.name = QString::fromUtf8(sheet.attribute("name").value());
        const std::string state = sheet.attribute("state").value();
        entry.visible = state != "hidden" && state != "veryHidden";
        const char* id = relationshipAttribute(sheet, "id").value();
        const Relationship* found = nullptr;
        for (const Relationship& rel : rels) {
            if (rel.id == id) {
                found = &rel;
            }
        }
        if (found == nullptr || found->external) {
            throw unreadablePart(workbookPart_,
                                 QStringLiteral("names no part for the sheet %1").arg(entry.name));
        }
        entry.part = found->target;
        entry.worksheet = endsWith(found->type, "/worksheet");
        if (entry.worksheet && !package_->has(entry.part)) {
            throw unreadablePart(entry.part, QStringLiteral("is missing"));
        }
        if (entry.worksheet) {
            worksheets_.push_back(int(sheets_.size()));
            entry.model = std::make_unique<SheetModel>(*this, entry.part);
        }
        sheets_.push_back(std::move(entry));
    }
    if (sheets_.empty()) {
        throw unreadablePart(workbookPart_, QStringLiteral("lists no sheets"));
    }
}

Error WorkbookModel::unreadablePart(const std::string& part, const QString& fault) const {
    return Error(kRejectedReference,
                 QStringLiteral("The part %1 of %2 %3.")
                     .arg(QString::fromStdString(part), QFileInfo(fullName_).fileName(), fault));
}

void WorkbookModel::ensureOpen() const {
    if (!package_) {
        throw Error(kGenericFailure, QStringLiteral("The workbook %1 has been closed.")
                                         .arg(QFileInfo(fullName_).fileName()));
    }
}

const SharedStrings& WorkbookModel::sharedStrings() {
    if (!sharedStrings_) {
        if (sharedStringsPart_.empty()) {
            sharedStrings_ = std::make_unique<SharedStrings>();
        } else {
            if (!package_->has(sharedStringsPart_)) {
                throw unreadablePart(sharedStringsPart_, QStringLiteral("is missing"));
            }
            const pugi::xml_node sst = package_->xml(sharedStringsPart_).document_element();
            if (std::strcmp(localName(sst), "sst") != 0) {
                throw unreadablePart(sharedStringsPart_,
                                     QStringLiteral("does not hold shared strings"));
            }
            sharedStrings_ = std::make_unique<SharedStrings>(sst);
        }
    }
    return *sharedStrings_;
}

SheetModel& WorkbookModel::sheet(int index) {
    ensureOpen();
    return *sheets_[size_t(worksheets_.at(size_t(index)))].model;
}

QString WorkbookModel::sheetName(int index) const {
    return sheets_[size_t(worksheets_.at(size_t(index)))].name;
}

bool WorkbookModel::sheetVisible(int index) const {
    return sheets_[size_t(worksheets_.at(size_t(index)))].visible;
}

std::optional<int> WorkbookModel::findSheet(const QString& name) const {
    const QString wanted = asciiUpper(name);
    for (size_t i = 0; i < worksheets_.size(); ++i) {
        if (asciiUpper(sheets_[size_t(worksheets_[i])].name) == wanted) {
            return int(i);
        }
    }
    return std::nullopt;
}

pugi::xml_node WorkbookModel::workbookView(bool create) {
    pugi::xml_node workbook = package_->xml(workbookPart_).document_element();
    const PartNames names(workbook);
    pugi::xml_node views = workbook.child(names("bookViews"));
    if (!views && create) {
        pugi::xml_node sheets = workbook.child(names("sheets"));
        views = sheets ? workbook.insert_child_before(names("bookViews"), sheets)
                       : workbook.append_child(names("bookViews"));
    }
    pugi::xml_node view = views.child(names("workbookView"));
    if (!view && create) {
        view = views.append_child(names("workbookView"));
    }
    return view;
}

int WorkbookModel::activeWorksheet() const {
    ensureOpen();
    const int tab =
        const_cast<WorkbookModel*>(this)->workbookView(false).attribute("activeTab").as_int();
    for (size_t i = 0; i < worksheets_.size(); ++i) {
        if (worksheets_[i] == tab) {
            return int(i);
        }
    }
    return -1;
}

void WorkbookModel::activate(int index) {
    ensureOpen();
    const int tab = worksheets_.at(size_t(index));
    if (!sheets_[size_t(tab)].visible) {
        throw Error(kRejectedReference,
                    QStringLiteral("The worksheet %1 is hidden and cannot be activated.")
                        .arg(sheets_[size_t(tab)].name));
    }
    pugi::xml_node view = workbookView(true);
    if (view.attribute("activeTab").as_int() != tab || !view.attribute("activeTab")) {
        view.remove_attribute("activeTab");
        view.append_attribute("activeTab").set_value(tab);
        package_->markModified(workbookPart_);
    }
    if (view.attribute("firstSheet").as_int() > tab) {
        view.attribute("firstSheet").set_value(tab);
        package_->markModified(workbookPart_);
    }
    for (size_t i = 0; i < sheets_.size(); ++i) {
        SheetEntry& entry = sheets_[i];
        if (entry.part.empty() || !package_->has(entry.part)) {
            continue;
        }
        if (int(i) == tab) {
            entry.model->setTabSelected(true);
            continue;
        }
        // Only sheets that are selected now need their part changed.
        if (!package_->isParsed(entry.part) &&
            package_->bytes(entry.part).find("tabSelected=\"") == std::string::npos) {
            continue;
        }
        if (entry.model) {
            entry.model->setTabSelected(false);
        } else if (setSheetViewTabSelected(package_->xml(entry.part), false)) {
            package_->markModified(entry.part);
        }
    }
}

void WorkbookModel::dropCalcChain() {
    for (const Relationship& rel : package_->relationships(workbookPart_)) {
        if (endsWith(rel.type, "/calcChain")) {
            package_->remove(rel.target);
            package_->removeRelationshipTo(workbookPart_, rel.target);
            package_->removeContentTypeOverride(rel.target);
        }
    }
}

void WorkbookModel::setFullCalcOnLoad() {
    pugi::xml_node workbook = package_->xml(workbookPart_).document_element();
    const PartNames names(workbook);
    pugi::xml_node calcPr = workbook.child(names("calcPr"));
    if (!calcPr) {
        static const char* const later[] = {
            "oleSize",        "customWorkbookViews", "pivotCaches",
            "smartTagPr",     "smartTagTypes",       "webPublishing",
            "fileRecoveryPr", "webPublishObjects",   "extLst"};
        pugi::xml_node before;
        for (const char* name : later) {
            if ((before = workbook.child(names(name)))) {
                break;
            }
        }
        calcPr = before ? workbook.insert_child_before(names("calcPr"), before)
                        : workbook.append_child(names("calcPr"));
    }
    if (!calcPr.attribute("fullCalcOnLoad").as_bool()) {
        calcPr.remove_attribute("fullCalcOnLoad");
        calcPr.append_attribute("fullCalcOnLoad").set_value("1");
        package_->markModified(workbookPart_);
    }
}

// A macro-enabled or template package saved as .xlsx becomes a plain workbook: the spreadsheet
// application refuses an .xlsx whose main part says otherwise.
void WorkbookModel::makePlainWorkbook() {
    if (package_->contentType(workbookPart_) == kXlsxMain) {
        return;
    }
    package_->setContentTypeOverride(workbookPart_, kXlsxMain);
    for (const Relationship& rel : package_->relationships(workbookPart_)) {
        if (endsWith(rel.type, "/vbaProject")) {
            const std::string rels = Package::relsPartOf(rel.target);
            if (package_->has(rels)) {
                for (const Relationship& inner : package_->relationships(rel.target)) {
                    if (!inner.external && package_->has(inner.target)) {
                        package_->remove(inner.target);
                        package_->removeContentTypeOverride(inner.target);
                    }
                }
                package_->remove(rels);
            }
            package_->remove(rel.target);
            package_->removeRelationshipTo(workbookPart_, rel.target);
            package_->removeContentTypeOverride(rel.target);
        }
    }
}

void WorkbookModel::saveAs(const QString& path, FileFormat format) {
    ensureOpen();
    bool formulas = false;
    std::vector<std::string> finished;
    for (SheetEntry& entry : sheets_) {
        if (entry.model) {
            entry.model->prepareSave();
            formulas = formulas || entry.model->hasFormulas();
            finished.push_back(entry.part);
        }
    }
    // The worksheets' text is final: they are deflated while the charts are refreshed, each
    // chart as soon as it is (and the deflating stops should anything fail before the package
    // is written).
    package_->deflateAhead(finished);
    struct StopDeflating {
        Package& package;
        ~StopDeflating() { package.stopDeflating(); }
    } stopDeflating{*package_};
    refreshAllChartCaches(*this,
                          [this](const std::string& chart) { package_->deflateAhead({chart}); });
    dropCalcChain();
    if (formulas) {
        setFullCalcOnLoad();
    }
    if (format == FileFormat::Xlsx || format == FileFormat::Xls) {
        makePlainWorkbook();
    }
    if (format == FileFormat::Xls) {
        QTemporaryDir folder;
        if (!folder.isValid()) {
            throw Error(
                kRejectedReference,
                QStringLiteral("Unable to create a temporary folder to save %1.").arg(path));
        }
        const QString intermediate =
            folder.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".xlsx"));
        package_->writeTo(intermediate);
        convertXlsxToXls(intermediate, path);
    } else {
        package_->writeTo(path);
    }
    fullName_ = path;
}

void WorkbookModel::close() {
    sheets_.clear();
    worksheets_.clear();
    styles_.reset();
    sharedStrings_.reset();
    package_.reset();
}

} // namespace workbook::detail
