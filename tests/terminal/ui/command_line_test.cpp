// The command line, the names derived from the instance, and the geometry
// rules, without a window.
#include "command_line.h"

#include <gtest/gtest.h>

#include "test_name.h"
#include "window_geometry.h"

namespace dovrel {
namespace {

struct CommandCase {
    const char* text;
    CommandAction action;
    const char* instance;
};

class CommandLineTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandLineTest, ReadsActionAndInstance) {
    const CommandCase& c = GetParam();
    const CommandLine line = ParseCommandLine(c.text);
    EXPECT_EQ(line.Action, c.action) << c.text;
    EXPECT_EQ(line.InstanceName, c.instance) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTest,
    ::testing::Values(CommandCase{"", CommandAction::Run, ""},
                      CommandCase{"  NORTH  ", CommandAction::Run, "NORTH"},
                      CommandCase{"North Sea 2", CommandAction::Run, "North Sea 2"},
                      CommandCase{"NORTH -reset", CommandAction::Reset, "NORTH"},
                      CommandCase{"-reset NORTH", CommandAction::Reset, "NORTH"},
                      CommandCase{"-clean", CommandAction::Clean, ""},
                      CommandCase{"SOUTH -clean", CommandAction::Clean, "SOUTH"},
                      CommandCase{"-reset -clean", CommandAction::Usage, ""},
                      CommandCase{"NORTH -reset x-", CommandAction::Usage, ""},
                      CommandCase{"station-cleaner", CommandAction::Run, "station-cleaner"},
                      CommandCase{"NORTH -resetx", CommandAction::Run, "NORTH -resetx"},
                      CommandCase{"A-reset -clean", CommandAction::Usage, ""},
                      CommandCase{"-?", CommandAction::Usage, ""},
                      CommandCase{"NORTH -? -reset", CommandAction::Usage, ""},
                      CommandCase{"A-B", CommandAction::Run, "A-B"}),
    [](const auto& info) { return testsupport::TestName(info.param.text); });

TEST(CommandLine, JoinsArgumentsWithBlanks) {
    EXPECT_EQ(JoinArguments({"NORTH", "-reset"}), "NORTH -reset");
    EXPECT_EQ(JoinArguments({}), "");
}

TEST(CommandLine, HelpRequestsOfLinuxUsers) {
    EXPECT_TRUE(AsksForHelp({"--help"}));
    EXPECT_TRUE(AsksForHelp({"NORTH", "-h"}));
    EXPECT_FALSE(AsksForHelp({"-help-desk"}));
    EXPECT_FALSE(AsksForHelp({"NORTH"}));
}

// The usage names this program and its settings files, one option a line.
TEST(CommandLine, UsageNamesTheProgramAndItsSettingsFile) {
    const std::string usage = UsageText("/home/u/.config/Pelmora Software");
    EXPECT_EQ(usage.rfind("Usage:\tdovrel [NAME] [-reset | -clean]\r\n", 0), 0u);
    EXPECT_NE(usage.find("/home/u/.config/Pelmora Software/Quarnel.ini"), std::string::npos);
    EXPECT_EQ(usage.find("EXE"), std::string::npos);
    EXPECT_EQ(usage.find("egistry"), std::string::npos);
    const std::string columns = UsageColumns(usage);
    EXPECT_NE(columns.find("\n-reset          puts"), std::string::npos) << columns;
    EXPECT_EQ(columns.find_first_of("\r\t"), std::string::npos);
}

TEST(Names, ContextCaptionAndTitle) {
    EXPECT_EQ(ContextNameOf(""), "Quarnel");
    EXPECT_EQ(ContextNameOf("NORTH"), "Quarnel - NORTH");
    EXPECT_EQ(InstanceSuffixOf(""), "");
    EXPECT_EQ(WindowCaption(""), "Quarnel 1.0.0");
    EXPECT_EQ(WindowCaption("NORTH"), "Quarnel 1.0.0 - NORTH");
    EXPECT_EQ(ApplicationTitle(), "Quarnel Terminal 1.0.0");
}

TEST(Geometry, TwipsAndPixelsAtTheScreensDpi) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(9390, 96), 626);
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
    EXPECT_EQ(PixelsToTwips(96, 96), 1440);
    EXPECT_EQ(PixelsToTwips(626, 96), 9390);
    EXPECT_EQ(TwipsToPixels(1440, 0), 96);  // unknown DPI counts as 96
}

TEST(Geometry, StoredPlacementIsCheckedAgainstTheScreen) {
    const std::int32_t width = PixelsToTwips(1024, 96), height = PixelsToTwips(768, 96);
    TwipsRect r = PlaceMainWindow({100000, 100000, 9390, 6510}, width, height);
    EXPECT_EQ(r.X, 100);
    EXPECT_EQ(r.Y, kDesignWindow.Y);
    r = PlaceMainWindow({500, 700, 20000, 30000}, width, height);
    EXPECT_EQ(r.X, 500);
    EXPECT_EQ(r.Y, 700);
    EXPECT_EQ(r.W, 20000);  // sizes are not checked against the screen
    EXPECT_EQ(r.H, 30000);
    r = PlaceMainWindow({10, 10, 0, -5}, width, height);
    EXPECT_EQ(r.W, kDesignWindow.W);
    EXPECT_EQ(r.H, kDesignWindow.H);
}

}  // namespace
}  // namespace dovrel
