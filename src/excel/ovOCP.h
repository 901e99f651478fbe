#pragma once

#include <QString>

// Whether the compatibility pack that old spreadsheet versions (97 to 2003) need to open .xlsx
// workbooks is installed, and the warning before such a workbook is handed to them.
class TovOCP {
public:
    TovOCP();
    QString getProductName();
    QString getStoredProductName() const { return ProductName; }
    bool getFound() const { return Found; }
    QString DetectPack();
    bool NeedsPack(const QString& path);
    // True when the user chose Cancel: the caller abandons what it was about to do.
    bool WarnPackMissing(const QString& description, const QString& path);

private:
    void Init();

    QString ProductName;
    bool Found = false;
};

extern TovOCP* OCP;
