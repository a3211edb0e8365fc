// Function-key macros.
#include "macro_keys.h"

namespace dovrel {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string MacroName(int functionKey, bool shift, bool ctrl) {
    if (functionKey < 1 || functionKey > 12) return {};
    std::string name = "F" + std::to_string(functionKey);
    if (shift && ctrl)
        name += "SC";
    else if (shift)
        name += "S";
    else if (ctrl)
        name += "C";
    return name;
}

std::optional<std::uint8_t> ReadMacroItem(std::string_view item) {
    unsigned value = 0;
    for (char c : item) {
        if (c == ' ' || c == '\t') continue;
        const int digit = HexDigit(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 255) return std::nullopt;  // no more digits can bring it back to a byte
    }
    return static_cast<std::uint8_t>(value);
}

std::vector<std::uint8_t> ParseMacro(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    if (text.size() <= 1 || text[0] != '/') return bytes;
    std::string_view rest = text.substr(1);
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view item = rest.substr(0, slash);
        if (!item.empty()) {
            if (const auto byte = ReadMacroItem(item)) bytes.push_back(*byte);
        }
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    return bytes;
}

MacroOutcome RunMacroKey(int functionKey, bool shift, bool ctrl, const SettingsContext& store,
                         LineOutput& line) {
    MacroOutcome outcome;
    const std::string name = MacroName(functionKey, shift, ctrl);
    if (name.empty()) return outcome;
    const std::string macro = store.ReadText(name);
    if (macro.size() <= 1 || macro[0] != '/') return outcome;
    std::string label = store.ReadText(name + "_");
    if (label.empty()) label = name;
    outcome.ran = true;
    outcome.timePanel = label + " ";
    for (std::uint8_t byte : ParseMacro(macro)) {
        if (!line.IsOpen()) break;
        const char c = static_cast<char>(byte);
        if (!line.Write(std::string_view(&c, 1))) break;
        ++outcome.bytesSent;
    }
    return outcome;
}

void StoreDefaultF12(const SettingsContext& store) {
    if (!store.ReadText("F12").empty()) return;
    store.WriteText("F12", kDefaultF12);
    store.WriteText("F12_", kDefaultF12Label);
}

}  // namespace dovrel
