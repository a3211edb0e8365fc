// The decoder window's tool-bar commands, their tooltips and their images,
// which are drawn in code.
#pragma once

#include <QIcon>
#include <QString>
#include <array>

namespace nimboview {

enum class ToolCommand : int {
    kOpenLog = 32768,
    kCloseLog = 32769,
    kClear = 32770,
    kCopy = 32771,
    kResync = 32772,
    kPause = 32773,
    kShowMap = 32774,
    kFind = 32775,    // the find bar (Ctrl+F)
    kExport = 32776,  // the decoded reports to a CSV, GeoJSON or obs-json file
};

inline constexpr std::array<ToolCommand, 9> kToolCommands = {
    ToolCommand::kOpenLog, ToolCommand::kCloseLog, ToolCommand::kClear,
    ToolCommand::kCopy,    ToolCommand::kResync,   ToolCommand::kPause,
    ToolCommand::kShowMap, ToolCommand::kFind,     ToolCommand::kExport,
};

// "Open a log file" ... "Show map".
QString ToolTipText(ToolCommand command);
// 16x15 image of the command, drawn with QPainter.
QIcon ToolIcon(ToolCommand command);
// The decoder window's icon: a globe, drawn at 32x32.
QIcon DecoderWindowIcon();

}  // namespace nimboview
