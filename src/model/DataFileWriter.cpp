// Writing the data file: the header and every definition's sections into a temporary file
// beside the data file, the backup copies, then the rename into place.
#include "model/ovDF.h"

#include "model/DataFileBackup.h"
#include "model/DataFileHost.h"
#include "model/DataFileMessages.h"
#include "model/DataFileSections.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/FileWrite.h"
#include "platform/Format.h"
#include "services/INI_Utils.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QFile>

namespace datafile {

void WriteHeader(TIniDocument& ini, int pbCount, int sdCount) {
    const QString root = TesselRoot();
    ini.WriteString(root, QStringLiteral("Application"),
                    QStringLiteral("Ovik KRV Tessel: Curvewright"));
    ini.WriteString(root, QStringLiteral("Version"), ProgramVersion());
    ini.WriteString(root, QStringLiteral("Author"), QStringLiteral("Tarrow Studio"));
    ini.WriteString(root, QStringLiteral("Legal_1"),
                    platform::Format(UIT(txt::CopyrightCTarrowStudio), {LegalYears()}));
    ini.WriteString(root, QStringLiteral("Legal_2"), UIT(txt::AllRightsReserved));
    ini.WriteInteger(root, QStringLiteral("PB_Count"), pbCount);
    ini.WriteInteger(root, QStringLiteral("SD_Count"), sdCount);
}

void WriteDefinitions(TIniDocument& ini, const TovSDs& list, const TStep& step) {
    int pbCount = 0;
    for (int n = 1; n <= list.getCount(); ++n) {
        pbCount += 13 + list.getItems(n)->DSF->getCount();
    }
    WriteHeader(ini, pbCount, list.getCount());
    for (int n = 1; n <= list.getCount(); ++n) {
        const TovSD& item = *list.getItems(n);
        const QString sd = DefinitionSection(TesselRoot(), n);
        WriteDescription(ini, item, sd);
        step();
        WritePD(ini, *item.PD, sd);
        step();
        WriteSCF(ini, *item.SCF, sd);
        step();
        WriteSCO(ini, *item.SCO, sd);
        step();
        WriteDSM(ini, *item.DSM, sd, step);
        WriteDSF(ini, *item.DSF, sd, step);
    }
}

} // namespace datafile

bool TovDF::SaveDataFile(bool backup) {
    return WriteDataFile(getDPFE(), backup);
}

bool TovDF::WriteDataFile(const QString& path, bool backup) {
    const TState state = CaptureState();
    try {
        PB_Count = 0;
        const int count = SDs != nullptr ? SDs->getCount() : 0;
        for (int n = 1; n <= count; ++n) {
            PB_Count += 13 + SDs->getItems(n)->DSF->getCount();
        }
        ProgressStart(PB_Count);
        // Through a symbolic link the file it names is replaced and the link stays; the backups
        // go beside that file.
        const platform::SaveTarget target = platform::resolveSaveTarget(path);
        if (target.failed()) {
            throw platform::Exception(target.path + QStringLiteral(": ") + target.errorText);
        }
        // A device or a FIFO under the name is refused before anything is written.
        datafile::CheckReplaceable(target.path);
        // The new contents go to a temporary file first: a failure leaves the data file and
        // its backups as they were.
        platform::SaveTemp temp(target.path);
        TIniDocument ini;
        if (SDs != nullptr) {
            datafile::WriteDefinitions(ini, *SDs, [this] { ProgressStep(); });
        } else {
            datafile::WriteHeader(ini, 0, 0);
        }
        QFile file(temp.path());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
            !platform::writeAll(file, ini.ToBytes())) {
            throw platform::Exception(file.errorString());
        }
        file.close();
        if (backup && (Preferences == nullptr || Preferences->getBackupDF())) {
            datafile::BackupDataFile(target.path,
                                     Preferences != nullptr && Preferences->getIncBackup());
        }
        datafile::ReplaceFile(temp, target.path);
        Modified = false;
        ProgressEnd();
        return true;
    } catch (const std::exception& e) {
        ProgressEnd();
        QString details;
        if (const auto* p = dynamic_cast<const platform::Exception*>(&e)) {
            details = p->message();
        } else {
            details = QString::fromLocal8Bit(e.what());
        }
        datafile::WarnNotSaved(path, details);
        ApplyState(state);
        return false;
    }
}
