#include "services_ui/Startup.h"
#include "platform/Exception.h"
#include "services/ovUIL.h"
#include "services_ui/Splash.h"
#include "support/FakeMessageBox.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>

namespace {

using testsupport::messageBoxes;

// Fake global objects: which exist, and the order the free routine freed them in.
struct FakeGlobals {
    std::map<QString, bool> exists;
    QStringList freed;
    QStringList order = Texts({"CD_RHs", "PS_RHs", "Process", "DV", "MRUs", "UP", "AD", "UILs"});

    void create(const char* name) { exists[QString::fromLatin1(name)] = true; }
    void freeAll() {
        for (const QString& name : order) {
            if (exists[name]) {
                freed << name;
                exists[name] = false;
            }
        }
    }
};

// A table like the program's, whose steps record what the splash showed when they ran.
struct FakeRun {
    FakeGlobals globals;
    QStringList splashSeen;
    QStringList ran;
    QString failAt;
    QString failMessage;
    bool constructBeforeFailing = false;

    std::function<bool()> step(const char* name, const char* object) {
        return [this, name, object] {
            ran << QString::fromLatin1(name);
            splashSeen << (UF_Splash != nullptr ? UF_Splash->getStatus() : QStringLiteral("-"));
            return RunStartupStepWork(
                [this, name, object] {
                    if (failAt == QLatin1String(name)) {
                        if (constructBeforeFailing) {
                            globals.create(object);
                        }
                        throw platform::Exception(failMessage);
                    }
                    globals.create(object);
                },
                QLatin1String(name) == QLatin1String("InitUILs"));
        };
    }

