#include "WorkbookTestSupport.h"

#include "workbook/Application.h"

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
