// Settings store over real files in a fresh temporary folder.
#include "settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace dovrel {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/settings_test.XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        m_root = m_dir / "Pelmora Software";
    }
    void TearDown() override { fs::remove_all(m_dir); }

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
        std::ifstream in(Store().FileOf(ctx), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path m_dir;
    fs::path m_root;
};

TEST_F(SettingsStoreTest, FreshFolderGivesDefaultsAndFirstWriteCreatesIt) {
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 10);
    EXPECT_EQ(Text("Quarnel", "ApplNames", "x"), "x");
    EXPECT_FALSE(fs::exists(m_root));
    EXPECT_TRUE(Store().Write("Quarnel", "WaitTime", 30));
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 30);
    EXPECT_EQ(FileText("Quarnel"), "WaitTime=30\n");
}

TEST_F(SettingsStoreTest, EmptyContextReadsEmptyAndWritesNothing) {
    EXPECT_EQ(Int("", "WaitTime", 10), 0);
    EXPECT_EQ(Text("", "ApplNames", "x"), "");
    EXPECT_FALSE(Store().Write("", "WaitTime", 5));
    EXPECT_FALSE(Store().DeleteContext(""));
    EXPECT_FALSE(fs::exists(m_root));
}

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndRewriteInPlace) {
    WriteFile("Quarnel", "; edited by hand\nTelexCRL=-1\nF1=RYRY\n");
    EXPECT_EQ(Int("Quarnel", "TelexCrl", 0), -1);
    EXPECT_TRUE(Store().Write("Quarnel", "telexcrl", 0));
    EXPECT_EQ(FileText("Quarnel"), "; edited by hand\nTelexCRL=0\nF1=RYRY\n");
}

TEST_F(SettingsStoreTest, SwitchesAndNumbers) {
    WriteFile("Quarnel", "A=1\nB=-1\nC=4294967295\nD=abc\nE=4294967296\nF= 12 \nG=\n");
    EXPECT_EQ(Int("Quarnel", "A", 0), 1);
    EXPECT_EQ(Int("Quarnel", "B", 0), -1);
    EXPECT_EQ(Int("Quarnel", "C", 0), -1);
    EXPECT_EQ(Int("Quarnel", "D", 7), 7);  // a text that is no number gives the default
    EXPECT_EQ(Int("Quarnel", "E", 7), 7);  // wider than 32 bits
    EXPECT_EQ(Int("Quarnel", "F", 7), 12);
    EXPECT_EQ(Int("Quarnel", "G", 7), 7);
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

TEST_F(SettingsStoreTest, ContextsAreApart) {
    ASSERT_TRUE(Store().Write("Quarnel", "X", 1));
    ASSERT_TRUE(Store().Write("Quarnel - NORTH", "X", 2));
    EXPECT_EQ(Int("Quarnel", "X", 0), 1);
    EXPECT_EQ(Int("Quarnel - NORTH", "X", 0), 2);
    EXPECT_TRUE(Store().DeleteContext("Quarnel - NORTH"));
    EXPECT_EQ(Int("Quarnel - NORTH", "X", 10), 10);
    EXPECT_EQ(Int("Quarnel", "X", 0), 1);
    EXPECT_FALSE(Store().DeleteContext("Quarnel - NORTH"));
}

TEST_F(SettingsStoreTest, InstanceNamesCannotLeaveTheFolder) {
    const std::string nasty = "Quarnel - ../../escape/x";
    ASSERT_TRUE(Store().Write(nasty, "X", 5));
    EXPECT_EQ(Int(nasty, "X", 0), 5);
    EXPECT_EQ(Store().FileOf(nasty).parent_path(), m_root);
    EXPECT_FALSE(fs::exists(m_dir / "escape"));
    EXPECT_EQ(Store().FileOf("..").parent_path(), m_root);
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

TEST_F(SettingsStoreTest, UnreadableFileIsNeverOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    WriteFile("Quarnel", "WaitTime=25\n");
    fs::permissions(Store().FileOf("Quarnel"), fs::perms::none);
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 10);
    EXPECT_FALSE(Store().Write("Quarnel", "X", 1));
    fs::permissions(Store().FileOf("Quarnel"), fs::perms::owner_all);
    EXPECT_EQ(FileText("Quarnel"), "WaitTime=25\n");
}

TEST_F(SettingsStoreTest, DirectoryInPlaceOfFileFailsCleanly) {
    fs::create_directories(Store().FileOf("Quarnel"));
    EXPECT_EQ(Int("Quarnel", "WaitTime", 10), 10);
    EXPECT_FALSE(Store().Write("Quarnel", "WaitTime", 5));
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

TEST_F(SettingsStoreTest, UserStoreFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    EXPECT_TRUE(RegWriteValue("Quarnel - T", "", "FontSize", std::string("11.25")));
    EXPECT_TRUE(fs::exists(m_root / "Quarnel - T.ini"));
    EXPECT_EQ(std::get<std::string>(RegReadValue("Quarnel - T", "", "fontsize", std::string())),
              "11.25");
    EXPECT_TRUE(RegDeleteContext("Quarnel - T"));
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", m_dir.c_str(), 1);
    EXPECT_EQ(SettingsStore::ForUser().Root(), m_dir / ".config" / "Pelmora Software");
    if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace dovrel
