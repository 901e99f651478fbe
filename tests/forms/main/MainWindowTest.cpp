// The main window and the Add, Rename and Copy window driven with QTest under the offscreen
// platform: the sample data file is opened, its list edited through the buttons, and one
// definition processed into its output workbook.
#include "MainTestFakes.h"

#include "MainWindowFixture.h"
#include "forms/MainIcons.h"
#include "forms/OBJ_Utils.h"
#include "forms/StatusImage.h"
#include "forms/dialogs/F_AddRenameCopy.h"
#include "forms/main/F_Main.h"
#include "forms/main/F_Main_Status.h"
#include "forms/tabs/Tab_SCF.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "support/Eventually.h"
#include "support/FakeDataFile.h"
#include "support/FakeProgress.h"
#include "support/FakeStdDlg.h"
#include "support/TempRegistry.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace formstest {
namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    QStringList ListTexts() const {
        QStringList texts;
        for (int i = 0; i < window->definitionList()->count(); ++i) {
            texts << window->definitionList()->item(i)->text();
        }
        return texts;
    }
    QStringList Descriptions() const {
        QStringList texts;
        for (int i = 1; i <= SDs->getCount(); ++i) {
            texts << QStringLiteral(" %1 ").arg(SDs->getItems(i)->getDescription());
        }
        return texts;
    }
    void ClickEntry(int row) {
        QListWidget* list = window->definitionList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void Click(int button) { QTest::mouseClick(window->listButton(button), Qt::LeftButton); }

    testsupport::FakeProgress progress;
};

TEST_F(MainWindowTest, StartsWithAnUntitledFileAndItsTexts) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ovik KRV Tessel"));
    EXPECT_EQ(ListTexts(), QStringList({QStringLiteral(" Enter Description Here... ")}));
    EXPECT_EQ(window->pages()->count(), TabCount);
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral(" Home "));
    EXPECT_EQ(window->pages()->tabText(4), QStringLiteral(" Data Source Filter "));
    EXPECT_EQ(window->processButton()->text(), QStringLiteral(" &Process "));
    EXPECT_EQ(window->statusPanels()->getDataFileText(), QStringLiteral(" Untitled.krvc "));
    EXPECT_TRUE(window->action(QStringLiteral("MI_File_Save"))->isEnabled())
        << "Save of a new file goes to Save As";
    EXPECT_TRUE(window->action(QStringLiteral("MI_File_SaveAs"))->isEnabled());
    EXPECT_EQ(window->action(QStringLiteral("MI_Help_About"))->text(),
              QStringLiteral("&About Ovik KRV Tessel..."));
}

TEST_F(MainWindowTest, HelpMenuHoldsItsFourItemsWithoutASeparator) {
    QMenu* help = nullptr;
    for (QObject* owner : window->action(QStringLiteral("MI_Help_About"))->associatedObjects()) {
        help = help != nullptr ? help : qobject_cast<QMenu*>(owner);
    }
    ASSERT_NE(help, nullptr);
    QStringList items;
    for (const QAction* item : help->actions()) {
        items << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    }
    EXPECT_EQ(items,
              QStringList({QStringLiteral("MI_Help_Tutorial"), QStringLiteral("MI_Help_UserManual"),
                           QStringLiteral("MI_Help_WhitePaper"), QStringLiteral("MI_Help_About")}));
}

TEST(MainImages, EveryIndexInUseHasAPictureFromTheThemeOrDrawn) {
    const QList<QIcon> images = MainImageList();
    ASSERT_EQ(images.size(), MainImageCount);
    for (int i = 0; i < MainImageCount; ++i) {
        EXPECT_EQ(images[i].isNull(), MainImageName(i).isEmpty()) << i;
        if (!images[i].isNull()) {
            EXPECT_FALSE(images[i].pixmap(16, 16).isNull()) << i;
        }
    }
    // The standard dialogue's glyphs, the status pictures and the action glyphs.
    for (const int i : {10, 12, 13, 27, 28, 44, 55}) {
        EXPECT_FALSE(images[i].isNull()) << i;
    }
    for (const int i : {stError, stOk}) {
        EXPECT_EQ(StatusPicture(i).size(), QSize(22, 21));
    }
    for (const int i : {agAdd, agRename, agCopy}) {
        EXPECT_FALSE(ActionGlyph(i).isNull());
    }
    if (QFile::exists(QStringLiteral("/usr/share/icons/Tango/index.theme"))) {
        EXPECT_TRUE(MainImageFromTheme(imgNew)) << "the installed icon theme is used";
    }
}

