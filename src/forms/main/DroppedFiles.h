#pragma once

#include "forms/main/HandOverOpen.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class QMimeData;
class TovDF;
class TovDV;

// The local file paths among dropped URLs, in order; anything that is not a local file (web
// addresses, remote files) is left out.
QStringList LocalPathsOfUrls(const QList<QUrl>& urls);

// Files dropped on the main window, handled like command-line paths. The main window forwards its
// drag and drop events here.
class TDroppedFiles {
public:
    TDroppedFiles(IHandOverWindow& window, TovDF& df, TovDV* dv);

    // Whether a drag is welcome: the window is not busy and it carries at least one local file.
    bool Accepts(const QMimeData* data) const;
    // Brings the main window to the front and opens the dropped files once the drop has finished
    // (the drag source is not kept waiting on the window's dialogues). False when nothing was
    // taken.
    bool Drop(const QMimeData* data);

private:
    IHandOverWindow& Window;
    TovDF& Df;
    TovDV* Dv;
    // Context of the posted open: a drop still waiting is dropped with this object.
    QObject PostedOpens;
};
