// The recording OPL3 library that the other tests rely on.
#include "sidopl/ymf262.h"
#include "sidopl/ymf262_recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

using ::testing::ElementsAre;

class YmfRecordingTest : public ::testing::Test {
  protected:
    void SetUp() override { ymfRecordingClear(); }
};

TEST_F(YmfRecordingTest, RecordsEveryWriteInOrder) {
    YMF262Write(0, 0, 0xB0);
    YMF262Write(0, 1, 0x20);
    YMF262Write(0, 1, 0x20);
    EXPECT_THAT(ymfRecordingCalls(), ElementsAre(YmfPortCall{0, 0, 0xB0}, YmfPortCall{0, 1, 0x20},
                                                 YmfPortCall{0, 1, 0x20}));
}

TEST_F(YmfRecordingTest, ReadsDataWritesAgainstTheLatchedAddress) {
    YMF262Write(0, 0, 0xA0);
    YMF262Write(0, 1, 0x44);
    YMF262Write(0, 2, 0x05);
    YMF262Write(0, 3, 0x01);
    YMF262Write(0, 1, 0x02); // no new address: 0x105 again
    EXPECT_THAT(ymfRecordingWrites(),
                ElementsAre(YmfRegisterWrite{0xA0, 0x44}, YmfRegisterWrite{0x105, 0x01},
                            YmfRegisterWrite{0x105, 0x02}));
    auto image = ymfRecordingImage();
    EXPECT_EQ(image[0xA0], 0x44);
    EXPECT_EQ(image[0x105], 0x02);
    EXPECT_EQ(image[0x05], 0);
}

TEST_F(YmfRecordingTest, ProtocolHoldsForAddressThenData) {
    YMF262Write(0, 0, 0x20);
    YMF262Write(0, 1, 0x01);
    YMF262Write(0, 2, 0x05);
    YMF262Write(0, 3, 0x01);
    EXPECT_TRUE(ymfRecordingProtocolKept());
}

TEST_F(YmfRecordingTest, ProtocolBreaksOnDataWithoutAddress) {
    YMF262Write(0, 1, 0x01);
    EXPECT_FALSE(ymfRecordingProtocolKept());
}

TEST_F(YmfRecordingTest, ProtocolBreaksOnAnAddressLeftWithoutData) {
    YMF262Write(0, 0, 0x20);
    EXPECT_FALSE(ymfRecordingProtocolKept());
}

TEST_F(YmfRecordingTest, ProtocolBreaksOnDataForTheOtherBank) {
    YMF262Write(0, 0, 0x20);
    YMF262Write(0, 3, 0x01);
    EXPECT_FALSE(ymfRecordingProtocolKept());
}

TEST_F(YmfRecordingTest, CountsTheOtherCallsAndRendersSilence) {
    ymfRecordingClear(4);
    EXPECT_EQ(YMF262Init(1, 14400000, 48000), 4);
    YMF262ResetChip(4);
    std::int16_t frames[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    YMF262UpdateOne(4, frames, 1);
    YMF262UpdateOne(4, frames + 2, 3);
    YMF262Shutdown();
    const YmfCallCounts& counts = ymfRecordingCounts();
    EXPECT_EQ(counts.initCalls, 1);
    EXPECT_EQ(counts.initChips, 1);
    EXPECT_EQ(counts.initClock, 14400000);
    EXPECT_EQ(counts.initRate, 48000);
    EXPECT_EQ(counts.resetCalls, 1);
    EXPECT_EQ(counts.lastResetChip, 4);
    EXPECT_EQ(counts.updateCalls, 2);
    EXPECT_EQ(counts.framesRendered, 4);
    EXPECT_EQ(counts.shutdownCalls, 1);
    for (std::int16_t sample : frames) EXPECT_EQ(sample, 0);
    EXPECT_TRUE(ymfRecordingCalls().empty());
}

} // namespace
