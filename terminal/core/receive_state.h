// The display state of the terminal window: what the per-character display
// routine, the no-signal watch, pause and the printer line keep between calls.
#pragma once

#include <cstdint>
#include <string>

#include "clock.h"

namespace dovrel {

struct ReceiveState {
    std::string PendingText;          // display text received but not yet processed
    std::string HeldText;             // characters of the current step not yet written
    char PrevChar = '\r';             // previous character of the display loop
    char CurChar = '\r';              // current character of the display loop
    bool LineStart = true;            // PrevChar is CR: the current character begins a line
    bool WordStart = true;            // PrevChar is CR or space
    bool WordEnd = true;              // CurChar is CR or space while Matched is set
    bool Matched = false;             // a non-separator keyword was just matched whole
    bool InMessage = false;           // a "ZCZC" was seen and no "NNNN" since
    bool AfterEnd = true;             // an "NNNN" was just written: next text starts a line
    bool EndBeforeCr = true;          // CurChar is CR while AfterEnd is set
    bool NewLinePending = true;       // PrevChar is CR: start a new line before writing
    bool Holding = false;             // some keyword is part-way matched in this step
    std::int16_t MessageCount = 0;    // number shown in the separator lines
    std::int32_t SilenceSeconds = 0;  // seconds since the last received block
    bool NoSignalShown = false;
    LocalTime ConnectTime;
    bool Paused = false;
    bool Busy = false;                        // the pane is being cleared
    std::string PrinterLine;                  // text waiting for the printer
    std::string StatusText = "DISCONNECTED";  // "CONNECTED" or "DISCONNECTED"
};

}  // namespace dovrel
