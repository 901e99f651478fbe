#include "ovRF.h"

#include "ReportDates.h"
#include "platform/Format.h"
#include "services/IndexRange.h"

TovRFs* PS_RFs = nullptr;
TovRFs* CD_RFs = nullptr;

TovRF::TovRF() : DateValue(ReportDates::Today()) {}

void TovRF::Reset() {
    Label.clear();
    ValueType = vtText;
    ValueState = vsValue;
    Format.clear();
    DateValue = ReportDates::Today();
    TextValue.clear();
    IntegerValue = 0;
    FloatValue = 0.0;
    ResetPosition();
}

void TovRF::ClearValue() {
    setValueState(vsValue);
    setDateValue(ReportDates::Today());
    setTextValue(QString());
    setIntegerValue(0);
    setFloatValue(0.0);
}

QString TovRF::FormatValue() const {
    switch (ValueType) {
    case vtText:
        return platform::Format(Format, {TextValue});
    case vtInteger:
        return platform::Format(Format, {IntegerValue});
    case vtNumber:
        return platform::Format(Format, {FloatValue});
    case vtDate:
        return ReportDates::FormatSerial(DateValue, Format);
    default:
        return {};
    }
}

TovRFs::TovRFs() {
    Items.push_back(std::make_unique<TovRF>());
    ResetAll();
}

TovRF* TovRFs::getItems(int index) const {
    if (CheckIndexRange(index, 0, Count, QStringLiteral("RFs.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}

int TovRFs::Add(const QString& Label, quint8 ValueType, const QString& Format, const QString& Cell,
                qint32 Column, qint32 Row, const ReportCellStyle& Style) {
    auto item = std::make_unique<TovRF>();
    item->setLabel(Label);
    item->setValueType(ValueType);
    item->setFormat(Format);
    item->setPlacement(Cell, Column, Row, Style);
    Items.push_back(std::move(item));
    ++Count;
    return Count;
}

void TovRFs::ResetAll() {
    for (int i = 1; i <= Count; ++i) {
        Items[static_cast<size_t>(i)]->Reset();
    }
}

void TovRFs::ClearValues() {
    for (int i = 1; i <= Count; ++i) {
        Items[static_cast<size_t>(i)]->ClearValue();
    }
}
