#include "forms/tabs/TabGrids.h"

#include "controls/ovGrid.h"

void ApplyTabGridBehaviour(TovGrid& grid) {
    grid.setOptions({goAutoSizeLastCol, goResizeCol, goAutoSizeCol});
    grid.setMoveDown(false);
    grid.setMoveWrap(mwGrid);
    grid.setHomeHorAlign(haLeft);
    grid.setUnUsedColor(clBtnFace);
    grid.setShowPopUp(true);
}
