// The decoder window as a desktop treats it: geometry put by the host and read
// back over several starts, and a found report that shows the window without
// undoing what the user did with it. display_tests runs these without a
// window manager (offscreen), display_wm_tests under openbox on Xvfb.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>
#include <array>
#include <ostream>

#include "decoder_window.h"
#include "fake_decoder.h"
#include "status_panes.h"

namespace nimboview::testing {
namespace {

bool UnderWindowManager() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

// Lets a window manager frame, place and size the window, and waits until
// its frame stops changing. The wait for the frame ends as soon as it is
// there; its limit is generous, as a window manager on a busy machine may
// take seconds to frame a window.
void Settle(QWidget& window) {
    if (UnderWindowManager() && window.isVisible() && !window.isMinimized()) {
        static_cast<void>(
            QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 20000));
    }
    QRect last;
    for (int i = 0; i < 20 && last != window.frameGeometry(); ++i) {
        last = window.frameGeometry();
        QTest::qWait(UnderWindowManager() ? 150 : 1);
    }
}

// How the window was seen during one run of the host.
enum class Seen { kNever, kShowPut, kIndicator, kShownThenClosed };

struct PlacementCase {
    const char* name;
    Seen seen;
};

void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.name; }

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

// The host puts Left, Top, Width and Height at start and reads them back at
// exit: three starts in a row must find the values they began with.
TEST_P(PlacementTest, GeometryReadBackEqualsWhatWasPut) {
    // Twips that are not whole pixels come back as well.
    const std::array<std::int32_t, 4> stored = {1507, 1203, 10500, 9751};
    for (int start = 1; start <= 3; ++start) {
        FakeControl control;
        WeatherDialog& dialog = *control.dialog;
        std::int32_t status = 0;
        ASSERT_EQ(dialog.Create(0, &status), nimbo::S_OK);
        dialog.put_Left(stored[0]);
        dialog.put_Top(stored[1]);
        dialog.put_Width(stored[2]);
        dialog.put_Height(stored[3]);
        DecoderWindow& window = *dialog.Window();
        if (GetParam().seen == Seen::kIndicator) control.decoder->sink->Indicator("AAXX");
        if (GetParam().seen != Seen::kNever && GetParam().seen != Seen::kIndicator) {
            dialog.put_Show(-1);
        }
        Settle(window);
        if (UnderWindowManager() && GetParam().seen != Seen::kNever) {
            ASSERT_NE(window.frameGeometry(), window.geometry()) << "the window has no frame";
        }
        if (GetParam().seen == Seen::kShownThenClosed) window.close();
        std::array<std::int32_t, 4> read{};
        dialog.get_Left(&read[0]);
        dialog.get_Top(&read[1]);
        dialog.get_Width(&read[2]);
        dialog.get_Height(&read[3]);
        EXPECT_EQ(read, stored) << "start " << start;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, PlacementTest,
                         ::testing::Values(PlacementCase{"NeverShown", Seen::kNever},
                                           PlacementCase{"ShownByHost", Seen::kShowPut},
                                           PlacementCase{"ShownByReport", Seen::kIndicator},
                                           PlacementCase{"ClosedByUser", Seen::kShownThenClosed}),
                         [](const auto& info) { return std::string(info.param.name); });

class FoundReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::int32_t status = 0;
        ASSERT_EQ(m_control.dialog->Create(0, &status), nimbo::S_OK);
    }
    DecoderWindow& Window() { return *m_control.dialog->Window(); }
    void Found() {
        m_control.decoder->sink->Indicator("AAXX");
        Settle(Window());
    }
    FakeControl m_control;
};

// Reports arrive every few seconds: each shows a hidden window, but never
// restores a maximised or minimised one, and never takes the focus.
TEST_F(FoundReportTest, ShowsHiddenWindowKeepsMaximisedMinimisedAndFocus) {
    QWidget host;
    host.setWindowTitle(QStringLiteral("host"));
    host.setGeometry(600, 500, 200, 100);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host, 15000));
    Found();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowState(), Qt::WindowNoState);
    // Without a window manager every shown window is made active.
    if (UnderWindowManager()) {
        EXPECT_TRUE(host.isActiveWindow());
        EXPECT_FALSE(Window().isActiveWindow());
    }

    Window().showMaximized();
    Settle(Window());
    ASSERT_TRUE(Window().isMaximized());
    const QRect maximised = Window().frameGeometry();
    Found();
    EXPECT_TRUE(Window().isMaximized());
    EXPECT_EQ(Window().frameGeometry(), maximised);

    Window().showMinimized();
    Settle(Window());
    ASSERT_TRUE(Window().isMinimized());
    Found();
    EXPECT_TRUE(Window().isMinimized());
    EXPECT_EQ(Window().Panes()->Text(0), "Found AAXX Station");
}

}  // namespace
}  // namespace nimboview::testing
