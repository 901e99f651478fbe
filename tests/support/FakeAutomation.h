#pragma once

#include "excel/Automation.h"
#include "excel/XLEnvironment.h"
#include "platform/PrivateClipboard.h"

#include <QMap>
#include <deque>
#include <map>

namespace fake {

// A scripted spreadsheet program: worksheets of cells in memory, a log of the calls made, and
// failures injected by call name.
struct Sheet {
    Sheet() = default;
    explicit Sheet(QString sheetName) : name(std::move(sheetName)) {}
    QString name;
    std::map<std::pair<int, int>, automation::Value> cells; // (row, column)
    int lastColumn = 0;
    int lastRow = 0;
    QMap<QPair<int, int>, int> fontColours;
    QMap<QPair<int, int>, int> fillColours;
};

struct Program {
    std::vector<Sheet> sheets;
    QStringList calls;
    // Call name -> message of the failure it raises (once or always).
    QMap<QString, QString> failures;
    QMap<QString, int> failuresLeft; // absent: always
    bool split = false;
    bool frozen = false;
    automation::OpenArgs lastOpen;
    automation::SaveAsArgs lastSaveAs;
    int lastDataType = -1;
    bool lastCopyOriginMissing = false;
    bool quitCalled = false;

    void call(const QString& name) {
        calls << name;
        auto it = failures.find(name);
        if (it == failures.end()) {
            return;
        }
        const QString message = it.value();
        if (failuresLeft.contains(name) && --failuresLeft[name] <= 0) {
            failures.remove(name);
            failuresLeft.remove(name);
        }
        throw automation::Failure(message);
    }
};

inline Program& program() {
    static Program p;
    return p;
}

inline std::pair<int, int> parseCell(const QString& ref) {
    int i = 0;
    int column = 0;
    while (i < ref.size() && ref[i].isLetter()) {
        column = column * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        ++i;
    }
    return {ref.mid(i).toInt(), column};
}

class Range : public automation::Range {
public:
    Range(Sheet& sheet, std::pair<int, int> first, std::pair<int, int> last)
        : sheet_(sheet), first_(first), last_(last) {}
    automation::Column value2() override {
        program().call(QStringLiteral("Range.Value2"));
        automation::Column out;
        for (int r = first_.first; r <= last_.first; ++r) {
            auto it = sheet_.cells.find({r, first_.second});
            out.push_back(it == sheet_.cells.end() ? automation::Value() : it->second);
        }
        return out;
    }
    automation::Value value() override {
        program().call(QStringLiteral("Range.Value"));
        auto it = sheet_.cells.find(first_);
        return it == sheet_.cells.end() ? automation::Value() : it->second;
    }
    QString text() override {
        program().call(QStringLiteral("Range.Text"));
        auto it = sheet_.cells.find(first_);
        return it == sheet_.cells.end() ? QString() : automation::valueToText(it->second);
    }
    void setValue(const automation::Column& values, int dataType) override {
        program().call(QStringLiteral("Range.SetValue"));
        program().lastDataType = dataType;
        int r = first_.first;
        for (const auto& v : values) {
            sheet_.cells[{r++, first_.second}] = v;
        }
    }
    void select() override { program().call(QStringLiteral("Range.Select")); }
    void copy() override {
        program().call(QStringLiteral("Range.Copy"));
        QString text;
        for (int r = first_.first; r <= last_.first; ++r) {
            auto it = sheet_.cells.find({r, first_.second});
            text += (it == sheet_.cells.end() ? QString() : automation::valueToText(it->second)) +
                    QStringLiteral("\r\n");
        }
        platform::PrivateClipboard::setText(text);
    }
    void setEntireRowHidden(bool) override { program().call(QStringLiteral("Range.RowHidden")); }
    void setEntireColumnHidden(bool) override {
        program().call(QStringLiteral("Range.ColumnHidden"));
    }
    void deleteEntireRows(int shift) override {
        program().call(QStringLiteral("Range.Delete %1").arg(shift));
    }
    void insertEntireRows(int shift, bool copyOriginMissing) override {
        program().call(QStringLiteral("Range.Insert %1").arg(shift));
        program().lastCopyOriginMissing = copyOriginMissing;
    }
    void setFontColor(int colour) override {
        program().call(QStringLiteral("Range.FontColor"));
        sheet_.fontColours[{first_.first, first_.second}] = colour;
    }
    void setInteriorColor(int colour) override {
        program().call(QStringLiteral("Range.InteriorColor"));
        sheet_.fillColours[{first_.first, first_.second}] = colour;
    }

private:
    Sheet& sheet_;
    std::pair<int, int> first_;
    std::pair<int, int> last_;
};

class Worksheet : public automation::Worksheet {
public:
    explicit Worksheet(size_t index) : index_(index) {}
    Sheet& data() { return program().sheets[index_]; }
    QString name() override {
        program().call(QStringLiteral("Worksheet.Name"));
        return data().name;
    }
    void activate(int) override { program().call(QStringLiteral("Worksheet.Activate")); }
    void setAutoFilterMode(bool, int) override {
        program().call(QStringLiteral("Worksheet.AutoFilterMode"));
    }
    int usedRangeLastColumn(int) override {
        program().call(QStringLiteral("Worksheet.UsedRange"));
        return data().lastColumn;
    }
    int usedRangeLastRow(int) override { return data().lastRow; }
    std::unique_ptr<automation::Range> range(const QString& a, const QString& b) override {
        program().call(QStringLiteral("Worksheet.Range"));
        return std::make_unique<Range>(data(), parseCell(a), parseCell(b));
    }
    std::unique_ptr<automation::Range> cell(int row, int column) override {
        program().call(QStringLiteral("Worksheet.Cells"));
        return std::make_unique<Range>(data(), std::pair{row, column}, std::pair{row, column});
    }

private:
    size_t index_;
};

class Workbook : public automation::Workbook {
public:
    void activate(int) override { program().call(QStringLiteral("Workbook.Activate")); }
    int worksheetCount() override {
        program().call(QStringLiteral("Worksheets.Count"));
        return static_cast<int>(program().sheets.size());
    }
    std::shared_ptr<automation::Worksheet> worksheet(int index) override {
        program().call(QStringLiteral("Worksheets.Item"));
        return std::make_shared<Worksheet>(static_cast<size_t>(index - 1));
    }
    std::shared_ptr<automation::Worksheet> worksheet(const QString& name) override {
        program().call(QStringLiteral("Worksheets.Item"));
        for (size_t i = 0; i < program().sheets.size(); ++i) {
            if (program().sheets[i].name.compare(name, Qt::CaseInsensitive) == 0) {
                return std::make_shared<Worksheet>(i);
            }
        }
        throw automation::Failure::fromCode(0x8002000B);
    }
    void saveAs(const automation::SaveAsArgs& args) override {
        program().call(QStringLiteral("Workbook.SaveAs"));
        program().lastSaveAs = args;
    }
    void close(bool, int) override { program().call(QStringLiteral("Workbook.Close")); }
};

class Application : public automation::Application {
public:
    void setVisible(bool, int) override { program().call(QStringLiteral("Application.Visible")); }
    void setDisplayAlerts(bool, int) override {
        program().call(QStringLiteral("Application.DisplayAlerts"));
    }
    void openWorkbook(const automation::OpenArgs& args) override {
        program().call(QStringLiteral("Workbooks.Open"));
        program().lastOpen = args;
    }
    std::shared_ptr<automation::Workbook> activeWorkbook() override {
        program().call(QStringLiteral("Application.ActiveWorkbook"));
        return std::make_shared<Workbook>();
    }
    bool activeWindowFreezePanes() override { return program().frozen; }
    bool activeWindowSplit() override { return program().split; }
    void setActiveWindowSplit(bool split) override {
        program().call(QStringLiteral("ActiveWindow.Split"));
        program().split = split;
    }
    std::unique_ptr<automation::Range> range(const QString& a, const QString& b) override {
        program().call(QStringLiteral("Application.Range"));
        return std::make_unique<Range>(program().sheets.front(), parseCell(a), parseCell(b));
    }
    void quit() override {
        program().call(QStringLiteral("Application.Quit"));
        program().quitCalled = true;
    }
};

inline std::unique_ptr<automation::Application> createApplication() {
    program().call(QStringLiteral("CreateApplication"));
    return std::make_unique<Application>();
}

// The lists of the active definition, as the Excel layer filled them.
struct Lists : XLListTarget {
    std::map<int, QStringList> worksheets;
    QStringList fields;
    QStringList fieldDescs;
    std::map<std::pair<int, int>, QString> samples;
    std::map<int, QStringList> values;
    void setWSL_Count(int list, int count) override {
        worksheets[list] = QStringList(count, QString());
    }
    void setWSL_WS(int list, int index, const QString& name) override {
        worksheets[list][index - 1] = name;
    }
    void setFL_Count(int count) override {
        fields = QStringList(count, QString());
        fieldDescs = QStringList(count, QString());
    }
    void setFL_TaskFld(int index, const QString& letters) override { fields[index - 1] = letters; }
    void setFL_TaskFldDesc(int index, const QString& text) override {
        fieldDescs[index - 1] = text;
    }
    void setFL_TaskFldValue(int index, int sample, const QString& text) override {
        samples[{index, sample}] = text;
    }
    void setVL_TaskFldValCount(int list, int count) override {
        values[list] = QStringList(count, QString());
    }
    void setVL_TaskFldValue(int list, int index, const QString& text) override {
        values[list][index - 1] = text;
    }
};

// A scripted environment: registry values, a Cancel flag that can be raised at the k-th pump,
// and the progress lines.
class Environment : public XLEnvironment {
public:
    QString curVer; // empty: the key is missing
    bool registryFails = false;
    QString packName; // empty: no pack value
    bool packFails = false;
    int cancelAtPump = 0; // 0: never
    int pumps = 0;
    bool cancelled = false;
    QStringList progress;
    Lists lists;
    int samples = 2;

