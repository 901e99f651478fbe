#pragma once

#include "forms/browse/ErrListBase.h"

class QListWidget;

// The Configuration Errors window: lists the configuration errors the validator found in the
// definition about to be processed; a double-click takes the main window to the field in error
// while the list stays open.
class TUF_CfgErr : public TUF_ErrListBase {
public:
    explicit TUF_CfgErr(QWidget* parent = nullptr);
    ~TUF_CfgErr() override;

    void ListDoubleClick() override;

    // The list the validator fills (the start-up tests read it).
    QListWidget* const LB_CfgErr;
};

extern TUF_CfgErr* UF_CfgErr;
