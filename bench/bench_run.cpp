// Whole-run benchmark: generated projects (1,000 tasks over 500 days, 20,000 tasks over 5,000
// days) are written as data source workbooks in the ways other programs write them (a
// shared-strings table as the leading spreadsheet application writes it, LibreOffice's verbose
// rows, the inline strings of Python workbook libraries; the same tasks in each) and processed
// end to end, each as a whole process of its own (start to exit, the medians of five) through
// the run's stages, the Excel layer and the built-in spreadsheet engine. Beside the stages it
// prints the in-run yardsticks, measured in the same run:
//   - a bare program (bench_bare): inflating the task sheet, a pugixml parse of its XML, the
//     output's parts written at deflate level 1, on one thread, as a whole process; its inflate
//     and its parse, timed inside it, are the yardsticks of the task sheet's stage;
//   - the same inflate and parse on memory used before (the work without the faults of fresh
//     memory), and deflating the output's sheets alone at level 1.
// Its last lines give one summary of each flavour and size with the ratios to the yardsticks.
//
//   bench_run                               every flavour of both projects
//   bench_run small | large [flavour]       one project, every flavour or one (shared, libre,
//                                           inline)
//   bench_run_window                        the generated projects headless and through the real
//                                           progress window (offscreen): the window's overhead
//   bench_run <data file> <definition>      one definition of a data file, headless: the process
//                                           the benchmark times (KRV_BENCH_KEEP=1 keeps the
//                                           generated data files, workbooks and outputs)
//
// Each stage prints its time and its page faults: on a virtual machine a fault on fresh memory
// costs several microseconds, so memory touched for the first time is a large part of a run.
//
// Every question is answered with its default button (the middle, affirmative one; the right
// one when the same question comes back a third time in a row, so that nothing loops).
#include "GeneratedProject.h"
#include "ProcessRuns.h"
#include "Yardsticks.h"
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovProcess.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovXL.h"
#include "model/DataFileSections.h"
#include "model/ovDF.h"
#include "model/ovDSM.h"
#include "model/ovSD.h"
#include "platform/Registry.h"
#include "program/GlobalObjects.h"
#ifdef KRV_BENCH_WINDOW
#include "services_ui/F_Progress.h"
#endif
#include "services/INI_Utils.h"
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

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// The process's own peak (VmHWM): the rusage peak of a spawned process also holds its parent's
// memory at the spawn.
double PeakMemoryMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:")) {
                return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
            }
        }
    }
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
    scf.setDSF_TaskWS(QString::fromLatin1(bench::kTaskSheet));
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

// Writes the definitions to a data file, so that a process of its own can run them.
bool WriteDataFile(const QString& path) {
    try {
        TIniDocument ini(path);
        datafile::WriteDefinitions(ini, *SDs, [] {});
        ini.UpdateFile();
        return true;
    } catch (const std::exception&) {
        return false;
    }
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
    const double ready = bench::SecondsSinceSpawn();
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
    const double runStart = bench::SecondsSinceSpawn();
    const RunTiming timing = TimedRun(process, globals, definition);
    if (!timing.ok) {
        std::printf("the run failed\n");
        return 1;
    }
    std::printf("saved the output workbook: %s\n", qPrintable(process.getOFPath()));
    if (runStart > 0) {
        std::printf("process: %.3f s to the program's objects, %.3f s to the run, the run ended "
                    "%.3f s after the spawn\n",
                    ready, runStart, bench::SecondsSinceSpawn());
    }
    return 0;
}

[[maybe_unused]] double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

struct ProjectSize {
    int tasks;
    int days;
};
constexpr ProjectSize kSizes[] = {{1000, 500}, {20000, 5000}};

// One generated project in one flavour: its files and what was measured of it.
struct Case {
    ProjectSize size{};
    const bench::FlavourInfo* flavour = nullptr;
    QString source;
    QString output;
    QString dataFile;
    bench::SourceYardsticks yardsticks;
};

// Writes the data source workbook and the data file of a case and measures the yardsticks of
// its task sheet.
bool PrepareCase(Case& c, const std::vector<bench::TaskRow>& rows, const QString& folder,
                 int cutOff) {
    const QString name = QStringLiteral("project_%1x%2_%3")
                             .arg(c.size.tasks)
                             .arg(c.size.days)
                             .arg(QLatin1String(c.flavour->key));
    c.source = QDir(folder).filePath(name + QStringLiteral(".xlsx"));
    c.output = QDir(folder).filePath(name + QStringLiteral("_output.xlsx"));
    c.dataFile = QDir(folder).filePath(name + QStringLiteral(".krvc"));
    QString error;
    if (!bench::WriteProject(c.source, rows, c.flavour->flavour, error)) {
        std::printf("could not write the data source workbook: %s\n", qPrintable(error));
        return false;
    }
    DefineProject(c.source, c.output, cutOff);
    if (!WriteDataFile(c.dataFile)) {
        std::printf("could not write the data file %s\n", qPrintable(c.dataFile));
        return false;
    }
    c.yardsticks = bench::MeasureSource(c.source, bench::kTaskSheetPart);
    if (!c.yardsticks.ok) {
        std::printf("could not read the task sheet of %s\n", qPrintable(c.source));
        return false;
    }
    return true;
}

