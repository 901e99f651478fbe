#pragma once

#include <QDialog>

// The Browse Task Fields window (so far: created with the others at start-up).
class TUF_BrowseFld : public QDialog {
public:
    explicit TUF_BrowseFld(QWidget* parent = nullptr);
    ~TUF_BrowseFld() override;
};

extern TUF_BrowseFld* UF_BrowseFld;
