#include "ovMRU.h"

#include "FileChecks.h"
#include "IndexRange.h"
#include "PathChecks.h"
#include "REG_Utils.h"
#include "ovUIL.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/TextIds.h"

#include <QSet>

TovMRUs* MRUs = nullptr;

namespace {
const QString kValueName = QStringLiteral("MRU_DF_DrivePathFilenameExtn");
}

// A path is kept as the file system named it: "a.krvc " is another file than "a.krvc". A path of
// blanks alone is no path.
void TovMRU::setDPFE(const QString& value) {
    const QString v = value.trimmed().isEmpty() ? QString() : value;
    if (DPFE != v) {
        DPFE = v;
    }
}

TovMRUs::TovMRUs() : RegKey(QStringLiteral("Software\\Tarrow Studio\\Ovik KRV Tessel\\MRUs")) {
    Items.push_back(std::make_unique<TovMRU>());
}

TovMRU& TovMRUs::getItems(int index) {
    if (CheckIndexRange(index, 0, Count, QStringLiteral("MRUs.getItems"))) {
        return *Items[0];
    }
    return *Items[static_cast<size_t>(index)];
}

bool TovMRUs::Grow() {
    if (Count >= Capacity) {
        return false;
    }
    Items.push_back(std::make_unique<TovMRU>());
    ++Count;
    return true;
}

QString TovMRUs::slotKey(int n) const {
    return RegKey + QStringLiteral("\\MRU_") + QString::number(n);
}

// Paths are file names, which compare case-sensitively on this platform: two paths that differ
// in letter case are two files.
bool TovMRUs::AddToTop(const QString& path) {
    if (Count < 1) {
        return true;
    }
    const QString& p = path;
    int found = Count; // when absent, the last slot drops off
    for (int i = 1; i <= Count; ++i) {
        if (Items[i]->getDPFE() == p) {
            found = i;
            break;
        }
    }
    for (int i = found; i > 1; --i) {
        Items[i]->setDPFE(Items[i - 1]->getDPFE());
    }
    Items[1]->setDPFE(p);
    return true;
}

void TovMRUs::RemoveAt(int slot) {
    for (int i = slot; i < Count; ++i) {
        Items[i]->setDPFE(Items[i + 1]->getDPFE());
    }
    Items[Count]->setDPFE(QString());
}

bool TovMRUs::Remove(const QString& path) {
    const QString p = path.trimmed().isEmpty() ? QString() : path;
    for (int i = 1; i <= Count; ++i) {
        if (Items[i]->getDPFE() == p) {
            RemoveAt(i);
            return true;
        }
    }
    return false;
}

int TovMRUs::FailingCheck(const QString& path) const {
    const QString caption = UIT(txt::DataFile_722);
    IPathChecks& checks = PathChecks();
    if (path.size() > 260) {
        return 1436;
    }
    if (checks.CheckDrive(caption, path)) {
        return 1437;
    }
    if (checks.CheckIllegalFilenameChars(path)) {
        return 1438;
    }
    if (checks.CheckFilename(caption, path)) {
        return 1439;
    }
    if (checks.CheckDataFileExt(caption, path)) {
        return 1440;
    }
    return 0;
}

void TovMRUs::RemoveDuplicates() {
    // The newest copy keeps its place; older copies further down are removed.
    QSet<QString> seen;
    for (int i = 1; i <= Count;) {
        const QString p = Items[i]->getDPFE();
        if (!p.isEmpty() && seen.contains(p)) {
            RemoveAt(i);
            continue;
        }
        seen.insert(p);
        ++i;
    }
}

void TovMRUs::CleanUp() {
    for (int n = Count; n >= 1; --n) {
        const QString p = Items[n]->getDPFE();
        if (p.isEmpty() || FailingCheck(p) != 0) {
            RemoveAt(n);
        }
    }
    RemoveDuplicates();
}

int TovMRUs::Purge() {
    PurgeReport.clear();
    for (int n = Count; n >= 1; --n) {
        const QString p = Items[n]->getDPFE();
        if (p.isEmpty()) {
            RemoveAt(n);
            continue;
        }
        int reason = FailingCheck(p);
        if (reason == 0 && !FileExistsChecked(UIT(txt::DataFile_722), p, true)) {
            reason = 1441;
        }
        if (reason != 0) {
            PurgeReport << platform::Format(UIT(reason), {p});
            RemoveAt(n);
        }
    }
    RemoveDuplicates();
    return static_cast<int>(PurgeReport.size());
}

void TovMRUs::Clear() {
    if (Menu != nullptr) {
        for (int n = 1; n <= Capacity; ++n) {
            Menu->setItemVisible(TMRUMenu::File, n, false);
            Menu->setItemVisible(TMRUMenu::Popup, n, false);
        }
        Menu->setFileSeparatorVisible(false);
        Menu->setPurgeEnabled(false);
        Menu->setResetEnabled(false);
    }
    for (int i = 0; i <= Count; ++i) {
        Items[i]->setDPFE(QString());
    }
}

void TovMRUs::RefreshMenu() {
    if (Menu == nullptr) {
        return;
    }
    QStringList captions;
    bool firstVisible = false;
    for (int n = 1; n <= Capacity; ++n) {
        const QString path = n <= Count ? Items[n]->getDPFE() : QString();
        QString caption = platform::Format(QStringLiteral("%d %s"), {n, path});
        if (n == 1 && path.isEmpty()) {
            caption.clear();
        }
        captions << caption;
        Menu->setItemCaption(TMRUMenu::File, n, caption);
        Menu->setItemVisible(TMRUMenu::File, n, !path.isEmpty());
        if (n == 1) {
            firstVisible = !path.isEmpty();
        }
    }
    Menu->setFileSeparatorVisible(firstVisible);
    bool popupFirstVisible = false;
    for (int n = 1; n <= Count; ++n) {
        const QString& caption = captions[n - 1];
        const bool visible = caption.trimmed().size() >= 2;
        Menu->setItemCaption(TMRUMenu::Popup, n, caption);
        Menu->setItemVisible(TMRUMenu::Popup, n, visible);
        if (n == 1) {
            popupFirstVisible = visible;
        }
    }
    Menu->setPurgeEnabled(popupFirstVisible);
    Menu->setResetEnabled(popupFirstVisible);
}

void TovMRUs::Load() {
    TRegBatch batch;
    TRegErrors errors;
    for (int n = 1; n <= Count; ++n) {
        try {
            Items[n]->setDPFE(RegReadString(HKEY_CURRENT_USER, slotKey(n), kValueName, QString()));
            Unread[n] = false;
        } catch (const platform::Exception& e) {
            Items[n]->setDPFE(QString());
            Unread[n] = true;
            errors.add(e.message());
        }
    }
    errors.show(false);
}

void TovMRUs::Save() {
    try {
        TRegBatch batch;
        std::array<bool, Capacity + 1> written{};
        for (int n = 1; n <= Count; ++n) {
            const QString p = Items[n]->getDPFE();
            if (Unread[n] && p.isEmpty()) {
                continue; // an unreadable stored value is not replaced by nothing
            }
            RegWriteString(HKEY_CURRENT_USER, slotKey(n), kValueName, p);
            written[n] = true;
        }
        batch.commit();
        for (int n = 1; n <= Count; ++n) {
            Unread[n] = Unread[n] && !written[n];
        }
    } catch (const platform::Exception& e) {
        ShowRegistryWriteError(e.message());
    }
}
