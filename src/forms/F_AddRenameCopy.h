#pragma once

#include <QDialog>

// The Add, Rename and Copy KRV Definition window (so far: created with the others at start-up).
class TUF_AddRenameCopy : public QDialog {
public:
    explicit TUF_AddRenameCopy(QWidget* parent = nullptr);
    ~TUF_AddRenameCopy() override;
};

extern TUF_AddRenameCopy* UF_AddRenameCopy;
