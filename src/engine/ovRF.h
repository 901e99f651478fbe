#pragma once

#include "ReportCellStyle.h"

#include <QString>
#include <memory>
#include <vector>

// Kinds of value a report field holds.
enum TovRFValueType : quint8 { vtText = 0, vtInteger = 1, vtNumber = 2, vtDate = 3 };

// Whether a report field's value is shown, or "No Data" / "N/A" in its place.
enum TovRFValueState : quint8 { vsValue = 0, vsNoData = 1, vsNotApplicable = 2 };

// One field cell of an output worksheet: a value each run fills, printed by a format, with the
// cell's position and style. Every write accessor assigns only when the value differs.
class TovRF : public TovReportCell {
public:
    TovRF();

    const QString& getLabel() const { return Label; }
    quint8 getValueType() const { return ValueType; }
    quint8 getValueState() const { return ValueState; }
    const QString& getFormat() const { return Format; }
    double getDateValue() const { return DateValue; }
    const QString& getTextValue() const { return TextValue; }
    qint32 getIntegerValue() const { return IntegerValue; }
    double getFloatValue() const { return FloatValue; }

    void setLabel(const QString& value) { assign(Label, value); }
    void setValueType(quint8 value) { assign(ValueType, value); }
    void setValueState(quint8 value) { assign(ValueState, value); }
    void setFormat(const QString& value) { assign(Format, value); }
    void setDateValue(double value) { assign(DateValue, value); }
    void setTextValue(const QString& value) { assign(TextValue, value); }
    void setIntegerValue(qint32 value) { assign(IntegerValue, value); }
    void setFloatValue(double value) { assign(FloatValue, value); }

    // Every field back to its default; the date value becomes today.
    void Reset();
    // The value back to empty in state 0 (the date value today); label, type, format, position
    // and style stay.
    void ClearValue();
    // The value printed by Format according to ValueType; empty for an unknown type. The state is
    // not consulted.
    QString FormatValue() const;

private:
    QString Label;
    quint8 ValueType = vtText;
    quint8 ValueState = vsValue;
    QString Format;
    double DateValue = 0.0;
    QString TextValue;
    qint32 IntegerValue = 0;
    double FloatValue = 0.0;
};

// The field cells of one output worksheet. Item 0 is a default item returned for an index out of
// range; the real items are 1 to Count, in the order they were added.
class TovRFs {
public:
    TovRFs();
    TovRFs(const TovRFs&) = delete;
    TovRFs& operator=(const TovRFs&) = delete;

    int getCount() const { return Count; }
    TovRF* getItems(int index) const;

    // Adds a field with every descriptive field set through its write accessor (the value keeps
    // its default); returns the new Count.
    int Add(const QString& Label, quint8 ValueType, const QString& Format, const QString& Cell,
            qint32 Column, qint32 Row, const ReportCellStyle& Style);

    // Reset of items 1 to Count.
    void ResetAll();
    // ClearValue of items 1 to Count; item 0 is untouched.
    void ClearValues();

private:
    int Count = 0;
    std::vector<std::unique_ptr<TovRF>> Items;
};

extern TovRFs* PS_RFs;
extern TovRFs* CD_RFs;
