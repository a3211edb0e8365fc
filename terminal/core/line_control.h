// The line as the main window drives it: the line settings and their
// storage, opening and closing the port, connect and disconnect, the status
// panels, the panel clicks and the outcome of the port dialog.
#pragma once

#include <string>

#include "line_device.h"
#include "line_panels.h"
#include "message_box.h"
#include "serial_line.h"
#include "settings_store.h"
#include "terminal_settings.h"

namespace dovrel {

// What the window shows for the line.
struct LineStatus {
    bool connected = false;  // true: LedOK in front; false: LEDKO in front
    std::string StatusText;  // "CONNECTED" or "DISCONNECTED"
    std::string Port;        // "Port" panel
    std::string Mode;        // CodeText
    std::string Bauds;       // speed in decimal
    std::string Parity;      // ParityText
    std::string Stops;       // StopText
    bool ended = false;      // open, at the end of a recording: StatusText kStatusEnded
};

// The window side of RefreshStatusPanels. On a connected status the window
// also sets MessageCount to 0 and starts the one-second status timer with
// ConnectTime = now; on a disconnected one it stops the timer and empties
// the "Time" panel.
class LineStatusView {
  public:
    virtual ~LineStatusView() = default;
    virtual void ShowLineStatus(const LineStatus& status) = 0;
};

inline constexpr const char* kStatusConnected = "CONNECTED";
inline constexpr const char* kStatusDisconnected = "DISCONNECTED";
inline constexpr const char* kStatusEnded = "END OF RECORDING";

// Holds the program's LineSettings. `line`, `box` and `view` must outlive
// the control. Every failure of the device ends in the closed state, the
// panels refreshed, and the reason shown in an exclamation box.
class LineControl {
  public:
    LineControl(LineDevice& line, SettingsContext store, MessageBox& box, LineStatusView& view);

    LineSettings& Settings() { return m_settings; }
    const LineSettings& Settings() const { return m_settings; }
    LineDevice& Line() { return m_line; }

    // Reads the line settings from the store (their defaults when missing).
    void LoadLineSettings();
    // Stores them; false when the store could not be written.
    bool SaveLineSettings() const;

    // Opens the chosen device with the settings: false at once (no box)
    // when no device is chosen; settings never loaded (Data 0) are set to
    // 50 bauds, 5 data bits, no parity, 1.5 stop bits and stored first. Any
    // failure shows its reason in a box and leaves the port closed.
    bool OpenPort();
    void ClosePort();
    // OpenPort or ClosePort, then RefreshStatusPanels. Connect returns the
    // result of OpenPort.
    bool Connect();
    void Disconnect();
    void RefreshStatusPanels();
    LineStatus Status() const;

    // Reads what the line received. When the read found the device gone or
    // failing, the line is closed, the panels are refreshed and the reason
    // is shown; the bytes read before that are still returned. When it found
    // the end of a recording, the panels are refreshed once.
    std::string ReadReceived();
    // Call when a write left the line closed (the sending side found the
    // device gone): refreshes the panels and shows the reason once.
    void CheckLine();

    // A click on the "Mode", "Bauds", "Parity" or "Stops" panel, or on
    // "Shift" (the sound input's tuning strip): steps the setting, stores
    // the settings and connects (opening the port when it was closed).
    // False for any other key, which changes nothing.
    bool ClickPanel(const std::string& key, PanelButton button, bool nstdBauds);
    // The sound input's polarity (0 automatic, 1 normal, 2 reverse; others
    // are ignored): stored, and the line connected with it.
    void SetPolarity(int polarity);
    // Turns the sound input's mending of lost shifts on or off, for the instance.
    void SetMendShifts(bool on);

    // The outcome of an accepted port dialog: `chosen` holds the port
    // (Port/PortName), DTR and RTS the user picked. When any of them
    // changed, the port is reopened with them; when that fails, the previous
    // port, DTR and RTS are restored, stored and reconnected. Returns true
    // when the chosen port is open.
    bool ApplyPortDialog(const LineSettings& chosen);

  private:
    void ReportLineLost();

    LineDevice& m_line;
    SettingsContext m_store;
    MessageBox& m_box;
    LineStatusView& m_view;
    LineSettings m_settings;
    bool m_wasOpen = false;   // opened by OpenPort and not yet seen closed
    bool m_endShown = false;  // the end of the recording has been shown
};

}  // namespace dovrel
