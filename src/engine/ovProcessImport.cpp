// The imports behind the browse windows: worksheet names, task fields and the distinct values of
// one task field, each read out of a workbook by its own Excel session under the progress window
// and stored in the active KRV Definition's caches.
#include "ovProcess.h"

#include "engine/DistinctValues.h"
#include "engine/ProcessExcel.h"
#include "engine/ProcessProgress.h"
#include "engine/ProcessWindows.h"
#include "engine/StageProgress.h"
#include "excel/ovXL.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <exception>

using engine::kPair;
using engine::xl;
using platform::Format;

namespace {

// What sets the three imports apart within their common frame: the failure log's headline, the
// progress window's caption, the number of progress steps and the keys of the three failures.
struct ImportKind {
    int HeadlineText;
    int CaptionText;
    int Steps;
    const char* EmptyKey;
    const char* CancelKey;
    const char* ErrorKey;
};

constexpr ImportKind kWorksheetNames{1444, 322, 5, "UP015", "UP016", "UP017"};
constexpr ImportKind kTaskFields{1445, 323, 7, "UP018", "UP019", "UP020"};
constexpr ImportKind kTaskFieldValues{1446, 324, 8, "UP023", "UP024", "UP025"};

TovSD& activeSD() {
    if (SDs == nullptr) {
        throw platform::Exception(UIT(txt::UnableToInitialiseKRVDefinitions));
    }
    return *SDs->getItems(SDs->getActiveSD());
}

// The progress window and the message dialogue of one import.
class ImportFrame {
public:
    ImportFrame(const ImportKind& kind, const QString& fileDesc) : Kind(kind), FileDesc(fileDesc) {}

    // Heads the message log, then resets and shows the progress window for the import's steps.
    void Begin(TovProcess& process) {
        if (AD != nullptr) {
            AD->MessageLog.clear();
            AD->MessageLog << Format(UIT(Kind.HeadlineText), {FileDesc}) << QString();
        }
        if (XL != nullptr) {
            // Lines of an earlier operation must not appear in this import's messages.
            XL->Errors.clear();
        }
        process.SetLineFormats(Kind.Steps);
        engine::ShowProcessProgress(Format(UIT(Kind.CaptionText), {FileDesc}), Kind.Steps);
    }

    void Step(const QString& text) { ProgressOfStages.AddStep(text); }
    // Appends "Complete." to the last line.
    void Complete() { Stages.complete(); }
    engine::StageProgress& stages() { return Stages; }

    void CloseProgress() { engine::HideProcessProgress(); }

    // The workbook held nothing to import; Excel has already quit.
    void ReportEmpty(const QStringList& lines) {
        CloseProgress();
        ShowWarning(QLatin1String(Kind.EmptyKey), lines);
    }

    // A Cancel (no details) or a failure: quits Excel and shows the log, the Excel layer's lines
    // and the details.
    void ReportFailure(bool cancelled, const QString& details) {
        CloseProgress();
        const QString shownDetails = cancelled ? QString() : details;
        QStringList lines = engine::FailureLines(shownDetails);
        if (!shownDetails.isEmpty()) {
            lines << QString();
        }
        ShowWarning(QLatin1String(cancelled ? Kind.CancelKey : Kind.ErrorKey), lines);
    }

private:
    static void ShowWarning(const QString& key, const QStringList& lines) {
        engine::ShowCloseMessage(sdkWarning, key, lines, txt::CloseDialogue_1243);
    }

