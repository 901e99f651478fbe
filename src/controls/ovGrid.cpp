#include "ovGrid.h"

#include "GridEditors.h"
#include "services/IndexRange.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

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

TovGrid::~TovGrid() = default;

// ---- Index checks and repaint requests ----

bool TovGrid::badCol(int col, int low, const char* name) const {
    return CheckIndexRange(col, low, Cells.colCount(), QString::fromLatin1(name));
}

bool TovGrid::badRow(int row, int low, const char* name) const {
    return CheckIndexRange(row, low, Cells.rowCount(), QString::fromLatin1(name));
}

bool TovGrid::badCell(int col, int row, int low, const char* name) const {
    return badCol(col, low, name) || badRow(row, low, name);
}

void TovGrid::repaintData() {
    if (BulkChange) {
        return;
    }
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
    n = std::max(n, 0);
    endTyping();
    const int oldCol = CurrentCol;
    const int oldRow = CurrentRow;
    hideEditors(false);
    Cells.setColCount(n);
    Geometry.HorPos = 0;
    Geometry.VerPos = 0;
    if (n > 0 && Cells.rowCount() > 0) {
        CurrentCol = std::clamp(CurrentCol, 1, n);
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

void TovGrid::setRowCount(int n) {
    n = std::max(n, 0);
    endTyping();
    const int oldCol = CurrentCol;
    const int oldRow = CurrentRow;
    hideEditors(false);
    Cells.setRowCount(n);
    Geometry.HorPos = 0;
    Geometry.VerPos = 0;
    if (n > 0 && Cells.colCount() > 0) {
        CurrentRow = std::clamp(CurrentRow, 1, n);
        CurrentCol = std::clamp(CurrentCol, 1, Cells.colCount());
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

// ---- Grid-wide properties ----

void TovGrid::setGridCanSelect(bool value) {
    Cells.defaults().Cell.CanSelect = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.CanSelect = value; });
    repaintData();
}

void TovGrid::setColor(TColor value) {
    Cells.defaults().Cell.Color = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.Color = value; });
    repaintData();
}

void TovGrid::setAlternateColColor(TColor value) {
    AlternateColColor = value;
    repaintData();
}
void TovGrid::setAlternateRowColor(TColor value) {
    AlternateRowColor = value;
    repaintData();
}
void TovGrid::setColorAlternateCol(bool value) {
    ColorAlternateCol = value;
    repaintData();
}
void TovGrid::setColorAlternateRow(bool value) {
    ColorAlternateRow = value;
    repaintData();
}
void TovGrid::setSelectionColor(TColor value) {
    SelectionColor = value;
    repaintData();
}
void TovGrid::setSelectionRectColor(TColor value) {
    SelectionRectColor = value;
    repaintData();
}
void TovGrid::setDisabledColor(TColor value) {
    DisabledColor = value;
    if (!GridEnabled) {
        repaintAll();
    }
}
void TovGrid::setDisabledGridFontColor(TColor value) {
    DisabledGridFontColor = value;
    if (!GridEnabled) {
        repaintAll();
    }
}
void TovGrid::setDisabledGridLineColor(TColor value) {
    DisabledGridLineColor = value;
    if (!GridEnabled) {
        repaintAll();
    }
}
void TovGrid::setUnUsedColor(TColor value) {
    UnUsedColor = value;
    repaintAll();
}
void TovGrid::setF2EditorRectColor(TColor value) {
    F2EditorRectColor = value;
    repaintData();
}
void TovGrid::setColIndicatorColor(TColor value) {
    ColIndicatorColor = value;
    repaintHeader();
}
void TovGrid::setRowIndicatorColor(TColor value) {
    RowIndicatorColor = value;
    repaintGutter();
}
void TovGrid::setShowColIndicator(bool value) {
    ShowColIndicator = value;
    repaintHeader();
}
void TovGrid::setShowRowIndicator(bool value) {
    ShowRowIndicator = value;
    repaintGutter();
}

