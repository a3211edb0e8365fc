// SinkList: the connected sinks of one outgoing interface of a component (the
// decoder's events and observations, the display control's events), with the
// connection cookies of Advise and Unadvise, and the one way an event reaches
// every sink.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "result_codes.h"

namespace nimbo {

template <class Sink>
class SinkList {
  public:
    // Connects `sink` (borrowed) after the others; *cookie receives the
    // non-zero number of the connection. E_POINTER for a null argument.
    HRESULT Advise(Sink* sink, std::uint32_t* cookie) {
        if (sink == nullptr || cookie == nullptr) return E_POINTER;
        try {
            *cookie = Connect(sink, false);
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    // CONNECT_E_NOCONNECTION when the cookie names no connection.
    HRESULT Unadvise(std::uint32_t cookie) {
        const auto found = Find(cookie);
        if (found == m_sinks.end()) return CONNECT_E_NOCONNECTION;
        m_sinks.erase(found);
        Changed();
        return S_OK;
    }
    // Connects a sink of the component's own, ahead of the clients' (the
    // decoder's log, which must be written before a client hears the event).
    std::uint32_t ConnectFirst(Sink* sink) { return Connect(sink, true); }
    void DisconnectAll() {
        m_sinks.clear();
        Changed();
    }
    // True when no sink is connected: nobody hears an event raised now.
    bool Empty() const { return m_sinks.empty(); }

    // Calls `call(sink)` on every sink connected when the event was raised,
    // in connection order. A sink may disconnect itself or another from
    // inside the call; one that throws does not stop the others, and nothing
    // reaches the component's caller.
    template <class Call>
    void Raise(Call call) {
        if (m_only != nullptr) {
            // The usual case: one sink, and no list to copy for each event.
            Invoke(call, *m_only);
            return;
        }
        RaiseEach(call);
    }

  private:
    using Entry = std::pair<std::uint32_t, Sink*>;

    // Out of line, so that the one-sink case does not pay for the copy's
    // frame on the stack.
    template <class Call>
    [[gnu::noinline]] void RaiseEach(Call& call) {
        // The sinks of this event, copied first: a few on the stack (a log and
        // a client, say), a longer list on the heap.
        constexpr std::size_t kOnStack = 8;
        std::array<Entry, kOnStack> few;
        std::vector<Entry> many;
        std::span<const Entry> sinks;
        if (m_sinks.size() <= kOnStack) {
            std::copy(m_sinks.begin(), m_sinks.end(), few.begin());
            sinks = std::span<const Entry>(few.data(), m_sinks.size());
        } else {
            many = m_sinks;
            sinks = many;
        }
        for (const auto& [cookie, sink] : sinks) {
            if (Find(cookie) != m_sinks.end()) Invoke(call, *sink);
        }
    }

    std::uint32_t Connect(Sink* sink, bool first) {
        const std::uint32_t cookie = m_nextCookie++;
        if (m_nextCookie == 0) m_nextCookie = 1;
        m_sinks.insert(first ? m_sinks.begin() : m_sinks.end(), Entry{cookie, sink});
        Changed();
        return cookie;
    }
    typename std::vector<Entry>::iterator Find(std::uint32_t cookie) {
        return std::find_if(m_sinks.begin(), m_sinks.end(),
                            [cookie](const Entry& entry) { return entry.first == cookie; });
    }
    template <class Call>
    static void Invoke(Call& call, Sink& sink) {
        try {
            call(sink);
        } catch (...) {
            // The result of a sink is not looked at, and a failing sink is no
            // reason to stop decoding or displaying.
        }
    }

    void Changed() { m_only = m_sinks.size() == 1 ? m_sinks.front().second : nullptr; }

    std::vector<Entry> m_sinks;
    Sink* m_only = nullptr;  // the sink when there is exactly one
    std::uint32_t m_nextCookie = 1;
};

}  // namespace nimbo
