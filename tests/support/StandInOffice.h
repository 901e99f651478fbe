#pragma once

// A stand-in for LibreOffice's soffice, first on the PATH while it lives, so that a test of an
// .xls workbook's conversion does not depend on how fast LibreOffice is. It converts an .xls
// workbook to .xlsx by copying the package the test prepared for it (told apart by the input's
// size), named as soffice names its output. Every conversion leaves a marker as it starts; while
// the stand-in is held, a conversion then waits until the test releases it, or until it is ended.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testsupport {

class StandInOffice {
public:
    StandInOffice() : previousPath_(qgetenv("PATH")) {
        QDir(folder_.path()).mkpath(QStringLiteral("outputs"));
        // Conversions are numbered from 1 in the order they start; mkdir makes the number
        // atomically.
        const QString script =
            QStringLiteral("#!/bin/sh\n"
                           "state='%1'\n"
                           "format= out= in=\n"
                           "while [ $# -gt 0 ]; do\n"
                           "  case \"$1\" in\n"
                           "    --convert-to) format=$2; shift ;;\n"
                           "    --outdir) out=$2; shift ;;\n"
                           "    -*) ;;\n"
                           "    *) in=$1 ;;\n"
                           "  esac\n"
                           "  shift\n"
                           "done\n"
                           "n=1\n"
                           "while ! mkdir \"$state/started-$n\" 2>/dev/null; do "
                           "n=$((n + 1)); done\n"
                           "if [ -e \"$state/held\" ]; then\n"
                           "  while [ ! -e \"$state/release-$n\" ]; do sleep 0.05; done\n"
                           "fi\n"
                           "prepared=\"$state/outputs/$(stat -c %s \"$in\").xlsx\"\n"
                           "if [ \"$format\" != xlsx ] || [ ! -f \"$prepared\" ]; then\n"
                           "  echo \"Error: no conversion of $in to $format prepared\"\n"
                           "  exit 1\n"
                           "fi\n"
                           "name=$(basename \"$in\")\n"
                           "mkdir -p \"$out\" && cp \"$prepared\" \"$out/${name%.*}.xlsx\"\n")
                .arg(folder_.path());
        QFile program(folder_.filePath(QStringLiteral("soffice")));
        EXPECT_TRUE(program.open(QIODevice::WriteOnly));
        program.write(script.toUtf8());
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(folder_.path()) + ':' + previousPath_);
    }
    ~StandInOffice() {
        qputenv("PATH", previousPath_);
        // Conversions still waiting are let go, so that nothing is left waiting for this test.
        QFile::remove(folder_.filePath(QStringLiteral("held")));
        for (int n = 1; n <= startedCount(); ++n) {
            release(n);
        }
    }
    StandInOffice(const StandInOffice&) = delete;
    StandInOffice& operator=(const StandInOffice&) = delete;

    // A conversion of xlsPath yields the package at xlsxPath. The inputs of one test must differ
    // in size.
    void prepare(const QString& xlsPath, const QString& xlsxPath) {
        const QString output =
            folder_.filePath(QStringLiteral("outputs/%1.xlsx").arg(QFileInfo(xlsPath).size()));
        ASSERT_FALSE(QFile::exists(output)) << "two inputs of the same size";
        ASSERT_TRUE(QFile::copy(xlsxPath, output)) << xlsxPath.toStdString();
    }

    // Held, every conversion waits until released (one never released waits until ended).
    void hold() {
        QFile marker(folder_.filePath(QStringLiteral("held")));
        EXPECT_TRUE(marker.open(QIODevice::WriteOnly));
    }
    // The number of conversions started so far.
    int startedCount() const {
        return int(QDir(folder_.path())
                       .entryList({QStringLiteral("started-*")}, QDir::Dirs | QDir::NoDotAndDotDot)
                       .size());
    }
    // Lets the conversion numbered `conversion` (from 1) finish.
    void release(int conversion) {
        QFile marker(folder_.filePath(QStringLiteral("release-%1").arg(conversion)));
        EXPECT_TRUE(marker.open(QIODevice::WriteOnly));
    }

private:
    QTemporaryDir folder_;
    QByteArray previousPath_;
};

} // namespace testsupport
