// A corrected report (CCx) or amended one (AAx) is sent again in full under
// the same station and time; a delayed report (RRx) is sent late but is an
// original, often after the bulletin on time carried "NIL" for the station.
// The letter counts the versions: CCB corrects CCA.
#include "report_precedence.h"

namespace nimbo {

int CorrectionRank(std::string_view bbb) {
    if (bbb.size() != 3 || !(bbb.starts_with("CC") || bbb.starts_with("AA"))) return 0;
    const char letter = bbb[2];
    return letter >= 'A' && letter <= 'Z' ? letter - 'A' + 1 : 0;
}

StoreAction DecideStore(const ReportVersion* held, const ReportVersion& incoming) {
    if (held == nullptr) return StoreAction::kAdd;
    if (incoming.report == held->report) return StoreAction::kKeep;
    const int rank = CorrectionRank(incoming.bbb);
    const int heldRank = CorrectionRank(held->bbb);
    if (rank != heldRank) return rank > heldRank ? StoreAction::kReplace : StoreAction::kKeep;
    if (held->nil != incoming.nil) return held->nil ? StoreAction::kFill : StoreAction::kKeep;
    return StoreAction::kConflict;
}

}  // namespace nimbo
