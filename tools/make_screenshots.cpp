// Takes the pictures of the program's windows that the User Manual shows. The program's global
// objects and windows are created as start-up creates them, headless, with the settings, the home
// folder and the documents in a temporary folder; the sample data file is opened through the
// File menu and every window is grabbed as the user would see it. Modal windows are shown
// without their modal loop (shown, grabbed, closed), questions are answered by a scripted
// dialogue. A fixed style, font and main window size keep the pictures the same from build to
// build.
//
// Usage: make_screenshots <picture folder>
// Exit status 0 when every picture was written; otherwise each failure is named on stderr.
#include "engine/ovProcess.h"
#include "forms/MainBlock.h"
#include "forms/browse/F_BrowseFile.h"
#include "forms/browse/F_BrowseFld.h"
#include "forms/browse/F_BrowseVal.h"
#include "forms/browse/F_BrowseWS.h"
#include "forms/browse/F_CfgErr.h"
#include "forms/browse/F_DFVErr.h"
#include "forms/dialogs/F_About.h"
#include "forms/dialogs/F_AddRenameCopy.h"
#include "forms/dialogs/F_Options.h"
#include "forms/dialogs/F_Summary.h"
#include "forms/main/F_Main.h"
#include "forms/main/MainAdapters.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "program/GlobalObjects.h"
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/ovUIL.h"
#include "services_ui/F_Progress.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WorkArea.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace {

// The main window's size in every picture of it (larger when its content needs more).
constexpr int kMainWidth = 1000;
constexpr int kMainHeight = 680;
// The work area the windows place and size themselves in.
const QRect kWorkArea(0, 0, 1280, 1024);
// Long enough for a window's deferred layout steps (the list windows settle after 250 ms).
constexpr int kSettleMs = 400;

// The main window's pages, in their order, by the names of their pictures.
const char* const kPageShots[] = {"main_home", "main_s_curve_files", "main_s_curve_options",
                                  "main_data_source_map", "main_data_source_filter"};

// The Data Source Filter page, and the list row of the sample's definition with a filter.
constexpr int kFilterPage = 4;
constexpr int kFilteredDefinitionRow = 1;

// The offscreen platform has no window manager to raise windows or take size hints, and says so
// for every window; those notices are dropped, everything else is passed on.
QtMessageHandler DefaultMessageHandler = nullptr;

void DropOffscreenNotices(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    if (DefaultMessageHandler != nullptr) {
        DefaultMessageHandler(type, context, message);
    }
}

// A build never waits on the tool: should a window start waiting for the user (a modal loop no
// scripted interface covers), the tool ends with an error after this long.
// (Generous: a sanitizer build runs several times slower than the few seconds it takes.)
constexpr auto kTimeLimit = std::chrono::minutes(10);

class TWatchdog {
public:
    TWatchdog()
        : Thread([this](std::stop_token stop) {
              std::unique_lock lock(Mutex);
              Wakeup.wait_for(lock, stop, kTimeLimit, [] { return false; });
              if (!stop.stop_requested()) {
                  std::fprintf(stderr,
                               "make_screenshots: still not done after %lld seconds; a "
                               "window is waiting for the user\n",
                               static_cast<long long>(std::chrono::seconds(kTimeLimit).count()));
                  std::_Exit(1);
              }
          }) {}

private:
    std::mutex Mutex;
    std::condition_variable_any Wakeup;
    std::jthread Thread;
};

class FixedWorkArea : public WorkArea {
public:
    QRect rect() const override { return kWorkArea; }
};

void Settle(int ms = kSettleMs) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// The progress window as a run drives it, with a call when the step halfway through the run has
// been added (a run is too quick to be caught by a timer).
class THalfwayProgress : public IProgress {
public:
    THalfwayProgress(IProgress& window, std::function<void()> atHalf)
        : Window(window), AtHalf(std::move(atHalf)) {}

