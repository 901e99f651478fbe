#include "forms/browse/BrowseBase.h"

#include "forms/SlotGuard.h"
#include "services/ovAD.h"
#include "services/ovUP.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WorkArea.h"

#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <numeric>

// The list windows' layout: control sizes from the dialogue metrics, the minimum size, Auto Size
// and Auto Align through the size rules, and the user's drags of the border or the window.

namespace {

int mulDiv(int value, int numerator, int denominator) {
    return denominator == 0
               ? value
               : static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                                  denominator);
}

} // namespace

void TProgramGeometry::shown(QObject* window) {
    Settled = false;
    QTimer::singleShot(kSettleMs, window, [this] { Settled = true; });
}

void TUF_BrowseBase::ScaleControls() {
    HeaderHeight = DlgTextHeight + 8;
    ItemHeight = DlgTextHeight + 3;
    ToggleHeight = DlgTextHeight + DlgSBtnMargin;
    ButtonHeight = DlgTextHeight + DlgBBtnMargin;
    ButtonWidth = mulDiv(80, DlgAvgCharWidth, 6);
    PanelHeight = ButtonHeight + 12;
    StatusHeight = DlgTextHeight + 8;
    HC->setFixedHeight(HeaderHeight);
    Rows->setItemHeight(ItemHeight);
    Pnl_BBtn->setFixedHeight(PanelHeight);
    SB->setFixedHeight(StatusHeight);
    SBtn_AutoSize->setFixedSize(ButtonWidth, ToggleHeight);
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setFixedSize(ButtonWidth, ToggleHeight);
    }
    for (QPushButton* button : {BBtn_Refresh, BBtn_Select, BBtn_Cancel}) {
        if (button != nullptr) {
            button->setFixedSize(ButtonWidth, ButtonHeight);
        }
    }
    AlignButtons();
}

void TUF_BrowseBase::AlignButtons() {
    const int toggleTop = (PanelHeight - ToggleHeight) / 2;
    const int buttonTop = (PanelHeight - ButtonHeight) / 2;
    int left = 8;
    for (QWidget* button : std::initializer_list<QWidget*>{SBtn_AutoSize, SBtn_AutoAlign}) {
        if (button != nullptr) {
            button->move(left, toggleTop);
            left += ButtonWidth + 8;
        }
    }
    if (BBtn_Refresh != nullptr) {
        BBtn_Refresh->move(left, buttonTop);
    }
    const int cancelLeft = Pnl_BBtn->width() - 8 - ButtonWidth;
    BBtn_Cancel->move(cancelLeft, buttonTop);
    if (BBtn_Select != nullptr) {
        BBtn_Select->move(cancelLeft - 8 - ButtonWidth, buttonTop);
    }
}

int TUF_BrowseBase::buttonRowWidth() const {
    int count = 1;
    for (const QWidget* button : std::initializer_list<const QWidget*>{
             SBtn_AutoSize, SBtn_AutoAlign, BBtn_Refresh, BBtn_Select}) {
        count += button != nullptr ? 1 : 0;
    }
    return count * ButtonWidth + 8 * (count + 1);
}

int TUF_BrowseBase::fixedHeight() const {
    return nonClient().height() + HeaderHeight + DescHeight + PanelHeight + StatusHeight;
}

QSize TUF_BrowseBase::nonClient() const {
    const QMargins frame = FrameMarginsOf(this);
    return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}

QRect TUF_BrowseBase::outerRect() const {
    return OuterRectOf(this);
}

void TUF_BrowseBase::placeOuter(const QRect& outer) {
    if (outer == outerRect()) {
        return;
    }
    ++Placing;
    ProgramGeometry.expect(ClientRectOf(this, outer));
    PlaceOuter(this, outer);
    --Placing;
    ProgramGeometry.expect(geometry());
}

QSize TUF_BrowseBase::outerMinimum() const {
    return OuterSizeOf(this, minimumSize());
}

void TUF_BrowseBase::setOuterMinimum(const QSize& outer) {
    ++Placing;
    SetOuterMinimumSize(this, outer);
    --Placing;
    ProgramGeometry.expect(geometry());
}

void TUF_BrowseBase::SetMinimumSize() {
    const QSize minimum(nonClient().width() + buttonRowWidth(), fixedHeight() + 3 * ItemHeight + 4);
    setOuterMinimum(minimum);
    AutoWidth = minimum.width();
    AutoHeight = minimum.height();
}

void TUF_BrowseBase::AutoSizeColumns() {
    // Setup and the activation both size the columns; a long list is measured once.
    if (MeasuredWidths.empty()) {
        QStringList headers;
        for (int s = 0; s < HC->count(); ++s) {
            headers << HC->model()->headerData(s, Qt::Horizontal).toString();
        }
        std::vector<int> minimums;
        MeasuredWidths = MeasureColumns(
            headers, HC->font(), rowCount(),
            [this](int row, int column) { return cellText(row, column); }, LB->font(), minimums);
        KeepSectionMinimums(HC, minimums);
    }
    for (int s = 0; s < static_cast<int>(MeasuredWidths.size()) && s < HC->count(); ++s) {
        HC->resizeSection(s, MeasuredWidths[static_cast<size_t>(s)]);
    }
    LB->viewport()->update();
}

