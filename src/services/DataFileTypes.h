#pragma once

#include <QString>

// The desktop's file types of the data file (.krvc) and its backups (.~krvc, .~krvc1 to
// .~krvc9): a shared-mime-info package and a desktop entry that opens them with the program,
// under $XDG_DATA_HOME (~/.local/share), refreshed with update-mime-database and
// update-desktop-database when they are installed. Raises platform::Exception naming the file
// that could not be written.
void RegisterDataFileTypes(const QString& programPath);

// The names of the two types and of the files written.
inline constexpr const char* kDataFileMimeType = "application/x-ovik-krv-tessel";
inline constexpr const char* kBackupFileMimeType = "application/x-ovik-krv-tessel-backup";
// The program's icon in the desktop's icon theme (hicolor), installed with the program.
inline constexpr const char* kIconName = "ovik-krv-tessel";
QString DataHomeFolder();
QString MimePackageFile();
QString DesktopEntryFile();
// The shared-mime-info package of both types, and the desktop entry that opens them with the
// program (also the menu entry of an installed program).
QString DataFileMimePackage();
QString DesktopEntry(const QString& programPath);
// The Exec line's program argument, quoted as desktop entries require.
QString DesktopExecArgument(const QString& programPath);
