// The progress window of a run on the real X server, where the window manager frames and maps a
// window in its own time: here only once the run's first .xls conversion has begun. The window
// still shows its step line and Cancel during that conversion and every later one.
#include "DesktopSupport.h"

#include "engine/ovProcess.h"
#include "model/ovDF.h"
#include "model/ovSCF.h"
#include "model/ovSD.h"
#include "services/Progress.h"
#include "services_ui/F_Progress.h"
#include "support/ConversionWatch.h"
#include "support/FakeStdDlg.h"
#include "support/ProgramGlobals.h"
#include "workbook/CompoundFileTestWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

using namespace desktopsupport;

TEST(ConversionOnTheDesktop, EveryConversionOfARunRunsInAPaintedProgressWindow) {
    if (!onRealDisplay()) {
        GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
    }
    const QString templateXls =
        QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xls");
    QTemporaryDir work;
    const QString dataSource = work.filePath(QStringLiteral("Tasks.xls"));
    {
        // Only the stand-in converter reads it: a workbook container is all it takes.
        QFile file(dataSource);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            testsupport::writeTestCompoundFile({{QStringLiteral("Workbook"), QByteArray(6000, 0)}})
                .bytes);
    }
    testsupport::StandInOffice office;
    office.prepare(dataSource, QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.xlsx"));
    office.prepare(templateXls,
                   QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xlsx"));
    office.hold();

    testsupport::ProgramGlobals globals;
    testsupport::FakeStdDlg dlg;
    TUF_Progress progress;
    IProgress* previousProgress = Progress();
    setProgress(&progress);
    const QString dataFile = work.filePath(QStringLiteral("run.krvc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.krvc"), dataFile));
    ASSERT_TRUE(DF->OpenDataFile(dataFile, false));
    SDs->setActiveSD(1);
    TovSCF& files = *SDs->getItems(1)->SCF;
    files.setDSF_DrivePathFilenameExtnXL(dataSource);
    files.setTF_DrivePathFilenameExtnXL(templateXls);
    files.setOF_DrivePathFilenameExtnXL(work.filePath(QStringLiteral("Output.xlsx")));

    HeldWindowManager windowManager;
    ASSERT_TRUE(windowManager.held()) << "no window manager on this display";
    std::map<int, std::pair<bool, QString>> conversions;
    testsupport::ConversionWatch watch(
        office, progress,
        [&](int conversion, bool shown) {
            const QStringList lines = progress.getLines();
            conversions[conversion] = {shown, lines.isEmpty() ? QString() : lines.last()};
            office.release(conversion);
        },
        [&](int) { windowManager.letGo(); });
    const bool ran = Process->Run(1);
    setProgress(previousProgress);

    EXPECT_TRUE(ran) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    ASSERT_GE(conversions.size(), 2u);
    const struct {
        int conversion;
        const char* step;
    } expected[] = {{1, "Opening the Data Source File"}, {2, "Opening the Template File"}};
    for (const auto& e : expected) {
        const auto& [shown, line] = conversions[e.conversion];
        EXPECT_TRUE(shown) << "conversion " << e.conversion << " ran in an unpainted window";
        EXPECT_TRUE(line.contains(QLatin1String(e.step))) << line.toStdString();
    }
}

} // namespace
