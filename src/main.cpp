#include "services/UIL_EN.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovik KRV Tessel"));
    UILs = new TovUILs();
    FillEnglishTexts(0);
    AD = new TovAD();
    int status = 0;
    {
        QMainWindow window;
        window.setWindowTitle(QApplication::applicationName());
        window.resize(811, 627);
        window.show();
        status = QApplication::exec();
    }
    delete AD;
    delete UILs;
    return status;
}
