// The sending side of the line as sending and macros see it: whether the
// line is open, and a write of bytes as they are.
#pragma once

#include <string_view>

namespace dovrel {

class LineOutput {
  public:
    virtual ~LineOutput() = default;
    virtual bool IsOpen() const = 0;
    // Sends `bytes` unchanged; false when the line is closed or failed.
    virtual bool Write(std::string_view bytes) = 0;
};

}  // namespace dovrel
