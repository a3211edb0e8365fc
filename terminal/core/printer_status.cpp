// Printer status through ppdev and its reading.
#include "printer_status.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace dovrel {
namespace {

// Printer status messages, first matching row wins.
struct StatusRule {
    bool (*applies)(std::uint8_t);
    const char* text;
};
bool PaperOut(std::uint8_t s) { return (s & kStatusPaperOut) != 0; }
bool Busy(std::uint8_t s) { return (s & kStatusNotBusy) == 0; }
bool Error(std::uint8_t s) { return (s & kStatusError) == 0; }
bool OffLine(std::uint8_t s) { return (s & kStatusSelect) == 0; }
bool NoPrinter(std::uint8_t s) { return PaperOut(s) && Busy(s) && !Error(s); }

constexpr std::array<StatusRule, 4> kStatusRules = {{
    {NoPrinter, "No printer found"},
    {PaperOut, "No more paper"},
    {OffLine, "Printer is OFFLINE"},
    {Busy, "Printer is BUSY"},
}};

std::string SystemText(int err) { return std::system_category().message(err); }

}  // namespace

std::optional<std::uint8_t> PpdevStatusReader::ReadStatus(int port, std::string& missing) {
    const std::string path = m_devRoot + "/parport" + std::to_string(port - 1);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        missing = err == ENOENT || err == ENODEV || err == ENXIO
                      ? path + " not found (parallel port driver ppdev not loaded)"
                      : path + ": " + SystemText(err);
        return std::nullopt;
    }
    std::optional<std::uint8_t> status;
    if (ioctl(fd, PPCLAIM) != 0) {
        missing = path + ": cannot claim the port: " + SystemText(errno);
    } else {
        unsigned char value = 0;
        if (ioctl(fd, PPRSTATUS, &value) == 0)
            status = value;
        else
            missing = path + ": cannot read the status: " + SystemText(errno);
        ioctl(fd, PPRELEASE);
    }
    ::close(fd);
    return status;
}

std::string DecodePrinterStatus(std::uint8_t status) {
    if (status == 0xFF) return "Not connected";
    for (const StatusRule& rule : kStatusRules) {
        if (rule.applies(status)) return rule.text;
    }
    return {};
}

std::string GetPrinterStatus(int& port, PrinterStatusReader& reader) {
    if (port != 1 && port != 2) return "Unknown printer port";
    std::string missing;
    const std::optional<std::uint8_t> status = reader.ReadStatus(port, missing);
    if (!status) {
        port = 0;
        return missing + "\r\nCannot get printer status";
    }
    return DecodePrinterStatus(*status);
}

}  // namespace dovrel
