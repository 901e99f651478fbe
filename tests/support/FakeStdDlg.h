#pragma once

#include "services/StdDlg.h"
#include "services/StdDlgText.h"

#include <deque>
#include <vector>

namespace testsupport {

// One message shown through the standard dialogue.
struct StdDlgShown {
    int kind = 0;
    QString key;
    QStringList lines;
    std::vector<TStdDlgButton> buttons; // right to left, as set up
    QString checkBoxCaption;
    int result = 0;
};

// A scripted standard dialogue: records every message and answers with the queued results
// (then as Esc would) and the queued check-box states.
class FakeStdDlg : public IStdDlg {
public:
    FakeStdDlg() : previous_(StdDlg()) { setStdDlg(this); }
    ~FakeStdDlg() override { setStdDlg(previous_); }

    std::deque<int> answers;
    std::deque<bool> checks;
    std::vector<StdDlgShown> shown;

    void SetupStdDlgButtons1(int kind, const QString& key, const TStdDlgButton& r) override {
        setUp(kind, key, {r}, {});
    }
    void SetupStdDlgButtons2(int kind, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m) override {
        setUp(kind, key, {r, m}, {});
    }
    void SetupStdDlgButtons3(int kind, const QString& key, const TStdDlgButton& r,
                             const TStdDlgButton& m, const TStdDlgButton& l) override {
        setUp(kind, key, {r, m, l}, {});
    }
    void SetupStdDlgButtons3CB(int kind, const QString& key, const TStdDlgButton& r,
                               const TStdDlgButton& m, const TStdDlgButton& l,
                               const QString& checkBoxCaption) override {
        setUp(kind, key, {r, m, l}, checkBoxCaption);
        checked_ = false;
    }
    int ShowModal() override {
        StdDlgShown entry = pending_;
        entry.lines = MsgLines;
        if (!answers.empty()) {
            entry.result = answers.front();
            answers.pop_front();
        } else {
            entry.result =
                pending_.buttons.empty() ? mrCancel : pending_.buttons.front().ModalResult;
        }
        if (!checks.empty()) {
            checked_ = checks.front();
            checks.pop_front();
        }
        shown.push_back(entry);
        return entry.result;
    }
    bool getChecked() const override { return checked_; }

    // Keys of the messages shown so far, in order.
    QStringList keys() const {
        QStringList list;
        for (const auto& s : shown) {
            list << s.key;
        }
        return list;
    }

private:
    static int escapeResult(const std::vector<TStdDlgButton>& buttons) {
        auto state = [&](size_t i) {
            return i < buttons.size()
                       ? StdDlgButtonState{buttons[i].Visible, buttons[i].ModalResult}
                       : StdDlgButtonState{};
        };
        return StdDlgEscapeResult(state(2), state(1), state(0));
    }

    void setUp(int kind, const QString& key, std::vector<TStdDlgButton> buttons,
               const QString& checkBoxCaption) {
        pending_ = StdDlgShown{};
        pending_.kind = kind;
        pending_.key = key;
        pending_.buttons = std::move(buttons);
        pending_.checkBoxCaption = checkBoxCaption;
    }

    IStdDlg* previous_;
    StdDlgShown pending_;
    bool checked_ = false;
};

} // namespace testsupport
