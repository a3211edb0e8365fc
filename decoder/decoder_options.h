// DecoderOptions: the decoder's options, held once by the decoder object and
// read by the splitter and the parser, so a property put takes effect for
// the next token without being copied anywhere.
#pragma once

namespace nimbo {

struct DecoderOptions {
    // "ZCZC" and "NNNN" count only as whole first tokens of a line.
    bool messageLock = false;
    // Tokens reach the parser only from the heading line before an indicator on.
    bool decoderLock = true;
    // A malformed group does not skip the rest of its report.
    bool relax = false;
    // Resynchronisation asked for; withdrawn by the splitter at the next
    // indicator. The parser takes its own one-shot request from the put.
    bool resyn = false;
    // Group lines whose data are all missing are left out.
    bool quiet = false;
};

}  // namespace nimbo
