// Pushing the selection into another application. Needs an X display: the
// test runs under xvfb-run with small X windows as the other applications,
// and is skipped elsewhere.
#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <cstdlib>

#include "paste_target.h"
#include "terminal_pane.h"
#include "ui_fixture.h"

namespace dovrel::test {
namespace {

// One other application: an X window with a caption that reports the keys
// it gets.
class OtherApplication {
  public:
    explicit OtherApplication(const QString& caption) {
        m_process.start(X_PASTE_TARGET, {caption});
        m_ok = m_process.waitForStarted(3000) && WaitFor("ready");
    }
    ~OtherApplication() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool Ok() const { return m_ok; }
    bool WaitFor(const QString& text, int ms = 3000) {
        return WaitUntil(
            [&] {
                m_output += QString::fromLocal8Bit(m_process.readAllStandardOutput());
                return m_output.contains(text);
            },
            ms);
    }
    const QString& Output() const { return m_output; }

  private:
    QProcess m_process;
    QString m_output;
    bool m_ok = false;
};

class PasteTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            GTEST_SKIP() << "no X display: runs under xvfb-run (terminal_ui_paste)";
    }
};

TEST_F(PasteTest, CtrlVGoesToTheWindowWhoseCaptionHasTheName) {
    OtherApplication lower("notes - pad");
    OtherApplication upper("Untitled - Pad");
    ASSERT_TRUE(lower.Ok() && upper.Ok());
    EXPECT_EQ(PushPasteTo("Pad"), PushResult::Pasted);
    EXPECT_TRUE(upper.WaitFor("key v 4"));  // ControlMask
    EXPECT_FALSE(lower.WaitFor("key", 300));
}

TEST_F(PasteTest, RightClickInThePanePushesTheSelection) {
    OtherApplication upper("Untitled - Pad");
    ASSERT_TRUE(upper.Ok());
    Store(Context()).WriteText("ApplNames", "Pad");
    auto window = StartOnPty();
    window->Pane()->selectAll();
    QTest::mouseClick(window->Pane()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QGuiApplication::clipboard()->setText("ZCZC AB12");
    QTest::mousePress(window->Pane()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(upper.WaitFor("key v 4"));
    EXPECT_TRUE(m_box.Saw(
        "Weather Control (libNimboview.so) not found\r\nSynop decoder will not be available"));
    EXPECT_EQ(m_box.shown.size(), 1u);  // no "not found" box
}

TEST_F(PasteTest, RightClickWithoutMatchSaysNotFound) {
    OtherApplication lower("notes - pad");
    ASSERT_TRUE(lower.Ok());
    Store(Context()).WriteText("ApplNames", "Pad");
    auto window = StartOnPty();
    QGuiApplication::clipboard()->setText("ZCZC AB12");
    QTest::mousePress(window->Pane()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(m_box.Saw("Application \"Pad\" not found"));
}

}  // namespace
}  // namespace dovrel::test
