#include "excel/Automation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Whole numbers are written as integers: the text must stay that of "%.15g" up to the last
// whole number with 15 digits, and beyond it.
TEST(ValueText, WholeNumbersAreWrittenAsIntegers) {
    std::vector<double> values = {1.0,
                                  -1.0,
                                  9.0,
                                  10.0,
                                  -10.0,
                                  46027.0,
                                  -693594.0,
                                  2958465.0,
                                  999999999999999.0,
                                  -999999999999999.0,
                                  1e15,
                                  -1e15,
                                  1e15 + 2.0,
                                  9007199254740993.0,
                                  1e17,
                                  0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  999999999999999.5};
    unsigned long long state = 11;
    for (int i = 0; i < 2000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double magnitude = std::pow(10.0, static_cast<double>(i % 17));
        const double whole =
            std::trunc(static_cast<double>(state >> 11) / 9007199254740992.0 * magnitude * 9.99);
        values.push_back(i % 2 == 0 ? whole : -whole);
    }
    for (double v : values) {
        EXPECT_EQ(automation::valueToText(automation::Value(v)), QString::number(v, 'g', 15)) << v;
    }
}

} // namespace
