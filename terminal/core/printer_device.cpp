// The printer device and the "Print" panel switch.
#include "printer_device.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace dovrel {

std::string PrinterDevice::GetPrinterStatus(int& port) {
    const bool chosen = port == m_printerId;
    std::string status = dovrel::GetPrinterStatus(port, m_reader);
    if (chosen && port == 0) m_printerId = 0;
    return status;
}

bool PrinterDevice::PrintText(int& port, const std::string& text) {
    if (!GetPrinterStatus(port).empty()) return false;
    const std::string path = m_devRoot + "/lp" + std::to_string(port - 1);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    const bool closed = ::close(fd) == 0;
    return done == text.size() && closed;
}

bool PrinterDevice::PrintText(const std::string& text) {
    int port = m_printerId;
    return PrintText(port, text);
}

std::string PrinterDevice::ClickPrintPanel(const std::string& dateTime, const std::string& appTitle,
                                           MessageBox& box) {
    m_printOn = !m_printOn;
    if (!m_printOn) return PanelText();
    const int chosen = m_printerId;
    int port = chosen;
    const std::string status = GetPrinterStatus(port);
    if (!status.empty()) {
        m_printOn = false;
        box.Show(status, "LPT" + std::to_string(chosen) + " Printer Error", BoxButtons::Ok,
                 BoxIcon::Exclamation);
        return PanelText();
    }
    if (!PrintText(port, "\r" + dateTime + " - " + appTitle + "\r")) m_printOn = false;
    return PanelText();
}

}  // namespace dovrel
