#pragma once

#include "forms/main/MainDialogs.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TStatusImage;

// The Add, Rename and Copy KRV Definition window: the user types a description, which must not
// be blank nor equal (ignoring case) to another definition's. The mode is the application data's
// Add/Rename/Copy flag; the caller sets the texts and reads the accepted description.
class TUF_AddRenameCopy : public QDialog, public IAddRenameCopyWindow {
public:
    explicit TUF_AddRenameCopy(QWidget* parent = nullptr);
    ~TUF_AddRenameCopy() override;

    void Setup(const TAddRenameCopySetup& setup) override;
    int ShowModal() override;
    QString getDescription() const override;

    // Re-checks the description: the action button and the status picture.
    void ValidateDescription();
    // The action button (or Enter): closes with OK, or reports a duplicate and stays open.
    void Accept();
    // Fits the window into the work area and centres it there.
    void CentreOnWorkArea();

    // Narrow access for tests.
    QLineEdit* descriptionBox() const { return TB_Description; }
    QPushButton* actionButton() const { return BBtn_AddRenameCopy; }
    TStatusImage* statusImage() const { return Img_Description; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void ShowBalloon(const QString& text);
    void HideBalloon();

    QLabel* Lbl_Description;
    QLineEdit* TB_Description;
    TStatusImage* Img_Description;
    QPushButton* BBtn_AddRenameCopy;
    QPushButton* BBtn_Cancel;
};

extern TUF_AddRenameCopy* UF_AddRenameCopy;
