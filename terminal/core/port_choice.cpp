// Port text and the checks made before opening, on the file system only.
#include "port_choice.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "audio_port.h"
#include "serial_line.h"

namespace dovrel {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string RecordingProblem(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || ::access(path.c_str(), R_OK) != 0)
        return "Cannot read the recording " + path + ": " + std::strerror(errno);
    if (!S_ISREG(st.st_mode)) return "The recording " + path + " is not a file";
    return {};
}

std::string DeviceProblem(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return "There is no serial port " + path + ": " + std::strerror(errno);
    if (!S_ISCHR(st.st_mode))
        return path + " is not a serial device: type the path of one under /dev, " +
               "such as /dev/ttyUSB0";
    return {};
}

}  // namespace

PortEntry EntryForPortText(const std::string& text, const PortList& list) {
    const std::string typed = Trimmed(text);
    for (const PortEntry& entry : list.entries)
        if (entry.label == typed) return entry;
    std::string path = typed;
    if (!path.empty() && (path.front() == '*' || path.front() == '=')) path.erase(0, 1);
    path = Trimmed(path);
    struct stat st {};
    if (!path.empty() && path.find('/') == std::string::npos &&
        path.find(':') == std::string::npos && ::stat(("/dev/" + path).c_str(), &st) == 0)
        path = "/dev/" + path;
    return PortEntry{path, PortUse::Free, path};
}

std::string PortProblem(const LineSettings& line) {
    const std::string path = LineDevicePath(line);
    if (path.empty())
        return "No port chosen.\r\nType the path of a serial device, such as /dev/ttyUSB0,\r\n"
               "or of a pseudo-terminal, such as /dev/pts/3,\r\n"
               "or choose a sound input or a recording from the list.";
    if (IsAudioPort(line)) {
        const std::string file = AudioFileOf(AudioInputOf(line));
        return file.empty() ? std::string() : RecordingProblem(file);
    }
    return DeviceProblem(path);
}

}  // namespace dovrel
