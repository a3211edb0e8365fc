// Find, save and zoom in the terminal window, from their keys and menus.
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "find_bar.h"
#include "odd_files.h"
#include "temp_dir.h"
#include "terminal_pane.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

class DailyCommandsTest : public WindowTest {
  protected:
    void Keys(Quarnel& window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(window.Pane(), key, mods);
    }
};

TEST_F(DailyCommandsTest, FindSaveAndZoomFromTheirKeys) {
    auto window = StartOnPty();
    window->show();
    QApplication::setActiveWindow(window.get());
    m_pty->Write("\x1f\x0a\x15\x0a\x15\x08\x02\x0a\x15\x0a\x15\x08\x02");  // RYRY twice
    ASSERT_TRUE(
        WaitUntil([&] { return PaneText(*window).find("RYRY\nRYRY") != std::string::npos; }));
    Keys(*window, Qt::Key_F);
    ASSERT_TRUE(window->Find()->isVisible());
    QTest::keyClicks(window->Find()->Field(), "RYRY");
    QTest::keyClick(window->Find()->Field(), Qt::Key_Return);
    EXPECT_EQ(window->Pane()->textCursor().selectedText(), "RYRY");

    const std::string saved = m_work.path().toStdString() + "/saved.txt";
    m_choice.answers = {saved};
    Keys(*window, Qt::Key_S);
    EXPECT_EQ(m_choice.requests.back().title, "Save Received Text As");
    EXPECT_NE(testing::ReadFile(saved).find("RYRY\nRYRY\n"), std::string::npos);
    for (const auto& odd : testing::MakeOddFiles(m_work.path().toStdString())) {
        const char kind = testing::KindOf(odd);
        m_choice.answers = {odd.string()};
        window->Action(Command::SaveText)->trigger();
        EXPECT_TRUE(m_box.Texts().back().ends_with(", not a regular file")) << m_box.Texts().back();
        EXPECT_EQ(testing::KindOf(odd), kind);
    }

    const double size = window->Pane()->FontSize();
    Keys(*window, Qt::Key_Plus);
    Keys(*window, Qt::Key_Equal);
    EXPECT_DOUBLE_EQ(window->Pane()->FontSize(), size + 2);
    window.reset();
    window = StartOnPty();
    EXPECT_DOUBLE_EQ(window->Pane()->FontSize(), size + 2);  // kept for the instance
    window->Zoom(-1);
    EXPECT_DOUBLE_EQ(window->Pane()->FontSize(), size + 1);
    window->Zoom(0);
    EXPECT_DOUBLE_EQ(window->Pane()->FontSize(), size);
    EXPECT_EQ(window->menuBar()->actions().size(), 3);  // Actions, Edit, View
}

}  // namespace
}  // namespace dovrel::test
