#pragma once

// Watching a window while the stand-in converter converts: what the screen shows of the window,
// looked at from the event loop that the program's wait for the conversion keeps running.
#include "services_ui/F_Progress.h"
#include "support/StandInOffice.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <optional>

namespace testsupport {

// Whether the screen shows something drawn (more than one colour) in the progress window's last
// step line and on its Cancel button: painted, not only changed. (A rendering of the window
// cannot stand for the screen: between its paints the window holds its updates back.)
inline bool ScreenShowsStepAndCancel(TUF_Progress& window) {
    const QImage onScreen = window.screen()->grabWindow(window.winId()).toImage();
    QListWidget* list = window.LB_Progress;
    if (onScreen.isNull() || list->count() == 0) {
        return false;
    }
    QRect line = list->visualItemRect(list->item(list->count() - 1));
    line.moveTopLeft(list->viewport()->mapTo(&window, line.topLeft()));
    const QRect cancel(window.BBtn_Cancel->mapTo(&window, QPoint(0, 0)),
                       window.BBtn_Cancel->size());
    for (const QRect& part : {line, cancel}) {
        const QRect shown = part.intersected(onScreen.rect());
        if (shown.isEmpty()) {
            return false;
        }
        bool drawn = false;
        for (int y = shown.top(); y <= shown.bottom() && !drawn; ++y) {
            for (int x = shown.left(); x <= shown.right() && !drawn; ++x) {
                drawn = onScreen.pixel(x, y) != onScreen.pixel(shown.topLeft());
            }
        }
        if (!drawn) {
            return false;
        }
    }
    return true;
}

// For each conversion the stand-in starts: `started` hears of it at once; once the screen shows
// the progress window's step line and Cancel (or a generous deadline has passed), `seen` gets the
// conversion's number (from 1) and whether they were shown.
class ConversionWatch {
public:
    ConversionWatch(const StandInOffice& office, TUF_Progress& window,
                    std::function<void(int, bool)> seen, std::function<void(int)> started = {})
        : office_(office), window_(window), seen_(std::move(seen)), started_(std::move(started)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { look(); });
        poll_.start(20);
    }

private:
    void look() {
        if (office_.startedCount() <= handled_) {
            return;
        }
        if (!deadline_) {
            deadline_ = QDeadlineTimer(60000);
            if (started_) {
                started_(handled_ + 1);
            }
        }
        const bool shown = ScreenShowsStepAndCancel(window_);
        if (!shown && !deadline_->hasExpired()) {
            return;
        }
        deadline_.reset();
        // Counted first: what `seen` does may run the event loop, and this again.
        seen_(++handled_, shown);
    }

    const StandInOffice& office_;
    TUF_Progress& window_;
    std::function<void(int, bool)> seen_;
    std::function<void(int)> started_;
    QTimer poll_;
    std::optional<QDeadlineTimer> deadline_;
    int handled_ = 0;
};

} // namespace testsupport
