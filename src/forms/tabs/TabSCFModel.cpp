#include "forms/tabs/TabSCFModel.h"

#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSCF.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QFileInfo>

namespace {

const QLatin1Char kLineBreak('\n');

QString preferredExtension() {
    return ModelPrefs()->getOFExtn();
}

QString withExtension(const QString& path, const QString& extension) {
    return modelutil::ChangeFileExt(path, extension);
}

bool extensionMismatch(TovDV& dv, const QString& output, const QString& templatePath) {
    return dv.CheckFileExtMatch({.Caption = UIT(txt::OutputFile_757),
                                 .Entry = output,
                                 .OtherCaption = UIT(txt::TemplateFile_752),
                                 .OtherEntry = templatePath});
}

// A hint and, when there is one, the value it is about on its own line.
QString hintWith(int textId, const QString& value) {
    return value.isEmpty() ? UIT(textId) : UIT(textId) + kLineBreak + value;
}

} // namespace

const TSCFWorkbookRole& WorkbookRole(TSCFWorkbook workbook) {
    static const TSCFWorkbookRole kRoles[SCFWorkbookCount] = {
        {sbDSF_Path, sbDSF_Password, txt::DataSourceFile_747, 748, 1328, spDSF_Path},
        {sbTF_Path, sbTF_Password, txt::TemplateFile_752, 753, 1329, spTF_Path},
        {sbOF_Path, sbOF_Path, txt::OutputFile_757, 758, 1331, spOF_Path},
    };
    return kRoles[workbook];
}

const TSCFWorksheetRole& WorksheetRole(TSCFWorksheet worksheet) {
    static const TSCFWorksheetRole kRoles[SCFWorksheetCount] = {
        {sbDSF_TaskWS, swDataSource, txt::TaskWorksheet_750, 1},
        {sbTF_ProjectSummaryWS, swTemplate, txt::ProjectSummaryWorksheet_755, 2},
        {sbTF_ChartDataWS, swTemplate, txt::ChartDataWorksheet_756, 2},
    };
    return kRoles[worksheet];
}

