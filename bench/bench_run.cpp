// Whole-run benchmark: generated projects (1,000 tasks over 500 days, 20,000 tasks over 5,000
// days) are written as data source workbooks and processed end to end through the run's stages,
// the Excel layer and the built-in spreadsheet engine; prints each stage's time, the whole run's
// time and the peak memory, and as its last line one summary of every project size.
//
//   bench_run                               the generated projects
//   bench_run small | large                 one of them (for a profile of one size)
//   bench_run_window                        the generated projects headless and through the real
//                                           progress window (offscreen): the window's overhead
//   bench_run <data file> <definition>      one definition of a data file, headless
//
// Each stage prints its time and its page faults: on a virtual machine a fault on fresh memory
// costs several microseconds, so memory touched for the first time is a large part of a run.
//
// Every question is answered with its default button (the middle, affirmative one; the right
// one when the same question comes back a third time in a row, so that nothing loops).
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovProcess.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovXL.h"
#include "model/ovDF.h"
#include "model/ovDSM.h"
#include "model/ovSD.h"
#include "platform/Registry.h"
#include "program/GlobalObjects.h"
#ifdef KRV_BENCH_WINDOW
#include "services_ui/F_Progress.h"
#endif
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/UIL_EN.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#ifdef KRV_BENCH_WINDOW
#include <QApplication>
#endif
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Page faults so far: on a virtual machine a fault on fresh memory can cost several
// microseconds, so they are a stage's cost beside its time.
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// The progress window of a headless run: the time of every step line.
class TimingProgress : public IProgress {
public:
    struct Stage {
        QString text;
        double seconds = 0.0;
        long faults = 0;
    };
    std::vector<Stage> stages;

    void Reset() override {
        stages.clear();
        steps_ = 0;
    }
    void setCaption(const QString&) override {}
    void setTotalSteps(int steps) override { total_ = steps; }
    int getTotalSteps() const override { return total_; }
    int getStepCount() const override { return steps_; }
    void AddStep(const QString& text) override {
        closeStage();
        ++steps_;
        stages.push_back({text.trimmed(), 0.0, 0});
        faults_ = PageFaults();
        timer_.start();
    }
    int AddStepReturnIndex(const QString& text) override {
        AddStep(text);
        return static_cast<int>(stages.size()) - 1;
    }
    void AddNote(const QString&) override {}
    void UpdateStep(const QString&) override {}
    // Nothing is shown: a counted line is due as seldom as the window's.
    int UpdateInterval() const override { return 40; }
    void AppendToLastLine(const QString&) override {}
    void AppendToLine(const QString&, int) override {}
    void StartStepProgress(int) override {}
    void ShowStepProgress(bool) override {}
    bool getCancelled() const override { return false; }
    void setCancelled(bool) override {}
    void Show() override {}
    void Hide() override { closeStage(); }

private:
    void closeStage() {
        if (!stages.empty() && timer_.isValid()) {
            stages.back().seconds = static_cast<double>(timer_.nsecsElapsed()) / 1e9;
            stages.back().faults = PageFaults() - faults_;
            timer_.invalidate();
        }
    }
    int total_ = 0;
    int steps_ = 0;
    long faults_ = 0;
    QElapsedTimer timer_;
};

