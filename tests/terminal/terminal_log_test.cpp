// The terminal log: names, the Data folder, appending, the replace question,
// display names, and failures reported with the system's error text.
#include "terminal_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "odd_files.h"
#include "reception_fakes.h"
#include "temp_dir.h"
#include "weather_control.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;
using testing::FakeClock;
using testing::ReadFile;
using testing::ScriptedBox;
using testing::ScriptedChoice;
using testing::TempDir;

class LogFileTest : public ::testing::Test {
  protected:
    LogFileTest() { clock.Set(2025, 12, 5, 9, 35, 12); }

    TerminalLog MakeLog(const std::string& instance = "", fs::path work = {}) {
        return TerminalLog(instance, work.empty() ? dir.Path() : work, box, choice, clock);
    }
    static void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    TempDir dir;
    FakeClock clock;
    ScriptedBox box;
    ScriptedChoice choice;
};

TEST_F(LogFileTest, BaseNameFromInstanceAndLocalTime) {
    EXPECT_EQ(MakeLog().BaseName(), "251205-0935");
    EXPECT_EQ(MakeLog("NORTH").BaseName(), "NORTH-251205-0935");
    EXPECT_EQ(MakeLog("A/B").BaseName(), "A_B-251205-0935");
    EXPECT_EQ(MakeLog(std::string(5000, 'N')).BaseName().size(), 160u + 12u);
    clock.Set(2009, 1, 2, 23, 4, 0);
    EXPECT_EQ(MakeLog().BaseName(), "090102-2304");
}

// The observation archive is named after the instance like the logs.
TEST(ArchiveFileTest, NamedAfterTheInstanceInAFileNameTheFileSystemTakes) {
    EXPECT_EQ(WeatherControl::ArchiveFile("/d/Data", ""), "/d/Data/Quarnel.sqlite");
    EXPECT_EQ(WeatherControl::ArchiveFile("/d/Data", "A/B"), "/d/Data/A_B.sqlite");
    const std::string longName(5000, 'N');
    const fs::path file = WeatherControl::ArchiveFile("/d/Data", longName);
    EXPECT_EQ(file.parent_path(), "/d/Data");
    EXPECT_LE(file.filename().string().size(), 200u);
    EXPECT_NE(file, WeatherControl::ArchiveFile("/d/Data", longName + "x"));
}

// On disk at once, while the log is still open; a second log in the same
// minute appends; nothing is written while no log is open.
TEST_F(LogFileTest, AutomaticLogGoesToTheDataFolderAndAppendsInTheSameMinute) {
    TerminalLog log = MakeLog("NORTH");
    ASSERT_TRUE(log.CreateLog(true));
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(log.LogPath(), "Data/NORTH-251205-0935.log");
    EXPECT_EQ(log.LogDialogName(), "NORTH-251205-0935.log");
    EXPECT_EQ(log.DisplayName(), "Data/NORTH-251205-0935.log");
    EXPECT_EQ(log.Caption("Quarnel 1.0.0 - NORTH"),
              "Data/NORTH-251205-0935.log - Quarnel 1.0.0 - NORTH");
    log.WriteLog("\r\nABC");
    EXPECT_EQ(ReadFile(dir / "Data" / "NORTH-251205-0935.log"), "\r\nABC");
    log.CloseLog();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.LogPath(), "");
    EXPECT_EQ(log.Caption("Quarnel 1.0.0"), "Quarnel 1.0.0");
    log.WriteLog("lost: no log open");
    ASSERT_TRUE(log.CreateLog(true));
    log.WriteLog(" second");
    EXPECT_EQ(ReadFile(dir / "Data" / "NORTH-251205-0935.log"), "\r\nABC second");
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
    EXPECT_EQ(r.title, "Create Quarnel Log File");
    EXPECT_EQ(r.filter, "Log Files (*.LOG)|*.log|All Files (*.*)|*.*");
    EXPECT_EQ(r.initialFolder, (dir / "Data").string());
    EXPECT_EQ(r.proposedName, "NORTH-251205-0935.log");
    fs::create_directory(dir / "Data");
    EXPECT_EQ(MakeLog("", dir / "Data").DialogRequest().initialFolder, (dir / "Data").string());
}

TEST_F(LogFileTest, ChosenFileIsCreatedOrOnTheQuestionAppendedToOrEmptied) {
    // Before (nullptr: no such file), the answer, after.
    const std::tuple<const char*, BoxAnswer, const char*> rows[] = {
        {nullptr, BoxAnswer::Ok, "x"},
        {"kept", BoxAnswer::No, "keptx"},
        {"gone", BoxAnswer::Yes, "x"}};
    for (const auto& [before, answer, after] : rows) {
        const fs::path file = dir / "mine.log";
        fs::remove(file);
        if (before) Write(file, before);
        choice.answers = {file.string()};
        box.answers = {answer};
        box.shown.clear();
        TerminalLog log = MakeLog();
        ASSERT_TRUE(log.CreateLog(false));
        EXPECT_EQ(log.LogPath(), file.string());
        EXPECT_EQ(log.DisplayName(), "mine.log");
        if (before) {
            ASSERT_EQ(box.shown.size(), 1u);
            EXPECT_EQ(box.shown[0].text, "Replace existing file - " + file.string() + "?");
            EXPECT_EQ(box.shown[0].icon, BoxIcon::Question);
        } else {
            EXPECT_TRUE(box.shown.empty());
        }
        log.WriteLog("x");
        EXPECT_EQ(ReadFile(file), after) << after;
    }
}

