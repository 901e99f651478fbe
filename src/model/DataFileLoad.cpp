// Recognising and loading a data file: the header checks of the three layouts, the loaders,
// and the open of one path with its prompts.
#include "model/ovDF.h"

#include "model/DataFileMessages.h"
#include "model/DataFileSections.h"
#include "model/ErrorLists.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/INI_Utils.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

using platform::Format;

namespace {

// What tells the three layouts apart and how their messages are worded.
struct TLayoutHeader {
    QString Section;
    QString ApplicationKey;
    QString ExpectedApplication;
    QString Product;
    QString SupportedVersions;
    const char* ApplicationMsgKey;
    const char* VersionMsgKey;
    const char* CountMsgKey;
};

QString Q(const char* text) {
    return QString::fromLatin1(text);
}

QString ExceptionMessage(const std::exception& e) {
    if (const auto* p = dynamic_cast<const platform::Exception*>(&e)) {
        return p->message();
    }
    return QString::fromLocal8Bit(e.what());
}

// Check 1: the application or product key names this layout's program.
bool ApplicationAccepted(const TIniDocument& ini, const TLayoutHeader& h, const QString& path) {
    const QString found = ini.ReadString(h.Section, h.ApplicationKey, QString()).trimmed();
    if (modelutil::SameTextAZ(found, h.ExpectedApplication)) {
        return true;
    }
    return datafile::AskYesNo(Q(h.ApplicationMsgKey),
                              {Format(UIT(txt::FollowingDataFileMay), {h.Product}), QString(), path,
                               QString(), Format(UIT(txt::Expected), {h.ExpectedApplication}),
                               QString(), Format(UIT(txt::Found), {found}), QString(),
                               UIT(txt::DoYouWishToOpenDataFile)},
                              1211, 1212) == mrYes;
}

// Check 2: the version's first character is the layout's major version.
bool VersionSupported(const TLayoutHeader& h, const QString& path, const QString& version) {
    if (!version.isEmpty() && modelutil::SameTextAZ(version.left(1), h.SupportedVersions.left(1))) {
        return true;
    }
    datafile::WarnClose(
        Q(h.VersionMsgKey),
        {Format(UIT(txt::FollowingDataFileVersion), {h.Product}), QString(), path, QString(),
         Format(UIT(txt::SupportedDataFileVersions), {h.Product, h.SupportedVersions}), QString(),
         Format(UIT(txt::DataFileVersion_1400), {version}), QString(),
         UIT(txt::UnableToOpenDataFile)},
        1213);
    return false;
}

// Check 3 of the older layouts: always asked, they open read-only.
bool OlderLayoutAccepted(const QString& key, const QString& product, const QString& path,
                         const QString& version) {
    return datafile::AskYesNo(key,
                              {Format(UIT(txt::FollowingDataFileWasCreated), {product}), QString(),
                               path, QString(), Format(UIT(txt::DataFileVersion_1318), {version}),
                               QString(), UIT(txt::ChangesCannotBeSavedToDataFile_1319), QString(),
                               UIT(txt::DoYouWishToOpenDataFileReadOnly_1320)},
                              1216, 1217) == mrYes;
}

// Check 4: more definitions than can be loaded. count is changed to the maximum after Yes.
bool CountAccepted(const char* key, const QString& path, int& count) {
    if (count <= datafile::MaxDefinitions) {
        return true;
    }
    if (datafile::AskYesNo(Q(key),
                           {UIT(txt::FollowingDataFileContainsToo), QString(), path, QString(),
                            Format(UIT(txt::KRVDefinitionsFound), {count}), QString(),
                            Format(UIT(txt::MaximumKRVDefinitions), {datafile::MaxDefinitions}),
                            QString(), UIT(txt::ExtraKRVDefinitions), QString(),
                            UIT(txt::DoYouWishToOpenDataFile_1325)},
                           1218, 1219) != mrYes) {
        return false;
    }
    count = datafile::MaxDefinitions;
    return true;
}

// Checks 5 and 6 of the current and sibling layouts: the progress step count.
int ProgressCount(const TIniDocument& ini, const QString& root, int count) {
    int pb = 0;
    if (ini.ValueExists(root, Q("PB_Count"))) {
        pb = std::max(0, ini.ReadInteger(root, Q("PB_Count"), 0));
    }
    if (pb == 0) {
        pb = 13 * count;
        for (int n = 1; n <= count; ++n) {
            pb += datafile::CountFilterRows(ini, datafile::DefinitionSection(root, n),
                                            datafile::MaxFilterRows);
        }
    }
    return std::clamp(pb, 13 * count, 18 * count);
}

} // namespace

