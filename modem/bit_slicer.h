// Holds the recent decision values so the framer can read them at any
// fractional instant (start-bit timing finer than one sample) and look back
// after a false start.
#pragma once

#include <array>
#include <cstdint>

namespace modem {

class BitSlicer {
  public:
    static constexpr int kCapacity = 4096;  // samples kept; a frame is far shorter

    void Push(float decision) {
        m_values[static_cast<std::size_t>(m_end & (kCapacity - 1))] = decision;
        ++m_end;
    }
    void Reset() { m_end = 0; }
    // One past the newest sample's index (samples are numbered from 0).
    std::int64_t End() const { return m_end; }
    std::int64_t Begin() const { return m_end > kCapacity ? m_end - kCapacity : 0; }
    float At(std::int64_t i) const {
        return m_values[static_cast<std::size_t>(i & (kCapacity - 1))];
    }
    // The decision at instant t, linearly interpolated; t must lie within
    // Begin() .. End() - 1.
    float Sample(double t) const;
    // The first instant at or after `from` where sign * decision falls from
    // above zero to zero or below (a mark-to-space edge), interpolated between
    // the two samples; a negative value when there is none before End().
    double FindFall(double from, float sign) const;

  private:
    std::array<float, kCapacity> m_values{};
    std::int64_t m_end = 0;
};

}  // namespace modem