    void Reset() override { Window.Reset(); }
    void setCaption(const QString& caption) override { Window.setCaption(caption); }
    void setTotalSteps(int steps) override { Window.setTotalSteps(steps); }
    int getTotalSteps() const override { return Window.getTotalSteps(); }
    int getStepCount() const override { return Window.getStepCount(); }
    void AddStep(const QString& text) override {
        Window.AddStep(text);
        CheckHalfway();
    }
    int AddStepReturnIndex(const QString& text) override {
        const int index = Window.AddStepReturnIndex(text);
        CheckHalfway();
        return index;
    }
    void AddNote(const QString& text) override { Window.AddNote(text); }
    void UpdateStep(const QString& text) override { Window.UpdateStep(text); }
    int UpdateInterval() const override { return Window.UpdateInterval(); }
    void UpdateSteps(const QString& text, int items) override { Window.UpdateSteps(text, items); }
    void AppendToLastLine(const QString& text) override { Window.AppendToLastLine(text); }
    void AppendToLine(const QString& text, int index) override { Window.AppendToLine(text, index); }
    void StartStepProgress(int steps) override { Window.StartStepProgress(steps); }
    void ShowStepProgress(bool show) override { Window.ShowStepProgress(show); }
    void ProcessMessages() override { Window.ProcessMessages(); }
    bool UpdateDue() override { return Window.UpdateDue(); }
    bool getCancelled() const override { return Window.getCancelled(); }
    void setCancelled(bool cancelled) override { Window.setCancelled(cancelled); }
    void Show() override { Window.Show(); }
    void Hide() override { Window.Hide(); }

private:
    void CheckHalfway() {
        if (!Called && Window.getTotalSteps() > 0 &&
            Window.getStepCount() * 2 >= Window.getTotalSteps()) {
            Called = true;
            AtHalf();
        }
    }
    IProgress& Window;
    std::function<void()> AtHalf;
    bool Called = false;
};

// Whether more than a third of the picture is black.
bool MostlyBlack(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    qint64 black = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            black += qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]) == 0 ? 1 : 0;
        }
    }
    return black * 3 > qint64(rgb.width()) * rgb.height();
}

// The folder the pictures go to and what failed on the way.
class TShots {
public:
    explicit TShots(const QString& folder) : Folder(folder) {}

    bool Prepare() {
        if (!QDir().mkpath(Folder.path())) {
            Fail(QStringLiteral("cannot create the picture folder %1").arg(Folder.path()));
            return false;
        }
        return true;
    }
    void Save(QWidget* widget, const QString& name) {
        const QString path = Folder.filePath(name + QStringLiteral(".png"));
        if (widget == nullptr) {
            Fail(QStringLiteral("%1: the window does not exist").arg(name));
            return;
        }
        const QPixmap picture = widget->grab();
        if (picture.isNull() || picture.width() < 16 || picture.height() < 16) {
            Fail(QStringLiteral("%1: the window could not be drawn (%2 x %3)")
                     .arg(name)
                     .arg(picture.width())
                     .arg(picture.height()));
            return;
        }
        if (MostlyBlack(picture.toImage())) {
            // No window of the program is dark: a black picture is a window that did not paint.
            Fail(QStringLiteral("%1: the window drew a black picture").arg(name));
            return;
        }
        if (!picture.save(path, "PNG")) {
            Fail(QStringLiteral("%1: cannot write %2").arg(name, path));
            return;
        }
        Taken << name;
    }
    // Shows a window without its modal loop, lets it lay itself out, grabs it and closes it.
    void ShowAndSave(QDialog* window, const QString& name) {
        if (window == nullptr) {
            Fail(QStringLiteral("%1: the window does not exist").arg(name));
            return;
        }
        window->show();
        QApplication::setActiveWindow(window);
        Settle();
        Save(window, name);
        window->reject();
        Settle(50);
    }
    void Fail(const QString& what) { Failures << what; }
    bool wasTaken(const QString& name) const { return Taken.contains(name); }

