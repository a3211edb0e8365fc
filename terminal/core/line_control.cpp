// The line as the main window drives it.
#include "line_control.h"

#include "serial_line.h"

namespace dovrel {

LineControl::LineControl(LineDevice& line, SettingsContext store, MessageBox& box,
                         LineStatusView& view)
    : m_line(line), m_store(std::move(store)), m_box(box), m_view(view) {}

void LineControl::LoadLineSettings() { m_settings = dovrel::LoadLineSettings(m_store); }

bool LineControl::SaveLineSettings() const { return dovrel::SaveLineSettings(m_store, m_settings); }

bool LineControl::OpenPort() {
    if (LineDevicePath(m_settings).empty()) return false;
    if (m_settings.Data == 0) {
        m_settings.Parity = 0;
        m_settings.Stop = 1;
        m_settings.Data = 5;
        m_settings.Baud = 50;
        SaveLineSettings();
    }
    const std::string error = m_line.Open(m_settings);
    m_wasOpen = error.empty();
    m_endShown = false;
    if (m_wasOpen) return true;
    m_box.Show(error, "", BoxButtons::Ok, BoxIcon::Exclamation);
    return false;
}

void LineControl::ClosePort() {
    m_line.Close();
    m_wasOpen = false;
}

bool LineControl::Connect() {
    const bool open = OpenPort();
    RefreshStatusPanels();
    return open;
}

void LineControl::Disconnect() {
    ClosePort();
    RefreshStatusPanels();
}

LineStatus LineControl::Status() const {
    LineStatus status;
    status.connected = m_line.IsOpen();
    status.ended = status.connected && m_line.Ended();
    status.StatusText = status.ended       ? kStatusEnded
                        : status.connected ? kStatusConnected
                                           : kStatusDisconnected;
    status.Port = PortPanelText(m_settings);
    status.Mode = CodeText(m_settings.Data);
    status.Bauds = std::to_string(m_settings.Baud);
    status.Parity = ParityText(m_settings.Parity);
    status.Stops = StopText(m_settings.Stop);
    return status;
}

void LineControl::RefreshStatusPanels() { m_view.ShowLineStatus(Status()); }

std::string LineControl::ReadReceived() {
    std::string bytes = m_line.ReadAvailable();
    CheckLine();
    if (!m_endShown && m_line.IsOpen() && m_line.Ended()) {
        m_endShown = true;
        RefreshStatusPanels();
    }
    return bytes;
}

void LineControl::CheckLine() {
    if (m_wasOpen && !m_line.IsOpen()) ReportLineLost();
}

void LineControl::ReportLineLost() {
    // Refresh first, so the window already shows DISCONNECTED (and stops
    // watching the descriptor) while the box is up.
    const std::string reason = m_line.LastError();
    m_wasOpen = false;
    RefreshStatusPanels();
    m_box.Show(reason.empty() ? "Serial port closed" : reason, "", BoxButtons::Ok,
               BoxIcon::Exclamation);
}

bool LineControl::ClickPanel(const std::string& key, PanelButton button, bool nstdBauds) {
    if (key == "Mode")
        m_settings.Data = NextDataBits(m_settings.Data);
    else if (key == "Bauds")
        m_settings.Baud = NextBaud(m_settings.Baud, button, nstdBauds);
    else if (key == "Parity")
        m_settings.Parity = NextParity(m_settings.Parity);
    else if (key == "Stops")
        m_settings.Stop = NextStop(m_settings.Stop);
    else if (key == "Shift")
        m_settings.Shift = NextShift(m_settings.Shift);
    else
        return false;
    SaveLineSettings();
    Connect();
    return true;
}

void LineControl::SetPolarity(int polarity) {
    if (polarity < 0 || polarity > 2) return;
    m_settings.Polarity = static_cast<std::uint8_t>(polarity);
    SaveLineSettings();
    Connect();
}

void LineControl::SetMendShifts(bool on) {
    m_settings.MendShifts = on;
    SaveLineSettings();
    Connect();
}

bool LineControl::ApplyPortDialog(const LineSettings& chosen) {
    const LineSettings old = m_settings;
    const bool wasOpen = m_line.IsOpen();
    const bool changed = chosen.Port != old.Port || chosen.PortName != old.PortName ||
                         chosen.DTR != old.DTR || chosen.RTS != old.RTS;
    if (!changed) return wasOpen;
    m_settings.Port = chosen.Port;
    m_settings.PortName = chosen.PortName;
    m_settings.DTR = chosen.DTR;
    m_settings.RTS = chosen.RTS;
    SaveLineSettings();
    if (wasOpen) ClosePort();
    if (OpenPort()) {
        RefreshStatusPanels();
        return true;
    }
    m_settings.Port = old.Port;
    m_settings.PortName = old.PortName;
    m_settings.DTR = old.DTR;
    m_settings.RTS = old.RTS;
    SaveLineSettings();
    Connect();
    return false;
}

}  // namespace dovrel
