#pragma once

#include <QString>

// The part of the recently used files list that the data file commands use: put a path at the
// top after an open or a save, store the list and show it in the menus.
class IRecentFilesList {
public:
    virtual ~IRecentFilesList() = default;
    virtual void AddToTop(const QString& path) = 0;
    virtual void Save() = 0;
    virtual void RefreshMenu() = 0;
};
