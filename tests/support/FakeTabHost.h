#pragma once

#include "forms/tabs/TabHost.h"
#include "forms/tabs/TabInputGuards.h"

#include <utility>
#include <vector>

namespace testsupport {

// A balloon that records what it was asked to show.
class FakeBalloonHint : public IBalloonHint {
public:
    struct Shown {
        QString text;
        QRect rect;
    };
    void Show(const QString& text, const QRect& screenRect) override {
        shown.push_back({text, screenRect});
        visible = true;
    }
    void Hide() override {
        ++hides;
        visible = false;
    }

    std::vector<Shown> shown;
    int hides = 0;
    bool visible = false;
};

// A main window for one tab under test: records the modified marks, page changes and imports.
class FakeTabHost : public ITabHost {
public:
    IBalloonHint& Balloon() override { return balloon; }
    TTabInputGuards& InputGuards() override { return guards; }
    void DataFileChanged() override { ++modifiedMarks; }
    void FocusPages() override { ++pageFocuses; }
    void GoToField(int pageIndex, int fieldId) override {
        fieldsGoneTo.push_back({pageIndex, fieldId});
    }
    void BeginImport() override {
        ++importDepth;
        ++imports;
    }
    void EndImport() override { --importDepth; }

    FakeBalloonHint balloon;
    // The real guards over the recording balloon; a workbook path's rows are those of the
    // newest spreadsheet version unless the path names an .xls file.
    TTabInputGuards guards{balloon, [](const QString& path) {
                               return path.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)
                                          ? 65536
                                          : 1048576;
                           }};
    int modifiedMarks = 0;
    int pageFocuses = 0;
    std::vector<std::pair<int, int>> fieldsGoneTo; // page index, field id
    int importDepth = 0;                           // 0 again after every import, also a failed one
    int imports = 0;
};

} // namespace testsupport
