// The bare program the whole-run benchmark measures a run against: it inflates the task sheet of
// a data source workbook, parses its XML with pugixml (default options, in place) and writes the
// parts of an output workbook (kept uncompressed beforehand) into a new workbook at deflate level
// 1, on one thread; nothing else. It prints the time of its inflate and of its parse, each on
// memory as fresh as a program has it.
//
//   bench_bare <data source> <sheet part> <stored output> <written output>
#include <pugixml.hpp>
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool ReadPart(zip_t* archive, zip_uint64_t index, std::string& data) {
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0) {
        return false;
    }
    data.assign(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    const bool read =
        file != nullptr && zip_fread(file, data.data(), data.size()) == zip_int64_t(data.size());
    if (file != nullptr) {
        zip_fclose(file);
    }
    return read;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::printf("usage: bench_bare <data source> <sheet part> <stored output> "
                    "<written output>\n");
        return 2;
    }
    int error = 0;
    zip_t* source = zip_open(argv[1], ZIP_RDONLY, &error);
    const zip_int64_t sheetIndex = source == nullptr ? -1 : zip_name_locate(source, argv[2], 0);
    std::string sheet;
    const auto inflateStart = std::chrono::steady_clock::now();
    if (sheetIndex < 0 || !ReadPart(source, zip_uint64_t(sheetIndex), sheet)) {
        std::printf("cannot read %s of %s\n", argv[2], argv[1]);
        return 1;
    }
    const double inflate = Since(inflateStart);
    zip_close(source);
    pugi::xml_document doc;
    const auto parseStart = std::chrono::steady_clock::now();
    if (!doc.load_buffer_inplace(sheet.data(), sheet.size(), pugi::parse_default,
                                 pugi::encoding_utf8)) {
        std::printf("cannot parse %s\n", argv[2]);
        return 1;
    }
    std::printf("inflate %.6f s, parse %.6f s\n", inflate, Since(parseStart));

    zip_t* stored = zip_open(argv[3], ZIP_RDONLY, &error);
    zip_t* written = zip_open(argv[4], ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (stored == nullptr || written == nullptr) {
        std::printf("cannot open the outputs\n");
        return 1;
    }
    const zip_int64_t entries = zip_get_num_entries(stored, 0);
    std::vector<std::string> parts(size_t(entries > 0 ? entries : 0));
    for (zip_int64_t i = 0; i < entries; ++i) {
        std::string& data = parts[size_t(i)];
        if (!ReadPart(stored, zip_uint64_t(i), data)) {
            std::printf("cannot read the stored output\n");
            return 1;
        }
        zip_source_t* part = zip_source_buffer(written, data.data(), data.size(), 0);
        const zip_int64_t index =
            part == nullptr ? -1
                            : zip_file_add(written, zip_get_name(stored, zip_uint64_t(i), 0), part,
                                           ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            std::printf("cannot add a part: %s\n", zip_strerror(written));
            return 1;
        }
        zip_set_file_compression(written, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    }
    if (zip_close(written) != 0) {
        std::printf("cannot write %s: %s\n", argv[4], zip_strerror(written));
        return 1;
    }
    zip_close(stored);
    return 0;
}
