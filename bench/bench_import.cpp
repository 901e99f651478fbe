// Import benchmark: the distinct task field values of a column of 20,000 rows holding 10,000
// distinct values (each twice, in two letter cases), first the duplicate removal alone, then the
// whole import from a generated workbook through the Excel layer and the built-in spreadsheet
// engine. Prints each case's time and, as its last line, a summary.
#include "engine/DistinctValues.h"
#include "engine/StageProgress.h"
#include "engine/ovProcess.h"
#include "excel/ovXL.h"
#include "model/ovSD.h"
#include "platform/Registry.h"
#include "services/StdDlg.h"
#include "services/UIL_EN.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 20000;
constexpr int kDistinct = 10000;

// Row k's value: value k mod 10,000, upper-cased on its second occurrence.
std::string RowValue(int k) {
    const int v = k % kDistinct;
    return (k < kDistinct ? "Value " : "VALUE ") + std::to_string(v);
}

// The standard dialogue of a headless import: prints each message.
class ConsoleStdDlg : public IStdDlg {
public:
    void SetupStdDlgButtons1(int, const QString& key, const TStdDlgButton&) override { key_ = key; }
    void SetupStdDlgButtons2(int, const QString& key, const TStdDlgButton&,
                             const TStdDlgButton&) override {
        key_ = key;
    }
    void SetupStdDlgButtons3(int, const QString& key, const TStdDlgButton&, const TStdDlgButton&,
                             const TStdDlgButton&) override {
        key_ = key;
    }
    void SetupStdDlgButtons3CB(int, const QString& key, const TStdDlgButton&, const TStdDlgButton&,
                               const TStdDlgButton&, const QString&) override {
        key_ = key;
    }
    int ShowModal() override {
        std::printf("message %s:\n", qPrintable(key_));
        for (const QString& line : MsgLines) {
            std::printf("  %s\n", qPrintable(line));
        }
        return mrClose;
    }
    bool getChecked() const override { return false; }

private:
    QString key_;
};

// The global objects an import needs, without windows.
class Globals {
public:
    explicit Globals(const QString& registryFolder) {
        QDir().mkpath(registryFolder);
        qputenv(platform::kRegistryFolderVariable, registryFolder.toUtf8());
        QFile machine(QDir(registryFolder).filePath(QStringLiteral("machine.reg")));
        if (machine.open(QIODevice::WriteOnly)) {
            machine.write("Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_CLASSES_ROOT\\Excel.Application\\CurVer]\r\n"
                          "@=\"Excel.Application.15\"\r\n");
            machine.close();
        }
        UILs = new TovUILs();
        FillEnglishTexts(0);
        AD = new TovAD(QDir::tempPath() + QStringLiteral("/"));
        SDs = new TovSDs();
        SDs->setActiveSD(SDs->Add());
        XL = new TovXL();
        setStdDlg(&dialogue);
    }
    ~Globals() {
        setStdDlg(nullptr);
        delete XL;
        delete SDs;
        delete AD;
        delete UILs;
    }
    Globals(const Globals&) = delete;
    Globals& operator=(const Globals&) = delete;

    ConsoleStdDlg dialogue;
};

bool WriteColumn(const QString& path) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (book == nullptr) {
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Tasks");
    worksheet_write_string(sheet, 0, 0, "Status", nullptr);
    for (int k = 0; k < kRows; ++k) {
        worksheet_write_string(sheet, static_cast<lxw_row_t>(k + 1), 0, RowValue(k).c_str(),
                               nullptr);
    }
    return workbook_close(book) == LXW_NO_ERROR;
}

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::printf("no temporary folder\n");
        return 1;
    }
    Globals globals(folder.filePath(QStringLiteral("registry")));

    std::vector<QString> raw;
    raw.reserve(kRows);
    for (int k = 0; k < kRows; ++k) {
        raw.push_back(QString::fromStdString(RowValue(k)));
    }
    TNullProgress sink;
    engine::StageProgress stages(sink);
    QElapsedTimer timer;
    timer.start();
    const std::vector<engine::DistinctValue> distinct = engine::DistinctValues(raw, stages);
    const double removal = Seconds(timer);
    std::printf("duplicate removal, %d rows, %zu distinct: %.4f s\n", kRows, distinct.size(),
                removal);

    const QString source = folder.filePath(QStringLiteral("values.xlsx"));
    if (!WriteColumn(source)) {
        std::printf("could not write the workbook\n");
        return 1;
    }
    TovSD& sd = *SDs->getItems(1);
    sd.setVL_Count(1);
    sd.setVL_TaskFld(1, QStringLiteral("A"));
    TovProcess process;
    timer.restart();
    const bool ok = process.ImportTaskFieldValues(
        QStringLiteral("Data Source File"), source, QString(), QStringLiteral("Task Worksheet"),
        QStringLiteral("Tasks"), QStringLiteral("A"), 1, 1);
    const double import = Seconds(timer);
    std::printf("whole import, %d rows: %.4f s, %d distinct values, %d tasks\n", kRows, import,
                sd.getVL_TaskFldValCount(1), sd.getVL_TaskCount());
    const bool right = ok && sd.getVL_TaskFldValCount(1) == kDistinct &&
                       static_cast<int>(distinct.size()) == kDistinct;
    std::printf("summary: duplicate removal %.4f s; whole import %.4f s%s\n", removal, import,
                right ? "" : " (WRONG RESULT)");
    return right ? 0 : 1;
}
