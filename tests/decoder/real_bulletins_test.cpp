// Real bulletins end to end: every land report gets its station lines, every
// report of the real data set is decoded, and the result does not depend
// on how the stream is cut into Parse calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "no_op_decoder_events.h"
#include "test_name.h"

namespace nimbo {
namespace {

using testing::DecoderHarness;

// Parse takes zero-terminated text, so a NUL byte in a capture ends a call;
// the comparisons below are about cutting, so NULs are left out first.
std::string WithoutNul(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

std::string DecodeInPieces(const std::string& text, std::size_t piece, bool relax) {
    DecoderHarness harness;
    harness.Decoder().put_DecoderRelax(relax ? 1 : 0);
    if (piece == 0) {
        // By lines.
        std::size_t start = 0;
        while (start < text.size()) {
            const auto end = text.find('\n', start);
            const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
            harness.Feed(text.substr(start, stop - start));
            start = stop;
        }
    } else {
        for (std::size_t at = 0; at < text.size(); at += piece)
            harness.Feed(text.substr(at, piece));
    }
    return harness.Sink().Transcript();
}

bool InCatalogue(const std::string& number) {
    static const std::string catalogue = "\n" + testing::ReadFile(NIMBO_CATALOGUE_SOURCE);
    return catalogue.find("\n" + number + " ") != std::string::npos;
}

TEST(RealBulletinsTest, EveryCataloguedLandStationGetsItsNameAndPosition) {
    DecoderHarness harness;
    harness.Feed(testing::ReadTestData("synop/metno-kvnorcom/synop/data0600"));
    const auto& events = harness.Sink().events;
    int land = 0;
    int catalogued = 0;
    for (std::size_t i = 0; i + 3 < events.size(); ++i) {
        const std::string& value = events[i + 1].text;
        if (events[i].text != "Station Identity:  " || value.size() != 12 || value[0] == ' ' ||
            value.find_first_not_of("0123456789") != 5) {
            continue;
        }
        ++land;
        const std::string number = value.substr(0, 5);
        if (!InCatalogue(number)) continue;
        ++catalogued;
        ASSERT_EQ(events[i + 3].text.rfind("Station Reference: ", 0), 0u) << number;
        ASSERT_EQ(events[i + 4].kind, "Position") << number;
        EXPECT_LT(std::abs(events[i + 4].x), 91.0f) << number;
    }
    EXPECT_GT(land, 150);
    EXPECT_GE(catalogued, land * 95 / 100);
}

bool AllOf(const std::string& word, std::string_view characters) {
    return !word.empty() && word.find_first_not_of(characters) == std::string::npos;
}

// One report found in the text alone: its first word and the text it spans.
struct FoundReport {
    std::string identity;
    std::size_t begin;
    std::size_t end;
};

// Reports of a file counted from the text alone: after an indicator that
// starts a line (or follows a YYYYMMDDHHMM stamp there), each "="-ended run of
// words is a report when it begins with a five-figure station number (AAXX)
// or a call sign (BBXX, OOXX, or in AAXX before a day-hour group and
// 99LaLaLa); other runs are none. In a file without "=" each line ends its
// report. "NNNN" and "ZCZC" end the indicator's reach. A stamped line's
// report spans the whole line.
std::vector<FoundReport> FindReports(const std::string& text) {
    const std::string_view kCapitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const bool lineReports = text.find('=') == std::string::npos;
    std::vector<FoundReport> found;
    std::vector<std::pair<std::string, std::size_t>> run;  // words and where they start
    std::string kind;
    int skip = 0;
    bool lineStart = true;
    bool afterStamp = false;
    std::size_t stampAt = std::string::npos;
    const auto close = [&](std::size_t end) {
        const std::string id = run[0].first.substr(0, run[0].first.find('='));
        const bool seaBody =
            AllOf(id, kCapitals) && run.size() > 2 && run[2].first.starts_with("99");
        if (kind == "AAXX" ? (id.size() == 5 && AllOf(id, "0123456789")) || seaBody
                           : AllOf(id, kCapitals)) {
            found.push_back({id, std::min(stampAt, run[0].second), end});
        }
        run.clear();
        stampAt = std::string::npos;
    };
    for (std::size_t at = 0; at < text.size();) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            if (text[at] == '\n' && lineReports && !run.empty()) close(at);
            if (text[at++] == '\n') lineStart = true;
            continue;
        }
        const std::size_t end = std::min(text.size(), text.find_first_of(" \t\r\n", at));
        std::string word = text.substr(at, end - at);
        for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const bool first = lineStart || afterStamp;
        const bool stamped = afterStamp;
        afterStamp = lineStart && word.size() == 12 && AllOf(word, "0123456789");
        lineStart = false;
        if (first && (word == "AAXX" || word == "BBXX" || word == "OOXX")) {
            stampAt = stamped ? text.rfind('\n', at) + 1 : std::string::npos;
            kind = word;
            skip = kind == "AAXX" ? 1 : 0;  // the day-hour group
            run.clear();
        } else if (word.find("NNNN") != std::string::npos ||
                   word.find("ZCZC") != std::string::npos) {
            kind.clear();
        } else if (!kind.empty() && skip-- <= 0) {
            if (word.find_first_not_of('=') != std::string::npos) run.emplace_back(word, at);
            if (word.back() == '=' && !run.empty()) close(end);
        }
        at = end;
    }
    return found;
}

bool IsWordOf(const std::string& text, const std::string& word) {
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const auto end = at + word.size();
        if ((at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1]))) &&
            (end == text.size() || std::isspace(static_cast<unsigned char>(text[end])) ||
             text[end] == '=')) {
            return true;
        }
    }
    return false;
}

