// Field helpers of the group decoders.
#include "group_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace nimbo {

std::string NumberInWidth(long value, int width) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    const auto length = static_cast<int>(end - buffer);
    std::string text(length < width ? width - length : 0, ' ');
    return text.append(buffer, end);
}

std::string TenthsInWidth(long tenths, int width) {
    if (tenths < 0) {
        // Rare: printf keeps the sign of "-0.5" and its padding.
        char text[32];
        std::snprintf(text, sizeof text, "%*.1f", width, tenths / 10.0);
        return text;
    }
    std::string text = NumberInWidth(tenths / 10, width - 2);
    text.push_back('.');
    text.push_back(static_cast<char>('0' + tenths % 10));
    return text;
}

Outcome UnexpectedGroup(std::string_view group) {
    return !group.empty() && IsFigure(group[0]) ? Outcome::kAccepted : Outcome::kMalformed;
}

double RoundedTenths(float value) { return std::round(static_cast<double>(value) * 10.0) / 10.0; }

}  // namespace nimbo
