#pragma once

#include <QString>
#include <memory>
#include <vector>

// One field cell of an output worksheet: a value each run fills, printed by a format.
class TovRF {
public:
    QString Label;
    QString Cell;
    int Column = 0;
    int Row = 0;
};

// The field cells of one output worksheet; item 0 is a default returned for a bad index.
class TovRFs {
public:
    TovRFs();
    TovRFs(const TovRFs&) = delete;
    TovRFs& operator=(const TovRFs&) = delete;

    int getCount() const { return Count; }
    TovRF* getItems(int index) const;

private:
    int Count = 0;
    std::vector<std::unique_ptr<TovRF>> Items;
};

extern TovRFs* PS_RFs;
extern TovRFs* CD_RFs;
