// Turns SIGTERM and SIGINT into a Qt signal on the main thread, so a kill or
// Ctrl+C in the shell ends the program through its normal shutdown.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace dovrel {

// One per process. The signal handler only writes one byte to a pipe; the
// read end is watched by the event loop, which emits Terminate().
class SignalWatch : public QObject {
    Q_OBJECT
  public:
    explicit SignalWatch(QObject* parent = nullptr);
    ~SignalWatch() override;
    // False when the pipe or the handlers could not be set up.
    bool Active() const { return m_notifier != nullptr; }

  signals:
    // The signal number that arrived (SIGTERM or SIGINT).
    void Terminate(int signalNumber);

  private:
    void Drain();
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace dovrel
