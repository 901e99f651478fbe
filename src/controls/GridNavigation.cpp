#include "GridNavigation.h"

#include <algorithm>

std::optional<QPoint> TovGridNavigation::step(TGridMove move, QPoint p) const {
    const bool horz = move == TGridMove::PrevCol || move == TGridMove::NextCol;
    const bool forward = move == TGridMove::NextCol || move == TGridMove::NextRow;
    // Work in (along, across): along is the moving index, across the other one.
    int along = horz ? p.x() : p.y();
    int across = horz ? p.y() : p.x();
    const int alongMax = horz ? C : R;
    const int acrossMax = horz ? R : C;
    along += forward ? 1 : -1;
    if (along < 1 || along > alongMax) {
        switch (Wrap) {
        case mwNone:
            return std::nullopt;
        case mwSameColRow:
            along = forward ? 1 : alongMax;
            break;
        case mwColsRows:
        case mwGrid:
            across += forward ? 1 : -1;
            if (across < 1 || across > acrossMax) {
                if (Wrap == mwColsRows) {
                    return std::nullopt;
                }
                across = forward ? 1 : acrossMax;
            }
            along = forward ? 1 : alongMax;
            break;
        }
    }
    return horz ? QPoint(along, across) : QPoint(across, along);
}

QPoint TovGridNavigation::moveTarget(TGridMove move, QPoint from) const {
    if (C < 1 || R < 1) {
        return from;
    }
    const bool horz = move == TGridMove::PrevCol || move == TGridMove::NextCol;
    int maxSteps = 0;
    switch (Wrap) {
    case mwNone:
    case mwSameColRow:
        maxSteps = horz ? C : R;
        break;
    case mwColsRows:
    case mwGrid:
        maxSteps = C * R;
        break;
    }
    QPoint p = from;
    for (int steps = 0; steps < maxSteps; ++steps) {
        const std::optional<QPoint> next = step(move, p);
        if (!next) {
            return from;
        }
        p = *next;
        if (Selectable(p.x(), p.y())) {
            return p;
        }
    }
    return from;
}

std::optional<QPoint> TovGridNavigation::readingStep(QPoint p, bool forward, bool wrap) const {
    int col = p.x() + (forward ? 1 : -1);
    int row = p.y();
    if (col > C) {
        col = 1;
        ++row;
    } else if (col < 1) {
        col = C;
        --row;
    }
    if (row < 1 || row > R) {
        if (!wrap) {
            return std::nullopt;
        }
        row = forward ? 1 : R;
    }
    return QPoint(col, row);
}

std::optional<QPoint> TovGridNavigation::homeTarget(QPoint from) const {
    if (C < 1 || R < 1) {
        return std::nullopt;
    }
    QPoint p(1, from.y());
    for (int steps = 0; steps <= C; ++steps) {
        if (Selectable(p.x(), p.y())) {
            return p;
        }
        p.setX(p.x() == C ? 1 : p.x() + 1);
    }
    return std::nullopt;
}

std::optional<QPoint> TovGridNavigation::ctrlHomeTarget(QPoint from) const {
    if (C < 1 || R < 1) {
        return std::nullopt;
    }
    const int maxSteps = (from.y() - 1) * C + from.x();
    std::optional<QPoint> p = QPoint(1, 1);
    for (int steps = 0; p && steps <= maxSteps; ++steps) {
        if (Selectable(p->x(), p->y())) {
            return p;
        }
        p = readingStep(*p, true, false);
    }
    return std::nullopt;
}

std::optional<QPoint> TovGridNavigation::ctrlEndTarget() const {
    if (C < 1 || R < 1) {
        return std::nullopt;
    }
    std::optional<QPoint> p = QPoint(C, R);
    for (int steps = 0; p && steps <= C * R; ++steps) {
        if (Selectable(p->x(), p->y())) {
            return p;
        }
        p = readingStep(*p, false, false);
    }
    return std::nullopt;
}

int TovGridNavigation::pageUpRow(TovGridGeometry& geometry, int col, int row) const {
    const int firstVisible = geometry.firstVisibleRow();
    const int offset = firstVisible == 1 ? 0 : std::max(0, row - firstVisible);
    geometry.setPosition(
        false,
        geometry.clampAndSnap(false, geometry.VerPos - (geometry.ClientHeight - geometry.DataTop)));
    int target = std::min(offset + geometry.firstVisibleRow(), R);
    int steps = 0;
    while (!Selectable(col, target)) {
        --target;
        ++steps;
        if (target < 1 || steps > row) {
            return row;
        }
    }
    return target;
}

int TovGridNavigation::pageDownRow(TovGridGeometry& geometry, int col, int row) const {
    const int firstVisible = geometry.firstVisibleRow();
    int lastVisible = geometry.lastVisibleRow();
    int offset = std::max(0, row - firstVisible);
    if (lastVisible == R && geometry.rowTop(firstVisible) == geometry.VerPos) {
        offset = R - firstVisible;
    }
    if (lastVisible == row && lastVisible >= 1 &&
        geometry.rowTop(lastVisible + 1) - geometry.rowTop(lastVisible) >
            geometry.ClientHeight - geometry.DataTop) {
        lastVisible = std::min(lastVisible + 1, R);
    }
    geometry.setPosition(false, geometry.clampAndSnap(false, geometry.rowTop(lastVisible)));
    int target = std::min(offset + geometry.firstVisibleRow(), R);
    for (int steps = 0; !Selectable(col, target); ++steps) {
        if (steps >= R - row + 1 || target >= R) {
            return row;
        }
        ++target;
    }
    return target;
}
