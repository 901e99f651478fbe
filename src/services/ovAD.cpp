#include "ovAD.h"

#include "ovUIL.h"
#include "platform/Format.h"
#include "platform/Version.h"
#include "services/TextIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TovAD* AD = nullptr;

int DlgTextHeight = 13;
int DlgAvgCharWidth = 6;
int DlgImageWidth = 22;
int DlgImageHeight = 21;
int DlgSmallBtnMargin = 8;
int DlgBBtnMargin = 11;
int DlgSBtnMargin = 11;

namespace {

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

} // namespace

QString TovAD::DefaultProgramFolder() {
    // Installed: <prefix>/bin/<program> beside <prefix>/share/ovik-krv-tessel; the build tree is
    // laid out the same way.
    const QString exeDir = QCoreApplication::instance() != nullptr
                               ? QCoreApplication::applicationDirPath()
                               : QDir::currentPath();
    return withSlash(QDir::cleanPath(exeDir + QStringLiteral("/../share/ovik-krv-tessel")));
}

TovAD::TovAD(const QString& programFolder, const TDialogFontSize& dialogFont)
    : ProgramFolder(programFolder.isEmpty() ? DefaultProgramFolder() : withSlash(programFolder)) {
    Init(dialogFont);
}

void TovAD::Init(const TDialogFontSize& dialogFont) {
    DlgAvgCharWidth = dialogFont.avgCharWidth;
    DlgTextHeight = dialogFont.textHeight;
    DlgImageWidth = 22;
    DlgImageHeight = 21;
    DlgSmallBtnMargin = DlgTextHeight + 8 < 21 ? 21 - DlgTextHeight : 8;
    DlgBBtnMargin = DlgTextHeight + 11 < 24 ? 24 - DlgTextHeight : 11;
    DlgSBtnMargin = DlgBBtnMargin;

    SampleFilename = UIT(txt::Sample) + QStringLiteral(".krvc");
    TutorialFilename =
        QStringLiteral("Ovik_KRV_Tessel_") + UIT(txt::Tutorial_821) + QStringLiteral(".pdf");
    UserManualFilename =
        QStringLiteral("Ovik_KRV_Tessel_") + UIT(txt::UserManual_822) + QStringLiteral(".pdf");
    WhitePaperFilename = UIT(txt::QuietSCurve) + QStringLiteral(".pdf");
    SampleDPFE = ProgramFolder + QStringLiteral("Samples/") + SampleFilename;
    TutorialDPFE = ProgramFolder + QStringLiteral("Tutorial/") + TutorialFilename;
    UserManualDPFE = ProgramFolder + QStringLiteral("User_Manual/") + UserManualFilename;
    WhitePaperDPFE = ProgramFolder + QStringLiteral("White_Paper/") + WhitePaperFilename;

    AddSD = false;
    RenameSD = false;
    CopySD = false;
    IsWin7 = true;
    IsVista = true;
    Version = platform::Format(QStringLiteral("%d.%d.%d.%d"),
                               {platform::kVersionMajor, platform::kVersionMinor,
                                platform::kVersionPatch, platform::kVersionTweak});
}

QString TovAD::getExePath() const {
    return ProgramFolder.trimmed();
}

QString TovAD::getExeName() const {
    const QString path = QCoreApplication::instance() != nullptr
                             ? QCoreApplication::applicationFilePath()
                             : QString();
    return QFileInfo(path).fileName().trimmed();
}

QString TovAD::getVersion() const {
    return Version.trimmed();
}

QString TovAD::getSamplePath() const {
    return folderOf(getSampleDPFE());
}
QString TovAD::getTutorialPath() const {
    return folderOf(getTutorialDPFE());
}
QString TovAD::getUserManualPath() const {
    return folderOf(getUserManualDPFE());
}
QString TovAD::getWhitePaperPath() const {
    return folderOf(getWhitePaperDPFE());
}

QString LegalYears() {
    return QStringLiteral("2013-2026");
}

bool IsWow64() {
    return false;
}
