#pragma once

#include "support/FakeAutomation.h"

#include <QStringList>

namespace enginetest {

// The scripted spreadsheet program of tests/excel, with the row deletions, row insertions and
// multi-row value writes recorded with their ranges ("delete A9:A19", "insert A9:A36",
// "values B8:B37 30").
namespace recording {

inline QStringList& log() {
    static QStringList entries;
    return entries;
}

class Range : public automation::Range {
public:
    Range(std::unique_ptr<automation::Range> inner, QString a, QString b)
        : inner_(std::move(inner)), address_(a + QLatin1Char(':') + b), multi_(a != b) {}
    automation::Column value2() override { return inner_->value2(); }
    automation::Value value() override { return inner_->value(); }
    QString text() override { return inner_->text(); }
    void setValue(const automation::Column& values, int dataType) override {
        if (multi_) {
            log() << QStringLiteral("values %1 %2").arg(address_).arg(values.size());
        }
        inner_->setValue(values, dataType);
    }
    void select() override { inner_->select(); }
    void copy() override { inner_->copy(); }
    void setEntireRowHidden(bool hidden) override { inner_->setEntireRowHidden(hidden); }
    void setEntireColumnHidden(bool hidden) override { inner_->setEntireColumnHidden(hidden); }
    void deleteEntireRows(int shift) override {
        log() << QStringLiteral("delete ") + address_;
        inner_->deleteEntireRows(shift);
    }
    void insertEntireRows(int shift, bool copyOriginMissing) override {
        log() << QStringLiteral("insert ") + address_;
        inner_->insertEntireRows(shift, copyOriginMissing);
    }
    void setFontColor(int colour) override { inner_->setFontColor(colour); }
    void setInteriorColor(int colour) override { inner_->setInteriorColor(colour); }

private:
    std::unique_ptr<automation::Range> inner_;
    QString address_;
    bool multi_;
};

class Worksheet : public automation::Worksheet {
public:
    explicit Worksheet(std::shared_ptr<automation::Worksheet> inner) : inner_(std::move(inner)) {}
    QString name() override { return inner_->name(); }
    void activate(int lcid) override { inner_->activate(lcid); }
    void setAutoFilterMode(bool on, int lcid) override { inner_->setAutoFilterMode(on, lcid); }
    int usedRangeLastColumn(int lcid) override { return inner_->usedRangeLastColumn(lcid); }
    int usedRangeLastRow(int lcid) override { return inner_->usedRangeLastRow(lcid); }
    std::unique_ptr<automation::Range> range(const QString& a, const QString& b) override {
        return std::make_unique<Range>(inner_->range(a, b), a, b);
    }
    std::unique_ptr<automation::Range> cell(int row, int column) override {
        return inner_->cell(row, column);
    }

private:
    std::shared_ptr<automation::Worksheet> inner_;
};

class Workbook : public automation::Workbook {
public:
    explicit Workbook(std::shared_ptr<automation::Workbook> inner) : inner_(std::move(inner)) {}
    void activate(int lcid) override { inner_->activate(lcid); }
    int worksheetCount() override { return inner_->worksheetCount(); }
    std::shared_ptr<automation::Worksheet> worksheet(int index) override {
        return std::make_shared<Worksheet>(inner_->worksheet(index));
    }
    std::shared_ptr<automation::Worksheet> worksheet(const QString& name) override {
        return std::make_shared<Worksheet>(inner_->worksheet(name));
    }
    void saveAs(const automation::SaveAsArgs& args) override { inner_->saveAs(args); }
    void close(bool saveChanges, int lcid) override { inner_->close(saveChanges, lcid); }

private:
    std::shared_ptr<automation::Workbook> inner_;
};

class Application : public automation::Application {
public:
    Application() : inner_(fake::createApplication()) {}
    void setVisible(bool visible, int lcid) override { inner_->setVisible(visible, lcid); }
    void setDisplayAlerts(bool alerts, int lcid) override {
        inner_->setDisplayAlerts(alerts, lcid);
    }
    void openWorkbook(const automation::OpenArgs& args) override { inner_->openWorkbook(args); }
    std::shared_ptr<automation::Workbook> activeWorkbook() override {
        return std::make_shared<Workbook>(inner_->activeWorkbook());
    }
    bool activeWindowFreezePanes() override { return inner_->activeWindowFreezePanes(); }
    bool activeWindowSplit() override { return inner_->activeWindowSplit(); }
    void setActiveWindowSplit(bool split) override { inner_->setActiveWindowSplit(split); }
    std::unique_ptr<automation::Range> range(const QString& a, const QString& b) override {
        return inner_->range(a, b);
    }
    void quit() override { inner_->quit(); }

private:
    std::unique_ptr<automation::Application> inner_;
};

inline std::unique_ptr<automation::Application> createApplication() {
    return std::make_unique<Application>();
}

} // namespace recording
} // namespace enginetest