bool IsTaskSheetStage(const QString& text) {
    return text.contains(QLatin1String("Initialising")) &&
           text.contains(QLatin1String("Task Worksheet"));
}

bool IsSaveStage(const QString& text) {
    return text.startsWith(QLatin1String("Saving"));
}

// The bare program (see bench_bare.cpp) on the case's task sheet and the output of its run,
// as whole processes: the medians of `runs`.
struct BareProgram {
    double process = 0;
    double inflate = 0;
    double parse = 0;
    bool ok = false;
};

BareProgram MeasureBareProgram(const Case& c, int runs) {
    BareProgram bare;
    const QString stored = c.output + QStringLiteral(".stored.zip");
    const QString written = c.output + QStringLiteral(".bare.xlsx");
    if (!bench::StoreUncompressed(c.output, stored)) {
        return bare;
    }
    std::vector<double> process, inflate, parse;
    for (int i = 0; i < runs; ++i) {
        const bench::ProcessRun run = bench::RunProcess(
            QCoreApplication::applicationDirPath() + QStringLiteral("/bench_bare"),
            {c.source, QString::fromLatin1(bench::kTaskSheetPart), stored, written});
        double inflated = 0, parsed = 0;
        if (!run.ok || !bench::BareTimesOf(run.output, inflated, parsed)) {
            std::printf("  the bare program failed:\n%s\n", qPrintable(run.output));
            return bare;
        }
        process.push_back(run.seconds);
        inflate.push_back(inflated);
        parse.push_back(parsed);
    }
    QFile::remove(stored);
    QFile::remove(written);
    bare = {Median(process), Median(inflate), Median(parse), true};
    return bare;
}

// Runs the case as whole processes and prints the medians of their stages beside the
// yardsticks; returns the case's summary line, empty when a run failed.
QString MeasureCase(const Case& c, int runs) {
    std::printf("%s, %d tasks x %d days (task sheet XML %.1f MiB): medians of %d processes\n",
                c.flavour->label, c.size.tasks, c.size.days, c.yardsticks.mebibytes, runs);
    std::vector<double> process, run, peak, faults, toObjects, toRun, afterRun;
    std::vector<std::vector<bench::StageTime>> stageRuns;
    for (int i = 0; i < runs; ++i) {
        QFile::remove(c.output);
        const bench::ProcessRun result = bench::RunProcess(QCoreApplication::applicationFilePath(),
                                                           {c.dataFile, QStringLiteral("1")});
        if (!result.ok) {
            std::printf("  the run failed:\n%s\n", qPrintable(result.output));
            return {};
        }
        process.push_back(result.seconds);
        run.push_back(bench::RunSecondsOf(result.output));
        peak.push_back(bench::PeakOf(result.output));
        if (bench::ProcessPhases phases; bench::PhasesOf(result.output, phases)) {
            toObjects.push_back(phases.objects);
            toRun.push_back(phases.runStart);
            afterRun.push_back(result.seconds - phases.runEnd);
        }
        faults.push_back(double(result.faults));
        stageRuns.push_back(bench::StagesOf(result.output));
    }
    const double deflate = bench::MeasureDeflateSheets(c.output);
    const BareProgram bare = MeasureBareProgram(c, runs);
    if (deflate <= 0 || !bare.ok) {
        return {};
    }
    double taskSheet = 0;
    for (size_t s = 0; s < stageRuns.front().size(); ++s) {
        std::vector<double> seconds, stageFaults;
        for (const auto& stages : stageRuns) {
            if (s < stages.size()) {
                seconds.push_back(stages[s].seconds);
                stageFaults.push_back(double(stages[s].faults));
            }
        }
        const QString& text = stageRuns.front()[s].text;
        const double median = Median(seconds);
        std::printf("  %9.3f s %7.0f faults  %s", median, Median(stageFaults), qPrintable(text));
        if (IsTaskSheetStage(text)) {
            taskSheet = median;
            std::printf("  [%.2f x bare parse %.3f s; inflate alone %.3f s; on memory used "
                        "before: parse %.3f s, inflate %.3f s]",
                        median / bare.parse, bare.parse, bare.inflate, c.yardsticks.parse,
                        c.yardsticks.inflate);
        } else if (IsSaveStage(text)) {
            std::printf("  [deflate of the output's sheets at level 1: %.3f s]", deflate);
        }
        std::printf("\n");
    }
    const double wholeProcess = Median(process);
    std::printf("  run %.3f s; process (start to exit) %.3f s, %.0f page faults, peak %.1f MiB\n",
                Median(run), wholeProcess, Median(faults), Median(peak));
    std::printf("  process: its objects ready %.3f s after the spawn, the run started at %.3f s, "
                "the exit %.3f s after the run\n",
                Median(toObjects), Median(toRun), Median(afterRun));
    std::printf("  bare program (inflate + parse of the task sheet, the output written at level "
                "1): %.3f s; process = %.2f x bare program\n",
                bare.process, wholeProcess / bare.process);
    return QStringLiteral("%1, %2 x %3: task sheet %4 s = %5 x bare parse; run %6 s; process "
                          "%7 s = %8 x bare program (%9 s); peak %10 MiB")
        .arg(QLatin1String(c.flavour->label))
        .arg(c.size.tasks)
        .arg(c.size.days)
        .arg(taskSheet, 0, 'f', 3)
        .arg(taskSheet / bare.parse, 0, 'f', 2)
        .arg(Median(run), 0, 'f', 3)
        .arg(wholeProcess, 0, 'f', 3)
        .arg(wholeProcess / bare.process, 0, 'f', 2)
        .arg(bare.process, 0, 'f', 3)
        .arg(Median(peak), 0, 'f', 1);
}

