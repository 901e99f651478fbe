// Browse window benchmark: fills the Browse Task Field Values window with a value list of
// 20,000 values (or the count given) and shows it, as the Data Source Filter tab does; prints
// the time of the fill, of the showing and of the first paint.
#include "forms/browse/F_BrowseVal.h"
#include "model/ovSD.h"
#include "services/ovUP.h"
#include "services/ovWM.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    UP = new TovUP();
    WMs = new TovWMs();
    for (int slot = 1; slot <= 8; ++slot) {
        WMs->Add();
    }
    TovSD sd;
    sd.setVL_Count(1);
    sd.setVL_TaskFldValCount(1, count);
    for (int j = 1; j <= count; ++j) {
        sd.setVL_TaskFldValue(1, j, QStringLiteral("Task field value %1").arg(j * 7919));
        sd.setVL_TaskFldValTaskCount(1, j, j % 7 + 1);
    }
    int status = 0;
    {
        TUF_BrowseVal window;
        window.setTaskFldValue(QStringLiteral("Task field value %1").arg(count / 2 * 7919));
        QElapsedTimer timer;
        timer.start();
        window.Setup(sd, 1, {});
        const qint64 setupMs = timer.restart();
        window.show();
        QApplication::processEvents();
        const qint64 showMs = timer.restart();
        window.grab();
        const qint64 paintMs = timer.restart();
        std::printf("values %d: setup %lld ms, show %lld ms, first paint %lld ms\n", count,
                    static_cast<long long>(setupMs), static_cast<long long>(showMs),
                    static_cast<long long>(paintMs));
        window.CancelClick();
        status = window.rowCount() == 0 ? 0 : 1;
    }
    delete WMs;
    WMs = nullptr;
    delete UP;
    UP = nullptr;
    return status;
}
