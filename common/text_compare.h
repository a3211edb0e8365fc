// Comparison of identifiers and setting names that ignores letter case
// (ASCII only: class identifiers, programmatic names, settings file keys).
#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace nimbo {

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace nimbo
