// The control with the real decoding library, loaded at run time: the
// bundled sample bulletins end up in the text pane and on the station map.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <map>

#include "component_loader.h"
#include "decoder_window.h"
#include "fake_decoder.h"
#include "rich_text_pane.h"

namespace nimboview::testing {
namespace {

// Blocks of received text: the sample line by line.
std::vector<std::string> SampleLines() {
    QFile file(QStringLiteral(NIMBO_SAMPLES_DIR "/bulletins.txt"));
    std::vector<std::string> lines;
    if (!file.open(QIODevice::ReadOnly)) return lines;
    while (!file.atEnd()) lines.push_back(file.readLine().toStdString());
    return lines;
}

// What a second decoder reports for the same text: every station and the
// first air temperature after it.
class StationRecorder final : public nimbo::_IWeatherDecoderEvents {
  public:
    struct Station {
        std::string ident;
        std::optional<float> temperature;
    };
    std::vector<Station> stations;

    void Position(float, float, const std::string& ident, const std::string&,
                  const std::string&) override {
        stations.push_back({ident, std::nullopt});
    }
    void Temperature(float tmp, std::int32_t) override {
        if (!stations.empty() && !stations.back().temperature) stations.back().temperature = tmp;
    }
    void Message(std::int32_t, const std::string&) override {}
    void Bloc(std::int32_t) override {}
    void Indicator(const std::string&) override {}
    void Guess(const std::string&) override {}
    void Error(const std::string&) override {}
    void Separator(std::int32_t) override {}
    void Result(const std::string&, std::int32_t, std::int32_t) override {}
    void Pressure(float, std::int32_t) override {}
};

class RealDecoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        if (!WeatherDialog::LoadDecoder(&error)) GTEST_SKIP() << "no decoding library: " << error;
        m_dialog = nimbo::ComponentRef<WeatherDialog>(
            new WeatherDialog(&WeatherDialog::LoadDecoder, m_prompts));
        std::int32_t status = 0;
        ASSERT_EQ(m_dialog->Create(0, &status), nimbo::S_OK);
        ASSERT_EQ(status, 1);
        ASSERT_TRUE(m_prompts->boxes.empty());
    }

    std::shared_ptr<RecordingPrompts> m_prompts = std::make_shared<RecordingPrompts>();
    nimbo::ComponentRef<WeatherDialog> m_dialog;
};

TEST_F(RealDecoderTest, SampleStationsReachMapWithTheirTemperatures) {
    const auto lines = SampleLines();
    ASSERT_FALSE(lines.empty());
    m_dialog->put_DecoderRelax(-1);
    for (const auto& line : lines) EXPECT_EQ(m_dialog->Parse(line.c_str()), nimbo::S_OK);

    std::string error;
    auto reference = WeatherDialog::LoadDecoder(&error);
    StationRecorder recorder;
    std::uint32_t cookie = 0;
    reference->put_DecoderRelax(1);
    reference->Advise(&recorder, &cookie);
    for (const auto& line : lines) reference->Parse(line.c_str());
    reference->Unadvise(cookie);

    const StationList& map = m_dialog->Stations();
    ASSERT_GE(recorder.stations.size(), 3u);
    ASSERT_EQ(map.Newest() + 1, static_cast<int>(recorder.stations.size()));
    for (std::size_t i = 0; i < recorder.stations.size(); ++i) {
        const StationRecord& record = map.At(static_cast<int>(i));
        EXPECT_EQ(record.ident, recorder.stations[i].ident.substr(0, 7));
        if (recorder.stations[i].temperature) {
            EXPECT_EQ(record.temperature, std::lround(*recorder.stations[i].temperature * 10.0))
                << record.ident;
        }
    }
    // Bjornoya (01028) reports 10012: 1.2 degrees.
    bool bjornoya = false;
    for (int i = 0; i <= map.Newest(); ++i) {
        if (map.At(i).name == "Bjornoya") bjornoya = map.At(i).temperature == 12;
    }
    EXPECT_TRUE(bjornoya);

    EXPECT_TRUE(m_dialog->Window()->isVisible());  // an indicator showed it
    const QString text = m_dialog->Window()->TextPane()->toPlainText();
    // The pane keeps the newest text only: the sample is longer than its limit.
    EXPECT_TRUE(text.contains("#### Start Msg") || text.contains("... cleared ..."));
    EXPECT_TRUE(text.contains("Magnor"));  // the last station of the sample
    EXPECT_TRUE(text.contains(QChar(0xB0)));  // degree signs arrive as Unicode
}

TEST_F(RealDecoderTest, NodeNameGoesIntoLogFileName) {
    EXPECT_EQ(m_dialog->put_NodeName("station7"), nimbo::S_OK);
    std::string name;
    ASSERT_EQ(m_dialog->get_LogFileName(&name), nimbo::S_OK);
    EXPECT_EQ(name.rfind("station7-", 0), 0u) << name;
}

TEST_F(RealDecoderTest, LogStartWritesLogsOrRollsBack) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    m_dialog->put_LogPathName(QFile::encodeName(folder.path()).toStdString());
    m_dialog->put_LogFileName("sample");
    ASSERT_EQ(m_dialog->put_LogStart(1), nimbo::S_OK);
    for (const auto& line : SampleLines()) m_dialog->Parse(line.c_str());
    EXPECT_EQ(m_dialog->put_LogStart(0), nimbo::S_OK);
    EXPECT_GT(QFileInfo(folder.filePath("sample.wmo")).size(), 0);
    EXPECT_GT(QFileInfo(folder.filePath("sample.syn")).size(), 0);

    m_dialog->put_LogPathName(QFile::encodeName(folder.filePath("missing/folder")).toStdString());
    EXPECT_EQ(m_dialog->put_LogStart(1), nimbo::E_ACCESSDENIED);
    std::int32_t logging = 1;
    m_dialog->get_LogStart(&logging);
    EXPECT_EQ(logging, 0);
    EXPECT_TRUE(m_dialog->Window()->Action(ToolCommand::kOpenLog)->isEnabled());
}

// The component library itself, created by name as the terminal creates it.
TEST(ComponentLibraryTest, CreatedByNameDecodesIntoItsWindow) {
    std::string error;
    if (!WeatherDialog::LoadDecoder(&error)) GTEST_SKIP() << "no decoding library: " << error;
    auto dialog =
        nimbo::ComponentLoader::Create<nimbo::IWeatherDialog>(nimbo::kProgIdWeatherDialog, &error);
    ASSERT_TRUE(dialog) << error;
    std::int32_t status = 0;
    ASSERT_EQ(dialog->Create(0, &status), nimbo::S_OK);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(dialog->put_DecoderRelax(-1), nimbo::S_OK);
    for (const auto& line : SampleLines()) dialog->Parse(line.c_str());
    QTextEdit* pane = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == "Weather Decoder") {
            pane = window->findChild<QTextEdit*>();
        }
    }
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->toPlainText().contains("Magnor"));
    EXPECT_EQ(dialog->Destroy(0), nimbo::S_OK);
    EXPECT_EQ(dialog->Parse("AAXX"), nimbo::S_FALSE);
}

TEST(ComponentLibraryTest, RefusesOtherClassesAndInterfaces) {
    std::string error;
    EXPECT_FALSE(nimbo::ComponentLoader::CreateObject(nimbo::kClsidWeatherDialog,
                                                      nimbo::kIidIWeatherDecoder, &error));
    EXPECT_THAT(error, ::testing::HasSubstr("has no interface"));
}

}  // namespace
}  // namespace nimboview::testing
