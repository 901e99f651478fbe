#include "model/ovSCF.h"

#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDV.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

using namespace modelutil;

namespace {

void assignTrimmed(QString& field, const QString& value) {
    const QString trimmed = modelutil::StoredText(value);
    if (field != trimmed) {
        field = trimmed;
    }
}

void assign(QString& field, const QString& value) {
    if (field != value) {
        field = value;
    }
}

} // namespace

TovSCF::TovSCF() {
    SetDefaults();
}

void TovSCF::SetDefaults() {
    const IModelPrefs* prefs = ModelPrefs();
    QString extension;
    switch (prefs->getDefaultTFDDLItemIndex()) {
    case 1:
        if (SameTextAZ(XLLimits()->DefaultExtension(), QStringLiteral("xls"))) {
            DefaultTF = prefs->getTemplateXLS();
            extension = QStringLiteral(".xls");
        } else {
            DefaultTF = prefs->getTemplateXLSX();
            extension = QStringLiteral(".xlsx");
        }
        break;
    case 2:
        DefaultTF = prefs->getTemplateXLS();
        extension = QStringLiteral(".xls");
        break;
    case 3:
        DefaultTF = prefs->getTemplateXLSX();
        extension = QStringLiteral(".xlsx");
        break;
    case 4:
        DefaultTF = prefs->getTemplateDPFE();
        extension = ExtractFileExtension(DefaultTF, true);
        break;
    default:
        DefaultTF.clear();
        extension = prefs->getOFExtn();
        break;
    }

    QString folder;
    switch (prefs->getDefaultOFFolderDDLItemIndex()) {
    case 1:
        folder = DesktopFolder();
        break;
    case 2:
        folder = DocumentsFolder();
        break;
    case 3:
        folder = prefs->getDefaultOFFolder();
        break;
    default:
        break;
    }
    DefaultOF = folder + QStringLiteral("Ovik_KRV_Tessel_Output") + extension;

    DSF_DrivePathFilenameExtnXL.clear();
    DSF_OpenPasswordXL.clear();
    DSF_TaskWS = QStringLiteral("Task_Table1");
    DSF_THR = 1;
    TF_DrivePathFilenameExtnXL = TrimControl(DefaultTF);
    TF_OpenPasswordXL.clear();
    TF_ProjectSummaryWS = QStringLiteral("Project Summary");
    TF_ChartDataWS = QStringLiteral("Chart Data");
    OF_DrivePathFilenameExtnXL = TrimControl(DefaultOF);
}

QString TovSCF::getDSF_DrivePathFilenameExtnXL() const {
    return TrimControl(DSF_DrivePathFilenameExtnXL);
}
QString TovSCF::getTF_DrivePathFilenameExtnXL() const {
    return TrimControl(TF_DrivePathFilenameExtnXL);
}
QString TovSCF::getOF_DrivePathFilenameExtnXL() const {
    return TrimControl(OF_DrivePathFilenameExtnXL);
}
QString TovSCF::getDSF_FilenameExtnXL() const {
    return TrimControl(ExtractFileName(getDSF_DrivePathFilenameExtnXL()));
}
QString TovSCF::getTF_FilenameExtnXL() const {
    return TrimControl(ExtractFileName(getTF_DrivePathFilenameExtnXL()));
}
QString TovSCF::getOF_FilenameExtnXL() const {
    return TrimControl(ExtractFileName(getOF_DrivePathFilenameExtnXL()));
}
QString TovSCF::getOF_DrivePath() const {
    return TrimControl(ExtractFilePath(getOF_DrivePathFilenameExtnXL()));
}

void TovSCF::setDSF_DrivePathFilenameExtnXL(const QString& value) {
    assignTrimmed(DSF_DrivePathFilenameExtnXL, value);
}
void TovSCF::setDSF_OpenPasswordXL(const QString& value) {
    assign(DSF_OpenPasswordXL, value);
}
void TovSCF::setDSF_TaskWS(const QString& value) {
    assign(DSF_TaskWS, value);
}
void TovSCF::setDSF_THR(int value) {
    DSF_THR = value;
}
void TovSCF::setTF_DrivePathFilenameExtnXL(const QString& value) {
    assignTrimmed(TF_DrivePathFilenameExtnXL, value);
}
void TovSCF::setTF_OpenPasswordXL(const QString& value) {
    assign(TF_OpenPasswordXL, value);
}
void TovSCF::setTF_ProjectSummaryWS(const QString& value) {
    assign(TF_ProjectSummaryWS, value);
}
void TovSCF::setTF_ChartDataWS(const QString& value) {
    assign(TF_ChartDataWS, value);
}
void TovSCF::setOF_DrivePathFilenameExtnXL(const QString& value) {
    assignTrimmed(OF_DrivePathFilenameExtnXL, value);
}

