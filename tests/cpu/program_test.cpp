#include "cpu_fixture.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

TEST_F(CpuTest, AssembledProgramMultipliesCountsInDecimalAndCopies) {
    std::ifstream file(WORKOUT_PROGRAM, std::ios::binary);
    ASSERT_TRUE(file) << WORKOUT_PROGRAM;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(bytes.empty());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        C64Memory[0x1000 + i] = static_cast<std::uint8_t>(bytes[i]);
    }

    ASSERT_TRUE(cpuRun(100000));

    EXPECT_EQ(C64Memory[0x12] | C64Memory[0x13] << 8, 0xD7 * 0x3B);
    EXPECT_EQ(C64Memory[0x14], 0x24); // 1024 in packed decimal
    EXPECT_EQ(C64Memory[0x15], 0x10);
    const std::string text = "quavix copies bytes through (zp),y";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&C64Memory[0x3000]), text.size()), text);
    EXPECT_EQ(cpu::S, 0xFF);
}
