// Windows-1252 conversion, result code texts and the pause buffer.
#include <gtest/gtest.h>

#include "cp1252_text.h"
#include "pause_buffer.h"
#include "result_text.h"

namespace nimboview {
namespace {

// Every byte gives one character: ASCII as it is, the high control block as
// the Windows characters, undefined bytes as their own code point.
TEST(Cp1252Test, EveryByteGivesOneCharacter) {
    EXPECT_EQ(Cp1252ToUnicode("220\xB0 (-5/+4)"), QString::fromUtf8("220° (-5/+4)"));
    EXPECT_EQ(Cp1252ToUnicode("\x80\x85\x93\x94\x96\x9F"), QString::fromUtf8("€…“”–Ÿ"));
    EXPECT_EQ(Cp1252ToUnicode("\x81\x8D\x9D"), QString::fromUtf16(u"\x81\x8D\x9D"));
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const QString text = Cp1252ToUnicode(all);
    EXPECT_EQ(text.size(), 255);
    EXPECT_EQ(text[0xE9 - 1], QChar(0xE9));
}

TEST(ResultTextTest, KnownAndUnknownCodes) {
    EXPECT_EQ(ResultText(nimbo::E_ACCESSDENIED), "Access is denied.");
    EXPECT_EQ(ResultText(static_cast<nimbo::HRESULT>(0x80001234u)), "Error 0x80001234");
}

TEST(PauseBufferTest, HoldsUntilOverflowThenHandsOnHeldText) {
    PauseBuffer buffer;
    EXPECT_TRUE(buffer.Hold(std::string(600, 'a')).empty());
    const auto handOn = buffer.Hold(std::string(500, 'b'));
    ASSERT_EQ(handOn.size(), 1u);
    EXPECT_EQ(handOn[0], std::string(600, 'a'));
    EXPECT_EQ(buffer.Take(), std::string(500, 'b'));
    EXPECT_EQ(buffer.Size(), 0u);
}

TEST(PauseBufferTest, ExactlyFullIsStillHeld) {
    PauseBuffer buffer;
    EXPECT_TRUE(buffer.Hold(std::string(1000, 'a')).empty());
    EXPECT_TRUE(buffer.Hold(std::string(24, 'b')).empty());
    EXPECT_EQ(buffer.Size(), 1024u);
    EXPECT_EQ(buffer.Hold("c").size(), 1u);
    EXPECT_EQ(buffer.Size(), 1u);
}

TEST(PauseBufferTest, OversizedChunkGoesOnWholeAfterHeldText) {
    PauseBuffer buffer;
    buffer.Hold("held");
    const auto handOn = buffer.Hold(std::string(2000, 'x'));
    ASSERT_EQ(handOn.size(), 2u);
    EXPECT_EQ(handOn[0], "held");
    EXPECT_EQ(handOn[1].size(), 2000u);
    EXPECT_EQ(buffer.Size(), 0u);
}

}  // namespace
}  // namespace nimboview
