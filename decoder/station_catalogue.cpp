// Station catalogue: index validation and rebuild, lookup, record layouts.
// Lines are read in pieces of bounded length so that over-long lines, an
// index pointing past the end, or damaged files only make lookups fail.
#include "station_catalogue.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>

#ifndef NIMBO_INSTALL_DATADIR
#define NIMBO_INSTALL_DATADIR "/usr/local/share/nimbo"
#endif

namespace nimbo {
namespace {

constexpr std::size_t kMaxLine = 256;
constexpr std::size_t kStationNumbers = 100000;  // 00000 to 99999
constexpr std::size_t kMaxText = 64u << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads one line, keeping at most kMaxLine - 1 characters of it, up to a
// NUL: the rest of an over-long line is skipped, so it never passes for a
// line of its own, and a NUL costs only the rest of its own line. Returns
// false at the end of the file.
bool ReadLine(std::FILE* file, std::string* line) {
    char buffer[kMaxLine] = {};
    if (std::fgets(buffer, sizeof buffer, file) == nullptr) return false;
    *line = buffer;
    // The buffer was zeroed, so a line end in it is the one fgets stopped at.
    if (std::memchr(buffer, '\n', sizeof buffer) == nullptr) {
        int c;
        do {
            c = std::fgetc(file);
        } while (c != EOF && c != '\n');
    }
    while (!line->empty() && (line->back() == '\n' || line->back() == '\r')) line->pop_back();
    return true;
}

// The next line of `text` from *position, cut the way ReadLine cuts a line
// of the file (at most kMaxLine - 1 characters, up to a NUL, without its line
// end; the rest of an over-long line skipped). False at the end of the text.
bool NextLine(std::string_view text, std::size_t* position, std::string_view* line) {
    if (*position >= text.size()) return false;
    std::string_view piece = text.substr(*position, kMaxLine - 1);
    const auto newline = piece.find('\n');
    if (newline != std::string_view::npos) piece = piece.substr(0, newline + 1);
    *position += piece.size();
    const bool wholeLine = !piece.empty() && piece.back() == '\n';
    piece = piece.substr(0, piece.find('\0'));
    if (!wholeLine) {
        const auto end = text.find('\n', *position);
        *position = end == std::string_view::npos ? text.size() : end + 1;
    }
    while (!piece.empty() && (piece.back() == '\n' || piece.back() == '\r')) piece.remove_suffix(1);
    *line = piece;
    return true;
}

// Reads the catalogue file into *storage, at most kMaxText bytes (a real
// catalogue is under a megabyte), and returns its text; empty when it cannot
// be read. The storage is left unfilled for fread to fill.
std::string_view ReadCatalogueText(const std::string& path, std::unique_ptr<char[]>* storage) {
    FilePtr data(std::fopen(path.c_str(), "rb"));
    if (!data || std::fseek(data.get(), 0, SEEK_END) != 0) return {};
    const long end = std::ftell(data.get());
    if (end <= 0 || std::fseek(data.get(), 0, SEEK_SET) != 0) return {};
    const std::size_t size = std::min(static_cast<std::size_t>(end), kMaxText);
    storage->reset(new char[size]);
    return {storage->get(), std::fread(storage->get(), 1, size, data.get())};
}

// Number formed by the first three characters, or -1 when they are not figures.
int PrefixNumber(std::string_view text) {
    if (text.size() < 3) return -1;
    int value = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
    if (first >= line.size()) return {};
    return line.substr(first, last - first + 1);
}

// The whole number at the start of `text` read as strtol reads it in base 10
// (leading white space, a sign, figures; the largest long where it overflows);
// false when no figure follows. The catalogue's fields are views, not C strings.
bool LeadingNumber(std::string_view text, long* value) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) return false;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    const std::size_t first = i;
    constexpr long kLimit = std::numeric_limits<long>::max();
    long magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int figure = text[i] - '0';
        overflow = overflow || magnitude > (kLimit - figure) / 10;
        if (!overflow) magnitude = magnitude * 10 + figure;
    }
    if (i == first) return false;
    if (overflow) {
        *value = negative ? std::numeric_limits<long>::min() : kLimit;
    } else {
        *value = negative ? -magnitude : magnitude;
    }
    return true;
}

// DDMM or DDDMM figures and a hemisphere letter, as degrees.minutes / 100.
float CoordinateValue(std::string_view figures, char hemisphere, char negative) {
    long value = 0;
    if (!LeadingNumber(Trim(figures), &value)) return 800.0f;
    const float degrees = static_cast<float>(value) / 100.0f;
    return hemisphere == negative ? -degrees : degrees;
}

// Splits the next tab-separated field; false when no tab follows.
bool NextField(std::string_view* rest, std::string_view* field) {
    const auto tab = rest->find('\t');
    if (tab == std::string_view::npos) return false;
    *field = rest->substr(0, tab);
    rest->remove_prefix(tab + 1);
    return true;
}

