#pragma once

#include <QByteArray>

// What the program does with a workbook, run on a package given as bytes: open it, read the used
// range and the values and displayed texts of its first cells on every sheet, colour a cell,
// insert and delete rows on the first sheet, save it and open the saved copy. Errors the engine
// raises are the expected answer to a damaged package.
void runWorkbook(const QByteArray& package);
