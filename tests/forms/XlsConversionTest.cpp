// An .xls workbook is converted by LibreOffice, which takes seconds: the progress window keeps
// painting meanwhile and its Cancel ends the conversion, leaving nothing behind. The checks wait
// for the conversion to have started (its marker, its folder) rather than for a time, so they
// hold however fast LibreOffice is.
#include "engine/ovProcess.h"
#include "model/ovSD.h"
#include "services/Progress.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services_ui/F_Progress.h"
#include "support/ConversionWatch.h"
#include "support/FakeStdDlg.h"
#include "support/LibreOffice.h"
#include "support/ProgramGlobals.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kTemplateXls =
    QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xls");
const QString kTemplateXlsx =
    QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xlsx");

// The processes whose command line names the folder.
QStringList ProcessesNaming(const QString& folder) {
    QStringList found;
    QDirIterator proc(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (proc.hasNext()) {
        QFile cmdline(proc.next() + QStringLiteral("/cmdline"));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(folder.toUtf8())) {
            found << proc.fileName();
        }
    }
    return found;
}

QStringList EntriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The program's objects, the progress window in use and the conversions' temporary folders in a
// folder of the test's own, where nothing else is.
class ConversionScene {
public:
    ConversionScene() : previousProgress_(Progress()), previousTemp_(qgetenv("TMPDIR")) {
        setProgress(&progress);
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
    }
    ~ConversionScene() {
        setProgress(previousProgress_);
        qputenv("TMPDIR", previousTemp_);
    }
    ConversionScene(const ConversionScene&) = delete;
    ConversionScene& operator=(const ConversionScene&) = delete;

    bool converting() const {
        return !QDir(temp.path()).entryList({QStringLiteral("krv-convert-*")}).isEmpty();
    }
    QString lastLine() const {
        const QStringList lines = progress.getLines();
        return lines.isEmpty() ? QString() : lines.last();
    }
    void cancel() { QTest::mouseClick(progress.BBtn_Cancel, Qt::LeftButton); }

    testsupport::ProgramGlobals globals;
    testsupport::FakeStdDlg dlg;
    TUF_Progress progress;
    QTemporaryDir temp;

private:
    IProgress* previousProgress_;
    QByteArray previousTemp_;
};

TEST(XlsConversion, ProgressWindowPaintsDuringTheConversionAndCancelLeavesNothingBehind) {
    ASSERT_TRUE(QFile::exists(kTemplateXls));
    testsupport::StandInOffice office;
    office.prepare(kTemplateXls, kTemplateXlsx);
    office.hold();
    ConversionScene scene;

    bool shown = false;
    bool converting = false;
    QString line;
    testsupport::ConversionWatch watch(office, scene.progress, [&](int, bool shownOnScreen) {
        shown = shownOnScreen;
        converting = scene.converting();
        line = scene.lastLine();
        scene.cancel();
    });
    const bool imported =
        Process->ImportWorksheetNames(UIT(txt::TemplateFile_752), kTemplateXls, QString(), 2);

    EXPECT_FALSE(imported);
    EXPECT_TRUE(converting) << "the window was not serviced while the workbook was converted";
    EXPECT_TRUE(shown) << "the step line and Cancel were not painted during the conversion";
    EXPECT_TRUE(line.contains(QStringLiteral("Opening"))) << line.toStdString();
    EXPECT_EQ(scene.dlg.keys(), Texts({"UP016"})) << "reported as cancelled by the user";
    EXPECT_TRUE(EntriesOf(scene.temp.path()).isEmpty())
        << EntriesOf(scene.temp.path()).join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(ProcessesNaming(scene.temp.path()).isEmpty()) << "the converter still runs";
}

// LibreOffice itself starts helper processes: Cancel ends every one of them. Cancel is pressed
// once the conversion is under way (its folder is there while the program waits for it).
TEST(XlsConversion, CancelEndsLibreOfficeWithEveryProcessItStarted) {
    if (!testsupport::LibreOfficeInstalled()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    ConversionScene scene;
    QString line;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (scene.converting() && line.isEmpty()) {
            line = scene.lastLine();
            scene.cancel();
        }
    });
    watch.start(20);
    const bool imported =
        Process->ImportWorksheetNames(UIT(txt::TemplateFile_752), kTemplateXls, QString(), 2);
    watch.stop();
    if (imported && line.isEmpty()) {
        GTEST_SKIP() << "LibreOffice converted before the window was serviced: nothing to cancel";
    }

    EXPECT_FALSE(imported);
    EXPECT_TRUE(line.contains(QStringLiteral("Opening"))) << line.toStdString();
    EXPECT_EQ(scene.dlg.keys(), Texts({"UP016"}));
    EXPECT_TRUE(EntriesOf(scene.temp.path()).isEmpty())
        << EntriesOf(scene.temp.path()).join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(ProcessesNaming(scene.temp.path()).isEmpty()) << "LibreOffice still runs";
}

} // namespace
