#pragma once

#include <QString>
#include <memory>

// The lists of the active KRV Definition that the Excel layer fills: worksheet names, task
// fields and task field values.
class XLListTarget {
public:
    virtual ~XLListTarget() = default;
    virtual void setWSL_Count(int list, int count) = 0;
    virtual void setWSL_WS(int list, int index, const QString& name) = 0;
    virtual void setFL_Count(int count) = 0;
    virtual void setFL_TaskFld(int index, const QString& letters) = 0;
    virtual void setFL_TaskFldDesc(int index, const QString& text) = 0;
    virtual void setFL_TaskFldValue(int index, int sample, const QString& text) = 0;
    virtual void setVL_TaskFldValCount(int list, int count) = 0;
    virtual void setVL_TaskFldValue(int list, int index, const QString& text) = 0;
};

// What the Excel layer needs of the rest of the program: the message pump and the progress
// window's Cancel flag and step bar, the registry, the active definition and a preference.
// The program's implementation (ProgramAdapters) ties them to the global objects; tests script
// them.
class XLEnvironment {
public:
    enum class Root { ClassesRoot, LocalMachine };

    virtual ~XLEnvironment() = default;
    virtual void processMessages() = 0;
    virtual bool getCancelled() = 0;
    virtual void setCancelled(bool cancelled) = 0;
    virtual void startStepProgress(int count) = 0;
    virtual void addStep(const QString& text) = 0;
    virtual void updateStep(const QString& text) = 0;
    virtual void showStepProgress(bool show) = 0;
    // Registry reads; a failing registry raises platform::Exception.
    virtual bool regValueExists(Root root, const QString& key, const QString& name) = 0;
    virtual QString regReadString(Root root, const QString& key, const QString& name,
                                  const QString& defaultValue) = 0;
    virtual XLListTarget& activeDefinition() = 0;
    virtual int importTaskFldValueCount() = 0;
};

// The environment in use; raises platform::Exception when none is installed (the program's is
// installed with XL, tests install scripted ones).
XLEnvironment& xlEnvironment();
bool hasXLEnvironment();
// Installs an environment and returns the previous one.
std::unique_ptr<XLEnvironment> setXLEnvironment(std::unique_ptr<XLEnvironment> environment);
