// Records every line status the window would be shown.
#pragma once

#include <vector>

#include "line_control.h"

namespace dovrel::testing {

class RecordingView : public LineStatusView {
  public:
    void ShowLineStatus(const LineStatus& status) override { shown.push_back(status); }
    const LineStatus& Last() const { return shown.back(); }
    std::vector<LineStatus> shown;
};

}  // namespace dovrel::testing
