#pragma once

#include "platform/ColorValue.h"

#include <array>

// The colour of each data set wherever the three are shown side by side: the column headings of
// the Summary window and of the Project Summary worksheet, the series of the template's charts,
// and the previews and legends of the curve options. One definition, so that a data set reads
// the same colour on every screen and sheet.
namespace DataSetColors {
inline constexpr TColor Baseline = 0x00FF6633; // blue
inline constexpr TColor Actual = 0x0000FF00;   // green
inline constexpr TColor Target = 0x000000FF;   // red
// Baseline, Actual, Target: the order of the data sets everywhere.
inline constexpr std::array<TColor, 3> InOrder = {Baseline, Actual, Target};
} // namespace DataSetColors
