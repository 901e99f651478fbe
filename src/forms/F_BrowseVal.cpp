#include "F_BrowseVal.h"

#include "services/Splash.h"

TUF_BrowseVal* UF_BrowseVal = nullptr;

TUF_BrowseVal::TUF_BrowseVal(QWidget* parent) : QDialog(parent) {
    SplashStatus(25);
}

TUF_BrowseVal::~TUF_BrowseVal() {
    if (UF_BrowseVal == this) {
        UF_BrowseVal = nullptr;
    }
}
