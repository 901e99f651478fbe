#include "Yardsticks.h"

#include <QElapsedTimer>
#include <QFile>

#include <pugixml.hpp>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <malloc.h>
#include <string>
#include <vector>

namespace bench {

namespace {

// The first of them touches fresh memory; the median of the others is taken.
constexpr int kRepeats = 4;

// The median of the repeats after the first.
double WarmMedian(std::vector<double> values) {
    if (values.size() > 1) {
        values.erase(values.begin());
    }
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The parts of an archive whose names start with `prefix`, inflated.
std::vector<std::string> ReadParts(zip_t* archive, const std::string& prefix) {
    std::vector<std::string> parts;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const std::string name = zip_get_name(archive, zip_uint64_t(i), 0);
        zip_stat_t stat;
        if (name.rfind(prefix, 0) != 0 || zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0) {
            continue;
        }
        std::string data(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (file != nullptr &&
            zip_fread(file, data.data(), data.size()) == zip_int64_t(data.size())) {
            parts.push_back(std::move(data));
        }
        if (file != nullptr) {
            zip_fclose(file);
        }
    }
    return parts;
}

} // namespace

void KeepFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

SourceYardsticks MeasureSource(const QString& workbook, const char* part) {
    SourceYardsticks result;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(workbook).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return result;
    }
    std::vector<double> inflates;
    std::string text;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        std::vector<std::string> parts = ReadParts(archive, part);
        inflates.push_back(Seconds(timer));
        if (parts.size() == 1) {
            text = std::move(parts.front());
        }
    }
    zip_close(archive);
    if (text.empty()) {
        return result;
    }
    std::vector<double> parses;
    for (int i = 0; i < kRepeats; ++i) {
        std::string copy = text;
        pugi::xml_document doc;
        QElapsedTimer timer;
        timer.start();
        const bool parsed = doc.load_buffer_inplace(copy.data(), copy.size(), pugi::parse_default,
                                                    pugi::encoding_utf8);
        parses.push_back(Seconds(timer));
        if (!parsed) {
            return result;
        }
    }
    result.mebibytes = double(text.size()) / (1024.0 * 1024.0);
    result.inflate = WarmMedian(inflates);
    result.parse = WarmMedian(parses);
    result.ok = true;
    return result;
}

double MeasureDeflateSheets(const QString& output) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(output).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return 0.0;
    }
    const std::vector<std::string> sheets = ReadParts(archive, "xl/worksheets/sheet");
    zip_close(archive);
    std::vector<double> times;
    std::vector<Bytef> out;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        for (const std::string& sheet : sheets) {
            z_stream stream{};
            deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
            out.resize(deflateBound(&stream, uLong(sheet.size())));
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(sheet.data()));
            stream.avail_in = uInt(sheet.size());
            stream.next_out = out.data();
            stream.avail_out = uInt(out.size());
            deflate(&stream, Z_FINISH);
            deflateEnd(&stream);
        }
        times.push_back(Seconds(timer));
    }
    return WarmMedian(times);
}

bool StoreUncompressed(const QString& workbook, const QString& copy) {
    int error = 0;
    zip_t* from = zip_open(QFile::encodeName(workbook).constData(), ZIP_RDONLY, &error);
    if (from == nullptr) {
        return false;
    }
    zip_t* to = zip_open(QFile::encodeName(copy).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    bool ok = to != nullptr;
    const zip_int64_t entries = zip_get_num_entries(from, 0);
    for (zip_int64_t i = 0; ok && i < entries; ++i) {
        zip_source_t* part = zip_source_zip(to, from, zip_uint64_t(i), 0, 0, -1);
        const zip_int64_t index =
            part == nullptr
                ? -1
                : zip_file_add(to, zip_get_name(from, zip_uint64_t(i), 0), part, ZIP_FL_ENC_UTF_8);
        ok = index >= 0 && zip_set_file_compression(to, zip_uint64_t(index), ZIP_CM_STORE, 0) == 0;
        if (index < 0 && part != nullptr) {
            zip_source_free(part);
        }
    }
    ok = ok && zip_close(to) == 0;
    if (!ok && to != nullptr) {
        zip_discard(to);
    }
    zip_close(from);
    return ok;
}

} // namespace bench
