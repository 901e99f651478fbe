#include "F_Options.h"

#include "services/Splash.h"

TUF_Options* UF_Options = nullptr;

TUF_Options::TUF_Options(QWidget* parent) : QDialog(parent) {
    SplashStatus(29);
}

TUF_Options::~TUF_Options() {
    if (UF_Options == this) {
        UF_Options = nullptr;
    }
}
