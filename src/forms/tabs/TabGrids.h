#pragma once

class TovGrid;

// The behaviour the tabs' two editing grids (Data Source Map, Data Source Filter) share: columns
// that fit their contents and that the user resizes, the last one filling the grid; the current
// cell moving across rather than down and wrapping through the whole grid; the home cell's text
// on the left; the area beyond the cells in the face colour; and the grid's pop-up menu.
void ApplyTabGridBehaviour(TovGrid& grid);
