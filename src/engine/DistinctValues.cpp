#include "DistinctValues.h"

#include "engine/StageProgress.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"

#include <QHash>

namespace engine {

namespace {}

std::vector<DistinctValue> DistinctValues(const std::vector<QString>& raw,
                                          StageProgress& progress) {
    const int n = static_cast<int>(raw.size());
    std::vector<DistinctValue> distinct;
    // Upper-cased text -> index into distinct.
    QHash<QString, int> indexOf;
    indexOf.reserve(n);
    progress.beginCount(txt::RemovingDuplicateTaskFieldValues, n);
    for (int pos = 1; pos <= n; ++pos) {
        const QString& value = raw[static_cast<std::size_t>(pos - 1)];
        const QString key = UpperCaseAZ(value);
        const auto it = indexOf.constFind(key);
        if (it == indexOf.constEnd()) {
            indexOf.insert(key, static_cast<int>(distinct.size()));
            distinct.push_back({value, 1});
        } else {
            ++distinct[static_cast<std::size_t>(it.value())].TaskCount;
        }
        progress.countItem(pos);
    }
    progress.endCount();
    return distinct;
}

} // namespace engine
