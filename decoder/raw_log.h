// The raw log (".syn"): the received reports framed again as clean
// bulletins. The parser tells it, as events, where bulletins begin and end
// and which text belongs to them; the log decides what reaches its file.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "decoder_logs.h"
#include "message_splitter.h"

namespace nimbo {

// What the parser raises about the text of the bulletin it reads.
class BulletinTextEvents {
  public:
    virtual ~BulletinTextEvents() = default;
    // An indicator at a line start opens a bulletin; `heading` holds the
    // stored heading items (empty ones are left out).
    virtual void BulletinStart(const std::array<std::string, 4>& heading,
                               std::string_view indicator, TokenSeparator separator) = 0;
    // A token as received, while a bulletin is open. An ordinary token waits
    // until Commit (its report was decoded) or Discard (it was a trailer); a
    // message delimiter or a blank line (keyword code not 0, or a blank-line
    // separator) ends the bulletin.
    virtual void Token(std::string_view token, int keywordCode, TokenSeparator separator) = 0;
    virtual void Commit() = 0;
    virtual void Discard() = 0;
    // The open bulletin ends here (the next one starts, or the decoder goes).
    virtual void BulletinEnd() = 0;
    // A resynchronisation leaves the bulletin (Suspend) and takes it up again
    // at the report after the guessed one (Resume).
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
};

class RawLog final : public BulletinTextEvents {
  public:
    // Opens (enable) or closes the file base + ".syn"; returns whether it is
    // open afterwards. Closing ends an open bulletin written to it, and
    // restarts the bulletin numbering.
    bool Open(bool enable, const std::string& basePath);
    bool IsOpen() const { return m_file.IsOpen(); }
    std::string TakeFailure() { return m_file.TakeFailure(); }

    void BulletinStart(const std::array<std::string, 4>& heading, std::string_view indicator,
                       TokenSeparator separator) override;
    void Token(std::string_view token, int keywordCode, TokenSeparator separator) override;
    void Commit() override;
    void Discard() override { m_pending.clear(); }
    void BulletinEnd() override;
    void Suspend() override;
    void Resume() override { m_bulletinOpen = true; }

  private:
    // Out of line, so that a token with no file to go to costs no stack frame.
    [[gnu::noinline]] void Keep(std::string_view token, TokenSeparator separator);

    LogFile m_file{".syn"};
    bool m_bulletinOpen = false;
    int m_counter = 0;      // bulletins written since the file was opened
    std::string m_pending;  // text of held and skipped groups
};

}  // namespace nimbo
