// Reading of the driver's parity-error marks, whole and split at every byte.
#include "serial_parity_marks.h"

#include <gtest/gtest.h>

namespace dovrel {
namespace {

struct MarkCase {
    std::string marked;
    std::string plain;
};

std::string Whole(const std::string& marked) {
    ParityMarkDecoder decoder;
    std::string out;
    decoder.Decode(marked, out);
    return out;
}

std::string ByteByByte(const std::string& marked) {
    ParityMarkDecoder decoder;
    std::string out;
    for (char c : marked) decoder.Decode(std::string_view(&c, 1), out);
    return out;
}

TEST(ParityMarkDecoder, MarksBecomeTildeAndDoubledFFBecomesOne) {
    using namespace std::string_literals;
    const MarkCase cases[] = {
        {"ABC"s, "ABC"s},
        {"A\xff\x00"
         "BC"s,
         "A~C"s},                 // B received with a parity error
        {"\xff\xff"s, "\xff"s},   // a real 0xFF
        {"\xff\x00\x00"s, "~"s},  // a bad NUL (breaks are ignored)
        {"\xff\xff\xff\x00"
         "x"s,
         "\xff~"s},
        {"\xff"
         "A"s,
         "\xff"
         "A"s},  // no mark: both kept
        {"\x00\x1f"s, "\x00\x1f"s},
        {""s, ""s},
    };
    for (const MarkCase& c : cases) {
        EXPECT_EQ(Whole(c.marked), c.plain);
        EXPECT_EQ(ByteByByte(c.marked), c.plain);
    }
}

TEST(ParityMarkDecoder, ResetForgetsAHalfReadMark) {
    ParityMarkDecoder decoder;
    std::string out;
    decoder.Decode("\xff", out);
    decoder.Reset();
    decoder.Decode("A", out);
    EXPECT_EQ(out, "A");
}

}  // namespace
}  // namespace dovrel
