// Construction, index checks, repaint requests, sizes and re-dimensioning of the grid widget.
#include "ovGrid.h"

#include "GridEditors.h"
#include "GridIndexCheck.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <functional>

TovGrid::TovGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    PopUpCutText = QStringLiteral("Cut");
    PopUpCopyText = QStringLiteral("Copy");
    PopUpPasteText = QStringLiteral("Paste");
    PopUpClearText = QStringLiteral("Clear");
    CellFont = font();
    GutterFont = font();
    HeaderFont = font();
    HomeFont = font();
    Home.Font.Color = clWindowText;
    Geometry.Settings.ScrollBarExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);

    // Focus by Tab; a click focuses the grid itself, except on a cell that cannot be selected.
    setFocusPolicy(Qt::TabFocus);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const bool horz : {true, false}) {
        QScrollBar* bar = horz ? horizontalScrollBar() : verticalScrollBar();
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, horz](int action) { onScrollAction(horz, action); });
        connect(bar, &QScrollBar::valueChanged, this,
                [this, horz](int value) { onScrollValue(horz, value); });
    }

    F2Editor = new TF2Editor(this);

    DefaultPopUpMenu = new QMenu(this);
    CutAction = DefaultPopUpMenu->addAction(PopUpCutText, this, [this] { CutSelection(); });
    CopyAction = DefaultPopUpMenu->addAction(PopUpCopyText, this, [this] { CopySelection(); });
    PasteAction = DefaultPopUpMenu->addAction(PopUpPasteText, this, [this] { PasteSelection(); });
    ClearAction = DefaultPopUpMenu->addAction(PopUpClearText, this, [this] { ClearSelection(); });

    resize(300, 200);
    layoutGrid();
}

TovGrid::~TovGrid() {
    // The editor calls back into the grid when it loses the focus, which happens while the
    // widget part of the grid is being destroyed: it goes first.
    delete F2Editor;
    F2Editor = nullptr;
}

// ---- Index checks and repaint requests ----

bool TovGrid::badCol(int col, int low, const char* name) const {
    return CheckGridIndex(col, low, Cells.colCount(), name);
}

bool TovGrid::badRow(int row, int low, const char* name) const {
    return CheckGridIndex(row, low, Cells.rowCount(), name);
}

bool TovGrid::badCell(int col, int row, int low, const char* name) const {
    return badCol(col, low, name) || badRow(row, low, name);
}

void TovGrid::repaintData() {
    // Filling a grid sets thousands of cells before the next paint: one request is enough.
    if (BulkChange || DataRepaintPending) {
        return;
    }
    DataRepaintPending = true;
    viewport()->update(QRect(QPoint(Geometry.DataLeft - 2, Geometry.DataTop - 2),
                             QPoint(viewport()->width(), viewport()->height())));
}

void TovGrid::repaintGutter() {
    if (!BulkChange) {
        viewport()->update(0, Geometry.DataTop, Geometry.DataLeft,
                           viewport()->height() - Geometry.DataTop);
    }
}

void TovGrid::repaintHeader() {
    if (!BulkChange) {
        viewport()->update(0, 0, viewport()->width(), Geometry.DataTop);
    }
}

void TovGrid::repaintAll() {
    if (!BulkChange) {
        viewport()->update();
    }
}

void TovGrid::repaintCell(int col, int row) {
    if (BulkChange || col < 1 || row < 1) {
        return;
    }
    const QRect area = cellOrArea(col, row);
    viewport()->update(Geometry.areaRect(area.left(), area.top(), area.right(), area.bottom())
                           .toQRect()
                           .adjusted(-1, -1, 1, 1));
}

// ---- Sizes and re-dimensioning ----

void TovGrid::setColCount(int n) {
    redimension([this, n] { Cells.setColCount(std::max(n, 0)); });
}

void TovGrid::setRowCount(int n) {
    redimension([this, n] { Cells.setRowCount(std::max(n, 0)); });
}

// A new column or row count: the scroll position starts over, the current cell stays where it
// still exists (else it goes), and a changed current cell is reported.
void TovGrid::redimension(const std::function<void()>& resizeCells) {
    endTyping();
    const int oldCol = CurrentCol;
    const int oldRow = CurrentRow;
    hideEditors(false);
    resizeCells();
    Geometry.HorPos = 0;
    Geometry.VerPos = 0;
    if (Cells.colCount() > 0 && Cells.rowCount() > 0) {
        CurrentCol = std::clamp(CurrentCol, 1, Cells.colCount());
        CurrentRow = std::clamp(CurrentRow, 1, Cells.rowCount());
        setSelection(cellOrArea(CurrentCol, CurrentRow), true);
        layoutGrid();
        repaintAll();
        placeCurrentEditor();
    } else {
        CurrentCol = -1;
        CurrentRow = -1;
        Selection = QRect(QPoint(-1, -1), QPoint(-1, -1));
        layoutGrid();
        repaintAll();
    }
    if (CurrentCol != oldCol || CurrentRow != oldRow) {
        Q_EMIT OnColRowChanged(CurrentCol, CurrentRow);
    }
}

void TovGrid::applySizeChange() {
    hideEditors(true);
    layoutGrid();
    repaintAll();
    placeCurrentEditor();
}

void TovGrid::setDefaultColWidth(int value) {
    TGridDefaults& d = Cells.defaults();
    d.DefaultColWidth = std::max({value, 0, d.GridColMinWidth});
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.setColWidth(c, d.DefaultColWidth);
    }
    applySizeChange();
}

void TovGrid::setDefaultRowHeight(int value) {
    TGridDefaults& d = Cells.defaults();
    d.DefaultRowHeight = std::max({value, 0, d.GridRowMinHeight});
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.setRowHeight(r, d.DefaultRowHeight);
    }
    applySizeChange();
}

void TovGrid::setGridColMinWidth(int value) {
    TGridDefaults& d = Cells.defaults();
    d.GridColMinWidth = std::max(std::max(value, 0), 8);
    bool changed = false;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        if (Cells.colMinWidth(c) < d.GridColMinWidth) {
            Cells.setColMinWidth(c, d.GridColMinWidth);
        }
        if (Cells.colWidth(c) < d.GridColMinWidth) {
            Cells.setColWidth(c, d.GridColMinWidth);
            changed = true;
        }
    }
    if (changed) {
        applySizeChange();
    }
}

void TovGrid::setGridRowMinHeight(int value) {
    TGridDefaults& d = Cells.defaults();
    d.GridRowMinHeight = std::max(std::max(value, 0), 4);
    bool changed = false;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        if (Cells.rowMinHeight(r) < d.GridRowMinHeight) {
            Cells.setRowMinHeight(r, d.GridRowMinHeight);
        }
        if (Cells.rowHeight(r) < d.GridRowMinHeight) {
            Cells.setRowHeight(r, d.GridRowMinHeight);
            changed = true;
        }
    }
    if (changed) {
        applySizeChange();
    }
}

void TovGrid::setHeaderHeight(int value) {
    Geometry.Settings.HeaderHeight = std::max(value, 0);
    applySizeChange();
}

void TovGrid::setGutterWidth(int value) {
    Geometry.Settings.GutterWidth = std::max(value, 0);
    applySizeChange();
}
