#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

// One window the main block creates: its name and the routine that creates it (and sets its
// global), in the order the windows are created.
struct TFormCreation {
    const char* Name;
    std::function<QWidget*()> Create;
};

// The application's windows, created in their fixed order (the main window first) and owned
// until the program ends; the main window is destroyed last, after which the global objects are
// freed.
class TApplicationForms {
public:
    explicit TApplicationForms(std::function<void()> freeGlobalObjects);
    ~TApplicationForms();
    TApplicationForms(const TApplicationForms&) = delete;
    TApplicationForms& operator=(const TApplicationForms&) = delete;

    void CreateForms(const std::vector<TFormCreation>& forms);
    void DestroyForms();

private:
    std::vector<QWidget*> Forms;
    std::function<void()> FreeGlobalObjects;
};

// The program's windows in their creation order.
std::vector<TFormCreation> FormCreations();

// The main block: names the application, checks for another instance, runs the start-up steps
// with the splash, creates the windows, runs the message loop and ends. Returns the exit status
// (non-zero after a fatal start-up error). The environment variable
// OVIK_KRV_TESSEL_AUTOCLOSE_MS closes the main window that many milliseconds after it is shown
// (unattended runs).
int RunMainBlock();
