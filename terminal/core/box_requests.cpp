// Boxes asked for by the terminal core, queued while a read is under way.
#include "box_requests.h"

namespace dovrel {

BoxAnswer BoxRequests::Ask(const std::string& text, const std::string& title, BoxButtons buttons,
                           BoxIcon icon) {
    if (Reading()) return BoxAnswer::Cancel;
    return m_box.Show(text, title, buttons, icon);
}

void BoxRequests::Tell(const std::string& text, const std::string& title, BoxIcon icon) {
    if (!Reading() && m_queue.empty()) {
        m_box.Show(text, title, BoxButtons::Ok, icon);
        return;
    }
    // Behind those already waiting, so boxes keep the order they were asked in.
    m_queue.push_back({text, title, icon});
    if (m_posted) return;
    m_posted = true;
    m_scheduler.Post([this] { ShowNext(); });
}

BoxAnswer BoxRequests::Show(const std::string& text, const std::string& title, BoxButtons buttons,
                            BoxIcon icon) {
    if (buttons != BoxButtons::Ok) return Ask(text, title, buttons, icon);
    Tell(text, title, icon);
    return BoxAnswer::Ok;
}

// One box per turn of the event loop. Boxes asked for while this one is up
// join the queue and follow it; none is shown over another.
void BoxRequests::ShowNext() {
    if (m_queue.empty()) {
        m_posted = false;
        return;
    }
    const Request request = m_queue.front();
    m_queue.pop_front();
    m_box.Show(request.text, request.title, BoxButtons::Ok, request.icon);
    m_posted = false;
    if (m_queue.empty()) return;
    m_posted = true;
    m_scheduler.Post([this] { ShowNext(); });
}

}  // namespace dovrel
