#include "ovRF.h"

#include "services/IndexRange.h"

TovRFs* PS_RFs = nullptr;
TovRFs* CD_RFs = nullptr;

TovRFs::TovRFs() {
    Items.push_back(std::make_unique<TovRF>());
}

TovRF* TovRFs::getItems(int index) const {
    if (CheckIndexRange(index, 0, Count, QStringLiteral("RFs.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}
