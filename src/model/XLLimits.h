#pragma once

#include <QString>
#include <cstdint>

// What the field checks need from the Excel layer: the installed version, its default workbook
// extension, the worksheet limits for a workbook path and the column letter conversion. The
// Excel layer implements it; until it is installed the default below answers.
class IXLLimits {
public:
    virtual ~IXLLimits() = default;

    // The installed version, 0 (none) to 7 (2013).
    virtual uint8_t getVersion() = 0;
    // "xlsx" for versions 5 to 7, "xls" otherwise (no dot).
    virtual QString DefaultExtension() = 0;
    // The workbook whose extension MaxRows and MaxColumns read.
    virtual void setFilePath(const QString& path) = 0;
    virtual int MaxRows() = 0;
    virtual int MaxColumns() = 0;
    // The column number of 1 to 3 letters (any case), 0 when invalid or above limit.
    virtual int LettersToColumn(const QString& letters, int limit) = 0;
};

// The Excel layer's rules (SheetGrid) for a fixed version, 2013 unless told otherwise.
class TovXLLimitsDefault : public IXLLimits {
public:
    explicit TovXLLimitsDefault(uint8_t version = 7) : Version(version) {}

    uint8_t getVersion() override { return Version; }
    QString DefaultExtension() override;
    void setFilePath(const QString& path) override { FilePath = path; }
    int MaxRows() override;
    int MaxColumns() override;
    int LettersToColumn(const QString& letters, int limit) override;

    void setVersion(uint8_t version) { Version = version; }
    QString getFilePath() const { return FilePath; }

private:
    uint8_t Version;
    QString FilePath;
};

// The limits in use: the one installed at start-up, or a default for version 2013.
IXLLimits* XLLimits();
void setXLLimits(IXLLimits* limits);

// Answers through the Excel layer: start-up installs TXLLimitsOf<TovXL>(XL) once XL exists.
// (A template, so that this library does not depend on the Excel layer's.)
template <typename XLType> class TXLLimitsOf : public IXLLimits {
public:
    explicit TXLLimitsOf(XLType* xl) : Xl(xl) {}

    uint8_t getVersion() override { return static_cast<uint8_t>(Xl->getVersion()); }
    QString DefaultExtension() override { return Xl->DefaultExtension(); }
    void setFilePath(const QString& path) override { Xl->setFilePath(path); }
    int MaxRows() override { return Xl->MaxRows(); }
    int MaxColumns() override { return Xl->MaxColumns(); }
    int LettersToColumn(const QString& letters, int limit) override {
        return Xl->LettersToColumn(letters, limit);
    }

private:
    XLType* Xl;
};
