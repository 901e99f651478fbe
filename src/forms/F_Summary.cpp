#include "F_Summary.h"

#include "services/Splash.h"

TUF_Summary* UF_Summary = nullptr;

TUF_Summary::TUF_Summary(QWidget* parent) : QDialog(parent) {
    SplashStatus(33);
}

TUF_Summary::~TUF_Summary() {
    if (UF_Summary == this) {
        UF_Summary = nullptr;
    }
}
