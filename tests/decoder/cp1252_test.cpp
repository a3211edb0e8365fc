// Windows-1252 to UTF-8 at every place a word of eight bytes can split a line.
#include "cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace nimbo {
namespace {

// A line of `size` ASCII bytes with a degree sign, or a euro sign (three
// bytes of UTF-8), at `at`: the ASCII words, the word that holds the high
// byte and the tail before and after it all come out in order.
TEST(Cp1252Test, HighByteAtEveryPlaceOfLinesUpToFiveWords) {
    for (const auto& [byte, utf8] : {std::pair{"\xB0", "\xC2\xB0"}, {"\x80", "\xE2\x82\xAC"}}) {
        for (std::size_t size = 1; size <= 40; ++size) {
            for (std::size_t at = 0; at < size; ++at) {
                std::string line(size, ' ');
                for (std::size_t i = 0; i < size; ++i) line[i] = static_cast<char>('a' + i % 26);
                std::string expected = line;
                line.replace(at, 1, byte);
                expected.replace(at, 1, utf8);
                EXPECT_EQ(Cp1252ToUtf8(line), expected) << size << " " << at;
                std::string appended = "x";
                AppendCp1252AsUtf8(appended, line);
                EXPECT_EQ(appended, "x" + expected);
            }
        }
    }
}

// Runs of high bytes, several in one word: the same as byte by byte.
TEST(Cp1252Test, TextOfEveryByteIsItsBytesConvertedOneByOne) {
    std::string text, expected;
    for (int byte = 1; byte < 256; ++byte) {
        text.push_back(static_cast<char>(byte));
        expected += Cp1252ToUtf8(text.substr(text.size() - 1));
    }
    // Bytes 1 to 15 are ASCII: the text from each gives the rest.
    for (std::size_t start = 0; start < 16; ++start) {
        EXPECT_EQ(Cp1252ToUtf8(text.substr(start)), expected.substr(start)) << start;
    }
}

}  // namespace
}  // namespace nimbo
