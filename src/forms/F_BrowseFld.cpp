#include "F_BrowseFld.h"

#include "services/Splash.h"

TUF_BrowseFld* UF_BrowseFld = nullptr;

TUF_BrowseFld::TUF_BrowseFld(QWidget* parent) : QDialog(parent) {
    SplashStatus(24);
}

TUF_BrowseFld::~TUF_BrowseFld() {
    if (UF_BrowseFld == this) {
        UF_BrowseFld = nullptr;
    }
}
