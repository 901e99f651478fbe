// Text exchange of the grid with the system clipboard, and its pop-up menu. The text form of
// the cells is the program's one clipboard codec (platform/ClipboardText.h).
#include "ovGrid.h"

#include "platform/ClipboardText.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

namespace {

QString joinRows(const std::vector<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        text += platform::clipboardRow(row) + QLatin1String("\r\n");
    }
    return text;
}

} // namespace

bool TovGrid::clipboardHasText() const {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime != nullptr && mime->hasText();
}

void TovGrid::CopySelection() {
    if (Selection.left() < 1 || Selection.top() < 1) {
        return;
    }
    std::vector<QStringList> rows;
    for (int r = Selection.top(); r <= Selection.bottom(); ++r) {
        QStringList fields;
        for (int c = Selection.left(); c <= Selection.right(); ++c) {
            fields << Cells.cell(c, r).Text;
        }
        rows.push_back(fields);
    }
    QGuiApplication::clipboard()->setText(joinRows(rows));
}

void TovGrid::CutSelection() {
    if (Selection.left() < 1 || Selection.top() < 1) {
        return;
    }
    endTyping();
    CopySelection();
    BulkChange = true;
    for (int r = Selection.top(); r <= Selection.bottom(); ++r) {
        for (int c = Selection.left(); c <= Selection.right(); ++c) {
            InternalSetCell(c, r, QString(), true);
        }
    }
    BulkChange = false;
    repaintAfterEvents();
}

void TovGrid::ClearSelection() {
    if (CurrentCol < 1 || CurrentRow < 1) {
        return;
    }
    InternalSetCell(CurrentCol, CurrentRow, QString(), true);
    repaintData();
}

void TovGrid::PasteSelection() {
    if (CurrentCol < 1 || CurrentRow < 1 || !clipboardHasText()) {
        return;
    }
    const QString text = QGuiApplication::clipboard()->text();
    endTyping();
    BulkChange = true;
    const std::vector<QStringList> rows = platform::parseClipboardRows(text).Rows;
    qsizetype fieldCount = 1;
    for (const QStringList& row : rows) {
        fieldCount = std::max(fieldCount, row.size());
    }
    for (size_t n = 0; n < rows.size(); ++n) {
        const int r = CurrentRow + static_cast<int>(n);
        if (r > Cells.rowCount()) {
            break;
        }
        for (qsizetype k = 0; k < fieldCount; ++k) {
            const int c = CurrentCol + static_cast<int>(k);
            if (c > Cells.colCount()) {
                break;
            }
            const TGridCell& target = Cells.cell(c, r);
            // Cells the user cannot change or reach are left as they are.
            if (target.ReadOnly || !target.CanSelect) {
                continue;
            }
            QString field = k < rows[n].size() ? rows[n][k] : QString();
            if (target.MaxLength > 0 && field.size() > target.MaxLength) {
                field.truncate(target.MaxLength);
            }
            InternalSetCell(c, r, field, true);
        }
    }
    BulkChange = false;
    repaintAfterEvents();
}

void TovGrid::repaintAfterEvents() {
    // The handlers of the changes may have marked rows or columns (gutter pictures, header
    // colours) while painting was held off: the whole grid is painted again.
    repaintAll();
}

void TovGrid::CopyAllToClipboard() {
    const TGutterKind kind = Geometry.Settings.GutterKind;
    const bool gutter = kind != gkNone;
    const bool header = Geometry.Settings.ShowHeader;
    std::vector<QStringList> rows;
    if (header) {
        QStringList fields;
        if (gutter) {
            fields << Home.Text;
        }
        for (int c = 1; c <= Cells.colCount(); ++c) {
            fields << Cells.column(c).Header.Text;
        }
        rows.push_back(fields);
    }
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        QStringList fields;
        if (gutter) {
            fields << (kind == gkNumber   ? QString::number(r)
                       : kind == gkString ? Cells.row(r).Gutter.Text
                                          : QString());
        }
        for (int c = 1; c <= Cells.colCount(); ++c) {
            fields << Cells.cell(c, r).Text;
        }
        rows.push_back(fields);
    }
    QGuiApplication::clipboard()->setText(joinRows(rows));
}

bool TovGrid::CanCopySelection() const {
    return GridEnabled && Selection.left() >= 1 && Selection.top() >= 1 &&
           Selection.right() <= Cells.colCount() && Selection.bottom() <= Cells.rowCount();
}

bool TovGrid::CanChangeSelection() const {
    return GridEnabled && CurrentCol >= 1 && CurrentRow >= 1 && CurrentCol <= Cells.colCount() &&
           CurrentRow <= Cells.rowCount() && !Cells.cell(CurrentCol, CurrentRow).ReadOnly &&
           isSingleSelection();
}

void TovGrid::popUpMenuAt(const QPoint& globalPos) {
    const bool writable = CanChangeSelection();
    CutAction->setEnabled(writable);
    ClearAction->setEnabled(writable);
    PasteAction->setEnabled(writable && clipboardHasText());
    CopyAction->setEnabled(true);
    DefaultPopUpMenu->popup(globalPos);
}
