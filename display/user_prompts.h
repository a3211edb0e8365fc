// What the display control asks of the user: warning boxes and the choice of
// a log file. Tests replace these with recorders; the component uses Qt's.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace nimboview {

struct LogFileRequest {
    QString directory;  // initial folder, empty for the current one
    QString fileName;   // pre-filled name, may be empty
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // A modal warning box with one OK button.
    virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // The open-file dialog for a log; the chosen path, or nothing when the
    // user cancels.
    virtual std::optional<QString> ChooseLogFile(QWidget* parent,
                                                 const LogFileRequest& request) = 0;
    // The file to export the decoded reports to (its suffix chooses the
    // format), or nothing when the user cancels. `name` is proposed.
    virtual std::optional<QString> ChooseExportFile(QWidget* parent, const QString& name) = 0;
};

// QMessageBox and QFileDialog.
class QtUserPrompts final : public UserPrompts {
  public:
    void Warning(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> ChooseLogFile(QWidget* parent, const LogFileRequest& request) override;
    std::optional<QString> ChooseExportFile(QWidget* parent, const QString& name) override;
};

}  // namespace nimboview
