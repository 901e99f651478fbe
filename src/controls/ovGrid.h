#pragma once

#include "GridCells.h"
#include "GridGeometry.h"
#include "GridNavigation.h"
#include "GridTypes.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

class QMenu;
class QAction;
class QComboBox;
class TF2Editor;
class TovGridPainter;

// The program's self-drawn grid: ColCount x RowCount data cells indexed (column, row) from 1,
// with a gutter column 0, a header row 0 and the home cell (0, 0). Windows fill it with setCells,
// read it with getCells, CurrentCol and CurrentRow, and learn of every user change through
// OnCellChange. The cell model and the geometry are plain classes (GridCells, GridGeometry,
// GridNavigation); this widget paints, routes events and places the in-place editors.
class TovGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TovGrid(QWidget* parent = nullptr);
    ~TovGrid() override;

    // Sizes.
    int getColCount() const { return Cells.colCount(); }
    void setColCount(int n);
    int getRowCount() const { return Cells.rowCount(); }
    void setRowCount(int n);
    int getDefaultColWidth() const { return Cells.defaults().DefaultColWidth; }
    void setDefaultColWidth(int value);
    int getDefaultRowHeight() const { return Cells.defaults().DefaultRowHeight; }
    void setDefaultRowHeight(int value);
    int getGridColMinWidth() const { return Cells.defaults().GridColMinWidth; }
    void setGridColMinWidth(int value);
    int getGridRowMinHeight() const { return Cells.defaults().GridRowMinHeight; }
    void setGridRowMinHeight(int value);
    int getHeaderHeight() const { return Geometry.Settings.HeaderHeight; }
    void setHeaderHeight(int value);
    int getGutterWidth() const { return Geometry.Settings.GutterWidth; }
    void setGutterWidth(int value);

    // The current cell; -1 while the grid has no columns or no rows.
    int getCurrentCol() const { return CurrentCol; }
    int getCurrentRow() const { return CurrentRow; }
    // The selection: left = first column, top = first row, right = last column, bottom = last
    // row.
    QRect getSelection() const { return Selection; }

    // Selection by the user.
    bool getAllowSelectCells() const { return AllowSelectCells; }
    void setAllowSelectCells(bool value) { AllowSelectCells = value; }
    bool getGridCanSelect() const { return Cells.defaults().Cell.CanSelect; }
    void setGridCanSelect(bool value);

    // Colours.
    TColor getColor() const { return Cells.defaults().Cell.Color; }
    void setColor(TColor value);
    TColor getAlternateColColor() const { return AlternateColColor; }
    void setAlternateColColor(TColor value);
    TColor getAlternateRowColor() const { return AlternateRowColor; }
    void setAlternateRowColor(TColor value);
    bool getColorAlternateCol() const { return ColorAlternateCol; }
    void setColorAlternateCol(bool value);
    bool getColorAlternateRow() const { return ColorAlternateRow; }
    void setColorAlternateRow(bool value);
    TColor getSelectionColor() const { return SelectionColor; }
    void setSelectionColor(TColor value);
    TColor getSelectionRectColor() const { return SelectionRectColor; }
    void setSelectionRectColor(TColor value);
    TColor getDisabledColor() const { return DisabledColor; }
    void setDisabledColor(TColor value);
    TColor getDisabledGridFontColor() const { return DisabledGridFontColor; }
    void setDisabledGridFontColor(TColor value);
    TColor getDisabledGridLineColor() const { return DisabledGridLineColor; }
    void setDisabledGridLineColor(TColor value);
    TColor getUnUsedColor() const { return UnUsedColor; }
    void setUnUsedColor(TColor value);
    TColor getF2EditorColor() const { return F2EditorColor; }
    void setF2EditorColor(TColor value) { F2EditorColor = value; }
    TColor getF2EditorRectColor() const { return F2EditorRectColor; }
    void setF2EditorRectColor(TColor value);
    bool getUseF2EditorColor() const { return UseF2EditorColor; }
    void setUseF2EditorColor(bool value) { UseF2EditorColor = value; }
    TColor getColIndicatorColor() const { return ColIndicatorColor; }
    void setColIndicatorColor(TColor value);
    TColor getRowIndicatorColor() const { return RowIndicatorColor; }
    void setRowIndicatorColor(TColor value);
    bool getShowColIndicator() const { return ShowColIndicator; }
    void setShowColIndicator(bool value);
    bool getShowRowIndicator() const { return ShowRowIndicator; }
    void setShowRowIndicator(bool value);

    // Cell defaults: each overwrites every column, row and cell.
    bool getGridFontBold() const { return Cells.defaults().Cell.Font.Bold; }
    void setGridFontBold(bool value);
    bool getGridFontItalic() const { return Cells.defaults().Cell.Font.Italic; }
    void setGridFontItalic(bool value);
    bool getGridFontStrikeOut() const { return Cells.defaults().Cell.Font.StrikeOut; }
    void setGridFontStrikeOut(bool value);
    bool getGridFontUnderline() const { return Cells.defaults().Cell.Font.Underline; }
    void setGridFontUnderline(bool value);
    TColor getGridFontColor() const { return Cells.defaults().Cell.Font.Color; }
    void setGridFontColor(TColor value);
    THorAlign getGridHorAlign() const { return Cells.defaults().Cell.HorAlign; }
    void setGridHorAlign(THorAlign value);
    TVerAlign getGridVerAlign() const { return Cells.defaults().Cell.VerAlign; }
    void setGridVerAlign(TVerAlign value);
    TColor getGridLineColor() const { return Cells.defaults().Cell.LineLeftColor; }
    void setGridLineColor(TColor value);
    int getGridMaxLen() const { return Cells.defaults().Cell.MaxLength; }
    void setGridMaxLen(int value);
    bool getGridReadOnly() const { return Cells.defaults().Cell.ReadOnly; }
    void setGridReadOnly(bool value);
    bool getGridURL() const { return Cells.defaults().Cell.URL; }
    void setGridURL(bool value);
    bool getGridWordWrap() const { return Cells.defaults().Cell.WordWrap; }
    void setGridWordWrap(bool value);
    bool getGridEllipsifyText() const { return Cells.defaults().Cell.EllipsifyText; }
    void setGridEllipsifyText(bool value);
    bool getGridEllipsifyPath() const { return Cells.defaults().Cell.EllipsifyPath; }
    void setGridEllipsifyPath(bool value);

    // Gutter.
    TGutterKind getGutterKind() const { return Geometry.Settings.GutterKind; }
    void setGutterKind(TGutterKind value);
    TColor getGutterColor() const { return GutterColor; }
    void setGutterColor(TColor value);
    QFont getGutterFont() const { return GutterFont; }
    void setGutterFont(const QFont& value);
    TColor getGutterFontColor() const { return Cells.defaults().Gutter.Font.Color; }
    void setGutterFontColor(TColor value);
    bool getLinkGutterFont() const { return LinkGutterFont; }
    void setLinkGutterFont(bool value);
    THorAlign getGutterHorAlign() const { return Cells.defaults().Gutter.HorAlign; }
    void setGutterHorAlign(THorAlign value);
    TVerAlign getGutterVerAlign() const { return Cells.defaults().Gutter.VerAlign; }
    void setGutterVerAlign(TVerAlign value);
    bool getGutterWordWrap() const { return Cells.defaults().Gutter.WordWrap; }
    void setGutterWordWrap(bool value);
    QPixmap getGutterImagePicture() const { return GutterImagePicture; }
    void setGutterImagePicture(const QPixmap& value);
    THorAlign getGutterImageHorAlign() const { return GutterImageHorAlign; }
    void setGutterImageHorAlign(THorAlign value);
    TVerAlign getGutterImageVerAlign() const { return GutterImageVerAlign; }
    void setGutterImageVerAlign(TVerAlign value);
    bool getGutterImageCenter() const { return GutterImageCenter; }
    void setGutterImageCenter(bool value);
    bool getGutterImageStretch() const { return GutterImageStretch; }
    void setGutterImageStretch(bool value);
    bool getGutterImageTransparent() const { return GutterImageTransparent; }
    void setGutterImageTransparent(bool value);

    // Header row and home cell.
    bool getShowHeader() const { return Geometry.Settings.ShowHeader; }
    void setShowHeader(bool value);
    TColor getHeaderColor() const { return HeaderColor; }
    void setHeaderColor(TColor value);
    QFont getHeaderFont() const { return HeaderFont; }
    void setHeaderFont(const QFont& value);
    TColor getHeaderFontColor() const { return Cells.defaults().Header.Font.Color; }
    void setHeaderFontColor(TColor value);
    bool getLinkHeaderFont() const { return LinkHeaderFont; }
    void setLinkHeaderFont(bool value);
    THorAlign getHeaderHorAlign() const { return Cells.defaults().Header.HorAlign; }
    void setHeaderHorAlign(THorAlign value);
    TVerAlign getHeaderVerAlign() const { return Cells.defaults().Header.VerAlign; }
    void setHeaderVerAlign(TVerAlign value);
    bool getHeaderWordWrap() const { return Cells.defaults().Header.WordWrap; }
    void setHeaderWordWrap(bool value);
    QString getHomeText() const { return Home.Text; }
    void setHomeText(const QString& value);
    TColor getHomeColor() const { return HomeColor; }
    void setHomeColor(TColor value);
    QFont getHomeFont() const { return HomeFont; }
    void setHomeFont(const QFont& value);
    TColor getHomeFontColor() const { return Home.Font.Color; }
    void setHomeFontColor(TColor value);
    bool getLinkHomeFont() const { return LinkHomeFont; }
    void setLinkHomeFont(bool value);
    THorAlign getHomeHorAlign() const { return Home.HorAlign; }
    void setHomeHorAlign(THorAlign value);
    TVerAlign getHomeVerAlign() const { return Home.VerAlign; }
    void setHomeVerAlign(TVerAlign value);
    bool getHomeWordWrap() const { return Home.WordWrap; }
    void setHomeWordWrap(bool value);

    // Appearance.
    TBorderStyle getBorderStyle() const { return BorderStyle; }
    void setBorderStyle(TBorderStyle value);
    bool getFlat() const { return Flat; }
    void setFlat(bool value);
    bool getShowGridLines() const { return ShowGridLines; }
    void setShowGridLines(bool value);
    bool getShowSelection() const { return ShowSelection; }
    void setShowSelection(bool value);
    TScrollStyle getScrollBarKind() const { return Geometry.Settings.ScrollBarKind; }
    void setScrollBarKind(TScrollStyle value);
    bool getProportionalThumb() const { return ProportionalThumb; }
    void setProportionalThumb(bool value);
    bool getSmoothHorScroll() const { return Geometry.Settings.SmoothHorScroll; }
    void setSmoothHorScroll(bool value);
    bool getSmoothVerScroll() const { return Geometry.Settings.SmoothVerScroll; }
    void setSmoothVerScroll(bool value);
    // The grid's own enabled flag: the widget stays enabled and ignores the mouse and the
    // keyboard while the flag is False.
    bool getEnabled() const { return GridEnabled; }
    void setEnabled(bool value);

    // Behaviour.
    bool getMoveDown() const { return MoveDown; }
    void setMoveDown(bool value) { MoveDown = value; }
    bool getMoveOnReturn() const { return MoveOnReturn; }
    void setMoveOnReturn(bool value) { MoveOnReturn = value; }
    TMoveWrap getMoveWrap() const { return MoveWrap; }
    void setMoveWrap(TMoveWrap value) { MoveWrap = value; }
    TGridOptions getOptions() const { return Geometry.Settings.Options; }
    void setOptions(TGridOptions value);
    bool getShowPopUp() const { return ShowPopUp; }
    void setShowPopUp(bool value) { ShowPopUp = value; }
    QString getPopUpCutText() const { return PopUpCutText; }
    void setPopUpCutText(const QString& value);
    QString getPopUpCopyText() const { return PopUpCopyText; }
    void setPopUpCopyText(const QString& value);
    QString getPopUpPasteText() const { return PopUpPasteText; }
    void setPopUpPasteText(const QString& value);
    QString getPopUpClearText() const { return PopUpClearText; }
    void setPopUpClearText(const QString& value);
    QMenu* getDefaultPopUpMenu() const { return DefaultPopUpMenu; }

    // Cells (indexes from 1 unless said otherwise; a bad index is reported and changes nothing).
    QString getCells(int col, int row) const;
    void setCells(int col, int row, const QString& text);
    // The path of every change the user makes: stores the text, fires OnCellChange when asked.
    void InternalSetCell(int col, int row, const QString& text, bool fireEvent);
    TColor getCellColor(int col, int row) const;
    void setCellColor(int col, int row, TColor value);
    bool getCellCanSelect(int col, int row) const;
    void setCellCanSelect(int col, int row, bool value);
    bool getCellFontBold(int col, int row) const;
    void setCellFontBold(int col, int row, bool value);
    bool getCellFontItalic(int col, int row) const;
    bool getCellFontStrikeOut(int col, int row) const;
    bool getCellFontUnderline(int col, int row) const;
    void setCellFontUnderline(int col, int row, bool value);
    TColor getCellFontColor(int col, int row) const;
    void setCellFontColor(int col, int row, TColor value);
    void setCellURL(int col, int row, bool value);
    bool getCellReadOnly(int col, int row) const;
    void setCellReadOnly(int col, int row, bool value);
    TVerAlign getCellVerAlign(int col, int row) const;
    THorAlign getCellHorAlign(int col, int row) const;
    void setCellHorAlign(int col, int row, THorAlign value);
    int getCellDDLItemIndex(int col, int row) const;
    void setCellDDLItemIndex(int col, int row, int value);
    bool getCellEditorVisible(int col, int row) const;
    void setCellEditorVisible(int col, int row, bool value);
    // Indexes from 0.
    TCellEditor getCellEditor(int col, int row) const;
    void setCellEditor(int col, int row, TCellEditor kind);
    void setCellEditorControl(int col, int row, QWidget* control);
    void setCellEllipsifyText(int col, int row, bool value);
    void setCellEllipsifyPath(int col, int row, bool value);
    // Each side is shared with the neighbour: setting it also sets the neighbour's side.
    void setCellGridLineLeftColor(int col, int row, TColor value);
    void setCellGridLineTopColor(int col, int row, TColor value);
    void setCellGridLineRightColor(int col, int row, TColor value);
    void setCellGridLineBottomColor(int col, int row, TColor value);
    TCellMergedState getCellMergedState(int col, int row) const;

    // Columns and rows.
    void setColCanSelect(int col, bool value);
    void setColColor(int col, TColor value);
    void setColEditor(int col, TCellEditor kind);
    void setColEditorControl(int col, QWidget* control);
    void setColMinWidths(int col, int width);
    void setColMaxLength(int col, int n);
    void setColReadOnly(int col, bool value);
    THorAlign getColHorAlign(int col) const;
    int getColWidths(int col) const;
    void setColWidths(int col, int width);
    int getRowHeights(int row) const;
    void setRowHeights(int row, int height);
    void setRowWordWrap(int row, bool value);

    // Gutter and header cells.
    QString getGutterCellText(int row) const;
    void setGutterCellText(int row, const QString& text);
    void setGutterCellFontColor(int row, TColor value);
    bool getGutterCellFontBold(int row) const;
    bool getGutterCellFontItalic(int row) const;
    bool getGutterCellFontStrikeOut(int row) const;
    bool getGutterCellFontUnderline(int row) const;
    QString getGutterImageHint(int row) const;
    void setGutterImageHint(int row, const QString& text);
    bool getGutterImageVisible(int row) const;
    void setGutterImageVisible(int row, bool value);
    QString getHeaderCellText(int col) const;
    void setHeaderCellText(int col, const QString& text);
    void setHeaderCellFontColor(int col, TColor value);
    bool getHeaderCellFontBold(int col) const;
    bool getHeaderCellFontItalic(int col) const;
    bool getHeaderCellFontStrikeOut(int col) const;
    bool getHeaderCellFontUnderline(int col) const;

    // Whole grid.
    bool IsEmpty() const;
    void ClearCells();
    void ClearRow(int row);

    // Geometry.
    int CalcColLeft(int col) const;
    int CalcRowTop(int row) const;
    int RowTop(int row) const;
    int CalcGridWidth() const { return Geometry.CalcGridWidth(); }
    int CalcGridHeight() const { return Geometry.CalcGridHeight(); }
    // The cell's rectangle in the grid's widget coordinates.
    QRect CellRect(int col, int row) const;
    // The scroll positions in pixels.
    int getHorPosition() const { return Geometry.HorPos; }
    int getVerPosition() const { return Geometry.VerPos; }

    // Moves.
    void MoveToCell(int col, int row);
    void MovePrevCell();
    void MoveNextCell();

    // In-place editors.
    void ShowCellEditor(int col, int row);
    bool isF2EditorOpen() const { return F2Open; }
    bool isTyping() const { return Typing; }

    // Clipboard (the system clipboard) and the pop-up menu's commands.
    void CopySelection();
    void CutSelection();
    void PasteSelection();
    void ClearSelection();
    void CopyAllToClipboard();
    // What the window's edit commands may do now: copy takes any selection; cut, paste and clear
    // a single selection whose current cell the user may change (paste also needs text on the
    // clipboard, which PasteSelection checks).
    bool CanCopySelection() const;
    bool CanChangeSelection() const;

    // Merged cells and automatic sizes.
    void MergeCells(int col1, int row1, int col2, int row2);
    int CalcCellMinWidths(int col, int row, bool withMerged) const;
    int CalcCellMinHeights(int col, int row, bool withMerged) const;
    int CalcDDLMinWidth(int col, int row) const;
    int CalcColMinWidths(int col, bool withHeader, bool withMerged) const;
    int CalcRowMinHeights(int row, bool withGutter, bool withMerged) const;
    void AutoSizeCols(bool withHeader);
    void AutoSizeMergedCols(bool withHeader);
    void AutoSizeGutter(bool withHomeText);
    void AdjustRowHeight(int row, bool withGutter);

    // The cell model and geometry, for the grid's own parts and tests.
    const TovGridCells& cells() const { return Cells; }
    const TovGridGeometry& geometry() const { return Geometry; }

