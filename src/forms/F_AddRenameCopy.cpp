#include "F_AddRenameCopy.h"

#include "services/Splash.h"

TUF_AddRenameCopy* UF_AddRenameCopy = nullptr;

TUF_AddRenameCopy::TUF_AddRenameCopy(QWidget* parent) : QDialog(parent) {
    SplashStatus(21);
}

TUF_AddRenameCopy::~TUF_AddRenameCopy() {
    if (UF_AddRenameCopy == this) {
        UF_AddRenameCopy = nullptr;
    }
}
