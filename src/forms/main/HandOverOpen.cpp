#include "forms/main/HandOverOpen.h"

#include "model/ovDF.h"
#include "model/ovDV.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace {

// Raises the window's Busy and the data file's hand-over flag for the open and lowers them however
// it ends. Busy is lowered only when this scope raised it: a window busy already stays busy for
// whoever raised it, and one raised twice would stay busy for good (refusing every later drop
// and start).
class TOpenScope {
public:
    TOpenScope(IHandOverWindow& window, TovDF& df, THandOverSource source)
        : Window(window), Df(df), Source(source),
          RaisesBusy(source != THandOverSource::CommandLine && !window.IsBusy()) {
        if (RaisesBusy) {
            Window.SetBusy(true);
        }
        if (Source == THandOverSource::CopyData) {
            Df.setCopyDataPending(true);
        }
    }
    ~TOpenScope() {
        if (Source == THandOverSource::CopyData) {
            Df.setCopyDataPending(false);
        }
        if (RaisesBusy) {
            Window.SetBusy(false);
        }
    }
    TOpenScope(const TOpenScope&) = delete;
    TOpenScope& operator=(const TOpenScope&) = delete;

private:
    IHandOverWindow& Window;
    TovDF& Df;
    THandOverSource Source;
    bool RaisesBusy;
};

bool hasDataFileExtension(TovDV* dv, const QString& path) {
    return dv == nullptr || !dv->CheckDataFileExt(UIT(txt::DataFile_722), path);
}

} // namespace

bool OpenHandedOverFiles(IHandOverWindow& window, TovDF& df, TovDV* dv, const QStringList& paths,
                         THandOverSource source) {
    if (paths.isEmpty()) {
        return false;
    }
    QString path = paths.first();
    if (paths.size() > 1) {
        df.ResetFL();
        df.setFL_Count(static_cast<int>(paths.size()));
        for (int i = 1; i <= df.getFL_Count(); ++i) {
            const QString& entry = paths[i - 1];
            df.setDFL_DPFE(i, entry);
            df.setDFL_Valid(i, hasDataFileExtension(dv, entry));
        }
        if (!window.ChooseHandedOverFile(path) || path.trimmed().isEmpty()) {
            return false;
        }
    }
    const QString caption = UIT(txt::DataFile_722);
    if (dv != nullptr &&
        (dv->CheckDataFileExtDlg(caption, path) || dv->CheckDataFileExistsDlg(caption, path))) {
        return false;
    }
    window.StoreCurrentTab();
    bool opened = false;
    {
        TOpenScope scope(window, df, source);
        switch (source) {
        case THandOverSource::CommandLine:
            opened = df.OpenCommandLine(path);
            break;
        case THandOverSource::CopyData:
            opened = df.OpenCopyData(path);
            break;
        case THandOverSource::Dropped:
            opened = df.OpenDropped(path);
            break;
        }
        if (opened) {
            window.ShowOpenedDataFile();
        }
    }
    return opened;
}
