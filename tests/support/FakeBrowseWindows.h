#pragma once

#include "forms/browse/F_BrowseWindows.h"

#include <deque>
#include <vector>

namespace testsupport {

// One scripted answer of a browse window: the modal result and, for 1, the chosen text.
struct BrowseAnswer {
    int result = 2;
    QString text;
};

// Records what a browse window was shown with and answers from its queue (Cancel when empty).
struct BrowseCall {
    QString preselection;
    QString caption; // file description (worksheets) or caption (task fields)
    QString subject; // worksheet description (worksheets) or subject (task fields)
    int index = 0;   // worksheet or value list index
    TBrowseAnchor anchor;
};

class FakeBrowseBase {
public:
    std::deque<BrowseAnswer> answers;
    std::vector<BrowseCall> calls;

protected:
    int answer(const BrowseCall& call, QString& text) {
        calls.push_back(call);
        BrowseAnswer next;
        if (!answers.empty()) {
            next = answers.front();
            answers.pop_front();
        }
        if (next.result == 1) {
            text = next.text;
        }
        return next.result;
    }
};

class FakeBrowseFile : public IBrowseFile, public FakeBrowseBase {
public:
    FakeBrowseFile() : previous_(BrowseFile()) { setBrowseFile(this); }
    ~FakeBrowseFile() override { setBrowseFile(previous_); }
    int Execute(const TovDF&, QString& dpfe) override {
        return answer({dpfe, {}, {}, 0, {}}, dpfe);
    }

private:
    IBrowseFile* previous_;
};

class FakeBrowseWS : public IBrowseWS, public FakeBrowseBase {
public:
    FakeBrowseWS() : previous_(BrowseWS()) { setBrowseWS(this); }
    ~FakeBrowseWS() override { setBrowseWS(previous_); }
    int Execute(TovSD&, const QString& fileDesc, const QString& worksheetDesc, int wslIndex,
                const TBrowseAnchor& anchor, QString& ws) override {
        return answer({ws, fileDesc, worksheetDesc, wslIndex, anchor}, ws);
    }

private:
    IBrowseWS* previous_;
};

// Answers of the task field window: the chosen field's header text and the check box.
class FakeBrowseFld : public IBrowseFld, public FakeBrowseBase {
public:
    FakeBrowseFld() : previous_(BrowseFld()) { setBrowseFld(this); }
    ~FakeBrowseFld() override { setBrowseFld(previous_); }
    QString desc;
    bool importDesc = false;
    int Execute(TovSD&, const QString& caption, const QString& subject, const TBrowseAnchor& anchor,
                TBrowseFldResult& result) override {
        const int modal = answer({result.TaskFld, caption, subject, 0, anchor}, result.TaskFld);
        if (modal == 1) {
            result.TaskFldDesc = desc;
            result.ImportTaskFldDesc = importDesc;
        }
        return modal;
    }

private:
    IBrowseFld* previous_;
};

class FakeBrowseVal : public IBrowseVal, public FakeBrowseBase {
public:
    FakeBrowseVal() : previous_(BrowseVal()) { setBrowseVal(this); }
    ~FakeBrowseVal() override { setBrowseVal(previous_); }
    int Execute(TovSD&, int vlIndex, const TBrowseAnchor& anchor, QString& value) override {
        return answer({value, {}, {}, vlIndex, anchor}, value);
    }

private:
    IBrowseVal* previous_;
};

// An error list window that counts its showings.
class FakeErrListWindow : public IErrListWindow {
public:
    explicit FakeErrListWindow(bool cfgErr)
        : cfgErr_(cfgErr), previous_(cfgErr ? CfgErrWindow() : DFVErrWindow()) {
        install(this);
    }
    ~FakeErrListWindow() override { install(previous_); }
    int shown = 0;
    int Execute() override {
        ++shown;
        return 11;
    }

private:
    void install(IErrListWindow* window) {
        if (cfgErr_) {
            setCfgErrWindow(window);
        } else {
            setDFVErrWindow(window);
        }
    }
    bool cfgErr_;
    IErrListWindow* previous_;
};

// The main window as the Configuration Errors window sees it: records GoToCfgErr.
class FakeCfgErrTarget : public ICfgErrTarget {
public:
    FakeCfgErrTarget() : previous_(CfgErrTarget()) { setCfgErrTarget(this); }
    ~FakeCfgErrTarget() override { setCfgErrTarget(previous_); }
    std::vector<int> goneTo;
    void GoToCfgErr(int n) override { goneTo.push_back(n); }

private:
    ICfgErrTarget* previous_;
};

} // namespace testsupport
