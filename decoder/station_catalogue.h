// The station catalogue: "wmoids.dat" (one record per station, sorted by
// station number) and its index "wmoids.idx" (the byte offset of the first
// record of every three-figure prefix).
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo {

struct StationRecord {
    std::string name;               // empty when the station was not found
    std::string locationIndicator;  // ICAO indicator, may be empty
    std::string country;            // two-letter designator
    float latitude = 800.0f;        // degrees, north positive; 800 when unknown
    float longitude = 800.0f;       // degrees, east positive; 800 when unknown
};

// Parses one catalogue line in the tab-separated or the fixed-column layout;
// name empty when the line cannot be read. Never reads past the line.
StationRecord ParseCatalogueLine(std::string_view line);

class StationCatalogue {
  public:
    // No catalogue: every lookup finds nothing.
    StationCatalogue() = default;

    // Uses "wmoids.dat" in `folder` (empty: the current directory), validates
    // "wmoids.idx" beside it and rebuilds it when it does not match. When the
    // index cannot be written the catalogue still works from the index built
    // in memory.
    explicit StationCatalogue(const std::string& folder);

    // The first folder that holds "wmoids.dat", in this order: the current
    // directory (answered as ""), $NIMBO_CATALOGUE_DIR, <library folder>/../share/nimbo
    // (a relocated install), the install data folder (<prefix>/share/nimbo), and
    // the source tree's data/ folder (so programs run from a build tree find the
    // bundled catalogue). Empty when none holds it.
    static std::string FindFolder();

    // Looks up a five-figure station number. The file is read once, at the
    // first lookup; each number's line is parsed when it is first asked for,
    // and later look-ups of it are answered from memory (one slot per
    // possible station number and one record per number asked for, so memory
    // does not grow with input).
    // The record stays valid until the next lookup (or for the life of the
    // catalogue, for a five-figure number).
    const StationRecord& LookUp(std::string_view stationNumber) const;

    bool Available() const { return !m_dataPath.empty(); }
    const std::string& DataPath() const { return m_dataPath; }

  private:
    struct IndexEntry {
        int prefix;
        long offset;
    };

    bool LoadIndex(const std::string& indexPath);
    void RebuildIndex(const std::string& indexPath);

    StationRecord ReadRecord(std::string_view stationNumber, int prefix) const;
    void ReadBlock(int prefix) const;

    std::string m_dataPath;
    std::vector<IndexEntry> m_index;
    // Made at the first lookup: the catalogue's text, read once; for every
    // five-figure number the place of its line in the text plus one (0: no
    // line, or its block not read yet) and its place in m_records plus one
    // (0: not asked for yet). A line is parsed when its number is first asked
    // for; the records live in a deque so that answers stay valid.
    mutable std::unique_ptr<char[]> m_textStorage;
    mutable std::string_view m_text;
    mutable std::array<long, 1000> m_blockStarts{};  // by prefix; -1: none in the index
    mutable std::vector<std::uint32_t> m_lines;
    mutable std::vector<std::uint32_t> m_slots;
    mutable std::bitset<1000> m_blocksRead;  // by three-figure prefix
    mutable std::deque<StationRecord> m_records;
    mutable StationRecord m_answer;  // a lookup not kept in m_records
};

}  // namespace nimbo
