// The message-box seam: the core asks the user through this interface, the
// window answers it with a real modal box, tests with a scripted recorder.
#pragma once

#include <string>

namespace dovrel {

enum class BoxButtons { Ok, YesNoCancel, RetryCancel };
enum class BoxIcon { None, Exclamation, Question, Stop };
enum class BoxAnswer { Ok, Yes, No, Cancel, Retry };

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // Shows `text` modally and returns the button pressed. An empty `title`
    // stands for the application title. Closing the box without a button
    // answers Cancel (Ok for an Ok-only box).
    virtual BoxAnswer Show(const std::string& text, const std::string& title, BoxButtons buttons,
                           BoxIcon icon) = 0;
};

}  // namespace dovrel
