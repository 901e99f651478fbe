#pragma once

#include "workbook/Workbook.h"

#include <QString>
#include <memory>
#include <vector>

namespace workbook {

namespace detail {
struct ApplicationState;
}

// The window of the active workbook: its panes on the active sheet.
class Window {
public:
    explicit Window(std::shared_ptr<detail::WorkbookModel> model) : model_(std::move(model)) {}
    bool freezePanes() const;
    // True when the active sheet's window is split (frozen panes count as split).
    bool split() const;
    // False removes the panes (and a freeze); true is not supported (nothing asks for it).
    void setSplit(bool on) const;

private:
    std::shared_ptr<detail::WorkbookModel> model_;
};

// The open workbooks of the application.
class Workbooks {
public:
    explicit Workbooks(std::shared_ptr<detail::ApplicationState> state)
        : state_(std::move(state)) {}
    // Opens .xlsx/.xlsm (recognised by content) read-only; an encrypted package goes through
    // the decryption with `password`, a .xls through the conversion. The file is never
    // written or locked. The opened workbook becomes the active workbook.
    Workbook open(const QString& path, const QString& password = {}) const;
    int count() const;
    Workbook item(int index) const;

private:
    std::shared_ptr<detail::ApplicationState> state_;
};

// The spreadsheet engine's application object.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void setVisible(bool) {}
    void setDisplayAlerts(bool) {}

    Workbooks workbooks() const { return Workbooks(state_); }
    // The active workbook; raises when no workbook is open.
    Workbook activeWorkbook() const;
    Window activeWindow() const { return Window(activeWorkbook().model()); }
    // A block of the active sheet of the active workbook.
    Range range(const QString& cell1, const QString& cell2 = {}) const;
    // Closes every workbook without saving.
    void quit();

private:
    std::shared_ptr<detail::ApplicationState> state_;
};

} // namespace workbook
