#include "FuzzSupport.h"

#include "services/UIL_EN.h"
#include "services/ovUIL.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <zip.h>

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

QByteArray zipParts(const std::vector<std::pair<std::string, std::string>>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (archive == nullptr) {
        if (buffer != nullptr) {
            zip_source_free(buffer);
        }
        return {};
    }
    zip_source_keep(buffer);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (source == nullptr ||
            zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(buffer);
        return {};
    }
    // An archive without parts leaves no data behind, and the buffer does not open.
    QByteArray out;
    if (zip_source_open(buffer) == 0) {
        zip_stat_t stat;
        if (zip_source_stat(buffer, &stat) == 0) {
            out.resize(static_cast<qsizetype>(stat.size));
            zip_source_read(buffer, out.data(), stat.size);
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

} // namespace fuzzsupport
