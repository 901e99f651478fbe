#pragma once

#include <QRect>
#include <memory>
#include <vector>

class QWidget;
class TovWM;

// The work areas of the screens (each screen without its panels and docks), the primary screen's
// first; tests install fixed areas.
class IScreenAreas {
public:
    virtual ~IScreenAreas() = default;
    virtual std::vector<QRect> areas() const = 0;
};

const IScreenAreas& ScreenAreas();
// Installs a replacement (tests) and returns the previous one; nullptr restores the screens'.
std::unique_ptr<IScreenAreas> setScreenAreas(std::unique_ptr<IScreenAreas> areas);

// The work area a window rectangle belongs to: the one holding its centre, else the one it
// overlaps most, else the primary one.
QRect WorkAreaFor(const std::vector<QRect>& areas, const QRect& rect);

// What a window is now, as the geometry rules read it: rectangles and sizes are the window's outer
// ones, frame included, as the slots store them.
struct TWindowState {
    QRect geometry;       // where it is now
    QRect normalGeometry; // its normal rectangle (differs while maximised or minimised)
    QSize minimum;
    bool maximised = false;
    bool minimised = false;
};

// Where and how a window is to be shown.
struct TWindowPlacement {
    QRect rect;
    bool maximised = false;
};

// The geometry rules on plain data; the slot is updated as the rules say.
TWindowPlacement PlanApplyGeometry(TovWM& slot, const TWindowState& window, bool withSize,
                                   const std::vector<QRect>& areas);
void PlanCaptureGeometry(TovWM& slot, const TWindowState& window, bool withSize,
                         const std::vector<QRect>& areas);
TWindowPlacement PlanResetGeometry(TovWM& slot, const TWindowState& window, bool withSize,
                                   const std::vector<QRect>& areas);

// Puts the slot's geometry on a window (size and state too when withSize): the stored size, or
// the default, within the minimum size and the work area; the stored position kept on the screen
// it lies on, or centred on the primary screen's work area when unset.
void ApplyWindowGeometry(TovWM& slot, QWidget* window, bool withSize);
// Takes a window's normal rectangle (and, with size, its state) into the slot.
void CaptureWindowGeometry(TovWM& slot, QWidget* window, bool withSize);
// Default size, normal state, centred on the work area, default splitter, and the flag that
// makes the window size its content when it is next activated.
void ResetWindowGeometry(TovWM& slot, QWidget* window, bool withSize);
