// The component library with the real decoding library, loaded at run time:
// created by name as the terminal creates it, the sample reaches its window.
// (Stations and temperatures on the map: the terminal's end-to-end test.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTextEdit>

#include "component_loader.h"
#include "decoder_window.h"
#include "weather_dialog.h"

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
