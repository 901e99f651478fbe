#include "forms/MainIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>

namespace {

// The simple shapes the fallback pictures are drawn from.
enum class TShape {
    Page,
    Folder,
    Disk,
    Cross,
    Check,
    Plus,
    Minus,
    ArrowUp,
    ArrowDown,
    ArrowRight,
    Question,
    Info,
    Circle,
    Grid,
    Funnel,
    Pen
};

struct TImageEntry {
    int Index;
    const char* Name;
    TShape Shape;
    QRgb Colour;
};

constexpr QRgb kBlue = 0xff2a6db5;
constexpr QRgb kGreen = 0xff2e8b3d;
constexpr QRgb kRed = 0xffc0392b;
constexpr QRgb kGrey = 0xff5d6770;
constexpr QRgb kAmber = 0xffc98a12;

// One row per image index of the 16x16 list: its icon name and its fallback picture.
constexpr TImageEntry kImages[] = {
    {imgNew, "document-new", TShape::Page, kGrey},
    {imgOpen, "document-open", TShape::Folder, kAmber},
    {imgSave, "document-save", TShape::Disk, kBlue},
    {imgSaveAs, "document-save-as", TShape::Disk, kGrey},
    {imgCloseFile, "window-close", TShape::Cross, kGrey},
    {imgExit, "application-exit", TShape::ArrowRight, kRed},
    {imgOpenSample, "document-open-recent", TShape::Folder, kGreen},
    {imgCut, "edit-cut", TShape::Cross, kGrey},
    {imgCopy, "edit-copy", TShape::Page, kBlue},
    {imgPaste, "edit-paste", TShape::Page, kAmber},
    {imgCancel, "process-stop", TShape::Cross, kRed},
    {imgUndo, "edit-undo", TShape::ArrowRight, kBlue},
    {imgClose, "window-close", TShape::Cross, kGrey},
    {imgContinue, "go-next", TShape::ArrowRight, kGreen},
    {imgShowHints, "dialog-information", TShape::Info, kBlue},
    {imgOptions, "preferences-system", TShape::Circle, kGrey},
    {imgTutorial, "help-contents", TShape::Question, kGreen},
    {imgUserManual, "help-browser", TShape::Question, kBlue},
    {imgWhitePaper, "x-office-document", TShape::Page, kGrey},
    {imgAbout, "help-about", TShape::Info, kGreen},
    {imgPurge, "edit-clear", TShape::Minus, kAmber},
    {imgReset, "edit-delete", TShape::Cross, kRed},
    {imgTabPD, "go-home", TShape::Page, kBlue},
    {imgTabSCF, "folder", TShape::Folder, kAmber},
    {imgTabSCO, "document-properties", TShape::Check, kBlue},
    {imgTabDSM, "x-office-spreadsheet", TShape::Grid, kGreen},
    {imgTabDSF, "edit-find", TShape::Funnel, kGrey},
    {imgNo, "dialog-cancel", TShape::Cross, kRed},
    {imgOk, "dialog-ok", TShape::Check, kGreen},
    {imgProcess, "system-run", TShape::ArrowRight, kGreen},
    {imgAddSD, "list-add", TShape::Plus, kGreen},
    {imgRenameSD, "accessories-text-editor", TShape::Pen, kBlue},
    {imgDeleteSD, "list-remove", TShape::Minus, kRed},
    {imgMoveUp, "go-up", TShape::ArrowUp, kBlue},
    {imgMoveDown, "go-down", TShape::ArrowDown, kBlue},
    {imgRetry, "view-refresh", TShape::Circle, kGreen},
    {imgYes, "dialog-ok-apply", TShape::Check, kGreen},
    {imgProjectSummary, "x-office-spreadsheet", TShape::Grid, kBlue},
};

const TImageEntry* EntryOf(int index) {
    for (const TImageEntry& entry : kImages) {
        if (entry.Index == index) {
            return &entry;
        }
    }
    return nullptr;
}

void DrawShape(QPainter& p, TShape shape, const QColor& colour, const QRectF& box) {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal x = box.left();
    const qreal y = box.top();
    QPen pen(colour, std::max<qreal>(1.5, w / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto at = [&](qreal fx, qreal fy) { return QPointF(x + fx * w, y + fy * h); };
    switch (shape) {
    case TShape::Page:
        p.setPen(QPen(colour, 1.2));
        p.setBrush(QColor(Qt::white));
        p.drawRect(QRectF(at(0.2, 0.1), at(0.8, 0.9)));
        p.drawLine(at(0.32, 0.4), at(0.68, 0.4));
        p.drawLine(at(0.32, 0.6), at(0.68, 0.6));
        break;
    case TShape::Folder:
        p.setPen(QPen(colour.darker(130), 1.0));
        p.setBrush(colour);
        p.drawRect(QRectF(at(0.1, 0.3), at(0.9, 0.85)));
        p.drawRect(QRectF(at(0.1, 0.2), at(0.45, 0.3)));
        break;
    case TShape::Disk:
        p.setPen(QPen(colour.darker(130), 1.0));
        p.setBrush(colour);
        p.drawRect(QRectF(at(0.12, 0.12), at(0.88, 0.88)));
        p.setBrush(QColor(Qt::white));
        p.drawRect(QRectF(at(0.3, 0.12), at(0.7, 0.42)));
        break;
    case TShape::Cross:
        p.drawLine(at(0.22, 0.22), at(0.78, 0.78));
        p.drawLine(at(0.78, 0.22), at(0.22, 0.78));
        break;
    case TShape::Check:
        p.drawPolyline(QPolygonF({at(0.18, 0.52), at(0.42, 0.76), at(0.82, 0.26)}));
        break;
    case TShape::Plus:
        p.drawLine(at(0.5, 0.18), at(0.5, 0.82));
        p.drawLine(at(0.18, 0.5), at(0.82, 0.5));
        break;
    case TShape::Minus:
        p.drawLine(at(0.18, 0.5), at(0.82, 0.5));
        break;
    case TShape::ArrowUp:
        p.drawLine(at(0.5, 0.85), at(0.5, 0.18));
        p.drawPolyline(QPolygonF({at(0.22, 0.45), at(0.5, 0.18), at(0.78, 0.45)}));
        break;
    case TShape::ArrowDown:
        p.drawLine(at(0.5, 0.15), at(0.5, 0.82));
        p.drawPolyline(QPolygonF({at(0.22, 0.55), at(0.5, 0.82), at(0.78, 0.55)}));
        break;
    case TShape::ArrowRight:
        p.drawLine(at(0.15, 0.5), at(0.82, 0.5));
        p.drawPolyline(QPolygonF({at(0.55, 0.22), at(0.82, 0.5), at(0.55, 0.78)}));
        break;
    case TShape::Question:
    case TShape::Info: {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QRectF(at(0.08, 0.08), at(0.92, 0.92)));
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(static_cast<int>(h * 0.7));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter,
                   shape == TShape::Question ? QStringLiteral("?") : QStringLiteral("i"));
        break;
    }
    case TShape::Circle:
        p.drawEllipse(QRectF(at(0.2, 0.2), at(0.8, 0.8)));
        break;
    case TShape::Grid:
        p.setPen(QPen(colour, 1.0));
        p.setBrush(QColor(Qt::white));
        p.drawRect(QRectF(at(0.1, 0.15), at(0.9, 0.85)));
        p.drawLine(at(0.1, 0.38), at(0.9, 0.38));
        p.drawLine(at(0.1, 0.61), at(0.9, 0.61));
        p.drawLine(at(0.4, 0.15), at(0.4, 0.85));
        break;
    case TShape::Funnel:
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({at(0.12, 0.18), at(0.88, 0.18), at(0.58, 0.52), at(0.58, 0.85),
                                 at(0.42, 0.75), at(0.42, 0.52)}));
        break;
    case TShape::Pen:
        p.drawLine(at(0.2, 0.8), at(0.8, 0.2));
        p.drawLine(at(0.15, 0.88), at(0.85, 0.88));
        break;
    }
}

