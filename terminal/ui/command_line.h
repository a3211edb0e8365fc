// The terminal's command line: the instance name and the maintenance
// options "-reset" and "-clean", and the names derived from the instance.
#pragma once

#include <string>
#include <vector>

namespace dovrel {

enum class CommandAction {
    Run,    // start the terminal under InstanceName
    Usage,  // show the usage box and stop
    Reset,  // store X = 0 and Y = 0 for the instance and stop
    Clean,  // delete the instance's settings and stop
};

struct CommandLine {
    CommandAction Action = CommandAction::Run;
    std::string InstanceName;  // trimmed; empty for the default instance
};

// Joins the program arguments (argv[1..]) with single blanks, the way the
// command text reaches the program.
std::string JoinArguments(const std::vector<std::string>& args);

// Reads the command text: "-?" anywhere gives Usage; otherwise "-reset" (or
// else "-clean"), standing as a word of its own, is blanked out and the text trimmed again, and a
// "-" left over gives Usage. Whatever remains is the instance name, blanks inside included.
CommandLine ParseCommandLine(const std::string& commandText);

// True when one argument alone is "--help" or "-h", the help requests of
// Linux users, which show the usage too.
bool AsksForHelp(const std::vector<std::string>& args);

// The usage text, lines separated by CR LF as the box shows it, a TAB between
// an option and what it does. `settingsFolder` is where the settings files
// are (SettingsStore::ForUser().Root()).
std::string UsageText(const std::string& settingsFolder);

// The usage for a text terminal: LF line ends, the text after a TAB in a
// column of its own.
std::string UsageColumns(const std::string& usage);

// " - " + name, or empty for the empty name.
std::string InstanceSuffixOf(const std::string& instanceName);
// "Quarnel" + the instance suffix: the settings context of the instance.
std::string ContextNameOf(const std::string& instanceName);

// "Quarnel Terminal M.m.r"
std::string ApplicationTitle();
// "Quarnel M.m.r" + the instance suffix: the caption while no log is open.
std::string WindowCaption(const std::string& instanceName);
// The caption while a log is open: display name + " - " + WindowCaption.
std::string LogCaption(const std::string& logDisplayName, const std::string& instanceName);

// Texts of the "-reset" and "-clean" boxes.
std::string ResetText(const std::string& contextName);
std::string CleanText(const std::string& contextName);

}  // namespace dovrel
