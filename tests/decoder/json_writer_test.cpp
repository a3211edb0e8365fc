// The one JSON writer of the decoder's outputs: escapes and numbers.
#include "json_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace nimbo {
namespace {

std::string Json(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

TEST(JsonWriterTest, StringsAreUtf8WithShortEscapesAndControlsAsCodePoints) {
    const struct {
        std::string_view text, json;
    } kCases[] = {
        {"Temperature: +12.5\xB0"
         "c",
         "\"Temperature: +12.5\xC2\xB0"
         "c\""},
        {"say \"a\\b\"", "\"say \\\"a\\\\b\\\"\""},
        {"line\n\r\t", "\"line\\n\\r\\t\""},
        {"\x01\x7F", "\"\\u0001\\u007f\""},
        {"\x81\x9D", "\"\\u0081\\u009d\""},  // undefined bytes: the C1 controls
        {"\x85", "\"\xE2\x80\xA6\""},        // an ellipsis, no control
    };
    for (const auto& c : kCases) EXPECT_EQ(Json(c.text), c.json) << c.text;
}

TEST(JsonWriterTest, NumbersAreShortestAndNotFiniteIsNull) {
    std::string out;
    AppendJsonNumber(out, 12.3f);
    out += ',';
    AppendJsonNumber(out, 1013.2);
    out += ',';
    AppendJsonNumber(out, -7);
    out += ',';
    AppendJsonNumber(out, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(out, "12.3,1013.2,-7,null");
}

}  // namespace
}  // namespace nimbo
