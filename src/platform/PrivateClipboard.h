#pragma once

#include <QString>

namespace platform {

// The in-process clipboard that the spreadsheet engine copies cell texts to, so that reading a
// worksheet never touches what the user has on the desktop clipboard.
class PrivateClipboard {
public:
    static void setText(const QString& text);
    static QString text();
    static void clear();
};

} // namespace platform