void TovGrid::setGridFontBold(bool value) {
    Cells.defaults().Cell.Font.Bold = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.Font.Bold = value; });
    repaintData();
}
void TovGrid::setGridFontItalic(bool value) {
    Cells.defaults().Cell.Font.Italic = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.Font.Italic = value; });
    repaintData();
}
void TovGrid::setGridFontStrikeOut(bool value) {
    Cells.defaults().Cell.Font.StrikeOut = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.Font.StrikeOut = value; });
    repaintData();
}
void TovGrid::setGridFontUnderline(bool value) {
    Cells.defaults().Cell.Font.Underline = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.Font.Underline = value; });
    repaintData();
}
void TovGrid::setGridFontColor(TColor value) {
    Cells.defaults().Cell.Font.Color = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.Font.Color = value; });
    repaintData();
}
void TovGrid::setGridHorAlign(THorAlign value) {
    hideEditors(true);
    Cells.defaults().Cell.HorAlign = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.HorAlign = value; });
    repaintData();
    placeCurrentEditor();
}
void TovGrid::setGridVerAlign(TVerAlign value) {
    hideEditors(true);
    Cells.defaults().Cell.VerAlign = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.VerAlign = value; });
    repaintData();
    placeCurrentEditor();
}
void TovGrid::setGridLineColor(TColor value) {
    TGridCellAttr& d = Cells.defaults().Cell;
    d.LineLeftColor = d.LineTopColor = d.LineRightColor = d.LineBottomColor = value;
    Cells.forEachAttr([value](TGridCellAttr& a) {
        a.LineLeftColor = a.LineTopColor = a.LineRightColor = a.LineBottomColor = value;
    });
    repaintData();
}
void TovGrid::setGridMaxLen(int value) {
    value = std::max(value, 0);
    Cells.defaults().Cell.MaxLength = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.MaxLength = value; });
    Cells.cutTexts(0, value);
    repaintData();
}
void TovGrid::setGridReadOnly(bool value) {
    Cells.defaults().Cell.ReadOnly = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.ReadOnly = value; });
    repaintData();
}
void TovGrid::setGridURL(bool value) {
    Cells.defaults().Cell.URL = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.URL = value; });
    repaintData();
}
void TovGrid::setGridWordWrap(bool value) {
    Cells.defaults().Cell.WordWrap = value;
    Cells.forEachAttr([value](TGridCellAttr& a) { a.WordWrap = value; });
    repaintData();
}
void TovGrid::setGridEllipsifyText(bool value) {
    TGridCellAttr& d = Cells.defaults().Cell;
    d.EllipsifyText = value;
    d.EllipsifyPath = false;
    Cells.forEachAttr([value](TGridCellAttr& a) {
        a.EllipsifyText = value;
        a.EllipsifyPath = false;
    });
    repaintData();
}
void TovGrid::setGridEllipsifyPath(bool value) {
    TGridCellAttr& d = Cells.defaults().Cell;
    d.EllipsifyPath = value;
    d.EllipsifyText = false;
    Cells.forEachAttr([value](TGridCellAttr& a) {
        a.EllipsifyPath = value;
        a.EllipsifyText = false;
    });
    repaintData();
}

// ---- Gutter, header and home cell ----

