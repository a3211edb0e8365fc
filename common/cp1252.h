// Conversion of the decoder's Windows-1252 text to UTF-8, for every program
// that shows or writes it, and back for text stored as UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbo {

// Every byte becomes one character: 0x00-0x7F and 0xA0-0xFF the same code
// point (0xB0 is the degree sign), 0x80-0x9F the Windows-1252 characters; the
// five bytes that code page leaves undefined keep their C1 control code point.
std::string Cp1252ToUtf8(std::string_view text);
// The same conversion appended to `out`.
void AppendCp1252AsUtf8(std::string& out, std::string_view text);
// The room WriteCp1252AsUtf8 needs for `size` bytes of text: up to four bytes
// each, and sixteen for the bytes stored together.
constexpr std::size_t Utf8Room(std::size_t size) { return 4 * size + 16; }
// The same conversion written at `out`, which has Utf8Room(text.size())
// bytes; returns the end of the UTF-8. ASCII is copied sixteen bytes at a time,
// so the bytes after the end are overwritten too.
char* WriteCp1252AsUtf8(char* out, std::string_view text);
// The inverse: UTF-8 that Cp1252ToUtf8 made comes back byte for byte; a
// character the code page cannot hold, or a byte that is not UTF-8, becomes "?".
std::string Utf8ToCp1252(std::string_view text);

}  // namespace nimbo
