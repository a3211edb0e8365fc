// The text log (".wmo"): every Result and Error text, and a rule line for
// every Separator, as the client receives them. It is a sink of the
// decoder's own events, connected ahead of the clients' while it is open, so
// each line is in the file before a client hears of it.
#pragma once

#include <string>

#include "decoder_logs.h"
#include "no_op_decoder_events.h"

namespace nimbo {

class TextLog final : public NoOpDecoderEvents {
  public:
    // Opens (enable) or closes the file base + ".wmo"; returns whether it is
    // open afterwards.
    bool Open(bool enable, const std::string& basePath) { return m_file.Open(enable, basePath); }
    bool IsOpen() const { return m_file.IsOpen(); }
    std::string TakeFailure() { return m_file.TakeFailure(); }

    void Error(const std::string& data) override { m_file.Write(data); }
    void Separator(std::int32_t level) override;
    void Result(const std::string& data, std::int32_t, std::int32_t) override {
        m_file.Write(data);
    }

  private:
    LogFile m_file{".wmo"};
};

}  // namespace nimbo
