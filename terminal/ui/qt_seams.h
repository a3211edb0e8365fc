// The program's answers to the core's seams: real message boxes, the file
// dialog, the event-loop scheduler and the status timer.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "clock.h"
#include "display_scheduler.h"
#include "log_file_choice.h"
#include "message_box.h"

class QWidget;

namespace dovrel {

// Modal QMessageBox boxes over `parent`; an empty title shows `appTitle`.
class QtMessageBox : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    void SetAppTitle(const std::string& title) { m_appTitle = title; }
    BoxAnswer Show(const std::string& text, const std::string& title, BoxButtons buttons,
                   BoxIcon icon) override;

  private:
    QWidget* m_parent;
    std::string m_appTitle;
};

// The Qt file dialog, asking for a file that may or may not exist.
class QtLogFileChoice : public LogFileChoice {
  public:
    explicit QtLogFileChoice(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    std::optional<std::string> Choose(const LogFileRequest& request) override;

  private:
    QWidget* m_parent;
};

// "A|b|C|d" filter pairs to Qt's "A (b);;C (d)" form ("*.*" becomes "*").
QString QtFilterOf(const std::string& filter);

// Runs posted tasks from the event loop with a zero-time single shot.
class QtScheduler : public DisplayScheduler {
  public:
    explicit QtScheduler(QObject* context) : m_context(context) {}
    void Post(std::function<void()> task) override;

  private:
    QObject* m_context;
};

// The status timer: calls `onTick` every interval while started.
class QtTickTimer : public QObject, public TickTimer {
  public:
    explicit QtTickTimer(std::function<void()> onTick, QObject* parent = nullptr);
    void Start(int intervalMs) override;
    void Stop() override;
    bool IsActive() const { return m_timer.isActive(); }
    int Interval() const { return m_timer.interval(); }

  private:
    QTimer m_timer;
};

}  // namespace dovrel