void TUF_BrowseBase::AutoSizePanels() {
    const TextMeasurer& m = textMeasurer();
    for (QLabel* panel : StatusPanels) {
        panel->setFixedWidth(m.textWidth(panel->font(), panel->text()) + 10);
    }
}

void TUF_BrowseBase::RefreshList() {
    if (StatusPanels.size() > 1) {
        StatusPanels[1]->setText(FramedCell(QString::number(rowCount())));
    }
    AutoSizeColumns();
    AutoSizePanels();
}

bool TUF_BrowseBase::autoAlignDown() const {
    return SBtn_AutoAlign != nullptr && SBtn_AutoAlign->isChecked();
}

void TUF_BrowseBase::AutoSizeForm() {
    AutoSizeColumns();
    AutoSizePanels();
    TAutoSizeWish wish;
    wish.FixedHeight = fixedHeight();
    wish.ItemHeight = ItemHeight;
    wish.ItemCount = rowCount();
    const std::vector<int> sections = sectionWidthsForTest();
    int panels = StatusHeight;
    for (const QLabel* panel : StatusPanels) {
        panels += panel->width();
    }
    wish.ContentWidth =
        std::max({CaptionTextWidth(windowTitle(), Kind.ErrorWindow, true),
                  std::accumulate(sections.begin(), sections.end(), 0), buttonRowWidth(), panels});
    wish.FrameWidth = nonClient().width();
    const TAutoSizeResult result =
        AutoSizeBox(wish, {outerRect(), outerMinimum()}, workArea().rect(),
                    Kind.ErrorWindow || !autoAlignDown());
    if (result.Box.Minimum != outerMinimum()) {
        setOuterMinimum(result.Box.Minimum);
    }
    AutoWidth = result.AutoWidth;
    AutoHeight = result.AutoHeight;
    placeOuter(result.Box.Window);
    AlignButtons();
}

void TUF_BrowseBase::AutoAlignForm() {
    placeOuter(AutoAlignRect(Anchor, {outerRect(), outerMinimum()}, AutoWidth, AutoHeight,
                             SBtn_AutoSize->isChecked(), workArea().rect()));
}

void TUF_BrowseBase::CentreOnWorkArea() {
    placeOuter(CentredRect(outerRect(), workArea().rect()));
}

void TUF_BrowseBase::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    GuardSlot([&] {
        Restores.Track(this);
        AlignButtons();
        const bool user = Placing == 0 && isVisible() && !isMaximized() && !isMinimized() &&
                          ProgramGeometry.isUserResize(event->size());
        // Whatever changed the size, later events compare with it; the position is the move
        // event's to judge.
        ProgramGeometry.expectSize(event->size());
        if (user) {
            UserSizing();
        }
    });
}

void TUF_BrowseBase::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    GuardSlot([&] {
        Restores.Track(this);
        const bool user = Placing == 0 && isVisible() && !isMaximized() && !isMinimized() &&
                          ProgramGeometry.isUserMove(geometry().topLeft());
        ProgramGeometry.expectPosition(geometry().topLeft());
        if (user) {
            UserMoving();
        }
    });
}

void TUF_BrowseBase::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !Kind.ErrorWindow) {
        return;
    }
    GuardSlot([&] {
        if (isMaximized()) {
            SBtn_AutoSize->setEnabled(false);
            return;
        }
        SBtn_AutoSize->setEnabled(true);
        if (SBtn_AutoSize->isChecked() && isVisible()) {
            Restores.Restored(this, [this] {
                GuardSlot([&] {
                    if (SBtn_AutoSize->isChecked()) {
                        AutoSizeForm();
                    }
                });
            });
        }
    });
}

void TUF_BrowseBase::UserSizing() {
    // A drag sends many resizes: the toggles go up and the preference is saved at its first.
    const bool alignDown = autoAlignDown();
    const bool stored = UP != nullptr && (UP->*Kind.GetAutoSize)();
    if (!SBtn_AutoSize->isChecked() && !alignDown && !stored) {
        return;
    }
    Updating = true;
    SBtn_AutoSize->setChecked(false);
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setChecked(false);
    }
    Updating = false;
    if (stored) {
        (UP->*Kind.SetAutoSize)(false);
        UP->Save();
    }
}

void TUF_BrowseBase::UserMoving() {
    Updating = true;
    if (SBtn_AutoAlign != nullptr) {
        SBtn_AutoAlign->setChecked(false);
    }
    if (SBtn_AutoSize->isChecked() &&
        SmallerThanAutoSize(outerRect().size(), AutoWidth, AutoHeight)) {
        SBtn_AutoSize->setChecked(false);
    }
    Updating = false;
}
