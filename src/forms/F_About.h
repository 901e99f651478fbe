#pragma once

#include <QDialog>

// The About window (so far: created with the others at start-up).
class TUF_About : public QDialog {
public:
    explicit TUF_About(QWidget* parent = nullptr);
    ~TUF_About() override;
};

extern TUF_About* UF_About;
