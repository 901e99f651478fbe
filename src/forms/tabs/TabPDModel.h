#pragma once

#include <QDate>
#include <QString>

#include <array>

class TovSD;
class TovDV;

// The Home tab's plain state and logic: the project details and cut off date it edits, the
// read-only summary of the other tabs it mirrors, the status of each mirrored value, which
// controls are usable, and the commands of its buttons and status pictures. The page widget
// shows what these functions compute and calls them on every user action.
namespace tabpd {

inline constexpr int kMaxDetailLength = 255;

// The values the page shows. Texts are as the boxes hold them; CutOffDate is the stored day
// number (its time of day is kept until the user picks another date).
struct TValues {
    QString ProjectTitle;
    QString ProjectNumber;
    QString ProjectClient;
    double CutOffDate = 0.0;
    // The date as last loaded or stored: only a date the user picked since then is written, so
    // that a date moved meanwhile by a run is not put back.
    double StoredCutOffDate = 0.0;
    // Mirrors, exactly as stored: the page never repairs what another tab owns.
    QString DataSourcePath;
    QString TemplatePath;
    QString OutputPath;
    QString DataOptions;
    QString QuantityOptions;
    QString FilterDetails;
};

// The three workbooks the page mirrors, in page order.
enum class TWorkbook { DataSource, Template, Output };
inline constexpr int kWorkbookCount = 3;

// The six status pictures, in page order.
enum class TStatus { DataSource, Template, Output, DataOptions, QuantityOptions, FilterDetails };
inline constexpr int kStatusCount = 6;

struct TStatusResult {
    bool IsError = false;
    QString Message; // the validator's hint text of the failing check; empty when ok
};
using TStatusResults = std::array<TStatusResult, kStatusCount>;

// What the page's enabling rules allow.
struct TStates {
    std::array<bool, kWorkbookCount> OpenEnabled{}; // an Open button with a path to open
    bool CutOffDateEnabled = false; // the picker, its label and note: some data set is generated
};

// Where a status picture's double-click takes the user: the owning tab and the text number of
// the field's label (0: the page control).
struct TFieldTarget {
    int PageIndex = 0;
    int FieldId = 0;
};

// Fills the values from the definition (stored values only; nothing is changed).
TValues Load(const TovSD& sd);
// Writes the edited values into the definition: the trimmed project details and the cut off
// date when the user picked one; the values then count as stored. True when a stored value
// changed.
[[nodiscard]] bool Store(TValues& values, TovSD& sd);
// The status of every mirrored value from what the definition stores. Paths compare as the file
// system does (case-sensitive).
TStatusResults Validate(const TovSD& sd, TovDV& dv);
// Whether the definition generates Baseline, Actual or Target data.
bool GeneratesAnyDataSet(const TovSD& sd);
// The enabling rules for a page that is enabled or not.
TStates States(bool pageEnabled, const TovSD& sd);
// The quantity options lead to the man hours box, or to the data options while no data set is
// generated (the quantity boxes are disabled then).
TFieldTarget TargetOf(TStatus status, const TovSD& sd);

// The path of a workbook as stored, and its field caption.
QString StoredPath(const TovSD& sd, TWorkbook workbook);
QString WorkbookCaption(TWorkbook workbook);
// Opens a stored workbook with the desktop: stops at the first failing check (each shows its
// own dialogue: path, existence, compatibility pack); forgets the lists read from that workbook
// before it is opened, since the user may change it. True when it was handed to the desktop.
bool OpenWorkbook(TovSD& sd, TWorkbook workbook);

// Day numbers (days since 30 Dec 1899) and the picker's dates.
QDate DateOfDay(double day);
double DayOfDate(const QDate& date);
// The picker's range: the cut off dates the validator accepts.
QDate MinimumDate();
QDate MaximumDate();

} // namespace tabpd
