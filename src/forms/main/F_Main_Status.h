#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;

// The main window's status bar: "Modified" (in the normal colour when the data file is modified,
// else greyed), "Data File", the data file text (path ellipsis, filling the free width), the
// progress bar's panel and a spare panel as wide as the bar is high.
class TMainStatusBar : public QStatusBar {
public:
    explicit TMainStatusBar(QWidget* parent = nullptr);

    void setModified(bool modified);
    bool getModified() const { return Modified; }
    void setDataFileText(const QString& text);
    QString getDataFileText() const { return DataFileText; }
    QProgressBar* progressBar() const { return PB_Main; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowDataFileText();

    QLabel* ModifiedPanel;
    QLabel* DataFilePanel;
    QLabel* TextPanel;
    QProgressBar* PB_Main;
    QWidget* SparePanel;
    QString DataFileText;
    bool Modified = false;
};
