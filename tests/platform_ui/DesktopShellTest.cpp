// The desktop's shell over a scripted opener: an xdg-open of the test's own on the PATH that
// records what it was given and ends with the exit status the test chose.
#include "platform/Shell.h"
#include "platform_ui/Desktop.h"
#include "support/StandInOpener.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

class DesktopShell : public testing::Test {
protected:
    // Opens the target and waits, bounded, until the opener has ended and the shell has heard of
    // its end.
    std::optional<QString> open(const QString& target) {
        std::optional<QString> failure;
        const qsizetype expected = opener.opened().size() + 1;
        shell->open(target, [&](const QString& reason) { failure = reason; });
        EXPECT_TRUE(opener.waitUntilEnded(expected)) << "the opener did not end";
        return failure;
    }

    // The PATH holds the stand-in alone: without it there is no opener.
    testsupport::StandInOpener opener{true};
    std::unique_ptr<platform::Shell> shell = platform::MakeDesktopShell();
};

TEST_F(DesktopShell, OpenerReceivesAbsolutePathsAndWebAddresses) {
    const QString manual = QStringLiteral("/opt/krv/User_Manual/User Manual.pdf");
    const QString site = QStringLiteral("https://example.org/krv");
    EXPECT_EQ(open(manual), std::nullopt);
    EXPECT_EQ(open(site), std::nullopt);
    EXPECT_EQ(opener.opened(), QStringList({manual, site}));
}

TEST_F(DesktopShell, OpenerThatFailsIsToldWithItsReason) {
    const struct {
        int exitStatus;
        int pauseMs; // a busy desktop's opener takes its time
        const char* reason;
    } cases[] = {
        {3, 0, "no program to open it"}, {4, 0, "failed to open it"},
        {4, 1500, "failed to open it"},  {2, 0, "found no such file"},
        {9, 0, "exit code 9"},
    };
    for (const auto& c : cases) {
        opener.install(c.exitStatus, c.pauseMs);
        const std::optional<QString> failure = open(QStringLiteral("/data/plan.xlsx"));
        ASSERT_TRUE(failure.has_value())
            << "exit status " << c.exitStatus << " after " << c.pauseMs << " ms";
        EXPECT_TRUE(failure->contains(QString::fromLatin1(c.reason))) << failure->toStdString();
    }
}

TEST_F(DesktopShell, WithoutAnOpenerTheFailureIsToldAtOnce) {
    opener.remove();
    std::optional<QString> failure;
    shell->open(QStringLiteral("/data/plan.xlsx"),
                [&](const QString& reason) { failure = reason; });
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains(QStringLiteral("xdg-open"))) << failure->toStdString();
    EXPECT_TRUE(failure->contains(QStringLiteral("xdg-utils")));
}

} // namespace
