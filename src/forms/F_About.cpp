#include "F_About.h"

#include "services/Splash.h"

TUF_About* UF_About = nullptr;

TUF_About::TUF_About(QWidget* parent) : QDialog(parent) {
    SplashStatus(20);
}

TUF_About::~TUF_About() {
    if (UF_About == this) {
        UF_About = nullptr;
    }
}
