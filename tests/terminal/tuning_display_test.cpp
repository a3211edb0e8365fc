// What the tuning strip shows: waterfall levels on a fixed scale over the
// noise floor, and the readout of the demodulator's state.
#include "tuning_display.h"

#include <gtest/gtest.h>

namespace dovrel {
namespace {

// Noise at -60 dB with one tone 30 dB over it: the noise stays dark and the
// tone bright, also when the band is silent but for noise (no row is scaled
// to its own peak); a louder band raises the floor over a few rows.
TEST(WaterfallScaleTest, FixedDbScaleOverTheTrackedNoiseFloor) {
    WaterfallScale scale;
    std::vector<float> bins(256, -60.0f), levels;
    bins[100] = -30.0f;
    scale.Levels(bins, levels);
    EXPECT_NEAR(levels[0], 6.0f / 46.0f, 1e-4);
    EXPECT_NEAR(levels[100], 36.0f / 46.0f, 1e-4);
    scale.Levels(std::vector<float>(256, -60.0f), levels);
    EXPECT_LT(levels[100], 0.2f);  // noise alone is not drawn as a signal
    for (int i = 0; i < 40; ++i) scale.Levels(std::vector<float>(256, -40.0f), levels);
    EXPECT_NEAR(scale.FloorDb(), -40.0f, 0.1f);
}

TEST(TuningReadoutTest, TonesLockPolarityAndSignalQuality) {
    EXPECT_EQ(ReadoutOf({}, 450, 0).tones, "Looking for a 450 Hz pair");
    EXPECT_EQ(ReadoutOf({}, 450, 0).state, "SEARCHING");
    modem::TuningState t;
    t.locked = t.receiving = t.reversed = true;
    t.markHz = 2124.6;
    t.spaceHz = 1675;
    t.snrDb = 45;
    const TuningReadout r = ReadoutOf(t, 450, 0);
    EXPECT_EQ(r.state, "LOCKED");
    EXPECT_EQ(r.tones, "Mark 2125 Hz   Space 1675 Hz   Shift 450 Hz");
    EXPECT_EQ(r.polarity, "Reverse (found)");
    EXPECT_EQ(r.snr, "S/N 45 dB");
    EXPECT_DOUBLE_EQ(r.meter, 1.0);
    t.reversed = false;
    t.snrDb = 10;
    EXPECT_EQ(ReadoutOf(t, 450, 1).polarity, "Normal");
    EXPECT_DOUBLE_EQ(ReadoutOf(t, 450, 1).meter, 0.5);
}

}  // namespace
}  // namespace dovrel
