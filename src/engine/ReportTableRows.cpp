#include "ReportTableRows.h"

#include "DataSetColors.h"

#include "platform/Exception.h"
#include "services/ovUIL.h"

#include <QStringList>

namespace ReportTableRows {
namespace {

[[noreturn]] void malformed(const char* cell, const char* what) {
    throw platform::Exception(QStringLiteral("Report table row %1: invalid %2.")
                                  .arg(QString::fromLatin1(cell), QString::fromLatin1(what)));
}

struct Position {
    int column = 0;
    int row = 0;
};

Position positionOf(const char* cell) {
    Position p;
    if (!ParseCell(QString::fromLatin1(cell), p.column, p.row)) {
        malformed(cell, "cell");
    }
    return p;
}

struct Alignment {
    THorAlign align = haCenter;
    bool bold = false;
};

Alignment alignmentOf(const char* cell, const char* text) {
    const QString s = QString::fromLatin1(text);
    Alignment a;
    if (s.isEmpty() || s.size() > 2 || (s.size() == 2 && s[1] != QLatin1Char('b'))) {
        malformed(cell, "alignment");
    }
    switch (s[0].toLatin1()) {
    case 'L':
        a.align = haLeft;
        break;
    case 'C':
        a.align = haCenter;
        break;
    case 'R':
        a.align = haRight;
        break;
    default:
        malformed(cell, "alignment");
    }
    a.bold = s.size() == 2;
    return a;
}

struct Colours {
    TColor font = 0;
    TColor back = 0;
    TColor lines[4] = {};
};

Colours coloursOf(const char* cell, const char* fontBack, const char* lines) {
    Colours c;
    const QStringList fb = QString::fromLatin1(fontBack).split(QLatin1Char('/'));
    const QString ln = QString::fromLatin1(lines);
    if (fb.size() != 2 || ln.size() != 4) {
        malformed(cell, "colours");
    }
    c.font = ColourOfCode(fb[0]);
    c.back = ColourOfCode(fb[1]);
    for (int i = 0; i < 4; ++i) {
        c.lines[i] = ColourOfCode(ln.mid(i, 1));
    }
    return c;
}

struct MergeArea {
    bool merge = false;
    int column2 = -1;
    int row2 = -1;
};

MergeArea mergeOf(const char* mergeTo) {
    MergeArea m;
    if (mergeTo[0] != '\0') {
        const Position to = positionOf(mergeTo);
        m.merge = true;
        m.column2 = to.column;
        m.row2 = to.row;
    }
    return m;
}

ReportCellStyle styleOf(const Alignment& a, const Colours& c, bool ellipsifyText,
                        bool ellipsifyPath, const MergeArea& m) {
    return {.HorAlign = a.align,
            .FontBold = a.bold,
            .FontColor = c.font,
            .Color = c.back,
            .GridLineTopColor = c.lines[0],
            .GridLineLeftColor = c.lines[1],
            .GridLineBottomColor = c.lines[2],
            .GridLineRightColor = c.lines[3],
            .EllipsifyPath = ellipsifyPath,
            .EllipsifyText = ellipsifyText,
            .Merge = m.merge,
            .MergeCol2 = m.column2,
            .MergeRow2 = m.row2};
}

} // namespace

bool ParseCell(const QString& cell, int& column, int& row) {
    qsizetype i = 0;
    qint64 c = 0;
    while (i < cell.size() && cell[i] >= QLatin1Char('A') && cell[i] <= QLatin1Char('Z') && i < 3) {
        c = c * 26 + (cell[i].unicode() - 'A' + 1);
        ++i;
    }
    if (i == 0 || i == cell.size() || cell[i] == QLatin1Char('0')) {
        return false;
    }
    qint64 r = 0;
    for (qsizetype j = i; j < cell.size(); ++j) {
        if (!cell[j].isDigit() || j - i >= 7) {
            return false;
        }
        r = r * 10 + cell[j].digitValue();
    }
    column = static_cast<int>(c);
    row = static_cast<int>(r);
    return true;
}

TColor ColourOfCode(const QString& code) {
    using namespace ReportColors;
    // Blue, lime and red head the columns of Baseline, Actual and Target: they are the data
    // sets' own colours.
    static const struct {
        const char* code;
        TColor colour;
    } codes[] = {
        {"K", Black},
        {"W", White},
        {"S", Silver},
        {"Y", Yellow},
        {"LY", LightYellow},
        {"GR", Green},
        {"BL", DataSetColors::Baseline},
        {"LI", DataSetColors::Actual},
        {"RD", DataSetColors::Target},
        {"PB", PaleBlue},
        {"PG", PaleGreen},
        {"PO", PaleOrange},
        {"GY", Grey},
        {"WT", clWindowText},
        {"BF", clBtnFace},
    };
    for (const auto& c : codes) {
        if (code == QLatin1String(c.code)) {
            return c.colour;
        }
    }
    throw platform::Exception(QStringLiteral("Unknown report colour code: %1").arg(code));
}

QString FormatOfType(quint8 valueType) {
    switch (valueType) {
    case vtText:
        return QStringLiteral("%s");
    case vtInteger:
        return QStringLiteral("%d");
    case vtNumber:
        return QStringLiteral("%n");
    case vtDate:
        return QStringLiteral("dd-MMM-yyyy");
    default:
        return {};
    }
}

void AddHeaders(TovRHs& list, std::span<const HeaderRow> rows, const QString& title) {
    for (const HeaderRow& r : rows) {
        const Position p = positionOf(r.cell);
        const Alignment a = alignmentOf(r.cell, r.align);
        const Colours c = coloursOf(r.cell, r.fontBack, r.lines);
        const MergeArea m = mergeOf(r.mergeTo);
        QString caption = r.text == 0 ? title : UIT(r.text);
        if (r.text2 > 0) {
            caption += QStringLiteral("\r\n") + UIT(r.text2);
        }
        list.Add(caption, QString::fromLatin1(r.cell), p.column, p.row,
                 styleOf(a, c, false, false, m));
    }
}

void AddFields(TovRFs& list, std::span<const FieldRow> rows) {
    for (const FieldRow& r : rows) {
        const Position p = positionOf(r.cell);
        const Alignment a = alignmentOf(r.cell, r.align);
        const Colours c = coloursOf(r.cell, r.fontBack, r.lines);
        const MergeArea m = mergeOf(r.mergeTo);
        const QString type = QString::fromLatin1(r.type);
        quint8 valueType = vtText;
        if (type == QLatin1String("int")) {
            valueType = vtInteger;
        } else if (type == QLatin1String("num")) {
            valueType = vtNumber;
        } else if (type == QLatin1String("date")) {
            valueType = vtDate;
        } else if (type != QLatin1String("text")) {
            malformed(r.cell, "value type");
        }
        const QString ellipsis = QString::fromLatin1(r.ellipsis);
        if (!ellipsis.isEmpty() && ellipsis != QLatin1String("path") &&
            ellipsis != QLatin1String("text")) {
            malformed(r.cell, "ellipsis");
        }
        list.Add(
            UIT(r.text), valueType, FormatOfType(valueType), QString::fromLatin1(r.cell), p.column,
            p.row,
            styleOf(a, c, ellipsis == QLatin1String("text"), ellipsis == QLatin1String("path"), m));
    }
}

} // namespace ReportTableRows
