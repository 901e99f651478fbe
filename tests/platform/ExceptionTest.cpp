#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(Exception, MessageCanBeChangedAndRaisedAgain) {
    try {
        try {
            throw platform::EAbort(QStringLiteral("first"));
        } catch (platform::Exception& e) {
            e.setMessage(QStringLiteral("context: ") + e.message());
            throw;
        }
    } catch (const platform::EAbort& e) {
        EXPECT_EQ(e.message(), QStringLiteral("context: first"));
        EXPECT_STREQ(e.what(), "context: first");
        return;
    }
    FAIL() << "the abort was not raised again as itself";
}

} // namespace
