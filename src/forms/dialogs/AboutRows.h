#pragma once

#include <QString>
#include <vector>

// The maker's web site: the About window's Website row and the logo open it.
QString MakerWebsite();

// One row of the About window: the text number of its name, its value and whether the value is
// a link.
struct TAboutRow {
    int NameTextId = 0;
    QString Value;
    bool IsLink = false;
};

// What the About window shows of the machine, read anew at each showing.
struct TAboutFacts {
    QString Version;
    QString ExcelVersion;
    QString CompatibilityPack;
};

// The About window's six rows in their order.
std::vector<TAboutRow> AboutRows(const TAboutFacts& facts);
// The facts as the program's global objects report them now.
TAboutFacts CurrentAboutFacts();
