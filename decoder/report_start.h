// Where a report begins: which kind of report its first groups make. Real
// traffic holds ship and buoy bodies inside land bulletins, orphan fragments
// and junk between reports, and loses report ends to radio noise; the parser
// looks at the first groups before it decodes them, so that it neither
// invents a report nor loses the ones after a bad one.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace nimbo {

// A group as received and through figure repair.
struct GroupText {
    std::string_view text;
    std::string_view repaired;
};

// A land station number: five figures, or ten when iRixhVV is run on
// (the repaired text).
bool IsStationNumber(std::string_view repaired);
// A ship, buoy or mobile station call sign: capitals and figures.
bool IsCallSign(std::string_view token);
// "AAXX", "BBXX" or "OOXX" exactly.
bool IsIndicatorWord(std::string_view token);
// T1T2A1A2ii of an abbreviated heading: four capitals and two figures ("SMDL01").
bool IsDesignator(std::string_view token);

// Plausibility of section 0 and section 1 groups (the repaired text): every field
// a figure of its code table or a missing mark.
bool LooksLikeDayHour(std::string_view group);     // YYGGiw
bool LooksLikeLatitude(std::string_view group);    // 99LaLaLa, with figures
bool LooksLikeCloudGroup(std::string_view group);  // iRixhVV, or NIL
bool LooksLikeWindGroup(std::string_view group);   // Nddff

enum class StartKind {
    kUndecided,  // more groups are needed
    kLand,       // a land station's report
    kSea,        // a ship, buoy or mobile station's section 0: call sign, YYGGiw, 99LaLaLa
    kNone,       // no report starts here
};

// The kind of report that the groups begin, in a land bulletin. `groups` are
// the report's first tokens, without the report end (three are
// enough); `complete` says that no more will come. A station number starts
// a land report unless a sea station's section 0 follows it; a call sign
// only starts a sea station's section 0. `strict` (where the text before was
// no report start) also asks for a plausible iRixhVV and Nddff.
StartKind ClassifyLandStart(std::span<const GroupText> groups, bool complete, bool strict);

// The same in a ship or mobile bulletin, for text after something that was
// no report start: a call sign followed by YYGGiw and 99LaLaLa.
StartKind ClassifySeaStart(std::span<const GroupText> groups, bool complete);

}  // namespace nimbo
