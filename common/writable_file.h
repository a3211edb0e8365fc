// Opening a file that the programs write (logs, settings, saved text and
// exports) so that only a regular file is ever written, appended to or
// emptied: a device node, FIFO, folder or socket at the path is refused and
// left as it is, and nothing is ever unlinked to make room.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

enum class WriteMode {
    kAppend,   // writes go to the end of what the file holds
    kReplace,  // an existing file is emptied (truncated, never removed)
};

// Opens `path` for writing, creating a missing file (mode 0666 less the
// umask). A symbolic link is followed to its target, which must be a regular
// file too. Returns a descriptor (close-on-exec, blocking writes) or -1 with
// the reason in `problem`: the system's error text, or "it is a character
// device, not a regular file" and the like for what is refused.
int OpenWritableFile(const std::string& path, WriteMode mode, std::string& problem);

// Writes `content` as the whole of `path` (kReplace): "" when all of it was
// written, else the reason (the refusal, or the system's error text).
std::string WriteWholeFile(const std::string& path, std::string_view content);

// The refusal text for a file of this mode (st_mode) that is not a regular
// file; empty for a regular file.
std::string NotRegularFileText(unsigned mode);

}  // namespace nimbo
