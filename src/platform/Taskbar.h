#pragma once

namespace platform {

// The progress shown on the program's taskbar button. The Linux desktops offer no common
// facility for it, so every call does nothing.
class TaskbarProgress {
public:
    void setNoProgress() {}
    void setProgressValue(long long done, long long total) {
        static_cast<void>(done);
        static_cast<void>(total);
    }
};

} // namespace platform
