#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace workbook {

// Converts .xls workbooks to .xlsx packages and back with LibreOffice run headless. Every run has
// its own temporary folder (the input copy, the output and a private LibreOffice profile), a
// time limit, and leaves nothing behind whether it succeeds or fails. Failures raise
// workbook::Error with a description that says what is missing or what went wrong.
class XlsConverter {
public:
    static constexpr int kDefaultTimeoutMs = 180000;
    // How often the wait hook runs while LibreOffice converts.
    static constexpr int kWaitSliceMs = 50;

    // What the program does while LibreOffice converts (it takes seconds): called every
    // kWaitSliceMs, it keeps the windows painted and lets the user cancel. An exception it raises
    // ends the conversion: LibreOffice is ended with every process it started, its temporary
    // folder removed, and the exception goes on. Returns the hook it replaces.
    using WaitHook = std::function<void()>;
    static WaitHook setWaitHook(WaitHook hook);

    // `program` is the soffice program to run; empty when LibreOffice is not installed.
    explicit XlsConverter(QString program = findLibreOffice(), int timeoutMs = kDefaultTimeoutMs);

    // The soffice program on the PATH, or an empty text.
    static QString findLibreOffice();
    // Whether the bytes are an .xls workbook protected by a password.
    static bool isPasswordProtectedXls(const QByteArray& bytes);
    // True when the bytes are a readable compound file holding a workbook stream ("Workbook", or
    // "Book" of older versions): only such a file is an .xls workbook worth converting.
    static bool holdsWorkbookStream(const QByteArray& bytes);

    bool available() const { return !program_.isEmpty(); }
    // The folder in which the temporary folders are made (default: the system's).
    void setTempRoot(const QString& folder) { tempRoot_ = folder; }

    // Opens an .xls workbook: returns the bytes of the equivalent .xlsx package.
    QByteArray toXlsx(const QString& xlsPath) const;
    // The same for the bytes of an .xls workbook read from `xlsPath` (named in messages).
    QByteArray toXlsx(const QByteArray& xlsBytes, const QString& xlsPath) const;
    // Saves an .xlsx package as an .xls workbook at the path (written through a temporary file
    // and a rename).
    void toXls(const QByteArray& xlsxBytes, const QString& xlsPath) const;

private:
    QByteArray convert(const QByteArray& input, const QString& inputSuffix, const QString& filter,
                       const QString& outputSuffix, const QString& fileName) const;

    QString program_;
    int timeoutMs_;
    QString tempRoot_;
};

} // namespace workbook