void TovGrid::setGutterKind(TGutterKind value) {
    const TGutterKind old = Geometry.Settings.GutterKind;
    if (old == value) {
        return;
    }
    hideEditors(true);
    Geometry.Settings.GutterKind = value;
    layoutGrid();
    if (old == gkNone || value == gkNone) {
        repaintAll();
    } else {
        repaintGutter();
    }
    placeCurrentEditor();
}
void TovGrid::setGutterColor(TColor value) {
    GutterColor = value;
    repaintGutter();
}
void TovGrid::copyGutterFontToRows() {
    const TGridFontStyle style = Cells.defaults().Gutter.Font;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.row(r).Gutter.Font = style;
    }
    repaintGutter();
}
void TovGrid::copyHeaderFontToColumns() {
    const TGridFontStyle style = Cells.defaults().Header.Font;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.column(c).Header.Font = style;
    }
    repaintHeader();
}
void TovGrid::setGutterFont(const QFont& value) {
    GutterFont = value;
    TGridFontStyle& style = Cells.defaults().Gutter.Font;
    style.Bold = value.bold();
    style.Italic = value.italic();
    style.StrikeOut = value.strikeOut();
    style.Underline = value.underline();
    copyGutterFontToRows();
}
void TovGrid::setGutterFontColor(TColor value) {
    Cells.defaults().Gutter.Font.Color = value;
    copyGutterFontToRows();
}
void TovGrid::setLinkGutterFont(bool value) {
    LinkGutterFont = value;
    if (value) {
        setGutterFont(font());
    }
}
void TovGrid::setGutterHorAlign(THorAlign value) {
    Cells.defaults().Gutter.HorAlign = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.row(r).Gutter.HorAlign = value;
    }
    repaintGutter();
}
void TovGrid::setGutterVerAlign(TVerAlign value) {
    Cells.defaults().Gutter.VerAlign = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.row(r).Gutter.VerAlign = value;
    }
    repaintGutter();
}
void TovGrid::setGutterWordWrap(bool value) {
    Cells.defaults().Gutter.WordWrap = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.row(r).Gutter.WordWrap = value;
    }
    repaintGutter();
}
void TovGrid::setGutterImagePicture(const QPixmap& value) {
    if (value.isNull()) {
        return;
    }
    GutterImagePicture = value;
    repaintGutter();
}
void TovGrid::setGutterImageHorAlign(THorAlign value) {
    GutterImageHorAlign = value;
    repaintGutter();
}
void TovGrid::setGutterImageVerAlign(TVerAlign value) {
    GutterImageVerAlign = value;
    repaintGutter();
}
void TovGrid::setGutterImageCenter(bool value) {
    GutterImageCenter = value;
    repaintGutter();
}
void TovGrid::setGutterImageStretch(bool value) {
    GutterImageStretch = value;
    repaintGutter();
}
void TovGrid::setGutterImageTransparent(bool value) {
    GutterImageTransparent = value;
    repaintGutter();
}

void TovGrid::setShowHeader(bool value) {
    Geometry.Settings.ShowHeader = value;
    applySizeChange();
}
void TovGrid::setHeaderColor(TColor value) {
    HeaderColor = value;
    repaintHeader();
}
void TovGrid::setHeaderFont(const QFont& value) {
    HeaderFont = value;
    TGridFontStyle& style = Cells.defaults().Header.Font;
    style.Bold = value.bold();
    style.Italic = value.italic();
    style.StrikeOut = value.strikeOut();
    style.Underline = value.underline();
    copyHeaderFontToColumns();
}
void TovGrid::setHeaderFontColor(TColor value) {
    Cells.defaults().Header.Font.Color = value;
    copyHeaderFontToColumns();
}
void TovGrid::setLinkHeaderFont(bool value) {
    LinkHeaderFont = value;
    if (value) {
        setHeaderFont(font());
    }
}
void TovGrid::setHeaderHorAlign(THorAlign value) {
    Cells.defaults().Header.HorAlign = value;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.column(c).Header.HorAlign = value;
    }
    repaintHeader();
}
void TovGrid::setHeaderVerAlign(TVerAlign value) {
    Cells.defaults().Header.VerAlign = value;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.column(c).Header.VerAlign = value;
    }
    repaintHeader();
}
void TovGrid::setHeaderWordWrap(bool value) {
    Cells.defaults().Header.WordWrap = value;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.column(c).Header.WordWrap = value;
    }
    repaintHeader();
}
void TovGrid::setHomeText(const QString& value) {
    Home.Text = value;
    repaintHeader();
}
void TovGrid::setHomeColor(TColor value) {
    HomeColor = value;
    repaintHeader();
}
void TovGrid::setHomeFont(const QFont& value) {
    HomeFont = value;
    Home.Font.Bold = value.bold();
    Home.Font.Italic = value.italic();
    Home.Font.StrikeOut = value.strikeOut();
    Home.Font.Underline = value.underline();
    repaintHeader();
}
void TovGrid::setHomeFontColor(TColor value) {
    Home.Font.Color = value;
    repaintHeader();
}
void TovGrid::setLinkHomeFont(bool value) {
    LinkHomeFont = value;
    if (value) {
        setHomeFont(font());
    }
}
void TovGrid::setHomeHorAlign(THorAlign value) {
    Home.HorAlign = value;
    repaintHeader();
}
void TovGrid::setHomeVerAlign(TVerAlign value) {
    Home.VerAlign = value;
    repaintHeader();
}
void TovGrid::setHomeWordWrap(bool value) {
    Home.WordWrap = value;
    repaintHeader();
}

// ---- Appearance and behaviour ----