    QStringList Failures;

private:
    QDir Folder;
    QStringList Taken;
};

// The standard dialogue: a question is answered Yes (the Process confirmation); any other
// message is kept, since a sound run of the sample shows none, and reported when a picture
// is missing. The messages named in Grabbed are set up in the program's own dialogue too, which
// is then shown without its loop and grabbed.
class TScriptedStdDlg : public IStdDlg {
public:
    explicit TScriptedStdDlg(TShots& shots) : Shots(shots), Program(StdDlg()) { setStdDlg(this); }
    ~TScriptedStdDlg() override { setStdDlg(Program); }
    TScriptedStdDlg(const TScriptedStdDlg&) = delete;
    TScriptedStdDlg& operator=(const TScriptedStdDlg&) = delete;

    QStringList Messages;
    // Message key -> picture name.
    QHash<QString, QString> Grabbed;

    void SetupStdDlgButtons1(int kind, const QString& key, const TStdDlgButton& r) override {
        if (SetUp(kind, key, r)) {
            Program->SetupStdDlgButtons1(kind, key, r);
        }
    }
    void SetupStdDlgButtons2(int kind, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m) override {
        if (SetUp(kind, key, r)) {
            Program->SetupStdDlgButtons2(kind, key, r, m);
        }
    }
    void SetupStdDlgButtons3(int kind, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m, const TStdDlgButton& l) override {
        if (SetUp(kind, key, r)) {
            Program->SetupStdDlgButtons3(kind, key, r, m, l);
        }
    }
    void SetupStdDlgButtons3CB(int kind, const QString& key, const TStdDlgButton& r,
                               const TStdDlgButton& m, const TStdDlgButton& l,
                               const QString& checkBoxCaption) override {
        if (SetUp(kind, key, r)) {
            Program->SetupStdDlgButtons3CB(kind, key, r, m, l, checkBoxCaption);
        }
    }
    int ShowModal() override {
        if (Grabbed.contains(Key)) {
            Shots.ShowAndSave(dynamic_cast<QDialog*>(Program), Grabbed.value(Key));
        }
        if (Kind == sdkQuestion) {
            return mrYes;
        }
        Messages << QStringLiteral("%1: %2").arg(Key, MsgLines.join(QLatin1Char(' ')).simplified());
        return RightResult;
    }
    bool getChecked() const override { return false; }

private:
    // True when the program's dialogue is to show the message too (it then has its lines).
    bool SetUp(int kind, const QString& key, const TStdDlgButton& right) {
        Kind = kind;
        Key = key;
        RightResult = right.ModalResult;
        if (Program == nullptr || !Grabbed.contains(key)) {
            return false;
        }
        Program->MsgLines = MsgLines;
        return true;
    }

    TShots& Shots;
    IStdDlg* Program;
    int Kind = 0;
    QString Key;
    int RightResult = mrClose;
};

// A modal window the main window opens, shown without its loop and grabbed; the command then
// goes on as if the user had cancelled (or closed) it.
class TGrabbedWindow : public ISummaryWindow,
                       public IErrorListWindow,
                       public IAboutWindow,
                       public IOptionsWindow {
public:
    TGrabbedWindow(TShots& shots, QString name, std::function<QDialog*()> window,
                   std::function<void()> prepare = {})
        : Shots(shots), Name(std::move(name)), Window(std::move(window)),
          Prepare(std::move(prepare)) {}

    void RefreshList() override {}
    int ShowModal() override {
        if (Prepare) {
            Prepare();
        }
        Shots.ShowAndSave(Window(), Name);
        return mrCancel;
    }

private:
    TShots& Shots;
    QString Name;
    std::function<QDialog*()> Window;
    std::function<void()> Prepare;
};

class TGrabbedAddRenameCopy : public IAddRenameCopyWindow {
public:
    explicit TGrabbedAddRenameCopy(TShots& shots) : Shots(shots) {}

