#pragma once

#include <QString>

// The show command the windows pass to RunDocument.
inline constexpr int SW_SHOWDEFAULT = 10;

// Opens a document, folder or web address with its default program. The parameters, working
// folder and show command have no counterpart on the desktop. When the desktop cannot open it
// the user is told (standard dialogue "U007": "Unable to open the %s." with the description, the
// file and the desktop's reason), at once or as soon as the desktop's opener has answered.
void RunDocument(const QString& file, const QString& parameters, const QString& folder,
                 int showCommand, const QString& description);
// The folder picker starting at the Desktop; the chosen folder trimmed, or empty on cancel.
QString BrowseForFolder(const QString& title);
// The Desktop and Documents folders with a trailing "/", empty when the desktop does not tell.
QString DesktopFolder();
QString DocumentsFolder();
// The Program Files folder as the shell gives it: none on this platform, so empty.
QString ProgramFilesFolder();
// ProgramFilesFolder with a " (x86)/" ending cut back to "/"; empty when it is empty.
QString ProgramFilesFolderNative();
// ProgramFilesFolder with its final "/" replaced by " (x86)/" unless it ends so; empty when empty.
QString ProgramFilesFolderX86();
// The two variants for a given folder.
QString NativeProgramFilesOf(const QString& folder);
QString X86ProgramFilesOf(const QString& folder);
