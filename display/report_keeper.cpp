// The terminal receives a few characters at a time, so every block's reports
// are committed at once: a crash loses nothing decoded, and a transaction
// never holds more than one bulletin (the writer splits at a new heading).
#include "report_keeper.h"

namespace nimboview {
namespace {

// The control runs on the window's thread: a lock held by another program
// is waited for only briefly, and the reports are tried again next block.
constexpr int kBusyMilliseconds = 200;

}  // namespace

ReportKeeper::~ReportKeeper() {
    if (m_writer) m_writer->Flush();
}

bool ReportKeeper::SetArchive(const std::string& path, std::string* error) {
    if (path == m_path && (m_archive || path.empty())) return true;
    if (m_writer) m_writer->Flush();
    m_writer.reset();
    m_archive.reset();
    m_path.clear();
    m_failureTold = false;
    if (path.empty()) return true;
    std::string reason;
    m_archive = nimbo::ObservationArchive::Open(path, nimbo::ObservationArchive::Access::kReadWrite,
                                                &reason, kBusyMilliseconds);
    if (!m_archive) {
        if (error != nullptr) *error = reason;
        return false;
    }
    m_writer = std::make_unique<nimbo::ArchiveWriter>(*m_archive);
    m_path = path;
    return true;
}

void ReportKeeper::Observation(const nimbo::WeatherObservation& observation) {
    if (m_writer) m_writer->Observation(observation);
}

std::optional<std::string> ReportKeeper::Commit() {
    if (!m_writer || m_writer->Flush()) {
        m_failureTold = false;
        return std::nullopt;
    }
    if (m_failureTold) return std::nullopt;
    m_failureTold = true;
    return m_writer->Error();
}

}  // namespace nimboview
