// Writes the sample project into the program's data folder: Samples/Sample.xlsx, the task table,
// and Samples/Sample.krvc, the data file whose definitions read it with the default template.
//
// Usage: make_sample <data folder> [--paths-for <data folder as installed>] [--data-file-only]
// The data file names absolute paths: those of the folder it is written to, or the installed
// folder given with --paths-for.
#include "SampleDataFile.h"
#include "SampleProject.h"
#include "XlsxSupport.h"

#include "services/UIL_EN.h"
#include "services/ovUIL.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <cstdio>

namespace {

void writeSample(const QString& dataFolder, const QString& pathsFolder, bool dataFileOnly) {
    const QDir data(dataFolder);
    if (!data.mkpath(QStringLiteral("Samples"))) {
        throw tools::Failure("cannot create " +
                             data.filePath(QStringLiteral("Samples")).toStdString());
    }
    if (!dataFileOnly) {
        tools::WriteSampleWorkbook(data.filePath(QStringLiteral("Samples/Sample.xlsx")),
                                   tools::MakeSampleTasks());
    }
    const QDir paths(pathsFolder);
    const QByteArray text = tools::SampleDataFileText(
        paths.filePath(QStringLiteral("Samples/Sample.xlsx")),
        paths.filePath(QStringLiteral("Templates/Ovik_KRV_Tessel_Template.xlsx")),
        paths.filePath(QStringLiteral("Samples")) + QLatin1Char('/'));
    QSaveFile file(data.filePath(QStringLiteral("Samples/Sample.krvc")));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        throw tools::Failure("cannot write " + file.fileName().toStdString());
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool dataFileOnly = args.removeAll(QStringLiteral("--data-file-only")) > 0;
    QString pathsFolder;
    const qsizetype at = args.indexOf(QStringLiteral("--paths-for"));
    if (at >= 0 && at + 1 < args.size()) {
        pathsFolder = args[at + 1];
        args.remove(at, 2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: make_sample <data folder> [--paths-for <folder>] "
                             "[--data-file-only]\n");
        return 2;
    }
    const QString dataFolder = QDir(args[0]).absolutePath();
    if (pathsFolder.isEmpty()) {
        pathsFolder = dataFolder;
    }
    UILs = new TovUILs();
    FillEnglishTexts(0);
    int status = 0;
    try {
        writeSample(dataFolder, QDir::cleanPath(pathsFolder), dataFileOnly);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sample: %s\n", e.what());
        status = 1;
    }
    delete UILs;
    UILs = nullptr;
    return status;
}
