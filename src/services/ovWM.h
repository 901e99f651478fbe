#pragma once

#include <QString>
#include <memory>
#include <vector>

// One resizable window's remembered geometry. Coordinates are screen pixels and may be negative
// on a screen left of or above the primary one; -1 means unset. Setters assign only on a change.
class TovWM {
public:
    // The values the registry holds, in their stored order.
    enum Stored : int {
        sLeft,
        sTop,
        sHeight,
        sWidth,
        sWindowSize,
        sSplitterLeft,
        sFormPositionReset,
        StoredCount
    };

    int getLeft() const { return Left; }
    int getTop() const { return Top; }
    int getHeight() const { return Height; }
    int getWidth() const { return Width; }
    int getWindowSize() const { return WindowSize; }
    int getSplitterLeft() const { return SplitterLeft; }
    int getSecondSplitter() const { return SecondSplitter; }
    bool getWasMaximised() const { return WasMaximised; }
    bool getFormPositionReset() const { return FormPositionReset; }
    int getDefaultHeight() const { return DefaultHeight; }
    int getDefaultWidth() const { return DefaultWidth; }
    int getDefaultSplitterLeft() const { return DefaultSplitterLeft; }

    void setLeft(int value) { assign(Left, value, sLeft); }
    void setTop(int value) { assign(Top, value, sTop); }
    void setHeight(int value) { assign(Height, value, sHeight); }
    void setWidth(int value) { assign(Width, value, sWidth); }
    // 0 normal, 1 maximised; any other value is 0.
    void setWindowSize(int value) { assign(WindowSize, value == 1 ? 1 : 0, sWindowSize); }
    void setSplitterLeft(int value) { assign(SplitterLeft, value, sSplitterLeft); }
    void setSecondSplitter(int value) { SecondSplitter = value; }
    void setWasMaximised(bool value) { WasMaximised = value; }
    void setFormPositionReset(bool value);
    void setDefaultHeight(int value) { DefaultHeight = value; }
    void setDefaultWidth(int value) { DefaultWidth = value; }
    void setDefaultSplitterLeft(int value) { DefaultSplitterLeft = value; }

    // Whether a stored value could not be read by the last load; Save leaves it alone until the
    // value changes.
    bool isUnread(Stored value) const { return Unread[value]; }
    void setUnread(Stored value, bool unread) { Unread[value] = unread; }

private:
    void assign(int& field, int value, Stored stored) {
        if (field != value) {
            field = value;
            Unread[stored] = false;
        }
    }

    int Left = -1;
    int Top = -1;
    int Height = -1;
    int Width = -1;
    int WindowSize = 0;
    int SplitterLeft = -1;
    int SecondSplitter = -1;
    bool WasMaximised = false;
    bool FormPositionReset = false;
    int DefaultHeight = -1;
    int DefaultWidth = -1;
    int DefaultSplitterLeft = -1;
    bool Unread[StoredCount] = {};
};

// The remembered geometry of the resizable windows, slots 1 to Count (slot 0 a spare returned
// for bad indexes), kept in the registry under "Software\Tarrow Studio\Ovik KRV Tessel\WMs",
// slot n under "WM_n".
class TovWMs {
public:
    TovWMs();

    int getCount() const { return Count; }
    TovWM& getItems(int index);
    QString getRegKey() const { return RegKey; }

    int Add();
    // Reads every value on its own; a value that cannot be read keeps its initial value and the
    // failures are shown in one error box.
    void Load();
    void Normalise();
    void SaveAll();
    void Save(int n);

private:
    QString slotKey(int n) const;
    void WriteSlot(int n);

    int Count = 0;
    std::vector<std::unique_ptr<TovWM>> Items;
    QString RegKey;
};

extern TovWMs* WMs;
