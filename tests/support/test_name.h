// Names for parameterized test cases: readable, and the same at every run,
// so `ctest -R` and reruns of failed tests find them again.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace testsupport {

// `text` as a test name: letters and figures kept, a minus before a figure as
// "m", anything else as "_"; the empty text is "Empty".
inline std::string TestName(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool minusSign = c == '-' && i + 1 < text.size() &&
                               std::isdigit(static_cast<unsigned char>(text[i + 1]));
        name += std::isalnum(c) ? static_cast<char>(c) : minusSign ? 'm' : '_';
    }
    return name.empty() ? "Empty" : name;
}

}  // namespace testsupport
