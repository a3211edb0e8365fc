// The boxes the terminal core asks for. A box that only tells the user
// something and is asked for while received data is being read or shown
// waits in a queue and is shown from the event loop after that read has
// returned: a modal box runs the event loop, and a read that let it run
// could be entered again by the next block. Boxes asked for by commands and
// start-up steps are shown at once, so their order is kept.
#pragma once

#include <deque>
#include <string>

#include "display_scheduler.h"
#include "message_box.h"

namespace dovrel {

class BoxRequests : public MessageBox {
  public:
    // `box` shows the boxes, `scheduler` runs the queue from the event loop;
    // both must outlive this object.
    BoxRequests(MessageBox& box, DisplayScheduler& scheduler)
        : m_box(box), m_scheduler(scheduler) {}

    // Marks a read of received data (or a display step) for its lifetime.
    class ReadScope {
      public:
        explicit ReadScope(BoxRequests& boxes) : m_boxes(boxes) { ++m_boxes.m_reads; }
        ~ReadScope() { --m_boxes.m_reads; }
        ReadScope(const ReadScope&) = delete;
        ReadScope& operator=(const ReadScope&) = delete;

      private:
        BoxRequests& m_boxes;
    };

    // A box with a choice: shown now, its answer returned. Inside a read,
    // where nobody can answer, it is not shown and answers Cancel.
    BoxAnswer Ask(const std::string& text, const std::string& title, BoxButtons buttons,
                  BoxIcon icon);
    // A box with only OK: shown now, or queued while a read is under way.
    void Tell(const std::string& text, const std::string& title, BoxIcon icon);
    // MessageBox, for the parts: an OK box is a Tell (answering Ok), any
    // other an Ask.
    BoxAnswer Show(const std::string& text, const std::string& title, BoxButtons buttons,
                   BoxIcon icon) override;

    bool Reading() const { return m_reads > 0; }
    std::size_t Queued() const { return m_queue.size(); }

  private:
    struct Request {
        std::string text, title;
        BoxIcon icon;
    };
    void ShowNext();

    MessageBox& m_box;
    DisplayScheduler& m_scheduler;
    std::deque<Request> m_queue;
    int m_reads = 0;
    bool m_posted = false;
};

}  // namespace dovrel

namespace dovrel {

// Runs what it is given from the event loop of `loop` as a read, so that the
// display steps reception schedules queue their boxes like a read does.
class ReadingScheduler : public DisplayScheduler {
  public:
    ReadingScheduler(DisplayScheduler& loop, BoxRequests& boxes) : m_loop(loop), m_boxes(boxes) {}
    void Post(std::function<void()> task) override {
        m_loop.Post([this, task = std::move(task)] {
            const BoxRequests::ReadScope read(m_boxes);
            task();
        });
    }

  private:
    DisplayScheduler& m_loop;
    BoxRequests& m_boxes;
};

}  // namespace dovrel
