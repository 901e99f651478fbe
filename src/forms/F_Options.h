#pragma once

#include <QDialog>

// The Options window (so far: created with the others at start-up).
class TUF_Options : public QDialog {
public:
    explicit TUF_Options(QWidget* parent = nullptr);
    ~TUF_Options() override;
};

extern TUF_Options* UF_Options;
