#include "ProgramAdapters.h"

#include "model/ovSD.h"
#include "platform/Exception.h"
#include "services/Progress.h"
#include "services/REG_Utils.h"
#include "services/ovUP.h"

#include <QCoreApplication>

namespace {

// The lists of the definition the main window shows.
class ActiveDefinitionLists : public XLListTarget {
public:
    void setWSL_Count(int list, int count) override { sd()->setWSL_Count(list, count); }
    void setWSL_WS(int list, int index, const QString& name) override {
        sd()->setWSL_WS(list, index, name);
    }
    void setFL_Count(int count) override { sd()->setFL_Count(count); }
    void setFL_TaskFld(int index, const QString& letters) override {
        sd()->setFL_TaskFld(index, letters);
    }
    void setFL_TaskFldDesc(int index, const QString& text) override {
        sd()->setFL_TaskFldDesc(index, text);
    }
    void setFL_TaskFldValue(int index, int sample, const QString& text) override {
        sd()->setFL_TaskFldValue(index, sample, text);
    }
    void setVL_TaskFldValCount(int list, int count) override {
        sd()->setVL_TaskFldValCount(list, count);
    }
    void setVL_TaskFldValue(int list, int index, const QString& text) override {
        sd()->setVL_TaskFldValue(list, index, text);
    }

private:
    static TovSD* sd() {
        if (SDs == nullptr) {
            throw platform::Exception(QStringLiteral("No KRV Definition is active."));
        }
        return SDs->getItems(SDs->getActiveSD());
    }
};

// The Excel layer's environment in the program: the progress window, the registry stand-in,
// the active definition and the preferences.
class ProgramXLEnvironment : public XLEnvironment {
public:
    void processMessages() override { QCoreApplication::processEvents(); }
    bool getCancelled() override { return Progress() != nullptr && Progress()->getCancelled(); }
    void setCancelled(bool cancelled) override {
        if (Progress() != nullptr) {
            Progress()->setCancelled(cancelled);
        }
    }
    void startStepProgress(int count) override {
        if (Progress() != nullptr) {
            Progress()->StartStepProgress(count);
        }
    }
    void addStep(const QString& text) override {
        if (Progress() != nullptr) {
            Progress()->AddStep(text);
        }
    }
    void updateStep(const QString& text) override {
        if (Progress() != nullptr) {
            Progress()->UpdateStep(text);
        }
    }
    void showStepProgress(bool show) override {
        if (Progress() != nullptr) {
            Progress()->ShowStepProgress(show);
        }
    }
    bool regValueExists(Root root, const QString& key, const QString& name) override {
        return RegValueExists(hkey(root), key, name);
    }
    QString regReadString(Root root, const QString& key, const QString& name,
                          const QString& defaultValue) override {
        return RegReadString(hkey(root), key, name, defaultValue);
    }
    XLListTarget& activeDefinition() override { return lists_; }
    int importTaskFldValueCount() override {
        return UP != nullptr ? UP->getImportTaskFldValueCount() : 0;
    }

private:
    static HKEY hkey(Root root) {
        return root == Root::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
    }

    ActiveDefinitionLists lists_;
};

} // namespace

std::unique_ptr<XLEnvironment> createProgramXLEnvironment() {
    return std::make_unique<ProgramXLEnvironment>();
}