    std::vector<TStartupStep> steps() {
        return {
            {"InitUILs", step("InitUILs", "UILs"), 0, 0,
             " Unable to initialise User Interface Language. ", false, false},
            {"InitAD", step("InitAD", "AD"), 0, 1407, nullptr, false, true},
            {"InitUP", step("InitUP", "UP"), 16, 1417, nullptr, true, false},
            {"InitMRUs", step("InitMRUs", "MRUs"), 10, 1411, nullptr, true, false},
            {"InitSDs", step("InitSDs", "SDs"), 15, 1416, nullptr, true, false},
            {"InitProcess", step("InitProcess", "Process"), 12, 1413, nullptr, true, false},
        };
    }
};

QStringList paragraphs(const QString& message) {
    return message.split(QStringLiteral("\r\n\r\n"));
}

TEST(Startup, StepsRunInOrderWithTheirSplashTexts) {
    FakeRun run;
    QElapsedTimer clock;
    clock.start();
    TStartupSequence startup(run.steps(), [&run] { run.globals.freeAll(); });
    ASSERT_TRUE(startup.RunSteps());
    EXPECT_EQ(run.ran,
              Texts({"InitUILs", "InitAD", "InitUP", "InitMRUs", "InitSDs", "InitProcess"}));
    EXPECT_EQ(run.splashSeen,
              Texts({"-", "-", " Initialising User Preferences... ",
                     " Initialising Most Recently Used Data File List... ",
                     " Initialising KRV Definitions... ", " Initialising Process... "}));
    EXPECT_TRUE(messageBoxes().shown.empty());
    EXPECT_FALSE(startup.isTerminating());
    EXPECT_EQ(startup.exitStatus(), 0);

    ASSERT_NE(UF_Splash, nullptr);
    startup.FinishSplash();
    EXPECT_EQ(UF_Splash, nullptr);
    // The splash stays at least its minimum display time from its creation.
    EXPECT_GE(clock.elapsed(), TUF_Splash::kDisplayMs);
    EXPECT_TRUE(run.globals.freed.isEmpty());
}

TEST(Startup, FailingStepShowsOneFatalMessageAndFreesWhatExistsInOrder) {
    FakeRun run;
    run.failAt = QStringLiteral("InitSDs");
    run.failMessage = QStringLiteral("disk full");
    TStartupSequence startup(run.steps(), [&run] { run.globals.freeAll(); });
    EXPECT_FALSE(startup.RunSteps());

    EXPECT_EQ(run.ran, Texts({"InitUILs", "InitAD", "InitUP", "InitMRUs", "InitSDs"}));
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_EQ(messageBoxes().shown[0].kind, platform::MessageBoxKind::Error);
    EXPECT_EQ(
        paragraphs(messageBoxes().shown[0].text),
        Texts({"Ovik KRV Tessel: An error has occurred.", " Unable to initialise KRV Definitions. ",
               " Details: disk full ", " This is a fatal error. Unable to continue. "}));
    EXPECT_EQ(run.globals.freed, Texts({"MRUs", "UP", "AD", "UILs"}));
    EXPECT_EQ(UF_Splash, nullptr);
    EXPECT_TRUE(startup.isTerminating());
    EXPECT_NE(startup.exitStatus(), 0);
}

TEST(Startup, ObjectConstructedBeforeTheFailingCallIsFreed) {
    FakeRun run;
    run.failAt = QStringLiteral("InitMRUs");
    run.constructBeforeFailing = true;
    TStartupSequence startup(run.steps(), [&run] { run.globals.freeAll(); });
    EXPECT_FALSE(startup.RunSteps());
    EXPECT_EQ(run.globals.freed, Texts({"MRUs", "UP", "AD", "UILs"}));
    // An exception without a message leaves the details paragraph empty.
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_EQ(paragraphs(messageBoxes().shown[0].text)[2], QStringLiteral("  "));
}

TEST(Startup, FirstStepFailureUsesTheLiteralTextsAndNeedsNoSplash) {
    FakeRun run;
    run.failAt = QStringLiteral("InitUILs");
    run.failMessage = QStringLiteral("no memory");
    TStartupSequence startup(run.steps(), [&run] { run.globals.freeAll(); });
    EXPECT_FALSE(startup.RunSteps());
    EXPECT_EQ(run.ran, Texts({"InitUILs"}));
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_EQ(paragraphs(messageBoxes().shown[0].text),
              Texts({"Ovik KRV Tessel: An error has occurred.",
                     "  Unable to initialise User Interface Language.  ", " Details: no memory ",
                     " This is a fatal error. Unable to continue. "}));
    EXPECT_TRUE(run.globals.freed.isEmpty());
    EXPECT_NE(startup.exitStatus(), 0);
}

TEST(Startup, StepWorkClearsAndSetsTheDetails) {
    StartupErrorDetails = QStringLiteral("old");
    EXPECT_TRUE(RunStartupStepWork([] {}));
    EXPECT_TRUE(StartupErrorDetails.isEmpty());

    EXPECT_FALSE(RunStartupStepWork([] { throw std::runtime_error("bad value"); }));
    EXPECT_EQ(StartupErrorDetails, QStringLiteral("Details: bad value"));
}

} // namespace

namespace {

// The data file paths of a command line: blank arguments name no file wherever they stand, and
// every path is absolute against the folder the program was started in.
TEST(CommandLine, BlankArgumentsAreLeftOutAndPathsMadeAbsolute) {
    const QString start = QStringLiteral("/home/planner/work");
    const struct {
        QStringList arguments;
        QStringList paths;
    } cases[] = {
        {Texts({"", "plan.krvc"}), Texts({"/home/planner/work/plan.krvc"})},
        {Texts({"plan.krvc", ""}), Texts({"/home/planner/work/plan.krvc"})},
        {Texts({"  ", "/data/a.krvc", "../b.krvc"}),
         Texts({"/data/a.krvc", "/home/planner/b.krvc"})},
        {Texts({"./sub/../c.krvc", "/data//d.krvc"}),
         Texts({"/home/planner/work/c.krvc", "/data/d.krvc"})},
        {Texts({""}), QStringList()},
        {QStringList(), QStringList()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataFilePathsOfArguments(c.arguments, start), c.paths)
            << c.arguments.join(QLatin1Char('|')).toStdString();
    }
}

} // namespace
