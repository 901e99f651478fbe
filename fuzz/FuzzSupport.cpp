#include "FuzzSupport.h"

#include "services/UIL_EN.h"
#include "services/ovUIL.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {
namespace {

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

} // namespace

void startHeadless() {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString home = scratch().path();
    qputenv("OVIK_KRV_TESSEL_REGISTRY", QFile::encodeName(home + QStringLiteral("/registry")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/data")));
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    UILs = new TovUILs();
    FillEnglishTexts(0);
}

QString scratchPath(const QString& name) {
    return scratch().filePath(name);
}

QString writeInput(const QByteArray& bytes, const QString& name) {
    const QString path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        check(false, "the input file cannot be written");
    }
    return path;
}

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzzsupport
