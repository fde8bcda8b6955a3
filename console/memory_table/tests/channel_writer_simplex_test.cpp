// SPDX-License-Identifier: GPL-3.0-or-later
// A simplex channel written by the console holds no transmit half in the
// radio afterwards: a receive half stored later on its own (by the radio's
// panel or another program, MW 0 alone) must not find a transmit half of
// the console's beside it.
#include "memory_fixture.h"

#include <memory>
#include <ostream>

namespace memory_channels {
namespace {

class SimplexWrite : public memory_test::FamilyTest {
protected:
    void StoreSimplex(int number, std::int64_t hz) { memory_test::Put(*radio, number, memory_test::PanelChannel(false, hz, 4)); }
};

TEST_P(SimplexWrite, LeavesNoTransmitHalfForALaterReceiveHalfAlone) {
    const bool older = GetParam().identity == 18;
    // Below 290 and on a program-scan channel; once from a split channel.
    for (const int number : {7, older ? 95 : 295}) {
        for (const bool wasSplit : {false, true}) {
            StoreSimplex(number, 145'600'000);
            if (wasSplit)
                radio->modify([=](qxsim::State& s) {
                    qxsim::MemoryChannel& ch = s.memory[static_cast<std::size_t>(number)];
                    ch.half[1] = ch.half[0];
                    ch.half[1].frequency = 146'200'000;
                    ch.hasTransmitHalf = true;
                });
            const Channel shown = Read(number);
            Channel wanted = shown;
            wanted.txFrequency = 0;
            wanted.lockout = 1;
            ASSERT_EQ(WriteChange(link, shown, Seen::WholeChannel, wanted).status, WriteStatus::Written) << number;
            EXPECT_FALSE(radio->state().memory[static_cast<std::size_t>(number)].hasTransmitHalf)
                << number << ": the radio keeps a transmit half after a simplex write";

            // Another program stores a simplex 145.700 with the receive half alone.
            const char* zero = "00145700000";
            ASSERT_EQ(link.ConnMW(0, static_cast<std::uint32_t>(BankOf(number)),
                                  static_cast<std::uint32_t>(SlotOf(number)), zero, 4, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, ""),
                      1);
            const Channel now = Read(number);
            EXPECT_EQ(now.rxFrequency, 145'700'000) << number;
            EXPECT_EQ(now.txFrequency, 0) << number << ": the console's copy of 145.600 transmits";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, SimplexWrite, ::testing::ValuesIn(memory_test::kFamilies),
                         memory_test::FamilyName);

} // namespace
} // namespace memory_channels
