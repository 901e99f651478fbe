#pragma once

#include "GridTypes.h"

#include <QLineEdit>

class TovGrid;

// The grid's in-place text editor: a frameless single-line edit that F2 or a double-click opens
// over the current cell. It hands Tab, Enter, F2 and Escape back to the grid and passes each
// typed character through the grid's OnFilterChar.
class TF2Editor : public QLineEdit {
    Q_OBJECT

public:
    explicit TF2Editor(TovGrid* grid);

    int getCol() const { return Col; }
    int getRow() const { return Row; }
    THorAlign getAlignment() const { return Alignment; }
    void setAlignment(THorAlign value);
    // Sets the text without handing it to the cell.
    void setTextQuietly(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TovGrid;
    TovGrid* Grid;
    int Col = 0;
    int Row = 0;
    THorAlign Alignment = haLeft;
    bool Quiet = false;
};
