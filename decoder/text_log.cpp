// The text log's rule lines.
#include "text_log.h"

namespace nimbo {

// 81 characters: "=" after a heading, "-" at a report, "." at a section.
void TextLog::Separator(std::int32_t level) {
    const char rule = level == 0 ? '=' : level == 1 ? '-' : level == 2 ? '.' : ':';
    m_file.Write(std::string(81, rule) + "\n");
}

}  // namespace nimbo
