#pragma once

#include "platform/Taskbar.h"
#include "services/Progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <functional>

class QFrame;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The modeless progress window of long operations: the list of step and note lines, the total
// and step bars, the status panels "Step n of m" and the Cancel button, which only sets the
// Cancelled flag (logging the cancel once per showing) for the operation to poll.
class TUF_Progress : public QDialog, public IProgress {
public:
    explicit TUF_Progress(QWidget* parent = nullptr);
    ~TUF_Progress() override;

    void Reset() override;
    void setCaption(const QString& caption) override;
    void setTotalSteps(int steps) override;
    int getTotalSteps() const override { return TotalSteps; }
    int getStepCount() const override { return StepCount; }
    void AddStep(const QString& text) override;
    int AddStepReturnIndex(const QString& text) override;
    void AddNote(const QString& text) override;
    void UpdateStep(const QString& text) override;
    void UpdateSteps(const QString& text, int items) override;
    // A loop of thousands of items repaints the window about 25 times a second.
    int UpdateInterval() const override { return 40; }
    void AppendToLastLine(const QString& text) override;
    void AppendToLine(const QString& text, int index) override;
    void StartStepProgress(int steps) override;
    void ShowStepProgress(bool show) override;
    bool getCancelled() const override { return Cancelled; }
    void setCancelled(bool cancelled) override { Cancelled = cancelled; }
    void Show() override;
    void Hide() override;

    // Fits the window to the work area and centres it there.
    void ResizeAndCentre();
    // The step and note line formats (the engine's, for the coming operation's step count).
    void setLineFormatSource(std::function<QString()> stepLineFormat,
                             std::function<QString()> subLineFormat);

    // The Cancel button's work (also Esc and the close box).
    // Esc and the close box.
    void reject() override;
    void BBtn_CancelClick();
    QString getPanelText(int panel) const;
    QStringList getLines() const;
    int getTotalPosition() const { return TotalPosition; }
    int getStepPosition() const { return StepPosition; }
    int getMinWidth() const { return MinWidth; }
    int getMinHeight() const { return MinHeight; }
    // The window's outer width (with its frame).
    int outerWidth() const;

    QListWidget* LB_Progress;
    QWidget* Pnl_Progress_PB;
    QLabel* Lbl_Total;
    QProgressBar* PB_Total;
    QLabel* Lbl_Step;
    QProgressBar* PB_Step;
    QWidget* Pnl_Progress_BBtn;
    QFrame* Bvl_Progress_BBtn;
    QPushButton* BBtn_Cancel;
    QStatusBar* SB_Progress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetTexts();
    void SetHints();
    void ApplyFonts();
    void ScaleControls();
    void PlaceControls();
    void PlaceButtons(bool withBars);
    void SizeStatusPanels();
    void CalcMinSize();
    void FitToWorkArea();
    void WidenToText(const QString& text);
    void LayoutPanels();
    void setPanel(int panel, const QString& text);
    void addLine(const QString& line);
    void Repaint();
    void setOuterGeometry(int left, int top, int width, int height);
    QString stepLine(const QString& text) const;
    int ListTextWidth(const QString& text) const;

    QElapsedTimer LastPaint;
    QTimer PaintTimer;
    std::function<QString()> StepLineFormat;
    std::function<QString()> SubLineFormat;
    platform::TaskbarProgress Taskbar;
    std::array<QLabel*, 5> Panels{};
    bool Cancelled = false;
    bool CancelLogged = false;
    int StepCount = 0;
    int TotalSteps = 0;
    int TotalPosition = 0;
    int StepPosition = 0;
    int MinWidth = 0;
    int MinHeight = 0;
};

// The progress window once start-up created it.
extern TUF_Progress* UF_Progress;
