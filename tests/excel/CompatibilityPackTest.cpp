#include "ExcelTestFixture.h"
#include "excel/ovOCP.h"

namespace {

TEST_F(ExcelTest, WarnsOnlyOldVersionsWithoutThePackAboutXlsx) {
    struct Case {
        const char* curVer;
        const char* pack; // nullptr: no value
        const char* path;
        bool dialogue;
    };
    const Case cases[] = {
        {"Excel.Application.12", nullptr, "/d/a.xlsx", false},
        {"Excel.Application.11", nullptr, "/d/a.XLSX", true},
        {"Excel.Application.11", nullptr, "/d/a.xls", false},
        {"Excel.Application.11", nullptr, "/d/noext", false},
        {"Excel.Application.11", "Compatibility Pack", "/d/a.xlsx", false},
        {"Excel.Application.11", "", "/d/a.xlsx", true},
        {"", nullptr, "/d/a.xlsx", false},
    };
    for (const Case& c : cases) {
        env->curVer = QString::fromUtf8(c.curVer);
        env->packName = c.pack == nullptr ? QString() : QString::fromUtf8(c.pack);
        if (c.pack != nullptr && env->packName.isNull()) {
            env->packName = QLatin1String("");
        }
        TovXL layer;
        XL = &layer;
        TovOCP ocp;
        dialogue.shown.clear();
        dialogue.answers = {mrCancel};
        const bool cancelled =
            ocp.WarnPackMissing(QStringLiteral("Data Source File"), QString::fromUtf8(c.path));
        EXPECT_EQ(cancelled, c.dialogue) << c.curVer << " " << c.path;
        EXPECT_EQ(dialogue.shown.size(), c.dialogue ? 1u : 0u) << c.curVer << " " << c.path;
        if (c.dialogue) {
            EXPECT_EQ(dialogue.shown[0].key, QStringLiteral("UOCP002"));
            EXPECT_EQ(dialogue.shown[0].lines[0],
                      QStringLiteral("MS Excel 2003 requires the Office Compatibility Pack to open "
                                     "the following Data Source File."));
            dialogue.answers = {mrYes};
            EXPECT_FALSE(
                ocp.WarnPackMissing(QStringLiteral("Data Source File"), QString::fromUtf8(c.path)));
        }
        XL = nullptr;
    }
}

TEST_F(ExcelTest, PackProductNameAndDetectionFailure) {
    env->packName = QStringLiteral("Microsoft Office Compatibility Pack");
    TovOCP ocp;
    EXPECT_EQ(ocp.getProductName(), QStringLiteral("Microsoft Office Compatibility Pack"));
    EXPECT_TRUE(ocp.getFound());
    env->packFails = true;
    EXPECT_EQ(ocp.getProductName(), QStringLiteral("Not Installed"));
    EXPECT_FALSE(ocp.getFound());
    EXPECT_EQ(dialogue.keys(), QStringList{QStringLiteral("UOCP001")});
    EXPECT_EQ(ocp.getStoredProductName(), QStringLiteral("Microsoft Office Compatibility Pack"));
}

} // namespace
