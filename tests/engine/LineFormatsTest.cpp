#include "engine/ovProcess.h"
#include "platform/Format.h"

#include <gtest/gtest.h>

namespace {

TEST(LineFormats, StepNumberWidthFollowsTheStepCount) {
    struct Case {
        int steps;
        const char* stepLine;
        const char* subLine;
    };
    const Case cases[] = {
        {0, " [%.1d] %s ", " [-] %s "},     {9, " [%.1d] %s ", " [-] %s "},
        {10, " [%.2d] %s ", " [--] %s "},   {99, " [%.2d] %s ", " [--] %s "},
        {100, " [%.3d] %s ", " [---] %s "}, {999, " [%.3d] %s ", " [---] %s "},
        {1000, " [%.2d] %s ", " [--] %s "}, {25000, " [%.2d] %s ", " [--] %s "},
    };
    TovProcess process;
    for (const Case& c : cases) {
        process.SetLineFormats(c.steps);
        EXPECT_EQ(process.getStepLineFormat(), QString::fromUtf8(c.stepLine)) << c.steps;
        EXPECT_EQ(process.getSubLineFormat(), QString::fromUtf8(c.subLine)) << c.steps;
    }
    process.SetLineFormats(150);
    EXPECT_EQ(platform::Format(process.getStepLineFormat(), {7, QStringLiteral("Extracting")}),
              QStringLiteral(" [007] Extracting "));
}

} // namespace