bool TovDF::DetectDataFileFormat(const TIniDocument& ini, const QString& path) {
    IsTesselFormat = false;
    IsQuillFormat = false;
    IsOldFormat = false;
    SD_Count = 0;
    PB_Count = 0;
    SD_CountFound = 0;
    const QString& shownPath = path;

    const auto readCount = [&](const QString& root, const char* key) {
        int count = 0;
        if (ini.ValueExists(root, Q("SD_Count"))) {
            count = std::max(0, ini.ReadInteger(root, Q("SD_Count"), 0));
        }
        SD_CountFound = count;
        if (!CountAccepted(key, shownPath, count)) {
            return false;
        }
        SD_Count = count;
        return true;
    };

    const QString tessel = datafile::TesselRoot();
    const QString quill = datafile::QuillRoot();
    if (ini.SectionExists(tessel)) {
        const TLayoutHeader h{tessel,   Q("Application"), Q("Ovik KRV Tessel: Curvewright"),
                              tessel,   Q("5.x.x.x"),     "UDF004",
                              "UDF005", "UDF007"};
        if (!ApplicationAccepted(ini, h, shownPath)) {
            return false;
        }
        FileVersion = ini.ReadString(tessel, Q("Version"), QString()).trimmed();
        if (!VersionSupported(h, shownPath, FileVersion)) {
            return false;
        }
        if (!modelutil::SameTextAZ(FileVersion, datafile::ProgramVersion()) &&
            datafile::AskYesNo(
                Q("UDF006"),
                {Format(UIT(txt::FollowingDataFileWasCreatedByDifferentVersion), {tessel}),
                 QString(), shownPath, QString(), Format(UIT(txt::DataFileVersion), {FileVersion}),
                 QString(), UIT(txt::ChangesCannotBeSavedToDataFile_1315), QString(),
                 UIT(txt::DoYouWishToOpenDataFileReadOnly_1316)},
                1214, 1215) != mrYes) {
            return false;
        }
        if (!readCount(tessel, h.CountMsgKey)) {
            return false;
        }
        PB_Count = ProgressCount(ini, tessel, SD_Count);
        IsTesselFormat = true;
    } else if (ini.SectionExists(quill)) {
        const TLayoutHeader h{quill,    Q("Application"), Q("Ovik KRV Quill: Curvewright"),
                              quill,    Q("7.x.x.x"),     "UDF008",
                              "UDF009", "UDF011"};
        if (!ApplicationAccepted(ini, h, shownPath)) {
            return false;
        }
        FileVersion = ini.ReadString(quill, Q("Version"), QString()).trimmed();
        if (!VersionSupported(h, shownPath, FileVersion) ||
            !OlderLayoutAccepted(Q("UDF010"), quill, shownPath, FileVersion) ||
            !readCount(quill, h.CountMsgKey)) {
            return false;
        }
        PB_Count = ProgressCount(ini, quill, SD_Count);
        IsQuillFormat = true;
    } else if (ini.SectionExists(datafile::OldRoot() + Q("\\DAT"))) {
        const QString product = datafile::OldRoot();
        const TLayoutHeader h{product + Q("\\DAT"), Q("Product"), product,  product,
                              Q("2.x.x.x"),         "UDF012",     "UDF013", "UDF015"};
        if (!ApplicationAccepted(ini, h, shownPath)) {
            return false;
        }
        FileVersion = ini.ReadString(h.Section, Q("Version"), QString()).trimmed();
        if (!VersionSupported(h, shownPath, FileVersion) ||
            !OlderLayoutAccepted(Q("UDF014"), product, shownPath, FileVersion)) {
            return false;
        }
        int count = 0;
        while (datafile::OldDefinitionExists(ini, count + 1)) {
            ++count;
        }
        SD_CountFound = count;
        if (!CountAccepted(h.CountMsgKey, shownPath, count)) {
            return false;
        }
        SD_Count = count;
        PB_Count = 13 * SD_Count;
        for (int n = 1; n <= SD_Count; ++n) {
            PB_Count += datafile::CountFilterRowsOld(ini, n, datafile::MaxFilterRows);
        }
        IsOldFormat = true;
    } else {
        datafile::WarnClose(Q("UDF016"),
                            {UIT(txt::UnableToOpenFollowingData), QString(), shownPath}, 1220);
        return false;
    }
    return true;
}

