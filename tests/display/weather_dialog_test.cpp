// The control object: creation with and without a decoder, forwarding of the
// modes and log settings, LogStart's roll-back, geometry, and the component
// library refusing what it does not make.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdint>

#include "component_loader.h"
#include "fake_decoder.h"
#include "rich_text_pane.h"

namespace nimboview::testing {
namespace {

using ::testing::ElementsAre;

class WeatherDialogTest : public ControlTest {
  protected:
    // The log commands and the title once the logs are open or closed.
    void ExpectLogOpen(bool open, const QString& title) {
        EXPECT_EQ(Action(ToolCommand::kOpenLog)->isEnabled(), !open);
        EXPECT_EQ(Action(ToolCommand::kCloseLog)->isEnabled(), open);
        EXPECT_EQ(Window().windowTitle(), title);
    }
};

// Before Create: members needing the window answer S_FALSE; null out
// pointers are refused before and after.
TEST_F(WeatherDialogTest, MembersNeedingWindowAnswerFalseBeforeCreate) {
    std::int32_t value = 0;
    EXPECT_EQ(Dialog().Parse("AAXX"), nimbo::S_FALSE);
    EXPECT_EQ(Dialog().put_Show(1), nimbo::S_FALSE);
    EXPECT_EQ(Dialog().put_NodeName("x"), nimbo::S_FALSE);
    EXPECT_EQ(Dialog().put_LogStart(1), nimbo::S_FALSE);
    EXPECT_EQ(Dialog().get_Top(&value), nimbo::S_FALSE);
    EXPECT_EQ(m_control.decoder, nullptr);
    EXPECT_EQ(Dialog().get_Show(nullptr), nimbo::E_POINTER);
    EXPECT_EQ(Dialog().get_Caption(nullptr), nimbo::E_POINTER);
    Create();
    EXPECT_EQ(Dialog().get_MessageLock(nullptr), nimbo::E_POINTER);
    EXPECT_EQ(Dialog().Parse(nullptr), nimbo::E_POINTER);
}

TEST_F(WeatherDialogTest, CreateConnectsAndShowsDecoderSettings) {
    std::int32_t status = 0;
    ASSERT_EQ(Dialog().Create(0, &status), nimbo::S_OK);
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_NE(Decoder().sink, nullptr);
    EXPECT_THAT(Decoder().calls,
                ElementsAre("Advise", "put_DecoderResyn 0", "put_MessageLock 0",
                            "put_DecoderLock 1", "put_DecoderRelax 0", "put_DecoderQuiet 0"));
    EXPECT_EQ(QStringList({Pane(0), Pane(2), Pane(3), Pane(4), Pane(5)}),
              QStringList({"Waiting ...", "M:UNLOCK      ", "D:LOCK        ", "D:STRICT      ",
                           "D:VERBOSE     "}));
    EXPECT_EQ(Window().windowTitle(), "Weather Decoder");
    EXPECT_TRUE(m_control.prompts->boxes.empty());
}

TEST_F(WeatherDialogTest, SecondCreateOnlyShowsAndShowPutShowsAndHides) {
    Create();
    FakeDecoder* first = m_control.decoder;
    std::int32_t status = 0;
    EXPECT_EQ(Dialog().Create(1, &status), nimbo::S_OK);
    EXPECT_EQ(m_control.decoder, first);
    EXPECT_TRUE(Window().isVisible());
    std::int32_t shown = 0;
    Dialog().get_Show(&shown);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Dialog().put_Show(0), nimbo::S_OK);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Dialog().put_Show(-1), nimbo::S_OK);
    EXPECT_TRUE(Window().isVisible());
}

struct ModeCase {
    nimbo::HRESULT (WeatherDialog::*put)(std::int32_t);
    int pane;
    const char* on;
    const char* off;
    const char* call;
};

void PrintTo(const ModeCase& c, std::ostream* out) { *out << c.call; }

