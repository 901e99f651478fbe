#pragma once

#include "forms/dialogs/F_SummaryLayout.h"
#include "forms/dialogs/WindowResizeTracker.h"
#include "services_ui/WindowFrame.h"

#include <QDialog>
#include <QIcon>
#include <QList>

class QFrame;
class QPushButton;
class QTabBar;
class QToolButton;
class TovGrid;
class TovSummaryGrid;

// The Summary window: the last run's Project Summary in a read-only grid laid out like the
// Project Summary worksheet, with Auto Size, Copy To Clipboard, Open Data Source File, Open
// Output File and Close. Created once at start-up and laid out then; each successful run's
// summary is written into its grid when the main window shows it. It keeps geometry slot 8 and
// the Auto Size preference; a drag of its border by the user turns Auto Size off.
class TUF_Summary : public QDialog {
public:
    explicit TUF_Summary(QWidget* parent = nullptr);
    ~TUF_Summary() override;

    // Fills the grid with the summary and shows the window modally; the result is mrClose.
    int ShowSummary(const TovSummaryGrid& summary);
    // Writes the summary's texts and colours into the grid and fits its columns: column A to
    // its content, columns B to G all to the widest of them.
    void Fill(const TovSummaryGrid& summary);
    // The main window's glyphs; the tab takes its picture from them.
    void setGlyphList(const QList<QIcon>* glyphs);

    // The window's commands (also what its buttons and keys do).
    void SBtn_AutoSizeClick();
    void BBtn_CopyClick();
    void BBtn_OpenDSFClick();
    void BBtn_OpenOFClick();
    void BBtn_CloseClick();
    // Fits the window to the grid within the work area.
    void AutoSizeForm();

    // What tests read.
    const TovGrid& grid() const { return *SG_ProjectSummary; }
    bool isAutoSizeDown() const;
    bool isAutoSizeEnabled() const;
    int getAutoMinWidth() const { return AutoMinWidth; }
    int getAutoMinHeight() const { return AutoMinHeight; }
    // The window's rectangle with its frame and caption, as the layout arithmetic counts it.
    QRect outerRect() const;

    // Closing by any way (Close, Esc, the close box) saves the geometry and the preference.
    void done(int result) override;
    // Esc and the close box close as Close does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetCaptions();
    void SetHints();
    void LayoutGrid();
    void ScaleControls();
    void PositionControls();
    void PositionCloseButton();
    void CalcMinSize();
    void FormActivate();
    void SetFormCaption();
    void CentreOnWorkArea();
    void PlaceChildren();
    void DropNeedlessScrollBars();
    // Presses or releases Auto Size without running its click handler.
    void SetAutoSizeDown(bool down);
    // The user dragged the border: Auto Size is off from now on.
    void UserSized();
    // A resize or move of the normal window, once the window manager has let it stay normal:
    // the user's drag of the border, or a window left smaller than its fitted size.
    void UserGeometryChanged();
    void Render(const TovSummaryGrid& summary);
    void FitColumns();
    TSummarySizes Sizes() const;
    void SetOuterGeometry(const QRect& outer, const QSize& outerMinimum);
    void KeepInsideWorkArea();
    void FitAfterPlacing();

    QFrame* Bvl_Summary_T;
    QWidget* PC_Summary;
    QTabBar* TS_ProjectSummary;
    TovGrid* SG_ProjectSummary;
    QWidget* Pnl_Summary_BBtn;
    QToolButton* SBtn_AutoSize;
    QPushButton* BBtn_Copy;
    QPushButton* BBtn_OpenDSF;
    QPushButton* BBtn_OpenOF;
    QPushButton* BBtn_Close;

    const QList<QIcon>* Glyphs = nullptr;
    TWindowResizeTracker Resizes;
    TRestoreRefit Restores;
    TNormalStateCheck UserChecks;
    bool UserResizePending = false;
    bool ActivationAwaited = false;
    bool Updating = false;
    bool WasMaximised = false;
    int TwoLineRow = 0;
    int AutoMinWidth = 0;
    int AutoMinHeight = 0;
};

extern TUF_Summary* UF_Summary;
