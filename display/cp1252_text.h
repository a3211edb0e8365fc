// Conversion of the decoder's Windows-1252 text to Unicode for display.
#pragma once

#include <QString>
#include <string_view>

namespace nimboview {

// Every byte becomes one character: 0x00-0x7F and 0xA0-0xFF map to the same
// code point (0xB0 is the degree sign), 0x80-0x9F to the Windows-1252
// characters (euro sign, quotes, dashes ...); the five bytes that code page
// leaves undefined keep their C1 control code point.
QString Cp1252ToUnicode(std::string_view text);

}  // namespace nimboview
