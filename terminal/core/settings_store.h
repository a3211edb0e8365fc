// Per-instance settings as named values, one plain "Name=value" file per
// context under the user's configuration folder. Value names compare without
// regard to case; the default's kind decides how a value is read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

namespace dovrel {

// A stored value: a 32-bit number (numbers and switches) or a text.
using RegValue = std::variant<std::int32_t, std::string>;

// A store rooted at one folder, holding "<context>.ini" files. Reads never
// fail: whatever cannot be read gives the default. Writes replace the file
// whole through a temporary file and a rename, so a crash never leaves a
// half-written file.
class SettingsStore {
  public:
    explicit SettingsStore(std::filesystem::path root);

    // The store of this user: $XDG_CONFIG_HOME/Pelmora Software, or
    // ~/.config/Pelmora Software when the variable is unset or empty.
    static SettingsStore ForUser();

    const std::filesystem::path& Root() const { return m_root; }
    // The file that holds `context`. Characters that cannot stand in a file
    // name ("/", "%", control characters, a leading ".") are written as %XX,
    // and a name too long for the file system is shortened with a hash of
    // the whole name (nimbo::ShortFileName).
    std::filesystem::path FileOf(const std::string& context) const;

    // An empty context reads as the empty value of the default's kind.
    // A number reads as `def` when the stored text is not a decimal 32-bit
    // number (unsigned values above 2^31-1 wrap, so 4294967295 reads as -1);
    // a text reads as `def` when missing or empty.
    RegValue Read(const std::string& context, const std::string& name, const RegValue& def) const;
    // Stores numbers in decimal and texts as they are (quoted with escapes
    // only when they hold line breaks, leading or trailing blanks or start
    // with a quote). False when the context is empty or the file cannot be
    // read or written, or is not a regular file (a device or FIFO there is
    // never replaced); the file is then left as it was.
    bool Write(const std::string& context, const std::string& name, const RegValue& value) const;
    // Removes the whole context; false when it does not exist or cannot be removed.
    bool DeleteContext(const std::string& context) const;

  private:
    std::filesystem::path m_root;
};

// The three store operations on the user's store. `section` is not used.
RegValue RegReadValue(const std::string& context, const std::string& section,
                      const std::string& name, const RegValue& def);
bool RegWriteValue(const std::string& context, const std::string& section, const std::string& name,
                   const RegValue& value);
bool RegDeleteContext(const std::string& context);

// Convenience access to one context of a store.
class SettingsContext {
  public:
    SettingsContext(SettingsStore store, std::string context)
        : m_store(std::move(store)), m_context(std::move(context)) {}

    std::int32_t ReadInt(const std::string& name, std::int32_t def) const;
    std::string ReadText(const std::string& name, const std::string& def = {}) const;
    bool ReadSwitch(const std::string& name, bool def = false) const;
    bool WriteInt(const std::string& name, std::int32_t value) const;
    bool WriteText(const std::string& name, const std::string& value) const;
    // Switches are stored as `trueValue` (1 from dialogs, -1 at shutdown) or 0.
    bool WriteSwitch(const std::string& name, bool on, std::int32_t trueValue = -1) const;

    const SettingsStore& Store() const { return m_store; }
    const std::string& Context() const { return m_context; }

  private:
    SettingsStore m_store;
    std::string m_context;
};

}  // namespace dovrel