    const ImportKind& Kind;
    QString FileDesc;
    TovProcessProgress ProgressOfStages;
    engine::StageProgress Stages{ProgressOfStages};
};

// Runs one import's steps under its frame. body returns whether the cache was filled (it reports
// an empty result itself); a Cancel or a failure resets the cache being built and is shown.
template <class Body, class ResetCache>
bool RunImport(TovProcess& process, const ImportKind& kind, const QString& fileDesc, Body&& body,
               ResetCache&& resetCache) {
    ImportFrame frame(kind, fileDesc);
    bool cancelled = false;
    QString details;
    try {
        frame.Begin(process);
        return body(frame);
    } catch (const platform::EAbort&) {
        cancelled = true;
    } catch (const platform::Exception& e) {
        details = e.message();
    } catch (const std::exception& e) {
        details = QString::fromLocal8Bit(e.what());
    }
    try {
        resetCache();
    } catch (const std::exception&) {
        // Without a definition there is no cache to reset; the failure itself is still shown.
    }
    frame.ReportFailure(cancelled, details);
    return false;
}

void StartExcelStep(ImportFrame& frame) {
    frame.Step(UIT(txt::OpeningMSExcel));
    xl().StartExcel(false);
    frame.Complete();
}

// Opens the workbook read-only; the step is left for the caller to complete.
void OpenWorkbookStep(ImportFrame& frame, const QString& fileDesc, const QString& filePath,
                      const QString& openPassword) {
    frame.Step(Format(UIT(txt::Opening), {fileDesc}));
    xl().setFileDesc(fileDesc);
    xl().setFilePath(filePath);
    xl().OpenWorkbook(filePath, openPassword, QString(), true);
}

// A missing worksheet closes the workbook and Excel and raises the three-paragraph error.
void VerifyWorksheetStep(ImportFrame& frame, const QString& fileDesc, const QString& filePath,
                         const QString& worksheetDesc, const QString& worksheetName) {
    frame.Step(Format(UIT(txt::VerifyingExists), {worksheetDesc}));
    xl().setWorksheetDesc(worksheetDesc);
    xl().setWorksheetName(worksheetName);
    if (!xl().WorksheetExists(worksheetName)) {
        const QStringList paragraphs = {Format(UIT(txt::WasNotFound), {worksheetDesc, fileDesc}),
                                        Format(kPair, {worksheetDesc, worksheetName}),
                                        Format(kPair, {fileDesc, filePath})};
        xl().CloseWorkbook(false);
        xl().QuitExcel();
        throw platform::Exception(paragraphs.join(QStringLiteral("\r\n\r\n")));
    }
    frame.Complete();
}

void InitWorksheetStep(ImportFrame& frame, const QString& worksheetDesc) {
    frame.Step(Format(UIT(txt::Initialising_454), {worksheetDesc}));
    xl().InitWorksheet();
    frame.Complete();
}

// The first steps of the imports that read the Task Worksheet: Excel started, the workbook
// opened, the worksheet verified and initialised.
void OpenTaskWorksheetSteps(ImportFrame& frame, const QString& fileDesc, const QString& filePath,
                            const QString& openPassword, const QString& worksheetDesc,
                            const QString& worksheetName) {
    StartExcelStep(frame);
    OpenWorkbookStep(frame, fileDesc, filePath, openPassword);
    frame.Complete();
    VerifyWorksheetStep(frame, fileDesc, filePath, worksheetDesc, worksheetName);
    InitWorksheetStep(frame, worksheetDesc);
}

void CloseWorkbookAndExcelSteps(ImportFrame& frame, const QString& fileDesc) {
    frame.Step(Format(UIT(txt::Closing), {fileDesc}));
    xl().CloseWorkbook(false);
    frame.Complete();
    frame.Step(UIT(txt::ClosingMSExcel));
    xl().QuitExcel();
    frame.Complete();
}

} // namespace

bool TovProcess::ImportWorksheetNames(const QString& fileDesc, const QString& filePath,
                                      const QString& openPassword, int wslIndex) {
    return RunImport(
        *this, kWorksheetNames, fileDesc,
        [&](ImportFrame& frame) {
            StartExcelStep(frame);
            OpenWorkbookStep(frame, fileDesc, filePath, openPassword);
            xl().setWorksheetDesc(QString());
            xl().setWorksheetName(QString());
            frame.Complete();
            xl().ListWorksheets(wslIndex);
            frame.Complete();
            CloseWorkbookAndExcelSteps(frame, fileDesc);

            TovSD& sd = activeSD();
            if (sd.getWSL_Count(wslIndex) < 1) {
                frame.ReportEmpty({Format(UIT(txt::FollowingDoesNotContainAny), {fileDesc}),
                                   QString(), filePath, QString(),
                                   Format(UIT(txt::PleaseSelectValid_1460), {fileDesc})});
                return false;
            }
            sd.setWSL_Loaded(wslIndex, true);
            frame.CloseProgress();
            return true;
        },
        [&] { activeSD().ResetWSL(wslIndex); });
}

