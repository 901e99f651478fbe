#pragma once

// The two files the Summary window opens with the user's spreadsheet program.
enum class TSummaryFile { DataSource, Output };

// Opens the active KRV Definition's Data Source File or Output File with the desktop's program
// for it, after the path check, the file check and the compatibility pack warning (each shows
// its own message and ends the command). Before the Data Source File is opened the definition's
// imported lists of it are dropped, since the user may change the workbook. True when the file
// was handed to the shell.
bool OpenSummaryFile(TSummaryFile file);
