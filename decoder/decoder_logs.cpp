// Log files of the decoder.
#include "decoder_logs.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "short_file_name.h"
#include "writable_file.h"

namespace nimbo {

LogFile::~LogFile() { Close(); }

bool LogFile::Open(bool enable, const std::string& basePath) {
    if (!IsOpen() && enable) {
        m_path = basePath + m_extension;
        std::string problem;
        m_fd = OpenWritableFile(m_path, WriteMode::kAppend, problem);
        m_written = false;
        if (m_fd < 0) Fail("open", problem);
    } else if (IsOpen() && !enable) {
        Close();
    }
    return IsOpen();
}

void LogFile::Write(std::string_view text) {
    while (m_fd >= 0 && !text.empty()) {
        const ssize_t n = ::write(m_fd, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
            m_written = true;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // A full disk fails every later write too: the log closes with
            // what it holds, and the failure is reported once.
            Fail("write", std::strerror(n < 0 ? errno : ENOSPC));
            Close();
        }
    }
}

void LogFile::Fail(const char* what, const std::string& reason) {
    if (!m_failure.empty()) m_failure += "\n";
    m_failure += std::string("Cannot ") + what + " the log file " + m_path + ": " + reason;
}

std::string LogFile::TakeFailure() { return std::exchange(m_failure, std::string()); }

// A log that received nothing leaves no file behind; a file that already held
// text from an earlier session is kept.
void LogFile::Close() {
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
    if (!m_written) {
        std::error_code error;
        if (std::filesystem::file_size(m_path, error) == 0 && !error) {
            std::filesystem::remove(m_path, error);
        }
    }
    m_written = false;
}

std::string CurrentDirectory() {
    std::error_code error;
    const auto path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

std::string DefaultLogFolder(const std::string& startDirectory) {
    const std::string current = CurrentDirectory();
    if (current != startDirectory) return current;
    const auto data = std::filesystem::path(current) / "Data";
    std::error_code error;
    std::filesystem::create_directories(data, error);
    return data.string();
}

std::string SafeLogFileName(std::string name) {
    // A name is never a path: "/" (and NUL) would lead the file out of the log
    // folder, as an instance name like "../../x" did.
    for (char& c : name) {
        if (c == '/' || c == '\0') c = '_';
    }
    return name;
}

std::string DefaultLogFileName(const std::string& nodeName, const std::tm& now) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d%02d%02d-%02d%02d", (now.tm_year + 1900 - 2000) % 100,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min);
    return nodeName.empty() ? std::string(buffer)
                            : ShortFileName(SafeLogFileName(nodeName)) + "-" + buffer;
}

std::string LogBasePath(const std::string& folder, const std::string& name) {
    const std::string file = SafeLogFileName(name);
    return folder.empty() ? file : folder + "/" + file;
}

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace nimbo