    void Setup(const TAddRenameCopySetup& setup) override {
        if (UF_AddRenameCopy != nullptr) {
            UF_AddRenameCopy->Setup(setup);
        }
    }
    int ShowModal() override {
        Shots.ShowAndSave(UF_AddRenameCopy, QStringLiteral("add_rename_copy"));
        return mrCancel;
    }
    QString getDescription() const override { return QString(); }

private:
    TShots& Shots;
};

// The Select Data File window offered for several data files dropped at once: grabbed, then the
// first file is chosen.
class TGrabbedBrowseFile : public IBrowseFileWindow {
public:
    explicit TGrabbedBrowseFile(TShots& shots) : Shots(shots) {}

    void Setup() override {}
    int ShowModal() override {
        if (UF_BrowseFile == nullptr || DF == nullptr || DF->getFL_Count() == 0) {
            return mrCancel;
        }
        UF_BrowseFile->Setup(*DF);
        Shots.ShowAndSave(UF_BrowseFile, QStringLiteral("browse_data_file"));
        Chosen = DF->getFL_DPFE(1);
        return mrOk;
    }
    QString getDPFE() const override { return Chosen; }

private:
    TShots& Shots;
    QString Chosen;
};

// The main window on each page, its menus, and the windows its commands open.
class TScreenshotSession {
public:
    explicit TScreenshotSession(TShots& shots) : Shots(shots) {
        // The question Process asks before it runs.
        StdDlgMessages.Grabbed.insert(QStringLiteral("MF023"), QStringLiteral("process_question"));
    }

    void Run() {
        TUF_Main* main = UF_Main;
        InstallGrabbedDialogs(*main);
        main->show();
        main->resize(std::max(kMainWidth, main->minimumWidth()),
                     std::max(kMainHeight, main->minimumHeight()));
        QApplication::setActiveWindow(main);
        Settle();

        main->action(QStringLiteral("MI_File_OpenSDF"))->trigger();
        Settle();
        if (SDs == nullptr || SDs->getCount() == 0) {
            Shots.Fail(QStringLiteral("the sample data file did not open: %1")
                           .arg(StdDlgMessages.Messages.join(QStringLiteral("; "))));
            return;
        }
        SelectDefinition(0);

        for (int page = 0; page < static_cast<int>(std::size(kPageShots)); ++page) {
            main->pages()->setCurrentIndex(page);
            // The filter page shows the definition that has a filter, Civil and Piping Works.
            if (page == kFilterPage) {
                SelectDefinition(kFilteredDefinitionRow);
            }
            Settle();
            Shots.Save(main, QString::fromLatin1(kPageShots[page]));
        }
        main->pages()->setCurrentIndex(0);
        SelectDefinition(0);
        SaveMenus(*main);

        // Rename: the Add, Rename and Copy window with the selected definition's description.
        Click(main->listButton(lbRename));
        main->action(QStringLiteral("MI_Tools_Options"))->trigger();
        main->action(QStringLiteral("MI_Help_About"))->trigger();

        // Process the first definition: its question is grabbed and answered Yes, the progress
        // window grabbed at the step halfway through the run and the Summary window with the
        // run's project summary.
        IProgress* const window = Progress();
        THalfwayProgress halfway(*window, [this] {
            if (UF_Progress != nullptr && UF_Progress->isVisible()) {
                // Between its throttled paints the window holds its updates, and a grab would
                // draw nothing: they are let through for the grab (the window holds them again
                // at its next paint).
                UF_Progress->setUpdatesEnabled(true);
                Shots.Save(UF_Progress, QStringLiteral("progress"));
            }
        });
        setProgress(&halfway);
        Click(main->processButton());
        setProgress(window);
        if (!Shots.wasTaken(QStringLiteral("progress"))) {
            Shots.Fail(QStringLiteral("the progress window was not seen during the run"));
        }
        if (!Shots.wasTaken(QStringLiteral("summary"))) {
            Shots.Fail(QStringLiteral("processing the sample's first definition did not end in "
                                      "the Summary window: %1")
                           .arg(StdDlgMessages.Messages.join(QStringLiteral("; "))));
        }
        SaveBrowseWindows(*main);
        SaveDataFileWindows(*main);
        SaveConfigurationErrors(*main);

        // Nothing of the session is kept.
        if (DF != nullptr) {
            DF->setModified(false);
        }
    }

private:
    static void Click(QPushButton* button) {
        if (button != nullptr && button->isEnabled()) {
            button->click();
        }
        Settle(50);
    }

