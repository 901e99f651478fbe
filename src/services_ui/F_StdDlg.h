#pragma once

#include "services/StdDlg.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's one message box window: a kind image, the wrapped message text, a hidden message
// key, up to three buttons and an optional check box. Esc and the close box press the right-hand
// button, but never answer Yes.
class TUF_StdDlg : public QDialog, public IStdDlg {
public:
    explicit TUF_StdDlg(QWidget* parent = nullptr);
    ~TUF_StdDlg() override;

    void SetupStdDlgButtons1(int kind, const QString& key, const TStdDlgButton& r) override;
    void SetupStdDlgButtons2(int kind, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m) override;
    void SetupStdDlgButtons3(int kind, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m, const TStdDlgButton& l) override;
    void SetupStdDlgButtons3CB(int kind, const QString& key, const TStdDlgButton& r,
                               const TStdDlgButton& m, const TStdDlgButton& l,
                               const QString& checkBoxCaption) override;
    int ShowModal() override;
    bool getChecked() const override;

    // Fills the caption, the kind image and the wrapped text, then fits the window.
    void SetupStdDlgKind(int kind);
    void SetupBBtn_L(const QString& caption, int modalResult, int imageIndex);
    void SetupBBtn_M(const QString& caption, int modalResult, int imageIndex);
    void SetupBBtn_R(const QString& caption, int modalResult, int imageIndex);
    QString ButtonHint(int imageIndex, const QString& hint) const;
    // Fits the window to the work area and centres it there.
    void ResizeAndCentre();
    // The 16x16 glyphs the buttons take their pictures from (the main window's image list).
    void setGlyphList(const QList<QIcon>* glyphs) { Glyphs = glyphs; }

    // What Esc or the close box answers with the current buttons.
    // Esc and the close box.
    void reject() override;
    int EscapeResult() const;
    QStringList getMemoLines() const;
    int getWrapWidth() const { return WrapWidth; }
    int getMinWidth() const { return MinWidth; }
    int getMinHeight() const { return MinHeight; }
    // Runs the activation layout (place, minimum size, fit to the work area).
    void LayoutForShow();

    QWidget* Pnl_Image;
    QLabel* Img_Critical;
    QLabel* Img_Warning;
    QLabel* Img_Info;
    QLabel* Img_Question;
    QPlainTextEdit* Memo_StdDlg;
    QWidget* Pnl_Spacer;
    QWidget* Pnl_StdDlg_CB;
    QFrame* Bvl_StdDlg_CB;
    QCheckBox* CB_StdDlg;
    QWidget* Pnl_StdDlg_BBtn;
    QFrame* Bvl_StdDlg_BBtn;
    QLabel* Lbl_MsgID;
    QPushButton* BBtn_L;
    QPushButton* BBtn_M;
    QPushButton* BBtn_R;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter presses the focused button; no button is a default button.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum { L = 0, M = 1, R = 2 };
    void SetupBBtn(int which, const QString& caption, int modalResult, int imageIndex,
                   const char* name);
    void SetupButtons(int kind, const QString& key, const TStdDlgButton* r, const TStdDlgButton* m,
                      const TStdDlgButton* l);
    void ApplyFonts();
    void ScaleControls();
    void PlaceControls();
    void PlaceButtons();
    void CalcMinSize();
    void FitToWorkArea();
    void LayoutPanels();
    void CB_StdDlgClick();
    int TextWidth(const QString& text) const;

    QPushButton* button(int which) const;

    const QList<QIcon>* Glyphs = nullptr;
    std::array<int, 3> ModalResults{mrNone, mrNone, mrNone};
    int WrapWidth = 0;
    int MinWidth = 0;
    int MinHeight = 0;
    bool SettingCheckBox = false;
    bool MemoScrolls = false;
};

// The standard dialogue window once start-up created it.
extern TUF_StdDlg* UF_StdDlg;
