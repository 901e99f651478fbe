#pragma once

#include "ErrListBox.h"

#include <QDialog>

class QListWidget;

// The Data File Validation Errors window (so far: its list of error numbers LB_DFVErr, which the
// validation fills).
class TUF_DFVErr : public QDialog {
public:
    explicit TUF_DFVErr(QWidget* parent = nullptr);
    ~TUF_DFVErr() override;

    QListWidget* LB_DFVErr;

private:
    TErrListWidget ListControl;
};

extern TUF_DFVErr* UF_DFVErr;