void TovGrid::setBorderStyle(TBorderStyle value) {
    BorderStyle = value;
    setFrameShape(value == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    layoutGrid();
}
void TovGrid::setFlat(bool value) {
    Flat = value;
    repaintAll();
}
void TovGrid::setShowGridLines(bool value) {
    ShowGridLines = value;
    repaintData();
}
void TovGrid::setShowSelection(bool value) {
    ShowSelection = value;
    repaintData();
}
void TovGrid::setScrollBarKind(TScrollStyle value) {
    Geometry.Settings.ScrollBarKind = value;
    layoutGrid();
    repaintAll();
}
void TovGrid::setProportionalThumb(bool value) {
    ProportionalThumb = value;
    layoutGrid();
}
void TovGrid::setSmoothHorScroll(bool value) {
    Geometry.Settings.SmoothHorScroll = value;
    layoutGrid();
}
void TovGrid::setSmoothVerScroll(bool value) {
    Geometry.Settings.SmoothVerScroll = value;
    layoutGrid();
}
void TovGrid::setEnabled(bool value) {
    GridEnabled = value;
    if (!value) {
        endTyping();
        hideEditors(false);
    } else {
        placeCurrentEditor();
    }
    repaintAll();
}
void TovGrid::setOptions(TGridOptions value) {
    Geometry.Settings.Options = value;
    applySizeChange();
}
void TovGrid::setPopUpCutText(const QString& value) {
    PopUpCutText = value;
    CutAction->setText(value);
}
void TovGrid::setPopUpCopyText(const QString& value) {
    PopUpCopyText = value;
    CopyAction->setText(value);
}
void TovGrid::setPopUpPasteText(const QString& value) {
    PopUpPasteText = value;
    PasteAction->setText(value);
}
void TovGrid::setPopUpClearText(const QString& value) {
    PopUpClearText = value;
    ClearAction->setText(value);
}

// ---- Fonts ----

QFont TovGrid::styledFont(const QFont& base, const TGridFontStyle& style) {
    QFont f = base;
    f.setBold(style.Bold);
    f.setItalic(style.Italic);
    f.setStrikeOut(style.StrikeOut);
    f.setUnderline(style.Underline);
    return f;
}

QFont TovGrid::cellFont(const TGridFontStyle& style) const {
    return styledFont(CellFont, style);
}

void TovGrid::fontChanged() {
    CellFont = font();
    if (LinkGutterFont) {
        GutterFont = font();
    }
    if (LinkHeaderFont) {
        HeaderFont = font();
    }
    if (LinkHomeFont) {
        HomeFont = font();
    }
    endTyping();
    repaintAll();
}

// ---- Cells ----

QString TovGrid::getCells(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCells")) {
        return QString();
    }
    return Cells.cell(col, row).Text;
}

void TovGrid::setCells(int col, int row, const QString& text) {
    if (badCell(col, row, 1, "ovGrid.setCells")) {
        return;
    }
    Cells.cell(col, row).Text = text;
    repaintData();
}

void TovGrid::InternalSetCell(int col, int row, const QString& text, bool fireEvent) {
    if (badCell(col, row, 1, "ovGrid.InternalSetCell")) {
        return;
    }
    QString& stored = Cells.cell(col, row).Text;
    if (stored == text) {
        return;
    }
    stored = text;
    if (fireEvent) {
        Q_EMIT OnCellChange(col, row, text);
    }
    if (!Typing && !F2Open && !BulkChange) {
        repaintCell(col, row);
    }
}

