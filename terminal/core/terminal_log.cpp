// TerminalLog: naming, choosing, opening, appending and closing the log.
#include "terminal_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "short_file_name.h"
#include "writable_file.h"

namespace dovrel {
namespace {

constexpr const char* kDataFolder = "Data";

bool EndsWithDataFolder(const std::string& dir) {
    return dir.ends_with(std::string("/") + kDataFolder);
}

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

}  // namespace

std::string SystemErrorText(int err) { return std::strerror(err); }

TerminalLog::TerminalLog(std::string instanceName, std::filesystem::path workDir, MessageBox& box,
                         LogFileChoice& choice, const Clock& clock)
    : m_instance(std::move(instanceName)),
      m_workDir(std::move(workDir)),
      m_box(box),
      m_choice(choice),
      m_clock(clock) {}

TerminalLog::~TerminalLog() { CloseLog(); }

std::string TerminalLog::BaseName() const {
    std::string name;
    if (!m_instance.empty()) {
        name = nimbo::FileNamePart(m_instance) + "-";
    }
    const LocalTime t = m_clock.Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d-%02d%02d", t.year % 100, t.month, t.day,
                  t.hour, t.minute);
    return name + stamp;
}

LogFileRequest TerminalLog::DialogRequest() const {
    const std::string dir = WithoutTrailingSlash(m_workDir.string());
    LogFileRequest request;
    request.title = "Create Quarnel Log File";
    request.filter = "Log Files (*.LOG)|*.log|All Files (*.*)|*.*";
    request.initialFolder =
        EndsWithDataFolder(dir) ? dir : (dir == "/" ? "" : dir) + "/" + kDataFolder;
    request.proposedName = BaseName() + ".log";
    return request;
}

// "Cannot open the log file Data/x.log: Permission denied": a bare system
// text would not say which file, nor that it is the log.
void TerminalLog::Complain(const std::string& what, const std::string& path,
                           const std::string& reason) {
    m_box.Show("Cannot " + what + " the log file " + path + ": " + reason, "", BoxButtons::Ok,
               BoxIcon::Exclamation);
}

bool TerminalLog::CreateLog(bool automatic) {
    if (IsOpen() || IsSuspended()) CloseLog();
    const std::string base = BaseName();
    m_dialogName = base + ".log";
    if (automatic) {
        // An existing folder is fine; a folder that cannot be made shows up
        // as the open failure below.
        ::mkdir(Resolved(kDataFolder).c_str(), 0777);
        m_logPath = std::string(kDataFolder) + "/" + m_dialogName;
    } else if (!ChooseInteractively()) {
        return false;
    }
    return OpenLogPath();
}

bool TerminalLog::ChooseInteractively() {
    const LogFileRequest request = DialogRequest();
    for (;;) {
        std::optional<std::string> chosen = m_choice.Choose(request);
        if (!chosen || chosen->empty()) return false;
        m_dialogName = *chosen;
        m_replace = false;
        struct stat st {};
        if (::stat(Resolved(m_dialogName).c_str(), &st) != 0) {
            if (errno == ENOENT) break;
            Complain("use", m_dialogName, SystemErrorText(errno));
            return false;
        }
        // Only a regular file is ever written: a device, FIFO, folder or
        // socket is refused before the question, and nothing is unlinked.
        const std::string refused = nimbo::NotRegularFileText(st.st_mode);
        if (!refused.empty()) {
            Complain("use", m_dialogName, refused);
            return false;
        }
        const BoxAnswer answer = m_box.Show("Replace existing file - " + m_dialogName + "?", "",
                                            BoxButtons::YesNoCancel, BoxIcon::Question);
        if (answer == BoxAnswer::Cancel) continue;
        m_replace = answer == BoxAnswer::Yes;
        break;
    }
    m_logPath = m_dialogName;
    return true;
}

// Yes to the question empties the file as it opens (truncation, so a file
// that changed into something else meanwhile is still refused).
bool TerminalLog::OpenLogPath() {
    std::string problem;
    const int fd = nimbo::OpenWritableFile(
        Resolved(m_logPath).string(),
        m_replace ? nimbo::WriteMode::kReplace : nimbo::WriteMode::kAppend, problem);
    m_replace = false;
    if (fd < 0) {
        Complain("open", m_logPath, problem);
        m_logPath.clear();
        return false;
    }
    m_fd = fd;
    return true;
}

void TerminalLog::CloseLog() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_logPath.clear();
    m_suspended.clear();
}

void TerminalLog::WriteLog(std::string_view text) {
    while (m_fd >= 0 && !text.empty()) {
        const ssize_t n = ::write(m_fd, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        Suspend(n < 0 ? errno : ENOSPC);
    }
}

// A full disk fails every later write too: one report, and no more writes
// until the user creates a log again.
void TerminalLog::Suspend(int err) {
    ::close(m_fd);
    m_fd = -1;
    m_suspended = SystemErrorText(err);
    const std::string text = "Cannot write the log file " + m_logPath + ": " + m_suspended +
                             "\r\nLogging is suspended; the display goes on. "
                             "\"Create Log File...\" opens a log again.";
    if (m_report) {
        m_report(text);
    } else {
        m_box.Show(text, "", BoxButtons::Ok, BoxIcon::Stop);
    }
}

std::filesystem::path TerminalLog::Resolved(const std::string& path) const {
    std::filesystem::path p(path);
    return p.is_absolute() ? p : m_workDir / p;
}

std::string TerminalLog::DisplayName() const {
    const std::string dir = WithoutTrailingSlash(m_workDir.string());
    const std::string prefix = dir == "/" ? "/" : dir + "/";
    if (!m_logPath.starts_with(prefix)) return m_logPath;
    if (EndsWithDataFolder(dir)) {
        return "." + m_logPath.substr(dir.size() - std::strlen(kDataFolder) - 1);
    }
    return m_logPath.substr(prefix.size());
}

std::string TerminalLog::Caption(const std::string& plainCaption) const {
    if (IsSuspended())
        return DisplayName() + " (log suspended: " + m_suspended + ") - " + plainCaption;
    return IsOpen() ? DisplayName() + " - " + plainCaption : plainCaption;
}

std::vector<std::string> TerminalLog::EditCommand() const {
    if (m_logPath.empty()) return {};
    for (const char* var : {"VISUAL", "EDITOR"}) {
        const char* editor = std::getenv(var);
        if (editor != nullptr && *editor != '\0') {
            return {"/bin/sh", "-c", std::string(editor) + " \"$1\"", "dovrel-edit", m_logPath};
        }
    }
    return {"xdg-open", m_logPath};
}

}  // namespace dovrel
