#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/F_BrowseWindows.h"

// The Browse Worksheets window: picks a worksheet of the data source or the template workbook
// from the definition's worksheet list, hanging below the worksheet's edit box.
class TUF_BrowseWS : public TUF_BrowseBase, public IBrowseWS {
public:
    explicit TUF_BrowseWS(QWidget* parent = nullptr);
    ~TUF_BrowseWS() override;

    int Execute(TovSD& sd, const QString& fileDesc, const QString& worksheetDesc, int wslIndex,
                const TBrowseAnchor& anchor, QString& ws) override;

    QString getWS() const { return WS; }
    void setWS(const QString& value);
    // Fills the list of worksheet list wslIndex of sd; the caption, header and hints name the
    // file and the worksheet.
    void Setup(TovSD& sd, const QString& fileDesc, const QString& worksheetDesc, int wslIndex,
               const TBrowseAnchor& anchor);

protected:
    QString cellText(int row, int column) const override;
    void storeResult(int row) override;
    void clearCache() override;

private:
    TovSD* SD = nullptr;
    int WSLIndex = 0;
    QString WS;
};

extern TUF_BrowseWS* UF_BrowseWS;
