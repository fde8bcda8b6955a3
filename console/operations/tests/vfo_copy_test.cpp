// SPDX-License-Identifier: GPL-3.0-or-later
// vfo_copy_test.cpp - A = B as the operator meets it: the receive VFO's
// frequency and mode go to the other VFO, and afterwards the radio receives
// and transmits on the VFOs it did before: in split, split stays on.
#include "operations_fixture.h"

namespace {

using namespace operations_test;

struct CopyCase {
    const char* name;
    int rx, tx; // the receive and transmit VFO before (0 A, 1 B)
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

class VfoCopy : public OperationsTest, public testing::WithParamInterface<CopyCase> {
public:
    using OperationsTest::Click;
};

TEST_P(VfoCopy, AEqualsBCopiesTheReceiveVfoAndKeepsReceiveAndTransmitAsTheyWere) {
    const CopyCase& c = GetParam();
    radio().modify([&](qxsim::State& s) {
        s.vfoA = 14'195'000;
        s.modeA = 2; // USB
        s.vfoB = 7'050'000;
        s.modeB = 1; // LSB
        s.rxVfo = c.rx;
        s.txVfo = c.tx;
    });
    Ready();
    const bool split = c.rx != c.tx;
    ASSERT_TRUE(PumpUntil([&] { return state().split == (split ? 1 : 0) && state().mainVfo == c.rx; }));
    const qxsim::State before = radio().state();
    const std::int64_t copied = c.rx == 0 ? before.vfoA : before.vfoB;
    const int copiedMode = c.rx == 0 ? before.modeA : before.modeB;

    Click(idc::AEqualsB);

    // The radio: both VFOs on the receive VFO's frequency and mode, and
    // receive and transmit where they were.
    EXPECT_TRUE(PumpUntil([&] {
        const qxsim::State s = radio().state();
        return s.vfoA == copied && s.vfoB == copied && s.modeA == copiedMode && s.modeB == copiedMode;
    })) << radio().state().vfoA << " / " << radio().state().vfoB;
    const qxsim::State after = radio().state();
    EXPECT_EQ(after.rxVfo, c.rx);
    EXPECT_EQ(after.txVfo, c.tx);
    // The console shows what the radio has: split lit or dark as before,
    // the same receive and transmit VFO.
    EXPECT_TRUE(PumpUntil([&] {
        return state().split == (split ? 1 : 0) && state().mainVfo == c.rx && state().mainTransmitVfo == c.tx &&
               Text(idc::Split) == (split ? "SPLIT" : "");
    })) << "split " << state().split << ", receive " << state().mainVfo << ", transmit "
        << state().mainTransmitVfo << ", \"" << Text(idc::Split) << "\"";
    EXPECT_EQ(state().busy, 0);
}

INSTANTIATE_TEST_SUITE_P(Vfos, VfoCopy,
                         testing::Values(CopyCase{"SplitReceiveATransmitB", 0, 1},
                                         CopyCase{"SplitReceiveBTransmitA", 1, 0},
                                         CopyCase{"OnA", 0, 0}, CopyCase{"OnB", 1, 1}),
                         [](const testing::TestParamInfo<CopyCase>& row) { return std::string(row.param.name); });

} // namespace
