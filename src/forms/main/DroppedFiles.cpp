#include "forms/main/DroppedFiles.h"

#include "forms/SlotGuard.h"

#include <QMimeData>
#include <QTimer>

QStringList LocalPathsOfUrls(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            const QString path = url.toLocalFile();
            if (!path.isEmpty()) {
                paths << path;
            }
        }
    }
    return paths;
}

TDroppedFiles::TDroppedFiles(IHandOverWindow& window, TovDF& df, TovDV* dv)
    : Window(window), Df(df), Dv(dv) {}

bool TDroppedFiles::Accepts(const QMimeData* data) const {
    return data != nullptr && !Window.IsBusy() && data->hasUrls() &&
           !LocalPathsOfUrls(data->urls()).isEmpty();
}

bool TDroppedFiles::Drop(const QMimeData* data) {
    if (!Accepts(data)) {
        return false;
    }
    const QStringList paths = LocalPathsOfUrls(data->urls());
    Window.BringToFront();
    QTimer::singleShot(0, &PostedOpens, [this, paths] {
        GuardSlot([&] { OpenHandedOverFiles(Window, Df, Dv, paths, THandOverSource::Dropped); });
    });
    return true;
}
