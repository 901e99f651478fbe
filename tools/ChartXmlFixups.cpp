#include "ChartXmlFixups.h"

#include "XlsxSupport.h"

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <zip.h>

namespace tools {

QString FixedChartXml(QString xml) {
    const QString visOnly = QStringLiteral("<c:plotVisOnly val=\"1\"/>");
    if (!xml.contains(QStringLiteral("<c:dispBlanksAs")) && xml.contains(visOnly)) {
        xml.replace(visOnly, visOnly + QStringLiteral("<c:dispBlanksAs val=\"gap\"/>"));
    }
    const qsizetype start = xml.indexOf(QStringLiteral("<c:catAx>"));
    const qsizetype end = xml.indexOf(QStringLiteral("</c:catAx>"));
    if (start >= 0 && end > start) {
        QString axis = xml.mid(start, end - start + 10);
        axis.replace(QStringLiteral("<c:catAx>"), QStringLiteral("<c:dateAx>"));
        axis.replace(QStringLiteral("</c:catAx>"), QStringLiteral("</c:dateAx>"));
        axis.remove(QStringLiteral("<c:lblAlgn val=\"ctr\"/>"));
        axis.remove(QStringLiteral("<c:noMultiLvlLbl val=\"0\"/>"));
        const QString offset = QStringLiteral("<c:lblOffset val=\"100\"/>");
        axis.replace(offset, offset + QStringLiteral("<c:baseTimeUnit val=\"days\"/>"));
        xml.replace(start, end - start + 10, axis);
    }
    return xml;
}

void FixUpChartXml(const QString& package) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(package).constData(), 0, &error);
    if (archive == nullptr) {
        throw Failure("cannot open " + package.toStdString());
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString name =
            QString::fromUtf8(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
        if (!name.startsWith(QStringLiteral("xl/charts/chart")) ||
            !name.endsWith(QStringLiteral(".xml"))) {
            continue;
        }
        QByteArray bytes;
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (file == nullptr) {
            zip_discard(archive);
            throw Failure("cannot read " + name.toStdString());
        }
        char buffer[65536];
        zip_int64_t n = 0;
        while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<qsizetype>(n));
        }
        zip_fclose(file);
        const QByteArray fixed = FixedChartXml(QString::fromUtf8(bytes)).toUtf8();
        // libzip frees the copy when it has written the archive.
        void* copy = std::malloc(static_cast<size_t>(fixed.size()));
        if (copy == nullptr) {
            zip_discard(archive);
            throw Failure("out of memory");
        }
        std::memcpy(copy, fixed.constData(), static_cast<size_t>(fixed.size()));
        zip_source_t* source =
            zip_source_buffer(archive, copy, static_cast<zip_uint64_t>(fixed.size()), 1);
        if (source == nullptr ||
            zip_file_replace(archive, static_cast<zip_uint64_t>(i), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source != nullptr) {
                zip_source_free(source);
            } else {
                std::free(copy);
            }
            zip_discard(archive);
            throw Failure("cannot replace " + name.toStdString());
        }
    }
    if (zip_close(archive) < 0) {
        const std::string message = zip_strerror(archive);
        zip_discard(archive);
        throw Failure("cannot write " + package.toStdString() + ": " + message);
    }
}

} // namespace tools
