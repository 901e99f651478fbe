#pragma once

#include "controls/ovGrid.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <string>
#include <vector>

namespace gridtest {

// A shown grid of the given size with every event recorded in order.
class ShownGrid {
public:
    ShownGrid(int cols, int rows, int width = 400, int height = 200) {
        grid.setColCount(cols);
        grid.setRowCount(rows);
        grid.resize(width, height);
        grid.show();
        (void)QTest::qWaitForWindowExposed(&grid);
        QObject::connect(&grid, &TovGrid::OnColRowChanged, [this](int c, int r) {
            events.push_back("ColRow " + std::to_string(c) + "," + std::to_string(r));
        });
        QObject::connect(&grid, &TovGrid::OnSelectCell, [this](int c, int r) {
            events.push_back("Select " + std::to_string(c) + "," + std::to_string(r));
        });
        QObject::connect(&grid, &TovGrid::OnCellChange, [this](int c, int r, const QString& t) {
            events.push_back("Change " + std::to_string(c) + "," + std::to_string(r) + " " +
                             t.toStdString());
        });
        QObject::connect(&grid, &TovGrid::OnCellClick, [this](int c, int r) {
            events.push_back("Click " + std::to_string(c) + "," + std::to_string(r));
        });
        QObject::connect(&grid, &TovGrid::OnUserColWidthChanged,
                         [this](int c) { events.push_back("ColWidth " + std::to_string(c)); });
    }

    QWidget* viewport() { return grid.viewport(); }
    // The centre of a cell in viewport coordinates.
    QPoint centre(int col, int row) {
        return grid.geometry().cellRect(col, row).toQRect().center();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&grid, key, mods);
    }
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
               Qt::MouseButtons buttons = Qt::LeftButton) {
        QMouseEvent event(type, QPointF(pos), viewport()->mapToGlobal(QPointF(pos)), button,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);
    }
    void click(QPoint pos) {
        mouse(QEvent::MouseButtonPress, pos);
        mouse(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    }
    QImage image() {
        QApplication::processEvents();
        return viewport()->grab().toImage();
    }

    TovGrid grid;
    std::vector<std::string> events;
};

} // namespace gridtest
