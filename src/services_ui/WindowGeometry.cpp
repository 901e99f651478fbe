#include "WindowGeometry.h"

#include "WindowFrame.h"
#include "services/ovWM.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace {

class QtScreenAreas : public IScreenAreas {
public:
    std::vector<QRect> areas() const override {
        std::vector<QRect> list;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            const QScreen* primary = QGuiApplication::primaryScreen();
            if (primary != nullptr) {
                list.push_back(primary->availableGeometry());
            }
            for (const QScreen* screen : QGuiApplication::screens()) {
                if (screen != primary) {
                    list.push_back(screen->availableGeometry());
                }
            }
        }
        if (list.empty()) {
            list.emplace_back(0, 0, 1024, 768);
        }
        return list;
    }
};

std::unique_ptr<IScreenAreas>& current() {
    static std::unique_ptr<IScreenAreas> areas;
    return areas;
}

QRect primaryOf(const std::vector<QRect>& areas) {
    return areas.empty() ? QRect(0, 0, 1024, 768) : areas.front();
}

// One axis: the stored start, or centred when unset (-1); then kept inside the area.
int placeOnAxis(int stored, int length, int areaStart, int areaLength) {
    int start = stored == -1 ? areaStart + (areaLength - length) / 2 : stored;
    start = std::max(start, areaStart);
    if (start + length > areaStart + areaLength) {
        start = areaStart + areaLength - length;
    }
    return start;
}

// A window's normal rectangle, frame included, as the program placed it and as the user last had
// it in the normal state. The toolkit's own normal geometry cannot serve: it is the client
// rectangle, which a window placed maximised before it was ever framed only has from a guessed
// frame, and it takes a geometry the window manager sets just before it reports the maximised
// state.
class TNormalRectKeeper : public QObject {
public:
    static constexpr const char* kName = "ovNormalRectKeeper";

    explicit TNormalRectKeeper(QWidget* window) : QObject(window), Window(window) {
        setObjectName(QLatin1String(kName));
        window->installEventFilter(this);
    }

    static TNormalRectKeeper* Of(const QWidget* window) {
        return dynamic_cast<TNormalRectKeeper*>(
            window->findChild<QObject*>(QLatin1String(kName), Qt::FindDirectChildrenOnly));
    }

    QRect Normal() const { return NormalRect; }

    // The program placed the window's normal rectangle (also while it is maximised or hidden).
    void Placed(const QRect& outer) {
        NormalRect = outer;
        PlacedUnframed = !IsFramed(Window);
        Checks.Cancel();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != Window) {
            return false;
        }
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            Restores.Track(Window);
            if (Window->isVisible() && Window->windowState() == Qt::WindowNoState) {
                Checks.Schedule(Window, [this] { Seen(); });
            }
            break;
        case QEvent::WindowStateChange:
            Changed(static_cast<QWindowStateChangeEvent*>(event)->oldState());
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Seen() {
        if (Window->isVisible()) {
            NormalRect = OuterRectOf(Window);
            PlacedUnframed = PlacedUnframed && !IsFramed(Window);
        }
    }

    void Changed(Qt::WindowStates old) {
        Checks.Cancel();
        if (!old.testFlag(Qt::WindowMaximized) || Window->isMaximized() || Window->isMinimized() ||
            !PlacedUnframed) {
            return;
        }
        // Placed maximised before the window was ever framed, its client rectangle came from a
        // guessed frame: restored, it goes where its normal rectangle says, with the real frame.
        Restores.Restored(Window, [this] {
            if (PlacedUnframed && NormalRect.isValid() && IsFramed(Window) &&
                OuterRectOf(Window) != NormalRect) {
                PlaceOuter(Window, NormalRect);
            }
        });
    }

    QWidget* Window;
    QRect NormalRect;
    bool PlacedUnframed = false;
    TNormalStateCheck Checks;
    TRestoreRefit Restores;
};

void KeepNormalRect(QWidget* window, const QRect& outer) {
    TNormalRectKeeper* keeper = TNormalRectKeeper::Of(window);
    if (keeper == nullptr) {
        keeper = new TNormalRectKeeper(window);
    }
    keeper->Placed(outer);
}

// The window as the rules read it: its outer rectangles and minimum, frame included.
TWindowState StateOf(const QWidget* window) {
    const QMargins frame = FrameMarginsOf(window);
    TWindowState state;
    state.geometry = OuterRectOf(window);
    const QRect normal = window->normalGeometry();
    state.normalGeometry = normal.isValid() ? normal.marginsAdded(frame) : state.geometry;
    if (const TNormalRectKeeper* keeper = TNormalRectKeeper::Of(window);
        keeper != nullptr && keeper->Normal().isValid()) {
        state.normalGeometry = keeper->Normal();
    }
    state.minimum = OuterSizeOf(window, window->minimumSize());
    state.maximised = window->isMaximized();
    state.minimised = window->isMinimized();
    return state;
}

void Place(QWidget* window, const TWindowPlacement& placement) {
    Qt::WindowStates states = window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
    if (window->isMaximized() || window->isMinimized()) {
        window->setWindowState(states);
    }
    PlaceOuter(window, placement.rect);
    KeepNormalRect(window, placement.rect);
    if (placement.maximised) {
        window->setWindowState(states | Qt::WindowMaximized);
    }
}

} // namespace

