#pragma once

#include "platform/ColorValue.h"

#include <QString>
#include <array>

class TovDV;
class TovSCO;
class TovSD;

// What the S Curve Options tab's controls hold. A list item is 0 (Task Total), 1 (Expended To
// Date) or -1 (no item chosen).
struct TSCOValues {
    bool GenerateBL = false;
    bool GenerateACT = false;
    bool GenerateTGT = false;
    int CutOffDate = 0; // whole day number
    bool GraphMH = false;
    int MHQtyItem = 0;
    bool GraphCost = false;
    int CostQtyItem = 0;

    bool operator==(const TSCOValues&) const = default;

    bool AnyData() const { return GenerateBL || GenerateACT || GenerateTGT; }
};

// The two previews of the tab.
enum class TSCOPreviewKind { SCurve, Histogram };

// The entries of a preview's legend, in their order.
enum TSCOLegendEntry : int { leBaseline = 0, leActual = 1, leTarget = 2, leCutOffDate = 3 };
inline constexpr int kSCOLegendEntryCount = 4;

// The picture a preview code stands for: nothing to preview (the tab is disabled), empty axes
// (no data set chosen), or the chosen data sets, dimmed while no quantity is graphed.
struct TSCOPreviewPicture {
    enum class Kind { Disabled, Blank, Curves };
    Kind kind = Kind::Disabled;
    bool Baseline = false;
    bool Actual = false;
    bool Target = false;
    bool Dimmed = false;

    // The picture's name ("Disabled", "Blank", "BA_D", "BAT").
    QString Name() const;
};

// The quantity axis title of a preview: its text number and font colour.
struct TSCOAxisLabel {
    int TextId = 0;
    TColor FontColor = clMaroon;
};

// How one preview shows: its picture code, whether it is active (captions in window text, axis
// titles and legend enabled), its quantity axis title and which legend entries are active.
struct TSCOPreviewState {
    int Code = 0;
    bool Active = false;
    TSCOAxisLabel Axis;
    std::array<bool, kSCOLegendEntryCount> Legend{};
};

// Which controls of the tab are enabled, what follows from the values.
struct TSCOControlStates {
    bool GenerateEnabled = false;   // the three Generate boxes, the Data Options caption
    bool CutOffDateEnabled = false; // date label, picker and its note
    bool GraphEnabled = false;      // both Graph boxes, the Quantity Options caption
    bool MHQtyEnabled = false;      // Task Man Hours = label and list
    bool CostQtyEnabled = false;    // Task Cost = label and list
    TSCOPreviewState SCurve;
    TSCOPreviewState Histogram;

    const TSCOPreviewState& Preview(TSCOPreviewKind kind) const {
        return kind == TSCOPreviewKind::SCurve ? SCurve : Histogram;
    }
};

// What the two status pictures show.
struct TSCOStatus {
    bool DataOptionsError = false;
    QString DataOptionsHint;
    bool QuantityOptionsError = false;
    QString QuantityOptionsHint;
};

// The controls that the configuration error list can send the user to.
enum class TSCOField { None, GenerateBL, CutOffDate, GraphMH, MHQty, CostQty };

// The S Curve Options tab without widgets: the values on screen, the tab's enabled flag, and the
// tab operations (clear, enable, load, refresh, store, validate, user edits) as pure rules.
namespace scotab {

// Preview code: 1 when definitions exist, + 2 Baseline, + 4 Actual, + 8 Target, + 16 when man
// hours or cost are graphed.
int PreviewCode(bool definitionsExist, const TSCOValues& values);
// The picture of a code; every even code and 17 give the Disabled picture.
TSCOPreviewPicture PreviewPictureOf(int code);
// The quantity axis title of a preview for the graphed quantities.
TSCOAxisLabel AxisLabelOf(TSCOPreviewKind kind, bool manHours, bool cost);
// The quantity axis title of an inactive preview.
TSCOAxisLabel InactiveAxisLabel(TSCOPreviewKind kind);

// The values of a cleared tab: nothing chosen, the date today.
TSCOValues ClearedValues(double today);
// The values of stored options: a quantity of 1 shows Expended To Date, anything else Task
// Total; the date is the whole day, kept inside the picker's range.
TSCOValues LoadedValues(const TovSCO& options);
// The values as the tab settles them after any change: without a data set nothing is graphed
// and both lists show Task Total; without Actual data both lists show Task Total.
TSCOValues Settled(const TSCOValues& values);
// Writes the values into the definition's options (no item chosen stores Task Total) and
// recomputes which data source map fields are required. True when a stored option changed.
bool Store(const TSCOValues& values, TovSD& definition);

// The controls' states for the values. A disabled tab or one without a data set shows inactive
// previews (the Blank picture while definitions exist, else the Disabled one).
TSCOControlStates ControlStatesOf(const TSCOValues& values, bool tabEnabled, bool definitionsExist);
// The status pictures: no data set chosen, nothing graphed. The hints are the validator's.
TSCOStatus Validate(const TSCOValues& values, TovDV& validator);

// The control of a configuration error's field (its label's text number).
TSCOField FieldOfLabel(int fieldId);

// The preview's legend entries in order with their text numbers.
int LegendTextId(TSCOPreviewKind kind, TSCOLegendEntry entry);

} // namespace scotab

// The tab's state between its operations: the values on screen and the enabled flag. Load,
// Refresh, Store and user edits do nothing while the tab is disabled.
class TSCOTabState {
public:
    const TSCOValues& values() const { return Values; }
    bool enabled() const { return Enabled; }

    void Clear(double today) { Values = scotab::ClearedValues(today); }
    // Disabling clears the values.
    void Enable(bool flag, double today);
    void Load(const TovSCO& options);
    void Refresh();
    // True when a stored option changed.
    bool Store(TovSD& definition) const;
    // A user's edit: the edited values, settled, become the tab's. True when a value changed.
    bool Edit(const TSCOValues& edited);
    TSCOControlStates States(bool definitionsExist) const {
        return scotab::ControlStatesOf(Values, Enabled, definitionsExist);
    }

private:
    TSCOValues Values;
    bool Enabled = false;
};
