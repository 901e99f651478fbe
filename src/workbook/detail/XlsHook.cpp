#include "workbook/Error.h"
#include "workbook/XlsConvert.h"
#include "workbook/detail/Hooks.h"

#include <QFile>

namespace workbook::detail {

std::string convertXlsToXlsx(const QString& path, const std::string& fileBytes, const QString&) {
    // A password only matters for a protected .xls, which the converter refuses with its reason.
    const QByteArray bytes = QByteArray::fromRawData(fileBytes.data(), qsizetype(fileBytes.size()));
    // LibreOffice would import any other file as text and report success.
    if (!XlsConverter::holdsWorkbookStream(bytes))
        throw Error(kRejectedReference,
                    QStringLiteral("The file %1 is not a workbook: it is a damaged "
                                   "compound file or one without a workbook stream.")
                        .arg(path));
    const QByteArray xlsx = XlsConverter().toXlsx(bytes, path);
    return std::string(xlsx.constData(), size_t(xlsx.size()));
}

void convertXlsxToXls(const QString& xlsxPath, const QString& xlsPath) {
    QFile in(xlsxPath);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(kRejectedReference,
                    QStringLiteral("The workbook %1 cannot be saved: %2 cannot be "
                                   "read: %3.")
                        .arg(xlsPath, xlsxPath, in.errorString()));
    XlsConverter().toXls(in.readAll(), xlsPath);
}

} // namespace workbook::detail