bool TovDF::LoadInto(const TIniDocument& ini, TovSDs& list, const QString& path) {
    UnreadRows.clear();
    const auto step = [this] { ProgressStep(); };
    try {
        ProgressStart(PB_Count);
        for (int n = 1; n <= SD_Count; ++n) {
            TovSD& item = *list.getItems(list.Add());
            int unread = 0;
            if (IsOldFormat) {
                datafile::ReadDescriptionOld(ini, item, n);
                step();
                item.PD->Reset();
                step();
                datafile::ReadSCFOld(ini, *item.SCF, n);
                step();
                datafile::ReadSCOOld(ini, *item.SCO, n);
                step();
                datafile::ReadDSMOld(ini, *item.DSM, n, step);
                unread = datafile::ReadDSFOld(ini, *item.DSF, n, step);
            } else {
                const QString sd = datafile::DefinitionSection(
                    IsQuillFormat ? datafile::QuillRoot() : datafile::TesselRoot(), n);
                datafile::ReadDescription(ini, item, sd);
                step();
                datafile::ReadPD(ini, *item.PD, sd);
                step();
                datafile::ReadSCF(ini, *item.SCF, sd);
                step();
                datafile::ReadSCO(ini, *item.SCO, sd);
                step();
                if (IsQuillFormat) {
                    datafile::ReadDSMQuill(ini, *item.DSM, sd, step);
                } else {
                    datafile::ReadDSM(ini, *item.DSM, sd, step);
                }
                unread = datafile::ReadDSF(ini, *item.DSF, sd, IsTesselFormat, step);
            }
            if (unread > 0) {
                UnreadRows.emplace_back(n, unread);
            }
        }
        ProgressEnd();
        IsPartial = SD_CountFound > SD_Count || !UnreadRows.empty();
        return true;
    } catch (const std::exception& e) {
        ProgressEnd();
        const char* key = IsOldFormat ? "UDF019" : (IsQuillFormat ? "UDF018" : "UDF017");
        QStringList lines = {UIT(txt::FollowingDataFileCould), QString(), path, QString()};
        lines << datafile::DetailsLines(ExceptionMessage(e));
        datafile::WarnClose(Q(key), lines, 1210);
        return false;
    }
}

void TovDF::TakeOver(std::unique_ptr<TovSDs> list, bool sample) {
    // The global list keeps its identity: the definitions read are copied into it.
    if (SDs == nullptr) {
        SDs = list.release();
    } else {
        SDs->Clear();
        for (int n = 1; n <= list->getCount(); ++n) {
            TovSDs::CopySettings(*list->getItems(n), *SDs->getItems(SDs->Add()));
        }
    }
    RepaintSDs();
    Modified = DV != nullptr && SDs->ValidateSDsAfterLoad(sample && IsTesselFormat);
    // What the file holds beyond the readable limits is listed with the repairs.
    if (DV != nullptr && (SD_CountFound > SD_Count || !UnreadRows.empty())) {
        for (const auto& [n, rows] : UnreadRows) {
            for (int j = datafile::MaxFilterRows + 1; j <= datafile::MaxFilterRows + rows; ++j) {
                DV->AddDFVErr(n, Format(UIT(txt::IDFilterRow), {j}),
                              Format(UIT(txt::RowWasNotReadKRV), {datafile::MaxFilterRows}));
            }
        }
        if (SD_CountFound > SD_Count) {
            DV->AddDFVErr(SD_Count, Format(UIT(txt::KRVDefinitionsFound), {SD_CountFound}),
                          UIT(txt::ExtraKRVDefinitions) + QLatin1Char(' ') +
                              Format(UIT(txt::MaximumKRVDefinitions), {datafile::MaxDefinitions}));
        }
        FillErrListBox(LB_DFVErr(), DV->getDFVErrCount());
    }
}

bool TovDF::OpenDataFile(const QString& path, bool sample) {
    // Blanks at the ends belong to the name: "a.krvc " is another file than "a.krvc".
    const QString& shownPath = path;
    CheckBackupExtension(path);
    if (IsBackup) {
        if (datafile::AskYesNo(Q("UDF001"),
                               {UIT(txt::FollowingDataFileIsBackup), QString(), shownPath,
                                QString(), UIT(txt::ChangesCannotBeSavedToDataFile_1307), QString(),
                                UIT(txt::DoYouWishToOpenDataFileReadOnly_1308)},
                               1207, 1208) != mrYes) {
            RestoreState();
            return false;
        }
    } else if (modelutil::FileExistsChecked(shownPath) && FileIsReadOnly(shownPath)) {
        if (datafile::AskYesNo(Q("UDF002"),
                               {UIT(txt::FollowingDataFileIsRead), QString(), shownPath, QString(),
                                UIT(txt::ChangesCannotBeSavedToDataFile), QString(),
                                UIT(txt::DoYouWishToOpenDataFileReadOnly)},
                               1205, 1206) != mrYes) {
            RestoreState();
            return false;
        }
    }
    try {
        if (AD != nullptr) {
            AD->MessageLog.clear();
        }
        const TIniDocument ini(shownPath);
        if (!DetectDataFileFormat(ini, shownPath)) {
            ProgressEnd();
            RepaintSDs();
            RestoreState();
            return false;
        }
        // The definitions are read into a list of their own and replace the open ones only
        // when the whole file was read.
        auto list = std::make_unique<TovSDs>();
        if (!LoadInto(ini, *list, shownPath)) {
            RestoreState();
            return false;
        }
        TakeOver(std::move(list), sample);
        return true;
    } catch (const std::exception& e) {
        ProgressEnd();
        QStringList lines = {UIT(txt::FollowingDataFileCould), QString(), shownPath, QString()};
        lines << datafile::DetailsLines(ExceptionMessage(e));
        datafile::WarnClose(Q("UDF003"), lines, 1210);
        RestoreState();
        return false;
    }
}