// The standard dialogue of a headless run: prints each message and answers with its default
// button.
class ConsoleStdDlg : public IStdDlg {
public:
    void SetupStdDlgButtons1(int, const QString& key, const TStdDlgButton& r) override {
        setUp(key, {r});
    }
    void SetupStdDlgButtons2(int, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m) override {
        setUp(key, {r, m});
    }
    void SetupStdDlgButtons3(int, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m, const TStdDlgButton&) override {
        setUp(key, {r, m});
    }
    void SetupStdDlgButtons3CB(int, const QString& key, const TStdDlgButton& r,
                               const TStdDlgButton& m, const TStdDlgButton&,
                               const QString&) override {
        setUp(key, {r, m});
    }
    int ShowModal() override {
        repeats_ = key_ == lastKey_ ? repeats_ + 1 : 1;
        lastKey_ = key_;
        const TStdDlgButton& answer =
            buttons_.size() > 1 && repeats_ < 3 ? buttons_[1] : buttons_.front();
        std::printf("message %s:\n", qPrintable(key_));
        for (const QString& line : MsgLines) {
            std::printf("  %s\n", qPrintable(line));
        }
        std::printf("  -> %s\n", qPrintable(QString(answer.Caption).remove(QLatin1Char('&'))));
        return answer.ModalResult;
    }
    bool getChecked() const override { return false; }

private:
    void setUp(const QString& key, std::vector<TStdDlgButton> buttons) {
        key_ = key;
        buttons_ = std::move(buttons);
    }
    QString key_;
    QString lastKey_;
    int repeats_ = 0;
    std::vector<TStdDlgButton> buttons_;
};

// The program's global objects a run needs, without windows.
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
        globals = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{G::goUILs, G::goAD, G::goXL, G::goSDs, G::goDF,
                                                 G::goRHs, G::goRFs},
            Setup());
        setProgress(&progress);
        setStdDlg(&dialogue);
    }
    ~Globals() {
        setStdDlg(nullptr);
        setProgress(nullptr);
        globals.reset();
    }
    Globals(const Globals&) = delete;
    Globals& operator=(const Globals&) = delete;

    TimingProgress progress;
    ConsoleStdDlg dialogue;

private:
    using G = TGlobalObject;

    static TGlobalObjectsSetup Setup() {
        TGlobalObjectsSetup setup;
        setup.ProgramFolder = QStringLiteral(KRV_SHARE_DIR "/");
        setup.LoadSettings = false;
        return setup;
    }

    std::unique_ptr<TGlobalObjects> globals;
};

int DaySerial(const QDate& date) {
    return static_cast<int>(QDate(1899, 12, 30).daysTo(date));
}

// A deterministic pseudo-random sequence.
class Sequence {
public:
    unsigned next(unsigned bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return bound == 0 ? 0 : static_cast<unsigned>((state_ >> 33) % bound);
    }

private:
    unsigned long long state_ = 42;
};

// Writes a task worksheet "Tasks" of `tasks` rows whose dates cover exactly `days` days from
// `first`: name, Baseline start, finish, man hours, cost, current start, finish, man hours, cost,
// percent complete (columns A to J).
bool WriteProject(const QString& path, int tasks, int days, int first, int cutOff) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (book == nullptr) {
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Tasks");
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "dd-mmm-yyyy");
    const char* headings[] = {"Task",  "BL Start", "BL Finish", "BL MH", "BL Cost",
                              "Start", "Finish",   "MH",        "Cost",  "% Complete"};
    for (lxw_col_t c = 0; c < 10; ++c) {
        worksheet_write_string(sheet, 0, c, headings[c], nullptr);
    }
    Sequence random;
    for (int k = 1; k <= tasks; ++k) {
        int blStart = 0;
        int blLength = days;
        if (k > 1) {
            blStart = static_cast<int>(random.next(static_cast<unsigned>(days)));
            blLength = 1 + static_cast<int>(
                               random.next(static_cast<unsigned>(std::min(60, days - blStart))));
        }
        const int shift = static_cast<int>(random.next(8)) - 2;
        const int start = k == 1 ? 0 : std::clamp(blStart + shift, 0, days - 1);
        const int length =
            k == 1 ? days : std::min(days - start, blLength + static_cast<int>(random.next(4)));
        const double blMH = 8.0 * blLength * (1 + random.next(3));
        const double mh = blMH * (0.9 + 0.05 * random.next(5));
        const int startDay = first + start;
        const int finishDay = startDay + length - 1;
        const double pct = finishDay <= cutOff ? 1.0
                           : startDay > cutOff ? 0.0
                                               : double(cutOff - startDay + 1) / length;
        const lxw_row_t row = static_cast<lxw_row_t>(k);
        const std::string name = "Task " + std::to_string(k);
        worksheet_write_string(sheet, row, 0, name.c_str(), nullptr);
        worksheet_write_number(sheet, row, 1, first + blStart, dateFormat);
        worksheet_write_number(sheet, row, 2, first + blStart + blLength - 1, dateFormat);
        worksheet_write_number(sheet, row, 3, blMH, nullptr);
        worksheet_write_number(sheet, row, 4, blMH * 55.0, nullptr);
        worksheet_write_number(sheet, row, 5, startDay, dateFormat);
        worksheet_write_number(sheet, row, 6, finishDay, dateFormat);
        worksheet_write_number(sheet, row, 7, mh, nullptr);
        worksheet_write_number(sheet, row, 8, mh * 55.0, nullptr);
        worksheet_write_number(sheet, row, 9, pct, nullptr);
    }
    return workbook_close(book) == LXW_NO_ERROR;
}

