// The scheduler seam: lets the display routine run again from the event loop,
// so pending text is shown without waiting for the next received block.
#pragma once

#include <functional>

namespace dovrel {

class DisplayScheduler {
  public:
    virtual ~DisplayScheduler() = default;
    // Runs `task` once, later, from the event loop (never from inside Post).
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace dovrel
