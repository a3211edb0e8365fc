// Scripted stand-ins for the terminal's message box and log-file choice:
// they answer from a script and record what the program asked.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "log_file_choice.h"
#include "message_box.h"

namespace dovrel::testing {

// Records every box and answers from a script (Ok or Cancel when it runs out).
class ScriptedBox : public MessageBox {
  public:
    struct Shown {
        std::string text, title;
        BoxButtons buttons;
        BoxIcon icon;
    };
    BoxAnswer Show(const std::string& text, const std::string& title, BoxButtons buttons,
                   BoxIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (onShow) onShow(text);
        if (!answers.empty()) {
            const BoxAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown) out.push_back(s.text);
        return out;
    }
    bool Saw(const std::string& text) const {
        for (const auto& s : shown)
            if (s.text == text) return true;
        return false;
    }
    std::vector<Shown> shown;
    std::deque<BoxAnswer> answers;
    std::function<void(const std::string&)> onShow;  // runs while the box is up
};

// Answers file choices from a script (cancelled when it runs out).
class ScriptedChoice : public LogFileChoice {
  public:
    std::optional<std::string> Choose(const LogFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<LogFileRequest> requests;
    std::deque<std::optional<std::string>> answers;
};

}  // namespace dovrel::testing
