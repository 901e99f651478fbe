#include "F_CfgErr.h"

#include "services/Splash.h"

#include <QListWidget>
#include <QVBoxLayout>

TUF_CfgErr* UF_CfgErr = nullptr;

TUF_CfgErr::TUF_CfgErr(QWidget* parent)
    : QDialog(parent), LB_CfgErr(new QListWidget(this)), ListControl(LB_CfgErr) {
    SplashStatus(26);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LB_CfgErr);
    ::setLB_CfgErr(&ListControl);
}

TUF_CfgErr::~TUF_CfgErr() {
    if (::LB_CfgErr() == &ListControl) {
        ::setLB_CfgErr(nullptr);
    }
    if (UF_CfgErr == this) {
        UF_CfgErr = nullptr;
    }
}
