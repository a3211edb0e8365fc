// Settings store over real files in a fresh temporary folder.
#include "settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "odd_files.h"
#include "temp_dir.h"

namespace dovrel {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsStoreTest : public ::testing::Test {
  protected:
    SettingsStore Store() const { return SettingsStore(m_root); }
    std::int32_t Int(const std::string& ctx, const std::string& name, std::int32_t def) const {
        return std::get<std::int32_t>(Store().Read(ctx, name, RegValue(def)));
    }
    std::string Text(const std::string& ctx, const std::string& name,
                     const std::string& def = "") const {
        return std::get<std::string>(Store().Read(ctx, name, RegValue(def)));
    }
    void WriteFile(const std::string& ctx, const std::string& content) const {
        fs::create_directories(m_root);
        std::ofstream(Store().FileOf(ctx), std::ios::binary) << content;
    }
    std::string FileText(const std::string& ctx) const {
        return testing::ReadFile(Store().FileOf(ctx));
    }

    testing::TempDir m_dir;
    fs::path m_root = m_dir / "Pelmora Software";
};

// The empty context reads empty and writes nothing; a fresh folder gives the
// defaults and the first write creates it.
TEST_F(SettingsStoreTest, FreshFolderGivesDefaultsAndFirstWriteCreatesIt) {
    EXPECT_EQ(Int("", "WaitTime", 10), 0);
    EXPECT_EQ(Text("", "ApplNames", "x"), "");
    EXPECT_FALSE(Store().Write("", "WaitTime", 5));
    EXPECT_FALSE(Store().DeleteContext(""));
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 10);
    EXPECT_EQ(Text("Quarnel", "ApplNames", "x"), "x");
    EXPECT_FALSE(fs::exists(m_root));
    EXPECT_TRUE(Store().Write("Quarnel", "WaitTime", 30));
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 30);
    EXPECT_EQ(FileText("Quarnel"), "WaitTime=30\n");
}

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndRewriteInPlace) {
    WriteFile("Quarnel", "; edited by hand\nTelexCRL=-1\nF1=RYRY\n");
    EXPECT_EQ(Int("Quarnel", "TelexCrl", 0), -1);
    EXPECT_TRUE(Store().Write("Quarnel", "telexcrl", 0));
    EXPECT_EQ(FileText("Quarnel"), "; edited by hand\nTelexCRL=0\nF1=RYRY\n");
}

TEST_F(SettingsStoreTest, SwitchesAndNumbers) {
    // A text that is no number, or is wider than 32 bits, gives the default.
    WriteFile("Quarnel", "A=1\nB=-1\nC=4294967295\nD=abc\nE=4294967296\nF= 12 \nG=\n");
    const std::pair<const char*, std::int32_t> rows[] = {{"A", 1}, {"B", -1}, {"C", -1}, {"D", 7},
                                                         {"E", 7}, {"F", 12}, {"G", 7}};
    for (const auto& [name, value] : rows) EXPECT_EQ(Int("Quarnel", name, 7), value) << name;
    EXPECT_EQ(Text("Quarnel", "A"), "1");  // the default's kind decides
}

TEST_F(SettingsStoreTest, TextsRoundTripAndEmptyReadsDefault) {
    const std::string texts[] = {"/4E/4E/4E/4E/0D/0A", " SYNOP ",     "\"quoted\"", "a=b",
                                 "line\nbreak",        "back\\slash", "Ü ñ"};
    for (const std::string& t : texts) {
        ASSERT_TRUE(Store().Write("Quarnel", "Keyword0", t));
        EXPECT_EQ(Text("Quarnel", "Keyword0"), t);
    }
    ASSERT_TRUE(Store().Write("Quarnel", "F12", std::string()));
    EXPECT_EQ(Text("Quarnel", "F12", "def"), "def");
    WriteFile("Quarnel", "F1=RY\r\nF2=AB\0\n"s);
    EXPECT_EQ(Text("Quarnel", "F1"), "RY");
    EXPECT_EQ(Text("Quarnel", "F2"), "AB");  // a trailing zero is not part of the text
}

