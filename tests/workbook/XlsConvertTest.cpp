#include "workbook/XlsConvert.h"

#include "CompoundFileTestWriter.h"
#include "workbook/Error.h"
#include "workbook/detail/CompoundFile.h"

#include "support/FileSizeLimit.h"
#include "support/NonRegularFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <zip.h>

using workbook::XlsConverter;

namespace {

QString errorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const workbook::Error& e) {
        return e.description();
    }
    return QStringLiteral("no error");
}

// A stand-in soffice program: a shell script with the given body.
QString writeScript(const QTemporaryDir& dir, const QString& body) {
    const QString path = dir.filePath(QStringLiteral("fake-soffice"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body.toUtf8() + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// An .xls container whose workbook globals hold the given BIFF records, padded past the
// small-stream cutoff.
QByteArray xlsWithRecords(const std::vector<uint16_t>& types) {
    QByteArray stream;
    for (const uint16_t type : types) {
        char header[4];
        qToLittleEndian<uint16_t>(type, header);
        qToLittleEndian<uint16_t>(8, header + 2);
        stream.append(header, 4);
        stream.append(8, '\0');
    }
    stream.append(5000, '\0');
    return testsupport::writeTestCompoundFile({{QStringLiteral("Workbook"), stream}}).bytes;
}

QByteArray zipEntry(const QByteArray& package, const char* name) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src =
        zip_source_buffer_create(package.constData(), zip_uint64_t(package.size()), 0, &error);
    zip_t* archive = src ? zip_open_from_source(src, ZIP_RDONLY, &error) : nullptr;
    QByteArray out;
    if (!archive) {
        if (src)
            zip_source_free(src);
        zip_error_fini(&error);
        return out;
    }
    zip_stat_t st;
    if (zip_stat(archive, name, 0, &st) == 0) {
        if (zip_file_t* f = zip_fopen(archive, name, 0)) {
            out.resize(qsizetype(st.size));
            zip_fread(f, out.data(), st.size);
            zip_fclose(f);
        }
    }
    zip_discard(archive);
    zip_error_fini(&error);
    return out;
}

bool isEmptyFolder(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty();
}

} // namespace

TEST(XlsConvertTest, MissingLibreOfficeIsDescribed) {
    const XlsConverter converter{QString()};
    EXPECT_FALSE(converter.available());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Book.xls"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xlsWithRecords({0x0809, 0x000A}));
    f.close();
    const QString open = errorOf([&] { converter.toXlsx(path); });
    EXPECT_TRUE(open.contains(path)) << open.toStdString();
    EXPECT_TRUE(open.contains(QStringLiteral("LibreOffice was not found"))) << open.toStdString();
    const QString save = errorOf([&] { converter.toXls("PK", QStringLiteral("/data/Out.xls")); });
    EXPECT_TRUE(save.contains(QStringLiteral("LibreOffice was not found"))) << save.toStdString();
}

TEST(XlsConvertTest, PasswordProtectedXlsIsRefusedBeforeConverting) {
    EXPECT_TRUE(XlsConverter::isPasswordProtectedXls(xlsWithRecords({0x0809, 0x002F, 0x000A})));
    EXPECT_FALSE(XlsConverter::isPasswordProtectedXls(xlsWithRecords({0x0809, 0x000A, 0x002F})));
    EXPECT_FALSE(XlsConverter::isPasswordProtectedXls("PK\x03\x04"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Locked.xls"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xlsWithRecords({0x0809, 0x002F, 0x000A}));
    f.close();
    // The program would fail the test if it ran: it leaves a marker.
    const QString marker = dir.filePath(QStringLiteral("ran"));
    const XlsConverter converter(writeScript(dir, QStringLiteral("touch '%1'").arg(marker)));
    const QString error = errorOf([&] { converter.toXlsx(path); });
    EXPECT_TRUE(error.contains(QStringLiteral("protected by a password"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(marker));
}

TEST(XlsConvertTest, FailedOrHangingConversionsCleanUp) {
    QTemporaryDir dir;
    QTemporaryDir tempRoot;
    const QString input = dir.filePath(QStringLiteral("Book.xls"));
    QFile f(input);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not really a workbook");
    f.close();
    const struct {
        const char* script;
        int timeoutMs;
        const char* expected;
    } cases[] = {
        {"exit 0", 10000, "made no xlsx file"},
        {"echo 'Error: source file could not be loaded'; exit 1", 10000, "could not be loaded"},
        {"sleep 30", 300, "did not finish within"},
    };
    for (const auto& c : cases) {
        XlsConverter converter(writeScript(dir, QString::fromUtf8(c.script)), c.timeoutMs);
        converter.setTempRoot(tempRoot.path());
        const QString error = errorOf([&] { converter.toXlsx(input); });
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << error.toStdString();
        EXPECT_TRUE(isEmptyFolder(tempRoot.path())) << c.script;
    }
}

TEST(XlsConvertTest, XlsRoundTripKeepsTheCells) {
    if (XlsConverter::findLibreOffice().isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    QFile plain(QStringLiteral(KRV_TEST_DATA_DIR "/encrypted/plain.xlsx"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    QTemporaryDir tempRoot;
    XlsConverter converter;
    converter.setTempRoot(tempRoot.path());
    const QString xls = dir.filePath(QStringLiteral("Round trip.xls"));
    converter.toXls(plain.readAll(), xls);
    QFile saved(xls);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray xlsBytes = saved.readAll();
    EXPECT_TRUE(workbook::detail::CompoundFile(xlsBytes).hasStream(QStringLiteral("Workbook")));
    EXPECT_FALSE(XlsConverter::isPasswordProtectedXls(xlsBytes));

    const QByteArray xlsx = converter.toXlsx(xls);
    EXPECT_TRUE(zipEntry(xlsx, "xl/sharedStrings.xml").contains("Tessel secret"));
    EXPECT_TRUE(zipEntry(xlsx, "xl/worksheets/sheet1.xml").contains("<v>1050</v>"));
    EXPECT_TRUE(isEmptyFolder(tempRoot.path()));
}

TEST(XlsConvertTest, AWorkbookCutShortByAFullDiskIsReportedWithTheReason) {
    QTemporaryDir dir;
    // The converted workbook is larger than the disk takes; the stand-in links it into place so
    // that it writes nothing itself.
    const QString converted = dir.filePath(QStringLiteral("converted.xls"));
    QFile big(converted);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(5000, 'x'));
    big.close();
    const XlsConverter converter(writeScript(
        dir,
        QStringLiteral("while [ $# -gt 0 ]; do [ \"$1\" = --outdir ] && out=\"$2\"; shift; done\n"
                       "mkdir -p \"$out\" && ln -s '%1' \"$out/book.xls\"")
            .arg(converted)));
    const QString target = dir.filePath(QStringLiteral("Out.xls"));
    QString error;
    {
        const testsupport::FileSizeLimit limit(1000);
        error = errorOf([&] { converter.toXls("PK", target); });
    }
    EXPECT_TRUE(error.contains(target)) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(strerror(EFBIG)))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

// An .xls save replaces a regular file only, keeps its mode, and leaves nothing beside it; a FIFO
// under the name is refused before anything is converted and stays as it was.
TEST(XlsConvertTest, AnXlsSaveKeepsTheReplacedFilesModeAndNeverReplacesAFifo) {
    QTemporaryDir dir;
    const QString converted = dir.filePath(QStringLiteral("converted.xls"));
    {
        QFile file(converted);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("new workbook");
    }
    const QString marker = dir.filePath(QStringLiteral("converter-ran"));
    const XlsConverter converter(writeScript(
        dir,
        QStringLiteral("touch '%1'\n"
                       "while [ $# -gt 0 ]; do [ \"$1\" = --outdir ] && out=\"$2\"; shift; done\n"
                       "mkdir -p \"$out\" && cp '%2' \"$out/book.xls\"")
            .arg(marker, converted)));
    QDir out(dir.filePath(QStringLiteral("out")));
    ASSERT_TRUE(out.mkpath(QStringLiteral(".")));

    const QString target = out.filePath(QStringLiteral("Out.xls"));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old workbook");
    }
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    converter.toXls("PK", target);
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("new workbook"));
    EXPECT_EQ(saved.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Out.xls")});

    const QString fifo = out.filePath(QStringLiteral("Pipe.xls"));
    if (const std::string reason = testsupport::makeFifo(fifo); !reason.empty())
        GTEST_SKIP() << reason;
    ASSERT_TRUE(QFile::remove(marker));
    const QString error = errorOf([&] { converter.toXls("PK", fifo); });
    EXPECT_TRUE(error.contains(QStringLiteral("FIFO"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(marker)) << "refused before converting";
    EXPECT_EQ(QFileInfo(fifo).isFile(), false);
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("Out.xls"), QStringLiteral("Pipe.xls")}));
}
