// The main window's menus, tool bar and the recent files menus.
#include "forms/main/F_Main.h"

#include "forms/HintStyle.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

using platform::Format;

namespace {

using THelp = TMainController::THelpDocument;

QString Hint(int descriptionId, int shortcutId) {
    return shortcutId > 0 ? UIT(descriptionId) + QLatin1Char('\n') + UIT(shortcutId)
                          : UIT(descriptionId);
}

// The edit commands' menu items and tool buttons (the hint's shortcut text follows the hint).
struct TEditItem {
    TEditCommand Command;
    const char* MenuItem;
    int MenuText;
    int Image;
    int Hint;
    QKeyCombination Key;
    const char* ToolButton;
    int ToolText;
};
constexpr TEditItem kEditItems[] = {
    {TEditCommand::Cut, "MI_Edit_Cut", 53, imgCut, 898, Qt::CTRL | Qt::Key_X, "TBtn_Edit_Cut", 39},
    {TEditCommand::Copy, "MI_Edit_Copy", 54, imgCopy, 900, Qt::CTRL | Qt::Key_C, "TBtn_Edit_Copy",
     40},
    {TEditCommand::Paste, "MI_Edit_Paste", 55, imgPaste, 902, Qt::CTRL | Qt::Key_V,
     "TBtn_Edit_Paste", 41},
    {TEditCommand::Undo, "MI_Edit_Undo", 56, imgUndo, 904, Qt::CTRL | Qt::Key_Z, "TBtn_Edit_Undo",
     42},
};

} // namespace

QAction* TUF_Main::NewAction(const QString& name, int textId, int imageIndex, int hintId,
                             int shortcutHintId) {
    auto* item = new QAction(this);
    item->setObjectName(name);
    item->setText(UIT(textId));
    if (imageIndex >= 0) {
        item->setIcon(IL_Main_16.value(imageIndex));
    }
    if (hintId > 0) {
        item->setToolTip(Hint(hintId, shortcutHintId));
        item->setStatusTip(QString());
    }
    return item;
}