TEST(RealBulletinsTest, AtMostOnePercentOfTheReportsIsLostAndNoStationIsInvented) {
    int reports = 0;
    int lost = 0;
    for (const auto& file : testing::RealDataFiles()) {
        const std::string text = WithoutNul(testing::ReadFile(file));
        DecoderHarness harness;
        harness.Feed(text);
        const auto stations = testing::StationIdentities(harness.Sink());
        for (const auto& result : harness.Sink().OfKind("Result"))
            ASSERT_FALSE(result.text.empty());
        for (const auto& station : stations) {
            EXPECT_TRUE(station.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") ==
                            std::string::npos &&
                        IsWordOf(text, station))
                << file << ": invented station " << station;
        }
        const int found = static_cast<int>(FindReports(text).size());
        reports += found;
        lost += std::max(0, found - static_cast<int>(stations.size()));
        // data0300 has blank lines after ZCZC, after the heading and before NNNN.
        if (file.find("data0300") != std::string::npos) {
            EXPECT_GE(static_cast<int>(stations.size()), found) << file;
        }
    }
    EXPECT_GT(reports, 2500);
    EXPECT_LE(lost * 100, reports) << lost << " of " << reports << " reports lost";
}

// Identities that `after` lacks against `before`, each as often as it is missing.
std::multiset<std::string> Missing(const std::vector<std::string>& before,
                                   const std::vector<std::string>& after) {
    std::multiset<std::string> missing(before.begin(), before.end());
    for (const auto& identity : after) {
        const auto at = missing.find(identity);
        if (at != missing.end()) missing.erase(at);
    }
    return missing;
}

// The station identities of a decode, and nothing else (fast enough for many).
class StationSink : public NoOpDecoderEvents {
  public:
    std::vector<std::string> stations;
    void Result(const std::string& data, std::int32_t level, std::int32_t slevel) override {
        if (m_identityNext) stations.push_back(data.substr(0, data.find_first_of(" \n")));
        m_identityNext = level == 2 && slevel == 0 && data == "Station Identity:  ";
    }

  private:
    bool m_identityNext = false;
};