bool TovProcess::ImportTaskFields(const QString& fileDesc, const QString& filePath,
                                  const QString& openPassword, const QString& worksheetDesc,
                                  const QString& worksheetName, int taskHeaderRow) {
    return RunImport(
        *this, kTaskFields, fileDesc,
        [&](ImportFrame& frame) {
            OpenTaskWorksheetSteps(frame, fileDesc, filePath, openPassword, worksheetDesc,
                                   worksheetName);
            xl().ExtractFldList(taskHeaderRow);
            frame.Complete();
            CloseWorkbookAndExcelSteps(frame, fileDesc);

            TovSD& sd = activeSD();
            if (sd.getFL_Count() < 1) {
                frame.ReportEmpty({Format(UIT(txt::DoesNotContainAnyTask), {worksheetDesc}),
                                   QString(), Format(kPair, {worksheetDesc, worksheetName}),
                                   QString(),
                                   Format(UIT(txt::PleaseSelectValid_1464), {worksheetDesc})});
                return false;
            }
            sd.setFL_Loaded(true);
            frame.CloseProgress();
            return true;
        },
        [] { activeSD().ResetFL(); });
}

bool TovProcess::ImportTaskFieldValues(const QString& fileDesc, const QString& filePath,
                                       const QString& openPassword, const QString& worksheetDesc,
                                       const QString& worksheetName, const QString& taskFld,
                                       int vlIndex, int taskHeaderRow) {
    return RunImport(
        *this, kTaskFieldValues, fileDesc,
        [&](ImportFrame& frame) {
            OpenTaskWorksheetSteps(frame, fileDesc, filePath, openPassword, worksheetDesc,
                                   worksheetName);
            const int lastRow = xl().getUsedRowCount();
            const int taskCount = lastRow - taskHeaderRow;
            TovSD& sd = activeSD();
            if (taskCount > 0) {
                xl().ExtractValList(taskFld, vlIndex, taskHeaderRow + 1, lastRow);
            } else {
                // No row lies below the header row: the column holds no values, which is an empty
                // result rather than a failure of the extraction's row range.
                sd.setVL_TaskFldValCount(vlIndex, 0);
                frame.Step(Format(UIT(txt::ExtractingTaskFieldValues_1556), {0, 0}));
            }
            frame.Complete();
            CloseWorkbookAndExcelSteps(frame, fileDesc);

            const int n = sd.getVL_TaskFldValCount(vlIndex);
            if (n < 1) {
                frame.ReportEmpty({UIT(txt::FollowingTaskFieldDoes), QString(),
                                   Format(UIT(txt::TaskField_1548), {taskFld}), QString(),
                                   UIT(txt::PleaseSelectValidTaskField)});
                return false;
            }
            std::vector<QString> raw;
            raw.reserve(static_cast<std::size_t>(n));
            for (int pos = 1; pos <= n; ++pos) {
                raw.push_back(sd.getVL_TaskFldValue(vlIndex, pos));
            }
            const std::vector<engine::DistinctValue> distinct =
                engine::DistinctValues(raw, frame.stages());
            sd.setVL_TaskFldValCount(vlIndex, static_cast<int>(distinct.size()));
            for (int k = 1; k <= static_cast<int>(distinct.size()); ++k) {
                const engine::DistinctValue& value = distinct[static_cast<std::size_t>(k - 1)];
                sd.setVL_TaskFldValue(vlIndex, k, value.Text);
                sd.setVL_TaskFldValTaskCount(vlIndex, k, value.TaskCount);
            }
            sd.setVL_TaskCount(taskCount);
            sd.setVL_Loaded(vlIndex, true);
            frame.CloseProgress();
            return true;
        },
        [] { activeSD().ResetVL(); });
}