class ModePutTest : public WeatherDialogTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModePutTest, WritesPaneAndForwards) {
    Create();
    const ModeCase& c = GetParam();
    EXPECT_EQ((Dialog().*c.put)(-1), nimbo::S_OK);
    EXPECT_EQ(Pane(c.pane), c.on);
    EXPECT_EQ((Dialog().*c.put)(0), nimbo::S_OK);
    EXPECT_EQ(Pane(c.pane), c.off);
    EXPECT_THAT(Decoder().calls,
                ElementsAre(std::string(c.call) + " 1", std::string(c.call) + " 0"));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModePutTest,
    ::testing::Values(ModeCase{&WeatherDialog::put_MessageLock, 2, "M:LOCK        ",
                               "M:UNLOCK      ", "put_MessageLock"},
                      ModeCase{&WeatherDialog::put_DecoderLock, 3, "D:LOCK        ",
                               "D:UNLOCK      ", "put_DecoderLock"},
                      ModeCase{&WeatherDialog::put_DecoderRelax, 4, "D:RELAX       ",
                               "D:STRICT      ", "put_DecoderRelax"},
                      ModeCase{&WeatherDialog::put_DecoderResyn, 0, "Resync  ...", "Waiting ...",
                               "put_DecoderResyn"},
                      ModeCase{&WeatherDialog::put_DecoderQuiet, 5, "D:QUIET       ",
                               "D:VERBOSE     ", "put_DecoderQuiet"}),
    [](const auto& info) { return std::string(info.param.call).substr(4); });

TEST_F(WeatherDialogTest, LogStartOpensBothLogsSwapsCommandsAndTitles) {
    Create();
    EXPECT_EQ(Dialog().put_LogStart(-1), nimbo::S_OK);
    EXPECT_THAT(Decoder().calls, ElementsAre("put_LogRaw 1", "put_LogText 1"));
    ExpectLogOpen(true, "Weather Decoder - 261206-2200");
    std::int32_t value = 0;
    Dialog().get_LogStart(&value);
    EXPECT_EQ(value, 1);
    // Closing answers S_OK although the decoder reports its logs as not open.
    EXPECT_EQ(Dialog().put_LogStart(0), nimbo::S_OK);
    ExpectLogOpen(false, "Weather Decoder");
    // A caption replaces the title's first part; the log name follows it.
    Dialog().put_Caption("Synop");
    Dialog().put_LogFileName("mylog");
    EXPECT_EQ(Window().windowTitle(), "Synop");
    Dialog().put_LogStart(1);
    EXPECT_EQ(Window().windowTitle(), "Synop - mylog");
}

TEST_F(WeatherDialogTest, LogStartFailureRollsBackBothLogs) {
    Create();
    Decoder().failTextLog = true;
    EXPECT_EQ(Dialog().put_LogStart(1), nimbo::E_ACCESSDENIED);
    EXPECT_THAT(Decoder().calls,
                ElementsAre("put_LogRaw 1", "put_LogText 1", "put_LogRaw 0", "put_LogText 0"));
    ExpectLogOpen(false, "Weather Decoder");
}

// A log the decoder closed on a failed write (a full disk) is reported once,
// in a box from the event loop, and can be opened again.
TEST_F(WeatherDialogTest, ALogFailureIsReportedOnceFromTheEventLoop) {
    Create();
    Dialog().put_LogStart(1);
    Decoder().logFailures = "Cannot write the log file Data/x.wmo: No space left on device";
    Decoder().logRaw = Decoder().logText = 0;
    Dialog().Parse("AAXX 06121");
    Dialog().Parse("01001 NIL=");
    EXPECT_TRUE(m_control.prompts->boxes.empty());  // not while Parse runs
    QApplication::processEvents();
    ASSERT_EQ(m_control.prompts->boxes.size(), 1u);
    EXPECT_EQ(m_control.prompts->boxes[0].title, "Weather Decoder Log Error");
    EXPECT_TRUE(m_control.prompts->boxes[0].text.startsWith(
        QString::fromStdString("Cannot write the log file Data/x.wmo: No space left on device\n")));
    ExpectLogOpen(false, "Weather Decoder");
}

TEST_F(WeatherDialogTest, NodeNameRenewsLogFileName) {
    Create();
    Decoder().logFile = "node-261206-2200";
    EXPECT_EQ(Dialog().put_NodeName("node"), nimbo::S_OK);
    EXPECT_THAT(Decoder().calls,
                ElementsAre("put_NodeName node", "put_LogFileName node-261206-2200"));
    std::string name;
    Dialog().get_NodeName(&name);
    EXPECT_EQ(name, "node");
}

