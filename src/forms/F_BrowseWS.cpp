#include "F_BrowseWS.h"

#include "services/Splash.h"

TUF_BrowseWS* UF_BrowseWS = nullptr;

TUF_BrowseWS::TUF_BrowseWS(QWidget* parent) : QDialog(parent) {
    SplashStatus(23);
}

TUF_BrowseWS::~TUF_BrowseWS() {
    if (UF_BrowseWS == this) {
        UF_BrowseWS = nullptr;
    }
}
