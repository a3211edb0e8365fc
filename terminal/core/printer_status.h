// Status of the printer on a parallel port: the status register read
// through the kernel's ppdev driver (/dev/parport<n-1> for port n), behind an
// interface that tests replace, and its reading as a message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dovrel {

// Status register bits as read (names as the parallel-port driver uses
// them; bit 7 is the inverted BUSY line).
inline constexpr std::uint8_t kStatusError = 0x08;     // 0: the printer signals an error
inline constexpr std::uint8_t kStatusSelect = 0x10;    // 0: off line
inline constexpr std::uint8_t kStatusPaperOut = 0x20;  // 1: paper out
inline constexpr std::uint8_t kStatusNotBusy = 0x80;   // 0: busy

// Reads the status register of parallel port 1 or 2.
class PrinterStatusReader {
  public:
    virtual ~PrinterStatusReader() = default;
    // The status byte; nothing when the port cannot be accessed at all, and
    // `missing` then names what is missing on this system.
    virtual std::optional<std::uint8_t> ReadStatus(int port, std::string& missing) = 0;
};

// Reads the register through ppdev: open /dev/parport<port-1>, PPCLAIM,
// PPRSTATUS, PPRELEASE. `devRoot` is the folder of the device nodes.
class PpdevStatusReader : public PrinterStatusReader {
  public:
    explicit PpdevStatusReader(std::string devRoot = "/dev") : m_devRoot(std::move(devRoot)) {}
    std::optional<std::uint8_t> ReadStatus(int port, std::string& missing) override;

  private:
    std::string m_devRoot;
};

// The message for a status byte: "Not connected" for 0xFF, else the first
// of "No printer found" (paper out and busy without error), "No more
// paper", "Printer is OFFLINE", "Printer is BUSY" that applies, or "" when
// the printer is ready.
std::string DecodePrinterStatus(std::uint8_t status);

// "" when the printer on `port` is ready, otherwise the message: "Unknown
// printer port" for a port other than 1 or 2; when the port cannot be
// accessed, what is missing followed by CR LF "Cannot get printer status",
// and `port` is set to 0 (the printer choice falls back to none).
std::string GetPrinterStatus(int& port, PrinterStatusReader& reader);

}  // namespace dovrel
