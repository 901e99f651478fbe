#include "ovRH.h"

#include "services/IndexRange.h"

TovRHs* PS_RHs = nullptr;
TovRHs* CD_RHs = nullptr;

TovRHs::TovRHs() {
    Items.push_back(std::make_unique<TovRH>());
}

TovRH* TovRHs::getItems(int index) const {
    if (CheckIndexRange(index, 0, Count, QStringLiteral("RHs.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}
