// The desktop's shell over a scripted opener: an xdg-open of the test's own on the PATH that
// records what it was given and ends with the exit status the test chose.
#include "platform/Shell.h"
#include "platform_ui/Desktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

class DesktopShell : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bin.isValid());
        previousPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        shell = platform::MakeDesktopShell();
    }
    void TearDown() override { qputenv("PATH", previousPath); }

    // An opener that appends its argument to a record and ends with the exit status.
    void installOpener(int exitStatus) {
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nexit %2\n")
                         .arg(record(), QString::number(exitStatus))
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QString record() const { return bin.filePath(QStringLiteral("opened.txt")); }
    QStringList recorded() const {
        QFile file(record());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Opens the target and waits, bounded, until the opener has run and its answer is in.
    std::optional<QString> open(const QString& target) {
        std::optional<QString> failure;
        const qsizetype expected = recorded().size() + 1;
        shell->open(target, [&](const QString& reason) { failure = reason; });
        const QDeadlineTimer limit(10000);
        while (!failure && recorded().size() < expected && !limit.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        // The opener's end reaches the shell through the event loop.
        const QDeadlineTimer settle(500);
        while (!failure && !settle.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return failure;
    }

    QTemporaryDir bin;
    QByteArray previousPath;
    std::unique_ptr<platform::Shell> shell;
};

TEST_F(DesktopShell, OpenerReceivesAbsolutePathsAndWebAddresses) {
    installOpener(0);
    const QString manual = QStringLiteral("/opt/krv/User_Manual/User Manual.pdf");
    const QString site = QStringLiteral("https://example.org/krv");
    EXPECT_EQ(open(manual), std::nullopt);
    EXPECT_EQ(open(site), std::nullopt);
    EXPECT_EQ(recorded(), QStringList({manual, site}));
}

TEST_F(DesktopShell, OpenerThatFailsIsToldWithItsReason) {
    const struct {
        int exitStatus;
        const char* reason;
    } cases[] = {
        {3, "no program to open it"},
        {4, "failed to open it"},
        {2, "found no such file"},
        {9, "exit code 9"},
    };
    for (const auto& c : cases) {
        installOpener(c.exitStatus);
        const std::optional<QString> failure = open(QStringLiteral("/data/plan.xlsx"));
        ASSERT_TRUE(failure.has_value()) << "exit status " << c.exitStatus;
        EXPECT_TRUE(failure->contains(QString::fromLatin1(c.reason))) << failure->toStdString();
    }
}

TEST_F(DesktopShell, WithoutAnOpenerTheFailureIsToldAtOnce) {
    std::optional<QString> failure;
    shell->open(QStringLiteral("/data/plan.xlsx"),
                [&](const QString& reason) { failure = reason; });
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains(QStringLiteral("xdg-open"))) << failure->toStdString();
    EXPECT_TRUE(failure->contains(QStringLiteral("xdg-utils")));
}

} // namespace
