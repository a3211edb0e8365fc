// The main window's commands: one per menu entry or tool-bar button, each
// with its texts and keys. Menu and tool bar share one action per command.
#pragma once

#include <QKeySequence>
#include <array>

namespace dovrel {

enum class Command {
    Properties,
    Serial,
    CreateLog,
    CloseLog,
    EditLog,
    SaveText,
    Exit,
    Find,
    FindNext,
    FindPrevious,
    Pause,
    Resume,
    Clear,
    Synop,
    ZoomIn,
    ZoomOut,
    ZoomReset,
};

inline constexpr std::size_t kCommandCount = 17;

struct CommandEntry {
    Command command;
    const char* name;       // the action's object name; a tool-bar button's key
    const char* text;       // the menu text
    const char* toolTip;    // empty: the menu text
    const char* statusTip;  // the descriptive text, empty for none
    QKeySequence::StandardKey standardKey;
    const char* keys;  // further shortcuts, "; " between them; empty for none
};

// Every command, in the order of the enum.
const std::array<CommandEntry, kCommandCount>& Commands();
const CommandEntry& EntryOf(Command command);

}  // namespace dovrel
