#pragma once

#include <QRect>
#include <memory>

// The part of the screen windows may cover (the screen without panels and docks), in screen
// coordinates; tests inject fixed areas.
class WorkArea {
public:
    virtual ~WorkArea() = default;
    virtual QRect rect() const = 0;
};

// The work area in use; the primary screen's available geometry unless a test installed another.
const WorkArea& workArea();
// Installs a replacement (tests) and returns the previous one; nullptr restores the default.
std::unique_ptr<WorkArea> setWorkArea(std::unique_ptr<WorkArea> area);

// Where a window of the given length starts when it is centred on the work area's extent
// (areaStart, areaLength) along one axis: never before the work area's start.
int CentredStart(int areaStart, int areaLength, int length);

// Sizes of the window frame parts the windows' layouts allow for.
struct FrameMetrics {
    int dlgFrame;  // one side of a dialogue frame
    int caption;   // height of the caption bar
    int vScroll;   // width of a vertical scroll bar
    int menuCheck; // width of a check mark
    int edge;      // width of a 3D edge
};
FrameMetrics frameMetrics();
