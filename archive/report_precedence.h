// Which of two reports for the same station and observation time the archive
// keeps: the heading's BBB decides between an original and its corrections,
// NIL between a gap and a report, the text between a repetition and another
// report.
#pragma once

#include <string_view>

namespace nimbo {

// 0 for an original, a delayed report (RRx) or a segment (Pxx); 1 for the
// first correction or amendment (CCA, AAA), 2 for the second (CCB, AAB), and
// so on: a report supersedes every report of a lower rank.
int CorrectionRank(std::string_view bbb);

// What the archive compares of a report.
struct ReportVersion {
    std::string_view bbb;     // the heading's BBB, empty for an original
    std::string_view report;  // the report's text as received
    bool nil = false;         // "NIL": the station sent no data
};

enum class StoreAction {
    kAdd,       // nothing is held for the station and time: store the report
    kReplace,   // a correction of the held report: it takes the held row's place
    kFill,      // a report where NIL is held (a delayed report filling the gap)
    kKeep,      // the same report again, NIL where a report is held, or an
                // older version of a correction held
    kConflict,  // a different report of the same rank: the first one stays
};

// What to do with `incoming` when `held` (null: none) is held for its
// station and observation time.
StoreAction DecideStore(const ReportVersion* held, const ReportVersion& incoming);

}  // namespace nimbo