TEST_F(MainWindowTest, SampleFileIsEditedThroughTheListButtonsAndOneDefinitionProcessed) {
    window->action(QStringLiteral("MI_File_OpenSDF"))->trigger();
    ASSERT_EQ(SDs->getCount(), 3) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(ListTexts(), Descriptions());
    EXPECT_TRUE(window->statusPanels()->getDataFileText().contains(QStringLiteral("Sample.krvc")));

    arc.descriptions = {QStringLiteral("Added")};
    Click(lbAdd);
    ClickEntry(1);
    arc.descriptions = {QStringLiteral("Renamed")};
    Click(lbRename);
    arc.descriptions = {QStringLiteral("Copied")};
    Click(lbCopy);
    Click(lbMoveUp);
    ClickEntry(0);
    Click(lbMoveDown);
    EXPECT_EQ(SDs->getCount(), 5);
    EXPECT_EQ(ListTexts(), Descriptions());
    EXPECT_EQ(Descriptions(),
              QStringList({QStringLiteral(" Renamed "), QStringLiteral(" Whole Project "),
                           QStringLiteral(" Baseline and Target Cost "), QStringLiteral(" Copied "),
                           QStringLiteral(" Added ")}));
    EXPECT_EQ(window->definitionList()->currentRow(), 1);
    EXPECT_TRUE(window->statusPanels()->getModified());

    ClickEntry(4);
    dlg.answers = {mrYes};
    Click(lbDelete);
    EXPECT_EQ(SDs->getCount(), 4);
    EXPECT_EQ(ListTexts(), Descriptions());
    EXPECT_EQ(window->definitionList()->currentRow(), 3);

    ClickEntry(1);
    const QString output = dir.filePath(QStringLiteral("whole.xlsx"));
    SDs->getItems(2)->SCF->setOF_DrivePathFilenameExtnXL(output);
    dlg.shown.clear();
    dlg.answers = {mrYes};
    QTest::mouseClick(window->processButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.keys().value(0), QStringLiteral("MF023"));
    EXPECT_EQ(dlg.keys().size(), 1) << dlg.shown.back().lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(output));
    EXPECT_EQ(log, QStringList({QStringLiteral("Summary.ShowModal")}));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->controller().getBusy());
}

