#include "workbook/Application.h"

#include "workbook/Error.h"
#include "workbook/detail/Hooks.h"
#include "workbook/detail/WorkbookModel.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace workbook {

namespace {

const char kZipMagic[] = "PK\x03\x04";
const char kOleMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// Whether a compound file holds an encrypted OOXML package: its directory names the
// "EncryptionInfo" stream (UTF-16LE).
bool holdsEncryptedPackage(const std::string& bytes) {
    static const std::string name = [] {
        std::string utf16;
        for (const char c : std::string("EncryptionInfo")) {
            utf16 += c;
            utf16 += '\0';
        }
        return utf16;
    }();
    return bytes.find(name) != std::string::npos;
}

QString describeForeignContent(const std::string& bytes) {
    std::string head = bytes.substr(0, 512);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const size_t start = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    const std::string lead = start == std::string::npos ? std::string() : head.substr(start);
    if (lead.rfind("<!doctype html", 0) == 0 || lead.rfind("<html", 0) == 0 ||
        head.find("<html") != std::string::npos) {
        return QStringLiteral("it holds an HTML page");
    }
    if (lead.rfind("<?xml", 0) == 0 || lead.rfind("<", 0) == 0) {
        return QStringLiteral("it holds an XML document");
    }
    if (bytes.rfind("%PDF", 0) == 0) {
        return QStringLiteral("it holds a PDF document");
    }
    return QStringLiteral("its content is not a known workbook format");
}

std::shared_ptr<detail::WorkbookModel> openModel(const QString& path, const QString& password) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        throw Error(kRejectedReference,
                    QStringLiteral("The file %1 could not be found.").arg(path));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(
            kRejectedReference,
            QStringLiteral("The file %1 cannot be read: %2.").arg(path, file.errorString()));
    }
    // Read straight into the bytes the package keeps: a workbook of megabytes is not held twice
    // (fresh memory is a large part of opening it).
    std::string bytes;
    if (const qint64 size = file.size(); size > 0) {
        bytes.resize(size_t(size));
        const qint64 got = file.read(bytes.data(), size);
        bytes.resize(size_t(std::max<qint64>(got, 0)));
    }
    if (!file.atEnd()) {
        bytes += file.readAll().toStdString(); // a file that grew while it was read
    }
    file.close();
    if (bytes.empty()) {
        throw Error(kRejectedReference,
                    QStringLiteral("The file %1 is empty; it is not a workbook.").arg(name));
    }
    if (bytes.compare(0, 8, kOleMagic, 8) == 0) {
        if (holdsEncryptedPackage(bytes)) {
            std::optional<std::string> plain = detail::decryptPackage(bytes, password);
            if (!plain) {
                throw Error(
                    kRejectedReference,
                    QStringLiteral("The password supplied for %1 is not correct.").arg(name));
            }
            bytes = std::move(*plain);
        } else {
            bytes = detail::convertXlsToXlsx(path, bytes, password);
        }
    } else if (bytes.compare(0, 4, kZipMagic, 4) != 0) {
        throw Error(kRejectedReference, QStringLiteral("The file %1 is not an Excel workbook: %2.")
                                            .arg(name, describeForeignContent(bytes)));
    }
    auto package = std::make_unique<detail::Package>(std::move(bytes), name);
    return std::make_shared<detail::WorkbookModel>(std::move(package), path);
}

} // namespace

Workbook Workbooks::open(const QString& path, const QString& password) const {
    std::shared_ptr<detail::WorkbookModel> model = openModel(path, password);
    model->application = state_.get();
    state_->workbooks.push_back(model);
    state_->active = model;
    return Workbook(model);
}

int Workbooks::count() const {
    return int(state_->workbooks.size());
}

Workbook Workbooks::item(int index) const {
    if (index < 1 || index > count()) {
        throw Error(kSubscriptOutOfRange, QStringLiteral("Subscript out of range."));
    }
    return Workbook(state_->workbooks[size_t(index - 1)]);
}

Application::Application() : state_(std::make_shared<detail::ApplicationState>()) {}

Application::~Application() {
    quit();
}

Workbook Application::activeWorkbook() const {
    std::shared_ptr<detail::WorkbookModel> model = state_->active.lock();
    if (!model || !model->isOpen()) {
        throw Error(kGenericFailure, QStringLiteral("No workbook is open."));
    }
    return Workbook(model);
}

Range Application::range(const QString& cell1, const QString& cell2) const {
    const Workbook workbook = activeWorkbook();
    return workbook.activeSheet().range(cell1, cell2);
}

void Application::quit() {
    for (const auto& model : state_->workbooks) {
        model->close();
    }
    state_->workbooks.clear();
    state_->active.reset();
}

bool Window::freezePanes() const {
    model_->ensureOpen();
    const int sheet = model_->activeWorksheet();
    return sheet >= 0 && model_->sheet(sheet).frozenPanes();
}

bool Window::split() const {
    model_->ensureOpen();
    const int sheet = model_->activeWorksheet();
    return sheet >= 0 && model_->sheet(sheet).splitPanes();
}

void Window::setSplit(bool on) const {
    model_->ensureOpen();
    const int sheet = model_->activeWorksheet();
    if (on) {
        throw Error(kGenericFailure, QStringLiteral("Splitting a window is not supported."));
    }
    if (sheet >= 0) {
        model_->sheet(sheet).removePanes();
    }
}

} // namespace workbook
