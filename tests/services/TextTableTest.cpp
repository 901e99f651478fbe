#include "services/IndexRange.h"
#include "services/ovUIL.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

namespace {

using testsupport::messageBoxes;

TEST(TextTable, EnglishTextsAreFilledByIdAndStoredTrimmed) {
    TovUIL* english = UILs->getItems(0);
    EXPECT_EQ(english->getName(), QStringLiteral("English"));
    EXPECT_EQ(english->getUIT(1), QStringLiteral("Version %s"));
    EXPECT_EQ(english->getUIT(820), QStringLiteral("Sample"));
    EXPECT_EQ(english->getUIT(1420), QStringLiteral("%s Index is invalid."));
    EXPECT_EQ(english->getUIT(1619), QStringLiteral("Index Value: %d."));
    // Ids that no text list names hold the empty text, without a message.
    EXPECT_EQ(english->getUIT(2), QString());
    EXPECT_EQ(english->getUIT(0), QString());
    for (int id = 1; id <= TovUIL::MaxId; ++id) {
        const QString text = english->getUIT(id);
        EXPECT_EQ(text, TrimControl(text)) << "id " << id;
    }
    EXPECT_TRUE(messageBoxes().shown.empty());
}

TEST(TextTable, OutOfRangeIdsShowTheRangeMessageAndGiveEmptyText) {
    TovUIL* english = UILs->getItems(0);
    for (int id : {-1, 1620}) {
        messageBoxes().shown.clear();
        EXPECT_EQ(english->getUIT(id), QString()) << id;
        ASSERT_EQ(messageBoxes().shown.size(), 1u) << id;
        EXPECT_TRUE(
            messageBoxes().shown[0].text.contains(QStringLiteral("Valid Range: 0 to 1619.")));
    }
    messageBoxes().shown.clear();
    EXPECT_EQ(UILs->getItems(1), english);
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_TRUE(messageBoxes().shown[0].text.startsWith(QStringLiteral("UIL.getItems Index")));
}

TEST(TextTable, SetTextTrimsAndIgnoresBadIds) {
    TovUIL language;
    language.setUIT(5, QStringLiteral(" \t padded\r\n"));
    EXPECT_EQ(language.getUIT(5), QStringLiteral("padded"));
    language.setUIT(5, QStringLiteral("padded"));
    EXPECT_EQ(language.getUIT(5), QStringLiteral("padded"));
    language.setUIT(1700, QStringLiteral("lost"));
    EXPECT_EQ(messageBoxes().shown.size(), 1u);
    language.setName(QStringLiteral("  Name "));
    EXPECT_EQ(language.getName(), QStringLiteral("Name"));
    EXPECT_EQ(TrimControl(QStringLiteral("\x01 a b \x1f")), QStringLiteral("a b"));
}

TEST(IndexRange, ReportsNameRangeAndValueInThreeParagraphs) {
    EXPECT_FALSE(CheckIndexRange(4, 1, 4, QStringLiteral("SDs.getItems")));
    EXPECT_TRUE(messageBoxes().shown.empty());
    EXPECT_TRUE(CheckIndexRange(5, 1, 4, QStringLiteral("SDs.getItems")));
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_EQ(messageBoxes().shown[0].kind, platform::MessageBoxKind::Error);
    EXPECT_EQ(messageBoxes().shown[0].text,
              QStringLiteral("SDs.getItems Index is invalid.\r\n\r\nValid Range: 1 to 4.\r\n\r\n"
                             "Index Value: 5."));
}

} // namespace
