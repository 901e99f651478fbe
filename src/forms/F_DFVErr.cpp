#include "F_DFVErr.h"

#include "services/Splash.h"

#include <QListWidget>
#include <QVBoxLayout>

TUF_DFVErr* UF_DFVErr = nullptr;

TUF_DFVErr::TUF_DFVErr(QWidget* parent)
    : QDialog(parent), LB_DFVErr(new QListWidget(this)), ListControl(LB_DFVErr) {
    SplashStatus(27);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LB_DFVErr);
    ::setLB_DFVErr(&ListControl);
}

TUF_DFVErr::~TUF_DFVErr() {
    if (::LB_DFVErr() == &ListControl) {
        ::setLB_DFVErr(nullptr);
    }
    if (UF_DFVErr == this) {
        UF_DFVErr = nullptr;
    }
}
