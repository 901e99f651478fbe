#pragma once

#include "platform/ColorValue.h"
#include "platform/TextAlign.h"

#include <QString>
#include <QtGlobal>
#include <initializer_list>

// Enumerations and attribute blocks of the grid control (unit ovGrid).

enum TCellEditor : quint8 { ceNormal, ceBtn, ceBBtn, ceDD, ceDDL, ceSBtn };
enum TCellMergedState : quint8 { cmsNone, cmsTopLeft, cmsMerged };
enum TGutterKind : quint8 { gkNone, gkBlank, gkPointer, gkNumber, gkString };
enum TMoveWrap : quint8 { mwNone, mwSameColRow, mwColsRows, mwGrid };
enum TGridOption : quint8 {
    goAutoSizeLastCol,
    goResizeCol,
    goAutoSizeCol,
    goResizeRow,
    goAutoSizeRow
};
enum TScrollStyle : quint8 { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBorderStyle : quint8 { bsNone, bsSingle };

// A set of grid options.
class TGridOptions {
public:
    constexpr TGridOptions() = default;
    constexpr TGridOptions(std::initializer_list<TGridOption> options) {
        for (TGridOption option : options) {
            Bits = static_cast<quint8>(Bits | bit(option));
        }
    }
    constexpr bool contains(TGridOption option) const { return (Bits & bit(option)) != 0; }
    constexpr TGridOptions& include(TGridOption option) {
        Bits = static_cast<quint8>(Bits | bit(option));
        return *this;
    }
    constexpr TGridOptions& exclude(TGridOption option) {
        Bits = static_cast<quint8>(Bits & ~bit(option));
        return *this;
    }
    constexpr bool isEmpty() const { return Bits == 0; }
    friend constexpr bool operator==(TGridOptions a, TGridOptions b) { return a.Bits == b.Bits; }

private:
    static constexpr quint8 bit(TGridOption option) {
        return static_cast<quint8>(1u << static_cast<unsigned>(option));
    }
    quint8 Bits = 0;
};

// Font colour and styles of a text.
struct TGridFontStyle {
    TColor Color = clBtnText;
    bool Bold = false;
    bool Italic = false;
    bool StrikeOut = false;
    bool Underline = false;
    friend bool operator==(const TGridFontStyle&, const TGridFontStyle&) = default;
};

// The attributes a cell shares with its column and row: each cell starts from the grid
// defaults, and a column or row setter copies its value into the cells.
struct TGridCellAttr {
    TColor Color = clWindow;
    TGridFontStyle Font;
    TColor LineLeftColor = clSilver;
    TColor LineTopColor = clSilver;
    TColor LineRightColor = clSilver;
    TColor LineBottomColor = clSilver;
    qint32 MaxLength = 0;
    // Index of the attached editor control in the grid's control list; 0 = none.
    quint16 EditorControl = 0;
    TCellEditor Editor = ceNormal;
    THorAlign HorAlign = haLeft;
    TVerAlign VerAlign = vaCenter;
    bool CanSelect = true;
    bool EllipsifyText = false;
    bool EllipsifyPath = false;
    bool ReadOnly = false;
    bool URL = false;
    bool WordWrap = false;
};

// One data cell: its text, the shared attributes and its own state.
struct TGridCell : TGridCellAttr {
    QString Text;
    qint32 DDLItemIndex = -1;
    qint32 MergeColOffset = 0;
    qint32 MergeRowOffset = 0;
    TCellMergedState MergeState = cmsNone;
    bool EditorVisible = false;
    bool SBtnDown = false;
};

// Text settings of a header cell (per column) or gutter cell (per row).
struct TGridTitle {
    QString Text;
    TGridFontStyle Font;
    THorAlign HorAlign = haCenter;
    TVerAlign VerAlign = vaCenter;
    bool WordWrap = false;
};

// One column: its cell attributes, its size and its header cell.
struct TGridColumn : TGridCellAttr {
    TGridTitle Header;
};

// One row: its cell attributes, its size and its gutter cell with the gutter image state.
struct TGridRow : TGridCellAttr {
    TGridTitle Gutter;
    QString GutterImageHint;
    bool GutterImageVisible = false;
};
