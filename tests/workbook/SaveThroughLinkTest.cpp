#include "WorkbookTestSupport.h"

#include "support/NonRegularFiles.h"
#include "workbook/Application.h"
#include "workbook/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace workbook;

// Save As to a symbolic link writes the workbook the link names and keeps the link; a dangling
// link gets its workbook created.
TEST(SaveThroughLink, TheLinkStaysAndTheFileItNamesGetsTheWorkbook) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
    const QString real = dir.filePath(QStringLiteral("out/Report.xlsx"));
    QFile old(real);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the previous report");
    old.close();
    const QString link = dir.filePath(QStringLiteral("Report.xlsx"));
    const QString dangling = dir.filePath(QStringLiteral("New.xlsx"));
    ASSERT_TRUE(QFile::link(QStringLiteral("out/Report.xlsx"), link));
    ASSERT_TRUE(QFile::link(QStringLiteral("out/New.xlsx"), dangling));

    Application app;
    for (const QString& path : {link, dangling}) {
        const Workbook book = app.workbooks().open(wbtest::fixture("template.xlsx"));
        book.worksheets()
            .item(1)
            .range(QStringLiteral("A1"))
            .setValue(CellValue::text(QStringLiteral("saved")));
        book.saveAs(path);
        book.close();
        EXPECT_TRUE(QFileInfo(path).isSymLink()) << path.toStdString();
        const Workbook again = app.workbooks().open(QFileInfo(path).symLinkTarget());
        EXPECT_EQ(again.worksheets().item(1).range(QStringLiteral("A1")).value2(),
                  CellValue::text(QStringLiteral("saved")));
        again.close();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
              QStringList({QStringLiteral("New.xlsx"), QStringLiteral("Report.xlsx")}));
}

// A workbook saved over another keeps that file's mode; a FIFO under the name is refused and
// stays; the files a killed save left beside the workbook go with the next save.
TEST(SaveThroughLink, TheReplacedFileKeepsItsModeAndOnlyARegularFileIsReplaced) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.xlsx"));
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the previous report");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QString leftover = dir.filePath(QStringLiteral(".out.xlsx.krvsave-999999-0badc0de"));
    for (const QString& name : {leftover, leftover + QStringLiteral(".zip.Xy12Ab")}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString fifo = dir.filePath(QStringLiteral("pipe.xlsx"));
    ASSERT_EQ(testsupport::makeFifo(fifo), "");

    Application app;
    const Workbook book = app.workbooks().open(wbtest::fixture("template.xlsx"));
    EXPECT_THROW(book.saveAs(fifo), workbook::Error);
    EXPECT_EQ(testsupport::typeOf(fifo), mode_t(S_IFIFO));
    book.saveAs(out);
    book.close();
    EXPECT_EQ(testsupport::permissionsOf(out), 0600u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
              QStringList({QStringLiteral("out.xlsx"), QStringLiteral("pipe.xlsx")}));
}
