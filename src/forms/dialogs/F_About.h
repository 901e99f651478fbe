#pragma once

#include "forms/dialogs/AboutRows.h"

#include <QDialog>

class QLabel;
class QPushButton;
class TovGrid;

// The About window: the application, its version, the detected spreadsheet version, the
// compatibility pack's state, the legal notice and the maker's web site, read anew each time the
// window is shown.
class TUF_About : public QDialog {
public:
    explicit TUF_About(QWidget* parent = nullptr);
    ~TUF_About() override;

    // Fits the window to its content within the work area, keeping its centre (centred on the
    // work area until it has been shown once).
    void FitToWorkArea();
    void CentreOnWorkArea();

    // Fills the rows (the Options window's reset and each showing); facts are injectable.
    void FillRows(const TAboutFacts& facts);
    // The text of a row's name (gutter, column 0) or value (column 1), as shown; for tests.
    QString cellText(int col, int row) const;
    // A click on a cell: the Website value opens the maker's web site.
    void CellClick(int col, int row);
    void LogoClick();

protected:
    bool event(QEvent* e) override;

private:
    void LayOut();
    void OpenWebsite();

    std::vector<TAboutRow> Rows;
    TovGrid* SG_About;
    QWidget* Pnl_About_BBtn;
    QLabel* Img_QW;
    QPushButton* BBtn_Close;
    bool ShownBefore = false;
};

extern TUF_About* UF_About;
