// Log commands of the menu and tool bar: create through the file dialog, the
// caption, Edit, and close (replace or append, a full disk: the terminal
// log's own tests).
#include <QAction>
#include <QDir>
#include <fstream>
#include <sstream>

#include "status_bar_panels.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class LogCommandsTest : public WindowTest {};

TEST_F(LogCommandsTest, CreateWriteAndCloseThroughTheMenu) {
    auto window = StartOnPty();
    const std::string path = m_work.path().toStdString() + "/first.log";
    m_choice.answers.push_back(path);
    window->Action("mnuCreateLog")->trigger();
    ASSERT_EQ(m_choice.requests.size(), 1u);

    EXPECT_EQ(window->windowTitle().toStdString(), "first.log - Quarnel 1.0.0 - T1");
    EXPECT_FALSE(window->Action("mnuCreateLog")->isEnabled());
    EXPECT_FALSE(window->Action("CreateLogFile")->isEnabled());
    EXPECT_TRUE(window->Action("mnuCloseLog")->isEnabled());
    EXPECT_TRUE(window->Action("Edit")->isEnabled());
    m_pty->Write("\x1f\x0a\x15\x0a\x15\x08\x02");  // RYRY CR LF
    m_pty->Write("\x1f\x0a\x15");                  // RY
    EXPECT_TRUE(WaitUntil([&] { return FileText(path).find("RYRY") != std::string::npos; }));
    window->Action("mnuCloseLog")->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), "Quarnel 1.0.0 - T1");
    EXPECT_TRUE(window->Action("mnuCreateLog")->isEnabled());
    EXPECT_FALSE(window->Action("mnuCloseLog")->isEnabled());
    EXPECT_FALSE(window->Action("Edit")->isEnabled());
    const std::string text = FileText(path);
    m_pty->Write("\x1f\x0a\x15\x08\x02");
    WaitUntil([&] { return PaneText(*window).find("RYRY\nRYRY") != std::string::npos; }, 500);
    EXPECT_EQ(FileText(path), text);  // nothing written after closing
}

TEST_F(LogCommandsTest, AutomaticLogAtStartAndEditOpensIt) {
    Store(Context()).WriteInt("AutoLogst", 1);
    ::setenv("EDITOR", "myeditor", 1);
    auto window = StartOnPty();
    ASSERT_TRUE(window->Log().IsOpen());
    const std::string caption = window->windowTitle().toStdString();
    EXPECT_EQ(caption.rfind("Data/T1-", 0), 0u) << caption;
    window->ToolBarClick("Edit");
    ASSERT_EQ(processesStarted.size(), 1u);
    EXPECT_EQ(processesStarted[0], window->Log().EditCommand());
    const std::string path = m_work.path().toStdString() + "/" + window->Log().LogPath();
    // "NN" may still become "NNNN": held until shutdown, then written.
    m_pty->Write("\x1f\x0c\x0c");
    EXPECT_TRUE(WaitUntil([&] { return window->Panels()->Text("Text").endsWith("NN"); }));
    window->close();
    EXPECT_FALSE(window->Log().IsOpen());
    EXPECT_NE(FileText(path).find("===================== START"), std::string::npos);
    EXPECT_EQ(FileText(path).substr(FileText(path).size() - 2), "NN");
}

}  // namespace
}  // namespace dovrel::test
