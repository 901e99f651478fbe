#pragma once

#include "platform/ColorValue.h"
#include "platform/TextAlign.h"

#include <QString>
#include <QtGlobal>

// The colour values the report tables use.
namespace ReportColors {
using ::clBtnFace;
using ::clWindow;
using ::clWindowText;
inline constexpr TColor Black = 0x00000000;
inline constexpr TColor White = 0x00FFFFFF;
inline constexpr TColor Silver = 0x00C0C0C0;
inline constexpr TColor Yellow = 0x0000FFFF;
inline constexpr TColor LightYellow = 0x0099FFFF;
inline constexpr TColor Green = 0x00669933;
inline constexpr TColor Red = 0x000000FF;
inline constexpr TColor PaleBlue = 0x00FFCC99;
inline constexpr TColor PaleGreen = 0x00CCFFCC;
inline constexpr TColor PaleOrange = 0x0099CCFF;
inline constexpr TColor Grey = 0x00969696;
} // namespace ReportColors

// The styling every report cell carries: alignment, font, background, border lines, ellipsis and
// merge.
struct ReportCellStyle {
    THorAlign HorAlign = haCenter;
    bool FontBold = false;
    TColor FontColor = ReportColors::clWindowText;
    TColor Color = ReportColors::clWindow;
    TColor GridLineTopColor = ReportColors::clWindowText;
    TColor GridLineLeftColor = ReportColors::clWindowText;
    TColor GridLineBottomColor = ReportColors::clWindowText;
    TColor GridLineRightColor = ReportColors::clWindowText;
    bool EllipsifyPath = false;
    bool EllipsifyText = false;
    bool Merge = false;
    qint32 MergeCol2 = -1;
    qint32 MergeRow2 = -1;
};

// Position and style of one report cell, shared by header and field cells. Every write accessor
// assigns only when the value differs.
class TovReportCell {
public:
    const QString& getCell() const { return Cell; }
    qint32 getColumn() const { return Column; }
    qint32 getRow() const { return Row; }
    const ReportCellStyle& getStyle() const { return Style; }
    THorAlign getHorAlign() const { return Style.HorAlign; }
    bool getFontBold() const { return Style.FontBold; }
    TColor getFontColor() const { return Style.FontColor; }
    TColor getColor() const { return Style.Color; }
    TColor getGridLineTopColor() const { return Style.GridLineTopColor; }
    TColor getGridLineLeftColor() const { return Style.GridLineLeftColor; }
    TColor getGridLineBottomColor() const { return Style.GridLineBottomColor; }
    TColor getGridLineRightColor() const { return Style.GridLineRightColor; }
    bool getEllipsifyPath() const { return Style.EllipsifyPath; }
    bool getEllipsifyText() const { return Style.EllipsifyText; }
    bool getMerge() const { return Style.Merge; }
    qint32 getMergeCol2() const { return Style.MergeCol2; }
    qint32 getMergeRow2() const { return Style.MergeRow2; }

    void setCell(const QString& value) { assign(Cell, value); }
    void setColumn(qint32 value) { assign(Column, value); }
    void setRow(qint32 value) { assign(Row, value); }
    void setHorAlign(THorAlign value) { assign(Style.HorAlign, value); }
    void setFontBold(bool value) { assign(Style.FontBold, value); }
    void setFontColor(TColor value) { assign(Style.FontColor, value); }
    void setColor(TColor value) { assign(Style.Color, value); }
    void setGridLineTopColor(TColor value) { assign(Style.GridLineTopColor, value); }
    void setGridLineLeftColor(TColor value) { assign(Style.GridLineLeftColor, value); }
    void setGridLineBottomColor(TColor value) { assign(Style.GridLineBottomColor, value); }
    void setGridLineRightColor(TColor value) { assign(Style.GridLineRightColor, value); }
    void setEllipsifyPath(bool value) { assign(Style.EllipsifyPath, value); }
    void setEllipsifyText(bool value) { assign(Style.EllipsifyText, value); }
    void setMerge(bool value) { assign(Style.Merge, value); }
    void setMergeCol2(qint32 value) { assign(Style.MergeCol2, value); }
    void setMergeRow2(qint32 value) { assign(Style.MergeRow2, value); }

    // Sets the position and every style field through the write accessors.
    void setPlacement(const QString& cell, qint32 column, qint32 row,
                      const ReportCellStyle& style) {
        setCell(cell);
        setColumn(column);
        setRow(row);
        setHorAlign(style.HorAlign);
        setFontBold(style.FontBold);
        setFontColor(style.FontColor);
        setColor(style.Color);
        setGridLineTopColor(style.GridLineTopColor);
        setGridLineLeftColor(style.GridLineLeftColor);
        setGridLineBottomColor(style.GridLineBottomColor);
        setGridLineRightColor(style.GridLineRightColor);
        setEllipsifyText(style.EllipsifyText);
        setEllipsifyPath(style.EllipsifyPath);
        setMerge(style.Merge);
        setMergeCol2(style.MergeCol2);
        setMergeRow2(style.MergeRow2);
    }

protected:
    template <typename T> static void assign(T& field, const T& value) {
        if (field != value) {
            field = value;
        }
    }
    void ResetPosition() {
        Cell.clear();
        Column = 0;
        Row = 0;
        Style = ReportCellStyle();
    }

private:
    QString Cell;
    qint32 Column = 0;
    qint32 Row = 0;
    ReportCellStyle Style;
};
