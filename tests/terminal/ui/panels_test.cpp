// Status-panel clicks that change and store settings, and the pause keys.
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTextCursor>
#include <tuple>

#include "status_bar_panels.h"
#include "terminal_pane.h"
#include "ui_fixture.h"
#include "window_geometry.h"

namespace dovrel::test {
namespace {

class PanelsTest : public WindowTest {
  protected:
    void Click(Quarnel& window, const char* key, Qt::MouseButton button = Qt::LeftButton) {
        StatusPanel* panel = window.Panels()->Panel(key);
        ASSERT_NE(panel, nullptr) << key;
        QTest::mouseClick(panel, button, {}, QPoint(2, 2));
    }
    std::string Panel(Quarnel& window, const char* key) {
        return window.Panels()->Text(key).toStdString();
    }
};

// Clicks in turn on one disconnected window: the first opens the port, each
// shows its new value and stores it; speeds step up on the left button, down
// (and round) on the right one.
TEST_F(PanelsTest, ClicksStepTheLineSettingsAndStoreThem) {
    struct Step {
        const char* panel;
        Qt::MouseButton button;
        const char* shown;
        const char* stored;
        int value;
    };
    const Step steps[] = {
        {"Parity", Qt::LeftButton, "O", "Parity", 1},
        {"Stops", Qt::LeftButton, "2", "Stop", 2},
        {"Bauds", Qt::LeftButton, "75", "Baud", 75},
        {"Bauds", Qt::RightButton, "50", "Baud", 50},
        {"Bauds", Qt::RightButton, "45", "Baud", 45},
        {"Bauds", Qt::RightButton, "300", "Baud", 300},
        {"Code", Qt::LeftButton, "TLX", "TelexCod", 1},
        {"Uos", Qt::LeftButton, "UOS", "TelexUOS", 1},
        {"CrLf", Qt::LeftButton, "CRLF", "TelexCrl", -1},
        {"Mode", Qt::LeftButton, "ASCII7", "Data", 7},
    };
    auto window = StartOnPty();
    window->Lamp()->click();
    ASSERT_FALSE(window->Line().Line().IsOpen());
    for (const Step& step : steps) {
        Click(*window, step.panel, step.button);
        EXPECT_EQ(Panel(*window, step.panel), step.shown);
        EXPECT_EQ(Store(Context()).ReadInt(step.stored, -9), step.value) << step.shown;
        EXPECT_TRUE(window->Line().Line().IsOpen());
    }
    EXPECT_TRUE(window->Panels()->IsShown("Parity"));
    EXPECT_FALSE(window->Panels()->IsShown("Uos"));
    EXPECT_FALSE(window->Panels()->IsShown("Code"));
    EXPECT_TRUE(window->Panels()->IsShown("CrLf"));
    // ASCII text now reaches the pane unchanged.
    m_pty->Write("HELLO");
    EXPECT_TRUE(WaitUntil([&] { return PaneText(*window).find("HELLO") != std::string::npos; }))
        << PaneText(*window);
}

TEST_F(PanelsTest, PanelsKeepTheirWidthsAndNeverOverlapAtAnyWindowWidth) {
    auto window = StartOnPty();
    window->show();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    for (int width : {626, 700, 1400}) {
        window->resize(width, 400);
        QApplication::processEvents();
        int right = 0;
        for (const PanelSpec& layout : StatusPanelSpecs()) {
            const StatusPanel* panel = window->Panels()->Panel(layout.key);
            if (panel->isHidden()) continue;
            const QRect r = panel->geometry();
            const bool text = std::string(layout.key) == "Text";
            EXPECT_EQ(r.left(), right) << layout.key << " at " << width;  // in order, no overlap
            // Tall enough for a line of text, even before any text was shown.
            EXPECT_GE(r.height(), panel->fontMetrics().height()) << layout.key;
            if (text) {
                EXPECT_GE(r.width(), TwipsToPixels(847, dpi)) << width;
            } else {
                EXPECT_EQ(r.width(), TwipsToPixels(layout.widthTwips, dpi))
                    << layout.key << " at " << width;
            }
            right = r.right() + 1;
        }
    }
}

// The pane's keys reach the reception (what a pause holds: its own tests).
TEST_F(PanelsTest, PauseAndCtrlAPauseEscapeAndCtrlCResume) {
    auto window = StartOnPty();
    TerminalPane* pane = window->Pane();
    for (const auto& [key, modifier, resume] :
         {std::tuple{Qt::Key_Pause, Qt::NoModifier, Qt::Key_Escape},
          {Qt::Key_A, Qt::ControlModifier, Qt::Key_C}}) {
        QTest::keyClick(pane, key, modifier);
        EXPECT_EQ(Panel(*window, "Status"), "PAUSE");
        EXPECT_TRUE(window->Receiver()->State().Paused);
        QTest::keyClick(pane, resume, modifier);
        EXPECT_FALSE(window->Receiver()->State().Paused);
        EXPECT_EQ(Panel(*window, "Status"), "CONNECTED");
    }
}

TEST_F(PanelsTest, MouseSelectionGoesToTheClipboardAndCaretReturnsToTheEnd) {
    auto window = StartOnPty();
    window->resize(700, 400);
    window->show();
    QGuiApplication::clipboard()->clear();
    QWidget* viewport = window->Pane()->viewport();
    const QRect first = window->Pane()->cursorRect(QTextCursor(window->Pane()->document()));
    QTest::mousePress(viewport, Qt::LeftButton, {}, first.center() + QPoint(0, 0));
    QTest::mouseMove(viewport, first.center() + QPoint(200, 20));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, first.center() + QPoint(200, 20));
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_FALSE(copied.isEmpty());
    EXPECT_TRUE(window->Pane()->toPlainText().contains(copied.trimmed()));
    EXPECT_FALSE(window->Pane()->textCursor().hasSelection());
    EXPECT_TRUE(window->Pane()->textCursor().atEnd());
}

TEST_F(PanelsTest, ClearEmptiesThePane) {
    auto window = StartOnPty();
    ASSERT_FALSE(PaneText(*window).empty());
    window->ToolBarClick("Clear");
    EXPECT_TRUE(PaneText(*window).empty());
}

TEST_F(PanelsTest, FunctionKeyMacroGoesOutAndShowsItsLabel) {
    auto window = StartOnPty();
    Store(Context()).WriteText("F5S", "/41/42");
    QTest::keyClick(window->Pane(), Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(Panel(*window, "Time"), "F5S ");
    EXPECT_EQ(m_pty->Read(2), "AB");
}

}  // namespace
}  // namespace dovrel::test
