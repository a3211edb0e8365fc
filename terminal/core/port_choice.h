// What the user typed or picked in the port dialog, as a port, and why a
// chosen port cannot serve before anything is opened: the dialog then says
// so and stays open.
#pragma once

#include <string>

#include "port_discovery.h"
#include "terminal_settings.h"

namespace dovrel {

// The entry the port field's text names: the list's entry with that label,
// else the text itself as a path, less a "*" or "=" mark and surrounding
// blanks ("ttyUSB0" alone is taken as "/dev/ttyUSB0" when that exists; a
// sound input is "audio:<name>", a recording "audio:file:<path>"). An empty
// text gives an entry with an empty path.
PortEntry EntryForPortText(const std::string& text, const PortList& list);

// Why the line these settings name cannot be used, in a sentence for the
// user; empty when it may be tried. No port at all, a device path that does
// not exist or is not a device, a recording that is not a readable file.
// Sound inputs are checked when they open.
std::string PortProblem(const LineSettings& line);

}  // namespace dovrel
