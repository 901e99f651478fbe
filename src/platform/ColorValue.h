#pragma once

#include <QtGlobal>

// A colour value as windows, report tables and the workbook output store it: 0x00BBGGRR for a
// plain colour, 0xFF0000nn for system colour nn (the desktop's colour of that role).
using TColor = quint32;

// Plain colours.
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clMaroon = 0x00000080;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clOlive = 0x00008080;
inline constexpr TColor clNavy = 0x00800000;
inline constexpr TColor clPurple = 0x00800080;
inline constexpr TColor clTeal = 0x00808000;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clLime = 0x0000FF00;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clFuchsia = 0x00FF00FF;
inline constexpr TColor clAqua = 0x00FFFF00;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clSkyBlue = 0x00F0CAA6;

// System colours.
inline constexpr TColor clInactiveCaption = 0xFF000003;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clHighlight = 0xFF00000D;
inline constexpr TColor clHighlightText = 0xFF00000E;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clBtnShadow = 0xFF000010;
inline constexpr TColor clGrayText = 0xFF000011;
inline constexpr TColor clBtnText = 0xFF000012;
inline constexpr TColor clInactiveCaptionText = 0xFF000013;
inline constexpr TColor clBtnHighlight = 0xFF000014;
inline constexpr TColor clInfoText = 0xFF000017;
inline constexpr TColor clInfoBk = 0xFF000018;

namespace platform {

// True for a system colour value (0xFF0000nn with nn a known system colour index).
bool isSystemColor(TColor value);
// True for a value that names a colour: a plain colour or a known system colour.
bool isValidColor(TColor value);
// Index nn of a system colour value; -1 for any other value.
int systemColorIndex(TColor value);
// The opaque 0xFFRRGGBB of a colour value; a system colour takes the classic desktop default of
// its role, so that the grid and the workbook output show the same colour. An invalid value
// gives black.
quint32 colorToArgb(TColor value);

} // namespace platform
