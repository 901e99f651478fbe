#pragma once

#include <QDialog>

// The Browse Task Field Values window (so far: created with the others at start-up).
class TUF_BrowseVal : public QDialog {
public:
    explicit TUF_BrowseVal(QWidget* parent = nullptr);
    ~TUF_BrowseVal() override;
};

extern TUF_BrowseVal* UF_BrowseVal;
