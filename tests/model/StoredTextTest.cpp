#include "model/ModelUtils.h"
#include "model/ovDSF.h"
#include "model/ovPD.h"

#include <gtest/gtest.h>

namespace {

// A stored value is one line of the data file: no setter may let a line break through.
TEST(StoredText, SettersJoinTheLinesOfAValue) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},      {"two\r\nlines", "two lines"}, {"a\n\n\nb", "a b"},
        {"cr\ronly", "cr only"}, {"\r\n edges \r\n", "edges"},
    };
    for (const auto& [value, stored] : cases) {
        EXPECT_EQ(modelutil::StoredText(QString::fromUtf8(value)), QString::fromUtf8(stored));
        TovPD pd;
        pd.setProjectTitle(QString::fromUtf8(value));
        EXPECT_EQ(pd.getProjectTitle(), QString::fromUtf8(stored)) << value;
    }
    // Filter values keep their blanks but not their line breaks.
    TovDSFx row;
    row.setTaskFldValueXL(QStringLiteral(" x\r\ny "));
    EXPECT_EQ(row.getTaskFldValueXL(), QStringLiteral(" x y "));
}

} // namespace