    static void SelectDefinition(int row) {
        QListWidget* list = UF_Main->definitionList();
        list->setCurrentRow(row);
        Settle(50);
    }

    void InstallGrabbedDialogs(TUF_Main& main) {
        TMainDialogs dialogs = ProgramDialogs.dialogs();
        dialogs.Summary = &Summary;
        dialogs.CfgErr = &CfgErr;
        dialogs.DFVErr = &DFVErr;
        dialogs.BrowseFile = &BrowseFile;
        dialogs.About = &About;
        dialogs.Options = &Options;
        dialogs.AddRenameCopy = &AddRenameCopy;
        main.setDialogs(dialogs);
    }

    void SaveMenus(TUF_Main& main) {
        const QList<QAction*> menus = main.menuBar()->actions();
        for (QAction* item : menus) {
            QMenu* menu = item->menu();
            if (menu == nullptr) {
                continue;
            }
            const QString name = item->text().remove(QLatin1Char('&')).trimmed().toLower();
            menu->adjustSize();
            menu->ensurePolished();
            Shots.Save(menu, QStringLiteral("menu_") + name);
        }
    }

    // The worksheet, task field and task field value lists of the first definition's Data
    // Source File, imported as the browse buttons import them.
    void SaveBrowseWindows(TUF_Main& main) {
        TovSD* sd = SDs->getItems(SDs->getActiveSD());
        if (sd == nullptr || Process == nullptr) {
            Shots.Fail(QStringLiteral("no active definition to browse"));
            return;
        }
        const TovSCF& files = *sd->SCF;
        const QString fileDesc = UIT(747);
        const QString worksheetDesc = UIT(750);
        const QString path = files.getDSF_DrivePathFilenameExtnXL();
        const QString password = files.getDSF_OpenPasswordXL();
        const QString worksheet = files.getDSF_TaskWS();
        const int headerRow = files.getDSF_THR();
        const QRect field(main.mapToGlobal(QPoint(260, 160)), QSize(300, 21));
        const TBrowseAnchor anchor{field, QRect(field.topRight() + QPoint(6, 0), QSize(24, 21))};

        if (Process->ImportWorksheetNames(fileDesc, path, password, 1)) {
            UF_BrowseWS->setWS(worksheet);
            UF_BrowseWS->Setup(*sd, fileDesc, worksheetDesc, 1, anchor);
            Shots.ShowAndSave(UF_BrowseWS, QStringLiteral("browse_worksheet"));
        } else {
            Shots.Fail(QStringLiteral("the worksheets of %1 could not be read").arg(path));
        }
        if (Process->ImportTaskFields(fileDesc, path, password, worksheetDesc, worksheet,
                                      headerRow)) {
            // As the Data Source Map's Start Date row browses its column.
            UF_BrowseFld->setTaskFld(QStringLiteral("I"));
            UF_BrowseFld->Setup(*sd, platform::Format(UIT(233), {UIT(785)}), anchor, UIT(785));
            Shots.ShowAndSave(UF_BrowseFld, QStringLiteral("browse_task_field"));
        } else {
            Shots.Fail(QStringLiteral("the task fields of %1 could not be read").arg(path));
        }
        // The values of the Discipline column, as the filter's first row lists them: the
        // definition's first value list is that column's.
        sd->setVL_Count(1);
        sd->setVL_TaskFld(1, QStringLiteral("D"));
        if (Process->ImportTaskFieldValues(fileDesc, path, password, worksheetDesc, worksheet,
                                           QStringLiteral("D"), 1, headerRow)) {
            UF_BrowseVal->Setup(*sd, 1, anchor);
            Shots.ShowAndSave(UF_BrowseVal, QStringLiteral("browse_task_field_value"));
        } else {
            Shots.Fail(QStringLiteral("the values of column D of %1 could not be read").arg(path));
        }
    }

