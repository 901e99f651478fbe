#pragma once

#include <Qt>

// Where a dialogue key pressed in one of the filter grid's in-cell lists (And/Or, Filter
// Operator) moves the grid's current cell: Tab to the next cell, Shift+Tab to the previous one,
// Enter (Shift+Enter backwards) only when the grid moves on Return. A key that moves is consumed
// whether or not the grid is enabled; None leaves the key to its default handling.
enum class TFilterListKeyMove { None, NextCell, PrevCell };
TFilterListKeyMove FilterListKeyMove(int key, Qt::KeyboardModifiers modifiers, bool moveOnReturn);
