// ReportKeeper: the control's sink for the decoder's observation records. It
// keeps every report in the archive file while one is set.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "archive_writer.h"
#include "observation_archive.h"
#include "weather_observation_interface.h"

namespace nimboview {

class ReportKeeper final : public nimbo::_IWeatherObservationEvents {
  public:
    ReportKeeper() = default;
    ~ReportKeeper() override;

    // Stores from now on in `path` (made when missing); an empty path stops
    // storing. Reports held back by a failure are stored first. False, with
    // the reason in *error, when the file cannot be opened: storing is off.
    bool SetArchive(const std::string& path, std::string* error);
    const std::string& ArchivePath() const { return m_path; }

    void Observation(const nimbo::WeatherObservation& observation) override;

    // Stores what the decoder gave since the last call, in one transaction
    // (called after each received block). When that fails the reports are
    // kept for the next call; the reason is returned the first time, so it
    // is told once until storing works again.
    std::optional<std::string> Commit();

  private:
    std::string m_path;
    std::unique_ptr<nimbo::ObservationArchive> m_archive;
    std::unique_ptr<nimbo::ArchiveWriter> m_writer;
    bool m_failureTold = false;
};

}  // namespace nimboview
