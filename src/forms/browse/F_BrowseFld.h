#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/F_BrowseWindows.h"

#include <vector>

class QCheckBox;

// The Browse Task Fields window: picks a worksheet column of the task worksheet from the
// definition's task field list, showing each column's header text and its first values, and
// whether the header text is to be taken as the field's description.
class TUF_BrowseFld : public TUF_BrowseBase, public IBrowseFld {
public:
    explicit TUF_BrowseFld(QWidget* parent = nullptr);
    ~TUF_BrowseFld() override;

    int Execute(TovSD& sd, const QString& caption, const QString& subject,
                const TBrowseAnchor& anchor, TBrowseFldResult& result) override;

    QString getTaskFld() const { return TaskFld.trimmed(); }
    // Trimmed and upper-cased.
    void setTaskFld(const QString& value);
    QString getTaskFldDesc() const { return TaskFldDesc.trimmed(); }
    bool getImportTaskFldDesc() const { return ImportTaskFldDesc; }
    // Fills the list from sd's task field list with one value column per value to import.
    void Setup(TovSD& sd, const QString& caption, const TBrowseAnchor& anchor,
               const QString& subject);
    QCheckBox* checkBoxForTest() const { return CB_ImportTaskFldDesc; }
    void ImportTaskFldDescClick();

protected:
    QString cellText(int row, int column) const override;
    void storeResult(int row) override;
    void clearCache() override;
    void afterActivation() override;

private:
    struct Row {
        QString Desc;
        QStringList Values;
    };

    QCheckBox* CB_ImportTaskFldDesc;
    TovSD* SD = nullptr;
    std::vector<Row> FieldRows;
    QString TaskFld;
    QString TaskFldDesc;
    bool ImportTaskFldDesc = false;
};

extern TUF_BrowseFld* UF_BrowseFld;
