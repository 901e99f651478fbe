#include "GridTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPaintEvent>
#include <QRegion>
#include <gtest/gtest.h>

namespace {

using gridtest::ShownGrid;
using Events = std::vector<std::string>;

void setClipboard(const char* text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
}

QString clipboard() {
    return QGuiApplication::clipboard()->text();
}

TEST(GridClipboard, PasteFillsTheBlockFromTheCurrentCell) {
    struct Case {
        const char* name;
        const char* clipboard;
        QPoint at;
        // Expected texts of rows 1..3, columns 1..3 joined by "|" after pasting over "." cells.
        const char* rows[3];
    };
    const Case cases[] = {
        {"block with a short line", "1\t2\r\n3", {2, 2}, {".|.|.", ".|1|2", ".|3|"}},
        {"fields beyond the last column are dropped",
         "a\tb\tc\r\n",
         {3, 1},
         {".|.|a", ".|.|.", ".|.|."}},
        {"trailing line break adds no row", "a\r\n", {1, 2}, {".|.|.", "a|.|.", ".|.|."}},
        {"LF line ends", "a\nb\n", {1, 1}, {"a|.|.", "b|.|.", ".|.|."}},
        {"quoted cell keeps its line break",
         "\"x\r\ny\"\tz\r\n",
         {1, 3},
         {".|.|.", ".|.|.", "x\r\ny|z|."}},
        {"empty field between tabs empties the cell", "a\t\tc", {1, 1}, {"a||c", ".|.|.", ".|.|."}},
    };
    for (const Case& c : cases) {
        ShownGrid g(3, 3);
        for (int col = 1; col <= 3; ++col) {
            for (int row = 1; row <= 3; ++row) {
                g.grid.setCells(col, row, QStringLiteral("."));
            }
        }
        g.grid.MoveToCell(c.at.x(), c.at.y());
        setClipboard(c.clipboard);
        g.grid.PasteSelection();
        for (int row = 1; row <= 3; ++row) {
            QStringList texts;
            for (int col = 1; col <= 3; ++col) {
                texts << g.grid.getCells(col, row);
            }
            EXPECT_EQ(texts.join(QLatin1Char('|')), QString::fromUtf8(c.rows[row - 1]))
                << c.name << " row " << row;
        }
    }
}

TEST(GridClipboard, PasteFiresEachChangeAndSkipsCellsTheUserCannotChange) {
    ShownGrid g(3, 3);
    g.grid.setColMaxLength(2, 2);
    g.grid.setCells(3, 2, QStringLiteral("locked"));
    g.grid.setCellReadOnly(3, 2, true);
    g.grid.setCells(2, 3, QStringLiteral("hidden"));
    g.grid.setCellCanSelect(2, 3, false);
    g.grid.MoveToCell(2, 2);
    g.events.clear();
    setClipboard("1234\t2\r\n3\t4\r\n");
    g.grid.setFocus();
    g.key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g.events, (Events{"Change 2,2 12", "Change 3,3 4"}));
    EXPECT_EQ(g.grid.getCells(3, 2), QStringLiteral("locked"));
    EXPECT_EQ(g.grid.getCells(2, 3), QStringLiteral("hidden"));
    // A read-only current cell takes no paste at all.
    g.grid.setCellReadOnly(2, 2, true);
    setClipboard("zz");
    g.key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(g.grid.getCells(2, 2), QStringLiteral("12"));
}

