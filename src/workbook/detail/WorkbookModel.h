#pragma once

#include "workbook/Error.h"
#include "workbook/Workbook.h"
#include "workbook/detail/Package.h"
#include "workbook/detail/SheetModel.h"
#include "workbook/detail/Styles.h"
#include "workbook/detail/XmlText.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace workbook::detail {

class WorkbookModel;

// The application's open workbooks and which of them is active.
struct ApplicationState {
    std::vector<std::shared_ptr<WorkbookModel>> workbooks;
    std::weak_ptr<WorkbookModel> active;
};

// An open workbook: its package, the workbook part, styles, shared strings and sheets.
class WorkbookModel {
public:
    WorkbookModel(std::unique_ptr<Package> package, const QString& path);

    // Raises when the workbook was closed.
    void ensureOpen() const;
    bool isOpen() const { return package_ != nullptr; }
    const QString& fullName() const { return fullName_; }

    Package& package() { return *package_; }
    const Package& package() const { return *package_; }
    Styles& styles() { return *styles_; }
    const SharedStrings& sharedStrings();
    bool date1904() const { return date1904_; }
    const std::string& workbookPart() const { return workbookPart_; }

    int worksheetCount() const { return int(worksheets_.size()); }
    SheetModel& sheet(int index);
    QString sheetName(int index) const;
    bool sheetVisible(int index) const;
    // Index (0-based among worksheets) of a worksheet named so, ignoring the case of a..z.
    std::optional<int> findSheet(const QString& name) const;
    // The worksheet on the active tab, or -1 when a chart sheet is active.
    int activeWorksheet() const;
    void activate(int index);

    // The failure of reading a part that is missing or cannot be understood: "The part P of F
    // <fault>."
    Error unreadablePart(const std::string& part, const QString& fault) const;

    void saveAs(const QString& path, FileFormat format);
    void close();

    ApplicationState* application = nullptr;

private:
    struct SheetEntry {
        QString name;
        std::string part;
        bool worksheet = false;
        bool visible = true;
        std::unique_ptr<SheetModel> model;
    };
    void load();
    void dropCalcChain();
    void setFullCalcOnLoad();
    void makePlainWorkbook();
    pugi::xml_node workbookView(bool create);

    std::unique_ptr<Package> package_;
    QString fullName_;
    std::string workbookPart_;
    std::unique_ptr<Styles> styles_;
    std::unique_ptr<SharedStrings> sharedStrings_;
    std::string sharedStringsPart_;
    bool date1904_ = false;
    std::vector<SheetEntry> sheets_;
    std::vector<int> worksheets_;
};

} // namespace workbook::detail