Q_SIGNALS:
    void OnCellChange(int intCol, int intRow, const QString& strText);
    void OnCellClick(int intCol, int intRow);
    void OnColRowChanged(int intCol, int intRow);
    // Connected directly: the handler may change Key and clear blnAllowed.
    void OnFilterChar(int intCol, int intRow, QChar& Key, const QRect& RectCell, bool& blnAllowed,
                      const QString& strBuffer);
    void OnSelectCell(int intCol, int intRow);
    void OnUserColWidthChanged(int intCol);
    void OnUserRowHeightChanged(int intRow);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TovGridPainter;
    friend class TF2Editor;

    // Index checks through the reporter; true when the index is bad.
    bool badCol(int col, int low, const char* name) const;
    bool badRow(int row, int low, const char* name) const;
    bool badCell(int col, int row, int low, const char* name) const;

    // Repaint requests (nothing while a bulk change is under way).
    void repaintData();
    void repaintGutter();
    void repaintHeader();
    void repaintAll();
    void repaintCell(int col, int row);

    // Layout and scrolling.
    void layoutGrid();
    void updateScrollBars();
    void scrollTo(bool horz, int position);
    void scrollCellIntoView(int col, int row);
    void onScrollAction(bool horz, int action);
    void onScrollValue(bool horz, int value);
    void applySizeChange();
    void redimension(const std::function<void()>& resizeCells);

    // Selection and moves.
    bool isSingleSelection() const;
    void setSelection(const QRect& rect, bool force);
    void leaveCell(int oldCol, int oldRow);
    void keyboardMoveTo(QPoint target);
    void moveBy(TGridMove move);
    void pageMove(bool down);
    void extendSelection(bool left);
    bool canSelect(int col, int row) const;
    TovGridNavigation navigation() const;
    QRect cellOrArea(int col, int row) const;
    // The colour a data cell is painted in: alternation, selection and the disabled colour.
    TColor paintedCellColor(int col, int row) const;

    // Mouse.
    void pressAt(QMouseEvent* event, bool doubleClick);
    void updateCursor(const QPoint& pos);
    int resizeBorderAt(const QPoint& pos, bool& column) const;

    // Editors and typing.
    void hideEditors(bool exceptCurrent);
    void placeCurrentEditor();
    QWidget* editorControl(int col, int row) const;
    quint16 registerControl(QWidget* control);
    void openF2Editor();
    void closeF2Editor();
    void endTyping();
    void typeText(const QString& text);
    void typeBackspace();
    void typeEscape();
    QRect caretScreenRect() const;
    QPoint typingCaretPoint() const;
    void f2EditorKey(QKeyEvent* event, bool& handled);
    // A key that types its text into a cell or the in-place editor: printable, and pressed
    // without Ctrl, Alt or Meta (those are commands and mnemonics, never characters).
    static bool isTypedCharacter(const QKeyEvent& event);
    void f2EditorTextEdited(const QString& text);
    void f2EditorFocusLost();

    // Clipboard and pop-up menu.
    void popUpMenuAt(const QPoint& globalPos);
    bool clipboardHasText() const;
    // The repaint after a cut or paste whose events fired while painting was held off.
    void repaintAfterEvents();

    // Fonts.
    QFont cellFont(const TGridFontStyle& style) const;
    // The cell font of a style for measuring; kept for the next call, since auto-sizing measures
    // thousands of cells that share one style.
    const QFont& measuringFont(const TGridFontStyle& style) const;
    static QFont styledFont(const QFont& base, const TGridFontStyle& style);
    void fontChanged();
    void copyHeaderFontToColumns();
    void copyGutterFontToRows();

    // Measuring (through the foundation's text measurer).
    int textWidth(const QFont& font, const QString& text, bool wordWrap) const;
    int textHeight(const QFont& font, const QString& text, bool wordWrap) const;

    TovGridCells Cells;
    TovGridGeometry Geometry{Cells};

    int CurrentCol = 0;
    int CurrentRow = 0;
    QRect Selection;

    bool AllowSelectCells = false;
    TColor AlternateColColor = clWindow;
    TColor AlternateRowColor = clWindow;
    bool ColorAlternateCol = false;
    bool ColorAlternateRow = false;
    TColor SelectionColor = clHighlight;
    TColor SelectionRectColor = clBlack;
    TColor DisabledColor = clBtnFace;
    TColor DisabledGridFontColor = clGrayText;
    TColor DisabledGridLineColor = clWhite;
    TColor UnUsedColor = clWindow;
    TColor F2EditorColor = clWindow;
    TColor F2EditorRectColor = clBlue;
    bool UseF2EditorColor = false;
    TColor ColIndicatorColor = clYellow;
    TColor RowIndicatorColor = clYellow;
    bool ShowColIndicator = false;
    bool ShowRowIndicator = false;

    TColor GutterColor = clBtnFace;
    QFont GutterFont;
    bool LinkGutterFont = true;
    QPixmap GutterImagePicture;
    THorAlign GutterImageHorAlign = haRight;
    TVerAlign GutterImageVerAlign = vaCenter;
    bool GutterImageCenter = false;
    bool GutterImageStretch = false;
    bool GutterImageTransparent = true;

    TColor HeaderColor = clBtnFace;
    QFont HeaderFont;
    bool LinkHeaderFont = true;
    TGridTitle Home;
    TColor HomeColor = clBtnFace;
    QFont HomeFont;
    bool LinkHomeFont = true;

    TBorderStyle BorderStyle = bsSingle;
    bool Flat = true;
    bool ShowGridLines = true;
    bool ShowSelection = true;
    bool ProportionalThumb = true;
    bool GridEnabled = true;

    bool MoveDown = true;
    bool MoveOnReturn = true;
    TMoveWrap MoveWrap = mwNone;
    bool ShowPopUp = false;
    QString PopUpCutText;
    QString PopUpCopyText;
    QString PopUpPasteText;
    QString PopUpClearText;
    QMenu* DefaultPopUpMenu = nullptr;
    QAction* CutAction = nullptr;
    QAction* CopyAction = nullptr;
    QAction* PasteAction = nullptr;
    QAction* ClearAction = nullptr;

    // Cell font: a copy of the control's font.
    QFont CellFont;
    mutable bool HasMeasuringFont = false;
    mutable TGridFontStyle MeasuringStyle;
    mutable QFont MeasuringFont;

    // Editing state.
    TF2Editor* F2Editor = nullptr;
    QString TypingBuffer;
    QString SavedText;
    bool Typing = false;
    bool CaretShown = false;
    QPoint CaretPoint;
    bool F2Open = false;
    bool BulkChange = false;
    std::vector<QPointer<QWidget>> EditorControls{QPointer<QWidget>()};
    // Cells whose combo box is shown at present (their editor-visible flag is set).
    std::vector<QPoint> ShownEditorCells;

    // Keyboard range selection.
    bool Extending = false;
    QPoint Anchor;
    QPoint MovingEnd;

    // Mouse resizing.
    enum class TSplit { None, Col, Row };
    TSplit Split = TSplit::None;
    int ResizeIndex = 0;
    int ResizeStartEdge = 0;
    bool ColResized = false;
    bool RowResized = false;
    bool UpdatingBars = false;
    // A repaint of the data area is requested and not yet painted.
    bool DataRepaintPending = false;
};