TColor TovGrid::getCellColor(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellColor")) {
        return clWindow;
    }
    return Cells.cell(col, row).Color;
}
void TovGrid::setCellColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellColor")) {
        return;
    }
    Cells.cell(col, row).Color = value;
    repaintData();
}
bool TovGrid::getCellCanSelect(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellCanSelect")) {
        return false;
    }
    return Cells.cell(col, row).CanSelect;
}
void TovGrid::setCellCanSelect(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellCanSelect")) {
        return;
    }
    Cells.cell(col, row).CanSelect = value;
    repaintData();
}
bool TovGrid::getCellFontBold(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontBold")) {
        return false;
    }
    return Cells.cell(col, row).Font.Bold;
}
void TovGrid::setCellFontBold(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellFontBold")) {
        return;
    }
    Cells.cell(col, row).Font.Bold = value;
    repaintData();
}
bool TovGrid::getCellFontItalic(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontItalic")) {
        return false;
    }
    return Cells.cell(col, row).Font.Italic;
}
bool TovGrid::getCellFontStrikeOut(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontStrikeOut")) {
        return false;
    }
    return Cells.cell(col, row).Font.StrikeOut;
}
bool TovGrid::getCellFontUnderline(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontUnderline")) {
        return false;
    }
    return Cells.cell(col, row).Font.Underline;
}
void TovGrid::setCellFontUnderline(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellFontUnderline")) {
        return;
    }
    Cells.cell(col, row).Font.Underline = value;
    repaintData();
}
TColor TovGrid::getCellFontColor(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontColor")) {
        return clBtnText;
    }
    return Cells.cell(col, row).Font.Color;
}
void TovGrid::setCellFontColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellFontColor")) {
        return;
    }
    Cells.cell(col, row).Font.Color = value;
    repaintData();
}
void TovGrid::setCellURL(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellURL")) {
        return;
    }
    Cells.cell(col, row).URL = value;
    repaintData();
}
bool TovGrid::getCellReadOnly(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellReadOnly")) {
        return false;
    }
    return Cells.cell(col, row).ReadOnly;
}
void TovGrid::setCellReadOnly(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellReadOnly")) {
        return;
    }
    Cells.cell(col, row).ReadOnly = value;
}
TVerAlign TovGrid::getCellVerAlign(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellVerAlign")) {
        return vaCenter;
    }
    return Cells.cell(col, row).VerAlign;
}
THorAlign TovGrid::getCellHorAlign(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellHorAlign")) {
        return haLeft;
    }
    return Cells.cell(col, row).HorAlign;
}
void TovGrid::setCellHorAlign(int col, int row, THorAlign value) {
    if (badCell(col, row, 1, "ovGrid.setCellHorAlign")) {
        return;
    }
    Cells.cell(col, row).HorAlign = value;
    hideEditors(true);
    repaintData();
    placeCurrentEditor();
}
int TovGrid::getCellDDLItemIndex(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellDDLItemIndex")) {
        return -1;
    }
    return Cells.cell(col, row).DDLItemIndex;
}
void TovGrid::setCellDDLItemIndex(int col, int row, int value) {
    if (badCell(col, row, 1, "ovGrid.setCellDDLItemIndex")) {
        return;
    }
    Cells.cell(col, row).DDLItemIndex = value;
}
bool TovGrid::getCellEditorVisible(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellEditorVisible")) {
        return false;
    }
    return Cells.cell(col, row).EditorVisible;
}
void TovGrid::setCellEditorVisible(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellEditorVisible")) {
        return;
    }
    Cells.cell(col, row).EditorVisible = value;
}
TCellEditor TovGrid::getCellEditor(int col, int row) const {
    if (badCell(col, row, 0, "ovGrid.getCellEditor")) {
        return ceNormal;
    }
    return Cells.cell(col, row).Editor;
}
void TovGrid::setCellEllipsifyText(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellEllipsifyText")) {
        return;
    }
    TGridCell& c = Cells.cell(col, row);
    c.EllipsifyText = value;
    if (value) {
        c.EllipsifyPath = false;
    }
    repaintData();
}
void TovGrid::setCellEllipsifyPath(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellEllipsifyPath")) {
        return;
    }
    TGridCell& c = Cells.cell(col, row);
    c.EllipsifyPath = value;
    if (value) {
        c.EllipsifyText = false;
    }
    repaintData();
}
void TovGrid::setCellGridLineLeftColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineLeftColor")) {
        return;
    }
    Cells.cell(col, row).LineLeftColor = value;
    if (col > 1) {
        Cells.cell(col - 1, row).LineRightColor = value;
    }
    repaintData();
}
void TovGrid::setCellGridLineTopColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineTopColor")) {
        return;
    }
    Cells.cell(col, row).LineTopColor = value;
    if (row > 1) {
        Cells.cell(col, row - 1).LineBottomColor = value;
    }
    repaintData();
}
void TovGrid::setCellGridLineRightColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineRightColor")) {
        return;
    }
    Cells.cell(col, row).LineRightColor = value;
    if (col < Cells.colCount()) {
        Cells.cell(col + 1, row).LineLeftColor = value;
    }
    repaintData();
}
void TovGrid::setCellGridLineBottomColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineBottomColor")) {
        return;
    }
    Cells.cell(col, row).LineBottomColor = value;
    if (row < Cells.rowCount()) {
        Cells.cell(col, row + 1).LineTopColor = value;
    }
    repaintData();
}
TCellMergedState TovGrid::getCellMergedState(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellMergedState")) {
        return cmsNone;
    }
    return Cells.cell(col, row).MergeState;
}