// Makes definition 1 process the generated project with every data set and quantity.
void DefineProject(const QString& dataSource, const QString& output, int cutOff) {
    SDs->Clear();
    TovSD& d = *SDs->getItems(SDs->Add());
    d.setDescription(QStringLiteral("Generated Project"));
    d.PD->setProjectTitle(QStringLiteral("Generated Project"));
    TovSCO& sco = *d.SCO;
    sco.setGenerateBL(true);
    sco.setGenerateACT(true);
    sco.setGenerateTGT(true);
    sco.setGraphMH(true);
    sco.setGraphCost(true);
    sco.setCutOffDate(cutOff);
    TovSCF& scf = *d.SCF;
    scf.setDSF_DrivePathFilenameExtnXL(dataSource);
    scf.setDSF_TaskWS(QStringLiteral("Tasks"));
    scf.setDSF_THR(1);
    scf.setTF_DrivePathFilenameExtnXL(
        QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xlsx"));
    scf.setTF_ProjectSummaryWS(QStringLiteral("Project Summary"));
    scf.setTF_ChartDataWS(QStringLiteral("Chart Data"));
    scf.setOF_DrivePathFilenameExtnXL(output);
    const char* columns[] = {"B", "C", "D", "E", "F", "G", "H", "I", "J"};
    for (int i = 1; i <= 9; ++i) {
        d.DSM->getItems(i)->setTaskFldXL(QString::fromLatin1(columns[i - 1]));
    }
    d.DSM->SetDSMRequiredFields(TDSMRequiredOptions::Of(sco));
}

// The in-run yardstick: the time to deflate the output workbook's worksheet XML alone at level 1,
// read beside the whole run so that its ratio holds on a loaded machine. 0 when the output
// cannot be read.
struct Yardstick {
    double seconds = 0.0;
    double mebibytes = 0.0;
};

Yardstick DeflateSheetsYardstick(const QString& output) {
    Yardstick yardstick;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(output).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return yardstick;
    }
    std::vector<std::string> sheets;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const std::string name = zip_get_name(archive, zip_uint64_t(i), 0);
        zip_stat_t stat;
        if (name.rfind("xl/worksheets/sheet", 0) != 0 ||
            zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0) {
            continue;
        }
        std::string data(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (file != nullptr &&
            zip_fread(file, data.data(), data.size()) == zip_int64_t(data.size())) {
            sheets.push_back(std::move(data));
        }
        if (file != nullptr) {
            zip_fclose(file);
        }
    }
    zip_close(archive);
    QElapsedTimer timer;
    timer.start();
    std::vector<Bytef> out;
    for (const std::string& sheet : sheets) {
        z_stream stream{};
        deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        out.resize(deflateBound(&stream, uLong(sheet.size())));
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(sheet.data()));
        stream.avail_in = uInt(sheet.size());
        stream.next_out = out.data();
        stream.avail_out = uInt(out.size());
        deflate(&stream, Z_FINISH);
        deflateEnd(&stream);
        yardstick.mebibytes += double(sheet.size()) / (1024.0 * 1024.0);
    }
    yardstick.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return yardstick;
}