std::vector<std::string> StationsOf(const std::string& text) {
    auto* decoder = new WeatherDecoder("/nonexistent");
    StationSink sink;
    std::uint32_t cookie = 0;
    decoder->Advise(&sink, &cookie);
    decoder->Parse(text.c_str());
    decoder->Release();
    return sink.stations;
}

// Radio copy garbles characters: one garbled character (seeded, anywhere in
// every real file) loses no report but the one it falls in, which owns its
// text and the blanks and line ends before it.
TEST(RealBulletinsTest, AGarbledCharacterCostsAtMostItsOwnReport) {
    struct File {
        std::string name;
        std::string text;
        std::vector<std::string> stations;
        std::vector<FoundReport> reports;
    };
    const testing::ScratchFolder folder;  // for the decoders' log folder
    std::vector<File> files;
    std::size_t total = 0;
    for (const auto& name : testing::RealDataFiles()) {
        const std::string text = WithoutNul(testing::ReadFile(name));
        files.push_back({name, text, StationsOf(text), FindReports(text)});
        total += text.size();
    }
    constexpr std::string_view kCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-?:'().,=/+ \n";
    std::mt19937 random(18);
    const int kTrials = 1000;
    int lossy = 0;
    std::string examples;
    for (int trial = 0; trial < kTrials; ++trial) {
        std::size_t at = random() % total;
        const char replacement = kCharacters[random() % kCharacters.size()];
        auto file = files.begin();
        for (; at >= file->text.size(); ++file) at -= file->text.size();
        std::string garbled = file->text;
        garbled[at] = replacement;
        auto missing = Missing(file->stations, StationsOf(garbled));
        for (const FoundReport& report : file->reports) {
            const std::size_t owned = file->text.find_last_not_of(" \r\n", report.begin - 1) + 1;
            if (at >= owned && at < report.end && missing.count(report.identity) > 0) {
                missing.erase(missing.find(report.identity));
            }
        }
        if (missing.empty()) continue;
        ++lossy;
        examples += "\n" + file->name.substr(file->name.rfind('/') + 1) + ": " + *missing.begin() +
                    " lost, garble at \"" + file->text.substr(at < 30 ? 0 : at - 30, 30) + "[" +
                    replacement + "]\"";
    }
    EXPECT_LE(lossy * 200, kTrials)
        << lossy << " of " << kTrials << " garbles lose reports:" << examples;
}

// What a receiving terminal prints of double-spaced traffic: every line
// followed by a blank line, with teleprinter line ends.
std::string DoubleSpaced(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        out += c == '\n' ? std::string("\r\r\n\r\r\n") : std::string(1, c);
    }
    return out;
}

std::string WithoutBloc(const std::string& transcript) {
    std::istringstream lines(transcript);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Bloc ", 0) != 0) out += line + "\n";
    }
    return out;
}

// One case per real file, so that CTest spreads them; a failure names the cutting.
class FragmentationTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FragmentationTest, ResultDoesNotDependOnHowTheStreamIsCut) {
    const std::string text = WithoutNul(testing::ReadFile(GetParam()));
    const std::string whole = DecodeInPieces(text, text.size() + 1, false);
    EXPECT_EQ(DecodeInPieces(text, 0, false), whole) << "by lines";
    EXPECT_EQ(DecodeInPieces(text, 1, false), whole) << "byte by byte";
    EXPECT_EQ(DecodeInPieces(text, 7, true), DecodeInPieces(text, text.size() + 1, true))
        << "in pieces of 7, relaxed";
    EXPECT_EQ(WithoutBloc(DecodeInPieces(DoubleSpaced(text), 0, false)), WithoutBloc(whole))
        << "double-spaced";
}

// Named after the file's path below the data folder.
INSTANTIATE_TEST_SUITE_P(RealFiles, FragmentationTest,
                         ::testing::ValuesIn(testing::RealDataFiles()), [](const auto& info) {
                             const auto root = sizeof NIMBO_TEST_DATA_DIR "/synop";
                             return testsupport::TestName(info.param.substr(root));
                         });

}  // namespace
}  // namespace nimbo
