// SPDX-License-Identifier: GPL-3.0-or-later
// A simplex channel written by the console holds no transmit half in the
// radio afterwards: a receive half stored later on its own (by the radio's
// panel or another program, MW 0 alone) must not find a transmit half of
// the console's beside it.
#include <memory_channels.h>

#include <corvan.h>
#include <qxsim.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace memory_channels {
namespace {

struct Family {
    const char* name;
    int identity;
};
std::ostream& operator<<(std::ostream& out, const Family& f) { return out << f.name; }
const Family kFamilies[] = {{"Identity19", 19}, {"Identity18", 18}};

class SimplexWrite : public ::testing::TestWithParam<Family> {
protected:
    void SetUp() override {
        qxsim::Options options;
        options.identity = GetParam().identity;
        radio = std::make_unique<qxsim::Radio>(options);
        ASSERT_TRUE(radio->start()) << radio->lastError();
        ASSERT_EQ(link.Conn("QR-7730", radio->devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
    }
    void TearDown() override {
        link.Close();
        radio->stop();
    }
    void StoreSimplex(int number, std::int64_t hz) {
        radio->modify([=](qxsim::State& s) {
            qxsim::MemoryChannel& ch = s.memory[static_cast<std::size_t>(number)];
            ch = qxsim::MemoryChannel{};
            ch.half[0].frequency = hz;
            ch.half[0].mode = 4;
            ch.half[0].toneNumber = 1;
        });
    }
    Channel Read(int number) {
        Channel c;
        EXPECT_EQ(ReadChannel(link, number, c), LinkResult::Ok);
        return Normalised(c);
    }

    std::unique_ptr<qxsim::Radio> radio;
    CCorvan link;
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

INSTANTIATE_TEST_SUITE_P(Families, SimplexWrite, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& info) { return std::string(info.param.name); });

} // namespace
} // namespace memory_channels
