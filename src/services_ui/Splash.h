#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

class QFrame;

// The borderless start-up window: banner, version, the status line the start-up steps and the
// windows being created overwrite, the two legal lines and the maker's logo. It stays at least
// as long as its timer runs (1500 ms from its creation).
class TUF_Splash : public QWidget {
public:
    static constexpr int kDisplayMs = 1500;

    TUF_Splash();

    // Shows " text " of the UI text in the status line and repaints at once (no message pump).
    void setStatus(int uiTextId);
    QString getStatus() const { return Lbl_Status->text(); }
    // Whether the minimum display time is still running.
    bool getTimerEnabled() const { return TmrSplash.isActive(); }

    // Lays the window out, sets its size constraints and fits it centred into the work area.
    void FitToWorkArea();
    int getMinWidth() const { return MinWidth; }
    int getMinHeight() const { return MinHeight; }

    QLabel* Img_App;
    QLabel* Lbl_Ver;
    QLabel* Lbl_Status;
    QLabel* Lbl_Legal_1;
    QLabel* Lbl_Legal_2;
    QLabel* Img_QW;
    QTimer TmrSplash;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SizeLabel(QLabel* label);
    void PlaceControls();
    void CalcMinSize();
    void PlaceLogo();

    int MinWidth = 0;
    int MinHeight = 0;
};

// The splash while start-up runs; nullptr before it is created and after it is freed.
extern TUF_Splash* UF_Splash;

// Writes " text " of the UI text into the splash's status line and repaints it at once, when the
// splash exists; the status protocol of the steps and of every window being created.
void SplashStatus(int uiTextId);
