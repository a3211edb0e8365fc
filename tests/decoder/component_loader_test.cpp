// The decoder as a client sees it: created by the component loader from the
// shared library, with no link to it, decoding a real bulletin into a sink.
#include "component_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "component_ids.h"
#include "decoder_test_support.h"
#include "weather_decoder_interface.h"

namespace nimbo {
namespace {

using testing::RecordingSink;
using testing::ScratchFolder;

// The first bulletin of the Norwegian switch's 06 UTC traffic, up to and
// including station 01010.
std::string FirstBulletin() {
    const std::string all = testing::ReadTestData("synop/metno-kvnorcom/synop/data0600");
    return all.substr(0, all.find("NNNN") + 4) + "\r\n";
}

TEST(ComponentLoaderTest, ModuleIsFoundByProgIdAndByClassId) {
    EXPECT_EQ(ComponentLoader::ModuleForClass("Nimbolib.WeatherDecoder"), "Nimbolib");
    EXPECT_EQ(ComponentLoader::ModuleForClass("Nimbolib.WeatherDecoder.1"), "Nimbolib");
    EXPECT_EQ(ComponentLoader::ModuleForClass("{BEBA1960-28D4-11D1-A725-00A0C91DDB3C}"),
              "Nimbolib");
    EXPECT_EQ(ComponentLoader::ModuleForClass(kClsidWeatherDialog), "Nimboview");
    EXPECT_EQ(ComponentLoader::ModuleForClass("{00000000-0000-0000-0000-000000000000}"), "");
    EXPECT_EQ(ComponentLoader::LibraryFileName("Nimbolib"), "libNimbolib.so");
}

TEST(ComponentLoaderTest, MissingLibraryIsNamedInTheError) {
    std::string error;
    auto object = ComponentLoader::Create<IWeatherDecoder>("Nosuch.Thing", &error);
    EXPECT_FALSE(object);
    EXPECT_NE(error.find("libNosuch.so not found"), std::string::npos) << error;
}

TEST(ComponentLoaderTest, UnknownClassAndInterfaceAreRefused) {
    std::string error;
    EXPECT_FALSE(
        ComponentLoader::Create<IWeatherDecoder>("{00000000-0000-0000-0000-000000000000}", &error));
    EXPECT_NE(error.find("Unknown component class"), std::string::npos) << error;
    EXPECT_EQ(ComponentLoader::CreateObject("Nimbolib.Other", kIidIWeatherDecoder, &error),
              nullptr);
    EXPECT_NE(error.find("not served by libNimbolib.so"), std::string::npos) << error;
    EXPECT_EQ(ComponentLoader::CreateObject("Nimbolib.WeatherDecoder", "{1}", &error), nullptr);
    EXPECT_NE(error.find("has no interface"), std::string::npos) << error;
}

TEST(ComponentLoaderTest, RealBulletinDecodesThroughTheLoadedLibrary) {
    ScratchFolder folder;  // no catalogue here: the library finds the bundled one
    std::string error;
    auto decoder = ComponentLoader::Create<IWeatherDecoder>(kProgIdWeatherDecoder, &error);
    ASSERT_TRUE(decoder) << error;
    RecordingSink sink;
    std::uint32_t cookie = 0;
    ASSERT_EQ(decoder->Advise(&sink, &cookie), S_OK);
    ASSERT_EQ(decoder->Parse(FirstBulletin().c_str()), S_OK);
    const std::string text = sink.Text();

    // Heading, station with the catalogue's name and position, section 1 of
    // 01001: 11384 73302 10084 20071 30197 40208 56002 60012 70161 8457/
    for (const char* line :
         {"Sender Identity:   DNMI\n",
          "Designator:        SMNO91\n                   - Surface data\n",
          "Station Identity:  01001       (Region VI: Europe)\nStation Reference: Jan Mayen [NO]\n"
          "Country Reference: NORWAY\n",
          "Visibility:         50km\n", "Wind direction:    330\260 (-5/+4)\n",
          "Temperature:       + 8.4\260c\n", "Dew Point:         + 7.1\260c\n",
          "Sea Lvl Pressure:  1020.8hPa \n", "High cloud type:   Unobserved \n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    const auto positions = sink.OfKind("Position");
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions[0].name, "Jan Mayen");
    EXPECT_FLOAT_EQ(positions[0].x, 70.56f);
    EXPECT_FLOAT_EQ(positions[0].y, -8.40f);
    ASSERT_FALSE(sink.OfKind("Temperature").empty());
    EXPECT_FLOAT_EQ(sink.OfKind("Temperature")[0].x, 8.4f);
    EXPECT_NE(text.find("No data reported\n"), std::string::npos);  // 01007 NIL
    EXPECT_EQ(decoder->Unadvise(cookie), S_OK);
}

TEST(ComponentLoaderTest, LogsOpenAndCloseThroughTheInterface) {
    ScratchFolder folder;
    std::string error;
    auto decoder = ComponentLoader::Create<IWeatherDecoder>(kClsidWeatherDecoder, &error);
    ASSERT_TRUE(decoder) << error;
    decoder->put_LogPathName(folder.Path());
    decoder->put_LogFileName("node");
    EXPECT_EQ(decoder->put_LogRaw(1), S_OK);
    EXPECT_EQ(decoder->put_LogText(1), S_OK);
    decoder->Parse(FirstBulletin().c_str());
    EXPECT_EQ(decoder->put_LogRaw(0), E_ACCESSDENIED);
    EXPECT_EQ(decoder->put_LogText(0), E_ACCESSDENIED);
    const std::string raw = testing::ReadFile(folder.Path() + "/node.syn");
    EXPECT_EQ(raw.rfind("ZCZC 00001\nSMNO91 DNMI 100600\nAAXX 10061\n01001 11384 73302", 0), 0u)
        << raw;
    EXPECT_EQ(raw.substr(raw.size() - 5), "NNNN\n");
    EXPECT_NE(
        testing::ReadFile(folder.Path() + "/node.wmo").find("Station Reference: Jan Mayen [NO]\n"),
        std::string::npos);
}

}  // namespace
}  // namespace nimbo
