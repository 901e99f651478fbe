#include "F_BrowseFile.h"

#include "services/Splash.h"

TUF_BrowseFile* UF_BrowseFile = nullptr;

TUF_BrowseFile::TUF_BrowseFile(QWidget* parent) : QDialog(parent) {
    SplashStatus(22);
}

TUF_BrowseFile::~TUF_BrowseFile() {
    if (UF_BrowseFile == this) {
        UF_BrowseFile = nullptr;
    }
}