QAction* TUF_Main::action(const QString& name) const {
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

QWidget* TUF_Main::EditFocus() const {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->window() == this ? focus : nullptr;
}

void TUF_Main::RunEditAction(TEditCommand command) {
    RunEditCommand(EditFocus(), command, ClipboardHasText);
    UpdateEditActions();
}

void TUF_Main::UpdateEditActions() {
    QWidget* focus = EditFocus();
    for (const TEditItem& edit : kEditItems) {
        const bool enabled = CanRunEditCommand(focus, edit.Command, ClipboardHasText);
        for (const char* name : {edit.MenuItem, edit.ToolButton}) {
            if (QAction* item = action(QString::fromLatin1(name))) {
                item->setEnabled(enabled);
            }
        }
    }
}

void TUF_Main::BuildActions() {
    // A command of the menus: hides the balloon hint first (the controller does).
    auto command = [this](const QString& name, int textId, int image, auto&& body) {
        QAction* item = NewAction(name, textId, image, 0, 0);
        connect(item, &QAction::triggered, this, [body] { GuardSlot(body); });
        return item;
    };
    TMainController& c = *Controller;
    command(QStringLiteral("MI_File_OpenSDF"), 45, imgOpenSample, [&c] { c.FileOpenSample(); });
    command(QStringLiteral("MI_File_New"), 46, imgNew, [&c] {
        c.FileNew();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    command(QStringLiteral("MI_File_Open"), 47, imgOpen, [&c] {
        c.FileOpen();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    command(QStringLiteral("MI_File_Save"), 48, imgSave, [&c] {
        c.FileSave();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    command(QStringLiteral("MI_File_SaveAs"), 49, imgSaveAs, [&c] { c.FileSaveAs(); });
    command(QStringLiteral("MI_File_Close"), 50, imgCloseFile, [&c] { c.FileClose(); });
    command(QStringLiteral("MI_File_Exit"), 51, imgExit, [&c] { c.FileExit(); });
    command(QStringLiteral("MI_Tools_Options"), 58, imgOptions, [&c] { c.Options(); });
    command(QStringLiteral("MI_Help_Tutorial"), 63, imgTutorial,
            [&c] { c.ShowHelp(THelp::Tutorial); });
    command(QStringLiteral("MI_Help_UserManual"), 64, imgUserManual, [&c] {
        c.ShowHelp(THelp::UserManual);
    })->setShortcut(QKeySequence(Qt::Key_F1));
    command(QStringLiteral("MI_Help_WhitePaper"), 65, imgWhitePaper,
            [&c] { c.ShowHelp(THelp::WhitePaper); });
    command(QStringLiteral("MI_Help_About"), 66, imgAbout, [&c] {
        c.About();
    })->setText(Format(UIT(txt::About), {QStringLiteral("Ovik KRV Tessel")}));
    command(QStringLiteral("MI_MRU_Purge"), 67, imgPurge, [&c] { c.PurgeMRU(); });
    command(QStringLiteral("MI_MRU_Reset"), 68, imgReset, [&c] { c.ResetMRU(); });

    for (const TEditItem& edit : kEditItems) {
        QAction* item = NewAction(QString::fromLatin1(edit.MenuItem), edit.MenuText, edit.Image,
                                  edit.Hint, edit.Hint + 1);
        item->setShortcut(QKeySequence(edit.Key));
        const TEditCommand editCommand = edit.Command;
        connect(item, &QAction::triggered, this, [this, editCommand] {
            GuardSlot([this, editCommand] { RunEditAction(editCommand); });
        });
    }

    for (int n = 1; n <= TovMRUs::Capacity; ++n) {
        for (auto* list : {&MI_File_MRU, &MI_MRU}) {
            auto* item = new QAction(this);
            item->setVisible(false);
            connect(item, &QAction::triggered, this,
                    [this, n] { GuardSlot([this, n] { Controller->FileOpenMRU(n); }); });
            (*list)[static_cast<size_t>(n)] = item;
        }
    }
}

void TUF_Main::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(UIT(txt::File));
    file->addAction(action(QStringLiteral("MI_File_OpenSDF")));
    file->addSeparator();
    file->addAction(action(QStringLiteral("MI_File_New")));
    file->addSeparator();
    file->addAction(action(QStringLiteral("MI_File_Open")));
    file->addAction(action(QStringLiteral("MI_File_Save")));
    file->addSeparator();
    file->addAction(action(QStringLiteral("MI_File_SaveAs")));
    file->addAction(action(QStringLiteral("MI_File_Close")));
    file->addSeparator();
    for (int n = 1; n <= TovMRUs::Capacity; ++n) {
        file->addAction(MI_File_MRU[static_cast<size_t>(n)]);
    }
    MI_File_MRU_Separator = file->addSeparator();
    MI_File_MRU_Separator->setVisible(false);
    file->addAction(action(QStringLiteral("MI_File_Exit")));

    QMenu* edit = bar->addMenu(UIT(txt::Edit));
    connect(edit, &QMenu::aboutToShow, this,
            [this] { GuardSlot([this] { UpdateEditActions(); }); });
    edit->addAction(action(QStringLiteral("MI_Edit_Cut")));
    edit->addAction(action(QStringLiteral("MI_Edit_Copy")));
    edit->addAction(action(QStringLiteral("MI_Edit_Paste")));
    edit->addSeparator();
    edit->addAction(action(QStringLiteral("MI_Edit_Undo")));

    QMenu* tools = bar->addMenu(UIT(txt::Tools));
    tools->addAction(action(QStringLiteral("MI_Tools_Options")));

    QMenu* help = bar->addMenu(UIT(txt::Help));
    help->addAction(action(QStringLiteral("MI_Help_Tutorial")));
    help->addAction(action(QStringLiteral("MI_Help_UserManual")));
    help->addAction(action(QStringLiteral("MI_Help_WhitePaper")));
    help->addAction(action(QStringLiteral("MI_Help_About")));

    PM_MRU = new QMenu(this);
    for (int n = 1; n <= TovMRUs::Capacity; ++n) {
        PM_MRU->addAction(MI_MRU[static_cast<size_t>(n)]);
    }
    PM_MRU->addSeparator();
    PM_MRU->addAction(action(QStringLiteral("MI_MRU_Purge")));
    PM_MRU->addAction(action(QStringLiteral("MI_MRU_Reset")));
}

void TUF_Main::BuildToolBar() {
    TBar_Main = addToolBar(QString());
    TBar_Main->setObjectName(QStringLiteral("TBar_Main"));
    TBar_Main->setMovable(false);
    TBar_Main->setFloatable(false);
    TBar_Main->setIconSize(QSize(16, 16));
    // A tool button gives the focus to the page control first, so that the control being
    // edited gives up its value.
    auto button = [this](const QString& name, int textId, int image, int hint, int shortcut,
                         auto&& body) {
        QAction* item = NewAction(name, textId, image, hint, shortcut);
        item->setText(Format(QStringLiteral(" %s "), {UIT(textId)}));
        connect(item, &QAction::triggered, this, [this, body] {
            GuardSlot([this, body] {
                FocusPages();
                body();
            });
        });
        TBar_Main->addAction(item);
        return item;
    };
    TMainController& c = *Controller;
    button(QStringLiteral("TBtn_File_New"), 36, imgNew, 892, 893, [&c] { c.FileNew(); });
    QAction* open =
        button(QStringLiteral("TBtn_File_Open"), 37, imgOpen, 894, 895, [&c] { c.FileOpen(); });
    open->setMenu(PM_MRU);
    if (auto* openButton = qobject_cast<QToolButton*>(TBar_Main->widgetForAction(open))) {
        openButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    button(QStringLiteral("TBtn_File_Save"), 38, imgSave, 896, 897, [&c] { c.FileSave(); });
    TBar_Main->addSeparator();
    // The edit buttons act on the focused control, so they leave the focus where it is.
    for (const TEditItem& edit : kEditItems) {
        QAction* menuItem = action(QString::fromLatin1(edit.MenuItem));
        QAction* item = NewAction(QString::fromLatin1(edit.ToolButton), edit.ToolText, -1, 0, 0);
        item->setIcon(menuItem->icon());
        item->setToolTip(menuItem->toolTip());
        item->setText(Format(QStringLiteral(" %s "), {UIT(edit.ToolText)}));
        const TEditCommand command = edit.Command;
        connect(item, &QAction::triggered, this,
                [this, command] { GuardSlot([this, command] { RunEditAction(command); }); });
        TBar_Main->addAction(item);
        if (command == TEditCommand::Paste) {
            TBar_Main->addSeparator();
        }
    }
    TBar_Main->addSeparator();
    QAction* hints = NewAction(QStringLiteral("TBtn_ShowHints"), 43, imgShowHints, 906, 0);
    hints->setText(Format(QStringLiteral(" %s "), {UIT(txt::ShowHints)}));
    hints->setCheckable(true);
    hints->setChecked(true);
    connect(hints, &QAction::triggered, this,
            [this](bool down) { GuardSlot([this, down] { Controller->ShowHintsChanged(down); }); });
    TBar_Main->addAction(hints);
}

void TUF_Main::ApplyPreferences() {
    const bool captions = UP == nullptr || UP->getShowToolBarCaptions();
    TBar_Main->setToolButtonStyle(captions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    HintsShown = UP == nullptr || UP->getShowHints();
    if (UP != nullptr) {
        ApplyHintTiming(UP->getHintPause(), UP->getHintHidePause());
    }
    QAction* hints = action(QStringLiteral("TBtn_ShowHints"));
    const QSignalBlocker blocker(hints);
    hints->setChecked(HintsShown);
    if (Spl_Main != nullptr) {
        // The tool bar's captions change the window's minimum height.
        FitMinimumSize();
    }
}

// ---- Recent files menus ----

void TUF_Main::setItemCaption(TMRUMenu menu, int n, const QString& caption) {
    if (n >= 1 && n <= TovMRUs::Capacity) {
        (menu == TMRUMenu::File ? MI_File_MRU : MI_MRU)[static_cast<size_t>(n)]->setText(
            RecentFileMenuCaption(caption));
    }
}

void TUF_Main::setItemVisible(TMRUMenu menu, int n, bool visible) {
    if (n >= 1 && n <= TovMRUs::Capacity) {
        (menu == TMRUMenu::File ? MI_File_MRU : MI_MRU)[static_cast<size_t>(n)]->setVisible(
            visible);
    }
}

void TUF_Main::setFileSeparatorVisible(bool visible) {
    MI_File_MRU_Separator->setVisible(visible);
}

void TUF_Main::setPurgeEnabled(bool enabled) {
    action(QStringLiteral("MI_MRU_Purge"))->setEnabled(enabled);
}

void TUF_Main::setResetEnabled(bool enabled) {
    action(QStringLiteral("MI_MRU_Reset"))->setEnabled(enabled);
}
