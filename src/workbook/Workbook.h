#pragma once

#include "workbook/Worksheet.h"

#include <QString>
#include <memory>

namespace workbook {

namespace detail {
class WorkbookModel;
}

// SaveAs file formats.
enum class FileFormat { Xlsx = 51, Xlsm = 52, Xls = 56 };

// The worksheets of a workbook in tab order, hidden ones included.
class Worksheets {
public:
    explicit Worksheets(std::shared_ptr<detail::WorkbookModel> model) : model_(std::move(model)) {}
    int count() const;
    // 1-based; outside 1..count raises "subscript out of range".
    Worksheet item(int index) const;
    // By name, ignoring the case of a..z; a missing name raises "subscript out of range".
    Worksheet item(const QString& name) const;
    // The 1-based index of a worksheet of that name (ignoring the case of a..z), 0 when none.
    int indexOf(const QString& name) const;

private:
    std::shared_ptr<detail::WorkbookModel> model_;
};

// An open workbook.
class Workbook {
public:
    explicit Workbook(std::shared_ptr<detail::WorkbookModel> model);

    QString fullName() const;
    bool isOpen() const;
    // Makes this the application's active workbook.
    void activate() const;
    Worksheets worksheets() const { return Worksheets(model_); }
    Worksheet activeSheet() const;

    // Writes the workbook to `path` through a temporary file and a rename; from then on the
    // workbook is the new file. Xls goes through the .xls conversion.
    void saveAs(const QString& path, FileFormat format = FileFormat::Xlsx) const;
    // Drops the workbook; changes are never saved.
    void close() const;

    std::shared_ptr<detail::WorkbookModel> model() const { return model_; }

private:
    std::shared_ptr<detail::WorkbookModel> model_;
};

} // namespace workbook