    // Two data files dropped at once: the Select Data File window offers them; the first, a copy
    // of the sample with a task header row of 0 and a Data Source File without a workbook
    // extension, opens repaired and lists its repairs in the Data File Validation Errors window.
    void SaveDataFileWindows(TUF_Main& main) {
        const QString sample = DF->getDPFE();
        QFile source(sample);
        if (!source.open(QIODevice::ReadOnly)) {
            Shots.Fail(QStringLiteral("cannot read %1").arg(sample));
            return;
        }
        QByteArray text = source.readAll();
        text.replace("DSF_THR=1", "DSF_THR=0");
        text.replace("Sample.xlsx", "Sample.txt");
        const QString repaired =
            QFileInfo(sample).absoluteDir().filePath(QStringLiteral("Site Progress.krvc"));
        QFile target(repaired);
        if (!target.open(QIODevice::WriteOnly) || target.write(text) != text.size()) {
            Shots.Fail(QStringLiteral("cannot write %1").arg(repaired));
            return;
        }
        target.close();
        // Nothing of the sample is kept.
        DF->setModified(false);
        main.controller().OpenHandedOverPaths({repaired, sample},
                                              TMainController::TPathSource::Dropped);
        Settle();
        for (const char* name : {"browse_data_file", "data_file_validation_errors"}) {
            if (!Shots.wasTaken(QString::fromLatin1(name))) {
                Shots.Fail(QStringLiteral("opening a repaired data file did not show %1: %2")
                               .arg(QString::fromLatin1(name),
                                    StdDlgMessages.Messages.join(QStringLiteral("; "))));
            }
        }
    }

    // The first definition with a missing Data Source File and no Output File: Process lists
    // the faults in the Configuration Errors window.
    void SaveConfigurationErrors(TUF_Main& main) {
        main.pages()->setCurrentIndex(0);
        Settle(50);
        TovSD* sd = SDs->getItems(SDs->getActiveSD());
        const QString dataSource = sd->SCF->getDSF_DrivePathFilenameExtnXL();
        sd->SCF->setDSF_DrivePathFilenameExtnXL(QFileInfo(dataSource).absolutePath() +
                                                QStringLiteral("/Missing.xlsx"));
        sd->SCF->setOF_DrivePathFilenameExtnXL(QString());
        Click(main.processButton());
        if (!Shots.wasTaken(QStringLiteral("configuration_errors"))) {
            Shots.Fail(QStringLiteral("processing a faulty definition did not list its "
                                      "configuration errors: %1")
                           .arg(StdDlgMessages.Messages.join(QStringLiteral("; "))));
        }
    }

    TShots& Shots;
    TScriptedStdDlg StdDlgMessages{Shots};
    TProgramDialogs ProgramDialogs;
    TGrabbedWindow Summary{Shots, QStringLiteral("summary"), [] { return UF_Summary; },
                           [] {
                               if (UF_Summary != nullptr && Process != nullptr) {
                                   UF_Summary->Fill(Process->getSummaryGrid());
                               }
                           }};
    TGrabbedWindow CfgErr{Shots, QStringLiteral("configuration_errors"), [] { return UF_CfgErr; },
                          [] {
                              if (UF_CfgErr != nullptr) {
                                  UF_CfgErr->RefreshList();
                              }
                          }};
    TGrabbedWindow DFVErr{Shots, QStringLiteral("data_file_validation_errors"),
                          [] { return UF_DFVErr; },
                          [] {
                              if (UF_DFVErr != nullptr) {
                                  UF_DFVErr->RefreshList();
                              }
                          }};
    TGrabbedBrowseFile BrowseFile{Shots};
    TGrabbedWindow About{Shots, QStringLiteral("about"), [] { return UF_About; }};
    TGrabbedWindow Options{Shots, QStringLiteral("options"), [] { return UF_Options; }};
    TGrabbedAddRenameCopy AddRenameCopy{Shots};
};

