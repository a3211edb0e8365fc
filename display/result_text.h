// Readable text for a component result code, for the control's error boxes.
#pragma once

#include <string>

#include "result_codes.h"

namespace nimboview {

// The system's wording for the usual codes; "Error 0x8xxxxxxx" otherwise.
std::string ResultText(nimbo::HRESULT result);

}  // namespace nimboview
