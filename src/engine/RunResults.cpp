#include "RunResults.h"

namespace engine {

void SeriesStore::reset(int days) {
    days_ = days < 0 ? 0 : days;
    values_.assign(static_cast<std::size_t>(RowCount) * stride(), 0.0);
}

void SeriesStore::clear() {
    days_ = 0;
    values_.clear();
    values_.shrink_to_fit();
}

void RunResults::freeArrays() {
    Tasks.clear();
    Tasks.shrink_to_fit();
    for (DataSetResult& s : Sets) {
        s.Tasks.clear();
        s.Tasks.shrink_to_fit();
    }
    Days.clear();
    Days.shrink_to_fit();
    Series.clear();
}

} // namespace engine
