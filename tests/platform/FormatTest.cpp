#include "platform/Format.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

using platform::Format;
using platform::FormatArg;

namespace {

struct FormatCase {
    const char* format;
    std::vector<FormatArg> args;
    const char* expected;
};

QString formatVector(const QString& format, const std::vector<FormatArg>& args) {
    switch (args.size()) {
    case 0:
        return Format(format, {});
    case 1:
        return Format(format, {args[0]});
    case 2:
        return Format(format, {args[0], args[1]});
    case 3:
        return Format(format, {args[0], args[1], args[2]});
    default:
        return Format(format, {args[0], args[1], args[2], args[3]});
    }
}

TEST(Format, FormatsEachSpecifier) {
    const std::vector<FormatCase> cases = {
        {"plain text", {}, "plain text"},
        {" %s ", {"Label"}, " Label "},
        {"%d of %d", {3, 12}, "3 of 12"},
        {"%d", {-42}, "-42"},
        {" [%.1d] %s ", {7, "Step"}, " [7] Step "},
        {" [%.2d] %s ", {7, "Step"}, " [07] Step "},
        {" [%.3d] %s ", {42, "Step"}, " [042] Step "},
        {" [%.2d] %s ", {1234, "Step"}, " [1234] Step "},
        {"%.3d", {-5}, "-005"},
        {"%x", {255}, "FF"},
        {"%.8x", {0x800A03EC}, "800A03EC"},
        {"%.8x", {-2146827284}, "800A03EC"},
        {"%n", {1234.5}, "1,234.50"},
        {"%n", {-1234567.891}, "-1,234,567.89"},
        {"%n", {0.0}, "0.00"},
        {"%n", {-0.001}, "0.00"},
        {"%.0n", {999999.6}, "1,000,000"},
        {"%f", {2.5}, "2.50"},
        {"%.1f", {2.25}, "2.3"},
        {"100%%", {}, "100%"},
        {"%d%%", {50}, "50%"},
        {"%1:s %0:s", {"world", "hello"}, "hello world"},
        {"%0:s-%s-%s", {"a", "b", "c"}, "a-b-c"},
        {"%1:s %s", {"a", "b", "c"}, "b c"},
        {"%5s|%-5s|", {"ab", "cd"}, "   ab|cd   |"},
        {"%.2s", {"abcdef"}, "ab"},
        {"%*d", {4, 7}, "   7"},
        {"%u", {-1}, "4294967295"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%g", {0.5}, "0.5"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatVector(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected))
            << "format: " << c.format;
    }
}

TEST(Format, RejectsMismatchedOrMissingArguments) {
    const std::vector<FormatCase> cases = {
        {"%d", {"text"}, ""}, {"%s", {5}, ""}, {"%s %s", {"one"}, ""}, {"%d", {2.5}, ""},
        {"%", {}, ""},        {"%q", {1}, ""}, {"%3:s", {"a"}, ""},    {"%.", {1}, ""},
    };
    for (const FormatCase& c : cases) {
        EXPECT_THROW(formatVector(QString::fromUtf8(c.format), c.args), platform::Exception)
            << "format: " << c.format;
    }
}

} // namespace
