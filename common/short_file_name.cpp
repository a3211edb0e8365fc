// FNV-1a over the whole name: stable between runs and builds, unlike
// std::hash, so a shortened name finds the same file at every start.
#include "short_file_name.h"

#include <cstdint>
#include <cstdio>

namespace nimbo {
namespace {

constexpr std::size_t kHashFigures = 16;

std::uint64_t NameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

std::string ShortFileName(std::string_view name, std::size_t maxBytes) {
    if (name.size() <= maxBytes) return std::string(name);
    std::size_t keep = maxBytes > kHashFigures + 1 ? maxBytes - kHashFigures - 1 : 0;
    // Never split a UTF-8 character: step back over continuation bytes.
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    char tag[kHashFigures + 2];
    std::snprintf(tag, sizeof tag, "~%016llx", static_cast<unsigned long long>(NameHash(name)));
    return std::string(name.substr(0, keep)) + tag;
}

std::string FileNamePart(std::string_view name) {
    std::string part(name);
    for (char& c : part) {
        if (c == '/' || c == '\0') c = '_';
    }
    return ShortFileName(part);
}

}  // namespace nimbo
