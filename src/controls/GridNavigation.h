#pragma once

#include "GridGeometry.h"
#include "GridTypes.h"

#include <QPoint>
#include <functional>
#include <optional>

enum class TGridMove { PrevCol, PrevRow, NextCol, NextRow };

// The rules that move the current cell: the four previous/next moves under each MoveWrap rule,
// skipping cells that cannot be selected; Home, Ctrl+Home, Ctrl+End; Page Up and Page Down.
// Each computes a target without changing the grid's current cell.
class TovGridNavigation {
public:
    using CanSelect = std::function<bool(int col, int row)>;

    TovGridNavigation(int colCount, int rowCount, TMoveWrap wrap, CanSelect canSelect)
        : C(colCount), R(rowCount), Wrap(wrap), Selectable(std::move(canSelect)) {}

    // The target of a move from the cell; the cell itself when no selectable cell is found.
    QPoint moveTarget(TGridMove move, QPoint from) const;
    // Home, Ctrl+Home and Ctrl+End targets; none when no selectable cell is found.
    std::optional<QPoint> homeTarget(QPoint from) const;
    std::optional<QPoint> ctrlHomeTarget(QPoint from) const;
    std::optional<QPoint> ctrlEndTarget() const;

    // Page Up and Page Down: scroll the geometry (clamped and snapped) and return the target row
    // in the column; the row itself when no selectable row is found.
    int pageUpRow(TovGridGeometry& geometry, int col, int row) const;
    int pageDownRow(TovGridGeometry& geometry, int col, int row) const;

private:
    // One proposal of the move's rule from p; none at an end the rule does not pass.
    std::optional<QPoint> step(TGridMove move, QPoint p) const;
    std::optional<QPoint> readingStep(QPoint p, bool forward, bool wrap) const;

    int C;
    int R;
    TMoveWrap Wrap;
    CanSelect Selectable;
};
