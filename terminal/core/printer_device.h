// The printer on a parallel port: text handed to the printer device
// /dev/lp<n-1> for port n after a status check, and the "Print" panel
// switch with its heading line.
#pragma once

#include <cstdint>
#include <string>

#include "message_box.h"
#include "print_sink.h"
#include "printer_status.h"

namespace dovrel {

// The printer that `printerId` (the "PrinterId" setting: 0 none, 1 or 2)
// names. `reader` and `printerId` must outlive it; a port that cannot be
// accessed resets `printerId` to 0, as the choice of printer then has
// nothing behind it.
class PrinterDevice : public PrintSink {
  public:
    PrinterDevice(PrinterStatusReader& reader, std::int32_t& printerId,
                  std::string devRoot = "/dev")
        : m_reader(reader), m_printerId(printerId), m_devRoot(std::move(devRoot)) {}

    // GetPrinterStatus for `port`.
    std::string GetPrinterStatus(int& port);
    // Writes `text` as it is to the printer device of `port` when the
    // printer is ready. True when the device took all of it. Never blocks:
    // a device that would block counts as a failure.
    bool PrintText(int& port, const std::string& text);
    // The line assembly's seam: PrintText on the chosen printer.
    bool PrintText(const std::string& text) override;

    // A click on the "Print" panel. Switching off always succeeds. Switching
    // on needs a ready printer (otherwise a box with the status text, an
    // exclamation icon and the title "LPT" + printer + " Printer Error") and
    // the heading CR + `dateTime` + " - " + `appTitle` + CR printed; when
    // either fails printing stays off. Returns the panel text: "P ON" or
    // "P OFF".
    std::string ClickPrintPanel(const std::string& dateTime, const std::string& appTitle,
                                MessageBox& box);

    bool PrintOn() const { return m_printOn; }
    // "P ON" / "P OFF" for the current state.
    std::string PanelText() const { return m_printOn ? "P ON" : "P OFF"; }

  private:
    PrinterStatusReader& m_reader;
    std::int32_t& m_printerId;
    std::string m_devRoot;
    bool m_printOn = false;
};

}  // namespace dovrel