struct RunTiming {
    bool ok = false;
    double seconds = 0.0;
};

RunTiming TimedRun(TovProcess& process, Globals& globals, int definition) {
    const long faults = PageFaults();
    QElapsedTimer timer;
    timer.start();
    RunTiming timing;
    timing.ok = process.Run(definition);
    timing.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    for (const TimingProgress::Stage& stage : globals.progress.stages) {
        std::printf("  %9.3f s %7ld faults  %s\n", stage.seconds, stage.faults,
                    qPrintable(stage.text));
    }
    std::printf("  whole run: %.3f s, %ld page faults, peak memory %.1f MiB\n", timing.seconds,
                PageFaults() - faults, PeakMemoryMiB());
    return timing;
}

[[maybe_unused]] int RunDataFile(Globals& globals, const QString& dataFile, int definition) {
    if (!DF->OpenDataFile(dataFile, false)) {
        std::printf("could not open the data file %s\n", qPrintable(dataFile));
        return 1;
    }
    if (definition < 1 || definition > SDs->getCount()) {
        std::printf("definition %d not found: the data file holds %d\n", definition,
                    SDs->getCount());
        return 2;
    }
    TovProcess process;
    std::printf("%s, definition %d: %s\n", qPrintable(dataFile), definition,
                qPrintable(SDs->getItems(definition)->getDescription()));
    const RunTiming timing = TimedRun(process, globals, definition);
    if (!timing.ok) {
        std::printf("the run failed\n");
        return 1;
    }
    std::printf("saved the output workbook: %s\n", qPrintable(process.getOFPath()));
    return 0;
}

[[maybe_unused]] int RunGenerated(Globals& globals, const QString& folder, int onlyTasks) {
    const struct {
        int tasks;
        int days;
    } sizes[] = {{1000, 500}, {20000, 5000}};
    QStringList summary;
    int status = 0;
    for (const auto& size : sizes) {
        if (onlyTasks != 0 && size.tasks != onlyTasks) {
            continue;
        }
        const int first = DaySerial(QDate(2026, 1, 5));
        const int cutOff = first + size.days / 2;
        const QString name = QStringLiteral("project_%1x%2").arg(size.tasks).arg(size.days);
        const QString source = QDir(folder).filePath(name + QStringLiteral(".xlsx"));
        const QString output = QDir(folder).filePath(name + QStringLiteral("_output.xlsx"));
        std::printf("%d tasks x %d days\n", size.tasks, size.days);
        if (!WriteProject(source, size.tasks, size.days, first, cutOff)) {
            std::printf("  could not write the data source workbook\n");
            return 1;
        }
        DefineProject(source, output, cutOff);
        TovProcess process;
        const RunTiming timing = TimedRun(process, globals, 1);
        if (!timing.ok) {
            std::printf("  the run failed\n");
            status = 1;
        }
        const Yardstick yardstick = DeflateSheetsYardstick(output);
        std::printf("  yardstick: deflating the output's worksheet XML (%.1f MiB) at level 1: "
                    "%.3f s; whole run = %.1f x yardstick\n",
                    yardstick.mebibytes, yardstick.seconds,
                    yardstick.seconds > 0 ? timing.seconds / yardstick.seconds : 0.0);
        summary << QStringLiteral("%1 tasks x %2 days: %3 s (%4 x yardstick), %5 MiB peak")
                       .arg(size.tasks)
                       .arg(size.days)
                       .arg(timing.seconds, 0, 'f', 2)
                       .arg(yardstick.seconds > 0 ? timing.seconds / yardstick.seconds : 0.0, 0,
                            'f', 1)
                       .arg(PeakMemoryMiB(), 0, 'f', 1);
    }
    std::printf("summary: %s\n", qPrintable(summary.join(QStringLiteral("; "))));
    return status;
}

