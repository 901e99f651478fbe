#include "ovRH.h"

#include "services/IndexRange.h"

TovRHs* PS_RHs = nullptr;
TovRHs* CD_RHs = nullptr;

void TovRH::Reset() {
    Caption.clear();
    ResetPosition();
}

TovRHs::TovRHs() {
    Items.push_back(std::make_unique<TovRH>());
    ResetAll();
}

TovRH* TovRHs::getItems(int index) const {
    if (CheckIndexRange(index, 0, Count, QStringLiteral("RHs.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}

int TovRHs::Add(const QString& Caption, const QString& Cell, qint32 Column, qint32 Row,
                const ReportCellStyle& Style) {
    auto item = std::make_unique<TovRH>();
    item->setCaption(Caption);
    item->setPlacement(Cell, Column, Row, Style);
    Items.push_back(std::move(item));
    ++Count;
    return Count;
}

void TovRHs::ResetAll() {
    for (int i = 1; i <= Count; ++i) {
        Items[static_cast<size_t>(i)]->Reset();
    }
}
