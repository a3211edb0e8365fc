// Printer line assembly: received text is collected and handed to the
// printer one line at a time, a line ending at CR or at 79 characters.
#pragma once

#include <string>
#include <string_view>

namespace dovrel {

// The printer seam: hands text to the selected printer. True when the text
// was accepted; the line assembly does not use the answer.
class PrintSink {
  public:
    virtual ~PrintSink() = default;
    virtual bool PrintText(const std::string& text) = 0;
};

inline constexpr std::size_t kPrinterLineWidth = 79;

// Appends `text` (one received block's display text) to `printerLine`, then
// prints at most one line: everything up to and including the first CR, or,
// without a CR, all of it followed by CR once it holds 79 characters or more.
// The rest stays in `printerLine` for the next block.
void AssemblePrinterLine(std::string& printerLine, std::string_view text, PrintSink& sink);

}  // namespace dovrel
