#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

// The two menus that show the recently used files: the File menu's items and the popup's.
enum class TMRUMenu { File, Popup };

// The main window's part of the recently used file list: the captions and visibility of the
// File menu's items 1 to 9 and their separator, the popup's items and its Purge and Reset
// commands. The main window implements it.
class IMRUMenu {
public:
    virtual ~IMRUMenu() = default;
    virtual void setItemCaption(TMRUMenu menu, int n, const QString& caption) = 0;
    virtual void setItemVisible(TMRUMenu menu, int n, bool visible) = 0;
    virtual void setFileSeparatorVisible(bool visible) = 0;
    virtual void setPurgeEnabled(bool enabled) = 0;
    virtual void setResetEnabled(bool enabled) = 0;
};

// One entry of the list: a data file's full path, stored trimmed.
class TovMRU {
public:
    QString getDPFE() const { return DPFE; }
    void setDPFE(const QString& value);
    bool IsEmpty() const { return DPFE.trimmed().isEmpty(); }

private:
    QString DPFE;
};

// The most recently used data files, newest first, in slots 1 to Count (at most 9), kept in the
// registry under "Software\Tarrow Studio\Ovik KRV Tessel\MRUs"; slot 0 is a spare returned for
// bad indexes. Every removal moves the later slots up and empties the last one.
class TovMRUs {
public:
    static constexpr int Capacity = 9;

    TovMRUs();

    int getCount() const { return Count; }
    int getCapacity() const { return Capacity; }
    TovMRU& getItems(int index);
    QString getRegKey() const { return RegKey; }
    const QStringList& getPurgeReport() const { return PurgeReport; }

    bool Grow();
    bool AddToTop(const QString& path);
    bool Remove(const QString& path);
    // Removes empty and invalid entries and duplicates (keeping the newest copy in its slot).
    void CleanUp();
    // As CleanUp, also removing files that do not exist; the reasons go to the purge report.
    int Purge();
    void Clear();
    void RefreshMenu();
    // Reads each slot on its own; a slot that cannot be read stays empty, and its stored value is
    // not overwritten by an empty one.
    void Load();
    void Save();

    // The menus to show the list in (not owned); none until the main window exists.
    void setMenu(IMRUMenu* menu) { Menu = menu; }

private:
    QString slotKey(int n) const;
    void RemoveAt(int slot);
    // Whether a path fails one of the path checks; the failing test's report text id, else 0.
    int FailingCheck(const QString& path) const;
    void RemoveDuplicates();

    int Count = 0;
    std::vector<std::unique_ptr<TovMRU>> Items; // 0 .. Count
    std::array<bool, Capacity + 1> Unread{};
    QStringList PurgeReport;
    QString RegKey;
    IMRUMenu* Menu = nullptr;
};

extern TovMRUs* MRUs;
