#pragma once

#include <QString>
#include <memory>
#include <vector>

// One header cell of an output worksheet: a fixed caption at a cell.
class TovRH {
public:
    QString Caption;
    QString Cell;
    int Column = 0;
    int Row = 0;
};

// The header cells of one output worksheet; item 0 is a default returned for a bad index.
class TovRHs {
public:
    TovRHs();
    TovRHs(const TovRHs&) = delete;
    TovRHs& operator=(const TovRHs&) = delete;

    int getCount() const { return Count; }
    TovRH* getItems(int index) const;

private:
    int Count = 0;
    std::vector<std::unique_ptr<TovRH>> Items;
};

extern TovRHs* PS_RHs;
extern TovRHs* CD_RHs;
