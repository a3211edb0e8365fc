// ArchiveWriter: the decoder's observation sink that keeps what it hears in
// an archive, one transaction per bulletin. Connected to the text events as
// well, it takes a message delimiter (ZCZC, NNNN) as the end of a bulletin.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "no_op_decoder_events.h"
#include "observation_archive.h"
#include "weather_observation_interface.h"

namespace nimbo {

class ArchiveWriter final : public _IWeatherObservationEvents, public NoOpDecoderEvents {
  public:
    // Reports stored in one transaction at most, for a stream whose
    // bulletins have neither headings nor delimiters.
    static constexpr std::size_t kMaxBatch = 5000;
    // Reports held while the archive refuses them (a lock held, a full
    // disk); beyond this the oldest are given up and counted in Dropped().
    static constexpr std::size_t kMaxPending = 100000;

    // The archive is not owned and must outlive the writer.
    explicit ArchiveWriter(ObservationArchive& archive);

    // Stamps the report with the time it was received and holds it. A
    // report of another bulletin (heading or BBB) first stores the held
    // ones, so a bulletin is stored whole in one transaction.
    void Observation(const WeatherObservation& observation) override;
    // A message starts or ends: the held reports are stored.
    void Message(std::int32_t start, const std::string& reference) override;

    // Stores the held reports in one transaction. True when none is held
    // afterwards; false when the archive refused them: they stay held for
    // the next Flush, and Error() says why.
    bool Flush();

    const StoreCounts& Counts() const { return m_counts; }
    std::size_t Pending() const { return m_pending.size(); }
    std::size_t Dropped() const { return m_dropped; }
    // The reason of the last failed store; empty once a store succeeded.
    const std::string& Error() const { return m_error; }

  private:
    const std::string& ReceivedNow();

    ObservationArchive& m_archive;
    std::vector<ArchivedReport> m_pending;
    StoreCounts m_counts;
    std::size_t m_dropped = 0;
    std::string m_error;
    std::time_t m_stampSecond = -1;
    std::string m_stamp;
};

// The counts in one line: "12 added, 1 corrected, 0 filled, 0 unchanged, 0 conflicts".
std::string DescribeCounts(const StoreCounts& counts);

}  // namespace nimbo
