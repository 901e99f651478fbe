// An .xls workbook is converted by LibreOffice, which takes seconds: the progress window keeps
// painting meanwhile and its Cancel ends the conversion, leaving nothing behind.
#include "engine/ovProcess.h"
#include "model/ovSD.h"
#include "services/Progress.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services_ui/F_Progress.h"
#include "support/FakeStdDlg.h"
#include "support/LibreOffice.h"
#include "support/ProgramGlobals.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

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

// Whether a picture holds more than one colour (the window has drawn something).
bool HasContent(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                return true;
            }
        }
    }
    return false;
}

TEST(XlsConversion, ProgressWindowPaintsDuringTheConversionAndCancelLeavesNothingBehind) {
    if (!testsupport::LibreOfficeInstalled()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    const QString workbook =
        QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xls");
    ASSERT_TRUE(QFile::exists(workbook));
    testsupport::ProgramGlobals globals;
    testsupport::FakeStdDlg dlg;
    TUF_Progress progress;
    IProgress* previousProgress = Progress();
    setProgress(&progress);
    // The conversion's temporary folder is made here, where nothing else is.
    QTemporaryDir temp;
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));

    // Mid-conversion: what the window shows, then the user's Cancel.
    bool converting = false;
    QStringList lines;
    QImage shot;
    QTimer::singleShot(1500, &progress, [&] {
        converting = !QDir(temp.path()).entryList({QStringLiteral("krv-convert-*")}).isEmpty();
        lines = progress.getLines();
        shot = progress.grab().toImage();
        QTest::mouseClick(progress.BBtn_Cancel, Qt::LeftButton);
    });
    const bool imported =
        Process->ImportWorksheetNames(UIT(txt::TemplateFile_752), workbook, QString(), 2);

    setProgress(previousProgress);
    qputenv("TMPDIR", previousTemp);
    EXPECT_FALSE(imported);
    EXPECT_TRUE(converting) << "the window was not serviced while LibreOffice converted";
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains(QStringLiteral("Opening"))) << lines.last().toStdString();
    EXPECT_TRUE(HasContent(shot));
    EXPECT_EQ(dlg.keys(), Texts({"UP016"})) << "reported as cancelled by the user";
    EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        << QDir(temp.path())
               .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
               .join(QLatin1Char(' '))
               .toStdString();
    EXPECT_TRUE(ProcessesNaming(temp.path()).isEmpty()) << "LibreOffice still runs";
}

} // namespace
