#pragma once

#include <QString>
#include <Qt>

class QEvent;
class QObject;
class QTabWidget;
class QWidget;

// Where a dialogue key pressed in one of the filter grid's in-cell lists (And/Or, Filter
// Operator) moves the grid's current cell: Tab to the next cell, Shift+Tab to the previous one,
// Enter (Shift+Enter backwards) only when the grid moves on Return. A key that moves is consumed
// whether or not the grid is enabled; None leaves the key to its default handling.
enum class TFilterListKeyMove { None, NextCell, PrevCell };
TFilterListKeyMove FilterListKeyMove(int key, Qt::KeyboardModifiers modifiers, bool moveOnReturn);

// Ctrl+Tab shows the main window's next page, Ctrl+Shift+Tab (Ctrl+Backtab) the previous one, round
// the ends and past disabled pages, whichever control on the pages has the focus: the window
// takes the key before the control, as a date box or a grid would keep it for itself. Returns
// the step (+1 or -1), 0 for any other key.
int PageStepOfKey(int key, Qt::KeyboardModifiers modifiers);
// Shows the page a step away from the current one; false when there is no other enabled page.
bool StepPages(QTabWidget& pages, int step);
// A key press on its way to the pages (the tab bar or any control on a page): steps the pages
// and returns true when it is one of their keys.
bool StepPagesByKey(QTabWidget& pages, QObject* receiver, QEvent* event);

// The main window's standard edit commands (Edit menu, tool bar, Ctrl+X, Ctrl+C, Ctrl+V,
// Ctrl+Z). Each acts on the focused control: a line edit (also an editable combo box's and the
// grid's in-place editor) or a grid, with the grid's own cut, copy and paste; any other control
// takes none, and the command is disabled while it has the focus.
enum class TEditCommand { Cut, Copy, Paste, Undo };
bool CanRunEditCommand(QWidget* focus, TEditCommand command, bool clipboardHasText);
// Runs the command on the focused control when it can take it now; false when it did nothing.
bool RunEditCommand(QWidget* focus, TEditCommand command, bool clipboardHasText);

// A recent file's menu caption ("n path") with n as its accelerator: "&n path", with any "&" of
// the path shown as itself. An empty caption stays empty.
QString RecentFileMenuCaption(const QString& caption);
