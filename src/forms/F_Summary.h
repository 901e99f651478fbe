#pragma once

#include <QDialog>

// The Summary window (so far: created with the others at start-up).
class TUF_Summary : public QDialog {
public:
    explicit TUF_Summary(QWidget* parent = nullptr);
    ~TUF_Summary() override;
};

extern TUF_Summary* UF_Summary;
