// Section 2 (maritime data) decoders. Not decoded yet: every group is
// accepted without output so that ship reports pass through undisturbed.
#include "later_sections.h"

namespace nimbo {
namespace {

bool AcceptSilently(std::string_view, DecodingContext&) { return true; }

}  // namespace

bool DecodeShipMovement(std::string_view, DecodingContext&) { return true; }

GroupDecoder Section2Decoder(int n) { return n >= 0 && n <= 8 ? AcceptSilently : nullptr; }

bool DecodeIcingText(std::string_view, DecodingContext&) { return true; }
bool DecodeIceGroup(std::string_view, DecodingContext&) { return true; }
bool DecodeIceText(std::string_view, DecodingContext&) { return true; }

}  // namespace nimbo
