// Icons of the tool bar and the connection lamp, drawn in code so the
// program carries no image files.
#pragma once

#include <QIcon>
#include <QString>

namespace dovrel {

// The icon for a tool-bar key ("CreateLogFile", "CloseLogFile", "Serial",
// "Properties", "Synop", "Edit", "Clear"); an empty icon for other keys.
QIcon ToolIcon(const QString& key);
// The 16x16 lamp: green when `connected`, red otherwise.
QIcon LampIcon(bool connected);

}  // namespace dovrel