const IScreenAreas& ScreenAreas() {
    auto& areas = current();
    if (!areas) {
        areas = std::make_unique<QtScreenAreas>();
    }
    return *areas;
}

std::unique_ptr<IScreenAreas> setScreenAreas(std::unique_ptr<IScreenAreas> areas) {
    auto previous = std::move(current());
    current() = std::move(areas);
    return previous;
}

QRect WorkAreaFor(const std::vector<QRect>& areas, const QRect& rect) {
    const QPoint centre = rect.center();
    for (const QRect& area : areas) {
        if (area.contains(centre)) {
            return area;
        }
    }
    QRect best = primaryOf(areas);
    long long bestOverlap = 0;
    for (const QRect& area : areas) {
        const QRect overlap = area.intersected(rect);
        const long long size = overlap.isEmpty() ? 0 : 1LL * overlap.width() * overlap.height();
        if (size > bestOverlap) {
            bestOverlap = size;
            best = area;
        }
    }
    return best;
}

TWindowPlacement PlanApplyGeometry(TovWM& slot, const TWindowState& window, bool withSize,
                                   const std::vector<QRect>& areas) {
    if (slot.getFormPositionReset()) {
        slot.setLeft(-1);
        slot.setTop(-1);
        slot.setFormPositionReset(false);
    }
    TWindowPlacement placement;
    QSize size = window.normalGeometry.size();
    if (withSize) {
        size.setHeight(slot.getHeight() < 0 ? slot.getDefaultHeight() : slot.getHeight());
        size.setWidth(slot.getWidth() < 0 ? slot.getDefaultWidth() : slot.getWidth());
    }
    const bool positioned = slot.getLeft() != -1 && slot.getTop() != -1;
    const QRect area = positioned
                           ? WorkAreaFor(areas, QRect(QPoint(slot.getLeft(), slot.getTop()), size))
                           : primaryOf(areas);
    if (withSize) {
        size.setWidth(std::min(std::max(size.width(), window.minimum.width()), area.width()));
        size.setHeight(std::min(std::max(size.height(), window.minimum.height()), area.height()));
        placement.maximised = slot.getWindowSize() == 1;
    } else {
        placement.maximised = window.maximised;
    }
    const int left = placeOnAxis(slot.getLeft(), size.width(), area.x(), area.width());
    const int top = placeOnAxis(slot.getTop(), size.height(), area.y(), area.height());
    placement.rect = QRect(QPoint(left, top), size);
    return placement;
}

void PlanCaptureGeometry(TovWM& slot, const TWindowState& window, bool withSize,
                         const std::vector<QRect>& areas) {
    const bool normal = !window.maximised && !window.minimised;
    QRect rect = normal ? window.geometry : window.normalGeometry;
    if (!rect.isValid()) {
        rect = window.geometry;
    }
    // Negative coordinates are kept: they are the places on screens left of or above the
    // primary one.
    slot.setLeft(rect.x());
    slot.setTop(rect.y());
    if (!withSize) {
        return;
    }
    const QRect area = WorkAreaFor(areas, rect);
    slot.setHeight(std::min(std::max(rect.height(), window.minimum.height()), area.height()));
    slot.setWidth(std::min(std::max(rect.width(), window.minimum.width()), area.width()));
    slot.setWindowSize(window.maximised || (window.minimised && slot.getWasMaximised()) ? 1 : 0);
}

TWindowPlacement PlanResetGeometry(TovWM& slot, const TWindowState& window, bool withSize,
                                   const std::vector<QRect>& areas) {
    TWindowPlacement placement;
    QSize size = window.normalGeometry.size();
    if (withSize) {
        slot.setWindowSize(0);
        slot.setHeight(slot.getDefaultHeight());
        slot.setWidth(slot.getDefaultWidth());
        size = QSize(slot.getDefaultWidth(), slot.getDefaultHeight());
    } else {
        placement.maximised = window.maximised;
    }
    const QRect area = primaryOf(areas);
    const int left = area.x() + (area.width() - size.width()) / 2;
    const int top = area.y() + (area.height() - size.height()) / 2;
    slot.setLeft(left);
    slot.setTop(top);
    slot.setSplitterLeft(slot.getDefaultSplitterLeft());
    slot.setFormPositionReset(true);
    placement.rect = QRect(QPoint(left, top), size);
    return placement;
}

void ApplyWindowGeometry(TovWM& slot, QWidget* window, bool withSize) {
    if (window == nullptr) {
        return;
    }
    Place(window, PlanApplyGeometry(slot, StateOf(window), withSize, ScreenAreas().areas()));
}

void CaptureWindowGeometry(TovWM& slot, QWidget* window, bool withSize) {
    if (window == nullptr) {
        return;
    }
    PlanCaptureGeometry(slot, StateOf(window), withSize, ScreenAreas().areas());
}

void ResetWindowGeometry(TovWM& slot, QWidget* window, bool withSize) {
    if (window == nullptr) {
        return;
    }
    Place(window, PlanResetGeometry(slot, StateOf(window), withSize, ScreenAreas().areas()));
}
