#include "forms/browse/F_BrowseWindows.h"

#include <QWidget>

namespace {

IBrowseFile* browseFile = nullptr;
IBrowseWS* browseWS = nullptr;
IBrowseFld* browseFld = nullptr;
IBrowseVal* browseVal = nullptr;
IErrListWindow* cfgErrWindow = nullptr;
IErrListWindow* dfvErrWindow = nullptr;
ICfgErrTarget* cfgErrTarget = nullptr;

QRect screenRect(const QWidget* widget) {
    if (widget == nullptr) {
        return {};
    }
    return {widget->mapToGlobal(QPoint(0, 0)), widget->size()};
}

} // namespace

TBrowseAnchor BrowseAnchorOf(const QWidget* field, const QWidget* button) {
    return {screenRect(field), screenRect(button)};
}

TBrowseAnchor BrowseAnchorOf(const QWidget* area, const QRect& field, const QWidget* button) {
    if (area == nullptr) {
        return {QRect(), screenRect(button)};
    }
    return {QRect(area->mapToGlobal(field.topLeft()), field.size()), screenRect(button)};
}

IBrowseFile* BrowseFile() {
    return browseFile;
}
void setBrowseFile(IBrowseFile* window) {
    browseFile = window;
}
IBrowseWS* BrowseWS() {
    return browseWS;
}
void setBrowseWS(IBrowseWS* window) {
    browseWS = window;
}
IBrowseFld* BrowseFld() {
    return browseFld;
}
void setBrowseFld(IBrowseFld* window) {
    browseFld = window;
}
IBrowseVal* BrowseVal() {
    return browseVal;
}
void setBrowseVal(IBrowseVal* window) {
    browseVal = window;
}
IErrListWindow* CfgErrWindow() {
    return cfgErrWindow;
}
void setCfgErrWindow(IErrListWindow* window) {
    cfgErrWindow = window;
}
IErrListWindow* DFVErrWindow() {
    return dfvErrWindow;
}
void setDFVErrWindow(IErrListWindow* window) {
    dfvErrWindow = window;
}
ICfgErrTarget* CfgErrTarget() {
    return cfgErrTarget;
}
void setCfgErrTarget(ICfgErrTarget* target) {
    cfgErrTarget = target;
}
