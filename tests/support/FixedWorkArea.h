#pragma once

#include "services_ui/WorkArea.h"

namespace testsupport {

// A work area of fixed geometry.
class FixedWorkArea : public WorkArea {
public:
    explicit FixedWorkArea(QRect rect) : rect_(rect) {}
    QRect rect() const override { return rect_; }

private:
    QRect rect_;
};

// Installs a fixed work area for the lifetime of the guard.
class ScopedWorkArea {
public:
    explicit ScopedWorkArea(QRect rect)
        : previous_(setWorkArea(std::make_unique<FixedWorkArea>(rect))) {}
    ~ScopedWorkArea() { setWorkArea(std::move(previous_)); }

private:
    std::unique_ptr<WorkArea> previous_;
};

} // namespace testsupport
