// The main window's commands as data.
#include "window_command.h"

namespace dovrel {
namespace {

using Key = QKeySequence;

// Command, name, menu text, tool tip, descriptive text, standard key, keys.
constexpr std::array<CommandEntry, kCommandCount> kCommands{{
    {Command::Properties, "Properties", "&Properties...", "Properties...", "Common Properties...",
     Key::UnknownKey, ""},
    {Command::Serial, "Serial", "&Serial", "Serial port configuration", "Serial port configuration",
     Key::UnknownKey, ""},
    {Command::CreateLog, "CreateLogFile", "&Create Log File...", "Create Log File...",
     "Create Log File...", Key::UnknownKey, ""},
    {Command::CloseLog, "CloseLogFile", "&Close Log File", "Close Log File", "Close Log File",
     Key::UnknownKey, ""},
    {Command::EditLog, "Edit", "&Edit Log File", "Edit current log file", "", Key::UnknownKey, ""},
    {Command::SaveText, "mnuSaveText", "Save Received Text &As...", "", "", Key::Save, ""},
    {Command::Exit, "mnuFileExit", "E&xit", "", "", Key::UnknownKey, ""},
    {Command::Find, "mnuFind", "&Find...", "", "", Key::Find, ""},
    {Command::FindNext, "mnuFindNext", "Find &Next", "", "", Key::UnknownKey, "Ctrl+G"},
    {Command::FindPrevious, "mnuFindPrevious", "Find Pre&vious", "", "", Key::UnknownKey,
     "Ctrl+Shift+G"},
    // The pause entries name the pane's keys without taking them: the keys
    // keep working in the pane alone.
    {Command::Pause, "mnuPause", "&Pause Display\tPause", "", "", Key::UnknownKey, ""},
    {Command::Resume, "mnuResume", "&Resume Display\tEsc", "", "", Key::UnknownKey, ""},
    {Command::Clear, "Clear", "C&lear Screen", "Clear screen content", "", Key::UnknownKey, ""},
    {Command::Synop, "Synop", "Force S&ynop Decode", "Force synop decode", "", Key::UnknownKey, ""},
    {Command::ZoomIn, "mnuZoomIn", "Zoom &In", "", "", Key::UnknownKey, "Ctrl++; Ctrl+="},
    {Command::ZoomOut, "mnuZoomOut", "Zoom &Out", "", "", Key::UnknownKey, "Ctrl+-"},
    {Command::ZoomReset, "mnuZoomReset", "&Normal Size", "", "", Key::UnknownKey, "Ctrl+0"},
}};

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (static_cast<std::size_t>(kCommands[i].command) != i) return false;
    return true;
}
static_assert(InEnumOrder(), "one row per command, in the order of the enum");

}  // namespace

const std::array<CommandEntry, kCommandCount>& Commands() { return kCommands; }

const CommandEntry& EntryOf(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

}  // namespace dovrel
