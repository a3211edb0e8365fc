// The terminal log: one plain text file at a time, always appended to, named
// from the instance name and the local date and time. Every piece handed to
// WriteLog reaches the file at once (no buffering in the program), so text
// that was shown is not lost when the program is killed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "clock.h"
#include "log_file_choice.h"
#include "log_writer.h"
#include "message_box.h"

namespace dovrel {

class TerminalLog : public LogWriter {
  public:
    // `workDir` is the folder automatic logs go below (in "Data") and
    // relative log paths are taken from: the program passes its current
    // working directory. The seams must outlive the log.
    TerminalLog(std::string instanceName, std::filesystem::path workDir, MessageBox& box,
                LogFileChoice& choice, const Clock& clock);
    ~TerminalLog() override;
    TerminalLog(const TerminalLog&) = delete;
    TerminalLog& operator=(const TerminalLog&) = delete;

    // Opens a new log. Automatic: "Data/<base>.log" below the work folder
    // (the folder is created when missing), appended to without asking.
    // Interactive: asks the file-choice seam; an existing file brings the
    // question "Replace existing file - <path>?" (Yes empties it, No appends,
    // Cancel asks for a file again). Only a regular file is ever written: a
    // device, FIFO, folder or socket is refused with a box and left as it
    // is. Failures are shown naming the log file,
    // with the system's error text, and leave no log open. A log already
    // open (or suspended) is closed first. True when a log is open afterwards.
    bool CreateLog(bool automatic);
    // Closes the open or suspended log; safe when none is open.
    void CloseLog();
    // Appends the bytes of `text` when a log is open; nothing otherwise.
    // A failed write (a full disk, a vanished folder) suspends the log: the
    // file is closed, later text is not written, and the failure is reported
    // once through the report set with SetFailureReport (or, without one,
    // a box). Writing never waits for the user.
    void WriteLog(std::string_view text) override;
    // Where a write failure is reported, with the text to show; the program
    // shows it once the current display step has finished.
    void SetFailureReport(std::function<void(const std::string&)> report) {
        m_report = std::move(report);
    }

    bool IsOpen() const { return m_fd >= 0; }
    // A write failed: the log is closed until it is created anew.
    bool IsSuspended() const { return !m_suspended.empty(); }
    // The system's text of the failure that suspended the log; empty otherwise.
    const std::string& SuspendedReason() const { return m_suspended; }
    // Path of the open or suspended log as it was opened (relative for
    // automatic logs); empty when none is open.
    const std::string& LogPath() const { return m_logPath; }
    // "<base>.log" for an automatic log, the chosen path for an interactive one.
    const std::string& LogDialogName() const { return m_dialogName; }
    // The name shown in the caption: the path below the work folder, or
    // "./Data/..." when the work folder itself is a "Data" folder, or the
    // path as it is.
    std::string DisplayName() const;
    // "<display name> - <plainCaption>" while a log is open,
    // "<display name> (log suspended: <reason>) - <plainCaption>" while it is
    // suspended, else plainCaption.
    std::string Caption(const std::string& plainCaption) const;

    // The base name for a log created now: "[<instance>-]YYMMDD-hhmm"
    // ("/" in the instance name is written as "_", and a very long name is
    // shortened as nimbo::ShortFileName does).
    std::string BaseName() const;
    // The dialog request an interactive log starts with.
    LogFileRequest DialogRequest() const;
    // The command that opens the log in the user's text editor: $VISUAL or
    // $EDITOR (through the shell, the path as its argument) when set, else
    // xdg-open. Empty when no log is open or suspended.
    std::vector<std::string> EditCommand() const;

  private:
    bool ChooseInteractively();
    bool OpenLogPath();
    std::filesystem::path Resolved(const std::string& path) const;
    void Complain(const std::string& what, const std::string& path, const std::string& reason);
    void Suspend(int err);

    std::string m_instance;
    std::filesystem::path m_workDir;
    MessageBox& m_box;
    LogFileChoice& m_choice;
    const Clock& m_clock;
    int m_fd = -1;
    std::string m_logPath;
    std::string m_dialogName;
    std::string m_suspended;
    bool m_replace = false;  // the chosen file is emptied as it opens
    std::function<void(const std::string&)> m_report;
};

// The system's text for an error number (strerror).
std::string SystemErrorText(int err);

}  // namespace dovrel