TEST_F(MainWindowTest, OutputPathTypedOnTheFilesTabIsWhereTheRunWrites) {
    window->action(QStringLiteral("MI_File_OpenSDF"))->trigger();
    ASSERT_EQ(SDs->getCount(), 3) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    ClickEntry(0);
    window->pages()->setCurrentIndex(tabSCF);
    auto* files = dynamic_cast<TTab_SCF*>(window->pages()->widget(tabSCF));
    ASSERT_NE(files, nullptr);
    QLineEdit* outputBox = files->box(sbOF_Path);
    EXPECT_EQ(outputBox->text(), SDs->getItems(1)->SCF->getOF_DrivePathFilenameExtnXL());

    // Typed without an extension: leaving the box gives it the template's.
    const QString output = dir.filePath(QStringLiteral("typed output"));
    QApplication::setActiveWindow(window.get());
    outputBox->setFocus();
    outputBox->selectAll();
    QTest::keyClick(outputBox, Qt::Key_Delete);
    QTest::keyClicks(outputBox, output);
    QTest::keyClick(outputBox, Qt::Key_Return, Qt::ShiftModifier);
    const QString expected = output + QStringLiteral(".xlsx");
    EXPECT_EQ(outputBox->text(), expected);
    EXPECT_TRUE(window->statusPanels()->getModified());

    dlg.shown.clear();
    dlg.answers = {mrYes};
    QTest::mouseClick(window->processButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF023")}))
        << (dlg.shown.empty() ? std::string()
                              : dlg.shown.back().lines.join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(SDs->getItems(1)->SCF->getOF_DrivePathFilenameExtnXL(), expected);
    EXPECT_TRUE(QFile::exists(expected));
    EXPECT_EQ(log, QStringList({QStringLiteral("Summary.ShowModal")}));
}

TEST_F(MainWindowTest, F2RenamesAndTheEditActionsWorkOnTheFocusedLineEdit) {
    arc.descriptions = {QStringLiteral("Renamed By Key")};
    window->definitionList()->setFocus();
    QTest::keyClick(window->definitionList(), Qt::Key_F2);
    EXPECT_EQ(ListTexts(), QStringList({QStringLiteral(" Renamed By Key ")}));

    auto* edit = new QLineEdit(window->pages()->widget(0));
    edit->setText(QStringLiteral("abc"));
    edit->show();
    QApplication::setActiveWindow(window.get());
    edit->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    window->action(QStringLiteral("MI_Edit_Cut"))->trigger();
    EXPECT_TRUE(edit->text().isEmpty());
    window->action(QStringLiteral("MI_Edit_Undo"))->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("abc"));
}

TEST_F(MainWindowTest, ClosingStoresTheTabAndAsksToSaveAModifiedFile) {
    DF->setModified(true);
    dlg.answers = {mrCancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("UDF022")}));
    dlg.answers = {mrNo};
    EXPECT_TRUE(window->close());
}

