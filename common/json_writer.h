// JSON text of the decoder's outputs: strings from Windows-1252 text and
// numbers, appended to a buffer. One writer serves every JSON output, so
// each escapes the same way.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// The Windows-1252 text as a JSON string literal in UTF-8, appended to out:
// '"' and '\' escaped, line feed, carriage return and tab as \n, \r and \t,
// every other control character (C0, DEL and C1, U+0080 to U+009F) as \u00XX.
void AppendJsonString(std::string& out, std::string_view text);

// The shortest text that reads back as the same number; JSON has no NaN or
// infinity, so those give null.
void AppendJsonNumber(std::string& out, double value);
void AppendJsonNumber(std::string& out, float value);
void AppendJsonNumber(std::string& out, int value);

}  // namespace nimbo
