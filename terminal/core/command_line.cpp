// Command-line reading and the names and captions derived from it.
#include "command_line.h"

#include <algorithm>
#include <sstream>

#include "version.h"

namespace dovrel {
namespace {

constexpr const char* kProgramName = "Quarnel";

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Where `option` stands as a whole blank-separated word of `text`, or npos:
// an instance name such as "station-cleaner" merely contains "-clean".
std::size_t FindOption(const std::string& text, const std::string& option) {
    for (auto at = text.find(option); at != std::string::npos; at = text.find(option, at + 1)) {
        const auto end = at + option.size();
        if ((at == 0 || text[at - 1] == ' ') && (end == text.size() || text[end] == ' ')) return at;
    }
    return std::string::npos;
}

// Blanks out the option at `at` and trims; Usage when a "-" is still present.
CommandLine WithoutOption(std::string text, std::size_t at, const std::string& option,
                          CommandAction action) {
    text.replace(at, option.size(), std::string(option.size(), ' '));
    text = Trim(text);
    if (text.find('-') != std::string::npos) return {CommandAction::Usage, {}};
    return {action, text};
}

std::string Version() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

}  // namespace

std::string JoinArguments(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& arg : args) {
        if (!text.empty()) text += ' ';
        text += arg;
    }
    return text;
}

CommandLine ParseCommandLine(const std::string& commandText) {
    const std::string text = Trim(commandText);
    if (text.find("-?") != std::string::npos) return {CommandAction::Usage, {}};
    if (const auto at = FindOption(text, "-reset"); at != std::string::npos)
        return WithoutOption(text, at, "-reset", CommandAction::Reset);
    if (const auto at = FindOption(text, "-clean"); at != std::string::npos)
        return WithoutOption(text, at, "-clean", CommandAction::Clean);
    return {CommandAction::Run, text};
}

bool AsksForHelp(const std::vector<std::string>& args) {
    for (const auto& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

std::string UsageText(const std::string& settingsFolder) {
    return "Usage:\tdovrel [NAME] [-reset | -clean]\r\n"
           "NAME\tthe instance: its own settings, log file names and caption\r\n"
           "-reset\tputs the instance's window back at the top left corner\r\n"
           "-clean\tforgets all the instance's settings (removes its settings file)\r\n"
           "-?, -h, --help\tshows this text\r\n"
           "\r\n"
           "Settings:\t" +
           settingsFolder + "/" + kProgramName + ".ini, or \"" + kProgramName +
           " - NAME.ini\" for an instance";
}

std::string UsageColumns(const std::string& usage) {
    constexpr std::size_t kColumn = 16;
    std::string out, line;
    std::istringstream lines(usage);
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            line = line.substr(0, tab) + std::string(kColumn - std::min(tab, kColumn - 1), ' ') +
                   line.substr(tab + 1);
        out += line + "\n";
    }
    if (!out.empty()) out.pop_back();
    return out;
}

std::string InstanceSuffixOf(const std::string& instanceName) {
    return instanceName.empty() ? std::string() : " - " + instanceName;
}

std::string ContextNameOf(const std::string& instanceName) {
    return kProgramName + InstanceSuffixOf(instanceName);
}

std::string ApplicationTitle() { return std::string(kProgramName) + " Terminal " + Version(); }

std::string WindowCaption(const std::string& instanceName) {
    return std::string(kProgramName) + " " + Version() + InstanceSuffixOf(instanceName);
}

std::string LogCaption(const std::string& logDisplayName, const std::string& instanceName) {
    return logDisplayName + " - " + WindowCaption(instanceName);
}

std::string ResetText(const std::string& contextName) {
    return "Resetting " + contextName + " position\r\nPlease restart application";
}

// The settings live in a file here, and the box says so.
std::string CleanText(const std::string& contextName) {
    return "Cleaning " + contextName + " settings file\r\nPlease restart application";
}

}  // namespace dovrel