    void processMessages() override {
        ++pumps;
        if (cancelAtPump > 0 && pumps == cancelAtPump) {
            cancelled = true;
        }
    }
    bool getCancelled() override { return cancelled; }
    void setCancelled(bool value) override { cancelled = value; }
    void startStepProgress(int count) override {
        progress << QStringLiteral("start %1").arg(count);
    }
    void addStep(const QString& text) override { progress << text; }
    void updateStep(const QString& text) override { progress.last() = text; }
    void showStepProgress(bool show) override {
        progress << (show ? QStringLiteral("show") : QStringLiteral("hide"));
    }
    bool regValueExists(Root, const QString& key, const QString&) override {
        if (key.startsWith(QLatin1String("Installer"))) {
            if (packFails) {
                throw platform::Exception(QStringLiteral("pack key unreadable"));
            }
            return !packName.isNull();
        }
        if (registryFails) {
            throw platform::Exception(QStringLiteral("hive unreadable"));
        }
        return !curVer.isEmpty();
    }
    QString regReadString(Root, const QString& key, const QString&, const QString& def) override {
        if (key.startsWith(QLatin1String("Installer"))) {
            return packName.isNull() ? def : packName;
        }
        return curVer.isEmpty() ? def : curVer;
    }
    XLListTarget& activeDefinition() override { return lists; }
    int importTaskFldValueCount() override { return samples; }
};

} // namespace fake
