// Reports of one bulletin arrive one after the other from inside Parse; the
// bulletin is over when a report of another heading arrives, or when the
// caller flushes (at the end of its input, or after each received block).
#include "archive_writer.h"

namespace nimbo {

ArchiveWriter::ArchiveWriter(ObservationArchive& archive) : m_archive(archive) {}

void ArchiveWriter::Observation(const WeatherObservation& observation) {
    if (!m_pending.empty()) {
        const WeatherObservation& last = m_pending.back().observation;
        if (last.heading != observation.heading || last.correction != observation.correction ||
            m_pending.size() >= kMaxBatch) {
            Flush();
        }
    }
    if (m_pending.size() >= kMaxPending) {
        m_pending.erase(m_pending.begin());
        ++m_dropped;
    }
    m_pending.push_back({observation, ReceivedNow()});
}

void ArchiveWriter::Message(std::int32_t, const std::string&) { Flush(); }

bool ArchiveWriter::Flush() {
    if (m_pending.empty()) return true;
    if (!m_archive.Store(m_pending, &m_counts)) {
        m_error = m_archive.Error();
        return false;
    }
    m_error.clear();
    m_pending.clear();
    return true;
}

// The time is formatted once a second, not once a report.
const std::string& ArchiveWriter::ReceivedNow() {
    const std::time_t now = std::time(nullptr);
    if (now != m_stampSecond) {
        m_stampSecond = now;
        std::tm utc{};
        gmtime_r(&now, &utc);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
        m_stamp = text;
    }
    return m_stamp;
}

std::string DescribeCounts(const StoreCounts& counts) {
    std::string text =
        std::to_string(counts.added) + " added, " + std::to_string(counts.corrected) +
        " corrected, " + std::to_string(counts.filled) + " filled, " +
        std::to_string(counts.unchanged) + " unchanged, " + std::to_string(counts.conflicts) +
        (counts.conflicts == 1 ? " conflict" : " conflicts");
    if (counts.unkeyed > 0) {
        text += ", " + std::to_string(counts.unkeyed) + " without station or time";
    }
    return text;
}

}  // namespace nimbo