// Drags a file over the widget and drops it there, as the desktop delivers a drop; true when the
// drop was taken.
bool DropFile(QWidget* target, const QString& path) {
    // As file managers offer it: the address as a URL and as text.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(QUrl::fromLocalFile(path).toString());
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// A data file dropped anywhere on the window opens once the drop is over, an edit box under the
// pointer included: the box does not take the file's address as text (which would also mark the
// data file modified). While the window is busy no control takes a file.
TEST_F(MainWindowTest, FilesDroppedOnAnEditBoxOrTheListOpen) {
    auto* title = window->findChild<QLineEdit*>(QStringLiteral("TB_PD_ProjectTitle"));
    ASSERT_NE(title, nullptr);
    ASSERT_TRUE(title->isEnabled());
    const struct {
        const char* name;
        QWidget* target;
    } cases[] = {{"onto.krvc", title}, {"list.krvc", window->definitionList()->viewport()}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KRV_FORMS_TEST_DATA "/handed_over.krvc"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        // Whatever the last open repaired is not the question here.
        DF->setModified(false);
        ASSERT_TRUE(DropFile(c.target, path)) << c.name;
        EXPECT_NE(DF->getDPFE(), path) << "the file opens after the drop event has returned";
        EXPECT_TRUE(testsupport::Eventually([&] { return DF->getDPFE() == path; })) << c.name;
        EXPECT_FALSE(title->text().contains(QStringLiteral("file:"))) << c.name;
    }

    const QString refused = dir.filePath(QStringLiteral("refused.krvc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KRV_FORMS_TEST_DATA "/handed_over.krvc"), refused));
    const QString titleBefore = title->text();
    window->SetBusy(true);
    EXPECT_FALSE(DropFile(title, refused));
    window->SetBusy(false);
    QApplication::processEvents();
    EXPECT_NE(DF->getDPFE(), refused);
    EXPECT_EQ(title->text(), titleBefore);
}

TEST(StatusImage, RedrawsOnlyWhenItsStateChanges) {
    TStatusImage image;
    SetStatusImage(&image, QStringLiteral("first"), true);
    EXPECT_EQ(image.getTag(), 1);
    EXPECT_EQ(image.getDrawCount(), 1);
    SetStatusImage(&image, QStringLiteral("second"), true);
    EXPECT_EQ(image.getDrawCount(), 1) << "the same error only changes the hint";
    EXPECT_EQ(image.toolTip(), QStringLiteral("second"));
    SetStatusImage(&image, QString(), false);
    SetStatusImage(&image, QString(), false);
    EXPECT_EQ(image.getDrawCount(), 2);
    EXPECT_EQ(image.getTag(), 2);
    EXPECT_TRUE(image.toolTip().isEmpty());
    QLabel other;
    SetStatusImage(&other, QStringLiteral("ignored"), true);
    EXPECT_TRUE(other.toolTip().isEmpty());
}

// The Add, Rename and Copy window itself.
class AddRenameCopyTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SDs->getItems(1)->setDescription(QStringLiteral("Alpha"));
        SDs->getItems(SDs->Add())->setDescription(QStringLiteral("Beta"));
        SDs->setActiveSD(1);
    }
    void Open(bool add, bool rename, const QString& text) {
        AD->setAddSD(add);
        AD->setRenameSD(rename);
        AD->setCopySD(!add && !rename);
        TAddRenameCopySetup setup;
        setup.Description = text;
        form.Setup(setup);
        form.show();
    }
    TUF_AddRenameCopy form;
};

TEST_F(AddRenameCopyTest, BlankAndDuplicateDescriptionsAreRefused) {
    Open(true, false, QStringLiteral("   "));
    EXPECT_FALSE(form.actionButton()->isEnabled());
    EXPECT_EQ(form.statusImage()->getTag(), 1);
    EXPECT_EQ(form.statusImage()->toolTip(), UIT(txt::KRVDefinitionDescriptionIsUndefined));

    form.descriptionBox()->setText(QStringLiteral("Gamma"));
    EXPECT_TRUE(form.actionButton()->isEnabled());
    EXPECT_EQ(form.statusImage()->getTag(), 2);
    const int draws = form.statusImage()->getDrawCount();
    form.descriptionBox()->setText(QStringLiteral("Gamma2"));
    EXPECT_EQ(form.statusImage()->getDrawCount(), draws) << "an unchanged ok is not redrawn";

    form.descriptionBox()->setText(QStringLiteral("  bETA "));
    EXPECT_EQ(form.statusImage()->getTag(), 1);
    dlg.answers = {mrClose};
    QTest::mouseClick(form.actionButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("ARF001")}));
    EXPECT_EQ(dlg.shown[0].lines.last(), QStringLiteral("Beta"));
    EXPECT_TRUE(form.isVisible()) << "the window stays open";
    EXPECT_EQ(form.descriptionBox()->text(), QStringLiteral("bETA"));
}

TEST_F(AddRenameCopyTest, RenamingToItsOwnNameInOtherCaseIsAcceptedCopyIsNot) {
    Open(false, true, QStringLiteral("ALPHA"));
    EXPECT_EQ(form.statusImage()->getTag(), 2);
    QTest::keyClick(form.descriptionBox(), Qt::Key_Return);
    EXPECT_TRUE(dlg.shown.empty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.getDescription(), QStringLiteral("ALPHA"));

    Open(false, false, QStringLiteral("alpha"));
    QTest::keyClick(form.descriptionBox(), Qt::Key_Return);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("ARF003")}));
}

TEST_F(AddRenameCopyTest, TypingBeyondTheLimitIsRefusedBackspaceStillWorks) {
    Open(true, false, QString(255, QLatin1Char('a')));
    form.descriptionBox()->setFocus();
    form.descriptionBox()->end(false);
    QTest::keyClick(form.descriptionBox(), Qt::Key_B);
    EXPECT_EQ(form.descriptionBox()->text().size(), 255);
    EXPECT_FALSE(form.descriptionBox()->text().contains(QLatin1Char('b')));
    QTest::keyClick(form.descriptionBox(), Qt::Key_Backspace);
    EXPECT_EQ(form.descriptionBox()->text().size(), 254);
}

} // namespace
} // namespace formstest
