#pragma once

// A stand-in for the desktop's opener (xdg-open), first on the PATH while it lives: it writes down
// what it was asked to open and ends with the exit status set, after a pause when one is set (as
// slow as a busy desktop's opener). A test waits for the opener to have ended, never for a time.
#include "support/Eventually.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testsupport {

class StandInOpener {
public:
    // `alone`: the PATH holds the stand-in's folder only, so that without the stand-in there is
    // no opener at all.
    explicit StandInOpener(bool alone = false) : previousPath_(qgetenv("PATH")) {
        const QByteArray folder = QFile::encodeName(bin_.path());
        qputenv("PATH", alone ? folder : folder + ':' + previousPath_);
        install(0);
    }
    ~StandInOpener() { qputenv("PATH", previousPath_); }
    StandInOpener(const StandInOpener&) = delete;
    StandInOpener& operator=(const StandInOpener&) = delete;

    void install(int exitStatus, int pauseMs = 0) {
        QFile script(bin_.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // The pause runs before the opener ends: what it was given is written down at once.
        script.write(QStringLiteral("#!/bin/sh\n"
                                    "printf '%s\\n' \"$1\" >> '%1'\n"
                                    "echo $$ >> '%2'\n"
                                    "%3"
                                    "exit %4\n")
                         .arg(file(kOpened), file(kPids),
                              pauseMs > 0 ? QStringLiteral("/bin/sleep %1\n").arg(pauseMs / 1000.0)
                                          : QString())
                         .arg(exitStatus)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void remove() { QFile::remove(bin_.filePath(QStringLiteral("xdg-open"))); }

    // What the openers started so far were asked to open, in order.
    QStringList opened() const { return lines(kOpened); }

    // Processes events until `count` openers have started and the last of them has ended, its
    // end seen by the program (its process is gone once the program has collected it).
    bool waitUntilEnded(qsizetype count, int timeoutMs = 30000) const {
        return Eventually(
            [&] {
                const QStringList pids = lines(kPids);
                return !pids.isEmpty() && pids.size() >= count &&
                       !QFileInfo::exists(QStringLiteral("/proc/") + pids.last());
            },
            timeoutMs);
    }

private:
    static constexpr const char* kOpened = "opened.txt";
    static constexpr const char* kPids = "pids.txt";

    QString file(const char* name) const { return bin_.filePath(QString::fromLatin1(name)); }
    QStringList lines(const char* name) const {
        QFile record(file(name));
        if (!record.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(record.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir bin_;
    QByteArray previousPath_;
};

} // namespace testsupport