QPixmap Drawn(TShape shape, QRgb colour, const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const int side = std::min(size.width(), size.height());
    DrawShape(p, shape, QColor::fromRgba(colour),
              QRectF((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side));
    return pixmap;
}

QIcon DrawnIcon(TShape shape, QRgb colour) {
    QIcon icon;
    icon.addPixmap(Drawn(shape, colour, QSize(16, 16)));
    icon.addPixmap(Drawn(shape, colour, QSize(32, 32)));
    return icon;
}

// Icons come from the desktop's theme; where that names no theme (or a bare one), the icon
// theme the program installs with is looked in as well, in the desktop's icon folders.
void EnsureFallbackTheme() {
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        const QStringList iconFolders =
            QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                      QStandardPaths::LocateDirectory);
        for (const QString& folder : iconFolders) {
            if (!paths.contains(folder)) {
                paths << folder;
            }
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::fallbackThemeName().isEmpty() ||
            QIcon::fallbackThemeName() == QLatin1String("hicolor")) {
            QIcon::setFallbackThemeName(QStringLiteral("Tango"));
        }
        if (QIcon::themeName().isEmpty()) {
            QIcon::setThemeName(QStringLiteral("Tango"));
        }
        return true;
    }();
    (void)done;
}

} // namespace

QString MainImageName(int index) {
    const TImageEntry* entry = EntryOf(index);
    return entry != nullptr ? QString::fromLatin1(entry->Name) : QString();
}

bool MainImageFromTheme(int index) {
    EnsureFallbackTheme();
    const TImageEntry* entry = EntryOf(index);
    return entry != nullptr && QIcon::hasThemeIcon(QString::fromLatin1(entry->Name));
}

QList<QIcon> MainImageList() {
    EnsureFallbackTheme();
    QList<QIcon> list;
    for (int i = 0; i < MainImageCount; ++i) {
        const TImageEntry* entry = EntryOf(i);
        if (entry == nullptr) {
            list << QIcon();
            continue;
        }
        const QString name = QString::fromLatin1(entry->Name);
        list << (QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name)
                                           : DrawnIcon(entry->Shape, entry->Colour));
    }
    return list;
}

QPixmap StatusPicture(int index) {
    EnsureFallbackTheme();
    const QSize size(22, 21);
    const QString name =
        index == stError ? QStringLiteral("dialog-error") : QStringLiteral("emblem-default");
    if (QIcon::hasThemeIcon(name)) {
        const QPixmap themed = QIcon::fromTheme(name).pixmap(QSize(16, 16));
        QPixmap framed(size);
        framed.fill(Qt::transparent);
        QPainter p(&framed);
        p.drawPixmap((size.width() - themed.width()) / 2, (size.height() - themed.height()) / 2,
                     themed);
        return framed;
    }
    return index == stError ? Drawn(TShape::Cross, kRed, size) : Drawn(TShape::Check, kGreen, size);
}

QIcon ActionGlyph(int index) {
    const int image = index == agAdd ? imgAddSD : index == agRename ? imgRenameSD : imgCopy;
    return MainImageList().value(image);
}