StationRecord ParseTabLine(std::string_view line) {
    StationRecord record;
    std::string_view rest = line.substr(7);
    std::string_view indicator, name, country, latitude, longitude;
    if (!NextField(&rest, &indicator) || !NextField(&rest, &name) || !NextField(&rest, &country) ||
        !NextField(&rest, &latitude) || !NextField(&rest, &longitude)) {
        return record;
    }
    record.locationIndicator = Trim(indicator);
    record.name = Trim(name);
    if (!record.name.empty() && record.name.back() == '&') record.name.pop_back();
    record.country = std::string(country);
    if (!latitude.empty()) {
        record.latitude =
            CoordinateValue(latitude.substr(0, latitude.size() - 1), latitude.back(), 'S');
    }
    if (!longitude.empty()) {
        record.longitude =
            CoordinateValue(longitude.substr(0, longitude.size() - 1), longitude.back(), 'W');
    }
    return record;
}

StationRecord ParseFixedLine(std::string_view line) {
    StationRecord record;
    record.locationIndicator = Trim(Columns(line, 7, 10));
    record.name = Trim(Columns(line, 14, 32));
    if (!record.name.empty() && record.name.back() == '&')
        record.name.resize(std::min<std::size_t>(record.name.size(), 18));
    record.country = std::string(Columns(line, 34, 35));
    const char latHemisphere = line.size() > 41 ? line[41] : ' ';
    const char lngHemisphere = line.size() > 48 ? line[48] : ' ';
    record.latitude = CoordinateValue(Columns(line, 37, 40), latHemisphere, 'S');
    record.longitude = CoordinateValue(Columns(line, 43, 47), lngHemisphere, 'W');
    return record;
}

std::string LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ParseCatalogueLine), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    std::error_code error;
    const auto path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string() : path.parent_path().string();
}

bool HasCatalogue(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / "wmoids.dat", error);
}

}  // namespace

StationRecord ParseCatalogueLine(std::string_view line) {
    if (line.size() > 6 && line[6] == '\t') return ParseTabLine(line);
    return ParseFixedLine(line);
}

std::string StationCatalogue::FindFolder() {
    std::vector<std::filesystem::path> folders = {std::filesystem::path(".")};
    if (const char* dir = std::getenv("NIMBO_CATALOGUE_DIR"); dir != nullptr && *dir != '\0') {
        folders.emplace_back(dir);
    }
    const std::string libraryFolder = LibraryFolder();
    if (!libraryFolder.empty()) {
        folders.push_back(std::filesystem::path(libraryFolder) / ".." / "share" / "nimbo");
    }
    folders.emplace_back(NIMBO_INSTALL_DATADIR);
    for (const auto& folder : folders) {
        if (HasCatalogue(folder)) return folder == "." ? std::string() : folder.string();
    }
    return {};
}

StationCatalogue::StationCatalogue(const std::string& folder) {
    const auto base = folder.empty() ? std::filesystem::path() : std::filesystem::path(folder);
    const std::string dataPath = (base / "wmoids.dat").string();
    const std::string indexPath = (base / "wmoids.idx").string();
    FilePtr data(std::fopen(dataPath.c_str(), "rb"));
    if (!data) return;
    m_dataPath = dataPath;
    if (!LoadIndex(indexPath)) RebuildIndex(indexPath);
}

// Reads the index file and checks every line against the record it points to.
bool StationCatalogue::LoadIndex(const std::string& indexPath) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(indexPath, error)) return false;
    FilePtr index(std::fopen(indexPath.c_str(), "rb"));
    FilePtr data(std::fopen(m_dataPath.c_str(), "rb"));
    if (!index || !data) return false;
    std::vector<IndexEntry> entries;
    std::string line;
    std::string record;
    while (ReadLine(index.get(), &line)) {
        if (line.size() < 12 || line[8] != ' ') return false;
        char* end = nullptr;
        const std::string offsetText = line.substr(0, 8);
        const long offset = std::strtol(offsetText.c_str(), &end, 10);
        if (end == offsetText.c_str() || offset < 0) return false;
        if (std::fseek(data.get(), offset, SEEK_SET) != 0 || !ReadLine(data.get(), &record)) {
            return false;
        }
        if (record.size() < 3 || record.compare(0, 3, line, 9, 3) != 0) return false;
        entries.push_back({PrefixNumber(record), offset});
    }
    // An empty index over a catalogue that holds records is not trusted.
    if (entries.empty() && std::filesystem::file_size(m_dataPath, error) > 0) return false;
    m_index = std::move(entries);
    return true;
}

