#pragma once

#include "forms/browse/ErrListBase.h"

class QListWidget;

// The Data File Validation Errors window: lists the problems found and repaired while a data
// file was loaded.
class TUF_DFVErr : public TUF_ErrListBase {
public:
    explicit TUF_DFVErr(QWidget* parent = nullptr);
    ~TUF_DFVErr() override;

    void ListDoubleClick() override {}

    // The list the validator fills (the start-up tests read it).
    QListWidget* const LB_DFVErr;
};

extern TUF_DFVErr* UF_DFVErr;
