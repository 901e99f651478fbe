// The desktop's file dialogue as the program sets it up: each file type shows its patterns once
// and filters by them, and a start folder that is gone gives way to the user's own folder.
#include "forms/ServiceAdapters.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// Every file type the program's dialogues offer, as their callers write it.
struct FilterCase {
    const char* name;
    const char* mask;
    const char* shown;
    const char* patterns;
};
const FilterCase kProgramTypes[] = {
    {"Data Files (*.krvc; *.~krvc*)", "*.krvc;*.~krvc*", "Data Files (*.krvc *.~krvc*)",
     "*.krvc *.~krvc*"},
    {"Ovik KRV Quill Data Files (*.krvp;*.~krvp*)", "*.krvp;*.~krvp*",
     "Ovik KRV Quill Data Files (*.krvp *.~krvp*)", "*.krvp *.~krvp*"},
    {"Ovik KRV Data Files (*.krv;*.~krv)", "*.krv;*.~krv", "Ovik KRV Data Files (*.krv *.~krv)",
     "*.krv *.~krv"},
    {"All Files (*.*)", "*.*", "All Files (*)", "*"},
    {"Data Files (*.krvc)", "*.krvc", "Data Files (*.krvc)", "*.krvc"},
    {"MS Excel Files (*.xls; *.xlsx)", "*.xls;*.xlsx", "MS Excel Files (*.xls *.xlsx)",
     "*.xls *.xlsx"},
    {"MS Excel Files (*.xls; *.xlsx)", "*.xls; *.xlsx", "MS Excel Files (*.xls *.xlsx)",
     "*.xls *.xlsx"},
    // A name that shows no patterns takes them; one in parentheses that are no patterns keeps
    // them.
    {"Workbooks", "*.xlsx", "Workbooks (*.xlsx)", "*.xlsx"},
    {"Workbooks (old)", "*.xls", "Workbooks (old) (*.xls)", "*.xls"},
};

TEST(FileDialogFilters, EachTypeShowsItsPatternsOnceAndQtFiltersByThem) {
    TFileDialogSetup setup;
    for (const FilterCase& c : kProgramTypes) {
        setup.FileTypes.push_back({Q(c.name), Q(c.mask)});
    }
    QFileDialog dialog;
    SetUpFileDialog(dialog, QFileDialog::AcceptOpen, setup);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), static_cast<int>(std::size(kProgramTypes)));
    auto* files = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(files, nullptr);
    for (int i = 0; i < types->count(); ++i) {
        const FilterCase& c = kProgramTypes[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QtNameFilter({Q(c.name), Q(c.mask)}), Q(c.shown));
        EXPECT_EQ(types->itemText(i), Q(c.shown));
        dialog.selectNameFilter(types->itemText(i));
        EXPECT_EQ(files->nameFilters().join(QLatin1Char(' ')), Q(c.patterns));
    }
}

TEST(FileDialogFilters, AStartFolderThatIsGoneGivesWayToTheUsersOwn) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(QDir::homePath()));
    const QString documents = QDir::home().filePath(QStringLiteral("Documents"));
    QDir(documents).removeRecursively();
    const struct {
        QString folder;
        QString expected;
    } cases[] = {
        {dir.path(), dir.path()},
        {documents + QLatin1Char('/'), QDir::homePath()},
        {dir.filePath(QStringLiteral("gone/")), QDir::homePath()},
        {QString(), QDir::homePath()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        TFileDialogSetup setup;
        setup.DefaultFolder = c.folder;
        QFileDialog dialog;
        SetUpFileDialog(dialog, QFileDialog::AcceptSave, setup);
        EXPECT_EQ(dialog.directory().absolutePath(), QDir(c.expected).absolutePath());
    }
}

} // namespace