// Every chosen case is written and its yardsticks measured before any process runs: the bare
// parse then has the general allocator of a fresh program.
[[maybe_unused]] int RunGenerated(const QString& folder, int onlyTasks,
                                  const QString& onlyFlavour) {
    constexpr int kRuns = 5;
    bench::KeepFreedMemory();
    std::vector<Case> cases;
    for (const ProjectSize& size : kSizes) {
        if (onlyTasks != 0 && size.tasks != onlyTasks) {
            continue;
        }
        const int first = DaySerial(QDate(2026, 1, 5));
        const int cutOff = first + size.days / 2;
        const std::vector<bench::TaskRow> rows =
            bench::MakeProject(size.tasks, size.days, first, cutOff);
        for (const bench::FlavourInfo& flavour : bench::flavours()) {
            if (!onlyFlavour.isEmpty() && onlyFlavour != QLatin1String(flavour.key)) {
                continue;
            }
            Case c;
            c.size = size;
            c.flavour = &flavour;
            if (!PrepareCase(c, rows, folder, cutOff)) {
                return 1;
            }
            cases.push_back(std::move(c));
        }
    }
    if (cases.empty()) {
        std::printf("no such flavour: %s\n", qPrintable(onlyFlavour));
        return 2;
    }
    QStringList summary;
    for (const Case& c : cases) {
        const QString line = MeasureCase(c, kRuns);
        if (line.isEmpty()) {
            return 1;
        }
        summary << line;
    }
    for (const QString& line : summary) {
        std::printf("summary: %s\n", qPrintable(line));
    }
    return 0;
}

#ifdef KRV_BENCH_WINDOW
// The same project run headless and as the Process command drives it from the window, with the
// real progress window shown offscreen; the medians of a few runs of each.
int RunWindowed(Globals& globals, const QString& folder) {
    constexpr int kRuns = 5;
    QStringList summary;
    for (const ProjectSize& size : kSizes) {
        const int first = DaySerial(QDate(2026, 1, 5));
        const int cutOff = first + size.days / 2;
        const QString name = QStringLiteral("project_%1x%2").arg(size.tasks).arg(size.days);
        const QString source = QDir(folder).filePath(name + QStringLiteral(".xlsx"));
        const QString output = QDir(folder).filePath(name + QStringLiteral("_output.xlsx"));
        QString error;
        if (!bench::WriteProject(source, bench::MakeProject(size.tasks, size.days, first, cutOff),
                                 bench::Flavour::SharedStrings, error)) {
            std::printf("could not write the data source workbook: %s\n", qPrintable(error));
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
    const QStringList args = application.arguments().mid(1);
    const bool generated =
        args.isEmpty() || args[0] == QLatin1String("small") || args[0] == QLatin1String("large");
    // KRV_BENCH_KEEP=1 keeps the generated workbooks, data files and outputs for a look
    // afterwards.
    if (generated && !qEnvironmentVariableIsEmpty("KRV_BENCH_KEEP")) {
        folder.setAutoRemove(false);
        std::printf("kept in %s\n", qPrintable(folder.path()));
    }
    Globals globals(folder.filePath(QStringLiteral("registry")));
#ifdef KRV_BENCH_WINDOW
    return RunWindowed(globals, folder.path());
#else
    if (args.size() == 2 && !generated) {
        return RunDataFile(globals, args[0], args[1].toInt());
    }
    if (generated && args.size() <= 2) {
        const int tasks = args.isEmpty()                      ? 0
                          : args[0] == QLatin1String("small") ? kSizes[0].tasks
                                                              : kSizes[1].tasks;
        return RunGenerated(folder.path(), tasks, args.size() == 2 ? args[1] : QString());
    }
    std::printf("usage: bench_run [small | large [shared | libre | inline] | <data file> "
                "<definition number>]\n");
    return 2;
#endif
}
