// The decoder's two log files: the raw log (".syn", received reports framed
// as clean bulletins) and the text log (".wmo", every decoded line as the
// client receives it). Also the default folder and file name of the logs.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace nimbo {

// One append-mode log file that removes itself when it was opened and
// closed without anything written. Only a regular file is written: a device,
// FIFO or folder at its path is refused. A failed open, and the first failed
// write (which closes the log with what it holds), are kept as a failure
// text for the client to report.
class LogFile {
  public:
    explicit LogFile(std::string extension) : m_extension(std::move(extension)) {}
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens (enable) or closes the file named base + extension; returns
    // whether it is open afterwards.
    bool Open(bool enable, const std::string& basePath);
    // Appends text; no effect when the log is closed.
    void Write(std::string_view text);
    bool IsOpen() const { return m_fd >= 0; }
    // Something was written since the file was opened.
    bool Written() const { return m_written; }
    const std::string& Path() const { return m_path; }
    // "Cannot open the log file <path>: <reason>" or "Cannot write ...", one
    // line per failure since the last call (empty when none); clears them.
    std::string TakeFailure();

  private:
    void Close();
    void Fail(const char* what, const std::string& reason);

    std::string m_extension;
    std::string m_path;
    int m_fd = -1;
    bool m_written = false;
    std::string m_failure;
};

// Default log folder: the current directory, or its sub-folder "Data"
// (created when missing) while the current directory is still the start one.
std::string DefaultLogFolder(const std::string& startDirectory);

// The name with every "/" and NUL replaced by "_", so that a file made from it
// stays in its folder whatever the name holds.
std::string SafeLogFileName(std::string name);

// Default base name "YYMMDD-HHMM" from the given local time, preceded by the
// node name (made safe as above, and shortened as ShortFileName does when it
// is too long for a file name) and "-" when the node name is not empty.
std::string DefaultLogFileName(const std::string& nodeName, const std::tm& now);

// Base path of the logs: folder + "/" + name, or name alone for no folder;
// the name is made safe as above, so the logs stay inside the folder.
std::string LogBasePath(const std::string& folder, const std::string& name);

// The current directory of the process, empty when it cannot be read.
std::string CurrentDirectory();

// Local date and time now.
std::tm LocalTimeNow();

}  // namespace nimbo
