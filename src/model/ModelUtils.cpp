#include "model/ModelUtils.h"

#include "services/StrUtils.h"
#include "services/ovUIL.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <cmath>

namespace modelutil {

QString JoinLines(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool inBreak = false;
    for (QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (!inBreak) {
                out += QLatin1Char(' ');
            }
            inBreak = true;
        } else {
            out += c;
            inBreak = false;
        }
    }
    return out;
}

QString StoredText(const QString& text) {
    return TrimControl(JoinLines(text));
}

namespace {

std::function<double()>& todayFunction() {
    static std::function<double()> today;
    return today;
}

const QDate kDayZero(1899, 12, 30);

QString withTrailingSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + QLatin1Char('/');
}

} // namespace

QString UpperAZ(const QString& text) {
    return ::UpperCaseAZ(text);
}

bool SameTextAZ(const QString& a, const QString& b) {
    return a.size() == b.size() && UpperAZ(a) == UpperAZ(b);
}

QString StrLeft(const QString& text, int n) {
    if (n <= 0) {
        return QString();
    }
    if (text.size() <= n) {
        return text;
    }
    if (text.at(n - 1).isHighSurrogate()) {
        --n;
    }
    return text.left(n);
}

QString ChangeFileExt(const QString& path, const QString& ext) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash) {
        return path.left(dot) + ext;
    }
    return path + ext;
}

QString CleanAbsolutePath(const QString& path) {
    if (path.isEmpty()) {
        return path;
    }
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path
                                                      : QDir::current().absoluteFilePath(path));
}

bool FileExistsChecked(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool FileIsReadOnly(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isWritable();
}

QString DesktopFolder() {
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

QString DocumentsFolder() {
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString ProgramFilesFolderNative() {
    return QString();
}

QString ProgramFilesFolderX86() {
    return QString();
}

double ModelToday() {
    if (todayFunction()) {
        return std::floor(todayFunction()());
    }
    return static_cast<double>(kDayZero.daysTo(QDate::currentDate()));
}

void setModelToday(std::function<double()> today) {
    todayFunction() = std::move(today);
}

QString FormatDayNumber(double day) {
    const QDate date = kDayZero.addDays(static_cast<qint64>(std::floor(day)));
    return QLocale::c().toString(date, QStringLiteral("dd-MMM-yyyy"));
}

} // namespace modelutil