// Cancel on the replace question shows the dialog again; cancelling that
// changes nothing.
TEST_F(LogFileTest, CancelOnTheQuestionShowsTheDialogAgain) {
    Write(dir / "old.log", "kept");
    choice.answers.push_back((dir / "old.log").string());
    box.answers.push_back(BoxAnswer::Cancel);
    TerminalLog log = MakeLog();
    EXPECT_FALSE(log.CreateLog(false));
    EXPECT_EQ(choice.requests.size(), 2u);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(ReadFile(dir / "old.log"), "kept");
}

// Only a regular file is written: a folder, FIFO or device is refused before
// the replace question and survives as it was; a path through a plain file
// cannot even be looked up.
TEST_F(LogFileTest, WhatIsNotARegularFileIsRefusedAndSurvives) {
    fs::create_directory(dir / "folder.log");
    Write(dir / "plain", "");
    std::vector<std::pair<fs::path, std::string>> rows = {
        {dir / "folder.log", "it is a folder, not a regular file"},
        {dir / "plain" / "x.log", "Not a directory"}};
    for (const fs::path& odd : testing::MakeOddFiles(dir.Path()))
        rows.emplace_back(odd, testing::KindOf(odd) == 'c'
                                   ? "it is a character device, not a regular file"
                                   : "it is a FIFO (named pipe), not a regular file");
    for (const auto& [path, reason] : rows) {
        const char kind = testing::KindOf(path);
        choice.answers = {path.string()};
        box.answers = {BoxAnswer::Yes};
        box.shown.clear();
        TerminalLog log = MakeLog();
        EXPECT_FALSE(log.CreateLog(false));
        ASSERT_EQ(box.shown.size(), 1u) << path;
        EXPECT_EQ(box.shown[0].text, "Cannot use the log file " + path.string() + ": " + reason);
        EXPECT_EQ(box.shown[0].icon, BoxIcon::Exclamation);
        EXPECT_FALSE(log.IsOpen());
        EXPECT_EQ(testing::KindOf(path), kind);
    }
}

TEST_F(LogFileTest, AFailedWriteIsReportedOnceAndSuspendsTheLogUntilCreatedAgain) {
    const testing::FullFolder full(dir / "full");
    if (!full.Full()) GTEST_SKIP() << "no tiny file system can be mounted here (not root)";
    const std::string path = (dir / "full" / "x.log").string();
    choice.answers = {path, (dir / "next.log").string()};
    TerminalLog log = MakeLog();
    std::vector<std::string> reports;
    log.SetFailureReport([&](const std::string& text) { reports.push_back(text); });
    ASSERT_TRUE(log.CreateLog(false));
    for (int i = 0; i < 20; ++i) log.WriteLog("ABC");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].substr(0, reports[0].find('\r')),
              "Cannot write the log file " + path + ": No space left on device");
    EXPECT_TRUE(box.shown.empty());
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(log.IsSuspended());
    EXPECT_EQ(log.Caption("Quarnel 1.0.0"),
              "full/x.log (log suspended: No space left on device) - Quarnel 1.0.0");
    ASSERT_TRUE(log.CreateLog(false));
    EXPECT_FALSE(log.IsSuspended());
    log.WriteLog("D");
    EXPECT_EQ(ReadFile(dir / "next.log"), "D");
}

// Inside the work folder a log shows its relative path ("./Data/..." when the
// work folder is itself named Data); elsewhere, a similar name included, its full path.
TEST_F(LogFileTest, DisplayNameIsRelativeOnlyInsideTheWorkFolder) {
    for (const char* sub : {"work", "workshop", "Data"}) fs::create_directory(dir / sub);
    const std::tuple<const char*, fs::path, std::string> rows[] = {
        {"work", dir / "workshop" / "z.log", (dir / "workshop" / "z.log").string()},
        {"work", dir / "x.log", (dir / "x.log").string()},
        {"Data", dir / "Data" / "y.log", "./Data/y.log"},
    };
    for (const auto& [work, file, shown] : rows) {
        choice.answers = {file.string()};
        TerminalLog log = MakeLog("", dir / work);
        ASSERT_TRUE(log.CreateLog(false));
        EXPECT_EQ(log.DisplayName(), shown);
    }
}

TEST_F(LogFileTest, EditCommandUsesTheUsersEditor) {
    TerminalLog log = MakeLog();
    EXPECT_TRUE(log.EditCommand().empty());
    ASSERT_TRUE(log.CreateLog(true));
    const testing::ScopedEnv visual("VISUAL", nullptr);
    const testing::ScopedEnv editor("EDITOR", nullptr);
    EXPECT_EQ(log.EditCommand(), (std::vector<std::string>{"xdg-open", "Data/251205-0935.log"}));
    editor.Set("mousepad");
    EXPECT_EQ(log.EditCommand(), (std::vector<std::string>{"/bin/sh", "-c", "mousepad \"$1\"",
                                                           "dovrel-edit", "Data/251205-0935.log"}));
}

}  // namespace
}  // namespace dovrel
