#include "forms/main/F_Main_Status.h"

#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services_ui/TextMetrics.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace {} // namespace

TMainStatusBar::TMainStatusBar(QWidget* parent)
    : QStatusBar(parent), ModifiedPanel(new QLabel(this)), DataFilePanel(new QLabel(this)),
      TextPanel(new QLabel(this)), PB_Main(new QProgressBar(this)), SparePanel(new QWidget(this)) {
    setSizeGripEnabled(false);
    QFont font = this->font();
    ApplyIconTitleFont(font);
    setFont(font);
    setFixedHeight(DlgTextHeight + 8);
    ModifiedPanel->setText(Framed(UIT(txt::Modified)));
    DataFilePanel->setText(Framed(UIT(txt::DataFile)));
    for (QLabel* panel : {ModifiedPanel, DataFilePanel}) {
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFixedWidth(panel->fontMetrics().horizontalAdvance(panel->text()) + 10);
    }
    TextPanel->setFrameShape(QFrame::StyledPanel);
    TextPanel->setTextFormat(Qt::PlainText);
    TextPanel->setMinimumWidth(1);
    TextPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    PB_Main->setRange(0, 0);
    PB_Main->setValue(0);
    PB_Main->setTextVisible(false);
    PB_Main->setFixedWidth(120);
    PB_Main->setContentsMargins(1, 1, 1, 1);
    PB_Main->hide();
    SparePanel->setFixedWidth(height());
    addWidget(ModifiedPanel);
    addWidget(DataFilePanel);
    addWidget(TextPanel, 1);
    addPermanentWidget(PB_Main);
    addPermanentWidget(SparePanel);
    setModified(false);
}

void TMainStatusBar::setModified(bool modified) {
    Modified = modified;
    QPalette palette = ModifiedPanel->palette();
    palette.setColor(QPalette::WindowText,
                     modified ? this->palette().color(QPalette::WindowText)
                              : this->palette().color(QPalette::Disabled, QPalette::WindowText));
    ModifiedPanel->setPalette(palette);
    ModifiedPanel->update();
}

void TMainStatusBar::setDataFileText(const QString& text) {
    DataFileText = text;
    setToolTip(text);
    ShowDataFileText();
}

void TMainStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    ShowDataFileText();
}

void TMainStatusBar::ShowDataFileText() {
    const int width = std::max(0, TextPanel->width() - 8);
    TextPanel->setText(EllipsifyPath(DataFileText, TextPanel->font(), width));
}
