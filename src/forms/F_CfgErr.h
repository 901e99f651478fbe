#pragma once

#include "ErrListBox.h"

#include <QDialog>

class QListWidget;

// The Configuration Errors window (so far: its list of error numbers LB_CfgErr, which the
// validation fills).
class TUF_CfgErr : public QDialog {
public:
    explicit TUF_CfgErr(QWidget* parent = nullptr);
    ~TUF_CfgErr() override;

    QListWidget* LB_CfgErr;

private:
    TErrListWidget ListControl;
};

extern TUF_CfgErr* UF_CfgErr;