bool TovSCF::Validate(int n, bool sample) {
    const QString c1 = UIT(txt::DataSourceFile_747);
    const QString c2 = UIT(txt::TemplateFile_752);
    const QString c3 = UIT(txt::OutputFile_757);
    const IModelPrefs* prefs = ModelPrefs();
    bool changed = false;
    auto record = [&](const QString& caption) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        changed = true;
    };
    // Cuts an over-long text; true when it was cut.
    auto cut = [&](const QString& caption, const QString& value, int maximum, auto setter) {
        if (!DV->CheckTextLength(caption, value, maximum)) {
            return;
        }
        (this->*setter)(StrLeft(value, maximum));
        record(caption);
    };
    // The post-load repairs common to the Data Source and Template File paths.
    auto repairExtension = [&](const QString& caption, auto getter, auto setter) {
        if (DV->CheckExcelFileExt(caption, (this->*getter)())) {
            (this->*setter)(ChangeFileExt((this->*getter)(), prefs->getOFExtn()));
            record(caption);
        }
        if (DV->CheckProgramFilesFolder(caption, (this->*getter)())) {
            (this->*setter)(DV->getChangedPath());
            record(caption);
        }
    };

    if (sample) {
        const QString samplePath = AD != nullptr ? AD->getSamplePath() : QString();
        const QString exePath = AD != nullptr ? AD->getExePath() : TovAD::DefaultProgramFolder();
        setDSF_DrivePathFilenameExtnXL(samplePath + getDSF_FilenameExtnXL());
        setTF_DrivePathFilenameExtnXL(exePath + QStringLiteral("Templates/") +
                                      getTF_FilenameExtnXL());
        setOF_DrivePathFilenameExtnXL(prefs->getDefaultOFFolder() + getOF_FilenameExtnXL());
    }

    cut(c1, getDSF_DrivePathFilenameExtnXL(), MaxPathLength,
        &TovSCF::setDSF_DrivePathFilenameExtnXL);
    repairExtension(c1, &TovSCF::getDSF_DrivePathFilenameExtnXL,
                    &TovSCF::setDSF_DrivePathFilenameExtnXL);
    cut(UIT(txt::DataSourceFileOpenPassword), DSF_OpenPasswordXL, MaxPasswordLength,
        &TovSCF::setDSF_OpenPasswordXL);
    cut(UIT(txt::TaskWorksheet_750), DSF_TaskWS, MaxWorksheetNameLength, &TovSCF::setDSF_TaskWS);
    if (DV->CheckTaskHeaderRow({.FileCaption = c1,
                                .FilePath = getDSF_DrivePathFilenameExtnXL(),
                                .Row = DSF_THR,
                                .RowCaption = UIT(txt::TaskHeaderRow_751)})) {
        resetDSF_THR();
        record(c1);
    }

    cut(c2, getTF_DrivePathFilenameExtnXL(), MaxPathLength, &TovSCF::setTF_DrivePathFilenameExtnXL);
    const QString defaultTemplate = prefs->getTemplateDPFE();
    // With no default template there is nothing to change to; the definition validator reports
    // the empty Template File before a run.
    if (!defaultTemplate.isEmpty() &&
        DV->CheckDefaultFile({.Caption = c2,
                              .Entry = getTF_DrivePathFilenameExtnXL(),
                              .Default = defaultTemplate})) {
        setTF_DrivePathFilenameExtnXL(defaultTemplate);
        record(c2);
    }
    repairExtension(c2, &TovSCF::getTF_DrivePathFilenameExtnXL,
                    &TovSCF::setTF_DrivePathFilenameExtnXL);
    cut(UIT(txt::TemplateFileOpenPassword), TF_OpenPasswordXL, MaxPasswordLength,
        &TovSCF::setTF_OpenPasswordXL);
    cut(UIT(txt::ProjectSummaryWorksheet_755), TF_ProjectSummaryWS, MaxWorksheetNameLength,
        &TovSCF::setTF_ProjectSummaryWS);
    cut(UIT(txt::ChartDataWorksheet_756), TF_ChartDataWS, MaxWorksheetNameLength,
        &TovSCF::setTF_ChartDataWS);

    cut(c3, getOF_DrivePathFilenameExtnXL(), MaxPathLength, &TovSCF::setOF_DrivePathFilenameExtnXL);
    const QString defaultFolder = prefs->getDefaultOFFolder();
    if (!defaultFolder.isEmpty() &&
        DV->CheckDefaultFolder(
            {.Caption = c3, .Entry = getOF_DrivePathFilenameExtnXL(), .Default = defaultFolder})) {
        setOF_DrivePathFilenameExtnXL(defaultFolder + getOF_FilenameExtnXL());
        record(c3);
    }
    if (DV->CheckFileExtMatch({.Caption = c3,
                               .Entry = getOF_DrivePathFilenameExtnXL(),
                               .OtherCaption = c2,
                               .OtherEntry = getTF_DrivePathFilenameExtnXL()})) {
        setOF_DrivePathFilenameExtnXL(
            ChangeFileExt(getOF_DrivePathFilenameExtnXL(),
                          ExtractFileExtension(getTF_DrivePathFilenameExtnXL(), true)));
        record(c3);
    } else if (DV->CheckExcelFileExt(c3, getOF_DrivePathFilenameExtnXL())) {
        setOF_DrivePathFilenameExtnXL(
            ChangeFileExt(getOF_DrivePathFilenameExtnXL(), prefs->getOFExtn()));
        record(c3);
    }
    return changed;
}
