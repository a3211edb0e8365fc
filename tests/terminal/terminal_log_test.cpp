// The terminal log: names, the Data folder, appending, the replace question,
// display names, and failures reported with the system's error text.
#include "terminal_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "reception_fakes.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;
using testing::FakeClock;
using testing::ScriptedBox;
using testing::ScriptedChoice;

class LogFileTest : public ::testing::Test {
  protected:
    LogFileTest() {
        char pattern[] = "/tmp/dovrel-log-XXXXXX";
        dir = mkdtemp(pattern);
        clock.Set(2025, 12, 5, 9, 35, 12);
    }
    ~LogFileTest() override { fs::remove_all(dir); }

    TerminalLog MakeLog(const std::string& instance = "", fs::path work = {}) {
        return TerminalLog(instance, work.empty() ? dir : work, box, choice, clock);
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path dir;
    FakeClock clock;
    ScriptedBox box;
    ScriptedChoice choice;
};

TEST_F(LogFileTest, BaseNameFromInstanceAndLocalTime) {
    EXPECT_EQ(MakeLog().BaseName(), "251205-0935");
    EXPECT_EQ(MakeLog("NORTH").BaseName(), "NORTH-251205-0935");
    EXPECT_EQ(MakeLog("A/B").BaseName(), "A_B-251205-0935");
    clock.Set(2009, 1, 2, 23, 4, 0);
    EXPECT_EQ(MakeLog().BaseName(), "090102-2304");
}

TEST_F(LogFileTest, AutomaticLogGoesToTheDataFolder) {
    TerminalLog log = MakeLog("NORTH");
    ASSERT_TRUE(log.CreateLog(true));
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(log.LogPath(), "Data/NORTH-251205-0935.log");
    EXPECT_EQ(log.LogDialogName(), "NORTH-251205-0935.log");
    EXPECT_EQ(log.DisplayName(), "Data/NORTH-251205-0935.log");
    EXPECT_EQ(log.Caption("Quarnel 1.0.0 - NORTH"),
              "Data/NORTH-251205-0935.log - Quarnel 1.0.0 - NORTH");
    log.WriteLog("\r\nABC");
    // On disk at once, while the log is still open.
    EXPECT_EQ(Read(dir / "Data" / "NORTH-251205-0935.log"), "\r\nABC");
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(LogFileTest, SecondAutomaticLogInTheSameMinuteAppends) {
    TerminalLog log = MakeLog();
    ASSERT_TRUE(log.CreateLog(true));
    log.WriteLog("first");
    log.CloseLog();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.LogPath(), "");
    EXPECT_EQ(log.Caption("Quarnel 1.0.0"), "Quarnel 1.0.0");
    log.WriteLog("lost: no log open");
    ASSERT_TRUE(log.CreateLog(true));
    log.WriteLog(" second");
    EXPECT_EQ(Read(dir / "Data" / "251205-0935.log"), "first second");
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(LogFileTest, AutomaticLogFailsWhenDataIsNotAFolder) {
    Write(dir / "Data", "a file where the folder should be");
    TerminalLog log = MakeLog();
    EXPECT_FALSE(log.CreateLog(true));
    EXPECT_FALSE(log.IsOpen());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Cannot open the log file Data/251205-0935.log: Not a directory");
    EXPECT_EQ(box.shown[0].icon, BoxIcon::Exclamation);
}

TEST_F(LogFileTest, DialogStartsInTheDataFolder) {
    const LogFileRequest r = MakeLog("NORTH").DialogRequest();
    EXPECT_EQ(r.title, "Open Quarnel Log File");
    EXPECT_EQ(r.filter, "Log Files (*.LOG)|*.log|All Files (*.*)|*.*");
    EXPECT_EQ(r.initialFolder, (dir / "Data").string());
    EXPECT_EQ(r.proposedName, "NORTH-251205-0935");
    fs::create_directory(dir / "Data");
    EXPECT_EQ(MakeLog("", dir / "Data").DialogRequest().initialFolder, (dir / "Data").string());
}

TEST_F(LogFileTest, CancelledDialogChangesNothing) {
    TerminalLog log = MakeLog();
    EXPECT_FALSE(log.CreateLog(false));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(choice.requests.size(), 1u);
}

TEST_F(LogFileTest, ChosenNewFileIsCreated) {
    choice.answers.push_back((dir / "mine.log").string());
    TerminalLog log = MakeLog();
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_EQ(log.LogPath(), (dir / "mine.log").string());
    EXPECT_EQ(log.DisplayName(), "mine.log");
    EXPECT_TRUE(box.shown.empty());
    log.WriteLog("x");
    EXPECT_EQ(Read(dir / "mine.log"), "x");
}

TEST_F(LogFileTest, ExistingFileAnsweredNoIsAppendedTo) {
    Write(dir / "old.log", "kept");
    choice.answers.push_back((dir / "old.log").string());
    box.answers.push_back(BoxAnswer::No);
    TerminalLog log = MakeLog();
    ASSERT_TRUE(log.CreateLog(false));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Replace existing file - " + (dir / "old.log").string() + "?");
    EXPECT_EQ(box.shown[0].icon, BoxIcon::Question);
    log.WriteLog(" more");
    EXPECT_EQ(Read(dir / "old.log"), "kept more");
}

TEST_F(LogFileTest, ExistingFileAnsweredYesStartsEmpty) {
    Write(dir / "old.log", "gone");
    choice.answers.push_back((dir / "old.log").string());
    box.answers.push_back(BoxAnswer::Yes);
    TerminalLog log = MakeLog();
    ASSERT_TRUE(log.CreateLog(false));
    log.WriteLog("new");
    EXPECT_EQ(Read(dir / "old.log"), "new");
}

TEST_F(LogFileTest, CancelOnTheQuestionShowsTheDialogAgain) {
    Write(dir / "old.log", "kept");
    choice.answers.push_back((dir / "old.log").string());
    choice.answers.push_back((dir / "other.log").string());
    box.answers.push_back(BoxAnswer::Cancel);
    TerminalLog log = MakeLog();
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_EQ(choice.requests.size(), 2u);
    EXPECT_EQ(log.LogPath(), (dir / "other.log").string());
    EXPECT_EQ(Read(dir / "old.log"), "kept");
}

TEST_F(LogFileTest, FileThatCannotBeDeletedIsReported) {
    fs::create_directory(dir / "folder.log");
    choice.answers.push_back((dir / "folder.log").string());
    box.answers.push_back(BoxAnswer::Yes);
    TerminalLog log = MakeLog();
    EXPECT_FALSE(log.CreateLog(false));
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text,
              "Cannot replace the log file " + (dir / "folder.log").string() + ": Is a directory");
    EXPECT_EQ(box.shown[1].icon, BoxIcon::Exclamation);
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(LogFileTest, FailedLookupIsReported) {
    Write(dir / "plain", "");
    choice.answers.push_back((dir / "plain" / "x.log").string());
    TerminalLog log = MakeLog();
    EXPECT_FALSE(log.CreateLog(false));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Cannot use the log file " + (dir / "plain" / "x.log").string() +
                                     ": Not a directory");
}

TEST_F(LogFileTest, FileThatCannotBeOpenedIsReported) {
    fs::create_directory(dir / "folder.log");
    choice.answers.push_back((dir / "folder.log").string());
    box.answers.push_back(BoxAnswer::No);  // keep it and append: cannot
    TerminalLog log = MakeLog();
    EXPECT_FALSE(log.CreateLog(false));
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[1].text,
              "Cannot open the log file " + (dir / "folder.log").string() + ": Is a directory");
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.LogPath(), "");
}

