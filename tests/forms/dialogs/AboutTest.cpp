#include "forms/dialogs/AboutRows.h"
#include "forms/dialogs/F_About.h"
#include "support/FakeMessageBox.h"
#include "support/FakeShell.h"

#include <gtest/gtest.h>

namespace {

const TAboutFacts kFacts{QStringLiteral("5.3.0.0"), QStringLiteral("Not Installed"),
                         QStringLiteral("Not Required")};

TEST(About, SixRowsWithTheirNamesAndValues) {
    const std::vector<TAboutRow> rows = AboutRows(kFacts);
    const int names[] = {195, 196, 202, 203, 206, 207};
    ASSERT_EQ(rows.size(), std::size(names));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].NameTextId, names[i]);
        EXPECT_EQ(rows[i].IsLink, i == 5);
    }
    EXPECT_EQ(rows[0].Value, QStringLiteral("Ovik KRV Tessel: Curvewright"));
    EXPECT_EQ(rows[1].Value, kFacts.Version);
    EXPECT_EQ(rows[2].Value, kFacts.ExcelVersion);
    EXPECT_EQ(rows[3].Value, kFacts.CompatibilityPack);
    EXPECT_TRUE(rows[4].Value.startsWith(QStringLiteral("Copyright (c) ")));
    EXPECT_TRUE(rows[4].Value.endsWith(QStringLiteral(" Tarrow Studio. All rights reserved.")));
    EXPECT_FALSE(rows[4].Value.contains(QStringLiteral("%s")));
    EXPECT_EQ(rows[5].Value, MakerWebsite());
}

TEST(About, WindowShowsFramedRowsAndOnlyTheWebsiteValueOpens) {
    testsupport::ScopedFakeShell shell;
    const QStringList& opened = shell.Opened;
    {
        TUF_About window;
        window.FillRows(kFacts);
        EXPECT_EQ(window.windowTitle(), QStringLiteral(" Ovik KRV Tessel: About "));
        EXPECT_EQ(window.cellText(0, 1), QStringLiteral(" Application "));
        EXPECT_EQ(window.cellText(1, 3), QStringLiteral(" Not Installed "));
        EXPECT_EQ(window.cellText(0, 6), QStringLiteral(" Website "));
        window.CellClick(0, 6);
        window.CellClick(1, 5);
        EXPECT_TRUE(opened.isEmpty());
        window.CellClick(1, 6);
        window.LogoClick();
        EXPECT_EQ(opened, QStringList({MakerWebsite(), MakerWebsite()}));
        EXPECT_TRUE(testsupport::messageBoxes().shown.empty()) << "no index range report";
    }
}

} // namespace
