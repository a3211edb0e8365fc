// Log files of the decoder.
#include "decoder_logs.h"

#include <filesystem>
#include <system_error>

namespace nimbo {

LogFile::~LogFile() { Close(); }

bool LogFile::Open(bool enable, const std::string& basePath) {
    if (!IsOpen() && enable) {
        m_path = basePath + m_extension;
        m_file = std::fopen(m_path.c_str(), "a");
        m_written = false;
    } else if (IsOpen() && !enable) {
        Close();
    }
    return IsOpen();
}

void LogFile::Write(std::string_view text) {
    if (m_file == nullptr || text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), m_file);
    std::fflush(m_file);
    m_written = true;
}

// A log that received nothing leaves no file behind; a file that already held
// text from an earlier session is kept.
void LogFile::Close() {
    if (m_file == nullptr) return;
    std::fclose(m_file);
    m_file = nullptr;
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
    return nodeName.empty() ? std::string(buffer) : SafeLogFileName(nodeName) + "-" + buffer;
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
