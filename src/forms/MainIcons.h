#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The main window's pictures by the image indexes the windows use. Each index names a
// freedesktop icon that the desktop's icon theme supplies; a theme that lacks it gets a simple
// picture drawn here.

// Indexes of the 16x16 list (menus, tool bar, tabs, list buttons and the standard dialogue's
// button glyphs).
enum TMainImage : int {
    imgNew = 0,
    imgOpen = 1,
    imgSave = 2,
    imgSaveAs = 3,
    imgCloseFile = 4,
    imgExit = 5,
    imgOpenSample = 6,
    imgCut = 7,
    imgCopy = 8,
    imgPaste = 9,
    imgCancel = 10,
    imgUndo = 11,
    imgClose = 12,
    imgContinue = 13,
    imgShowHints = 14,
    imgOptions = 15,
    imgTutorial = 16,
    imgUserManual = 17,
    imgWhitePaper = 18,
    imgAbout = 19,
    imgPurge = 20,
    imgReset = 21,
    imgTabPD = 22,
    imgTabSCF = 23,
    imgTabSCO = 24,
    imgTabDSM = 25,
    imgTabDSF = 26,
    imgNo = 27,
    imgOk = 28,
    imgProcess = 29,
    imgAddSD = 30,
    imgRenameSD = 31,
    imgDeleteSD = 32,
    imgMoveUp = 33,
    imgMoveDown = 34,
    imgRetry = 44,
    imgYes = 55,
    imgProjectSummary = 57,
    MainImageCount = 58
};

// Indexes of the status picture list (22x21).
enum TStatusPictureIndex : int { stError = 0, stOk = 1 };

// Indexes of the Add, Rename and Copy window's action button glyphs.
enum TActionGlyph : int { agCopy = 14, agAdd = 3, agRename = 41 };

// The freedesktop icon name of a 16x16 image index (empty for an unused index).
QString MainImageName(int index);
// The 16x16 list, one entry per index (unused indexes hold an empty icon).
QList<QIcon> MainImageList();
// A status picture as drawn beside a field.
QPixmap StatusPicture(int index);
// The glyph of the Add, Rename and Copy window's action button.
QIcon ActionGlyph(int index);
// Whether the picture of an index comes from the icon theme (false: the drawn fallback).
bool MainImageFromTheme(int index);
