#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// One start-up step: its work (true on success, StartupErrorDetails set on failure), the UI text
// it writes into the splash before its work (0: it runs before the splash exists), its failure
// text (a UI text, or the literal when the id is 0), whether its failure frees the splash, and
// whether the splash is created right after it.
struct TStartupStep {
    const char* Name;
    std::function<bool()> Run;
    int SplashTextId;
    int FailureTextId;
    const char* FailureLiteral;
    bool FreeSplash;
    bool CreatesSplash;
};

// The data file paths named on a command line (the arguments after the program): arguments of
// blanks name no file and are left out, and relative paths are made absolute against the folder
// the program was started in, so that what is stored of them (the open data file, the recent
// files) names the same file from anywhere, and a running instance that is handed them opens
// the right file whatever its own folder.
QStringList DataFilePathsOfArguments(const QStringList& arguments, const QString& startFolder);
// The same for this program's own command line.
QStringList CommandLineDataFiles();

// Details of the last failing start-up step; cleared at the start of every step.
extern QString StartupErrorDetails;

// Runs a step's work: clears StartupErrorDetails, runs the work and returns true; on an exception
// stores "Details: %s" of its message (when not empty) and returns false. literalDetails: the
// text table may not exist yet, so the format is the literal rather than UI text 1423.
bool RunStartupStepWork(const std::function<void()>& work, bool literalDetails = false);

// The fatal message: the title line, the step's failure text, the details and the closing
// sentence, each a paragraph.
QString FatalErrorMessage(const QString& failureText, const QString& details);

// The main block's start-up: runs the steps in their order while the splash reports them, and
// ends the program with the one fatal message when a step fails.
class TStartupSequence {
public:
    TStartupSequence(std::vector<TStartupStep> steps, std::function<void()> freeGlobalObjects);
    ~TStartupSequence();
    TStartupSequence(const TStartupSequence&) = delete;
    TStartupSequence& operator=(const TStartupSequence&) = delete;

    // Runs every step; false when one failed (the fatal exit has then run).
    bool RunSteps();
    // Shows the fatal message, frees the splash when asked, frees the global objects and marks
    // the application as terminating with a failure exit status.
    void FatalErrorExit(const QString& failureText, bool freeSplash);
    // Writes "Initialisation complete." into the splash, keeps it until its minimum display
    // time has passed (pumping messages), then frees it.
    void FinishSplash();

    bool isTerminating() const { return Terminating; }
    int exitStatus() const { return ExitStatus; }

private:
    void CreateSplash();
    static void FreeSplash();

    std::vector<TStartupStep> Steps;
    std::function<void()> FreeGlobalObjects;
    bool Terminating = false;
    int ExitStatus = 0;
};
