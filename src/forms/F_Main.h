#pragma once

#include "model/DataFileHost.h"
#include "services/MainWindow.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>

class QListWidget;
class QProgressBar;

// The main window (so far: the application title, the list of KRV Definitions, the status bar's
// progress bar the data file commands step, and the 16x16 glyph list the standard dialogue's
// buttons use).
class TUF_Main : public QMainWindow, public IMainWindow, public IDataFileView {
public:
    explicit TUF_Main(QWidget* parent = nullptr);
    ~TUF_Main() override;

    void RestoreFromMinimised() override;

    void ProgressStart(int maximum) override;
    void ProgressStep() override;
    void ProgressEnd() override;
    void RepaintSDs() override;

    QList<QIcon> IL_Main_16;
    QListWidget* LB_SDs;
    QProgressBar* PB_Main;

private:
    void FillImageList();
};

extern TUF_Main* UF_Main;