// The settings, home, documents and configuration folders of the session, and the machine
// hive that names the spreadsheet engine, all in a temporary folder.
bool IsolateSession(const QTemporaryDir& work) {
    const QDir dir(work.path());
    for (const char* sub : {"registry", "home", "config", "data", "runtime"}) {
        if (!dir.mkpath(QString::fromLatin1(sub))) {
            return false;
        }
    }
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("OVIK_KRV_TESSEL_REGISTRY",
            QFile::encodeName(dir.filePath(QStringLiteral("registry"))));
    qputenv("HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath(QStringLiteral("runtime"))));
    QFile machine(dir.filePath(QStringLiteral("registry/machine.reg")));
    if (!machine.open(QIODevice::WriteOnly)) {
        return false;
    }
    machine.write("Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_CLASSES_ROOT\\Excel.Application]\r\n\r\n"
                  "[HKEY_CLASSES_ROOT\\Excel.Application\\CurVer]\r\n"
                  "@=\"Excel.Application.15\"\r\n");
    return true;
}

// The program's global objects and windows as start-up creates them, and the session on them.
void TakeScreenshotsInto(TShots& shots) {
    setWorkArea(std::make_unique<FixedWorkArea>());
    TGlobalObjectsSetup setup;
    setup.DialogFont = MeasureIconTitleFont();
    using enum TGlobalObject;
    TGlobalObjects globals({goUILs, goAD, goXL, goOCP, goDV, goUP, goMRUs, goWMs, goSDs, goDF,
                            goProcess, goRHs, goRFs},
                           setup);
    TApplicationForms forms([&globals] { globals.FreeAll(); });
    forms.CreateForms(FormCreations());
    if (UF_Main == nullptr) {
        shots.Fail(QStringLiteral("the main window was not created"));
    } else {
        TScreenshotSession session(shots);
        session.Run();
    }
    forms.DestroyForms();
}

int TakeScreenshots(const QString& folder) {
    TShots shots(folder);
    if (shots.Prepare()) {
        TakeScreenshotsInto(shots);
    }
    for (const QString& failure : shots.Failures) {
        std::fprintf(stderr, "make_screenshots: %s\n", qPrintable(failure));
    }
    if (!shots.Failures.isEmpty()) {
        std::fprintf(stderr,
                     "make_screenshots: the pictures of the windows for the User Manual could not "
                     "be taken under the offscreen platform (%lld failure(s))\n",
                     static_cast<long long>(shots.Failures.size()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_screenshots <picture folder>\n");
        return 2;
    }
    const QString folder = QDir(QFile::decodeName(argv[1])).absolutePath();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/ovik-krv-tessel-XXXXXX"));
    if (!work.isValid() || !IsolateSession(work)) {
        std::fprintf(stderr, "make_screenshots: cannot prepare a temporary folder\n");
        return 1;
    }
    // The program's windows read the command line as data files: they see the program alone.
    int programArgc = 1;
    DefaultMessageHandler = qInstallMessageHandler(DropOffscreenNotices);
    QApplication application(programArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovik KRV Tessel"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    QApplication::setFont(font);
    const TWatchdog watchdog;
    try {
        return TakeScreenshots(folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_screenshots: %s\n", e.what());
    }
    return 1;
}
