#pragma once

#include "forms/browse/BrowseGeometry.h"
#include "forms/browse/BrowseList.h"
#include "services_ui/WindowFrame.h"

#include <QDialog>
#include <QStringList>

#include <vector>

class QHeaderView;
class QLabel;
class QListView;
class QStringListModel;
class QPushButton;
class QToolButton;
class QWidget;
class TovUP;

// What distinguishes one list window of the family from another.
struct TListWindowKind {
    int InitTextId = 0;
    int Slot = 0;
    int DefaultWidth = 480;
    int DefaultHeight = 360;
    QSize CreationMinimum;
    bool (TovUP::*GetAutoSize)() const = nullptr;
    void (TovUP::*SetAutoSize)(bool) = nullptr;
    // Absent for windows without Auto Align.
    bool (TovUP::*GetAutoAlign)() const = nullptr;
    void (TovUP::*SetAutoAlign)(bool) = nullptr;
    bool HasRefresh = false;
    // An error window: Close instead of Select and Cancel, may be maximised, stays on top and is
    // always kept inside the work area.
    bool ErrorWindow = false;
    bool ClosesProgress = true;
    bool ResetsMinimumOnActivation = true;
};

// The program's own geometry changes as opposed to the user's drags of the border or the window:
// once the window has settled after being shown (the window manager places and frames it
// first), a size or position the program did not set itself was set by the user.
class TProgramGeometry {
public:
    static constexpr int kSettleMs = 250;

    void shown(QObject* window);
    void hidden() { Settled = false; }
    void expect(const QRect& client) { Expected = client; }
    void expectSize(const QSize& size) { Expected.setSize(size); }
    void expectPosition(const QPoint& position) { Expected.moveTopLeft(position); }
    bool isUserResize(const QSize& size) const { return Settled && size != Expected.size(); }
    bool isUserMove(const QPoint& position) const {
        return Settled && position != Expected.topLeft();
    }

private:
    QRect Expected;
    bool Settled = false;
};

// The list windows' common body: a header over an owner-drawn list of rows, a button panel with
// the Auto Size (and Auto Align) toggles and the window's buttons, and a status bar; with the
// layout computed from the dialogue metrics, Auto Size and Auto Align, the geometry slot and the
// preferences that keep the toggles. Members fill the rows and read the result.
class TUF_BrowseBase : public QDialog {
public:
    TUF_BrowseBase(const TListWindowKind& kind, QWidget* parent);
    ~TUF_BrowseBase() override;

    // Test accessors (the controls stay private).
    // The list: its rows (0-based), the selected row (-1 for none) and the row keys.
    int selectedRow() const;
    void selectRow(int row);
    int rowCount() const;
    QString keyAt(int row) const;
    QToolButton* autoSizeButtonForTest() const { return SBtn_AutoSize; }
    QToolButton* autoAlignButtonForTest() const { return SBtn_AutoAlign; }
    QStringList statusTextsForTest() const;
    std::vector<int> sectionWidthsForTest() const;
    QString cellTextForTest(int row, int column) const;
    bool selectEnabledForTest() const;
    QString windowTitleForTest() const { return windowTitle(); }
    int getAutoWidth() const { return AutoWidth; }
    int getAutoHeight() const { return AutoHeight; }
    TAlignAnchor getAnchor() const { return Anchor; }

    // Commands as the buttons and the list run them.
    void SelectClick();
    void CancelClick();
    void RefreshClick();
    virtual void ListDoubleClick();
    void AutoSizeClick();
    void AutoAlignClick();
    // The user dragged the border / moved the window.
    void UserSizing();
    void UserMoving();

    // The count panel and the column and panel widths, refreshed before the window is shown.
    void RefreshList();

    // The window's outer rectangle (frame included) in screen pixels.
    QRect outerRect() const;

protected:
    // Member hooks.
    virtual QString cellText(int row, int column) const = 0;
    virtual bool rowEnabled(int) const { return true; }
    virtual void storeResult(int row) = 0; // row -1: nothing chosen
    virtual void clearCache() {}
    virtual void listClicked() {}
    virtual void afterActivation() {}

    // Filling.
    void setSections(const QStringList& texts);
    void setKeys(const QStringList& keys, int selected);
    void setStatusTexts(const QStringList& texts);
    void setListHint(const QString& hint);
    void setButtonHints(const QString& autoSize, const QString& autoAlign, const QString& refresh,
                        const QString& select, const QString& cancel);
    void setButtonCaptions(const QString& autoSize, const QString& autoAlign,
                           const QString& refresh, const QString& select, const QString& cancel);
    void setSelectEnabled(bool enabled);
    void setAnchor(const TAlignAnchor& anchor) { Anchor = anchor; }
    // A panel between the list and the buttons (its height counts in every size rule).
    void addDescriptionPanel(QWidget* panel, int height);

    bool isUpdating() const { return Updating; }
    void setUpdating(bool value) { Updating = value; }
    QListView* list() const { return LB; }
    void clearList();

    // Layout rules.
    void SetMinimumSize();
    void AutoSizeColumns();
    void AutoSizePanels();
    void AutoSizeForm();
    void AutoAlignForm();
    void AlignButtons();

    // QDialog
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;

public:
    void done(int result) override;

private:
    void ScaleControls();
    void ApplyCreationGeometry();
    void ActivateBrowse();
    void ActivateErrorWindow();
    void FinishActivation();
    void PlaceAgainWhenFramed(const QRect& placed);
    void FormCloseQuery();
    void CentreOnWorkArea();
    void LoadToggles();
    QSize nonClient() const;
    void placeOuter(const QRect& outer);
    void setOuterMinimum(const QSize& outer);
    QSize outerMinimum() const;
    int buttonRowWidth() const;
    int fixedHeight() const;
    bool autoAlignDown() const;
    void queueEmptyListEnd();

    TListWindowKind Kind;
    QHeaderView* HC;
    QListView* LB;
    QStringListModel* Keys = nullptr; // the browse windows' rows
    TListRowDelegate* Rows;
    QWidget* Pnl_Desc = nullptr;
    int DescHeight = 0;
    QWidget* Pnl_BBtn;
    QToolButton* SBtn_AutoSize;
    QToolButton* SBtn_AutoAlign = nullptr;
    QPushButton* BBtn_Refresh = nullptr;
    QPushButton* BBtn_Select = nullptr;
    QPushButton* BBtn_Cancel = nullptr; // Close on the error windows
    QWidget* SB;
    std::vector<QLabel*> StatusPanels;
    std::vector<int> MeasuredWidths; // empty: to be measured

    bool Updating = false;
    int Placing = 0;
    int AutoWidth = 0;
    int AutoHeight = 0;
    TAlignAnchor Anchor;
    TProgramGeometry ProgramGeometry;
    TRestoreRefit Restores;

    int HeaderHeight = 0;
    int ItemHeight = 0;
    int ToggleHeight = 0;
    int ButtonHeight = 0;
    int ButtonWidth = 0;
    int PanelHeight = 0;
    int StatusHeight = 0;
};