TEST_F(LogFileTest, AFailedWriteIsReportedOnceAndSuspendsTheLogUntilCreatedAgain) {
    choice.answers = {"/dev/full", (dir / "next.log").string()};
    box.answers = {BoxAnswer::No};
    TerminalLog log = MakeLog();
    std::vector<std::string> reports;
    log.SetFailureReport([&](const std::string& text) { reports.push_back(text); });
    ASSERT_TRUE(log.CreateLog(false));
    for (int i = 0; i < 20; ++i) log.WriteLog("ABC");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].substr(0, reports[0].find('\r')),
              "Cannot write the log file /dev/full: No space left on device");
    EXPECT_EQ(box.shown.size(), 1u);  // only the replace question
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(log.IsSuspended());
    EXPECT_EQ(log.Caption("Quarnel 1.0.0"),
              "/dev/full (log suspended: No space left on device) - Quarnel 1.0.0");
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_FALSE(log.IsSuspended());
    log.WriteLog("D");
    EXPECT_EQ(Read(dir / "next.log"), "D");
}

TEST_F(LogFileTest, FileOutsideTheWorkFolderShowsItsFullPath) {
    const fs::path other = dir / "elsewhere";
    fs::create_directory(other);
    fs::create_directory(dir / "work");
    choice.answers.push_back((other / "x.log").string());
    TerminalLog log = MakeLog("", dir / "work");
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_EQ(log.DisplayName(), (other / "x.log").string());
}

TEST_F(LogFileTest, WorkFolderNamedDataShowsADotPath) {
    const fs::path data = dir / "Data";
    fs::create_directory(data);
    choice.answers.push_back((data / "y.log").string());
    TerminalLog log = MakeLog("", data);
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_EQ(log.DisplayName(), "./Data/y.log");
}

TEST_F(LogFileTest, SimilarFolderNameIsNotTheWorkFolder) {
    fs::create_directory(dir / "work");
    fs::create_directory(dir / "workshop");
    choice.answers.push_back((dir / "workshop" / "z.log").string());
    TerminalLog log = MakeLog("", dir / "work");
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_EQ(log.DisplayName(), (dir / "workshop" / "z.log").string());
}

TEST_F(LogFileTest, EditCommandUsesTheUsersEditor) {
    TerminalLog log = MakeLog();
    EXPECT_TRUE(log.EditCommand().empty());
    ASSERT_TRUE(log.CreateLog(true));
    const char* visual = std::getenv("VISUAL");
    const char* editor = std::getenv("EDITOR");
    const std::string keepVisual = visual ? visual : "";
    const std::string keepEditor = editor ? editor : "";
    unsetenv("VISUAL");
    unsetenv("EDITOR");
    EXPECT_EQ(log.EditCommand(), (std::vector<std::string>{"xdg-open", "Data/251205-0935.log"}));
    setenv("EDITOR", "mousepad", 1);
    EXPECT_EQ(log.EditCommand(), (std::vector<std::string>{"/bin/sh", "-c", "mousepad \"$1\"",
                                                           "dovrel-edit", "Data/251205-0935.log"}));
    if (visual) setenv("VISUAL", keepVisual.c_str(), 1);
    if (editor)
        setenv("EDITOR", keepEditor.c_str(), 1);
    else
        unsetenv("EDITOR");
}

}  // namespace
}  // namespace dovrel
