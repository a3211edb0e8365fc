// LineText: parts of every size copied whole after any start, and the cut at
// its capacity.
#include "line_text.h"

#include <gtest/gtest.h>

#include <string>

namespace nimbo {
namespace {

TEST(LineTextTest, PartsOfEverySizeFollowEachOther) {
    std::string source;
    for (int i = 0; i < 60; ++i) source.push_back(static_cast<char>('A' + i % 26));
    for (std::size_t before = 0; before < 9; ++before) {
        for (std::size_t size = 0; size <= 40; ++size) {
            LineText line;
            line.append(source.substr(60 - before));
            line.append(std::string_view(source).substr(0, size)).push_back('|');
            EXPECT_EQ(std::string_view(line),
                      source.substr(60 - before) + source.substr(0, size) + "|");
        }
    }
}

TEST(LineTextTest, WhatGoesBeyondTheCapacityIsCut) {
    LineText line;
    const std::string part(50, 'x');
    line.append(part).append(part).append(part).push_back('y');
    EXPECT_EQ(std::string_view(line), std::string(LineText::kCapacity, 'x'));
}

}  // namespace
}  // namespace nimbo
