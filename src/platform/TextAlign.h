#pragma once

#include <QtGlobal>

// Horizontal and vertical alignment of a text in a cell, shared by the grid and the report
// tables.
enum THorAlign : quint8 { haLeft = 0, haCenter = 1, haRight = 2 };
enum TVerAlign : quint8 { vaTop = 0, vaCenter = 1, vaBottom = 2 };
