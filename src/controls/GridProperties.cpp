// The grid-wide properties of the grid widget: colours, cell defaults that overwrite every
// column, row and cell, gutter, header and home cell, appearance, behaviour and fonts.
#include "ovGrid.h"

#include <QAction>
#include <algorithm>

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

const QFont& TovGrid::measuringFont(const TGridFontStyle& style) const {
    TGridFontStyle key = style;
    key.Color = 0;
    if (!HasMeasuringFont || !(key == MeasuringStyle)) {
        MeasuringFont = cellFont(key);
        MeasuringStyle = key;
        HasMeasuringFont = true;
    }
    return MeasuringFont;
}

void TovGrid::fontChanged() {
    CellFont = font();
    HasMeasuringFont = false;
    // A linked font changes as when it is set: its styles reach every row's gutter and every
    // column's header values.
    if (LinkGutterFont) {
        setGutterFont(font());
    }
    if (LinkHeaderFont) {
        setHeaderFont(font());
    }
    if (LinkHomeFont) {
        setHomeFont(font());
    }
    endTyping();
    repaintAll();
}