// ---- Columns and rows ----

void TovGrid::setColCanSelect(int col, bool value) {
    if (badCol(col, 1, "ovGrid.setColCanSelect")) {
        return;
    }
    Cells.column(col).CanSelect = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).CanSelect = value;
    }
    repaintData();
}
void TovGrid::setColColor(int col, TColor value) {
    if (badCol(col, 1, "ovGrid.setColColor")) {
        return;
    }
    Cells.column(col).Color = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).Color = value;
    }
    repaintData();
}
void TovGrid::setColReadOnly(int col, bool value) {
    if (badCol(col, 1, "ovGrid.setColReadOnly")) {
        return;
    }
    Cells.column(col).ReadOnly = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).ReadOnly = value;
    }
    repaintData();
}
void TovGrid::setColMaxLength(int col, int n) {
    if (badCol(col, 1, "ovGrid.setColMaxLength")) {
        return;
    }
    n = std::max(n, 0);
    Cells.column(col).MaxLength = n;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).MaxLength = n;
    }
    Cells.cutTexts(col, n);
    repaintData();
}
void TovGrid::setColMinWidths(int col, int width) {
    if (badCol(col, 1, "ovGrid.setColMinWidths")) {
        return;
    }
    const int minimum = std::max({width, 0, Cells.defaults().GridColMinWidth});
    Cells.setColMinWidth(col, minimum);
    if (Cells.colWidth(col) < minimum) {
        Cells.setColWidth(col, minimum);
        applySizeChange();
    }
}
THorAlign TovGrid::getColHorAlign(int col) const {
    if (badCol(col, 1, "ovGrid.getColHorAlign")) {
        return haLeft;
    }
    return Cells.column(col).HorAlign;
}
int TovGrid::getColWidths(int col) const {
    if (badCol(col, 1, "ovGrid.getColWidths")) {
        return 64;
    }
    return Cells.colWidth(col);
}
void TovGrid::setColWidths(int col, int width) {
    if (badCol(col, 1, "ovGrid.setColWidths")) {
        return;
    }
    int w = std::max({width, 0, Cells.defaults().GridColMinWidth, Cells.colMinWidth(col)});
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        if (Cells.cell(col, r).Editor != ceNormal) {
            w = std::max(w, CalcColMinWidths(col, true, true));
            break;
        }
    }
    Cells.setColWidth(col, w);
    applySizeChange();
}
int TovGrid::getRowHeights(int row) const {
    if (badRow(row, 1, "ovGrid.getRowHeights")) {
        return 18;
    }
    return Cells.rowHeight(row);
}
void TovGrid::setRowHeights(int row, int height) {
    if (badRow(row, 1, "ovGrid.setRowHeights")) {
        return;
    }
    int h = std::max({height, 0, Cells.defaults().GridRowMinHeight, Cells.rowMinHeight(row)});
    for (int c = 1; c <= Cells.colCount(); ++c) {
        if (Cells.cell(c, row).Editor != ceNormal) {
            h = std::max(h, CalcRowMinHeights(row, true, true));
            break;
        }
    }
    Cells.setRowHeight(row, h);
    applySizeChange();
}
void TovGrid::setRowWordWrap(int row, bool value) {
    if (badRow(row, 1, "ovGrid.setRowWordWrap")) {
        return;
    }
    Cells.row(row).WordWrap = value;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.cell(c, row).WordWrap = value;
    }
    repaintData();
}

// ---- Gutter and header cells ----

