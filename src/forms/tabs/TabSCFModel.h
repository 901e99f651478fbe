#pragma once

#include "model/FileDialogs.h"

#include <QString>
#include <array>
#include <cstdint>

class TovDV;
class TovSCF;
class TovSD;

// The nine boxes of the S Curve Files tab, in the order Enter moves through them.
enum TSCFBox : int {
    sbDSF_Path,
    sbDSF_Password,
    sbDSF_TaskWS,
    sbDSF_THR,
    sbTF_Path,
    sbTF_Password,
    sbTF_ProjectSummaryWS,
    sbTF_ChartDataWS,
    sbOF_Path,
    SCFBoxCount
};

// The seven status pictures of the tab.
enum TSCFPicture : int {
    spDSF_Path,
    spDSF_TaskWS,
    spDSF_THR,
    spTF_Path,
    spTF_ProjectSummaryWS,
    spTF_ChartDataWS,
    spOF_Path,
    SCFPictureCount
};

// The three workbooks the tab names.
enum TSCFWorkbook : int { swDataSource, swTemplate, swOutput, SCFWorkbookCount };

// The texts of the nine boxes as the tab shows them.
struct TSCFBoxes {
    std::array<QString, SCFBoxCount> Text;
    QString& operator[](TSCFBox box) { return Text[static_cast<size_t>(box)]; }
    const QString& operator[](TSCFBox box) const { return Text[static_cast<size_t>(box)]; }
    bool operator==(const TSCFBoxes&) const = default;
};

// Which boxes the user changed since they were filled from the definition.
using TSCFEdited = std::array<bool, SCFBoxCount>;

struct TSCFStatus {
    bool Error = false;
    QString Message;
};
using TSCFStatuses = std::array<TSCFStatus, SCFPictureCount>;

// What the controls of the tab follow from the texts of the boxes.
struct TSCFStates {
    std::array<bool, SCFWorkbookCount> OpenEnabled{};
    std::array<QString, SCFWorkbookCount> PathHint;
    QString TemplateDefaultHint;
    QString OutputDefaultHint;
};

// What a user's change of a box does besides marking the data file modified.
struct TSCFChangeEffect {
    bool ResetDataSourceWorksheets = false;
    bool ResetTemplateWorksheets = false;
    bool ResetTaskFields = false; // the task field list and the task field value lists
    bool Refresh = true;
};

// What each workbook's box, captions and dialogue are.
struct TSCFWorkbookRole {
    TSCFBox PathBox;
    TSCFBox PasswordBox; // the output has none: its own path box
    int FieldCaption;
    int FolderCaption;
    int DialogTitle;
    TSCFPicture Picture;
};
const TSCFWorkbookRole& WorkbookRole(TSCFWorkbook workbook);

// What the worksheet Browse buttons read and where the choice goes.
enum TSCFWorksheet : int { swsTask, swsProjectSummary, swsChartData, SCFWorksheetCount };
struct TSCFWorksheetRole {
    TSCFBox Box;
    TSCFWorkbook Workbook;
    int WorksheetCaption;
    int ListIndex;
};
const TSCFWorksheetRole& WorksheetRole(TSCFWorksheet worksheet);

// The folders a workbook dialogue starts in when the box names no existing folder.
struct TSCFFolders {
    QString Current;       // where a dialogue starts when the box names no folder
    QString Program;       // the program folder, with its trailing "/"
    QString DefaultOutput; // the default output folder (preferences) when it exists, else empty
};

// The state, load, store, validation and command rules of the S Curve Files tab over the texts
// of its boxes; the page's widgets call these.
namespace scfmodel {

// The boxes as the definition stores them: loading shows the stored values as they are.
TSCFBoxes Load(const TovSCF& scf);
// Writes the boxes into the definition (paths and the task worksheet trimmed, the header row as
// a number); true when a stored value changed.
bool Store(const TSCFBoxes& boxes, TovSCF& scf);

// The workbook extension repairs of what the user edited: an edited data source or template
// path without an xls/xlsx extension takes the preferred one; an edited output path (or the
// output beside an edited template) takes the template's extension, or the preferred one when
// its own is not a workbook's. Returns the boxes that changed.
std::array<bool, SCFBoxCount> RepairExtensions(TSCFBoxes& boxes, const TSCFEdited& edited,
                                               TovDV& dv);
// One input workbook path repaired (trimmed); the same text when nothing needs repair.
QString RepairedInputPath(TovDV& dv, int caption, const QString& path);
// The output path repaired against the template path (both trimmed).
QString RepairedOutputPath(TovDV& dv, const QString& output, const QString& templatePath);

// The status pictures: each row stops at its first failing check.
TSCFStatuses Validate(const TSCFBoxes& boxes, TovDV& dv);
TSCFStates States(const TSCFBoxes& boxes, const QString& templateDefault,
                  const QString& outputFolder);
TSCFChangeEffect ChangeEffect(TSCFBox box);
// Resets the definition's lists that were read from what the box names.
void ResetCaches(TovSD& sd, const TSCFChangeEffect& effect);
// The lists read from a workbook (data source: worksheet list 1 and the task fields; template:
// worksheet list 2; output: none).
TSCFChangeEffect WorkbookCaches(TSCFWorkbook workbook);

// The folders of a Browse button now: the user's Documents folder (else home), the program
// folder and the preferred output folder when it exists. A missing folder is never handed on:
// the dialogue would open the folder visited last, perhaps the program's own Templates.
TSCFFolders CurrentSCFFolders(const QString& program, const QString& defaultOutput);
// The file dialogue of a workbook's Browse button. startFolderExists tells whether the box's
// folder exists; fileExists whether the box's file does.
TFileDialogSetup BrowseSetup(TSCFWorkbook workbook, const QString& boxText,
                             const TSCFFolders& folders, bool startFolderExists, bool fileExists);
// A chosen file without an extension takes the workbook's extension rule.
QString ChosenWithExtension(TSCFWorkbook workbook, const QString& chosen,
                            const QString& templateBox, TovDV& dv);
// Whether two paths name the same file as the file system sees them: both made absolute and
// clean, then compared case-sensitively.
bool SameFile(const QString& a, const QString& b);
// The output box after the template became templatePath: its extension follows the template's
// when they differ (the same text otherwise).
QString OutputFollowingTemplate(TovDV& dv, const QString& output, const QString& templatePath);
// The Default button of the output: the default folder with the box's file name.
QString DefaultOutput(const QString& boxText, const QString& folder);

// Enter and Shift+Enter: the next or previous box; the same box at either end.
TSCFBox NeighbourBox(TSCFBox box, bool backwards);
// The box of a field's label text number (configuration errors); SCFBoxCount when unknown.
TSCFBox BoxOfField(int fieldId);

} // namespace scfmodel