TEST_F(SettingsStoreTest, ContextsAreApartAndInstanceNamesCannotLeaveTheFolder) {
    const std::string nasty = "Quarnel - ../../escape/x";
    ASSERT_TRUE(Store().Write("Quarnel", "X", 1));
    ASSERT_TRUE(Store().Write(nasty, "X", 2));
    EXPECT_EQ(Int("Quarnel", "X", 0), 1);
    EXPECT_EQ(Int(nasty, "X", 0), 2);
    EXPECT_EQ(Store().FileOf(nasty).parent_path(), m_root);
    EXPECT_EQ(Store().FileOf("..").parent_path(), m_root);
    EXPECT_FALSE(fs::exists(m_dir / "escape"));
    EXPECT_TRUE(Store().DeleteContext(nasty));
    EXPECT_EQ(Int(nasty, "X", 10), 10);
    EXPECT_EQ(Int("Quarnel", "X", 0), 1);
    EXPECT_FALSE(Store().DeleteContext(nasty));
    // Names of 300 and 5000 characters get files of their own that the file
    // system takes.
    for (const std::size_t length : {300u, 5000u}) {
        const std::string longName = "Quarnel - " + std::string(length, 'N');
        ASSERT_TRUE(Store().Write(longName, "X", static_cast<std::int32_t>(length)));
        EXPECT_EQ(Int(longName, "X", 0), static_cast<std::int32_t>(length));
        EXPECT_LE(Store().FileOf(longName).filename().string().size(), 200u);
    }
    EXPECT_EQ(Int("Quarnel - " + std::string(300, 'N') + "x", "X", 7), 7);
}

TEST_F(SettingsStoreTest, DamagedFileGivesDefaultsForWhatCannotBeRead) {
    std::string junk = "garbage\0\xff\xfe no equals\n[section]\nWaitTime=25\n=nameless\n"s;
    junk += std::string(100000, 'x');
    WriteFile("Quarnel", junk);
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 25);
    EXPECT_EQ(Int("Quarnel", "AutoLogst", 0), 0);
    ASSERT_TRUE(Store().Write("Quarnel", "AutoLogst", 1));
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 25);  // the rest is kept
}

// A folder, FIFO or device in the file's place gives the defaults and is
// neither written nor removed.
TEST_F(SettingsStoreTest, AnUnreadableFileOrAFolderInItsPlaceGivesDefaultsAndIsNeverWritten) {
    fs::create_directories(Store().FileOf("Folder"));
    EXPECT_EQ(Int("Folder", "WaitTime", 10), 10);
    EXPECT_FALSE(Store().Write("Folder", "WaitTime", 5));
    for (const fs::path& odd : testing::MakeOddFiles(m_root)) {
        const std::string context = odd.filename().string();
        fs::rename(odd, Store().FileOf(context));
        const char kind = testing::KindOf(Store().FileOf(context));
        EXPECT_EQ(Int(context, "WaitTime", 10), 10);
        EXPECT_FALSE(Store().Write(context, "WaitTime", 5));
        EXPECT_FALSE(Store().DeleteContext(context));
        EXPECT_EQ(testing::KindOf(Store().FileOf(context)), kind) << context;
    }
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    WriteFile("Quarnel", "WaitTime=25\n");
    fs::permissions(Store().FileOf("Quarnel"), fs::perms::none);
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 10);
    EXPECT_FALSE(Store().Write("Quarnel", "X", 1));
    fs::permissions(Store().FileOf("Quarnel"), fs::perms::owner_all);
    EXPECT_EQ(FileText("Quarnel"), "WaitTime=25\n");
}

TEST_F(SettingsStoreTest, NoTemporaryFileLeftBehind) {
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(Store().Write("Quarnel", "N" + std::to_string(i), i));
    int files = 0;
    for (const auto& entry : fs::directory_iterator(m_root)) {
        ++files;
        EXPECT_EQ(entry.path().filename(), "Quarnel.ini");
    }
    EXPECT_EQ(files, 1);
}

TEST_F(SettingsStoreTest, UserStoreFollowsXdgConfigHomeElseHome) {
    const testing::ScopedEnv xdg("XDG_CONFIG_HOME", m_dir.Path().c_str());
    const testing::ScopedEnv home("HOME", m_dir.Path().c_str());
    EXPECT_TRUE(RegWriteValue("Quarnel - T", "", "FontSize", std::string("11.25")));
    EXPECT_TRUE(fs::exists(m_root / "Quarnel - T.ini"));
    EXPECT_EQ(std::get<std::string>(RegReadValue("Quarnel - T", "", "fontsize", std::string())),
              "11.25");
    EXPECT_TRUE(RegDeleteContext("Quarnel - T"));
    xdg.Set(nullptr);
    EXPECT_EQ(SettingsStore::ForUser().Root(), m_dir.Path() / ".config" / "Pelmora Software");
}

}  // namespace
}  // namespace dovrel