TEST(GridClipboard, CopiedCellsPasteBackUnchanged) {
    const QString texts[] = {
        QStringLiteral("plain"),
        QStringLiteral("two\r\nlines"),
        QStringLiteral("say \"hi\"\nthere"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("tab\there"),
        QString(),
        QStringLiteral("5\" pipe"),
    };
    for (const QString& text : texts) {
        ShownGrid g(2, 3);
        g.grid.setCells(1, 1, text);
        g.grid.setCells(1, 2, QStringLiteral("below"));
        g.grid.MoveToCell(1, 1);
        g.grid.CopySelection();
        g.grid.MoveToCell(2, 1);
        g.grid.PasteSelection();
        EXPECT_EQ(g.grid.getCells(2, 1), text) << clipboard().toStdString();
        EXPECT_TRUE(g.grid.getCells(2, 2).isEmpty()) << text.toStdString();
    }
}

TEST(GridClipboard, CopyAllWritesGutterHeaderAndQuotedCells) {
    ShownGrid g(2, 2);
    g.grid.setHomeText(QStringLiteral("Home"));
    g.grid.setHeaderCellText(1, QStringLiteral("A"));
    g.grid.setHeaderCellText(2, QStringLiteral("B"));
    g.grid.setCells(1, 1, QStringLiteral("a\r\nb"));
    g.grid.setCells(2, 1, QStringLiteral("x"));
    g.grid.setCells(2, 2, QStringLiteral("\"q\"\ty"));
    struct Case {
        TGutterKind gutter;
        bool header;
        const char* expected;
    };
    const Case cases[] = {
        {gkNone, false, "\"a\r\nb\"\tx\r\n\t\"\"\"q\"\"\ty\"\r\n"},
        {gkNone, true, "A\tB\r\n\"a\r\nb\"\tx\r\n\t\"\"\"q\"\"\ty\"\r\n"},
        {gkNumber, false, "1\t\"a\r\nb\"\tx\r\n2\t\t\"\"\"q\"\"\ty\"\r\n"},
        {gkBlank, true, "Home\tA\tB\r\n\t\"a\r\nb\"\tx\r\n\t\t\"\"\"q\"\"\ty\"\r\n"},
    };
    for (const Case& c : cases) {
        g.grid.setGutterKind(c.gutter);
        g.grid.setShowHeader(c.header);
        g.grid.CopyAllToClipboard();
        EXPECT_EQ(clipboard(), QString::fromUtf8(c.expected)) << c.expected;
    }
}

TEST(GridClipboard, CutAndClearEmptyTheCurrentCellWithTheirEvents) {
    ShownGrid g(2, 2);
    g.grid.setCells(1, 1, QStringLiteral("cut me"));
    g.grid.setCells(2, 1, QStringLiteral("clear me"));
    g.grid.setFocus();
    g.events.clear();
    g.key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), QStringLiteral("cut me\r\n"));
    g.grid.MoveToCell(2, 1);
    g.key(Qt::Key_Delete);
    EXPECT_EQ(g.events, (Events{"Change 1,1 ", "ColRow 2,1", "Select 2,1", "Change 2,1 "}));
    EXPECT_TRUE(g.grid.getCells(2, 1).isEmpty());
}

TEST(GridClipboard, PopUpMenuEnablesByTheCurrentCell) {
    ShownGrid g(2, 2);
    g.grid.setShowPopUp(true);
    g.grid.setCellReadOnly(2, 2, true);
    setClipboard("text");
    QMenu* menu = g.grid.getDefaultPopUpMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Cut"));
    EXPECT_EQ(actions[3]->text(), QStringLiteral("Clear"));
    g.mouse(QEvent::MouseButtonPress, g.centre(2, 2), Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[1]->isEnabled());
    EXPECT_FALSE(actions[2]->isEnabled());
    menu->hide();
    g.mouse(QEvent::MouseButtonPress, g.centre(1, 2), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[2]->isEnabled());
    menu->hide();
}

// Collects what the grid's viewport paints.
class PaintedArea : public QObject {
public:
    explicit PaintedArea(QWidget* viewport) { viewport->installEventFilter(this); }
    QRegion area;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            area += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

TEST(GridClipboard, RowsMarkedByTheHandlersOfACutOrPasteArePaintedAgain) {
    for (const bool paste : {true, false}) {
        ShownGrid g(2, 3);
        g.grid.setGutterKind(gkString);
        g.grid.setGutterWidth(40);
        QPixmap mark(8, 8);
        mark.fill(Qt::red);
        g.grid.setGutterImagePicture(mark);
        // As the map grid marks a row whose letters fail their check.
        QObject::connect(&g.grid, &TovGrid::OnCellChange, [&g](int, int row, const QString&) {
            g.grid.setGutterImageVisible(row, true);
        });
        g.grid.MoveToCell(1, 2);
        g.grid.setCells(1, 2, QStringLiteral("x"));
        g.grid.setFocus();
        setClipboard("pasted");
        QApplication::processEvents();
        PaintedArea painted(g.viewport());
        g.key(paste ? Qt::Key_V : Qt::Key_X, Qt::ControlModifier);
        QApplication::processEvents();
        const QRect cell = g.grid.CellRect(1, 2);
        const QRect gutterCell(0, cell.top(), g.grid.getGutterWidth(), cell.height());
        EXPECT_TRUE(g.grid.getGutterImageVisible(2)) << (paste ? "paste" : "cut");
        EXPECT_TRUE((QRegion(gutterCell) - painted.area).isEmpty()) << (paste ? "paste" : "cut");
    }
}

} // namespace
