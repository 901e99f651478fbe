#include "workbook/Workbook.h"

#include "workbook/Error.h"
#include "workbook/detail/WorkbookModel.h"

#include <algorithm>

namespace workbook {

int Worksheets::count() const {
    model_->ensureOpen();
    return model_->worksheetCount();
}

Worksheet Worksheets::item(int index) const {
    if (index < 1 || index > count()) {
        throw Error(kSubscriptOutOfRange, QStringLiteral("Subscript out of range."));
    }
    return Worksheet(model_, index - 1);
}

Worksheet Worksheets::item(const QString& name) const {
    const int index = indexOf(name);
    if (index == 0) {
        throw Error(kSubscriptOutOfRange,
                    QStringLiteral("Subscript out of range: there is no worksheet %1.").arg(name));
    }
    return Worksheet(model_, index - 1);
}

int Worksheets::indexOf(const QString& name) const {
    model_->ensureOpen();
    const std::optional<int> index = model_->findSheet(name);
    return index ? *index + 1 : 0;
}

Workbook::Workbook(std::shared_ptr<detail::WorkbookModel> model) : model_(std::move(model)) {}

QString Workbook::fullName() const {
    return model_->fullName();
}

bool Workbook::isOpen() const {
    return model_->isOpen();
}

void Workbook::activate() const {
    model_->ensureOpen();
    if (model_->application != nullptr) {
        model_->application->active = model_;
    }
}

Worksheet Workbook::activeSheet() const {
    model_->ensureOpen();
    const int index = model_->activeWorksheet();
    if (index < 0) {
        throw Error(kGenericFailure, QStringLiteral("The active sheet is not a worksheet."));
    }
    return Worksheet(model_, index);
}

void Workbook::saveAs(const QString& path, FileFormat format) const {
    model_->saveAs(path, format);
}

void Workbook::close() const {
    model_->close();
    if (detail::ApplicationState* app = model_->application) {
        auto& list = app->workbooks;
        list.erase(std::remove(list.begin(), list.end(), model_), list.end());
        if (app->active.lock() == model_ || app->active.expired()) {
            app->active = list.empty() ? std::weak_ptr<detail::WorkbookModel>() : list.back();
        }
    }
}

} // namespace workbook
