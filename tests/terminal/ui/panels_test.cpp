// Status-panel clicks that change and store settings, and the pause keys.
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTextCursor>

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

TEST_F(PanelsTest, BaudsStepUpOnLeftAndDownOnRightAndAreStored) {
    auto window = StartOnPty();
    Click(*window, "Bauds");
    EXPECT_EQ(Panel(*window, "Bauds"), "75");
    EXPECT_EQ(Store(Context()).ReadInt("Baud", 0), 75);
    Click(*window, "Bauds", Qt::RightButton);
    Click(*window, "Bauds", Qt::RightButton);
    EXPECT_EQ(Panel(*window, "Bauds"), "45");
    EXPECT_EQ(Store(Context()).ReadInt("Baud", 0), 45);
    Click(*window, "Bauds", Qt::RightButton);
    EXPECT_EQ(Panel(*window, "Bauds"), "300");
}

TEST_F(PanelsTest, PanelsKeepTheirWidthsAndNeverOverlapAtAnyWindowWidth) {
    auto window = StartOnPty();
    window->show();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    for (int width : {626, 700, 1400}) {
        window->resize(width, 400);
        QApplication::processEvents();
        int right = 0;
        for (const PanelSpec& spec : StatusPanelSpecs()) {
            const StatusPanel* panel = window->Panels()->Panel(spec.key);
            if (panel->isHidden()) continue;
            const QRect r = panel->geometry();
            const bool text = std::string(spec.key) == "Text";
            EXPECT_EQ(r.left(), right) << spec.key << " at " << width;  // in order, no overlap
            if (text) {
                EXPECT_GE(r.width(), TwipsToPixels(847, dpi)) << width;
            } else {
                EXPECT_EQ(r.width(), TwipsToPixels(spec.widthTwips, dpi))
                    << spec.key << " at " << width;
            }
            right = r.right() + 1;
        }
    }
}

TEST_F(PanelsTest, ModeSwitchesLineCodeAndPanelsShown) {
    auto window = StartOnPty();
    Click(*window, "Mode");
    EXPECT_EQ(Panel(*window, "Mode"), "ASCII7");
    EXPECT_EQ(Store(Context()).ReadInt("Data", 0), 7);
    EXPECT_TRUE(window->Panels()->IsShown("Parity"));
    EXPECT_FALSE(window->Panels()->IsShown("Uos"));
    EXPECT_FALSE(window->Panels()->IsShown("Code"));
    EXPECT_TRUE(window->Panels()->IsShown("CrLf"));
    // ASCII text now reaches the pane unchanged.
    m_pty->Write("HELLO");
    EXPECT_TRUE(WaitUntil([&] { return PaneText(*window).find("HELLO") != std::string::npos; }))
        << PaneText(*window) << "|" << Panel(*window, "Status") << "|"
        << (m_box.shown.empty() ? "" : m_box.shown.back().text);
}

TEST_F(PanelsTest, ParityAndStopsStepAndClickWhileDisconnectedOpensThePort) {
    auto window = StartOnPty();
    window->Lamp()->click();  // disconnect
    ASSERT_FALSE(window->Line().Line().IsOpen());
    Click(*window, "Parity");
    EXPECT_EQ(Panel(*window, "Parity"), "O");
    EXPECT_EQ(Store(Context()).ReadInt("Parity", -1), 1);
    EXPECT_TRUE(window->Line().Line().IsOpen());
    Click(*window, "Stops");
    EXPECT_EQ(Panel(*window, "Stops"), "2");
    EXPECT_EQ(Store(Context()).ReadInt("Stop", -1), 2);
}

TEST_F(PanelsTest, TelexPanelsToggleAndStore) {
    auto window = StartOnPty();
    Click(*window, "Code");
    EXPECT_EQ(Panel(*window, "Code"), "TLX");
    EXPECT_EQ(Store(Context()).ReadInt("TelexCod", -1), 1);
    Click(*window, "Uos");
    EXPECT_EQ(Panel(*window, "Uos"), "UOS");
    EXPECT_EQ(window->Panels()->Panel("Uos")->toolTip().toStdString(), "Unshift on space set");
    EXPECT_EQ(Store(Context()).ReadInt("TelexUOS", -1), 1);
    Click(*window, "CrLf");
    EXPECT_EQ(Panel(*window, "CrLf"), "CRLF");
    EXPECT_EQ(window->Panels()->Panel("CrLf")->toolTip().toStdString(), "CR/LF not processed");
    EXPECT_EQ(Store(Context()).ReadInt("TelexCrl", 0), -1);
}

TEST_F(PanelsTest, PanelToolTipsAndKeys) {
    auto window = MakeWindow();
    const auto& specs = StatusPanelSpecs();
    ASSERT_EQ(specs.size(), 12u);
    EXPECT_EQ(window->Panels()->Panel("Time")->toolTip().toStdString(),
              "Elapsed from first connection OR macro being executed");
    EXPECT_EQ(window->Panels()->Panel("Bauds")->toolTip().toStdString(), "Set Baud Rate");
    EXPECT_EQ(window->Panels()->Panel("Port")->width(), 71);  // 1058 twips at 96 dpi
}

TEST_F(PanelsTest, PauseHoldsTheDisplayAndEscapeShowsWhatCame) {
    auto window = StartOnPty();
    TerminalPane* pane = window->Pane();
    QTest::keyClick(pane, Qt::Key_Pause);
    EXPECT_EQ(Panel(*window, "Status"), "PAUSE");
    QTest::keyClick(pane, Qt::Key_X);
    EXPECT_EQ(Panel(*window, "Status"), "PAUSE");
    m_pty->Write("\x1f\x0a\x15\x0a\x15");  // RYRY
    EXPECT_TRUE(
        WaitUntil([&] { return Panel(*window, "Text").find("RYRY") != std::string::npos; }));
    EXPECT_EQ(PaneText(*window).find("RYRY"), std::string::npos);
    QTest::keyClick(pane, Qt::Key_Escape);
    EXPECT_EQ(Panel(*window, "Status"), "CONNECTED");
    EXPECT_TRUE(WaitUntil([&] { return PaneText(*window).find("RYRY") != std::string::npos; }));
}

TEST_F(PanelsTest, CtrlAPausesAndCtrlCResumes) {
    auto window = StartOnPty();
    QTest::keyClick(window->Pane(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(window->Receiver()->State().Paused);
    QTest::keyClick(window->Pane(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(window->Receiver()->State().Paused);
    EXPECT_EQ(Panel(*window, "Status"), "CONNECTED");
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
    EXPECT_EQ(m_pty->Read(), "AB");
}

}  // namespace
}  // namespace dovrel::test