// Twips at the screen's dpi: 1440 to the inch.
TEST_F(WeatherDialogTest, GeometryInTwipsAtScreenDpi) {
    Create();
    const int dpiX = Window().logicalDpiX(), dpiY = Window().logicalDpiY();
    EXPECT_EQ(Dialog().put_Top(1440), nimbo::S_OK);
    Dialog().put_Left(2880);
    Dialog().put_Width(7200);
    Dialog().put_Height(4320);
    EXPECT_EQ(Window().frameGeometry(), QRect(2 * dpiX, dpiY, 5 * dpiX, 3 * dpiY));
    std::int32_t value = 0;
    Dialog().get_Width(&value);
    EXPECT_EQ(value, 7200);
}

// A zoom put before Create zooms the new window; zoom puts are fitted to
// 4..48 points and read back as fitted.
TEST_F(WeatherDialogTest, ColourFontAndZoomReachTextPane) {
    Dialog().put_FontZoom(3);
    Create();
    const auto points = [this] {
        return Window().TextPane()->document()->defaultFont().pointSize();
    };
    EXPECT_EQ(points(), 11);
    Dialog().put_BackColor(0x00FF8000);  // blue 255, green 128, red 0
    EXPECT_EQ(Window().TextPane()->palette().color(QPalette::Base), QColor(0, 128, 255));
    for (const auto& [put, fitted] : {std::pair{-5, -4}, {41, 40}, {INT32_MIN, -4}, {0, 0}}) {
        std::int32_t value = 99;
        Dialog().put_FontZoom(put);
        Dialog().get_FontZoom(&value);
        EXPECT_EQ(value, fitted) << put;
        EXPECT_EQ(points(), 8 + fitted);
    }
    Dialog().put_FontSize(12);
    EXPECT_EQ(points(), 12);
}

TEST_F(WeatherDialogTest, DestroyDisconnectsAndStopsLogging) {
    Create();
    Dialog().put_LogStart(1);
    Decoder().calls.clear();
    EXPECT_EQ(Dialog().Destroy(0), nimbo::S_OK);
    EXPECT_THAT(Decoder().calls, ElementsAre("Unadvise", "put_LogRaw 0", "put_LogText 0"));
    EXPECT_EQ(Decoder().sink, nullptr);
    EXPECT_EQ(Dialog().Window(), nullptr);
    EXPECT_EQ(Dialog().Parse("AAXX"), nimbo::S_FALSE);
    std::int32_t status = 1;
    EXPECT_EQ(Dialog().Create(0, &status), nimbo::S_FALSE);
}

class MissingDecoderTest : public ::testing::Test {
  protected:
    FakeControl m_control{false};
};

TEST_F(MissingDecoderTest, WarnsAndKeepsWindowAsViewer) {
    std::int32_t status = -1;
    EXPECT_EQ(m_control.dialog->Create(1, &status), nimbo::S_OK);
    EXPECT_EQ(status, 0);
    const auto& boxes = m_control.prompts->boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title + "|" + boxes[0].text,
              "Weather Decoder Error|libNimbolib.so: Component library libNimbolib.so not found");
    EXPECT_TRUE(m_control.dialog->Window()->isVisible());
    EXPECT_EQ(m_control.dialog->Parse("AAXX"), nimbo::S_FALSE);
    EXPECT_EQ(m_control.dialog->put_LogStart(1), nimbo::S_FALSE);
    // Modes still show; pane 0 keeps its start text as no settings were read.
    EXPECT_EQ(m_control.dialog->put_MessageLock(1), nimbo::S_FALSE);
    EXPECT_EQ(m_control.dialog->Window()->Panes()->Text(2), "M:LOCK        ");
    EXPECT_EQ(m_control.dialog->Window()->Panes()->Text(0), "");
}

// The component library loaded at run time refuses what it does not make.
// (Created by name with the real decoding library, the sample reaching its
// window and the map: the terminal's end-to-end test.)
TEST(ComponentLibraryTest, RefusesOtherClassesAndInterfaces) {
    std::string error;
    EXPECT_FALSE(nimbo::ComponentLoader::CreateObject(nimbo::kClsidWeatherDialog,
                                                      nimbo::kIidIWeatherDecoder, &error));
    EXPECT_THAT(error, ::testing::HasSubstr("has no interface"));
}

}  // namespace
}  // namespace nimboview::testing