[[maybe_unused]] double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

#ifdef KRV_BENCH_WINDOW
// The same project run headless and as the Process command drives it from the window, with the
// real progress window shown offscreen; the medians of a few runs of each.
int RunWindowed(Globals& globals, const QString& folder) {
    const struct {
        int tasks;
        int days;
    } sizes[] = {{1000, 500}, {20000, 5000}};
    constexpr int kRuns = 5;
    QStringList summary;
    for (const auto& size : sizes) {
        const int first = DaySerial(QDate(2026, 1, 5));
        const int cutOff = first + size.days / 2;
        const QString name = QStringLiteral("project_%1x%2").arg(size.tasks).arg(size.days);
        const QString source = QDir(folder).filePath(name + QStringLiteral(".xlsx"));
        const QString output = QDir(folder).filePath(name + QStringLiteral("_output.xlsx"));
        if (!WriteProject(source, size.tasks, size.days, first, cutOff)) {
            std::printf("could not write the data source workbook\n");
            return 1;
        }
        DefineProject(source, output, cutOff);
        TUF_Progress window;
        std::vector<double> headless;
        std::vector<double> windowed;
        for (int run = 0; run < kRuns; ++run) {
            for (const bool withWindow : {false, true}) {
                setProgress(withWindow ? static_cast<IProgress*>(&window) : &globals.progress);
                QFile::remove(output);
                TovProcess process;
                QElapsedTimer timer;
                timer.start();
                if (!process.Run(1)) {
                    std::printf("the run failed\n");
                    setProgress(&globals.progress);
                    return 1;
                }
                const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
                (withWindow ? windowed : headless).push_back(seconds);
            }
        }
        setProgress(&globals.progress);
        const double h = Median(headless);
        const double w = Median(windowed);
        std::printf("%d tasks x %d days: headless %.3f s, progress window %.3f s, "
                    "overhead %+.1f %% (medians of %d runs)\n",
                    size.tasks, size.days, h, w, h > 0 ? (w / h - 1.0) * 100.0 : 0.0, kRuns);
        summary << QStringLiteral("%1 tasks x %2 days: %3 %")
                       .arg(size.tasks)
                       .arg(size.days)
                       .arg(h > 0 ? (w / h - 1.0) * 100.0 : 0.0, 0, 'f', 1);
    }
    std::printf("window overhead: %s\n", qPrintable(summary.join(QStringLiteral("; "))));
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv) {
#ifdef KRV_BENCH_WINDOW
    // bench_run_window: the window mode needs widgets; bench_run itself links none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
#else
    QCoreApplication application(argc, argv);
#endif
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::printf("no temporary folder\n");
        return 1;
    }
    // KRV_BENCH_KEEP=1 keeps the generated workbooks and outputs for a look afterwards.
    if (!qEnvironmentVariableIsEmpty("KRV_BENCH_KEEP")) {
        folder.setAutoRemove(false);
        std::printf("kept in %s\n", qPrintable(folder.path()));
    }
    Globals globals(folder.filePath(QStringLiteral("registry")));
#ifdef KRV_BENCH_WINDOW
    return RunWindowed(globals, folder.path());
#else
    const QStringList args = application.arguments().mid(1);
    if (args.size() == 2) {
        return RunDataFile(globals, args[0], args[1].toInt());
    }
    if (args.size() == 1 &&
        (args[0] == QLatin1String("small") || args[0] == QLatin1String("large"))) {
        return RunGenerated(globals, folder.path(),
                            args[0] == QLatin1String("small") ? 1000 : 20000);
    }
    if (!args.isEmpty()) {
        std::printf("usage: bench_run [small | large | <data file> <definition number>]\n");
        return 2;
    }
    return RunGenerated(globals, folder.path(), 0);
#endif
}
