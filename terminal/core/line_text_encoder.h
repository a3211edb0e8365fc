// Text to line characters, for programs that send or make signals: UTF-8
// text, a line feed sent as CR LF, each character through the Telex encoder
// (with letters/figures shifts) or taken as ASCII.
#pragma once

#include <string>
#include <vector>

#include "telex_coding.h"

namespace dovrel {

// A character of the text that the line code cannot carry.
struct UnsendableChar {
    int line = 0;       // from 1
    int column = 0;     // in characters, from 1
    int codePoint = 0;  // -1 for a byte that starts no valid UTF-8 sequence
};

// Returns the line codes of `text` (one byte per code) under options.code and
// options.alphabet; characters that cannot be sent are left out and listed in
// `unsendable`. `state` carries the letters/figures shift between calls.
std::string EncodeLineText(const std::string& text, TelexOptions& options, TelexState& state,
                           std::vector<UnsendableChar>& unsendable);

}  // namespace dovrel