QString TovGrid::getGutterCellText(int row) const {
    if (badRow(row, 1, "ovGrid.getGutterCellText")) {
        return QString();
    }
    return Cells.row(row).Gutter.Text;
}
void TovGrid::setGutterCellText(int row, const QString& text) {
    if (badRow(row, 1, "ovGrid.setGutterCellText")) {
        return;
    }
    Cells.row(row).Gutter.Text = text;
    repaintGutter();
}
void TovGrid::setGutterCellFontColor(int row, TColor value) {
    if (badRow(row, 1, "ovGrid.setGutterCellFontColor")) {
        return;
    }
    Cells.row(row).Gutter.Font.Color = value;
    repaintGutter();
}
bool TovGrid::getGutterCellFontBold(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontBold") && Cells.row(row).Gutter.Font.Bold;
}
bool TovGrid::getGutterCellFontItalic(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontItalic") && Cells.row(row).Gutter.Font.Italic;
}
bool TovGrid::getGutterCellFontStrikeOut(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontStrikeOut") &&
           Cells.row(row).Gutter.Font.StrikeOut;
}
bool TovGrid::getGutterCellFontUnderline(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontUnderline") &&
           Cells.row(row).Gutter.Font.Underline;
}
QString TovGrid::getGutterImageHint(int row) const {
    if (badRow(row, 1, "ovGrid.getGutterImageHint")) {
        return QString();
    }
    return Cells.row(row).GutterImageHint;
}
void TovGrid::setGutterImageHint(int row, const QString& text) {
    if (badRow(row, 1, "ovGrid.setGutterImageHint")) {
        return;
    }
    Cells.row(row).GutterImageHint = text;
}
bool TovGrid::getGutterImageVisible(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterImageVisible") && Cells.row(row).GutterImageVisible;
}
void TovGrid::setGutterImageVisible(int row, bool value) {
    if (badRow(row, 1, "ovGrid.setGutterImageVisible")) {
        return;
    }
    Cells.row(row).GutterImageVisible = value;
    repaintGutter();
}
QString TovGrid::getHeaderCellText(int col) const {
    if (badCol(col, 1, "ovGrid.getHeaderCellText")) {
        return QString();
    }
    return Cells.column(col).Header.Text;
}
void TovGrid::setHeaderCellText(int col, const QString& text) {
    if (badCol(col, 1, "ovGrid.setHeaderCellText")) {
        return;
    }
    Cells.column(col).Header.Text = text;
    repaintHeader();
}
void TovGrid::setHeaderCellFontColor(int col, TColor value) {
    if (badCol(col, 1, "ovGrid.setHeaderCellFontColor")) {
        return;
    }
    Cells.column(col).Header.Font.Color = value;
    repaintHeader();
}
bool TovGrid::getHeaderCellFontBold(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontBold") && Cells.column(col).Header.Font.Bold;
}
bool TovGrid::getHeaderCellFontItalic(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontItalic") &&
           Cells.column(col).Header.Font.Italic;
}
bool TovGrid::getHeaderCellFontStrikeOut(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontStrikeOut") &&
           Cells.column(col).Header.Font.StrikeOut;
}
bool TovGrid::getHeaderCellFontUnderline(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontUnderline") &&
           Cells.column(col).Header.Font.Underline;
}

// ---- Whole grid ----

bool TovGrid::IsEmpty() const {
    return Cells.isEmpty();
}

void TovGrid::ClearCells() {
    Cells.clearTexts(0);
    repaintData();
}

void TovGrid::ClearRow(int row) {
    if (row < 1 || row > Cells.rowCount()) {
        return;
    }
    Cells.clearTexts(row);
    repaintData();
}

int TovGrid::CalcColLeft(int col) const {
    if (badCol(col, 0, "ovGrid.CalcColLeft")) {
        return 0;
    }
    return Geometry.colLeft(col);
}

int TovGrid::CalcRowTop(int row) const {
    if (badRow(row, 0, "ovGrid.CalcRowTop")) {
        return 0;
    }
    return Geometry.rowTop(row);
}

int TovGrid::RowTop(int row) const {
    if (badRow(row, 0, "TovGrid.RowTop")) {
        return std::max(0, Cells.defaults().DefaultRowHeight * (Cells.rowCount() - 1));
    }
    return Geometry.clientRowTop(row);
}

QRect TovGrid::CellRect(int col, int row) const {
    return Geometry.cellRect(col, row).toQRect().translated(viewport()->pos());
}
