#include "RF_CD_Consts.h"

#include "RF_PS_Consts.h"
#include "ReportTableRows.h"
#include "ovRF.h"
#include "ovRH.h"
#include "platform/Exception.h"

using ReportTableRows::FieldRow;
using ReportTableRows::HeaderRow;

namespace {

// Text, second text, cell, alignment, font/back, lines (top, left, bottom, right), merged to.
const HeaderRow kHeaders[] = {
    {0, 0, "A1", "Lb", "W/GR", "KKKK", "H1"},   // 1
    {708, 0, "A2", "Lb", "W/GR", "KKKK", "J2"}, // 2
    {709, 0, "I1", "Lb", "K/Y", "KKKK", ""},    // 3
    {710, 0, "I3", "Lb", "W/K", "KKKK", ""},    // 4
    {711, 0, "J3", "Lb", "K/Y", "KKKK", ""},    // 5
    {712, 0, "A3", "Lb", "K/Y", "KKSK", ""},    // 6
    {713, 0, "A4", "L", "K/BF", "SKSK", ""},    // 7
    {714, 0, "A5", "L", "K/BF", "SKKK", ""},    // 8
};

// Label text, cell, value type, alignment, font/back, lines, ellipsis, merged to.
const FieldRow kFields[] = {
    {715, "J1", "date", "L", "WT/W", "KKKK", "", ""},   // 1
    {716, "I4", "date", "L", "W/K", "KKKK", "", ""},    // 2
    {716, "I5", "date", "L", "W/K", "KKKK", "", ""},    // 3
    {717, "J4", "int", "L", "K/S", "KKKK", "", ""},     // 4
    {717, "J5", "int", "L", "K/S", "KKKK", "", ""},     // 5
    {718, "B3", "text", "L", "WT/W", "KKSK", "", "H3"}, // 6
    {719, "B4", "text", "L", "WT/W", "SKSK", "", "H4"}, // 7
    {720, "B5", "text", "L", "WT/W", "SKKK", "", "H5"}, // 8
};

} // namespace

void FillChartDataHeaders(TovRHs& list) {
    ReportTableRows::AddHeaders(list, kHeaders, ReportTitle());
}

void FillChartDataFields(TovRFs& list) {
    ReportTableRows::AddFields(list, kFields);
}

void FillChartDataHeaders() {
    if (CD_RHs == nullptr) {
        throw platform::Exception(QStringLiteral("The Chart Data header table does not exist."));
    }
    FillChartDataHeaders(*CD_RHs);
}

void FillChartDataFields() {
    if (CD_RFs == nullptr) {
        throw platform::Exception(QStringLiteral("The Chart Data field table does not exist."));
    }
    FillChartDataFields(*CD_RFs);
}
