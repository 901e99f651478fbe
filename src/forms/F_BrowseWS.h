#pragma once

#include <QDialog>

// The Browse Worksheets window (so far: created with the others at start-up).
class TUF_BrowseWS : public QDialog {
public:
    explicit TUF_BrowseWS(QWidget* parent = nullptr);
    ~TUF_BrowseWS() override;
};

extern TUF_BrowseWS* UF_BrowseWS;
