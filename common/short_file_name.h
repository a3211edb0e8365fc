// File names made from names that users give (instance names, node names):
// a name too long for the file system is shortened and tagged with a hash of
// the whole name, so that it still names one file of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbo {

// Room left for such a name inside one file name: file systems take 255
// bytes, and the programs add stamps, extensions and temporary suffixes.
inline constexpr std::size_t kMaxNamePartBytes = 160;

// `name` as it is when it has at most `maxBytes` bytes. Otherwise its first
// bytes, cut before a UTF-8 character that would not fit, then "~" and 16
// hexadecimal figures of a hash of the whole name: `maxBytes` bytes at most,
// the same for the same name in every run, different for names that differ
// only after the cut.
std::string ShortFileName(std::string_view name, std::size_t maxBytes = kMaxNamePartBytes);

// `name` as one part of a file name: "/" and NUL turned into "_", then
// shortened as above.
std::string FileNamePart(std::string_view name);

}  // namespace nimbo
