#pragma once

#include <QString>
#include <QStringList>

// Kinds of a standard dialogue message.
enum TStdDlgKind : int { sdkCritical = 1, sdkWarning = 2, sdkInformation = 3, sdkQuestion = 4 };

// Modal results the dialogue's buttons return.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrClose = 11
};

// Glyph indexes of the main window's 16x16 image list used by the dialogue's buttons.
enum TStdDlgGlyph : int {
    glyphCancel = 10,
    glyphClose = 12,
    glyphContinue = 13,
    glyphNo = 27,
    glyphOk = 28,
    glyphRetry = 44,
    glyphYes = 55
};

// One button of the standard dialogue: glyph, modal result, caption and the caller's hint; the
// visible flag is used by the check-box set-up only.
struct TStdDlgButton {
    int ImageIndex = glyphClose;
    int ModalResult = mrClose;
    QString Caption;
    QString Hint;
    bool Visible = true;
};

// The program's one message box. Callers fill MsgLines, call exactly one set-up routine, then
// ShowModal; after a check-box prompt they read getChecked. The window implements it; tests
// install a scripted fake.
class IStdDlg {
public:
    virtual ~IStdDlg() = default;

    QStringList MsgLines;

    virtual void SetupStdDlgButtons1(int kind, const QString& key, const TStdDlgButton& r) = 0;
    virtual void SetupStdDlgButtons2(int kind, const QString& key, const TStdDlgButton& r,
                                     const TStdDlgButton& m) = 0;
    virtual void SetupStdDlgButtons3(int kind, const QString& key, const TStdDlgButton& r,
                                     const TStdDlgButton& m, const TStdDlgButton& l) = 0;
    virtual void SetupStdDlgButtons3CB(int kind, const QString& key, const TStdDlgButton& r,
                                       const TStdDlgButton& m, const TStdDlgButton& l,
                                       const QString& checkBoxCaption) = 0;
    virtual int ShowModal() = 0;
    virtual bool getChecked() const = 0;
};

// The standard dialogue in use (the window once start-up created it, or a test's fake).
IStdDlg* StdDlg();
void setStdDlg(IStdDlg* dialogue);
