// Printer line assembly of the receive path.
#include "print_sink.h"

namespace dovrel {

void AssemblePrinterLine(std::string& printerLine, std::string_view text, PrintSink& sink) {
    printerLine.append(text);
    const std::size_t cr = printerLine.find('\r');
    if (cr != std::string::npos) {
        const std::string line = printerLine.substr(0, cr + 1);
        printerLine.erase(0, cr + 1);
        sink.PrintText(line);
    } else if (printerLine.size() >= kPrinterLineWidth) {
        const std::string line = printerLine + "\r";
        printerLine.clear();
        sink.PrintText(line);
    }
}

}  // namespace dovrel
