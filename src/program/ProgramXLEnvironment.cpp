#include "ProgramAdapters.h"

#include "model/ovSD.h"
#include "platform/Exception.h"
#include "services/Progress.h"
#include "services/REG_Utils.h"
#include "services/ovUP.h"

namespace {

TovSD* activeSD() {
    if (SDs == nullptr) {
        throw platform::Exception(QStringLiteral("No KRV Definition is active."));
    }
    return SDs->getItems(SDs->getActiveSD());
}

// Runs act on the progress window when there is one.
template <class Act> void withProgress(Act&& act) {
    if (IProgress* p = Progress()) {
        act(*p);
    }
}

HKEY hkey(XLEnvironment::Root root) {
    return root == XLEnvironment::Root::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

} // namespace

void TActiveDefinitionLists::setWSL_Count(int list, int count) {
    activeSD()->setWSL_Count(list, count);
}
void TActiveDefinitionLists::setWSL_WS(int list, int index, const QString& name) {
    activeSD()->setWSL_WS(list, index, name);
}
void TActiveDefinitionLists::setFL_Count(int count) {
    activeSD()->setFL_Count(count);
}
void TActiveDefinitionLists::setFL_TaskFld(int index, const QString& letters) {
    activeSD()->setFL_TaskFld(index, letters);
}
void TActiveDefinitionLists::setFL_TaskFldDesc(int index, const QString& text) {
    activeSD()->setFL_TaskFldDesc(index, text);
}
void TActiveDefinitionLists::setFL_TaskFldValue(int index, int sample, const QString& text) {
    activeSD()->setFL_TaskFldValue(index, sample, text);
}
void TActiveDefinitionLists::setVL_TaskFldValCount(int list, int count) {
    activeSD()->setVL_TaskFldValCount(list, count);
}
void TActiveDefinitionLists::setVL_TaskFldValue(int list, int index, const QString& text) {
    activeSD()->setVL_TaskFldValue(list, index, text);
}

void TProgramXLEnvironment::processMessages() {
    PumpMessages();
}
bool TProgramXLEnvironment::getCancelled() {
    return Progress() != nullptr && Progress()->getCancelled();
}
void TProgramXLEnvironment::setCancelled(bool cancelled) {
    withProgress([&](IProgress& p) { p.setCancelled(cancelled); });
}
void TProgramXLEnvironment::startStepProgress(int count) {
    withProgress([&](IProgress& p) { p.StartStepProgress(count); });
}
void TProgramXLEnvironment::addStep(const QString& text) {
    withProgress([&](IProgress& p) { p.AddStep(text); });
}
void TProgramXLEnvironment::updateStep(const QString& text) {
    withProgress([&](IProgress& p) { p.UpdateStep(text); });
}
void TProgramXLEnvironment::showStepProgress(bool show) {
    withProgress([&](IProgress& p) { p.ShowStepProgress(show); });
}
bool TProgramXLEnvironment::regValueExists(Root root, const QString& key, const QString& name) {
    return RegValueExists(hkey(root), key, name);
}
QString TProgramXLEnvironment::regReadString(Root root, const QString& key, const QString& name,
                                             const QString& defaultValue) {
    return RegReadString(hkey(root), key, name, defaultValue);
}
int TProgramXLEnvironment::importTaskFldValueCount() {
    return UP != nullptr ? UP->getImportTaskFldValueCount() : 0;
}

std::unique_ptr<XLEnvironment> createProgramXLEnvironment() {
    return std::make_unique<TProgramXLEnvironment>();
}
