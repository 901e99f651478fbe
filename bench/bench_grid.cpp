// Grid benchmark: fills a 20,000 x 9 grid, paints the viewport offscreen, scrolls to the end and
// back, and prints each time. Goals: fill under 50 ms, a full viewport repaint under 5 ms.
#include "controls/ovGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCols = 9;
constexpr int kRows = 20000;
constexpr int kPaints = 50;

double elapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Average time of painting the whole viewport into an image.
double paintMs(TovGrid& grid, QImage& image) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kPaints; ++i) {
        grid.viewport()->render(&image);
    }
    return elapsedMs(timer) / kPaints;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    TovGrid grid;
    grid.resize(1000, 700);
    grid.setGutterKind(gkNumber);
    grid.show();
    QApplication::processEvents();

    // The texts are made beforehand so that the fill times the grid alone.
    std::vector<QString> texts;
    texts.reserve(static_cast<size_t>(kCols) * kRows);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= kCols; ++c) {
            texts.push_back(QStringLiteral("Value %1.%2").arg(r).arg(c));
        }
    }
    // The first fills also pay for the process's growth of its memory (page faults, which cost
    // most on a loaded machine); the later fills of a fresh grid show the grid's own cost.
    for (const char* pass : {"1st", "2nd", "3rd"}) {
        grid.setRowCount(0);
        grid.setColCount(0);
        QElapsedTimer timer;
        timer.start();
        grid.setColCount(kCols);
        grid.setRowCount(kRows);
        const double dimensioning = elapsedMs(timer);
        size_t next = 0;
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 1; c <= kCols; ++c) {
                grid.setCells(c, r, texts[next++]);
            }
        }
        std::printf("fill %d x %d cells (%s): %8.2f ms (dimensioning %.2f ms)\n", kCols, kRows,
                    pass, elapsedMs(timer), dimensioning);
    }
    QApplication::processEvents();

    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    std::printf("viewport repaint (top):     %8.3f ms\n", paintMs(grid, image));

    QElapsedTimer timer;
    timer.start();
    grid.MoveToCell(kCols, kRows);
    QApplication::processEvents();
    std::printf("scroll to the end:          %8.3f ms (position %d)\n", elapsedMs(timer),
                grid.getVerPosition());
    std::printf("viewport repaint (end):     %8.3f ms\n", paintMs(grid, image));

    timer.restart();
    grid.MoveToCell(1, 1);
    QApplication::processEvents();
    std::printf("scroll back to the start:   %8.3f ms (position %d)\n", elapsedMs(timer),
                grid.getVerPosition());
    std::printf("viewport repaint (start):   %8.3f ms\n", paintMs(grid, image));

    timer.restart();
    grid.AutoSizeCols(true);
    std::printf("auto-size every column:     %8.3f ms\n", elapsedMs(timer));
    return 0;
}
