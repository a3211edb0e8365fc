// Settings files: reading with defaults, atomic rewriting, context removal.
#include "settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "short_file_name.h"
#include "text_compare.h"

namespace dovrel {
namespace fs = std::filesystem;

namespace {

constexpr const char* kFolderName = "Pelmora Software";

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// One line of a settings file. Lines that are not "name=value" (comments,
// section headers, damage) are kept as they are and never match a name.
struct FileLine {
    std::string raw;
    std::string name;
};

// Reads the lines of `path`. A missing file is an empty list; a file that
// exists but cannot be read gives nullopt.
std::optional<std::vector<FileLine>> ReadLines(const fs::path& path) {
    std::vector<FileLine> lines;
    // Only a regular file holds settings: a FIFO would hang the read, and
    // whatever else is there is never replaced by a write.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::error_code ec;
        if (fs::exists(path, ec) || ec) return std::nullopt;
        return lines;
    }
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        FileLine line{raw, {}};
        const auto eq = raw.find('=');
        const auto first = raw.find_first_not_of(" \t");
        const bool comment = first != std::string::npos && (raw[first] == ';' || raw[first] == '#');
        if (eq != std::string::npos && !comment) line.name = Trim(raw.substr(0, eq));
        lines.push_back(std::move(line));
    }
    if (in.bad()) return std::nullopt;
    return lines;
}

bool NeedsQuotes(const std::string& text) {
    if (text.empty()) return false;
    if (text.front() == '"' || text.front() == ' ' || text.front() == '\t') return true;
    if (text.back() == ' ' || text.back() == '\t') return true;
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

// The text of a value as written after "=": blanks around it are not part of
// it unless it is quoted.
std::string ValueText(const std::string& raw) {
    const std::string v = Trim(raw.substr(raw.find('=') + 1));
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') return v;
    std::string out;
    for (std::size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i] == '\\' && i + 2 < v.size()) {
            const char e = v[++i];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            out += v[i];
        }
    }
    return out;
}

std::optional<std::int32_t> ParseNumber(const std::string& text) {
    std::int64_t n = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, n);
    if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
    if (n < INT32_MIN || n > static_cast<std::int64_t>(UINT32_MAX)) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
}

// Writes `content` to `path` through a temporary file in the same folder. A
// link is kept: the file it leads to is the one replaced.
bool ReplaceFile(fs::path path, const std::string& content) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code ec;
        path = fs::weakly_canonical(path, ec);
        if (ec) return false;
    }
    std::string tmpl =
        (path.parent_path() / (".tmp-" + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmpl.c_str());
    return ok;
}

std::string ReadFileText(const fs::path& path, const std::string& name, bool& found) {
    found = false;
    const auto lines = ReadLines(path);
    if (!lines) return {};
    for (const FileLine& line : *lines) {
        if (!line.name.empty() && nimbo::EqualsIgnoringCase(line.name, name)) {
            found = true;
            return ValueText(line.raw);
        }
    }
    return {};
}

}  // namespace

SettingsStore::SettingsStore(fs::path root) : m_root(std::move(root)) {}

SettingsStore SettingsStore::ForUser() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return SettingsStore(base / kFolderName);
}

fs::path SettingsStore::FileOf(const std::string& context) const {
    std::string name;
    for (std::size_t i = 0; i < context.size(); ++i) {
        const auto c = static_cast<unsigned char>(context[i]);
        if (c == '/' || c == '%' || c < 32 || c == 127 || (i == 0 && c == '.')) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            name += hex;
        } else {
            name += static_cast<char>(c);
        }
    }
    return m_root / (nimbo::ShortFileName(name) + ".ini");
}

RegValue SettingsStore::Read(const std::string& context, const std::string& name,
                             const RegValue& def) const {
    const bool wantText = std::holds_alternative<std::string>(def);
    if (context.empty()) return wantText ? RegValue(std::string()) : RegValue(0);
    bool found = false;
    std::string text = ReadFileText(FileOf(context), name, found);
    if (!found) return def;
    if (wantText) {
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return text.empty() ? def : RegValue(text);
    }
    const auto number = ParseNumber(text);
    return number ? RegValue(*number) : def;
}

bool SettingsStore::Write(const std::string& context, const std::string& name,
                          const RegValue& value) const {
    if (context.empty() || Trim(name).empty() || name.find_first_of("=\r\n") != std::string::npos)
        return false;
    std::error_code ec;
    fs::create_directories(m_root, ec);
    if (!fs::is_directory(m_root, ec)) return false;

    const fs::path path = FileOf(context);
    auto lines = ReadLines(path);
    if (!lines) return false;  // never overwrite a file we could not read

    std::string text;
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        text = std::to_string(*number);
    } else {
        const auto& s = std::get<std::string>(value);
        text = NeedsQuotes(s) ? Quote(s) : s;
    }

    std::ostringstream out;
    bool written = false;
    for (const FileLine& line : *lines) {
        if (!line.name.empty() && nimbo::EqualsIgnoringCase(line.name, name)) {
            if (written) continue;  // drop duplicates of the same value
            out << line.name << '=' << text << '\n';
            written = true;
        } else {
            out << line.raw << '\n';
        }
    }
    if (!written) out << name << '=' << text << '\n';
    return ReplaceFile(path, out.str());
}

bool SettingsStore::DeleteContext(const std::string& context) const {
    if (context.empty()) return false;
    std::error_code ec;
    const fs::path path = FileOf(context);
    if (!fs::is_regular_file(path, ec)) return false;  // never a device or FIFO
    return fs::remove(path, ec) && !ec;
}

RegValue RegReadValue(const std::string& context, const std::string&, const std::string& name,
                      const RegValue& def) {
    return SettingsStore::ForUser().Read(context, name, def);
}

bool RegWriteValue(const std::string& context, const std::string&, const std::string& name,
                   const RegValue& value) {
    return SettingsStore::ForUser().Write(context, name, value);
}

bool RegDeleteContext(const std::string& context) {
    return SettingsStore::ForUser().DeleteContext(context);
}

std::int32_t SettingsContext::ReadInt(const std::string& name, std::int32_t def) const {
    return std::get<std::int32_t>(m_store.Read(m_context, name, RegValue(def)));
}

std::string SettingsContext::ReadText(const std::string& name, const std::string& def) const {
    return std::get<std::string>(m_store.Read(m_context, name, RegValue(def)));
}

bool SettingsContext::ReadSwitch(const std::string& name, bool def) const {
    return ReadInt(name, def ? -1 : 0) != 0;
}

bool SettingsContext::WriteInt(const std::string& name, std::int32_t value) const {
    return m_store.Write(m_context, name, RegValue(value));
}

bool SettingsContext::WriteText(const std::string& name, const std::string& value) const {
    return m_store.Write(m_context, name, RegValue(value));
}

bool SettingsContext::WriteSwitch(const std::string& name, bool on, std::int32_t trueValue) const {
    return WriteInt(name, on ? trueValue : 0);
}

}  // namespace dovrel