// Notes the offset of the first line of every three-figure prefix and writes
// the index through a temporary file, so a reader never sees half an index.
void StationCatalogue::RebuildIndex(const std::string& indexPath) {
    FilePtr data(std::fopen(m_dataPath.c_str(), "rb"));
    if (!data) return;
    m_index.clear();
    std::string text;
    std::string line;
    int previous = -2;
    long offset = std::ftell(data.get());
    bool atLineStart = true;
    char buffer[kMaxLine];
    while (std::fgets(buffer, sizeof buffer, data.get()) != nullptr) {
        line = buffer;
        const bool complete = !line.empty() && line.back() == '\n';
        if (atLineStart) {
            std::string content = line;
            while (!content.empty() && (content.back() == '\n' || content.back() == '\r'))
                content.pop_back();
            const int prefix = PrefixNumber(content);
            if (!content.empty() && prefix != previous) {
                char entry[64];
                std::snprintf(entry, sizeof entry, "%08li %6.6s\n", offset, content.c_str());
                text += entry;
                m_index.push_back({prefix, offset});
                previous = prefix;
            }
        }
        atLineStart = complete;
        offset = std::ftell(data.get());
    }
    const std::string temporary = indexPath + ".tmp" + std::to_string(getpid());
    FilePtr out(std::fopen(temporary.c_str(), "wb"));
    if (!out) return;
    const bool written = std::fwrite(text.data(), 1, text.size(), out.get()) == text.size();
    out.reset();
    std::error_code error;
    if (written) std::filesystem::rename(temporary, indexPath, error);
    if (!written || error) std::filesystem::remove(temporary, error);
}

const StationRecord& StationCatalogue::LookUp(std::string_view stationNumber) const {
    static const StationRecord kNotFound;
    if (m_dataPath.empty() || stationNumber.size() != 5) return kNotFound;
    const int prefix = PrefixNumber(stationNumber);
    if (prefix < 0) return kNotFound;
    int number = 0;
    for (char c : stationNumber) {
        if (c < '0' || c > '9') return m_answer = ReadRecord(stationNumber, prefix);
        number = number * 10 + (c - '0');
    }
    if (m_slots.empty()) {
        m_text = ReadCatalogueText(m_dataPath, &m_textStorage);
        // The first index entry of each prefix is where its block starts.
        m_blockStarts.fill(-1);
        for (const IndexEntry& entry : m_index) {
            if (entry.prefix >= 0 && m_blockStarts[entry.prefix] < 0)
                m_blockStarts[entry.prefix] = entry.offset;
        }
        m_slots.assign(kStationNumbers, 0);
        m_lines.assign(kStationNumbers, 0);
        m_records.emplace_back();  // the answer for numbers not in the catalogue
    }
    std::uint32_t& slot = m_slots[number];
    if (slot == 0) {
        if (!m_blocksRead[prefix]) ReadBlock(prefix);
        // A line is parsed only when its number is first asked for.
        if (m_lines[number] == 0) {
            slot = 1;
        } else {
            std::size_t position = m_lines[number] - 1;
            std::string_view line;
            NextLine(m_text, &position, &line);
            m_records.push_back(ParseCatalogueLine(line));
            slot = static_cast<std::uint32_t>(m_records.size());
        }
    }
    return m_records[slot - 1];
}

// Notes the line of every number of the prefix among the lines that a lookup
// scans, from the prefix's index entry up to the first line of a higher
// prefix: each number is answered by the first line that begins with it.
void StationCatalogue::ReadBlock(int prefix) const {
    m_blocksRead[prefix] = true;
    if (m_blockStarts[prefix] < 0) return;
    std::size_t position = static_cast<std::size_t>(m_blockStarts[prefix]);
    std::size_t start = position;
    std::string_view line;
    for (; NextLine(m_text, &position, &line); start = position) {
        const int linePrefix = PrefixNumber(line);
        int number = linePrefix;
        for (std::size_t i = 3; i < 5 && number >= 0; ++i) {
            number = i < line.size() && line[i] >= '0' && line[i] <= '9'
                         ? number * 10 + (line[i] - '0')
                         : -1;
        }
        if (linePrefix > prefix) break;
        if (linePrefix == prefix && number >= 0 && m_lines[number] == 0) {
            m_lines[number] = static_cast<std::uint32_t>(start + 1);
        }
    }
}

StationRecord StationCatalogue::ReadRecord(std::string_view stationNumber, int prefix) const {
    const IndexEntry* found = nullptr;
    for (const auto& entry : m_index) {
        if (entry.prefix == prefix) {
            found = &entry;
            break;
        }
    }
    if (found == nullptr) return {};
    FilePtr data(std::fopen(m_dataPath.c_str(), "rb"));
    if (!data || std::fseek(data.get(), found->offset, SEEK_SET) != 0) return {};
    std::string line;
    bool any = false;
    while (ReadLine(data.get(), &line)) {
        any = true;
        if (line.compare(0, 5, stationNumber) == 0) break;
        const int number = PrefixNumber(line);
        if (number > prefix) break;
    }
    if (!any || line.size() < 5 || line.compare(0, 5, stationNumber) != 0) return {};
    return ParseCatalogueLine(line);
}

}  // namespace nimbo
