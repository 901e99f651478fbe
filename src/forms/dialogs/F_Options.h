#pragma once

#include "forms/dialogs/OptionsModel.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The Options window: the user preferences the program offers for change, over TOptionsModel,
// and the two immediate commands (reset window sizes and positions, re-associate the data file
// types).
class TUF_Options : public QDialog {
public:
    explicit TUF_Options(QWidget* parent = nullptr);
    ~TUF_Options() override;

    // The main window calls it before showing the window.
    void SnapshotPreferences() { Model.SnapshotPreferences(); }
    // Fits the window to its content within the work area, keeping its centre (centred on the
    // work area until it has been shown once).
    void FitToWorkArea();
    void CentreOnWorkArea();

    // The file dialogues of the template's Browse button and the windows of the reset command;
    // both are the main window's.
    void setFileDialogs(IFileDialogs* dialogs) { Model.setFileDialogs(dialogs); }
    void setWindowsToReset(IOptionsWindows* windows) { Model.setWindows(windows); }

    // Narrow access for tests.
    TOptionsModel& model() { return Model; }
    QLineEdit* templateEdit() const;

    void accept() override;
    void reject() override;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Controls;

    void CreateControls();
    void LayOut();
    void Connect();
    // Shows the model's controls and states (the loading flag keeps the change handlers quiet).
    void Render();
    void ShowBalloon(QWidget* at, const QString& text);
    static void HideBalloon();
    void RunCommand(void (TOptionsModel::*command)());

    std::unique_ptr<Controls> C;
    std::unique_ptr<IOptionsWindows> ProgramWindows;
    std::unique_ptr<IFileDialogs> DesktopFileDialogs;
    TOptionsModel Model;
    bool Rendering = false;
    bool ShownBefore = false;
};

extern TUF_Options* UF_Options;
