// The weather display control in the terminal: created at start-up through
// the component loader (the real libNimboview.so), its modes and placement,
// the "Synop" button, received blocks reaching the decoder window, the
// geometry stored at shutdown, and the terminal without the control.
#include <unistd.h>

#include <QAction>
#include <QTest>
#include <QToolButton>
#include <tuple>

#include "terminal_pane.h"
#include "weather_control.h"
#include "weather_fixture.h"

namespace dovrel::test {
namespace {

const std::string kWeatherMissing =
    "Weather Control (libNimboview.so) not found\r\nSynop decoder will not be available";

// Two short bulletins as a teleprinter sends them in ASCII: a land station
// (Bjornoya, 1.2 degrees) and a second one; CR CR LF line ends.
const std::string kBulletin =
    "ZCZC\r\r\nSMNO92 DNMI 100600\r\r\nAAXX 10061\r\r\n"
    "01028 41470 40319 10012 21002 39996 40016 52015 70262 83260=\r\r\n"
    "\r\r\nNNNN\r\r\n";

// Placement values are kept in twips but windows sit on whole pixels
// (15 twips at 96 dpi).
void ExpectNear(std::int32_t actual, std::int32_t expected, const char* what) {
    EXPECT_LE(std::abs(actual - expected), 15) << what << ": " << actual << " vs " << expected;
}

class WeatherGeometryTest : public ::testing::Test {};

TEST_F(WeatherGeometryTest, StoredPlacementIsCheckedAgainstTheScreen) {
    struct Case {
        StoredWeatherPlacement stored;
        TwipsRect expected;
        const char* what;
    };
    // Screen 15360 x 11520 twips (1024 x 768 at 96 dpi): limits 15260, 11420.
    const Case cases[] = {
        {{}, {100, 600, 9390, 6510}, "defaults"},
        {{15260, 11420, 15260, 11420}, {15260, 11420, 15260, 11420}, "at the limits"},
        {{15261, 500, 8000, 5000}, {100, 500, 8000, 5000}, "Xa too large"},
        {{200, 11421, 8000, 5000}, {200, 600, 8000, 5000}, "Ya too large: design top"},
        {{200, 300, 15261, 11421}, {200, 300, 9390, 6510}, "Wa, Ha too large: design size"},
        {{200, 300, 0, -5}, {200, 300, 9390, 6510}, "no size: design size"},
        {{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {100, 600, 9390, 6510}, "extremes"},
    };
    for (const Case& c : cases) {
        const TwipsRect r = PlaceWeatherWindow(c.stored, 15360, 11520);
        EXPECT_EQ(std::tie(r.X, r.Y, r.W, r.H),
                  std::tie(c.expected.X, c.expected.Y, c.expected.W, c.expected.H))
            << c.what;
    }
    // First use: beside the main window, right, else left, else at the
    // screen's right edge; at most half a screen wide.
    EXPECT_EQ(FirstWeatherWidth(28800), 9390);
    EXPECT_EQ(FirstWeatherWidth(15360), 7380);
    EXPECT_EQ(WeatherLeftBeside(10, 7380, 7380, 15360), 7540);
    EXPECT_EQ(WeatherLeftBeside(20000, 8000, 8000, 28800), 11850);
    EXPECT_EQ(WeatherLeftBeside(1000, 14000, 9000, 15360), 6360);
}

// The first start: the control made hidden with the terminal's modes, the
// main window takes the weather window's size, and the weather window goes
// beside it (the offscreen screen is 800 pixels wide).
TEST_F(WeatherWindowTest, StartCreatesTheControlHiddenAndTheWindowTakesItsSize) {
    Store(Context()).WriteInt("Wa", 5000);
    Store(Context()).WriteInt("Ha", 5010);
    auto window = StartOnPty();
    ASSERT_TRUE(window->WeatherAvailable());
    EXPECT_FALSE(m_box.Saw(kWeatherMissing));
    EXPECT_TRUE(window->Action(Command::Synop)->isEnabled());
    nimbo::IWeatherDialog* weather = window->Weather();
    std::string node;
    weather->get_NodeName(&node);
    EXPECT_EQ(node, "T1");
    std::int32_t value = 0, width = 0, height = 0;
    weather->get_LogStart(&value);
    EXPECT_NE(value, 0);
    weather->get_DecoderRelax(&value);
    EXPECT_NE(value, 0);
    weather->get_Show(&value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(TopLevel("Weather Decoder"), nullptr);  // made hidden
    weather->get_Width(&width);
    weather->get_Height(&height);
    ExpectNear(width, 5000, "Wa");
    ExpectNear(height, 5010, "Ha");
    ExpectNear(PixelsToTwips(window->geometry().width(), window->logicalDpiX()), 5000, "W");
    ExpectNear(PixelsToTwips(window->geometry().height(), window->logicalDpiY()), 5010, "H");
    std::int32_t left = 0;
    weather->get_Left(&left);
    EXPECT_GE(left, PixelsToTwips(window->geometry().right(), window->logicalDpiX()));
}

// (Placements off the screen: WeatherGeometryTest, on the placement rule itself.)
TEST_F(WeatherWindowTest, PlacementIsStoredAtShutdown) {
    const std::pair<const char*, std::int32_t> stored[] = {
        {"Xa", 1500}, {"Ya", 1200}, {"Wa", 7500}, {"Ha", 4500}};
    for (const auto& [key, value] : stored) Store(Context()).WriteInt(key, value);
    {
        auto window = StartOnPty();
        std::int32_t left = 0, top = 0;
        window->Weather()->get_Left(&left);
        window->Weather()->get_Top(&top);
        ExpectNear(left, 1500, "Left");
        ExpectNear(top, 1200, "Top");
        window->Weather()->put_Left(3000);
        window->Shutdown();
        EXPECT_EQ(window->Weather(), nullptr);  // destroyed and released
    }
    for (const auto& [key, value] : stored)
        ExpectNear(Store(Context()).ReadInt(key, -1), key == std::string("Xa") ? 3000 : value, key);
}

TEST_F(WeatherWindowTest, SynopSwitchesAutoSynopOnAndShowsTheWindow) {
    auto window = StartAscii(false);
    EXPECT_FALSE(window->Settings().AutoSynop);
    window->Run(Command::Synop);
    EXPECT_TRUE(window->Settings().AutoSynop);
    std::int32_t shown = 0;
    window->Weather()->get_Show(&shown);
    EXPECT_NE(shown, 0);
    EXPECT_NE(TopLevel("Weather Decoder"), nullptr);
    EXPECT_EQ(Store(Context()).ReadInt("AutoSynop", 7), 0);  // not stored
}

// A NUL byte in the text does not cut the block off either.
TEST_F(WeatherWindowTest, BlocksReachTheDecoderWhileTheTerminalIsPaused) {
    auto window = StartAscii(true);
    QTest::keyClick(window->Pane(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(window->Receiver()->State().Paused);
    std::string text = kBulletin;
    text.insert(text.find("AAXX"), 1, '\0');
    m_pty->Write(text);
    EXPECT_TRUE(WaitUntil([] { return DecoderText().contains("Bjornoya"); }))
        << DecoderText().toStdString();
    EXPECT_EQ(PaneText(*window).find("AAXX"), std::string::npos);  // the pane waits
}

// Ctrl+plus in the decoder window is in the instance's settings at once (a
// killed terminal keeps it) and zooms the window again at the next start.
TEST_F(WeatherWindowTest, DecoderZoomIsStoredAtOnceAndComesBackAtTheNextStart) {
    const auto points = [] {
        return TopLevel("Weather Decoder")
            ->findChild<QTextEdit*>()
            ->document()
            ->defaultFont()
            .pointSize();
    };
    auto window = StartOnPty();
    window->Run(Command::Synop);
    QWidget* decoder = TopLevel("Weather Decoder");
    decoder->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(decoder));
    const int normal = points();
    for (const Qt::Key key : {Qt::Key_Equal, Qt::Key_Equal, Qt::Key_Equal, Qt::Key_Minus})
        QTest::keyClick(decoder, key, Qt::ControlModifier);
    EXPECT_EQ(Store(Context()).ReadInt("DecoderFontZoom", 0), 2);
    window->Shutdown();
    window = StartOnPty();
    window->Run(Command::Synop);
    EXPECT_EQ(points(), normal + 2);
}

// A control that records the text it is given; Create reports `status`.
struct RecordingControl : nimbo::IWeatherDialog {
    std::uint32_t refs = 1;
    int destroyed = 0;
    std::int32_t status = 1;
    std::vector<std::string> parsed;
    std::string archive = "(never put)";
    std::uint32_t AddRef() override { return ++refs; }
    std::uint32_t Release() override { return --refs; }
    nimbo::HRESULT Create(std::int32_t, std::int32_t* status) override {
        *status = this->status;
        return nimbo::S_OK;
    }
    nimbo::HRESULT Destroy(std::int32_t) override {
        ++destroyed;
        return nimbo::S_OK;
    }
#define NIMBO_ANSWER(name, type, putType)                                \
    nimbo::HRESULT get_##name(type*) override { return nimbo::S_FALSE; } \
    nimbo::HRESULT put_##name(putType) override { return nimbo::S_OK; }
    NIMBO_ANSWER(Show, std::int32_t, std::int32_t)
    NIMBO_ANSWER(BackColor, nimbo::OleColor, nimbo::OleColor)
    NIMBO_ANSWER(Top, std::int32_t, std::int32_t)
    NIMBO_ANSWER(Left, std::int32_t, std::int32_t)
    NIMBO_ANSWER(Width, std::int32_t, std::int32_t)
    NIMBO_ANSWER(Height, std::int32_t, std::int32_t)
    NIMBO_ANSWER(FontSize, std::int32_t, std::int32_t)
    NIMBO_ANSWER(FontZoom, std::int32_t, std::int32_t)
    NIMBO_ANSWER(MessageLock, std::int32_t, std::int32_t)
    NIMBO_ANSWER(DecoderLock, std::int32_t, std::int32_t)
    NIMBO_ANSWER(DecoderRelax, std::int32_t, std::int32_t)
    NIMBO_ANSWER(DecoderResyn, std::int32_t, std::int32_t)
    NIMBO_ANSWER(DecoderQuiet, std::int32_t, std::int32_t)
    NIMBO_ANSWER(LogStart, std::int32_t, std::int32_t)
    NIMBO_ANSWER(Caption, std::string, const std::string&)
    NIMBO_ANSWER(Font, std::string, const std::string&)
    nimbo::HRESULT get_LogPathName(std::string* value) override {
        *value = "/work/Data";
        return nimbo::S_OK;
    }
    nimbo::HRESULT put_LogPathName(const std::string&) override { return nimbo::S_OK; }
    NIMBO_ANSWER(LogFileName, std::string, const std::string&)
    NIMBO_ANSWER(NodeName, std::string, const std::string&)
    nimbo::HRESULT get_ArchiveFile(std::string*) override { return nimbo::S_FALSE; }
    nimbo::HRESULT put_ArchiveFile(const std::string& file) override {
        archive = file;
        return nimbo::S_OK;
    }
#undef NIMBO_ANSWER
    nimbo::HRESULT Advise(nimbo::_IWeatherDialogEvents*, std::uint32_t*) override {
        return nimbo::E_NOTIMPL;
    }
    nimbo::HRESULT Unadvise(std::uint32_t) override { return nimbo::E_NOTIMPL; }
    nimbo::HRESULT Parse(const char* data) override {
        parsed.emplace_back(data);
        return nimbo::S_OK;
    }
};

// Without the component: the box, a disabled "Synop", nothing stored.
class WeatherMissingTest : public WindowTest {};

TEST_F(WeatherMissingTest, TerminalRunsWithoutTheControl) {
    auto window = StartOnPty();
    EXPECT_FALSE(window->WeatherAvailable());
    EXPECT_EQ(window->Weather(), nullptr);
    ASSERT_FALSE(m_box.shown.empty());
    const auto& box = m_box.shown.front();
    EXPECT_EQ(std::tie(box.text, box.title, box.buttons, box.icon),
              std::make_tuple(kWeatherMissing, std::string(), BoxButtons::Ok, BoxIcon::None));
    EXPECT_FALSE(window->Action(Command::Synop)->isEnabled());
    window->Run(Command::Synop);
    EXPECT_FALSE(window->Settings().AutoSynop);
    // First start without the control: the design-time size.
    ExpectNear(PixelsToTwips(window->geometry().width(), window->logicalDpiX()), 9390, "W");
    window->Shutdown();
    EXPECT_EQ(Store(Context()).ReadInt("Xa", -1), -1);
    EXPECT_EQ(Store(Context()).ReadInt("Wa", -1), -1);
}

TEST_F(WeatherMissingTest, ControlWithoutDecoderCountsAsMissing) {
    RecordingControl control;
    control.status = 0;  // no decoding library
    createWeather = [&control](std::string*) { return WeatherDialogRef(&control); };
    auto window = StartOnPty();
    EXPECT_FALSE(window->WeatherAvailable());
    EXPECT_TRUE(m_box.Saw(kWeatherMissing));
    EXPECT_FALSE(window->Action(Command::Synop)->isEnabled());
    EXPECT_EQ(control.refs, 0u);  // released at once
    EXPECT_EQ(control.destroyed, 1);
    window->Shutdown();
    EXPECT_EQ(Store(Context()).ReadInt("Xa", -1), -1);
}

// What the terminal hands the control, seen from the control's side.
class WeatherCallsTest : public WindowTest {
  protected:
    std::unique_ptr<Quarnel> StartWith(RecordingControl& control) {
        Store(Context()).WriteInt("AutoSynop", 1);
        control.AddRef();  // the test keeps its own reference
        createWeather = [&control](std::string*) { return WeatherDialogRef(&control); };
        return StartOnPty();
    }
};

TEST_F(WeatherCallsTest, RawTextGoesUnfilteredAndShutdownDestroysTheControl) {
    RecordingControl control;
    auto window = StartWith(control);
    m_pty->Write("\x1f");  // a letters shift alone decodes to nothing
    ASSERT_TRUE(WaitUntil([&] { return !control.parsed.empty(); }));
    EXPECT_EQ(control.parsed.front(), "");
    // R Y CR CR LF: the line ends as received, before the CR/LF clean-up.
    m_pty->Write("\x0a\x15\x08\x08\x02");
    std::string all;
    EXPECT_TRUE(WaitUntil([&] {
        all.clear();
        for (const std::string& block : control.parsed) all += block;
        return all.size() >= 5;
    }));
    EXPECT_EQ(all, "RY\r\r\n");
    window->Shutdown();
    EXPECT_EQ(control.destroyed, 1);
    window.reset();
    EXPECT_EQ(control.refs, 1u);  // the terminal let its reference go
}

// Reports go to the instance's archive in the decoder's Data folder unless
// the options dialog switched that off.
TEST_F(WeatherCallsTest, ReportsAreKeptInTheInstancesArchiveUnlessSwitchedOff) {
    for (const bool on : {true, false}) {
        Store(Context()).WriteInt("ObsArchive", on ? 1 : 0);
        RecordingControl control;
        auto window = StartWith(control);
        EXPECT_EQ(window->Settings().ObsArchive, on);
        EXPECT_EQ(control.archive, on ? "/work/Data/T1.sqlite" : "");
        window->Shutdown();
    }
}

}  // namespace
}  // namespace dovrel::test