namespace scfmodel {

TSCFBoxes Load(const TovSCF& scf) {
    TSCFBoxes boxes;
    boxes[sbDSF_Path] = scf.getDSF_DrivePathFilenameExtnXL();
    boxes[sbDSF_Password] = scf.getDSF_OpenPasswordXL();
    boxes[sbDSF_TaskWS] = scf.getDSF_TaskWS();
    boxes[sbDSF_THR] = QString::number(scf.getDSF_THR());
    boxes[sbTF_Path] = scf.getTF_DrivePathFilenameExtnXL();
    boxes[sbTF_Password] = scf.getTF_OpenPasswordXL();
    boxes[sbTF_ProjectSummaryWS] = scf.getTF_ProjectSummaryWS();
    boxes[sbTF_ChartDataWS] = scf.getTF_ChartDataWS();
    boxes[sbOF_Path] = scf.getOF_DrivePathFilenameExtnXL();
    return boxes;
}

bool Store(const TSCFBoxes& boxes, TovSCF& scf) {
    const TSCFBoxes before = Load(scf);
    scf.setDSF_DrivePathFilenameExtnXL(boxes[sbDSF_Path].trimmed());
    scf.setDSF_OpenPasswordXL(boxes[sbDSF_Password]);
    scf.setDSF_TaskWS(boxes[sbDSF_TaskWS].trimmed());
    scf.setDSF_THR(StrToIntOrZero(boxes[sbDSF_THR]));
    scf.setTF_DrivePathFilenameExtnXL(boxes[sbTF_Path].trimmed());
    scf.setTF_OpenPasswordXL(boxes[sbTF_Password]);
    scf.setTF_ProjectSummaryWS(boxes[sbTF_ProjectSummaryWS]);
    scf.setTF_ChartDataWS(boxes[sbTF_ChartDataWS]);
    scf.setOF_DrivePathFilenameExtnXL(boxes[sbOF_Path].trimmed());
    return !(Load(scf) == before);
}

QString RepairedInputPath(TovDV& dv, int caption, const QString& path) {
    const QString trimmed = path.trimmed();
    if (dv.CheckExcelFileExt(UIT(caption), trimmed)) {
        return withExtension(trimmed, preferredExtension());
    }
    return path;
}

QString RepairedOutputPath(TovDV& dv, const QString& output, const QString& templatePath) {
    const QString o = output.trimmed();
    const QString t = templatePath.trimmed();
    if (extensionMismatch(dv, o, t)) {
        return withExtension(o, ExtractFileExtension(t, true));
    }
    if (dv.CheckExcelFileExt(UIT(txt::OutputFile_757), o)) {
        return withExtension(o, preferredExtension());
    }
    return output;
}

std::array<bool, SCFBoxCount> RepairExtensions(TSCFBoxes& boxes, const TSCFEdited& edited,
                                               TovDV& dv) {
    std::array<bool, SCFBoxCount> changed{};
    const auto repair = [&](TSCFBox box, const QString& repaired) {
        if (repaired != boxes[box]) {
            boxes[box] = repaired;
            changed[box] = true;
        }
    };
    if (edited[sbDSF_Path]) {
        repair(sbDSF_Path, RepairedInputPath(dv, txt::DataSourceFile_747, boxes[sbDSF_Path]));
    }
    if (edited[sbTF_Path]) {
        repair(sbTF_Path, RepairedInputPath(dv, txt::TemplateFile_752, boxes[sbTF_Path]));
    }
    // The output follows an edited template as well as its own edit.
    if (edited[sbOF_Path] || edited[sbTF_Path]) {
        repair(sbOF_Path, RepairedOutputPath(dv, boxes[sbOF_Path], boxes[sbTF_Path]));
    }
    return changed;
}

TSCFStatuses Validate(const TSCFBoxes& boxes, TovDV& dv) {
    const QString d = boxes[sbDSF_Path].trimmed();
    const QString t = boxes[sbTF_Path].trimmed();
    const QString o = boxes[sbOF_Path].trimmed();
    const QString ps = boxes[sbTF_ProjectSummaryWS];
    const QString cd = boxes[sbTF_ChartDataWS];
    const auto samePath = [&dv](int caption, const QString& entry, int otherCaption,
                                const QString& other) {
        return dv.CheckSamePath({.Caption = UIT(caption),
                                 .Entry = entry,
                                 .OtherCaption = UIT(otherCaption),
                                 .OtherEntry = other});
    };
    const auto inputFile = [&dv](int caption, const QString& path) {
        return dv.CheckPath(UIT(caption), path) || dv.CheckExcelFileExt(UIT(caption), path);
    };
    const auto worksheet = [&dv](int caption, const QString& name) {
        return dv.CheckWorksheetName(UIT(caption), name);
    };

    TSCFStatuses statuses;
    const auto row = [&](TSCFPicture picture, auto&& checks) {
        dv.ClearMsgFields();
        const bool error = checks();
        statuses[picture] = {error, error ? dv.getHintText() : QString()};
    };
    row(spDSF_Path, [&] { return inputFile(txt::DataSourceFile_747, d); });
    row(spDSF_TaskWS,
        [&] { return worksheet(txt::TaskWorksheet_750, boxes[sbDSF_TaskWS].trimmed()); });
    row(spDSF_THR, [&] {
        return dv.CheckTaskHeaderRow({.FileCaption = UIT(txt::DataSourceFile_747),
                                      .FilePath = d,
                                      .Row = StrToIntOrZero(boxes[sbDSF_THR]),
                                      .RowCaption = UIT(txt::TaskHeaderRow_751)});
    });
    row(spTF_Path, [&] {
        return inputFile(txt::TemplateFile_752, t) ||
               samePath(txt::TemplateFile_752, t, txt::DataSourceFile_747, d);
    });
    row(spTF_ProjectSummaryWS, [&] { return worksheet(txt::ProjectSummaryWorksheet_755, ps); });
    row(spTF_ChartDataWS, [&] {
        return worksheet(txt::ChartDataWorksheet_756, cd) ||
               dv.CheckSameEntry({.Caption = UIT(txt::ChartDataWorksheet_756),
                                  .Entry = cd,
                                  .OtherCaption = UIT(txt::ProjectSummaryWorksheet_755),
                                  .OtherEntry = ps});
    });
    row(spOF_Path, [&] {
        return dv.CheckPath(UIT(txt::OutputFile_757), o) ||
               dv.CheckExcelFileExt(UIT(txt::OutputFile_757), o) || extensionMismatch(dv, o, t) ||
               samePath(txt::OutputFile_757, o, txt::DataSourceFile_747, d) ||
               samePath(txt::OutputFile_757, o, txt::TemplateFile_752, t);
    });
    return statuses;
}

TSCFStates States(const TSCFBoxes& boxes, const QString& templateDefault,
                  const QString& outputFolder) {
    TSCFStates states;
    static constexpr int kPathHints[SCFWorkbookCount] = {924, 936, 950};
    for (int w = 0; w < SCFWorkbookCount; ++w) {
        const QString path = boxes[WorkbookRole(static_cast<TSCFWorkbook>(w)).PathBox];
        states.OpenEnabled[w] = !path.trimmed().isEmpty();
        states.PathHint[w] = hintWith(kPathHints[w], path);
    }
    states.TemplateDefaultHint = hintWith(937, templateDefault);
    states.OutputDefaultHint = hintWith(951, outputFolder);
    return states;
}

TSCFChangeEffect ChangeEffect(TSCFBox box) {
    TSCFChangeEffect effect;
    switch (box) {
    case sbDSF_Path:
        effect.ResetDataSourceWorksheets = true;
        effect.ResetTaskFields = true;
        break;
    case sbDSF_TaskWS:
    case sbDSF_THR:
        effect.ResetTaskFields = true;
        break;
    case sbTF_Path:
        effect.ResetTemplateWorksheets = true;
        break;
    case sbDSF_Password:
    case sbTF_Password:
        // A password changes nothing the page shows.
        effect.Refresh = false;
        break;
    default:
        break;
    }
    return effect;
}

void ResetCaches(TovSD& sd, const TSCFChangeEffect& effect) {
    if (effect.ResetDataSourceWorksheets) {
        sd.ResetWSL(1);
    }
    if (effect.ResetTemplateWorksheets) {
        sd.ResetWSL(2);
    }
    if (effect.ResetTaskFields) {
        sd.ResetFL();
        sd.ResetVL();
    }
}

TSCFChangeEffect WorkbookCaches(TSCFWorkbook workbook) {
    switch (workbook) {
    case swDataSource:
        return ChangeEffect(sbDSF_Path);
    case swTemplate:
        return ChangeEffect(sbTF_Path);
    default:
        return {};
    }
}

TSCFFolders CurrentSCFFolders(const QString& program, const QString& defaultOutput) {
    const bool outputExists =
        !defaultOutput.trimmed().isEmpty() && QFileInfo(defaultOutput).isDir();
    return {.Current = DialogFallbackFolder(),
            .Program = program,
            .DefaultOutput = outputExists ? defaultOutput : QString()};
}

TFileDialogSetup BrowseSetup(TSCFWorkbook workbook, const QString& boxText,
                             const TSCFFolders& folders, bool startFolderExists, bool fileExists) {
    const TSCFWorkbookRole& role = WorkbookRole(workbook);
    const QString path = boxText.trimmed();
    TFileDialogSetup setup;
    setup.Title = QLatin1Char(' ') + UIT(role.DialogTitle) + QLatin1Char(' ');
    const QString xls = QStringLiteral("xls");
    const QString xlsx = QStringLiteral("xlsx");
    setup.FileTypes = {{platform::Format(UIT(txt::MSExcelFiles), {xls, xlsx}),
                        platform::Format(UIT(txt::Text1333), {xls, xlsx})}};
    setup.OkButtonLabel = UIT(txt::Select_1337);
    setup.FileMustExist = workbook != swOutput;
    setup.FileName = fileExists ? path : QString();
    if (startFolderExists) {
        setup.DefaultFolder = ExtractFilePath(path).trimmed();
    } else if (workbook == swOutput) {
        setup.DefaultFolder =
            folders.DefaultOutput.isEmpty() ? folders.Current : folders.DefaultOutput;
    } else if (SameFile(folders.Current, folders.Program)) {
        setup.DefaultFolder =
            folders.Program +
            (workbook == swDataSource ? QStringLiteral("Samples/") : QStringLiteral("Templates/"));
    } else {
        setup.DefaultFolder = folders.Current;
    }
    return setup;
}

QString ChosenWithExtension(TSCFWorkbook workbook, const QString& chosen,
                            const QString& templateBox, TovDV& dv) {
    if (!ExtractFileExtension(chosen, false).isEmpty()) {
        return chosen;
    }
    if (workbook == swOutput && extensionMismatch(dv, chosen, templateBox.trimmed())) {
        return withExtension(chosen, ExtractFileExtension(templateBox.trimmed(), true));
    }
    if (dv.CheckExcelFileExt(UIT(WorkbookRole(workbook).FieldCaption), chosen)) {
        return withExtension(chosen, preferredExtension());
    }
    return chosen;
}

bool SameFile(const QString& a, const QString& b) {
    return modelutil::CleanAbsolutePath(a.trimmed()) == modelutil::CleanAbsolutePath(b.trimmed());
}

QString OutputFollowingTemplate(TovDV& dv, const QString& output, const QString& templatePath) {
    const QString t = templatePath.trimmed();
    if (extensionMismatch(dv, output.trimmed(), t)) {
        return withExtension(output.trimmed(), ExtractFileExtension(t, true));
    }
    return output;
}

QString DefaultOutput(const QString& boxText, const QString& folder) {
    const QString text = boxText.trimmed();
    return text.isEmpty() ? folder : folder + ExtractFileName(text).trimmed();
}

TSCFBox NeighbourBox(TSCFBox box, bool backwards) {
    const int next = box + (backwards ? -1 : 1);
    return next < 0 || next >= SCFBoxCount ? box : static_cast<TSCFBox>(next);
}

TSCFBox BoxOfField(int fieldId) {
    switch (fieldId) {
    case 747:
        return sbDSF_Path;
    case 749:
        return sbDSF_Password;
    case 750:
        return sbDSF_TaskWS;
    case 751:
        return sbDSF_THR;
    case 752:
        return sbTF_Path;
    case 754:
        return sbTF_Password;
    case 755:
        return sbTF_ProjectSummaryWS;
    case 756:
        return sbTF_ChartDataWS;
    case 757:
        return sbOF_Path;
    default:
        return SCFBoxCount;
    }
}

} // namespace scfmodel
