// The serial devices of the machine for the port dialog: which exist, and
// whether each is free, in use by another program, or the one this program
// has open. Nothing is opened to find out.
#pragma once

#include <string>
#include <vector>

#include "terminal_settings.h"

namespace dovrel {

enum class PortUse { Free, InUse, Ours };

struct PortEntry {
    std::string path;  // device path as listed ("/dev/ttyUSB0", "/dev/serial/by-id/...")
    PortUse use = PortUse::Free;
    std::string label;  // path, "*" + path when in use, "=" + path when ours
};

// Where discovery looks; tests point these at a folder of fake devices.
struct PortDiscoveryRoots {
    std::string dev = "/dev";
    std::string sys = "/sys";
    std::string proc = "/proc";
    std::vector<std::string> lockDirs = {"/run/lock", "/var/lock"};
};

// The serial devices in `roots.dev`: ttyS<n> that the kernel reports as
// present (a ttyS node without a device behind it in sysfs, or one the
// serial driver lists with an unknown UART, is left out), ttyUSB<n>,
// ttyACM<n>, ttyAMA<n>, rfcomm<n>, and the links in serial/by-id, in this
// order, each group sorted by number. A device is in use when it is a
// system console, when a UUCP lock file of a live process names it, or when
// another process holds it open; it is ours when it is `ourDevice` (the
// device this program has open, empty when none), which is listed even
// when the search does not find it.
std::vector<PortEntry> DiscoverPorts(const std::string& ourDevice,
                                     const PortDiscoveryRoots& roots = {});

// The port dialog's list: the entries and the one to select (the entry
// that names the device of `current`, -1 when none does).
struct PortList {
    std::vector<PortEntry> entries;
    int selected = -1;
};
PortList LoadPropertySettings(const LineSettings& current, const std::string& ourDevice,
                              const PortDiscoveryRoots& roots = {});

// Adds the sound inputs after the serial ports: "audio:default" (the
// system's default input), then "audio:<name>" for each of `inputs`. The
// input this program has open (`ourDevice` "audio:<name>") is marked "=";
// the one `current` names is selected when no serial port was.
void AppendAudioInputs(PortList& list, const std::vector<std::string>& inputs,
                       const LineSettings& current, const std::string& ourDevice);

// The settings after choosing `entry` with the two supply check boxes: a
// conventional device /dev/ttyS<n-1> becomes Port n with no PortName; any
// other device, and a sound input, is kept as PortName (Port 0).
LineSettings ChoosePort(LineSettings current, const PortEntry& entry, bool dtr, bool rts);

}  // namespace dovrel
